#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace versilla::text {

class TQuillonHyphenator;

/// Rules the syllable splitting follows; the values are those of the setting "SPRACHE".
enum class HyphenLanguage { German = 0, English = 1 };

/// One word split into syllables with the German rules: "-" before a consonant
/// (or a consonant cluster such as "st", "ck", "sch") that precedes a lower-case
/// vowel, once the word's first lower-case vowel has been passed. Windows-1252
/// bytes (ä, ö, ü are vowels). Never fails.
std::string hyphenateWordGerman(std::string_view word);

/// One word split with the rules of `lang`; English uses `hyphenator` with the
/// mark "-" whatever its own Mark is. Never fails.
std::string hyphenateWord(std::string_view word, HyphenLanguage lang, const TQuillonHyphenator& hyphenator);

/// The lyric text after a hyphenation run. The first `preambleLength` bytes
/// (clamped to the text) are kept exactly, together with a CR (and the LF after
/// it) that directly follows them. In the rest every "-" is dropped (the
/// protected hyphen 0xAC stays) and each word, delimited by blank, CR or one of
/// , . : ! ? ; is split with `lang`'s rules; blanks, punctuation and CR LF line
/// ends are kept, a lone LF is dropped. Text is Windows-1252. Never fails.
std::string hyphenateText(std::string_view text, std::size_t preambleLength, HyphenLanguage lang,
                          const TQuillonHyphenator& hyphenator);

} // namespace versilla::text
