#pragma once

#include <stdexcept>
#include <string>

namespace qb {

// A picture could not be read or written. The text is the one a user sees; `path`
// names the file involved.
class ImageError : public std::runtime_error {
public:
    ImageError(const std::string& description, std::string path)
        : std::runtime_error(description), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

} // namespace qb
