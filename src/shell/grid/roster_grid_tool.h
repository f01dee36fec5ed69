#pragma once

namespace qb {

struct ToolContext;

// View, Roster Grid: the grid of the open roster, opened once and brought to the front
// after; its changes are steps of the roster's history.
void showRosterGrid(const ToolContext& context);

} // namespace qb
