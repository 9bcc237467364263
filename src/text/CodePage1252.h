#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace versilla::text {

/// Windows-1252 (the system's text encoding, one byte a character) to and from
/// Unicode. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
/// 0x90, 0x9D) map to the C1 code points of the same value, so every byte
/// survives a round trip.

/// The code point of one Windows-1252 byte. Never fails.
char32_t cp1252ToCodePoint(unsigned char byte);

/// The Windows-1252 byte of a code point; nullopt when the code page has none.
std::optional<unsigned char> codePointToCp1252(char32_t codePoint);

/// Windows-1252 bytes as UTF-8. Never fails.
std::string cp1252ToUtf8(std::string_view bytes);

/// Result of converting UTF-8 to Windows-1252.
struct Cp1252Result {
    std::string bytes;            ///< converted text (up to the first problem when !ok)
    bool ok = true;               ///< false: invalid UTF-8 or a character outside the code page
    char32_t offending = 0;       ///< the character that has no byte (0 for invalid UTF-8)
    std::size_t offendingAt = 0;  ///< byte offset of the problem in the UTF-8 input
};

/// UTF-8 to Windows-1252. Stops at the first malformed sequence or character the
/// code page cannot hold and says so in the result.
Cp1252Result utf8ToCp1252(std::string_view utf8);

} // namespace versilla::text
