#pragma once

#include <QString>

namespace qb {

struct ToolContext;

// File, Compare With...: asks for a second roster and opens the compare view of the open
// roster (left) and that one (right).
void chooseRosterToCompare(const ToolContext& context);
// Opens the compare view with the open roster on the left and `path` on the right; a
// compare view open before is settled and replaced.
void compareWith(const ToolContext& context, const QString& path);

} // namespace qb
