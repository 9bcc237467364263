#pragma once
// A plain reading of the pattern method, kept simple on purpose: each piece of
// the word is searched pattern by pattern through its first-letter group. The
// indexed hyphenator must give exactly the same words; tests and the benchmark
// compare the two.
#include "text/TQuillonHyphenator.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::text::testing {

class LinearHyphenator {
public:
    explicit LinearHyphenator(const TQuillonHyphenator& source) : m_source(source) {
        m_forms.emplace_back(); // numbers count from 1
        for (std::size_t i = 1; i <= source.patternCount(); ++i) {
            std::string form;
            for (const char c : source.pattern(i))
                if (c < '0' || c > '9')
                    form += c;
            m_forms.push_back(form);
        }
    }

    std::string hyphenateWord(std::string_view w, char mark) const {
        const std::size_t n = w.size();
        if (n == 0 || w.find('-') != std::string_view::npos || n > TQuillonHyphenator::MaxWordLength)
            return std::string(w);
        std::string d = ".";
        for (const char c : w)
            d += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        d += '.';
        std::vector<int> gap(n + 3, 0); // gap[k]: before word letter k (from 1)
        for (std::size_t s = 1; s <= d.size(); ++s) {
            for (std::size_t len = 1; len <= 6; ++len) {
                const std::string piece = d.substr(s - 1, len);
                const std::size_t from = m_source.firstLetterIndex(piece[0]);
                if (from == 0)
                    continue;
                for (std::size_t i = from; i < m_source.groupEnd(piece[0]); ++i) {
                    if (m_forms[i] != piece)
                        continue;
                    std::size_t j = 0;
                    for (const char c : m_source.pattern(i)) {
                        if (c >= '0' && c <= '9') {
                            const std::size_t k = s + j - 1;
                            if (k < gap.size())
                                gap[k] = std::max(gap[k], c - '0');
                        } else {
                            ++j;
                        }
                    }
                    break;
                }
            }
        }
        std::string out;
        for (std::size_t k = 1; k <= n; ++k) {
            if (gap[k] % 2 == 1 && k >= 3 && k <= n - 2)
                out += mark;
            out += w[k - 1];
        }
        return out;
    }

private:
    const TQuillonHyphenator& m_source;
    std::vector<std::string> m_forms;
};

} // namespace versilla::text::testing
