#pragma once

#include "codecs/tables.h"
#include "shell/pages/page.h"

namespace qb {

// Batting 1, Bowling and Fielding: one slider per rating of the tab, 0 to 63.
class RatingsPage : public Page {
    Q_OBJECT

public:
    RatingsPage(int tab, RatingTab ratings, QWidget* parent);
};

} // namespace qb
