// versilla-cli hyphenate --lang de|en: the lyric text hyphenation run as a filter.
#include "Command.h"

#include "text/CodePage1252.h"
#include "text/LineEnds.h"
#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include <cstdio>
#include <string>

namespace {

using namespace versilla::text;

constexpr const char* kName = "hyphenate";

constexpr const char* kHelp =
    "usage: versilla-cli hyphenate --lang de|en\n"
    "\n"
    "Splits every word of the UTF-8 text on standard input into syllables with \"-\",\n"
    "German (de) or English (en) rules, and prints the result as UTF-8 with CR LF\n"
    "line ends. Existing \"-\" marks are replaced; the protected hyphen U+00AC and the\n"
    "protected space U+00B7 are kept. Lines ending in a bare LF are read as lines\n"
    "(LF is taken as CR LF), so Unix text files keep their lines. A leading UTF-8\n"
    "byte order mark is ignored.\n"
    "\n"
    "Exit status: 0 done, 1 the text holds a character outside Windows-1252 or is\n"
    "not valid UTF-8 (nothing is printed), 2 wrong command line.\n";

std::string readAll(std::FILE* in, bool& ok) {
    std::string data;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        data.append(buffer, got);
    ok = std::ferror(in) == 0;
    return data;
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// "line L, column C" of a byte offset in UTF-8 text, columns in characters.
std::string positionOf(std::string_view utf8, std::size_t offset) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

int hyphenate(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (args.size() != 2 || args[0] != "--lang")
        return versilla::cli::usageError(kName, "expected --lang de or --lang en");
    HyphenLanguage lang;
    if (args[1] == "de")
        lang = HyphenLanguage::German;
    else if (args[1] == "en")
        lang = HyphenLanguage::English;
    else
        return versilla::cli::usageError(kName, "unknown language '" + args[1] + "' (de or en)");

    bool readOk = true;
    std::string input = readAll(stdin, readOk);
    if (!readOk) {
        std::fprintf(stderr, "versilla-cli %s: cannot read standard input\n", kName);
        return 1;
    }
    std::string_view utf8(input);
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF")
        utf8.remove_prefix(3);

    const Cp1252Result converted = utf8ToCp1252(utf8);
    if (!converted.ok) {
        const std::string where = positionOf(utf8, converted.offendingAt);
        if (converted.offending == 0) {
            std::fprintf(stderr, "versilla-cli %s: invalid UTF-8 at %s (byte %zu)\n", kName, where.c_str(),
                         converted.offendingAt);
        } else {
            const std::string_view ch = utf8.substr(
                converted.offendingAt, utf8SequenceLength(static_cast<unsigned char>(utf8[converted.offendingAt])));
            std::fprintf(stderr, "versilla-cli %s: character U+%04X '%.*s' at %s has no Windows-1252 byte\n", kName,
                         static_cast<unsigned>(converted.offending), static_cast<int>(ch.size()), ch.data(),
                         where.c_str());
        }
        return 1;
    }

    const TQuillonHyphenator hyphenator;
    const std::string result = hyphenateText(bareLfToCrLf(converted.bytes), 0, lang, hyphenator);
    const std::string out = cp1252ToUtf8(result);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "versilla-cli %s: cannot write standard output\n", kName);
        return 1;
    }
    return 0;
}

const versilla::cli::Command reg(kName, "--lang de|en   hyphenate UTF-8 text from standard input (--help for details)",
                                 &hyphenate);

} // namespace
