#pragma once

#include "codecs/tables.h"
#include "shell/pages/page.h"

#include <map>
#include <string_view>

class QBoxLayout;
class QVBoxLayout;

namespace qb {

// Batting 2 and Skills: check boxes in titled frames, one per flag of the page.
class FlagsPage : public Page {
    Q_OBJECT

public:
    // Batting 2: the weaknesses on the left, the favourite shots on the right.
    static FlagsPage* batting2(int tab, QWidget* parent);
    // Skills: Batting and General on the left, Bowling and Fielding on the right.
    static FlagsPage* skills(int tab, QWidget* parent);

private:
    FlagsPage(int tab, FlagControl control, QWidget* parent);
    void addFrame(std::string_view title, QBoxLayout* column);
    void addFlags();

    FlagControl control_;
    std::map<std::string_view, QVBoxLayout*> frames_;
};

} // namespace qb
