#include "text/Hyphenation.h"

#include "text/TQuillonHyphenator.h"

#include <vector>

namespace versilla::text {

namespace {

// Only lower-case vowels count: a capital at the start of a noun must not open a
// syllable break in front of the word's first real vowel.
bool isVowel(char c) {
    switch (static_cast<unsigned char>(c)) {
    case 'a': case 'e': case 'i': case 'o': case 'u':
    case 0xE4: // ä
    case 0xFC: // ü
    case 0xF6: // ö
        return true;
    default:
        return false;
    }
}

bool isSeparator(char c) {
    static constexpr std::string_view separators = "-/\\*#;.+=)(&!?<>: _~,";
    return separators.find(c) != std::string_view::npos;
}

bool isCluster(std::string_view letters) {
    static constexpr std::string_view clusters = "sch,ch,ph,ck,pf,br,pl,tr,st,gr";
    return clusters.find(letters) != std::string_view::npos;
}

bool isWordBoundaryPunctuation(char c) {
    return c == ',' || c == '.' || c == ':' || c == '!' || c == '?' || c == ';';
}

} // namespace

std::string hyphenateWordGerman(std::string_view w) {
    const std::size_t n = w.size();
    if (n <= 2)
        return std::string(w);

    // breakBefore[i]: a "-" goes before w[i] (0-based).
    std::vector<bool> breakBefore(n, false);
    bool active = false;
    for (std::size_t p = 2; p < n; ++p) { // 0-based index of c
        const char a = w[p - 2], b = w[p - 1], c = w[p];
        if (isVowel(a))
            active = true;
        if (!active || !isVowel(c) || isVowel(b) || isSeparator(b) || isSeparator(a))
            continue;
        std::size_t first = p - 2;
        std::string_view pair = w.substr(p - 2, 2);
        if (pair == "ch" && p >= 3 && w[p - 3] == 's') {
            first = p - 3;
            pair = w.substr(p - 3, 3);
        }
        breakBefore[isCluster(pair) ? first : p - 1] = true;
    }

    std::string out;
    out.reserve(n + n / 2);
    for (std::size_t i = 0; i < n; ++i) {
        if (breakBefore[i])
            out += '-';
        out += w[i];
    }
    return out;
}

std::string hyphenateWord(std::string_view word, HyphenLanguage lang, const TQuillonHyphenator& hyphenator) {
    if (lang == HyphenLanguage::English)
        return hyphenator.hyphenateWord(word, '-');
    return hyphenateWordGerman(word);
}

std::string hyphenateText(std::string_view text, std::size_t preambleLength, HyphenLanguage lang,
                          const TQuillonHyphenator& hyphenator) {
    std::size_t keep = std::min(preambleLength, text.size());
    // A preamble is kept with the line end that closes it.
    if (keep > 0 && keep < text.size() && text[keep] == '\r') {
        ++keep;
        if (keep < text.size() && text[keep] == '\n')
            ++keep;
    }
    std::string out(text.substr(0, keep));
    out.reserve(text.size() + text.size() / 2);

    std::string word;
    const auto flush = [&] {
        if (!word.empty())
            out += hyphenateWord(word, lang, hyphenator);
        word.clear();
    };
    for (const char c : text.substr(keep)) {
        if (c == '-') {
            continue; // old syllable marks are replaced by the new ones
        } else if (c == ' ') {
            flush();
            out += ' ';
        } else if (c == '\r') {
            flush();
            out += "\r\n";
        } else if (c == '\n') {
            continue; // its CR already wrote the line end
        } else if (isWordBoundaryPunctuation(c)) {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

} // namespace versilla::text
