#pragma once

#include <gmock/gmock.h>
#include <string_view>

namespace qb::test {

// For EXPECT_THAT(call, Throws<E>(...)): an error that names this field or says exactly this.
MATCHER_P(InField, field, "names the field " + std::string(field)) {
    return arg.field() == field;
}
MATCHER_P(Says, text, "says \"" + std::string(text) + "\"") {
    return std::string_view(arg.what()) == text;
}

} // namespace qb::test
