#pragma once

namespace qb {

struct ToolContext;

// File, Backups...: the backups of the open roster; the one chosen opens in the compare
// view.
void showBackups(const ToolContext& context);

} // namespace qb
