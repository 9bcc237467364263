#pragma once
// A small JSON reader and string writer for versilla-cli's own input and output.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::cli {

/// A parsed JSON value. Strings are UTF-8; numbers keep their text's value as a
/// double and, when they are integers, as an int64.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::optional<std::int64_t> integer; ///< set when the number is an integer in range
    std::string string;
    std::vector<JsonValue> array;
    std::vector<std::pair<std::string, JsonValue>> object; ///< members in order

    /// Member `name` of an object; nullptr when absent or not an object.
    const JsonValue* find(std::string_view name) const;
};

/// Parses one JSON document (RFC 8259; surrounding white space allowed). On
/// failure returns none and puts a message with the byte offset into `error`.
std::optional<JsonValue> parseJson(std::string_view text, std::string& error);

/// `text` (UTF-8) as a JSON string literal with quotes; control characters,
/// quote and backslash escaped. Never fails.
std::string jsonString(std::string_view text);

} // namespace versilla::cli
