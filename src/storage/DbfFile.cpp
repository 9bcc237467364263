#include "storage/DbfFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

namespace versilla::storage::detail {

namespace fs = std::filesystem;

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

bool writeAllPair(int fd, const void* a, std::size_t alen, const void* b, std::size_t blen, off_t at)
{
    iovec parts[2] = {{const_cast<void*>(a), alen}, {const_cast<void*>(b), blen}};
    const ssize_t n = ::pwritev(fd, parts, 2, at);
    if (n < 0 && errno != EINTR)
        return false;
    // A short write (or an interrupted one) is finished piece by piece.
    const auto done = static_cast<std::size_t>(n < 0 ? 0 : n);
    const char* pa = static_cast<const char*>(a);
    const char* pb = static_cast<const char*>(b);
    if (done < alen)
        return writeAll(fd, pa + done, alen - done, at + static_cast<off_t>(done)) &&
               writeAll(fd, pb, blen, at + static_cast<off_t>(alen));
    const std::size_t doneB = done - alen;
    return writeAll(fd, pb + doneB, blen - doneB, at + static_cast<off_t>(done));
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

/// Writes a whole file through a temporary file in the same folder and a rename.
/// When `keepFd` is given, the new file stays open (read-write) there, locked
/// exclusively before it becomes visible under its name.
Status writeFileAtomically(const fs::path& path, const std::string& bytes, int* keepFd)
{
    // Built piecewise: `"." + string` trips a false -Wrestrict in GCC 12.
    std::string leaf(1, '.');
    leaf += path.filename().string();
    leaf += ".XXXXXX";
    std::string tmpl = (path.parent_path() / leaf).string();
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

} // namespace versilla::storage::detail
