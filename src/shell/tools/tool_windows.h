#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace qb {

// The windows of the tools of one open document. It lives as long as the document is
// open: when another roster is opened or the main window closes, its windows go with it,
// before the document they show.
class ToolWindows {
public:
    ToolWindows() = default;
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;
    ~ToolWindows();

    // Keeps `window` until it is closed (deleted) or the document is. A window holding a
    // roster of its own passes `settle`, which asks about that roster's unsaved edits
    // (save, drop or cancel) and returns whether to go on.
    void keep(QWidget* window, std::function<bool()> settle = {});
    // The open window of this class; null while none is.
    template <typename Window> Window* find() const {
        for (const Kept& kept : kept_) {
            if (auto* found = qobject_cast<Window*>(kept.window.data())) {
                return found;
            }
        }
        return nullptr;
    }
    // Before the windows would close: each one holding a roster of its own asks about its
    // unsaved edits. Returns whether to go on.
    bool settleUnsaved() const;
    // Closes the windows holding a roster of their own, once their unsaved edits are
    // settled (before those files are replaced). Returns false on Cancel, nothing closed.
    bool closeOwnRosters();

private:
    struct Kept {
        QPointer<QWidget> window;
        std::function<bool()> settle;
    };
    std::vector<Kept> kept_;
};

} // namespace qb
