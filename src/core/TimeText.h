#pragma once
#include <cstdint>
#include <string>

namespace versilla::core {

/// The time text of a time in milliseconds: unpadded hours, two-digit minutes
/// and seconds, three-digit milliseconds ("0:00:00.000"); parts are truncated,
/// never rounded. A negative time is "-" followed by the text of its absolute
/// value (INT32_MIN included). Never fails.
std::string MsToTimeText(std::int32_t ms);

/// Decimal text of `number` with "0" put in front until it is at least `width`
/// characters long (a minus sign counts as a character). Never fails.
std::string ZeroPad(std::int64_t number, int width);

} // namespace versilla::core
