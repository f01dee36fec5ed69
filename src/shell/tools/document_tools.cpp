#include "shell/tools/document_tools.h"

#include "shell/compare/apply_edits_tool.h"
#include "shell/compare/backups_tool.h"
#include "shell/compare/compare_tool.h"
#include "shell/grid/roster_grid_tool.h"

namespace qb {

std::span<const DocumentTool> documentTools() {
    static const DocumentTool tools[] = {
        {"&File", "mnuCompare", "Compare &With...", "", chooseRosterToCompare},
        {"&File", "mnuBackups", "&Backups...", "", showBackups},
        {"&File", "mnuApplyEdits", "Apply Edi&ts File...", "", applyEditsFile},
        {"&View", "mnuRosterGrid", "Roster &Grid", "Ctrl+G", showRosterGrid},
    };
    return tools;
}

} // namespace qb
