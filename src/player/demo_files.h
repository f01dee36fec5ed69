#pragma once

#include <string>

namespace qb {

// What writing the demo files does to a demo file that is there already.
enum class ExistingDemoFiles {
    Replace, // a fresh copy
    Keep,    // the user's changes to the demo stay
};

// Writes demo.pak and demo.sav into `folder` (created if needed).
void writeDemoFiles(const std::string& folder,
                    ExistingDemoFiles existing = ExistingDemoFiles::Replace);

} // namespace qb
