#include "storage/TableImpl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "storage/FieldText.h"

namespace versilla::storage {

using namespace detail;

std::string detail::emptyMemoFile()
{
    std::string m(kMemoHeaderSize, '\0');
    auto* b = reinterpret_cast<unsigned char*>(m.data());
    putBe32(b, kMemoHeaderSize / kMemoBlockSize);
    b[6] = static_cast<unsigned char>((kMemoBlockSize >> 8) & 0xFF);
    b[7] = static_cast<unsigned char>(kMemoBlockSize & 0xFF);
    return m;
}

Status Table::Impl::writeMemo(int f, const std::string& content, std::uint32_t type)
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

std::string Table::Impl::memoContent(int f, Status& st) const
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

} // namespace versilla::storage
