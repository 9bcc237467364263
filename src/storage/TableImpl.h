#pragma once
// Internal to the table layer: the state behind a Table, shared by the files
// that implement it (Table.cpp: cursor and field API; TableStore.cpp: storing
// rows; TagIndex.cpp: in-memory tags; MemoFile.cpp: memo blocks).
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/DbfFile.h"
#include "storage/Table.h"

namespace versilla::storage {

struct Table::Impl {
    struct Tag {
        TagDef def;
        std::vector<int> fieldIdx;           // field index of each key part
        std::vector<std::string> keyByRec;   // key of every record (deleted ones too)
        // Visible records in key order. Rows stored out of key order wait in
        // `pending` and are merged in at once by the first reader of the order
        // (orderPos(), range()): a bulk append does not move the order per row.
        mutable std::vector<std::uint32_t> order;
        mutable std::vector<std::uint32_t> pending;
        std::size_t keyWidth = 0;            // usual length of a key (a reserve hint)
    };

    std::filesystem::path folder, dbfPath, fptPath, tagsPath;
    std::string alias;
    OpenOptions opts;
    int fd = -1;
    int fptFd = -1;
    detail::Layout layout;
    std::vector<TagDef> tagDefs;
    std::vector<Tag> tags;
    std::string data;         // all records, recordLength each
    std::uint32_t memoNext = 0;
    std::uint32_t memoBlock = detail::kMemoBlockSize;
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
    // Where the cursor was last placed in the selected tag's order (a hint,
    // checked before use: the order may have changed since).
    std::size_t posHint = 0;

    // current row buffer
    std::string buf;
    bool dirty = false;
    bool locked = false;
    bool appending = false;
    std::map<int, std::pair<std::string, std::uint32_t>> memoPending; // field -> (content, memo type)

    mutable Status lastError;

    // Every field read and write names its field, nearly always with the same few
    // names: remember which field a name (its exact bytes) found. The fields of an
    // open table never change, so an entry stays right until the table closes.
    struct NameHit {
        std::size_t len = 0; // 0: empty slot
        std::uint64_t head = 0, tail = 0;
        int index = -1;
    };
    mutable std::array<NameHit, 16> nameHits{};

    /// The bytes of a name of 1..16 bytes as two words (equal words and length:
    /// equal names), read with fixed-size loads.
    static void nameWords(std::string_view name, std::uint64_t& head, std::uint64_t& tail)
    {
        const char* p = name.data();
        const std::size_t n = name.size();
        if (n >= 8) {
            std::memcpy(&head, p, 8);
            std::memcpy(&tail, p + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t h = 0, t = 0;
            std::memcpy(&h, p, 4);
            std::memcpy(&t, p + n - 4, 4);
            head = h;
            tail = t;
        } else {
            head = std::uint64_t{static_cast<unsigned char>(p[0])} |
                   (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) |
                   (std::uint64_t{static_cast<unsigned char>(p[n - 1])} << 16);
            tail = 0;
        }
    }

    std::uint32_t recCount() const { return layout.recordCount; }
    std::size_t recLen() const { return layout.recordLength; }
    const char* rec(std::uint32_t i) const { return data.data() + std::size_t{i} * recLen(); }
    bool deleted(std::uint32_t i) const { return data[std::size_t{i} * recLen()] == '*'; }

    int field(std::string_view name) const
    {
        const std::size_t n = name.size();
        if (n == 0 || n > 16)
            return fieldByScan(name);
        std::uint64_t head, tail;
        nameWords(name, head, tail);
        const auto first = static_cast<unsigned char>(name[0]);
        const auto last = static_cast<unsigned char>(name[n - 1]);
        NameHit& hit = nameHits[(first ^ (last << 1) ^ n) & (nameHits.size() - 1)];
        if (hit.len == n && hit.head == head && hit.tail == tail)
            return hit.index;
        const int index = fieldByScan(name);
        hit.len = n;
        hit.head = head;
        hit.tail = tail;
        hit.index = index;
        return index;
    }

    int fieldByScan(std::string_view name) const
    {
        for (std::size_t i = 0; i < layout.fields.size(); ++i)
            if (detail::iequals(layout.fields[i].name, name))
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

    std::string keyOf(const Tag& t, const char* row) const;

    bool less(const Tag& t, std::uint32_t a, std::uint32_t b) const
    {
        const int c = t.keyByRec[a].compare(t.keyByRec[b]);
        if (c != 0)
            return t.def.descending ? c > 0 : c < 0;
        return a < b;
    }

    void rebuildTag(Tag& t);
    void rebuildTags();

    /// Brings the rows waiting in a tag's `pending` into its order.
    void mergePending(const Tag& t) const;
    std::size_t orderPos(const Tag& t, std::uint32_t r) const;
    /// orderPos() that first tries where the cursor last stood in an order.
    std::size_t orderPosOf(const Tag& t, std::uint32_t r) const
    {
        if (posHint < t.order.size() && t.order[posHint] == r)
            return posHint;
        return orderPos(t, r);
    }
    void tagRemove(Tag& t, std::uint32_t r);

    /// Puts a row into a tag's order (its key is in keyByRec).
    void tagInsert(Tag& t, std::uint32_t r);
    /// tagInsert() for a row just appended: may wait in `pending`.
    void tagAppend(Tag& t, std::uint32_t r);

    /// Scope range of the selected tag as [begin, end) positions in its order.
    std::pair<std::size_t, std::size_t> range() const;

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

    Status writeMemo(int f, const std::string& content, std::uint32_t type);
    std::string fileImage() const;

    Status rewriteAtomically();

    /// Writes the appended records still held in memory.
    Status writeBack();

    Status writeHeaderCount();

    /// Stores the buffer if it holds changes (or is a new row).
    Status store();

    /// Before the cursor moves: store a pending row. A failing store keeps the
    /// error for the caller to see in lastError().
    void settle();

    Status writable() const
    {
        if (fd < 0)
            return Status::failure("table is not open");
        if (opts.readOnly)
            return Status::failure(alias + ": table is open read-only");
        return Status::success();
    }

    /// What editable() checks, without building a Status.
    bool canEdit() const { return fd >= 0 && !opts.readOnly && (!atEof || appending); }

    /// The index of field `name` of a row that may be written, in `f`; a failure
    /// when the row cannot be written or there is no such field.
    Status editableField(std::string_view name, int& f)
    {
        if (!canEdit())
            if (auto st = editable(); !st)
                return st;
        f = field(name);
        if (f < 0)
            return Status::failure(alias + ": unknown field '" + std::string(name) + "'");
        return Status::success();
    }

    Status editable()
    {
        if (canEdit())
            return Status::success();
        if (auto st = writable(); !st)
            return st;
        if (atEof && !appending)
            return Status::failure(alias + ": no current row (end of table)");
        return Status::success();
    }

    std::string memoContent(int f, Status& st) const;

    // Field writers behind replace*(): the field exists and the row is editable.
    Status putString(int f, std::string_view value);
    Status putInteger(int f, std::int64_t value);
    Status putDouble(int f, double value);
    Status putBoolean(int f, bool value);

    void closeFiles()
    {
        if (fptFd >= 0)
            ::close(fptFd);
        if (fd >= 0)
            ::close(fd); // releases the lock
        fd = fptFd = -1;
    }
};

} // namespace versilla::storage
