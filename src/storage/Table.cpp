#include "storage/Table.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "storage/FieldText.h"
#include "storage/TableImpl.h"

namespace versilla::storage {

namespace fs = std::filesystem;
using namespace detail;

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
            const FieldDef& fd = fresh.layout.fields[static_cast<std::size_t>(f)];
            t.keyWidth += p.kind == KeyKind::Signed ? 20 : static_cast<std::size_t>(std::max(p.width > 0 ? p.width : fd.width, 0));
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
            m->setRow(m->tags[static_cast<std::size_t>(m->tag)].order[b]), m->posHint = b;
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
            m->setRow(m->tags[static_cast<std::size_t>(m->tag)].order[e - 1]), m->posHint = e - 1;
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
            pos = static_cast<std::int64_t>(m->orderPosOf(t, m->cur));
            if (pos >= static_cast<std::int64_t>(t.order.size()) || t.order[static_cast<std::size_t>(pos)] != m->cur)
                pos = static_cast<std::int64_t>(e); // current row not in the order (deleted): treat as end
        }
        pos += n;
        if (pos < static_cast<std::int64_t>(b)) {
            m->atBof = true;
            if (b < e)
                m->setRow(t.order[b]), m->atBof = true, m->posHint = b;
            else
                m->setEof();
        } else if (pos >= static_cast<std::int64_t>(e)) {
            m->setEof();
            m->atBof = false;
        } else {
            m->setRow(t.order[static_cast<std::size_t>(pos)]);
            m->posHint = static_cast<std::size_t>(pos);
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
        m->posHint = static_cast<std::size_t>(it - t.order.begin());
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
        return logicalTrue(v) ? 1 : 0;
    return fieldInteger(v);
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
    return logicalTrue(m->raw(m->buf, f));
}

bool Table::isBlank(std::string_view name) const
{
    const int f = m->fieldOrError(name);
    if (f < 0)
        return true;
    if (m->layout.fields[static_cast<std::size_t>(f)].type == FieldType::Memo)
        return fieldLength(name) == 0;
    return trimBothView(m->raw(m->buf, f)).empty();
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

// ---- field writers (the field is known; the row is editable) -----------------

Status Table::Impl::putString(int f, std::string_view value)
{
    const FieldDef& fd = layout.fields[static_cast<std::size_t>(f)];
    const auto off = static_cast<std::size_t>(layout.offsets[static_cast<std::size_t>(f)]);
    const auto w = static_cast<std::size_t>(fd.width);
    switch (fd.type) {
    case FieldType::Character: {
        // left-aligned, cut or blank-padded to the width
        const std::size_t n = std::min(value.size(), w);
        std::memcpy(buf.data() + off, value.data(), n);
        std::memset(buf.data() + off + n, ' ', w - n);
        break;
    }
    case FieldType::Numeric: {
        if (trimBothView(value).empty()) {
            std::memset(buf.data() + off, ' ', w);
            break;
        }
        double d = 0;
        if (!parseNumber(value, d))
            return Status::failure(alias + ": '" + std::string(value) + "' is not a number for field " + fd.name);
        return putDouble(f, d);
    }
    case FieldType::Logical: {
        const std::string_view v = trimBothView(value);
        char c;
        if (v.empty())
            c = ' ';
        else if (v == "T" || v == "t" || v == "Y" || v == "y")
            c = 'T';
        else if (v == "F" || v == "f" || v == "N" || v == "n")
            c = 'F';
        else
            return Status::failure(alias + ": '" + std::string(v) + "' is not a logical value for field " + fd.name);
        buf[off] = c;
        break;
    }
    case FieldType::Memo:
        memoPending[f] = {std::string(value), kMemoTypeText};
        break;
    }
    dirty = true;
    return Status::success();
}

Status Table::Impl::putInteger(int f, std::int64_t value)
{
    const FieldDef& fd = layout.fields[static_cast<std::size_t>(f)];
    if (fd.type == FieldType::Logical)
        return putBoolean(f, value != 0);
    if (fd.type == FieldType::Numeric && fd.decimals == 0) {
        // right-aligned, blank-padded on the left
        char* out = buf.data() + layout.offsets[static_cast<std::size_t>(f)];
        if (!putIntegerRight(value, out, static_cast<std::size_t>(fd.width)))
            return Status::failure(alias + ": " + std::to_string(value) + " does not fit field " + fd.name + " (width " +
                                   std::to_string(fd.width) + ")");
        dirty = true;
        return Status::success();
    }
    if (fd.type == FieldType::Numeric)
        return putDouble(f, static_cast<double>(value));
    char digits[24];
    return putString(f, std::string_view(digits, formatInteger(value, digits)));
}

Status Table::Impl::putDouble(int f, double value)
{
    const FieldDef& fd = layout.fields[static_cast<std::size_t>(f)];
    if (fd.type != FieldType::Numeric)
        return Status::failure(alias + ": field " + fd.name + " is not numeric");
    if (!std::isfinite(value))
        return Status::failure(alias + ": not a finite number for field " + fd.name);
    char text[kNumberTextMax];
    const std::size_t n = formatNumberTo(value, fd.decimals, text);
    const auto w = static_cast<std::size_t>(fd.width);
    if (n > w)
        return Status::failure(alias + ": " + std::string(text, n) + " does not fit field " + fd.name + " (width " +
                               std::to_string(fd.width) + ")");
    char* out = buf.data() + layout.offsets[static_cast<std::size_t>(f)];
    std::memset(out, ' ', w - n);
    std::memcpy(out + (w - n), text, n);
    dirty = true;
    return Status::success();
}

Status Table::Impl::putBoolean(int f, bool value)
{
    const FieldDef& fd = layout.fields[static_cast<std::size_t>(f)];
    if (fd.type != FieldType::Logical)
        return Status::failure(alias + ": field " + fd.name + " is not logical");
    buf[static_cast<std::size_t>(layout.offsets[static_cast<std::size_t>(f)])] = value ? 'T' : 'F';
    dirty = true;
    return Status::success();
}

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
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
    return m->putString(f, value);
}

Status Table::replaceInteger(std::string_view name, std::int64_t value)
{
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
    return m->putInteger(f, value);
}

Status Table::replaceDouble(std::string_view name, double value)
{
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
    return m->putDouble(f, value);
}

Status Table::replaceBoolean(std::string_view name, bool value)
{
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
    return m->putBoolean(f, value);
}

Status Table::replaceBlank(std::string_view name)
{
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
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
    int f = -1;
    if (auto st = m->editableField(name, f); !st)
        return st;
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

} // namespace versilla::storage
