#include "storage/FieldText.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace versilla::storage::detail {

namespace {

/// "00" .. "99": two digits a step.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

/// Digits of `v` written backwards ending at `end`; returns the first one.
char* digitsBackward(std::uint64_t v, char* end)
{
    char* p = end;
    while (v >= 100) {
        const auto i = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--p = kPairs[i + 1];
        *--p = kPairs[i];
    }
    if (v >= 10) {
        const auto i = static_cast<std::size_t>(v) * 2;
        *--p = kPairs[i + 1];
        *--p = kPairs[i];
    } else {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

/// Exactly `count` digits of `v` (leading zeros kept) ending at `end`.
void fixedDigits(std::uint64_t v, char* end, int count)
{
    char* p = end;
    for (; count >= 2; count -= 2) {
        const auto i = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--p = kPairs[i + 1];
        *--p = kPairs[i];
    }
    if (count == 1)
        *--p = static_cast<char>('0' + v % 10);
}

/// Number of decimal digits of `v` (1 for 0).
std::size_t digitCount(std::uint64_t v)
{
    std::size_t n = 1;
    for (std::uint64_t limit = 10; n < 20 && v >= limit; limit *= 10)
        ++n;
    return n;
}

std::uint64_t magnitude(std::int64_t v)
{
    return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

/// Plain decimal text: an optional '-', digits with at most one '.', at least
/// one digit. `hasPoint` tells whether there is a point.
bool plainDecimal(std::string_view t, bool& hasPoint)
{
    std::size_t i = t[0] == '-' ? 1 : 0;
    bool digits = false;
    hasPoint = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !hasPoint)
            hasPoint = true;
        else
            return false;
    }
    return digits;
}

/// Digits (and no point) after an optional '-', at most 15 of them: exact in a double.
bool smallInteger(std::string_view t, std::int64_t& out)
{
    const bool neg = t[0] == '-';
    const std::size_t begin = neg ? 1 : 0;
    if (t.size() == begin || t.size() - begin > 15)
        return false;
    std::int64_t n = 0;
    for (std::size_t i = begin; i < t.size(); ++i) {
        const char c = t[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    out = neg ? -n : n;
    return true;
}

bool parseSlow(std::string_view t, double& value)
{
    const std::string s(t);
    char* end = nullptr;
    errno = 0;
    value = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(value);
}

/// printf's "%.*f" for values whose scaled magnitude |value| * 10^decimals stays
/// below 2^52, without the general conversion: the scaled value is known
/// exactly as hi + lo (a product and its rounding error, from an fma), so it
/// rounds to the nearest integer (ties to even) exactly as printf does.
/// False when the value is outside that range.
bool formatFixedFast(double value, int decimals, char* out, std::size_t& len)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    if (decimals < 0 || decimals > 18)
        return false;
    const double a = std::fabs(value);
    // Tiny values would make the error term underflow (and round to zero anyway).
    if (a != 0 && a < 1e-200)
        return false;
    const double p = kPow10[decimals];
    const double hi = a * p;
    if (!(hi < 4503599627370496.0)) // 2^52; also refuses NaN
        return false;
    const double lo = std::fma(a, p, -hi); // a * p == hi + lo exactly
    const double whole = std::floor(hi);
    // (hi - whole) and its distance to one half are exact; adding lo keeps the sign.
    const double above = ((hi - whole) - 0.5) + lo;
    auto r = static_cast<std::uint64_t>(whole);
    if (above > 0 || (above == 0 && (r & 1) != 0))
        ++r;
    char buf[48];
    char* end = buf + sizeof buf;
    char* p0 = digitsBackward(r, end);
    const auto d = static_cast<std::size_t>(decimals);
    // at least one digit before the point
    while (static_cast<std::size_t>(end - p0) < d + 1)
        *--p0 = '0';
    std::size_t n = 0;
    // A negative number that rounds to zero is written without its sign.
    if (std::signbit(value) && r != 0)
        out[n++] = '-';
    const auto digits = static_cast<std::size_t>(end - p0);
    std::memcpy(out + n, p0, digits - d);
    n += digits - d;
    if (d > 0) {
        out[n++] = '.';
        std::memcpy(out + n, end - d, d);
        n += d;
    }
    len = n;
    return true;
}

} // namespace

std::size_t formatNumberTo(double value, int decimals, char* out)
{
    std::size_t fast = 0;
    if (formatFixedFast(value, decimals, out, fast))
        return fast;
    // printf's "%.*f" of a double needs up to 309 integer digits plus decimals.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::size_t n = res.ec == std::errc() ? static_cast<std::size_t>(res.ptr - buf) : 0;
    if (n > kNumberTextMax)
        n = kNumberTextMax;
    const char* s = buf;
    // A negative number that rounds to zero is written without its sign.
    if (n >= 2 && s[0] == '-' && s[1] == '0' && (n == 2 || s[2] == '.')) {
        bool zero = true;
        for (std::size_t i = 3; i < n && zero; ++i)
            zero = s[i] == '0';
        if (zero) {
            ++s;
            --n;
        }
    }
    std::memcpy(out, s, n);
    return n;
}

std::string formatNumber(double value, const FieldDef& f, bool& fits)
{
    char buf[kNumberTextMax];
    std::string s(buf, formatNumberTo(value, f.decimals, buf));
    fits = static_cast<int>(s.size()) <= f.width;
    return s;
}

std::size_t formatInteger(std::int64_t value, char* out)
{
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = digitsBackward(magnitude(value), end);
    if (value < 0)
        *--p = '-';
    const auto n = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, n);
    return n;
}

bool putIntegerRight(std::int64_t value, char* out, std::size_t width)
{
    const std::uint64_t mag = magnitude(value);
    const std::size_t n = digitCount(mag) + (value < 0 ? 1 : 0);
    if (n > width)
        return false;
    char* p = digitsBackward(mag, out + width);
    if (value < 0)
        *--p = '-';
    while (p > out)
        *--p = ' ';
    return true;
}

void appendKeyRight(std::string& out, std::int64_t value, int width)
{
    char buf[24];
    const std::size_t n = formatInteger(value, buf);
    if (width > 0 && n < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - n, ' ');
    out.append(buf, n);
}

void appendKeySigned(std::string& out, std::int64_t value)
{
    // Flipping the sign bit maps the signed range onto the unsigned one in order;
    // fixed-width decimal digits then sort bytewise like the numbers.
    const auto biased = static_cast<std::uint64_t>(value) ^ (std::uint64_t{1} << 63);
    // Two halves of ten digits keep the arithmetic in 32-bit-sized steps.
    char buf[20];
    fixedDigits(biased % 10000000000ULL, buf + 20, 10);
    fixedDigits(biased / 10000000000ULL, buf + 10, 10);
    out.append(buf, sizeof buf);
}

bool parseNumber(std::string_view text, double& value)
{
    const std::string_view t = trimBothView(text);
    if (t.empty())
        return false;
    // Numbers written by this layer are plain decimals: read them without a copy
    // and without the C library's locale. from_chars rounds like strtod; up to 15
    // digits without a point are exact as an integer.
    bool point = false;
    if (!plainDecimal(t, point))
        return parseSlow(t, value);
    std::int64_t n = 0;
    if (!point && smallInteger(t, n)) {
        value = (n == 0 && t[0] == '-') ? -0.0 : static_cast<double>(n);
        return true;
    }
    const auto res = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::fixed);
    if (res.ec != std::errc() || res.ptr != t.data() + t.size())
        return parseSlow(t, value);
    return std::isfinite(value);
}

std::int64_t fieldInteger(std::string_view text)
{
    const std::string_view t = trimBothView(text);
    std::int64_t n = 0;
    if (!t.empty() && smallInteger(t, n))
        return n;
    double d = 0;
    if (!parseNumber(text, d))
        return 0;
    if (d >= 9.2e18 || d <= -9.2e18)
        return 0;
    return static_cast<std::int64_t>(d);
}

std::int64_t keyInteger(std::string_view text)
{
    const std::string_view t = trimBothView(text);
    std::int64_t n = 0;
    if (!t.empty() && smallInteger(t, n))
        return n;
    double d = 0;
    return parseNumber(text, d) ? static_cast<std::int64_t>(d) : 0;
}

} // namespace versilla::storage::detail
