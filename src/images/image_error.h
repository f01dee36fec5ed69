#pragma once

#include "system/errors.h"

#include <string>

namespace qb {

// A picture could not be read or written. The text is the one a user sees; `path`
// names the file involved.
class ImageError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

} // namespace qb
