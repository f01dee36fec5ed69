#pragma once

#include <QWidget>
#include <functional>
#include <span>

namespace qb {

class Page;
struct RosterIndex;

// What the window hands a page it makes: the page's tab (numbered from 1), the widget it
// stands in and the open roster's index, for a page that lists its slots.
struct PagePlace {
    int tab;
    QWidget* parent;
    std::function<const RosterIndex&()> index;
};

// One tab of the window: its caption, '&' before its access key, and how its page is made.
struct TabRow {
    const char* caption;
    Page* (*make)(const PagePlace& place);
};

// Every tab in the order of the strip: the window builds the strip and its pages from
// this table, and the tests take the tabs' access keys from it.
std::span<const TabRow> tabTable();

} // namespace qb
