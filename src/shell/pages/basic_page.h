#pragma once

#include "shell/pages/page.h"

namespace qb {

// Basic: the batting, bowling and fielding roles.
class BasicPage : public Page {
    Q_OBJECT

public:
    BasicPage(int tab, QWidget* parent);
};

} // namespace qb
