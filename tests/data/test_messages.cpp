// Checks the readable sources of the shipped tables (messages, captions,
// languages), the flags and the help pages, and that every message the code
// refers to has a text in every language.
#include "text/CodePage1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = VERSILLA_SOURCE_DIR;
const fs::path kData = kSource / "data";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

/// Undoes the escapes of the text fields; sets `error` on an unknown escape.
std::string unescape(const std::string& field, std::string& error) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out.push_back(field[i]);
            continue;
        }
        if (i + 1 == field.size()) {
            error = "backslash at the end of a field";
            return out;
        }
        switch (field[++i]) {
        case 'r': out.push_back('\r'); break;
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        case '\\': out.push_back('\\'); break;
        default: error = std::string("unknown escape \\") + field[i]; return out;
        }
    }
    return out;
}

struct Tsv {
    std::vector<std::string> header;
    struct Row {
        int line = 0;
        std::vector<std::string> fields; // text fields already unescaped
    };
    std::vector<Row> rows;
    std::vector<std::string> problems; // "file:line: what"
};

/// Reads one source table: header line, then tab-separated rows; "#" lines and
/// empty lines are comments. Every field is checked to convert to
/// Windows-1252 after its escapes are undone.
Tsv readTsv(const fs::path& path) {
    Tsv tsv;
    std::istringstream in(readFile(path));
    std::string line;
    int number = 0;
    auto split = [](const std::string& s) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = s.find('\t', start);
            parts.push_back(s.substr(start, tab - start));
            if (tab == std::string::npos)
                return parts;
            start = tab + 1;
        }
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = path.filename().string() + ":" + std::to_string(number) + ": ";
        if (number == 1) {
            tsv.header = split(line);
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        Tsv::Row row{number, split(line)};
        if (row.fields.size() != tsv.header.size()) {
            tsv.problems.push_back(where + "has " + std::to_string(row.fields.size()) + " fields, header has " +
                                   std::to_string(tsv.header.size()));
            continue;
        }
        for (std::string& f : row.fields) {
            std::string error;
            f = unescape(f, error);
            if (!error.empty())
                tsv.problems.push_back(where + error);
            const versilla::text::Cp1252Result conv = versilla::text::utf8ToCp1252(f);
            if (!conv.ok)
                tsv.problems.push_back(where + "not Windows-1252 (code point " + std::to_string(conv.offending) +
                                       ") in: " + f);
        }
        tsv.rows.push_back(std::move(row));
    }
    return tsv;
}

bool isNumber(const std::string& s) {
    return !s.empty() && s.size() <= 3 && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += "\n  " + s;
    return out;
}

using MessageKey = std::pair<int, int>; // group, number

/// Message texts by language: language -> (group, number) -> (caption, text).
struct Messages {
    std::map<int, std::map<MessageKey, std::pair<std::string, std::string>>> byLanguage;
    std::vector<std::string> problems;
};

Messages loadMessages() {
    Messages m;
    const Tsv tsv = readTsv(kData / "messages.tsv");
    m.problems = tsv.problems;
    const std::vector<std::string> header{"SPRACHE", "GRUPPE", "NUMMER", "HINWEIS", "NACHRICHT"};
    if (tsv.header != header)
        m.problems.push_back("messages.tsv: header must be SPRACHE GRUPPE NUMMER HINWEIS NACHRICHT");
    for (const Tsv::Row& r : tsv.rows) {
        const std::string where = "messages.tsv:" + std::to_string(r.line) + ": ";
        if (!isNumber(r.fields[0]) || !isNumber(r.fields[1]) || !isNumber(r.fields[2])) {
            m.problems.push_back(where + "language, group and number must be numbers");
            continue;
        }
        const int lang = std::stoi(r.fields[0]);
        const MessageKey key{std::stoi(r.fields[1]), std::stoi(r.fields[2])};
        if (lang > 99 || key.first > 99 || key.second > 999) {
            m.problems.push_back(where + "language, group or number too large for the key");
            continue;
        }
        if (!m.byLanguage[lang].emplace(key, std::make_pair(r.fields[3], r.fields[4])).second)
            m.problems.push_back(where + "duplicate message");
    }
    return m;
}

/// Every message reference written as MessageId{g, n} in a piece of code.
std::vector<MessageKey> messageRefs(const std::string& code) {
    static const std::regex ref(R"(MessageId\s*\{\s*(\d+)\s*,\s*(\d+)\s*\})");
    std::vector<MessageKey> found;
    for (auto it = std::sregex_iterator(code.begin(), code.end(), ref); it != std::sregex_iterator(); ++it)
        found.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2]));
    return found;
}

std::string messageName(int lang, MessageKey k) {
    return "language " + std::to_string(lang) + " message " + std::to_string(k.first) + "/" +
           std::to_string(k.second);
}

TEST(ShippedMessages, WellFormedAndCompleteInBothLanguages) {
    const Messages m = loadMessages();
    std::vector<std::string> problems = m.problems;
    ASSERT_TRUE(m.byLanguage.count(0) && m.byLanguage.count(1)) << "German and English texts are required";
    for (const auto& [lang, texts] : m.byLanguage) {
        for (const auto& [key, texts2] : texts) {
            if (texts2.first.empty() || texts2.second.empty())
                problems.push_back(messageName(lang, key) + " has an empty caption or text");
            for (const auto& [other, otherTexts] : m.byLanguage)
                if (!otherTexts.count(key))
                    problems.push_back(messageName(lang, key) + " is missing in language " + std::to_string(other));
        }
    }
    EXPECT_TRUE(problems.empty()) << join(problems);
}

TEST(ShippedMessages, EveryMessageTheCodeUsesHasTexts) {
    // Messages are referred to in code only as MessageId{g, n}, so the sources
    // name every message that can ever be shown.
    std::map<MessageKey, std::string> used; // first place it is used
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        for (const MessageKey& key : messageRefs(readFile(entry.path())))
            used.emplace(key, fs::relative(entry.path(), kSource).string());
    }
    const Messages m = loadMessages();
    std::vector<std::string> problems;
    for (const auto& [key, file] : used)
        for (int lang : {0, 1})
            if (!m.byLanguage.count(lang) || !m.byLanguage.at(lang).count(key))
                problems.push_back(messageName(lang, key) + " used in " + file + " has no text");
    EXPECT_TRUE(problems.empty()) << join(problems);
}

TEST(ShippedMessages, ReferencePatternFindsTheWaysCodeWritesIt) {
    // The scan above is only as good as its pattern: it must see the spellings
    // that formatting produces, and must not read the group as the number.
    const std::string code = "show(MessageId{1, 44}); ask(MessageId{ 16 ,8 });\nMessageId {23,\n 2}";
    EXPECT_EQ(messageRefs(code), (std::vector<MessageKey>{{1, 44}, {16, 8}, {23, 2}}));
}

TEST(ShippedCaptions, WellFormedUniqueAndInBothLanguages) {
    const Tsv tsv = readTsv(kData / "captions.tsv");
    std::vector<std::string> problems = tsv.problems;
    const std::vector<std::string> header{"SPRACHE", "FORM", "OBJEKT", "CAPTION", "HINT"};
    if (tsv.header != header)
        problems.push_back("captions.tsv: header must be SPRACHE FORM OBJEKT CAPTION HINT");

    // language -> (form, object in lower case, as lookups compare)
    std::map<int, std::set<std::pair<int, std::string>>> keys;
    for (const Tsv::Row& r : tsv.rows) {
        const std::string where = "captions.tsv:" + std::to_string(r.line) + ": ";
        const std::string& object = r.fields[2];
        if (!isNumber(r.fields[0]) || !isNumber(r.fields[1]) || std::stoi(r.fields[0]) > 99 ||
            std::stoi(r.fields[1]) > 99) {
            problems.push_back(where + "language and form must be numbers below 100");
            continue;
        }
        if (object.empty() || object.size() > 30 || object.find(' ') != std::string::npos)
            problems.push_back(where + "object name must be 1 to 30 characters without blanks");
        const int lang = std::stoi(r.fields[0]);
        const int form = std::stoi(r.fields[1]);
        if (!keys[lang].emplace(form, lower(object)).second)
            problems.push_back(where + "duplicate key (object names compare without case)");
        // The first character of a menu row's HINT becomes its Ctrl shortcut,
        // so anything but a single key there would bind a wrong shortcut.
        if (form == 1 && object.rfind("Item", 0) == 0) {
            const std::string& hint = r.fields[4];
            const bool key = hint.empty() || (hint.size() == 1 && (std::isupper(static_cast<unsigned char>(hint[0])) ||
                                                                   std::isdigit(static_cast<unsigned char>(hint[0]))));
            if (!key)
                problems.push_back(where + "menu HINT must be empty or one upper-case letter or digit");
            if (object.size() < 5 || !std::all_of(object.begin() + 4, object.end(),
                                                  [](unsigned char c) { return std::isdigit(c); }))
                problems.push_back(where + "menu row must be Item followed by digits");
        }
    }
    for (int lang : {0, 1})
        for (int form = 1; form <= 23; ++form)
            if (!keys[lang].count({form, "caption"}))
                problems.push_back("form " + std::to_string(form) + " has no Caption row in language " +
                                   std::to_string(lang));
    for (const auto& [lang, set] : keys)
        for (const auto& [other, otherSet] : keys)
            for (const auto& k : set)
                if (!otherSet.count(k))
                    problems.push_back("form " + std::to_string(k.first) + " object " + k.second + " of language " +
                                       std::to_string(lang) + " is missing in language " + std::to_string(other));
    EXPECT_TRUE(problems.empty()) << join(problems);
}

TEST(ShippedCaptions, MenuShortcutsAreTheDesignedOnes) {
    // Open and Save carry Ctrl+O and Ctrl+S in every language.
    const Tsv tsv = readTsv(kData / "captions.tsv");
    std::map<std::pair<int, std::string>, std::string> hints;
    for (const Tsv::Row& r : tsv.rows)
        if (r.fields[1] == "1" && r.fields[2].rfind("Item", 0) == 0)
            hints[{std::stoi(r.fields[0]), r.fields[2]}] = r.fields[4];
    for (int lang : {0, 1}) {
        EXPECT_EQ((hints[{lang, "Item00"}]), "O") << "language " << lang;
        EXPECT_EQ((hints[{lang, "Item02"}]), "S") << "language " << lang;
    }
}

TEST(ShippedLanguages, TableNamesExistingFlagPictures) {
    const Tsv tsv = readTsv(kData / "languages.tsv");
    std::vector<std::string> problems = tsv.problems;
    EXPECT_EQ(tsv.header, (std::vector<std::string>{"NR", "SPRACHE", "FLAGGE"}));
    std::set<int> numbers;
    for (const Tsv::Row& r : tsv.rows) {
        if (!isNumber(r.fields[0]) || !numbers.insert(std::stoi(r.fields[0])).second)
            problems.push_back("languages.tsv:" + std::to_string(r.line) + ": NR missing or repeated");
        const fs::path flag = kData / "flags" / r.fields[2];
        const std::string xpm = readFile(flag);
        if (xpm.rfind("/* XPM */", 0) != 0)
            problems.push_back(flag.string() + " is missing or not an XPM picture");
    }
    EXPECT_EQ(numbers, (std::set<int>{0, 1}));
    EXPECT_TRUE(problems.empty()) << join(problems);
}

TEST(ShippedHelp, StartPagesExistAndEveryLinkLeadsToAPage) {
    const std::regex link(R"(href\s*=\s*"([^"#]*)(#[^"]*)?")", std::regex::icase);
    std::vector<std::string> problems;
    for (const char* lang : {"0", "1"}) {
        const fs::path dir = kData / "help" / lang;
        if (!fs::exists(dir / "1001.html"))
            problems.push_back(dir.string() + "/1001.html is missing");
        if (!fs::exists(dir))
            continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() != ".html")
                continue;
            const std::string page = readFile(entry.path());
            for (auto it = std::sregex_iterator(page.begin(), page.end(), link); it != std::sregex_iterator(); ++it) {
                const std::string target = (*it)[1];
                if (target.empty() || target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0)
                    continue;
                if (!fs::exists(dir / target))
                    problems.push_back(entry.path().string() + " links to missing " + target);
            }
        }
    }
    EXPECT_TRUE(problems.empty()) << join(problems);
}

TEST(ShippedTables, ReaderRejectsWhatTheGeneratorWouldMisread) {
    // Guard for the checks above: a row with an unknown escape, a missing field
    // and a character outside the code page must each be reported.
    const fs::path tmp = fs::temp_directory_path() / "versilla_data_test.tsv";
    {
        std::ofstream out(tmp, std::ios::binary);
        out << "A\tB\n# comment\n\n1\tbad \\q escape\n2\n3\tarrow \xE2\x86\x92\n4\tfine\\n\\\\\n";
    }
    const Tsv tsv = readTsv(tmp);
    fs::remove(tmp);
    ASSERT_EQ(tsv.problems.size(), 3u) << join(tsv.problems);
    EXPECT_NE(tsv.problems[0].find(":4: unknown escape"), std::string::npos);
    EXPECT_NE(tsv.problems[1].find(":5: has 1 fields"), std::string::npos);
    EXPECT_NE(tsv.problems[2].find(":6: not Windows-1252"), std::string::npos);
    ASSERT_EQ(tsv.rows.size(), 3u);
    EXPECT_EQ(tsv.rows[2].fields[1], "fine\n\\");
}

} // namespace
