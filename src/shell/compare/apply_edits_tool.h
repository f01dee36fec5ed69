#pragma once

namespace qb {

struct ToolContext;

// File, Apply Edits File...: shows what an edits file (CSV or JSON, as `quillbay-cli
// apply` takes; a patch is one) changes in the open roster and, once confirmed, applies
// it as one undoable step.
void applyEditsFile(const ToolContext& context);

} // namespace qb
