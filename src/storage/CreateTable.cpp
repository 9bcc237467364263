#include "storage/Table.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "storage/DbfFile.h"

namespace versilla::storage {

namespace fs = std::filesystem;
using namespace detail;

Status createTable(const fs::path& folder, std::string_view alias, const Schema& schema)
{
    const fs::path dbf = findFile(folder, alias, ".dbf");
    const std::string name = dbf.string();
    if (schema.fields.empty())
        return Status::failure(name + ": a table needs at least one field");
    std::set<std::string> names;
    bool memo = false;
    int recLen = 1;
    for (const auto& f : schema.fields) {
        if (!validFieldName(f.name))
            return Status::failure(name + ": bad field name '" + f.name + "'");
        if (!names.insert(upper(f.name)).second)
            return Status::failure(name + ": field " + f.name + " appears twice");
        if (auto st = validateField(f); !st)
            return Status::failure(name + ": " + st.message());
        memo = memo || f.type == FieldType::Memo;
        recLen += f.width;
    }
    if (recLen > 65535)
        return Status::failure(name + ": record too long");
    std::set<std::string> tagNames;
    for (const auto& t : schema.tags) {
        if (!validFieldName(t.name) || !tagNames.insert(upper(t.name)).second)
            return Status::failure(name + ": bad or duplicate tag name '" + t.name + "'");
        if (t.parts.empty())
            return Status::failure(name + ": tag " + t.name + " has no key");
        for (const auto& p : t.parts)
            if (!names.count(upper(p.field)))
                return Status::failure(name + ": tag " + t.name + " uses unknown field " + p.field);
    }
    if (auto st = checkNotInUse(dbf); !st)
        return st;

    std::string image = buildHeader(schema.fields, 0);
    image += '\x1A';
    std::error_code ec;
    const fs::path fpt = findFile(folder, alias, ".fpt");
    const fs::path tagsFile = findFile(folder, alias, ".tags");
    if (memo) {
        if (auto st = writeFileAtomically(fpt, emptyMemoFile()); !st)
            return st;
    } else {
        fs::remove(fpt, ec);
    }
    if (!schema.tags.empty()) {
        if (auto st = writeFileAtomically(tagsFile, formatTags(schema.tags)); !st)
            return st;
    } else {
        fs::remove(tagsFile, ec);
    }
    return writeFileAtomically(dbf, image);
}

Status readSchema(const fs::path& folder, std::string_view alias, Schema& out)
{
    const fs::path dbf = findFile(folder, alias, ".dbf");
    std::ifstream in(dbf, std::ios::binary);
    if (!in)
        return Status::failure(dbf.string() + ": cannot open table: " + std::strerror(errno));
    std::stringstream ss;
    ss << in.rdbuf();
    Layout layout;
    if (auto st = parseHeader(ss.str(), dbf.string(), layout); !st)
        return st;
    out.fields = layout.fields;
    out.tags.clear();
    const fs::path tagsFile = findFile(folder, alias, ".tags");
    std::error_code ec;
    if (fs::exists(tagsFile, ec)) {
        std::ifstream tin(tagsFile, std::ios::binary);
        std::stringstream ts;
        ts << tin.rdbuf();
        if (auto st = parseTags(ts.str(), out.tags); !st)
            return Status::failure(tagsFile.string() + ": " + st.message());
    }
    return Status::success();
}

Status copyStructure(const fs::path& folder, std::string_view templateAlias, std::string_view targetAlias)
{
    Schema schema;
    if (auto st = readSchema(folder, templateAlias, schema); !st)
        return st;
    return createTable(folder, targetAlias, schema);
}

} // namespace versilla::storage
