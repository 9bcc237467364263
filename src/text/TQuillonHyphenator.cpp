#include "text/TQuillonHyphenator.h"

#include "text/HyphenPatterns.h"

#include <algorithm>

namespace versilla::text {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

TQuillonHyphenator::TQuillonHyphenator() {
    m_patterns.reserve(kHyphenPatternCount);
    std::array<std::size_t, kAlphabet> groupSize{};
    for (std::size_t i = 0; i < kHyphenPatternCount; ++i) {
        PatternEntry e;
        e.text = kHyphenPatterns[i];
        for (const char c : e.text) {
            if (c >= '0' && c <= '9') {
                e.values[e.letterCount] = static_cast<std::uint8_t>(c - '0');
            } else if (e.letterCount < e.letters.size()) {
                e.letters[e.letterCount++] = c;
            }
        }
        e.firstGap = e.letterCount + 1;
        for (std::uint8_t j = 0; j <= e.letterCount; ++j) {
            if (e.values[j] != 0) {
                e.firstGap = std::min(e.firstGap, j);
                e.lastGap = static_cast<std::uint8_t>(j + 1);
            }
        }
        if (e.firstGap > e.lastGap)
            e.firstGap = e.lastGap;
        const int g = e.letterCount > 0 ? symbolOf(static_cast<unsigned char>(e.letters[0])) : -1;
        if (g >= 0)
            ++groupSize[static_cast<std::size_t>(g)];
        m_patterns.push_back(e);
    }
    // The generated set is already grouped by first letter; the index records
    // where each group starts.
    std::size_t at = 0;
    for (int g = 0; g < kAlphabet; ++g) {
        m_groupStart[static_cast<std::size_t>(g)] = at;
        at += groupSize[static_cast<std::size_t>(g)];
    }
    m_groupStart[kAlphabet] = at;

    // Lookup index: a trie over the letter forms of up to MaxPieceLength
    // characters. Patterns are inserted in group order and a node keeps the first
    // pattern that reaches it, which is exactly what a search through the group
    // from its start would find.
    m_trie.assign(1, TrieNode{});
    for (std::size_t i = 0; i < m_patterns.size(); ++i) {
        const PatternEntry& e = m_patterns[i];
        if (e.letterCount == 0 || e.letterCount > MaxPieceLength)
            continue;
        std::size_t node = 0;
        bool ok = true;
        for (std::uint8_t k = 0; k < e.letterCount; ++k) {
            const int sym = symbolOf(static_cast<unsigned char>(e.letters[k]));
            if (sym < 0) {
                ok = false;
                break;
            }
            std::uint16_t next = m_trie[node].child[static_cast<std::size_t>(sym)];
            if (next == 0) {
                next = static_cast<std::uint16_t>(m_trie.size());
                m_trie[node].child[static_cast<std::size_t>(sym)] = next;
                m_trie.emplace_back();
            }
            node = next;
        }
        if (ok && m_trie[node].pattern == 0)
            m_trie[node].pattern = static_cast<std::uint16_t>(i + 1);
    }
}

std::string_view TQuillonHyphenator::pattern(std::size_t number) const {
    if (number == 0 || number > m_patterns.size())
        return {};
    return m_patterns[number - 1].text;
}

std::string_view TQuillonHyphenator::letterForm(std::size_t number) const {
    if (number == 0 || number > m_patterns.size())
        return {};
    const PatternEntry& e = m_patterns[number - 1];
    return {e.letters.data(), e.letterCount};
}

std::size_t TQuillonHyphenator::firstLetterIndex(char first) const {
    const int g = symbolOf(static_cast<unsigned char>(first));
    return g < 0 ? 0 : m_groupStart[static_cast<std::size_t>(g)] + 1;
}

std::size_t TQuillonHyphenator::groupEnd(char first) const {
    const int g = symbolOf(static_cast<unsigned char>(first));
    return g < 0 ? 0 : m_groupStart[static_cast<std::size_t>(g) + 1] + 1;
}

int TQuillonHyphenator::patternValue(std::size_t number, std::size_t gap) const {
    if (number == 0 || number > m_patterns.size())
        return 0;
    const PatternEntry& e = m_patterns[number - 1];
    return gap <= e.letterCount ? e.values[gap] : 0;
}

std::size_t TQuillonHyphenator::findPattern(std::string_view piece) const {
    if (piece.empty() || piece.size() > MaxPieceLength)
        return 0;
    std::size_t node = 0;
    for (const char c : piece) {
        const int sym = symbolOf(static_cast<unsigned char>(c));
        if (sym < 0)
            return 0;
        node = m_trie[node].child[static_cast<std::size_t>(sym)];
        if (node == 0)
            return 0;
    }
    return m_trie[node].pattern;
}

std::string TQuillonHyphenator::hyphenateWord(std::string_view word, char mark) const {
    const std::size_t n = word.size();
    if (n == 0 || word.find('-') != std::string_view::npos || n > MaxWordLength)
        return std::string(word);

    // d: the word between two edge dots, lower-cased (only A to Z).
    std::array<unsigned char, MaxWordLength + 2> d{};
    d[0] = '.';
    for (std::size_t i = 0; i < n; ++i)
        d[i + 1] = static_cast<unsigned char>(lowerAscii(word[i]));
    d[n + 1] = '.';
    const std::size_t len = n + 2;
    const std::string_view low(reinterpret_cast<const char*>(d.data()) + 1, n);

    for (const std::string& entry : m_exceptions) {
        std::size_t i = 0;
        bool equal = true;
        for (const char c : entry) {
            if (c == mark)
                continue;
            if (i >= n || c != low[i]) {
                equal = false;
                break;
            }
            ++i;
        }
        if (!equal || i != n)
            continue;
        // The entry's marks with the word's own letters, so the case is the word's.
        std::string out;
        out.reserve(entry.size());
        i = 0;
        for (const char c : entry)
            out += (c == mark) ? mark : word[i++];
        return out;
    }

    // gap[k]: value of the gap before letter k of the word (from 1); a pattern
    // found at 0-based start s puts its gap j at k = s + j.
    std::array<std::uint8_t, MaxWordLength + 2 + 10> gap{};
    const TrieNode* trie = m_trie.data();
    for (std::size_t s = 0; s < len; ++s) {
        std::size_t node = 0;
        const std::size_t stop = std::min(len, s + MaxPieceLength);
        for (std::size_t p = s; p < stop; ++p) {
            const int sym = symbolOf(d[p]);
            if (sym < 0)
                break;
            node = trie[node].child[static_cast<std::size_t>(sym)];
            if (node == 0)
                break;
            if (const std::uint16_t number = trie[node].pattern; number != 0) {
                const PatternEntry& e = m_patterns[number - 1];
                for (std::size_t j = e.firstGap; j < e.lastGap; ++j)
                    gap[s + j] = std::max(gap[s + j], e.values[j]);
            }
        }
    }

    // Sized exactly, so short results stay in the string's own buffer.
    std::size_t marks = 0;
    for (std::size_t k = 3; k + 2 <= n; ++k)
        marks += gap[k] & 1;
    std::string out(n + marks, mark);
    for (std::size_t k = 1, o = 0; k <= n; ++k) {
        if ((gap[k] & 1) != 0 && k >= 3 && k + 2 <= n)
            ++o; // the mark is already there
        out[o++] = word[k - 1];
    }
    return out;
}

void TQuillonHyphenator::Run() {
    std::string out;
    out.reserve(m_input.size() + m_input.size() / 2);
    std::size_t i = 0;
    while (i < m_input.size()) {
        if (m_input[i] == ' ') {
            out += ' ';
            ++i;
            continue;
        }
        const std::size_t end = std::min(m_input.find(' ', i), m_input.size());
        out += hyphenateWord(std::string_view(m_input).substr(i, end - i), m_mark);
        i = end;
    }
    m_output = std::move(out);
}

} // namespace versilla::text
