#pragma once
// A field's value as data sets hand it to their fields.
//
// std::monostate is null. Dates are day numbers counting 0001-01-01 as day 1, times are
// milliseconds since midnight, and a date-time is its day number × 86400000 plus the
// milliseconds of its time (held as a 64-bit integer or a double).

#include <cstdint>
#include <variant>
#include <vector>

#include "platform/text/AnsiText.h"

using TFieldValue = std::variant<std::monostate, bool, std::int32_t, std::int64_t, double, AnsiString, WideString,
                                 std::vector<std::uint8_t>>;
