#pragma once

#include <stdexcept>
#include <string>

namespace qb {

// Every failure of the core carries the text a user sees. `path` names the file
// involved (empty when none is); callers decide how to present both.
class QuillbayError : public std::runtime_error {
public:
    explicit QuillbayError(const std::string& description, std::string path = {})
        : std::runtime_error(description), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }
    std::string description() const { return what(); }

private:
    std::string path_;
};

// Opening, reading or writing a file failed, or a file is too short for its slot table.
class FileError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

// A file is far larger than anything of its kind: it is refused before it is read.
class FileTooLarge : public FileError {
public:
    using FileError::FileError;
};

// A player file cannot be imported ("Wrong File Size", "Duplicate ID").
class TransferError : public QuillbayError {
public:
    using QuillbayError::QuillbayError;
};

} // namespace qb
