#pragma once

#include "system/errors.h"

namespace qb::cli {

// Wrong use of the tool (an unknown key, a value of the wrong form): exit code 2
// when it comes from the command line itself, 1 when it comes from an edits file.
class UsageError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

} // namespace qb::cli
