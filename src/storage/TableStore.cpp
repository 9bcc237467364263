#include "storage/TableImpl.h"

#include <string>

namespace versilla::storage {

using namespace detail;

std::string Table::Impl::fileImage() const
{
    std::string img = buildHeader(layout.fields, recCount());
    // keep the header we read (its date and reserved bytes) only as far as the layout goes
    img += data;
    img += '\x1A';
    return img;
}

Status Table::Impl::rewriteAtomically()
{
    int newFd = -1;
    if (auto st = writeFileAtomically(dbfPath, fileImage(), &newFd); !st)
        return st;
    ::close(fd); // the old file's lock goes with it; the new one is locked already
    fd = newFd;
    headerDirty = false;
    return Status::success();
}

Status Table::Impl::writeBack()
{
    if (written >= recCount() || opts.atomicWrites || opts.readOnly) {
        written = recCount();
        return Status::success();
    }
    const std::size_t from = std::size_t{written} * recLen();
    const char eofMark = '\x1A';
    if (!writeAllPair(fd, data.data() + from, data.size() - from, &eofMark, 1,
                      static_cast<off_t>(layout.headerLength + std::uint64_t{written} * recLen())))
        return Status::failure(dbfPath.string() + ": cannot write records: " + errnoText());
    written = recCount();
    return Status::success();
}

Status Table::Impl::writeHeaderCount()
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

Status Table::Impl::store()
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
                tagAppend(t, r);
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

void Table::Impl::settle()
{
    if (auto st = store(); !st) {
        lastError = st;
        dirty = false;
        appending = false;
        memoPending.clear();
    }
}

} // namespace versilla::storage
