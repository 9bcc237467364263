#include "Json.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace versilla::cli {

namespace {

class Parser {
public:
    Parser(std::string_view text, std::string& error) : m_text(text), m_error(error) {}

    std::optional<JsonValue> document()
    {
        JsonValue v;
        skipSpace();
        if (!value(v, 0))
            return std::nullopt;
        skipSpace();
        if (m_pos != m_text.size())
            return fail("unexpected text after the document");
        return v;
    }

private:
    static constexpr int kMaxDepth = 200;

    std::nullopt_t fail(const std::string& what)
    {
        if (m_error.empty())
            m_error = what + " at byte " + std::to_string(m_pos);
        return std::nullopt;
    }
    bool failed(const std::string& what)
    {
        fail(what);
        return false;
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            return failed("invalid literal");
        m_pos += word.size();
        return true;
    }

    bool value(JsonValue& v, int depth)
    {
        if (depth > kMaxDepth)
            return failed("nesting too deep");
        if (m_pos >= m_text.size())
            return failed("unexpected end");
        const char c = m_text[m_pos];
        if (c == '{')
            return object(v, depth);
        if (c == '[')
            return array(v, depth);
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            return string(v.string);
        }
        if (c == 't') {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
            return literal("true");
        }
        if (c == 'f') {
            v.kind = JsonValue::Kind::Bool;
            return literal("false");
        }
        if (c == 'n') {
            v.kind = JsonValue::Kind::Null;
            return literal("null");
        }
        if (c == '-' || (c >= '0' && c <= '9'))
            return number(v);
        return failed("unexpected character");
    }

    bool object(JsonValue& v, int depth)
    {
        v.kind = JsonValue::Kind::Object;
        ++m_pos;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return failed("expected a member name");
            std::string name;
            if (!string(name))
                return false;
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return failed("expected ':'");
            ++m_pos;
            skipSpace();
            JsonValue member;
            if (!value(member, depth + 1))
                return false;
            v.object.emplace_back(std::move(name), std::move(member));
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return true;
            }
            return failed("expected ',' or '}'");
        }
    }

    bool array(JsonValue& v, int depth)
    {
        v.kind = JsonValue::Kind::Array;
        ++m_pos;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            v.array.push_back(std::move(item));
            skipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return true;
            }
            return failed("expected ',' or ']'");
        }
    }

    static void appendUtf8(std::string& out, char32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(char32_t& out)
    {
        if (m_pos + 4 > m_text.size())
            return failed("short \\u escape");
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= static_cast<char32_t>(c - 'A' + 10);
            else
                return failed("bad \\u escape");
        }
        return true;
    }

    bool string(std::string& out)
    {
        ++m_pos; // opening quote
        for (;;) {
            if (m_pos >= m_text.size())
                return failed("unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return failed("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                return failed("unterminated escape");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                char32_t cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    char32_t low = 0;
                    if (m_text.substr(m_pos, 2) != "\\u")
                        return failed("lone surrogate");
                    m_pos += 2;
                    if (!hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return failed("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    return failed("lone surrogate");
                }
                appendUtf8(out, cp);
                break;
            }
            default: return failed("bad escape");
            }
        }
    }

    bool number(JsonValue& v)
    {
        const std::size_t start = m_pos;
        if (m_text[m_pos] == '-')
            ++m_pos;
        auto digits = [&] {
            const std::size_t from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            return m_pos - from;
        };
        if (m_pos < m_text.size() && m_text[m_pos] == '0')
            ++m_pos;
        else if (digits() == 0)
            return failed("bad number");
        bool integral = true;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            integral = false;
            if (digits() == 0)
                return failed("bad number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            integral = false;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (digits() == 0)
                return failed("bad number");
        }
        const std::string text(m_text.substr(start, m_pos - start));
        v.kind = JsonValue::Kind::Number;
        v.number = std::strtod(text.c_str(), nullptr);
        if (integral) {
            errno = 0;
            const long long i = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == 0)
                v.integer = i;
        } else if (std::isfinite(v.number) && v.number == std::trunc(v.number) && std::fabs(v.number) < 9.0e15) {
            v.integer = static_cast<std::int64_t>(v.number);
        }
        return true;
    }

    std::string_view m_text;
    std::string& m_error;
    std::size_t m_pos = 0;
};

} // namespace

const JsonValue* JsonValue::find(std::string_view name) const
{
    if (kind != Kind::Object)
        return nullptr;
    for (const auto& [key, value] : object)
        if (key == name)
            return &value;
    return nullptr;
}

std::optional<JsonValue> parseJson(std::string_view text, std::string& error)
{
    error.clear();
    return Parser(text, error).document();
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace versilla::cli
