#include "shell/tools/tool_windows.h"

#include <algorithm>
#include <ranges>

namespace qb {

ToolWindows::~ToolWindows() {
    // The last opened first; a window commits an editor left open as it closes.
    for (Kept& kept : std::ranges::reverse_view(kept_)) {
        delete kept.window.data();
    }
}

void ToolWindows::keep(QWidget* window, std::function<bool()> settle) {
    std::erase_if(kept_, [](const Kept& kept) { return kept.window.isNull(); });
    kept_.push_back({window, std::move(settle)});
}

bool ToolWindows::settleUnsaved() const {
    return std::ranges::all_of(kept_, [](const Kept& kept) {
        return kept.window.isNull() || !kept.settle || kept.settle();
    });
}

bool ToolWindows::closeOwnRosters() {
    if (!settleUnsaved()) {
        return false;
    }
    for (const Kept& kept : kept_) {
        if (kept.settle) {
            delete kept.window.data();
        }
    }
    return true;
}

} // namespace qb
