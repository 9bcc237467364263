#include "storage/Schema.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "storage/FieldText.h"

namespace versilla::storage {

std::string keyRight(std::int64_t value, int width)
{
    std::string out;
    detail::appendKeyRight(out, value, width);
    return out;
}

std::string keyLeft(std::string_view text, int width)
{
    if (width < 0)
        width = 0;
    std::string out(text.substr(0, static_cast<std::size_t>(width)));
    out.resize(static_cast<std::size_t>(width), ' ');
    return out;
}

std::string keySigned(std::int64_t value)
{
    std::string out;
    detail::appendKeySigned(out, value);
    return out;
}

namespace {

const char* kindName(KeyKind k)
{
    switch (k) {
    case KeyKind::Text: return "text";
    case KeyKind::Right: return "right";
    case KeyKind::Signed: return "signed";
    }
    return "text";
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::string formatTags(const std::vector<TagDef>& tags)
{
    std::string out = "# index tags: NAME ASC|DESC FIELD:text|right|signed:WIDTH ...\n";
    for (const auto& t : tags) {
        out += t.name;
        out += t.descending ? " DESC" : " ASC";
        for (const auto& p : t.parts) {
            out += ' ';
            out += p.field;
            out += ':';
            out += kindName(p.kind);
            out += ':';
            out += std::to_string(p.width);
        }
        out += '\n';
    }
    return out;
}

Status parseTags(std::string_view text, std::vector<TagDef>& out)
{
    out.clear();
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name[0] == '#')
            continue;
        auto bad = [&](const std::string& why) {
            return Status::failure("tag definitions, line " + std::to_string(lineNo) + ": " + why);
        };
        TagDef tag;
        tag.name = upper(name);
        std::string dir;
        if (!(words >> dir))
            return bad("direction missing");
        dir = upper(dir);
        if (dir == "ASC")
            tag.descending = false;
        else if (dir == "DESC")
            tag.descending = true;
        else
            return bad("direction must be ASC or DESC, not '" + dir + "'");
        std::string part;
        while (words >> part) {
            const auto c1 = part.find(':');
            const auto c2 = c1 == std::string::npos ? std::string::npos : part.find(':', c1 + 1);
            if (c1 == std::string::npos || c2 == std::string::npos)
                return bad("key part '" + part + "' is not FIELD:KIND:WIDTH");
            KeyPart kp;
            kp.field = upper(part.substr(0, c1));
            const std::string kind = part.substr(c1 + 1, c2 - c1 - 1);
            if (kind == "text")
                kp.kind = KeyKind::Text;
            else if (kind == "right")
                kp.kind = KeyKind::Right;
            else if (kind == "signed")
                kp.kind = KeyKind::Signed;
            else
                return bad("unknown key kind '" + kind + "'");
            const std::string w = part.substr(c2 + 1);
            if (w.empty() || w.size() > 4 || w.find_first_not_of("0123456789") != std::string::npos)
                return bad("bad key width '" + w + "'");
            kp.width = std::stoi(w);
            if (kp.field.empty())
                return bad("key part without a field");
            tag.parts.push_back(std::move(kp));
        }
        if (tag.parts.empty())
            return bad("tag " + tag.name + " has no key");
        out.push_back(std::move(tag));
    }
    return Status::success();
}

} // namespace versilla::storage
