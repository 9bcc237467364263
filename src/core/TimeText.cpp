#include "core/TimeText.h"

#include <cstdlib>

namespace versilla::core {

std::string ZeroPad(std::int64_t number, int width) {
    std::string text = std::to_string(number);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string MsToTimeText(std::int32_t ms) {
    // Widened first so that the absolute value of INT32_MIN exists.
    std::int64_t value = ms;
    const bool negative = value < 0;
    if (negative)
        value = -value;
    std::string text(negative ? 1 : 0, '-');
    const std::int64_t millis = value % 1000;
    const std::int64_t seconds = (value / 1000) % 60;
    const std::int64_t minutes = (value / 60000) % 60;
    const std::int64_t hours = value / 3600000;
    text += std::to_string(hours);
    text += ':';
    text += ZeroPad(minutes, 2);
    text += ':';
    text += ZeroPad(seconds, 2);
    text += '.';
    text += ZeroPad(millis, 3);
    return text;
}

} // namespace versilla::core
