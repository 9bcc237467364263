#include "storage/FieldText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace versilla::storage::detail {

std::string formatNumber(double value, const FieldDef& f, bool& fits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", f.decimals, value);
    std::string s = buf;
    if (s == "-0" || (s.rfind("-0.", 0) == 0 && s.find_first_not_of("-0.") == std::string::npos))
        s.erase(0, 1);
    fits = static_cast<int>(s.size()) <= f.width;
    return s;
}

std::string trimRight(std::string_view s)
{
    std::size_t end = s.size();
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\0'))
        --end;
    return std::string(s.substr(0, end));
}

std::string trimBoth(std::string_view s)
{
    std::size_t begin = 0;
    while (begin < s.size() && s[begin] == ' ')
        ++begin;
    return trimRight(s.substr(begin));
}

bool parseNumber(std::string_view text, double& value)
{
    const std::string t = trimBoth(text);
    if (t.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(t.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(value);
}

} // namespace versilla::storage::detail
