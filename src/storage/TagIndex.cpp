#include "storage/TableImpl.h"

#include <algorithm>

#include "storage/FieldText.h"

namespace versilla::storage {

using namespace detail;

std::string Table::Impl::keyOf(const Tag& t, const char* row) const
{
    std::string key;
    key.reserve(t.keyWidth);
    for (std::size_t p = 0; p < t.def.parts.size(); ++p) {
        const KeyPart& part = t.def.parts[p];
        const int f = t.fieldIdx[p];
        const FieldDef& fd = layout.fields[f];
        const std::string_view v(row + layout.offsets[f], static_cast<std::size_t>(fd.width));
        switch (part.kind) {
        case KeyKind::Text: {
            // left-aligned, blank-padded or cut (keyLeft over the trimmed text)
            const auto w = static_cast<std::size_t>(std::max(0, part.width > 0 ? part.width : fd.width));
            const std::string_view text = trimRightView(v).substr(0, w);
            key.append(text);
            key.append(w - text.size(), ' ');
            break;
        }
        case KeyKind::Right:
            appendKeyRight(key, keyInteger(v), part.width);
            break;
        case KeyKind::Signed:
            appendKeySigned(key, keyInteger(v));
            break;
        }
    }
    return key;
}

void Table::Impl::rebuildTag(Tag& t)
{
    t.keyByRec.resize(recCount());
    t.order.clear();
    t.pending.clear();
    for (std::uint32_t i = 0; i < recCount(); ++i) {
        t.keyByRec[i] = keyOf(t, rec(i));
        if (!deleted(i))
            t.order.push_back(i);
    }
    // Rows are mostly added in key order: a sorted table needs no sort.
    if (!std::is_sorted(t.order.begin(), t.order.end(), [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); }))
        std::stable_sort(t.order.begin(), t.order.end(), [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); });
}

void Table::Impl::rebuildTags()
{
    for (auto& t : tags)
        rebuildTag(t);
}

void Table::Impl::mergePending(const Tag& t) const
{
    if (t.pending.empty())
        return;
    // Keys with record numbers as tie-break are a total order, so sorting the
    // waiting rows and merging gives exactly the order of inserting them one by one.
    auto keyLess = [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); };
    std::sort(t.pending.begin(), t.pending.end(), keyLess);
    if (t.pending.size() <= 8) { // a few: put each in its place
        for (const std::uint32_t r : t.pending)
            t.order.insert(std::lower_bound(t.order.begin(), t.order.end(), r, keyLess), r);
        t.pending.clear();
        return;
    }
    const auto mid = static_cast<std::ptrdiff_t>(t.order.size());
    t.order.insert(t.order.end(), t.pending.begin(), t.pending.end());
    t.pending.clear();
    std::inplace_merge(t.order.begin(), t.order.begin() + mid, t.order.end(), keyLess);
}

std::size_t Table::Impl::orderPos(const Tag& t, std::uint32_t r) const
{
    mergePending(t);
    return static_cast<std::size_t>(std::lower_bound(t.order.begin(), t.order.end(), r,
                                                     [&](std::uint32_t a, std::uint32_t b) { return less(t, a, b); }) -
                                    t.order.begin());
}

void Table::Impl::tagRemove(Tag& t, std::uint32_t r)
{
    const std::size_t p = orderPos(t, r);
    if (p < t.order.size() && t.order[p] == r)
        t.order.erase(t.order.begin() + static_cast<std::ptrdiff_t>(p));
}

void Table::Impl::tagInsert(Tag& t, std::uint32_t r)
{
    mergePending(t);
    if (t.order.empty() || less(t, t.order.back(), r))
        t.order.push_back(r);
    else
        t.order.insert(t.order.begin() + static_cast<std::ptrdiff_t>(orderPos(t, r)), r);
}

void Table::Impl::tagAppend(Tag& t, std::uint32_t r)
{
    // Appending in key order is the common case: no search, no move. Any other
    // new row waits to be merged in with the others appended before the next read.
    if (t.pending.empty() && (t.order.empty() || less(t, t.order.back(), r)))
        t.order.push_back(r);
    else
        t.pending.push_back(r);
}

std::pair<std::size_t, std::size_t> Table::Impl::range() const
{
    if (tag < 0) 
        return {0, recCount()};
    const Tag& t = tags[static_cast<std::size_t>(tag)];
    mergePending(t);
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

} // namespace versilla::storage
