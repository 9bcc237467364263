#pragma once
#include <cstddef>
#include <string_view>

namespace versilla::text {

/// The standard US English TeX hyphenation patterns, generated at build time from
/// data/hyphen.tex: grouped by the first letter of their letter form ("." first,
/// then a to z), the file's order kept inside each group.
extern const std::string_view kHyphenPatterns[];
extern const std::size_t kHyphenPatternCount;

} // namespace versilla::text
