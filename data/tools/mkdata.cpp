// Builds the data folder the editor runs from: the settings table with its one
// row, the two template tables, the caption, message and language tables from
// the readable sources, and the help pages.
//
//   versilla-mkdata <source data folder> <output data folder>
//
// Any problem in a source (a character outside Windows-1252, a bad number, a
// duplicate key, a text too long for its field, a missing flag picture) stops
// the build with a message naming the file and line.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "storage/Schemas.h"
#include "storage/Table.h"
#include "text/CodePage1252.h"

namespace fs = std::filesystem;
using namespace versilla;
using storage::Status;

namespace {

struct Row {
    int line = 0;
    std::vector<std::string> cells;
};

struct Source {
    fs::path path;
    std::vector<std::string> header;
    std::vector<Row> rows;

    std::string where(int line) const { return path.filename().string() + ":" + std::to_string(line); }
};

std::string unescape(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == 'r' || n == 'n' || n == 't' || n == '\\') {
                out += n == 'r' ? '\r' : n == 'n' ? '\n' : n == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return cells;
}

Status readSource(const fs::path& path, const std::vector<std::string>& expectedHeader, Source& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Status::failure(path.string() + ": cannot open");
    out.path = path;
    std::string line;
    int lineNo = 0;
    bool haveHeader = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!haveHeader) {
            if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            out.header = split(line);
            if (out.header != expectedHeader) {
                std::string want;
                for (const auto& h : expectedHeader)
                    want += (want.empty() ? "" : "\\t") + h;
                return Status::failure(out.where(lineNo) + ": header must be " + want);
            }
            haveHeader = true;
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        Row row{lineNo, split(line)};
        if (row.cells.size() > expectedHeader.size())
            return Status::failure(out.where(lineNo) + ": " + std::to_string(row.cells.size()) + " columns, expected " +
                                   std::to_string(expectedHeader.size()));
        row.cells.resize(expectedHeader.size());
        out.rows.push_back(std::move(row));
    }
    if (!haveHeader)
        return Status::failure(path.string() + ": empty file, header missing");
    return Status::success();
}

Status number(const Source& src, const Row& row, std::size_t col, int lo, int hi, int& out)
{
    const std::string& s = row.cells[col];
    std::size_t used = 0;
    try {
        out = std::stoi(s, &used);
    } catch (...) {
        used = 0;
    }
    if (s.empty() || used != s.size() || out < lo || out > hi)
        return Status::failure(src.where(row.line) + ": " + src.header[col] + " must be a number from " + std::to_string(lo) +
                               " to " + std::to_string(hi) + ", not '" + s + "'");
    return Status::success();
}

/// A text cell, unescaped and converted to Windows-1252; `width` 0 means no limit.
Status text(const Source& src, const Row& row, std::size_t col, std::size_t width, std::string& out)
{
    const auto converted = text::utf8ToCp1252(unescape(row.cells[col]));
    if (!converted.ok) {
        char buf[32];
        if (converted.offending)
            std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(converted.offending));
        return Status::failure(src.where(row.line) + ": " + src.header[col] + ": " +
                               (converted.offending ? std::string("character ") + buf + " is not in Windows-1252"
                                                    : std::string("invalid UTF-8")));
    }
    out = converted.bytes;
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (width > 0 && out.size() > width)
        return Status::failure(src.where(row.line) + ": " + src.header[col] + " is " + std::to_string(out.size()) +
                               " characters, the field holds " + std::to_string(width));
    return Status::success();
}

std::size_t widthOf(const storage::Schema& s, const char* field)
{
    for (const auto& f : s.fields)
        if (f.name == field)
            return static_cast<std::size_t>(f.width);
    return 0;
}

Status check(Status st, const std::string& context)
{
    if (st)
        return st;
    return Status::failure(context + ": " + st.message());
}

// ---------------------------------------------------------------------------------

Status buildSettings(const fs::path& out)
{
    if (auto st = storage::createTable(out, storage::kSettingsAlias, storage::schemas::settings()); !st)
        return st;
    storage::Table t;
    storage::OpenOptions o;
    o.atomicWrites = true;
    if (auto st = t.open(out, storage::kSettingsAlias, o); !st)
        return st;
    if (auto st = storage::writeShippedSettingsRow(t); !st)
        return st;
    return t.close();
}

Status buildCaptions(const fs::path& src, const fs::path& out)
{
    Source s;
    if (auto st = readSource(src / "captions.tsv", {"SPRACHE", "FORM", "OBJEKT", "CAPTION", "HINT"}, s); !st)
        return st;
    const auto schema = storage::schemas::captions();
    if (auto st = storage::createTable(out, storage::kCaptionsAlias, schema); !st)
        return st;
    storage::Table t;
    if (auto st = t.open(out, storage::kCaptionsAlias); !st)
        return st;
    std::map<std::string, int> keys;
    for (const auto& row : s.rows) {
        int lang = 0, form = 0;
        std::string obj, caption, hint;
        Status st = number(s, row, 0, 0, 99, lang);
        if (st)
            st = number(s, row, 1, 0, 99, form);
        if (st)
            st = text(s, row, 2, widthOf(schema, "OBJEKT"), obj);
        if (st)
            st = text(s, row, 3, widthOf(schema, "CAPTION"), caption);
        if (st)
            st = text(s, row, 4, widthOf(schema, "HINT"), hint);
        if (st && obj.empty())
            st = Status::failure(s.where(row.line) + ": OBJEKT is empty");
        if (!st)
            return st;
        const std::string key = storage::keyRight(lang, 2) + storage::keyRight(form, 2) + storage::keyLeft(obj, 30);
        if (auto [it, fresh] = keys.emplace(key, row.line); !fresh)
            return Status::failure(s.where(row.line) + ": duplicate caption key (language " + std::to_string(lang) +
                                   ", form " + std::to_string(form) + ", object " + obj + "), first at line " +
                                   std::to_string(it->second));
        st = t.appendStart();
        if (st) st = t.replaceInteger("SPRACHE", lang);
        if (st) st = t.replaceInteger("FORM", form);
        if (st) st = t.replaceString("OBJEKT", obj);
        if (st) st = t.replaceString("CAPTION", caption);
        if (st) st = t.replaceString("HINT", hint);
        if (st) st = t.appendEnd();
        if (!st)
            return check(st, s.where(row.line));
    }
    return t.close();
}

Status buildMessages(const fs::path& src, const fs::path& out)
{
    Source s;
    if (auto st = readSource(src / "messages.tsv", {"SPRACHE", "GRUPPE", "NUMMER", "HINWEIS", "NACHRICHT"}, s); !st)
        return st;
    const auto schema = storage::schemas::messages();
    if (auto st = storage::createTable(out, storage::kMessagesAlias, schema); !st)
        return st;
    storage::Table t;
    if (auto st = t.open(out, storage::kMessagesAlias); !st)
        return st;
    std::map<std::string, int> keys;
    for (const auto& row : s.rows) {
        int lang = 0, group = 0, nr = 0;
        std::string caption, message;
        Status st = number(s, row, 0, 0, 99, lang);
        if (st) st = number(s, row, 1, 0, 99, group);
        if (st) st = number(s, row, 2, 0, 999, nr);
        if (st) st = text(s, row, 3, widthOf(schema, "HINWEIS"), caption);
        if (st) st = text(s, row, 4, 0, message);
        if (!st)
            return st;
        const std::string key = storage::keyRight(lang, 2) + storage::keyRight(group, 2) + storage::keyRight(nr, 3);
        if (auto [it, fresh] = keys.emplace(key, row.line); !fresh)
            return Status::failure(s.where(row.line) + ": duplicate message " + std::to_string(group) + "/" +
                                   std::to_string(nr) + " in language " + std::to_string(lang) + ", first at line " +
                                   std::to_string(it->second));
        st = t.appendStart();
        if (st) st = t.replaceInteger("SPRACHE", lang);
        if (st) st = t.replaceInteger("GRUPPE", group);
        if (st) st = t.replaceInteger("NUMMER", nr);
        if (st) st = t.replaceString("HINWEIS", caption);
        if (st) st = t.replaceString("NACHRICHT", message);
        if (st) st = t.appendEnd();
        if (!st)
            return check(st, s.where(row.line));
    }
    return t.close();
}

Status buildLanguages(const fs::path& src, const fs::path& out)
{
    Source s;
    if (auto st = readSource(src / "languages.tsv", {"NR", "SPRACHE", "FLAGGE"}, s); !st)
        return st;
    const auto schema = storage::schemas::languages();
    if (auto st = storage::createTable(out, storage::kLanguagesAlias, schema); !st)
        return st;
    storage::Table t;
    if (auto st = t.open(out, storage::kLanguagesAlias); !st)
        return st;
    std::set<int> numbers;
    for (const auto& row : s.rows) {
        int nr = 0;
        std::string name, flagName;
        Status st = number(s, row, 0, 0, 99, nr);
        if (st) st = text(s, row, 1, widthOf(schema, "SPRACHE"), name);
        if (st) st = text(s, row, 2, 0, flagName);
        if (!st)
            return st;
        if (!numbers.insert(nr).second)
            return Status::failure(s.where(row.line) + ": duplicate language number " + std::to_string(nr));
        std::string flag;
        if (!flagName.empty()) {
            const fs::path flagPath = src / "flags" / flagName;
            std::ifstream in(flagPath, std::ios::binary);
            if (!in)
                return Status::failure(s.where(row.line) + ": flag picture " + flagPath.string() + " cannot be read");
            flag.assign(std::istreambuf_iterator<char>(in), {});
        }
        st = t.appendStart();
        if (st) st = t.replaceInteger("NR", nr);
        if (st) st = t.replaceString("SPRACHE", name);
        if (st) st = t.replaceMemoBytes("FLAGGE", flag);
        if (st) st = t.appendEnd();
        if (!st)
            return check(st, s.where(row.line));
    }
    return t.close();
}

Status copyHelp(const fs::path& src, const fs::path& out)
{
    std::error_code ec;
    const fs::path from = src / "help";
    const fs::path to = out / "help";
    fs::remove_all(to, ec); // pages removed from the sources must not linger
    if (!fs::exists(from))
        return Status::success();
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec)
        return Status::failure("help pages: cannot copy " + from.string() + " to " + to.string() + ": " + ec.message());
    return Status::success();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source data folder> <output data folder>\n", argv[0]);
        return 2;
    }
    const fs::path src = argv[1];
    const fs::path out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "data folder %s: %s\n", out.string().c_str(), ec.message().c_str());
        return 1;
    }
    Status st = buildSettings(out);
    if (st) st = storage::createTable(out, storage::kAssignmentTemplateAlias, storage::schemas::assignmentTemplate());
    if (st) st = storage::createTable(out, storage::kTempoTemplateAlias, storage::schemas::tempoTemplate());
    if (st) st = buildCaptions(src, out);
    if (st) st = buildMessages(src, out);
    if (st) st = buildLanguages(src, out);
    if (st) st = copyHelp(src, out);
    if (!st) {
        std::fprintf(stderr, "error: %s\n", st.message().c_str());
        return 1;
    }
    return 0;
}
