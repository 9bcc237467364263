#include "storage/Table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace versilla::storage {

namespace fs = std::filesystem;

namespace {

constexpr std::uint8_t kVersionPlain = 0x03;    // dBase III / FoxPro, no memo
constexpr std::uint8_t kVersionFoxMemo = 0xF5;  // FoxPro 2.x with a ".fpt" memo file
constexpr std::uint8_t kCodePage1252 = 0x03;
constexpr std::uint32_t kMemoBlockSize = 64;
constexpr std::uint32_t kMemoHeaderSize = 512;
constexpr std::uint32_t kMemoTypePicture = 0;
constexpr std::uint32_t kMemoTypeText = 1;

std::string upper(std::string_view s)
{
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool iequals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string errnoText() { return std::strerror(errno); }

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint32_t be32(const unsigned char* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}
void putLe16(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}
void putLe32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}
void putBe32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * (3 - i))) & 0xFF);
}

bool writeAll(int fd, const void* data, std::size_t len, off_t at)
{
    const char* p = static_cast<const char*>(data);
    while (len > 0) {
        const ssize_t n = ::pwrite(fd, p, len, at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        len -= static_cast<std::size_t>(n);
        at += n;
    }
    return true;
}

bool readAll(int fd, std::string& out)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + got, out.size() - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return true;
}

/// Finds <folder>/<alias><ext>: the exact name first, else a case-insensitive match.
fs::path findFile(const fs::path& folder, std::string_view alias, std::string_view ext)
{
    fs::path exact = folder / (std::string(alias) + std::string(ext));
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    const std::string wanted = upper(std::string(alias) + std::string(ext));
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (upper(it->path().filename().string()) == wanted)
            return it->path();
    return exact;
}

bool validFieldName(std::string_view name)
{
    if (name.empty() || name.size() > 10 || !std::isalpha(static_cast<unsigned char>(name[0])))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

Status validateField(const FieldDef& f)
{
    const std::string what = "field " + f.name + ": ";
    switch (f.type) {
    case FieldType::Character:
        if (f.width < 1 || f.width > 254)
            return Status::failure(what + "character width must be 1..254");
        break;
    case FieldType::Numeric:
        if (f.width < 1 || f.width > 20)
            return Status::failure(what + "numeric width must be 1..20");
        if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
            return Status::failure(what + "too many decimals for the width");
        break;
    case FieldType::Logical:
        if (f.width != 1)
            return Status::failure(what + "logical width must be 1");
        break;
    case FieldType::Memo:
        if (f.width != 10)
            return Status::failure(what + "memo width must be 10");
        break;
    default:
        return Status::failure(what + "unsupported type");
    }
    return Status::success();
}

struct Layout {
    std::uint8_t version = 0;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::vector<FieldDef> fields;
    std::vector<int> offsets; // offset of each field inside a record (after the delete flag)
    bool hasMemo = false;
};

/// Checks a ".dbf" image and reads its layout. `name` names the file in messages.
Status parseHeader(const std::string& file, const std::string& name, Layout& out)
{
    const auto* b = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < 32 + 32 + 1)
        return Status::failure(name + ": file too short for a dBase header (" + std::to_string(file.size()) + " bytes)");
    out.version = b[0];
    if (out.version != kVersionPlain && out.version != kVersionFoxMemo) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02X", out.version);
        return Status::failure(name + ": not a supported dBase table (version byte " + buf + ")");
    }
    out.recordCount = le32(b + 4);
    out.headerLength = le16(b + 8);
    out.recordLength = le16(b + 10);
    if (out.headerLength < 32 + 32 + 1 || out.headerLength > file.size())
        return Status::failure(name + ": bad header length " + std::to_string(out.headerLength));
    out.fields.clear();
    out.offsets.clear();
    out.hasMemo = false;
    std::size_t pos = 32;
    int offset = 1;
    std::set<std::string> seen;
    while (true) {
        if (pos >= out.headerLength)
            return Status::failure(name + ": field list has no terminator inside the header");
        if (b[pos] == 0x0D)
            break;
        if (pos + 32 > out.headerLength)
            return Status::failure(name + ": field list has no terminator (descriptor runs past the header)");
        const unsigned char* d = b + pos;
        std::size_t nameLen = 0;
        while (nameLen < 11 && d[nameLen] != 0)
            ++nameLen;
        FieldDef f;
        f.name = std::string(reinterpret_cast<const char*>(d), nameLen);
        if (!validFieldName(f.name))
            return Status::failure(name + ": bad field name in descriptor " + std::to_string(out.fields.size() + 1));
        f.name = upper(f.name);
        if (!seen.insert(f.name).second)
            return Status::failure(name + ": field " + f.name + " appears twice");
        const char type = static_cast<char>(d[11]);
        if (type != 'C' && type != 'N' && type != 'L' && type != 'M')
            return Status::failure(name + ": field " + f.name + " has unsupported type '" + std::string(1, type) + "'");
        f.type = static_cast<FieldType>(type);
        f.width = d[16];
        f.decimals = f.type == FieldType::Numeric ? d[17] : 0;
        if (auto st = validateField(f); !st)
            return Status::failure(name + ": " + st.message());
        if (f.type == FieldType::Memo)
            out.hasMemo = true;
        out.offsets.push_back(offset);
        offset += f.width;
        out.fields.push_back(std::move(f));
        pos += 32;
    }
    if (out.fields.empty())
        return Status::failure(name + ": table has no fields");
    if (offset != out.recordLength)
        return Status::failure(name + ": record size mismatch (header says " + std::to_string(out.recordLength) +
                               ", fields need " + std::to_string(offset) + ")");
    const std::uint64_t need = std::uint64_t{out.headerLength} + std::uint64_t{out.recordCount} * out.recordLength;
    if (need > file.size()) {
        const std::uint64_t have = (file.size() - out.headerLength) / out.recordLength;
        return Status::failure(name + ": truncated (header promises " + std::to_string(out.recordCount) +
                               " records, file holds " + std::to_string(have) + ")");
    }
    return Status::success();
}

std::string buildHeader(const std::vector<FieldDef>& fields, std::uint32_t recordCount)
{
    bool memo = false;
    int recLen = 1;
    for (const auto& f : fields) {
        memo = memo || f.type == FieldType::Memo;
        recLen += f.width;
    }
    const std::size_t headerLen = 32 + 32 * fields.size() + 1;
    std::string h(headerLen, '\0');
    auto* b = reinterpret_cast<unsigned char*>(h.data());
    b[0] = memo ? kVersionFoxMemo : kVersionPlain;
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    localtime_r(&now, &tm);
    b[1] = static_cast<unsigned char>(tm.tm_year % 256);
    b[2] = static_cast<unsigned char>(tm.tm_mon + 1);
    b[3] = static_cast<unsigned char>(tm.tm_mday);
    putLe32(b + 4, recordCount);
    putLe16(b + 8, static_cast<std::uint32_t>(headerLen));
    putLe16(b + 10, static_cast<std::uint32_t>(recLen));
    b[29] = kCodePage1252;
    std::size_t pos = 32;
    std::uint32_t offset = 1;
    for (const auto& f : fields) {
        const std::string n = upper(f.name);
        std::memcpy(b + pos, n.data(), std::min<std::size_t>(n.size(), 10));
        b[pos + 11] = static_cast<unsigned char>(f.type);
        putLe32(b + pos + 12, offset);
        b[pos + 16] = static_cast<unsigned char>(f.width);
        b[pos + 17] = static_cast<unsigned char>(f.decimals);
        offset += static_cast<std::uint32_t>(f.width);
        pos += 32;
    }
    b[pos] = 0x0D;
    return h;
}

std::string emptyMemoFile()
{
    std::string m(kMemoHeaderSize, '\0');
    auto* b = reinterpret_cast<unsigned char*>(m.data());
    putBe32(b, kMemoHeaderSize / kMemoBlockSize);
    b[6] = static_cast<unsigned char>((kMemoBlockSize >> 8) & 0xFF);
    b[7] = static_cast<unsigned char>(kMemoBlockSize & 0xFF);
    return m;
}

/// Writes a whole file through a temporary file in the same folder and a rename.
/// When `keepFd` is given, the new file stays open (read-write) there, locked
/// exclusively before it becomes visible under its name.
Status writeFileAtomically(const fs::path& path, const std::string& bytes, int* keepFd = nullptr)
{
    std::string tmpl = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return Status::failure(path.string() + ": cannot create a temporary file: " + errnoText());
    auto fail = [&](const std::string& why) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return Status::failure(path.string() + ": " + why + ": " + errnoText());
    };
    if (!writeAll(fd, bytes.data(), bytes.size(), 0))
        return fail("cannot write");
    if (::fchmod(fd, 0644) != 0)
        return fail("cannot set permissions");
    if (::fsync(fd) != 0)
        return fail("cannot sync");
    if (keepFd && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail("cannot lock the new file");
    if (::rename(tmpl.c_str(), path.c_str()) != 0)
        return fail("cannot replace");
    const int dirFd = ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (keepFd)
        *keepFd = fd;
    else
        ::close(fd);
    return Status::success();
}

/// Refuses to replace a table someone holds open: a lock we cannot get means it
/// is in use.
Status checkNotInUse(const fs::path& dbf)
{
    const int fd = ::open(dbf.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Status::success();
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    if (!free)
        return Status::failure(dbf.string() + ": table is in use and cannot be replaced");
    return Status::success();
}

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

} // namespace

// ------------------------------------------------------------------------------

struct Table::Impl {
    struct Tag {
        TagDef def;
        std::vector<int> fieldIdx;           // field index of each key part
        std::vector<std::string> keyByRec;   // key of every record (deleted ones too)
        std::vector<std::uint32_t> order;    // visible records in key order
    };

    fs::path folder, dbfPath, fptPath, tagsPath;
    std::string alias;
    OpenOptions opts;
    int fd = -1;
    int fptFd = -1;
    Layout layout;
    std::vector<TagDef> tagDefs;
    std::vector<Tag> tags;
    std::string data;         // all records, recordLength each
    std::uint32_t memoNext = 0;
    std::uint32_t memoBlock = kMemoBlockSize;
    std::uint64_t memoSize = 0;
    bool headerDirty = false;
    // Appended records are collected and written in one go (at flush, close, or
    // once enough have gathered); records below `written` are on disk.
    std::uint32_t written = 0;
    static constexpr std::size_t kAppendBuffer = 64 * 1024;

    // cursor
    int tag = -1;
    std::string tagName;
    bool scoped = false;
    std::string scopeLo, scopeHi;
    bool atEof = true;
    bool atBof = true;
    std::uint32_t cur = 0; // 0-based record index when !atEof

    // current row buffer
    std::string buf;
    bool dirty = false;
    bool locked = false;
    bool appending = false;
    std::map<int, std::pair<std::string, std::uint32_t>> memoPending; // field -> (content, memo type)

    mutable Status lastError;

    std::uint32_t recCount() const { return layout.recordCount; }
    std::size_t recLen() const { return layout.recordLength; }
    const char* rec(std::uint32_t i) const { return data.data() + std::size_t{i} * recLen(); }
    bool deleted(std::uint32_t i) const { return data[std::size_t{i} * recLen()] == '*'; }

    int field(std::string_view name) const
    {
        for (std::size_t i = 0; i < layout.fields.size(); ++i)
            if (iequals(layout.fields[i].name, name))
                return static_cast<int>(i);
        return -1;
    }

    int fieldOrError(std::string_view name) const
    {
        const int f = field(name);
        if (f < 0)
            lastError = Status::failure(alias + ": unknown field '" + std::string(name) + "'");
        return f;
    }

    std::string_view raw(const std::string& row, int f) const
    {
        return std::string_view(row).substr(static_cast<std::size_t>(layout.offsets[f]),
                                            static_cast<std::size_t>(layout.fields[f].width));
    }

    std::string keyOf(const Tag& t, const char* row) const
    {
        std::string key;
        for (std::size_t p = 0; p < t.def.parts.size(); ++p) {
            const KeyPart& part = t.def.parts[p];
            const int f = t.fieldIdx[p];
            const FieldDef& fd = layout.fields[f];
            const std::string_view v(row + layout.offsets[f], static_cast<std::size_t>(fd.width));
            switch (part.kind) {
            case KeyKind::Text:
                key += keyLeft(trimRight(v), part.width > 0 ? part.width : fd.width);
                break;
            case KeyKind::Right:
            case KeyKind::Signed: {
                double d = 0;
                std::int64_t n = parseNumber(v, d) ? static_cast<std::int64_t>(d) : 0;
                if (fd.type == FieldType::Character && !parseNumber(v, d))
                    n = 0;
                key += part.kind == KeyKind::Right ? keyRight(n, part.width) : keySigned(n);
                break;
            }
            }
        }
        return key;
    }

    bool less(const Tag& t, std::uint32_t a, std::uint32_t b) const
    {
        const int c = t.keyByRec[a].compare(t.keyByRec[b]);
        if (c != 0)
            return t.def.descending ? c > 0 : c < 0;
        return a < b;
    }

    void rebuildTag(Tag& t)
    {
        t.keyByRec.resize(recCount());
        t.order.clear();
        for (std::uint32_t i = 0; i < recCount(); ++i) {
            t.keyByRec[i] = keyOf(t, rec(i));
            if (!deleted(i))
                t.order.push_back(i);
        }
        std::stable_sort(t.order.begin(), t.order.end(), [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); });
    }

    void rebuildTags()
    {
        for (auto& t : tags)
            rebuildTag(t);
    }

    std::size_t orderPos(const Tag& t, std::uint32_t r) const
    {
        return static_cast<std::size_t>(std::lower_bound(t.order.begin(), t.order.end(), r,
                                                         [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); }) -
                                        t.order.begin());
    }

    void tagRemove(Tag& t, std::uint32_t r)
    {
        const std::size_t p = orderPos(t, r);
        if (p < t.order.size() && t.order[p] == r)
            t.order.erase(t.order.begin() + static_cast<std::ptrdiff_t>(p));
    }

    void tagInsert(Tag& t, std::uint32_t r)
    {
        t.order.insert(t.order.begin() + static_cast<std::ptrdiff_t>(orderPos(t, r)), r);
    }

    /// Scope range of the selected tag as [begin, end) positions in its order.
    std::pair<std::size_t, std::size_t> range() const
    {
        if (tag < 0) 
            return {0, recCount()};
        const Tag& t = tags[static_cast<std::size_t>(tag)];
        if (!scoped)
            return {0, t.order.size()};
        auto cut = [](const std::string& k, std::size_t n) { return std::string_view(k).substr(0, n); };
        const bool desc = t.def.descending;
        auto inLo = [&](std::uint32_t r) { return cut(t.keyByRec[r], scopeLo.size()) >= std::string_view(scopeLo); };
        auto inHi = [&](std::uint32_t r) { return cut(t.keyByRec[r], scopeHi.size()) <= std::string_view(scopeHi); };
        std::size_t b, e;
        if (!desc) {
            b = static_cast<std::size_t>(std::partition_point(t.order.begin(), t.order.end(), [&](std::uint32_t r) { return !inLo(r); }) - t.order.begin());
            e = static_cast<std::size_t>(std::partition_point(t.order.begin(), t.order.end(), [&](std::uint32_t r) { return inHi(r); }) - t.order.begin());
        } else {
            b = static_cast<std::size_t>(std::partition_point(t.order.begin(), t.order.end(), [&](std::uint32_t r) { return !inHi(r); }) - t.order.begin());
            e = static_cast<std::size_t>(std::partition_point(t.order.begin(), t.order.end(), [&](std::uint32_t r) { return inLo(r); }) - t.order.begin());
        }
        if (e < b)
            e = b;
        return {b, e};
    }

    void loadBuffer()
    {
        if (atEof)
            buf.assign(recLen(), ' ');
        else
            buf.assign(rec(cur), recLen());
        dirty = false;
        locked = false;
        appending = false;
        memoPending.clear();
    }

    void setEof()
    {
        atEof = true;
        loadBuffer();
    }

    void setRow(std::uint32_t r)
    {
        atEof = false;
        atBof = false;
        cur = r;
        loadBuffer();
    }

    // ---- storing -----------------------------------------------------------------

    Status writeMemo(int f, const std::string& content, std::uint32_t type)
    {
        std::string& row = buf;
        const auto off = static_cast<std::size_t>(layout.offsets[f]);
        if (content.empty()) {
            row.replace(off, 10, 10, ' ');
            return Status::success();
        }
        const std::uint64_t need = (8 + content.size() + memoBlock - 1) / memoBlock;
        // Reuse the row's old blocks when the new content fits into them.
        std::uint32_t block = 0;
        const std::string oldRef = trimBoth(raw(row, f));
        if (!oldRef.empty()) {
            const std::uint32_t old = static_cast<std::uint32_t>(std::strtoul(oldRef.c_str(), nullptr, 10));
            unsigned char h[8];
            if (old > 0 && std::uint64_t{old} * memoBlock + 8 <= memoSize &&
                ::pread(fptFd, h, 8, static_cast<off_t>(std::uint64_t{old} * memoBlock)) == 8) {
                const std::uint64_t had = (8 + std::uint64_t{be32(h + 4)} + memoBlock - 1) / memoBlock;
                if (had >= need)
                    block = old;
            }
        }
        const bool fresh = block == 0;
        if (fresh)
            block = memoNext;
        std::string bytes(static_cast<std::size_t>(need * memoBlock), '\0');
        auto* b = reinterpret_cast<unsigned char*>(bytes.data());
        putBe32(b, type);
        putBe32(b + 4, static_cast<std::uint32_t>(content.size()));
        std::memcpy(b + 8, content.data(), content.size());
        const std::size_t len = fresh ? bytes.size() : 8 + content.size();
        if (!writeAll(fptFd, bytes.data(), len, static_cast<off_t>(std::uint64_t{block} * memoBlock)))
            return Status::failure(fptPath.string() + ": cannot write memo: " + errnoText());
        if (fresh) {
            memoNext = static_cast<std::uint32_t>(block + need);
            memoSize = std::max<std::uint64_t>(memoSize, std::uint64_t{memoNext} * memoBlock);
            unsigned char h[4];
            putBe32(h, memoNext);
            if (!writeAll(fptFd, h, 4, 0))
                return Status::failure(fptPath.string() + ": cannot write memo header: " + errnoText());
        }
        char ref[16];
        std::snprintf(ref, sizeof ref, "%10u", block);
        row.replace(off, 10, ref, 10);
        return Status::success();
    }

    std::string fileImage() const
    {
        std::string img = buildHeader(layout.fields, recCount());
        // keep the header we read (its date and reserved bytes) only as far as the layout goes
        img += data;
        img += '\x1A';
        return img;
    }

    Status rewriteAtomically()
    {
        int newFd = -1;
        if (auto st = writeFileAtomically(dbfPath, fileImage(), &newFd); !st)
            return st;
        ::close(fd); // the old file's lock goes with it; the new one is locked already
        fd = newFd;
        headerDirty = false;
        return Status::success();
    }

    /// Writes the appended records still held in memory.
    Status writeBack()
    {
        if (written >= recCount() || opts.atomicWrites || opts.readOnly) {
            written = recCount();
            return Status::success();
        }
        std::string tail = data.substr(std::size_t{written} * recLen());
        tail += '\x1A';
        if (!writeAll(fd, tail.data(), tail.size(), static_cast<off_t>(layout.headerLength + std::uint64_t{written} * recLen())))
            return Status::failure(dbfPath.string() + ": cannot write records: " + errnoText());
        written = recCount();
        return Status::success();
    }

    Status writeHeaderCount()
    {
        if (auto st = writeBack(); !st)
            return st;
        if (!headerDirty || opts.readOnly)
            return Status::success();
        if (opts.atomicWrites)
            return rewriteAtomically();
        std::string h = buildHeader(layout.fields, recCount());
        if (!writeAll(fd, h.data(), 8, 0))
            return Status::failure(dbfPath.string() + ": cannot write header: " + errnoText());
        headerDirty = false;
        return Status::success();
    }

    /// Stores the buffer if it holds changes (or is a new row).
    Status store()
    {
        if (!dirty && !appending) {
            locked = false;
            return Status::success();
        }
        for (auto& [f, pending] : memoPending)
            if (auto st = writeMemo(f, pending.first, pending.second); !st)
                return st;
        memoPending.clear();
        std::uint32_t r = cur;
        if (appending) {
            r = recCount();
            data += buf;
            layout.recordCount += 1;
            headerDirty = true;
            for (auto& t : tags) {
                t.keyByRec.push_back(keyOf(t, buf.data()));
                if (buf[0] != '*')
                    tagInsert(t, r);
            }
        } else {
            for (auto& t : tags) {
                std::string k = keyOf(t, buf.data());
                if (k != t.keyByRec[r]) {
                    tagRemove(t, r);
                    t.keyByRec[r] = std::move(k);
                    tagInsert(t, r);
                }
            }
            data.replace(std::size_t{r} * recLen(), recLen(), buf);
        }
        if (opts.atomicWrites) {
            if (auto st = rewriteAtomically(); !st)
                return st;
        } else if (r < written) {
            const off_t at = static_cast<off_t>(layout.headerLength + std::uint64_t{r} * recLen());
            if (!writeAll(fd, buf.data(), buf.size(), at))
                return Status::failure(dbfPath.string() + ": cannot write record " + std::to_string(r + 1) + ": " + errnoText());
        } else if ((recCount() - written) * recLen() >= kAppendBuffer) {
            if (auto st = writeBack(); !st)
                return st;
        }
        cur = r;
        atEof = false;
        atBof = false;
        dirty = false;
        locked = false;
        appending = false;
        return Status::success();
    }

    /// Before the cursor moves: store a pending row. A failing store keeps the
    /// error for the caller to see in lastError().
    void settle()
    {
        if (auto st = store(); !st) {
            lastError = st;
            dirty = false;
            appending = false;
            memoPending.clear();
        }
    }

    Status writable() const
    {
        if (fd < 0)
            return Status::failure("table is not open");
        if (opts.readOnly)
            return Status::failure(alias + ": table is open read-only");
        return Status::success();
    }

    Status editable()
    {
        if (auto st = writable(); !st)
            return st;
        if (atEof && !appending)
            return Status::failure(alias + ": no current row (end of table)");
        return Status::success();
    }

    std::string memoContent(int f, Status& st) const
    {
        if (auto it = memoPending.find(f); it != memoPending.end())
            return it->second.first;
        const std::string ref = trimBoth(raw(buf, f));
        if (ref.empty() || (atEof && !appending))
            return {};
        const std::uint64_t block = std::strtoull(ref.c_str(), nullptr, 10);
        if (block == 0)
            return {};
        unsigned char h[8];
        const std::uint64_t at = block * memoBlock;
        if (at < kMemoHeaderSize || at + 8 > memoSize ||
            ::pread(fptFd, h, 8, static_cast<off_t>(at)) != 8) {
            st = Status::failure(fptPath.string() + ": memo block " + ref + " lies outside the memo file");
            return {};
        }
        const std::uint32_t len = be32(h + 4);
        if (at + 8 + len > memoSize) {
            st = Status::failure(fptPath.string() + ": memo at block " + ref + " is truncated");
            return {};
        }
        std::string out(len, '\0');
        if (len > 0 && ::pread(fptFd, out.data(), len, static_cast<off_t>(at + 8)) != static_cast<ssize_t>(len)) {
            st = Status::failure(fptPath.string() + ": cannot read memo: " + errnoText());
            return {};
        }
        return out;
    }

    void closeFiles()
    {
        if (fptFd >= 0)
            ::close(fptFd);
        if (fd >= 0)
            ::close(fd); // releases the lock
        fd = fptFd = -1;
    }
};

// ------------------------------------------------------------------------------

Table::Table() : m(std::make_unique<Impl>()) {}
Table::~Table()
{
    if (m)
        (void)close();
}
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&& other) noexcept
{
    if (this != &other) {
        if (m)
            (void)close();
        m = std::move(other.m);
    }
    return *this;
}

Status Table::open(const fs::path& folder, std::string_view alias, const OpenOptions& options)
{
    if (!m)
        m = std::make_unique<Impl>();
    if (isOpen())
        if (auto st = close(); !st)
            return st;
    Impl fresh;
    fresh.folder = folder;
    fresh.alias = std::string(alias);
    fresh.opts = options;
    fresh.dbfPath = findFile(folder, alias, ".dbf");
    fresh.fptPath = findFile(folder, alias, ".fpt");
    fresh.tagsPath = findFile(folder, alias, ".tags");
    const std::string name = fresh.dbfPath.string();

    // Lock, then make sure the file we locked is still the one under the name (an
    // atomic rewrite by the previous holder may have replaced it).
    const int attempts = std::max(1, options.lockAttempts);
    int fd = -1;
    for (int i = 0; i < attempts; ++i) {
        fd = ::open(fresh.dbfPath.c_str(), (options.readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
        if (fd < 0)
            return Status::failure(name + ": cannot open table: " + errnoText());
        if (::flock(fd, (options.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
            struct stat a {}, b {};
            if (::fstat(fd, &a) == 0 && ::stat(fresh.dbfPath.c_str(), &b) == 0 && a.st_ino == b.st_ino && a.st_dev == b.st_dev)
                break;
        }
        ::close(fd);
        fd = -1;
        if (i + 1 < attempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::max(0, options.lockRetryMs)));
    }
    if (fd < 0)
        return Status::failure(name + ": table is in use (opened " +
                               std::string(options.exclusive ? "exclusively" : "shared") + " elsewhere, lock refused)");
    fresh.fd = fd;

    std::string file;
    if (!readAll(fd, file)) {
        fresh.closeFiles();
        return Status::failure(name + ": cannot read: " + errnoText());
    }
    if (auto st = parseHeader(file, name, fresh.layout); !st) {
        fresh.closeFiles();
        return st;
    }
    fresh.data = file.substr(fresh.layout.headerLength, std::size_t{fresh.layout.recordCount} * fresh.layout.recordLength);
    for (std::uint32_t i = 0; i < fresh.layout.recordCount; ++i) {
        const char flag = fresh.data[std::size_t{i} * fresh.layout.recordLength];
        if (flag != ' ' && flag != '*') {
            fresh.closeFiles();
            return Status::failure(name + ": record " + std::to_string(i + 1) + " is damaged (bad delete flag)");
        }
    }

    if (fresh.layout.hasMemo) {
        fresh.fptFd = ::open(fresh.fptPath.c_str(), (options.readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
        if (fresh.fptFd < 0) {
            fresh.closeFiles();
            return Status::failure(fresh.fptPath.string() + ": memo file missing or unreadable: " + errnoText());
        }
        struct stat st {};
        unsigned char h[8];
        if (::fstat(fresh.fptFd, &st) != 0 || st.st_size < static_cast<off_t>(kMemoHeaderSize) ||
            ::pread(fresh.fptFd, h, 8, 0) != 8) {
            fresh.closeFiles();
            return Status::failure(fresh.fptPath.string() + ": memo file too short for its header");
        }
        fresh.memoBlock = (std::uint32_t{h[6]} << 8) | h[7];
        if (fresh.memoBlock == 0) {
            fresh.closeFiles();
            return Status::failure(fresh.fptPath.string() + ": memo file has block size 0");
        }
        fresh.memoSize = static_cast<std::uint64_t>(st.st_size);
        std::uint64_t next = be32(h);
        const std::uint64_t minNext = (std::max<std::uint64_t>(fresh.memoSize, kMemoHeaderSize) + fresh.memoBlock - 1) / fresh.memoBlock;
        fresh.memoNext = static_cast<std::uint32_t>(std::max(next, minNext));
    }

    std::error_code ec;
    if (fs::exists(fresh.tagsPath, ec)) {
        std::ifstream in(fresh.tagsPath, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        if (!in) {
            fresh.closeFiles();
            return Status::failure(fresh.tagsPath.string() + ": cannot read tag definitions");
        }
        if (auto st = parseTags(ss.str(), fresh.tagDefs); !st) {
            fresh.closeFiles();
            return Status::failure(fresh.tagsPath.string() + ": " + st.message());
        }
    }
    for (const auto& def : fresh.tagDefs) {
        Impl::Tag t;
        t.def = def;
        for (const auto& p : def.parts) {
            const int f = fresh.field(p.field);
            if (f < 0) {
                fresh.closeFiles();
                return Status::failure(fresh.tagsPath.string() + ": tag " + def.name + " uses unknown field " + p.field);
            }
            t.fieldIdx.push_back(f);
        }
        fresh.tags.push_back(std::move(t));
    }
    fresh.rebuildTags();

    fresh.written = fresh.layout.recordCount;
    *m = std::move(fresh);
    goTop();
    return Status::success();
}

Status Table::close()
{
    if (!m || m->fd < 0)
        return Status::success();
    Status result = m->store();
    if (auto st = m->writeHeaderCount(); result && !st)
        result = st;
    m->closeFiles();
    *m = Impl();
    return result;
}

bool Table::isOpen() const { return m && m->fd >= 0; }
const std::string& Table::alias() const { return m->alias; }
fs::path Table::dbfPath() const { return m->dbfPath; }
const std::vector<FieldDef>& Table::fields() const { return m->layout.fields; }
const std::vector<TagDef>& Table::tags() const { return m->tagDefs; }
int Table::fieldIndex(std::string_view name) const { return m->field(name); }

Status Table::setTag(std::string_view tagName)
{
    if (!isOpen())
        return Status::failure("table is not open");
    int idx = -1;
    if (!tagName.empty()) {
        for (std::size_t i = 0; i < m->tags.size(); ++i)
            if (iequals(m->tags[i].def.name, tagName))
                idx = static_cast<int>(i);
        if (idx < 0)
            return Status::failure(m->alias + ": unknown tag '" + std::string(tagName) + "'");
    }
    m->settle();
    m->tag = idx;
    m->tagName = idx < 0 ? std::string() : m->tags[static_cast<std::size_t>(idx)].def.name;
    m->scoped = false;
    goTop();
    return Status::success();
}

const std::string& Table::currentTag() const { return m->tagName; }

Status Table::setScope(std::string_view low, std::string_view high)
{
    if (!isOpen())
        return Status::failure("table is not open");
    if (m->tag < 0)
        return Status::failure(m->alias + ": a scope needs a selected tag");
    m->settle();
    m->scoped = true;
    m->scopeLo = std::string(low);
    m->scopeHi = std::string(high);
    goTop();
    return Status::success();
}

void Table::clearScope() { m->scoped = false; }

std::string Table::currentKey() const
{
    if (m->tag < 0 || m->atEof)
        return {};
    return m->keyOf(m->tags[static_cast<std::size_t>(m->tag)], m->buf.data());
}

void Table::goTop()
{
    if (!isOpen())
        return;
    m->settle();
    m->atBof = false;
    if (m->tag >= 0) {
        const auto [b, e] = m->range();
        if (b < e)
            m->setRow(m->tags[static_cast<std::size_t>(m->tag)].order[b]);
        else
            m->setEof(), m->atBof = true;
        return;
    }
    for (std::uint32_t i = 0; i < m->recCount(); ++i)
        if (!m->deleted(i))
            return m->setRow(i);
    m->setEof();
    m->atBof = true;
}

void Table::goBottom()
{
    if (!isOpen())
        return;
    m->settle();
    m->atBof = false;
    if (m->tag >= 0) {
        const auto [b, e] = m->range();
        if (b < e)
            m->setRow(m->tags[static_cast<std::size_t>(m->tag)].order[e - 1]);
        else
            m->setEof(), m->atBof = true;
        return;
    }
    for (std::uint32_t i = m->recCount(); i > 0; --i)
        if (!m->deleted(i - 1))
            return m->setRow(i - 1);
    m->setEof();
    m->atBof = true;
}

void Table::skip(int n)
{
    if (!isOpen())
        return;
    m->settle();
    if (n == 0)
        return;
    if (m->tag >= 0) {
        const auto& t = m->tags[static_cast<std::size_t>(m->tag)];
        const auto [b, e] = m->range();
        std::int64_t pos;
        if (m->atEof)
            pos = static_cast<std::int64_t>(e);
        else {
            pos = static_cast<std::int64_t>(m->orderPos(t, m->cur));
            if (pos >= static_cast<std::int64_t>(t.order.size()) || t.order[static_cast<std::size_t>(pos)] != m->cur)
                pos = static_cast<std::int64_t>(e); // current row not in the order (deleted): treat as end
        }
        pos += n;
        if (pos < static_cast<std::int64_t>(b)) {
            m->atBof = true;
            if (b < e)
                m->setRow(t.order[b]), m->atBof = true;
            else
                m->setEof();
        } else if (pos >= static_cast<std::int64_t>(e)) {
            m->setEof();
            m->atBof = false;
        } else {
            m->setRow(t.order[static_cast<std::size_t>(pos)]);
        }
        return;
    }
    std::int64_t r = m->atEof ? static_cast<std::int64_t>(m->recCount()) : static_cast<std::int64_t>(m->cur);
    const int step = n > 0 ? 1 : -1;
    int left = n > 0 ? n : -n;
    while (left > 0) {
        r += step;
        if (r < 0) {
            goTop();
            m->atBof = true;
            return;
        }
        if (r >= static_cast<std::int64_t>(m->recCount())) {
            m->setEof();
            m->atBof = false;
            return;
        }
        if (!m->deleted(static_cast<std::uint32_t>(r)))
            --left;
    }
    m->setRow(static_cast<std::uint32_t>(r));
}

bool Table::eof() const { return !isOpen() || m->atEof; }
bool Table::bof() const { return !isOpen() || m->atBof; }

bool Table::seek(std::string_view key)
{
    if (!isOpen())
        return false;
    m->settle();
    m->atBof = false;
    if (m->tag < 0) {
        m->setEof();
        return false;
    }
    const auto& t = m->tags[static_cast<std::size_t>(m->tag)];
    auto cut = [&](std::uint32_t r) { return std::string_view(t.keyByRec[r]).substr(0, key.size()); };
    const auto [b, e] = m->range();
    const auto first = t.order.begin() + static_cast<std::ptrdiff_t>(b);
    const auto last = t.order.begin() + static_cast<std::ptrdiff_t>(e);
    const auto it = t.def.descending ? std::partition_point(first, last, [&](std::uint32_t r) { return cut(r) > key; })
                                     : std::partition_point(first, last, [&](std::uint32_t r) { return cut(r) < key; });
    if (it != last && cut(*it) == key) {
        m->setRow(*it);
        return true;
    }
    m->setEof();
    return false;
}

std::uint32_t Table::recNo() const
{
    if (!isOpen())
        return 0;
    if (m->atEof && !m->appending)
        return m->recCount() + 1;
    return m->appending ? m->recCount() + 1 : m->cur + 1;
}

Status Table::go(std::uint32_t recNo)
{
    if (!isOpen())
        return Status::failure("table is not open");
    m->settle();
    m->atBof = false;
    if (recNo < 1 || recNo > m->recCount()) {
        m->setEof();
        return Status::failure(m->alias + ": no record " + std::to_string(recNo));
    }
    if (m->deleted(recNo - 1)) {
        m->setEof();
        return Status::failure(m->alias + ": record " + std::to_string(recNo) + " is deleted");
    }
    m->setRow(recNo - 1);
    return Status::success();
}

std::uint32_t Table::recCount() const { return isOpen() ? m->recCount() : 0; }

std::uint32_t Table::rowCount() const
{
    if (!isOpen())
        return 0;
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < m->recCount(); ++i)
        n += m->deleted(i) ? 0 : 1;
    return n;
}

// ---- reads -------------------------------------------------------------------

std::string Table::fieldAsString(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return {};
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type == FieldType::Memo) {
        Status st;
        std::string s = m->memoContent(f, st);
        if (!st)
            m->lastError = st;
        return s;
    }
    const std::string_view v = m->raw(m->buf, f);
    if (fd.type == FieldType::Numeric)
        return trimBoth(v);
    return trimRight(v);
}

std::int64_t Table::fieldAsInteger(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return 0;
    const std::string_view v = m->raw(m->buf, f);
    if (m->layout.fields[static_cast<std::size_t>(f)].type == FieldType::Logical)
        return fieldAsBoolean(name) ? 1 : 0;
    double d = 0;
    if (!parseNumber(v, d))
        return 0;
    if (d >= 9.2e18 || d <= -9.2e18)
        return 0;
    return static_cast<std::int64_t>(d);
}

double Table::fieldAsDouble(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return 0;
    double d = 0;
    return parseNumber(m->raw(m->buf, f), d) ? d : 0.0;
}

bool Table::fieldAsBoolean(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return false;
    const std::string v = trimBoth(m->raw(m->buf, f));
    return v == "T" || v == "t" || v == "Y" || v == "y";
}

bool Table::isBlank(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return true;
    if (m->layout.fields[static_cast<std::size_t>(f)].type == FieldType::Memo)
        return fieldLength(name) == 0;
    return trimBoth(m->raw(m->buf, f)).empty();
}

std::size_t Table::fieldLength(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return 0;
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type != FieldType::Memo)
        return static_cast<std::size_t>(fd.width);
    Status st;
    const std::size_t n = m->memoContent(f, st).size();
    if (!st)
        m->lastError = st;
    return n;
}

Status Table::copyMemoField(std::string_view name, std::string& out) const
{
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    if (m->layout.fields[static_cast<std::size_t>(f)].type != FieldType::Memo) {
        out = fieldAsString(name);
        return Status::success();
    }
    Status st;
    out = m->memoContent(f, st);
    return st;
}

const Status& Table::lastError() const { return m->lastError; }
void Table::clearError() { m->lastError = Status::success(); }

// ---- writes -------------------------------------------------------------------

Status Table::recordLock()
{
    if (auto st = m->editable(); !st)
        return st;
    if (!m->appending && m->deleted(m->cur))
        return Status::failure(m->alias + ": record " + std::to_string(m->cur + 1) + " is deleted");
    m->locked = true;
    return Status::success();
}

Status Table::replaceString(std::string_view name, std::string_view value)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    const auto off = static_cast<std::size_t>(m->layout.offsets[static_cast<std::size_t>(f)]);
    const auto w = static_cast<std::size_t>(fd.width);
    switch (fd.type) {
    case FieldType::Character:
        m->buf.replace(off, w, keyLeft(value, fd.width));
        break;
    case FieldType::Numeric: {
        if (trimBoth(value).empty()) {
            m->buf.replace(off, w, w, ' ');
            break;
        }
        double d = 0;
        if (!parseNumber(value, d))
            return Status::failure(m->alias + ": '" + std::string(value) + "' is not a number for field " + fd.name);
        return replaceDouble(name, d);
    }
    case FieldType::Logical: {
        const std::string v = trimBoth(value);
        char c;
        if (v.empty())
            c = ' ';
        else if (v == "T" || v == "t" || v == "Y" || v == "y")
            c = 'T';
        else if (v == "F" || v == "f" || v == "N" || v == "n")
            c = 'F';
        else
            return Status::failure(m->alias + ": '" + v + "' is not a logical value for field " + fd.name);
        m->buf[off] = c;
        break;
    }
    case FieldType::Memo:
        m->memoPending[f] = {std::string(value), kMemoTypeText};
        break;
    }
    m->dirty = true;
    return Status::success();
}

Status Table::replaceInteger(std::string_view name, std::int64_t value)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type == FieldType::Logical)
        return replaceBoolean(name, value != 0);
    if (fd.type != FieldType::Numeric || fd.decimals > 0) {
        if (fd.type == FieldType::Numeric)
            return replaceDouble(name, static_cast<double>(value));
        return replaceString(name, std::to_string(value));
    }
    const std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) > fd.width)
        return Status::failure(m->alias + ": " + s + " does not fit field " + fd.name + " (width " + std::to_string(fd.width) + ")");
    m->buf.replace(static_cast<std::size_t>(m->layout.offsets[static_cast<std::size_t>(f)]),
                   static_cast<std::size_t>(fd.width), keyRight(value, fd.width));
    m->dirty = true;
    return Status::success();
}

Status Table::replaceDouble(std::string_view name, double value)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type != FieldType::Numeric)
        return Status::failure(m->alias + ": field " + fd.name + " is not numeric");
    if (!std::isfinite(value))
        return Status::failure(m->alias + ": not a finite number for field " + fd.name);
    bool fits = false;
    std::string s = formatNumber(value, fd, fits);
    if (!fits)
        return Status::failure(m->alias + ": " + s + " does not fit field " + fd.name + " (width " + std::to_string(fd.width) + ")");
    s.insert(0, static_cast<std::size_t>(fd.width) - s.size(), ' ');
    m->buf.replace(static_cast<std::size_t>(m->layout.offsets[static_cast<std::size_t>(f)]),
                   static_cast<std::size_t>(fd.width), s);
    m->dirty = true;
    return Status::success();
}

Status Table::replaceBoolean(std::string_view name, bool value)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type != FieldType::Logical)
        return Status::failure(m->alias + ": field " + fd.name + " is not logical");
    m->buf[static_cast<std::size_t>(m->layout.offsets[static_cast<std::size_t>(f)])] = value ? 'T' : 'F';
    m->dirty = true;
    return Status::success();
}

Status Table::replaceBlank(std::string_view name)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    const FieldDef& fd = m->layout.fields[static_cast<std::size_t>(f)];
    if (fd.type == FieldType::Memo)
        m->memoPending[f] = {std::string(), kMemoTypeText};
    else
        m->buf.replace(static_cast<std::size_t>(m->layout.offsets[static_cast<std::size_t>(f)]),
                       static_cast<std::size_t>(fd.width), static_cast<std::size_t>(fd.width), ' ');
    m->dirty = true;
    return Status::success();
}

Status Table::replaceMemoBytes(std::string_view name, std::string_view bytes)
{
    if (auto st = m->editable(); !st)
        return st;
    const int f = m->field(name);
    if (f < 0)
        return Status::failure(m->alias + ": unknown field '" + std::string(name) + "'");
    if (m->layout.fields[static_cast<std::size_t>(f)].type != FieldType::Memo)
        return Status::failure(m->alias + ": field " + m->layout.fields[static_cast<std::size_t>(f)].name + " is not a memo");
    m->memoPending[f] = {std::string(bytes), kMemoTypePicture};
    m->dirty = true;
    return Status::success();
}

Status Table::unlock()
{
    if (!isOpen())
        return Status::failure("table is not open");
    return m->store();
}

void Table::cancel()
{
    if (!isOpen())
        return;
    if (m->appending) {
        m->setEof();
        return;
    }
    m->loadBuffer();
}

bool Table::isModified() const { return isOpen() && (m->dirty || m->appending); }

Status Table::appendBlank()
{
    if (auto st = appendStart(); !st)
        return st;
    if (auto st = appendEnd(); !st)
        return st;
    m->locked = true;
    return Status::success();
}

Status Table::appendStart()
{
    if (auto st = m->writable(); !st)
        return st;
    if (auto st = m->store(); !st)
        return st;
    m->buf.assign(m->recLen(), ' ');
    m->memoPending.clear();
    m->dirty = false;
    m->appending = true;
    m->atEof = true;
    m->atBof = false;
    return Status::success();
}

Status Table::appendEnd()
{
    if (!isOpen())
        return Status::failure("table is not open");
    if (!m->appending)
        return Status::failure(m->alias + ": appendEnd without appendStart");
    return m->store();
}

Status Table::deleteRecord()
{
    if (auto st = m->writable(); !st)
        return st;
    if (m->appending) {
        cancel();
        return Status::success();
    }
    if (m->atEof)
        return Status::failure(m->alias + ": no current row to delete");
    if (auto st = m->store(); !st)
        return st;
    const std::uint32_t r = m->cur;
    // Find the row that follows before the deleted one leaves the order.
    std::int64_t nextRec = -1;
    if (m->tag >= 0) {
        const auto& t = m->tags[static_cast<std::size_t>(m->tag)];
        const auto [b, e] = m->range();
        const std::size_t p = m->orderPos(t, r);
        if (p + 1 < e && p >= b)
            nextRec = t.order[p + 1];
    } else {
        for (std::uint32_t i = r + 1; i < m->recCount(); ++i)
            if (!m->deleted(i)) {
                nextRec = i;
                break;
            }
    }
    m->buf[0] = '*';
    m->dirty = true;
    for (auto& t : m->tags)
        m->tagRemove(t, r);
    m->data[std::size_t{r} * m->recLen()] = '*';
    // The key is unchanged, so store() only writes the flag byte's record.
    if (auto st = m->store(); !st)
        return st;
    if (nextRec >= 0)
        m->setRow(static_cast<std::uint32_t>(nextRec));
    else
        m->setEof();
    return Status::success();
}

bool Table::isDeleted() const
{
    return isOpen() && !m->atEof && !m->appending && m->buf[0] == '*';
}

Status Table::zap()
{
    if (auto st = m->writable(); !st)
        return st;
    m->dirty = false;
    m->appending = false;
    m->memoPending.clear();
    m->data.clear();
    m->layout.recordCount = 0;
    m->written = 0;
    m->headerDirty = true;
    m->rebuildTags();
    if (m->opts.atomicWrites) {
        if (auto st = m->rewriteAtomically(); !st)
            return st;
    } else {
        if (::ftruncate(m->fd, m->layout.headerLength) != 0)
            return Status::failure(m->dbfPath.string() + ": cannot empty: " + errnoText());
        const char eofMark = '\x1A';
        if (!writeAll(m->fd, &eofMark, 1, m->layout.headerLength))
            return Status::failure(m->dbfPath.string() + ": cannot write: " + errnoText());
        if (auto st = m->writeHeaderCount(); !st)
            return st;
    }
    if (m->fptFd >= 0) {
        const std::string empty = emptyMemoFile();
        if (::ftruncate(m->fptFd, 0) != 0 || !writeAll(m->fptFd, empty.data(), empty.size(), 0))
            return Status::failure(m->fptPath.string() + ": cannot empty: " + errnoText());
        m->memoNext = kMemoHeaderSize / m->memoBlock;
        m->memoSize = kMemoHeaderSize;
    }
    m->setEof();
    m->atBof = true;
    return Status::success();
}

Status Table::pack()
{
    if (auto st = m->writable(); !st)
        return st;
    if (auto st = m->store(); !st)
        return st;
    std::string kept;
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < m->recCount(); ++i)
        if (!m->deleted(i)) {
            kept.append(m->rec(i), m->recLen());
            ++n;
        }
    m->data = std::move(kept);
    m->layout.recordCount = n;
    m->written = n;
    m->headerDirty = true;
    m->rebuildTags();
    if (m->opts.atomicWrites) {
        if (auto st = m->rewriteAtomically(); !st)
            return st;
    } else {
        std::string tail = m->data;
        tail += '\x1A';
        if (!writeAll(m->fd, tail.data(), tail.size(), m->layout.headerLength) ||
            ::ftruncate(m->fd, static_cast<off_t>(m->layout.headerLength + tail.size())) != 0)
            return Status::failure(m->dbfPath.string() + ": cannot pack: " + errnoText());
        if (auto st = m->writeHeaderCount(); !st)
            return st;
    }
    goTop();
    return Status::success();
}

Status Table::flush()
{
    if (!isOpen())
        return Status::failure("table is not open");
    if (auto st = m->store(); !st)
        return st;
    return m->writeHeaderCount();
}

// ---- creating -------------------------------------------------------------------

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
