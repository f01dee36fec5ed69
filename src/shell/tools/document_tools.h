#pragma once

#include <span>

namespace qb {

struct ToolContext;

// A tool of the open roster as a row of the main window's menus: a view over the
// document (the roster grid, the compare view, ...) or a command that works on it. The
// main window makes the menu item and, while a roster is open, runs `open` with its
// context; it knows nothing else of the tool.
struct DocumentTool {
    const char* menu;     // the title of the main window's menu holding it
    const char* id;       // the menu item's object name
    const char* text;     // the menu item's text
    const char* shortcut; // several separated by ';'
    void (*open)(const ToolContext& context);
};

// Every tool, in the order of their menu items.
std::span<const DocumentTool> documentTools();

} // namespace qb
