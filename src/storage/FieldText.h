#pragma once
// Internal to the table layer: the text form of field values in a record.
// Not part of the public API.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "storage/Schema.h"

namespace versilla::storage::detail {

/// Room formatNumberTo() needs: printf's "%.*f" of any double with up to 20
/// decimals, cut like the 64-byte buffer the number text always went through.
constexpr std::size_t kNumberTextMax = 63;

/// `value` with `decimals` digits after the point, exactly as printf's "%.*f"
/// in the C locale (same rounding), a "-0" (or "-0.00...") without its sign.
/// Writes at most kNumberTextMax bytes to `out` and returns how many.
std::size_t formatNumberTo(double value, int decimals, char* out);
/// `value` with the field's decimals; `fits` tells whether it fits the width.
std::string formatNumber(double value, const FieldDef& f, bool& fits);

/// The decimal digits of `value` with a leading '-' for negatives (as
/// std::to_string) into `out` (at least 20 bytes); returns how many.
std::size_t formatInteger(std::int64_t value, char* out);
/// The digits of `value` (as formatInteger) right-aligned in `width` bytes at
/// `out`, blank-padded on the left; false (nothing written) when they need more.
bool putIntegerRight(std::int64_t value, char* out, std::size_t width);
/// Appends keyRight(value, width) to `out`.
void appendKeyRight(std::string& out, std::int64_t value, int width);
/// Appends keySigned(value) (20 digits) to `out`.
void appendKeySigned(std::string& out, std::int64_t value);

/// Without trailing blanks and NULs.
inline std::string_view trimRightView(std::string_view s)
{
    std::size_t end = s.size();
    // Text fields are mostly blank padding: skip it eight blanks at a time.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    while (end >= 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + end - 8, 8);
        if (w != kBlanks)
            break;
        end -= 8;
    }
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\0'))
        --end;
    return s.substr(0, end);
}
/// Without leading blanks and trailing blanks and NULs.
inline std::string_view trimBothView(std::string_view s)
{
    std::size_t begin = 0;
    while (begin < s.size() && s[begin] == ' ')
        ++begin;
    return trimRightView(s.substr(begin));
}
inline std::string trimRight(std::string_view s) { return std::string(trimRightView(s)); }
inline std::string trimBoth(std::string_view s) { return std::string(trimBothView(s)); }

/// A number field's text as a value; false when it is blank or not a number
/// (as strtod() over the trimmed text, all of which must be used).
bool parseNumber(std::string_view text, double& value);
/// fieldAsInteger() of a number field's text: the number cut toward zero; 0
/// when it is blank, not a number, or beyond +-9.2e18.
std::int64_t fieldInteger(std::string_view text);
/// fieldAsBoolean() of a field's text: "T", "t", "Y" or "y" (blanks around).
inline bool logicalTrue(std::string_view text)
{
    const std::string_view v = trimBothView(text);
    return v == "T" || v == "t" || v == "Y" || v == "y";
}
/// The integer a key part takes from a field's text: the number cut toward
/// zero, 0 when it is blank or not a number.
std::int64_t keyInteger(std::string_view text);

} // namespace versilla::storage::detail
