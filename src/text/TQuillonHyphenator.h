#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::text {

/// English syllable splitting by Liang's pattern method with the built-in US
/// English TeX patterns. Words are Windows-1252 bytes. Deliberate limits that are
/// part of its behaviour: only pieces of up to 6 characters are looked up (so
/// longer patterns never apply), no mark within the first 2 or the last 2
/// letters of a word, and a word that already holds "-" is left alone.
/// Words longer than MaxWordLength characters are returned unchanged.
class TQuillonHyphenator {
public:
    /// Longest word that is hyphenated; longer words come back unchanged.
    static constexpr std::size_t MaxWordLength = 48;
    /// Longest piece of a word that is looked up among the patterns.
    static constexpr std::size_t MaxPieceLength = 6;

    /// Builds the letter forms, the first-letter index and the lookup index.
    /// Mark is '_' and ExceptionList empty. Never fails.
    TQuillonHyphenator();

    const std::string& Input() const { return m_input; }
    void SetInput(std::string text) { m_input = std::move(text); }
    /// The hyphenated text of the last Run.
    const std::string& OutPut() const { return m_output; }
    char Mark() const { return m_mark; }
    void SetMark(char mark) { m_mark = mark; }
    /// Words with their marks that override the patterns (compared without marks).
    const std::vector<std::string>& ExceptionList() const { return m_exceptions; }
    void SetExceptionList(const std::vector<std::string>& list) { m_exceptions = list; }

    /// Hyphenates every word (run of non-blank characters) of Input into OutPut;
    /// blanks stay where they are. Never fails.
    void Run();

    /// One word hyphenated with Mark. Never fails.
    std::string hyphenateWord(std::string_view word) const { return hyphenateWord(word, m_mark); }
    /// One word hyphenated with the given mark (also the mark stripped from
    /// exception entries). Never fails.
    std::string hyphenateWord(std::string_view word, char mark) const;

    /// Number of built-in patterns (4447).
    std::size_t patternCount() const { return m_patterns.size(); }
    /// Pattern by its number counted from 1, as written in the pattern file
    /// (digits included); empty for a number out of range.
    std::string_view pattern(std::size_t number) const;
    /// Letter form (digits removed) of the pattern with that number; empty when out of range.
    std::string_view letterForm(std::size_t number) const;
    /// Number (from 1) of the first pattern whose letter form starts with `first`
    /// ('.' or 'a' to 'z'); 0 for any other character. The number one past the
    /// last pattern is groupEnd('z').
    std::size_t firstLetterIndex(char first) const;
    /// Number one past the last pattern of the group of `first`; 0 for no group.
    std::size_t groupEnd(char first) const;

    /// The pattern number (from 1) that applies to a piece of a word (letter form
    /// lookup: the first pattern of the piece's first-letter group whose letter
    /// form equals the piece), or 0 when none does or the piece is longer than
    /// MaxPieceLength. Never fails.
    std::size_t findPattern(std::string_view piece) const;

    /// Value of gap j (0 = before the first letter) of the pattern with that
    /// number; 0 for out-of-range arguments.
    int patternValue(std::size_t number, std::size_t gap) const;

private:
    static constexpr int kAlphabet = 27; // '.' and a to z

    struct PatternEntry {
        std::string_view text;                 // as in the pattern file
        std::array<char, 9> letters{};         // letter form
        std::uint8_t letterCount = 0;
        std::array<std::uint8_t, 10> values{}; // value of the gap before letter j
        std::uint8_t firstGap = 0;             // first gap with a value (skips leading zeros)
        std::uint8_t lastGap = 0;              // one past the last gap with a value
    };

    struct TrieNode {
        std::array<std::uint16_t, kAlphabet> child{}; // 0: none
        std::uint16_t pattern = 0;                     // pattern number from 1, 0: none
    };

    static constexpr std::array<std::int8_t, 256> kSymbols = [] {
        std::array<std::int8_t, 256> t{};
        t.fill(-1);
        t['.'] = 0;
        for (int c = 'a'; c <= 'z'; ++c)
            t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 1);
        return t;
    }();
    static int symbolOf(unsigned char c) { return kSymbols[c]; }

    std::string m_input;
    std::string m_output;
    char m_mark = '_';
    std::vector<std::string> m_exceptions;

    std::vector<PatternEntry> m_patterns;
    std::array<std::size_t, kAlphabet + 1> m_groupStart{}; // 0-based start of each group, then end
    std::vector<TrieNode> m_trie;                          // node 0 is the root
};

} // namespace versilla::text
