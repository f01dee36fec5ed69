#pragma once

#include "shell/pages/page.h"

namespace qb {

// The batting, bowling and fielding roles (the Basic tab).
class RolesPage : public Page {
    Q_OBJECT

public:
    RolesPage(int tab, QWidget* parent);
};

} // namespace qb
