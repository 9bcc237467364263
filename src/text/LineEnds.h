#pragma once
#include <string>
#include <string_view>

namespace versilla::text {

/// The text with every LF that has no CR before it turned into CR LF. The
/// editor's lyric text always has CR LF line ends; text files from Unix end their
/// lines in a bare LF, which the hyphenation walk drops, gluing two lines' words
/// together. Never fails.
std::string bareLfToCrLf(std::string_view text);

} // namespace versilla::text
