#pragma once

#include "system/errors.h"

#include <string>

namespace qb {

// A failure that belongs to one field. `field` is the field's key as the
// command-line tool names it ("nation", "ratings.fielding.Consistency", ...).
class FieldError : public QuillbayError {
public:
    FieldError(std::string field, const std::string& description)
        : QuillbayError(description), field_(std::move(field)) {}
    const std::string& field() const noexcept { return field_; }

private:
    std::string field_;
};

// A stored value that its editor cannot show (a face above 24, a rating above 63, ...).
class ShowError : public FieldError {
public:
    using FieldError::FieldError;
};

// A value in an editor that cannot be stored.
class StoreError : public FieldError {
public:
    using FieldError::FieldError;
};

// A figure that cannot be stored because the file itself holds it out of range: every
// save of the player is refused until it is repaired (PlayerEditor::repairFigures).
class FigureOutOfRange : public StoreError {
public:
    using StoreError::StoreError;
};

} // namespace qb
