#include "text/TQuillonHyphenator.h"

#include "EnglishWordSample.h"
#include "LinearHyphenator.h"

#include <gtest/gtest.h>

#include <cstdint>

using versilla::text::TQuillonHyphenator;

namespace {

const TQuillonHyphenator& hyphenator() {
    static const TQuillonHyphenator h;
    return h;
}

} // namespace

TEST(TQuillonHyphenator, PatternSetAndFirstLetterIndex) {
    const TQuillonHyphenator& h = hyphenator();
    ASSERT_EQ(h.patternCount(), 4447u);
    EXPECT_EQ(h.pattern(1), ".ach4");
    EXPECT_EQ(h.pattern(4447), "z4zy");
    EXPECT_EQ(h.pattern(0), "");
    EXPECT_EQ(h.pattern(4448), "");

    const struct {
        char first;
        std::size_t number;
    } starts[] = {{'.', 1},    {'a', 199},  {'b', 512},  {'c', 630},  {'d', 819},  {'e', 987},  {'f', 1417},
                  {'g', 1520}, {'h', 1650}, {'i', 1779}, {'j', 2099}, {'k', 2109}, {'l', 2156}, {'m', 2372},
                  {'n', 2534}, {'o', 2762}, {'p', 3033}, {'q', 3226}, {'r', 3231}, {'s', 3538}, {'t', 3781},
                  {'u', 4014}, {'v', 4198}, {'w', 4283}, {'x', 4331}, {'y', 4364}, {'z', 4427}};
    for (const auto& s : starts)
        EXPECT_EQ(h.firstLetterIndex(s.first), s.number) << s.first;
    EXPECT_EQ(h.groupEnd('z'), 4448u); // one past the last pattern
    EXPECT_EQ(h.firstLetterIndex('A'), 0u);
    EXPECT_EQ(h.firstLetterIndex('1'), 0u);

    // Every pattern sits in the group of its letter form's first letter.
    for (std::size_t i = 1; i <= h.patternCount(); ++i) {
        const char first = h.letterForm(i)[0];
        EXPECT_GE(i, h.firstLetterIndex(first)) << h.pattern(i);
        EXPECT_LT(i, h.groupEnd(first)) << h.pattern(i);
    }
}

TEST(TQuillonHyphenator, LetterFormsAndValues) {
    const TQuillonHyphenator& h = hyphenator();
    EXPECT_EQ(h.letterForm(1), ".ach");
    EXPECT_EQ(h.patternValue(1, 4), 4);
    EXPECT_EQ(h.patternValue(1, 0), 0);
    EXPECT_EQ(h.letterForm(4447), "zzy");
    EXPECT_EQ(h.patternValue(4447, 1), 4);
}

TEST(TQuillonHyphenator, LookupFindsEveryShortPatternAndNoLongOne) {
    const TQuillonHyphenator& h = hyphenator();
    std::size_t longForms = 0;
    for (std::size_t i = 1; i <= h.patternCount(); ++i) {
        const std::string_view form = h.letterForm(i);
        if (form.size() > TQuillonHyphenator::MaxPieceLength) {
            ++longForms;
            EXPECT_EQ(h.findPattern(form), 0u) << form;
        } else {
            EXPECT_EQ(h.findPattern(form), i) << form;
        }
    }
    EXPECT_EQ(longForms, 40u);
    EXPECT_EQ(h.findPattern("qqq"), 0u);
    EXPECT_EQ(h.findPattern(""), 0u);
}

TEST(TQuillonHyphenator, EnglishWords) {
    const struct {
        const char* word;
        const char* expected;
    } cases[] = {
        {"hyphenation", "hy-phen-ation"},
        {"Hyphenation", "Hy-phen-ation"},
        {"HYPHENATION", "HY-PHEN-ATION"},
        {"concatenation", "con-cate-na-tion"},
        {"algorithm", "al-go-rithm"},
        {"beautiful", "beau-ti-ful"},
        {"everything", "ev-ery-thing"},
        {"computer", "com-puter"},
        // Their decisive patterns are longer than six letters and never looked up.
        {"corner", "corner"},
        {"former", "former"},
        {"chilling", "chilling"},
        {"dictionary", "dic-tionary"},
        {"table", "table"},
        {"love", "love"},
        {"singing", "singing"},
        {"karaoke", "karaoke"},
        // An existing hyphen leaves the word alone.
        {"well-known", "well-known"},
        {"hy-phenation", "hy-phenation"},
        {"", ""},
        {"a", "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hyphenator().hyphenateWord(c.word, '-'), c.expected) << c.word;
}

TEST(TQuillonHyphenator, DefaultMarkAndRun) {
    TQuillonHyphenator h;
    EXPECT_EQ(h.Mark(), '_');
    EXPECT_TRUE(h.ExceptionList().empty());
    EXPECT_EQ(h.hyphenateWord("hyphenation"), "hy_phen_ation");
    // A hyphen in the word blocks splitting whatever the mark is.
    EXPECT_EQ(h.hyphenateWord("hyphen-ation"), "hyphen-ation");

    h.SetInput("  hyphenation   algorithm beautiful  ");
    h.Run();
    EXPECT_EQ(h.OutPut(), "  hy_phen_ation   al_go_rithm beau_ti_ful  ");

    h.SetMark('-');
    h.SetInput("concatenation");
    h.Run();
    EXPECT_EQ(h.OutPut(), "con-cate-na-tion");
    h.SetInput("");
    h.Run();
    EXPECT_EQ(h.OutPut(), "");
}

TEST(TQuillonHyphenator, LongWordsComeBackUnchanged) {
    std::string word48;
    while (word48.size() < 48)
        word48 += "hyphenation";
    word48.resize(48);
    const std::string split = hyphenator().hyphenateWord(word48, '-');
    EXPECT_NE(split, word48); // still handled at the limit
    EXPECT_EQ(split.size() - std::count(split.begin(), split.end(), '-'), 48u);

    const std::string word49 = word48 + "x";
    EXPECT_EQ(hyphenator().hyphenateWord(word49, '-'), word49);
}

TEST(TQuillonHyphenator, ExceptionList) {
    TQuillonHyphenator h;
    h.SetMark('-');
    std::vector<std::string> list = {"tab-le", "ta-ble", "Kar-a-oke", "ka-r-a-oke"};
    h.SetExceptionList(list);
    list.clear(); // the hyphenator keeps its own copy
    ASSERT_EQ(h.ExceptionList().size(), 4u);

    EXPECT_EQ(h.hyphenateWord("table"), "tab-le");  // the first matching entry wins
    EXPECT_EQ(h.hyphenateWord("TaBle"), "TaB-le");  // the word's letters keep their case
    EXPECT_EQ(h.hyphenateWord("Karaoke"), "Ka-r-a-oke"); // entries compare in lower case only
    EXPECT_EQ(h.hyphenateWord("tables"), "ta-bles"); // no entry: the patterns decide
    EXPECT_EQ(h.hyphenateWord("hyphenation"), "hy-phen-ation");

    // Only the current mark is stripped from entries before comparing.
    h.SetMark('_');
    EXPECT_EQ(h.hyphenateWord("table"), "table");
    h.SetExceptionList({"ta_ble"});
    EXPECT_EQ(h.hyphenateWord("Table"), "Ta_ble");
    // An explicit mark overrides Mark for the exceptions as well.
    h.SetExceptionList({"hy-phen-a-tion"});
    EXPECT_EQ(h.hyphenateWord("Hyphenation", '-'), "Hy-phen-a-tion");
}

TEST(TQuillonHyphenator, IndexedLookupAgreesWithLinearSearch) {
    const TQuillonHyphenator& h = hyphenator();
    const versilla::text::testing::LinearHyphenator linear(h);

    std::vector<std::string> words = versilla::text::testing::englishWordSample(3000);
    // Random letter strings reach patterns the real words miss, including edge
    // dots, capitals, digits and bytes outside a to z.
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzaeiouaeiourstnlABCXYZ.'9\xE4\xFC\xB7\xAC";
    std::uint32_t state = 12345;
    for (int i = 0; i < 6000; ++i) {
        state = state * 1103515245u + 12345u;
        const std::size_t len = 1 + (state >> 16) % 20;
        std::string w;
        for (std::size_t k = 0; k < len; ++k) {
            state = state * 1103515245u + 12345u;
            w += alphabet[(state >> 16) % (sizeof alphabet - 1)];
        }
        words.push_back(w);
    }
    std::size_t split = 0;
    for (const std::string& w : words) {
        const std::string fast = h.hyphenateWord(w, '-');
        ASSERT_EQ(fast, linear.hyphenateWord(w, '-')) << w;
        split += fast != w;
    }
    EXPECT_GT(split, words.size() / 3); // the comparison covers real splits, not just unchanged words
}
