#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include <gtest/gtest.h>

using namespace versilla::text;

namespace {

const TQuillonHyphenator& english() {
    static const TQuillonHyphenator h; // mark '_' on purpose: the text run must use "-"
    return h;
}

std::string de(std::string_view text, std::size_t preamble = 0) {
    return hyphenateText(text, preamble, HyphenLanguage::German, english());
}
std::string en(std::string_view text, std::size_t preamble = 0) {
    return hyphenateText(text, preamble, HyphenLanguage::English, english());
}

} // namespace

TEST(GermanHyphenation, Words) {
    const struct {
        const char* word;
        const char* expected;
    } cases[] = {
        {"Hallo", "Hal-lo"},
        {"Fenster", "Fen-ster"},
        {"waschen", "wa-schen"},
        {"Zucker", "Zu-cker"},
        {"Liebe", "Lie-be"},
        {"M\xE4" "dchen", "M\xE4" "d-chen"},
        {"Sonne", "Son-ne"},
        {"Tropfen", "Tro-pfen"},
        {"Disco", "Di-sco"},
        {"gehen", "ge-hen"},
        {"Kinder", "Kin-der"},
        {"M\xFC" "he", "M\xFC-he"},
        {"sch\xF6" "ne", "sch\xF6-ne"},
        // No break before the first lower-case vowel has been passed.
        {"Abend", "Abend"},
        {"Erde", "Erde"},
        {"Ufer", "Ufer"},
        {"Apfel", "Apfel"},
        {"Haus", "Haus"},
        {"ich", "ich"},
        {"ABEND", "ABEND"},
        {"du", "du"},
        {"", ""},
        // The protected space counts as a consonant.
        {"da\xB7ist", "da-\xB7ist"},
        // Separators inside a word block a break next to them.
        {"Sie/Er", "Sie/Er"},
        {"(Hallo)", "(Hal-lo)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hyphenateWordGerman(c.word), c.expected) << c.word;
        EXPECT_EQ(hyphenateWord(c.word, HyphenLanguage::German, english()), c.expected) << c.word;
    }
}

TEST(EnglishHyphenation, UsesThePatternsWithAHyphen) {
    EXPECT_EQ(hyphenateWord("hyphenation", HyphenLanguage::English, english()), "hy-phen-ation");
    EXPECT_EQ(en("Hyphenation is beautiful"), "Hy-phen-ation is beau-ti-ful");
}

TEST(HyphenateText, WordsPunctuationAndLineEnds) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Hallo, Welt!", "Hal-lo, Welt!"},
        {"Hallo Welt", "Hal-lo Welt"},
        {"Hallo  Welt ", "Hal-lo  Welt "},
        {"Hallo\r\nSonne\r\n", "Hal-lo\r\nSon-ne\r\n"},
        {"Hallo\rSonne", "Hal-lo\r\nSon-ne"},  // a lone CR still ends a line with CR LF
        {"Hallo\nSonne", "Hal-lo-Son-ne"},     // a lone LF is dropped: the lines become one word
        {"Ja:Sonne;Liebe?Nein.", "Ja:Son-ne;Lie-be?Nein."},
        {",,  ..", ",,  .."},                   // empty words append nothing
        {"", ""},
        // Old marks go, the protected hyphen stays and is part of the word.
        {"Hal-lo Fen-s-ter", "Hal-lo Fen-ster"},
        {"Son\xACne", "Son\xAC-ne"},
        {"\"Hallo\"", "\"Hal-lo\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(de(c.text), c.expected) << c.text;
}

TEST(HyphenateText, EnglishText) {
    EXPECT_EQ(en("hy-phen-a-tion, and algorithm.\r\ncomputer  karaoke"),
              "hy-phen-ation, and al-go-rithm.\r\ncom-puter  karaoke");
}

TEST(HyphenateText, RunningTwiceChangesNothing) {
    const std::string text = "Mein Lied\r\nHallo, Welt! Fenster waschen\r\nZucker\xB7Liebe Tropfen\r\n\r\nEnde";
    const std::string once = de(text, 9);
    EXPECT_EQ(de(once, 9), once);
    const std::string english = "hyphenation\r\nconcatenation, beautiful everything";
    const std::string enOnce = en(english);
    EXPECT_EQ(en(enOnce), enOnce);
    EXPECT_NE(enOnce, english);
}

TEST(HyphenateText, PreambleIsKeptExactly) {
    // Preamble without its line end: the CR LF after it joins it.
    EXPECT_EQ(de("Sonne-Mond\r\nSonne-Mond", 10), "Sonne-Mond\r\nSon-ne-Mond");
    // Preamble ending in the middle of a line.
    EXPECT_EQ(de("Titel: Son-ne, Sonne", 14), "Titel: Son-ne, Son-ne");
    // Preamble already holding its CR LF.
    EXPECT_EQ(de("Hal-lo\r\nSonne\r\n", 8), "Hal-lo\r\nSon-ne\r\n");
    // The whole text, or more than it.
    EXPECT_EQ(de("Son-ne Hallo", 12), "Son-ne Hallo");
    EXPECT_EQ(de("Son-ne Hallo", 400), "Son-ne Hallo");
    // No preamble: everything is hyphenated afresh.
    EXPECT_EQ(de("Son-ne\r\nHal-lo", 0), "Son-ne\r\nHal-lo");
    EXPECT_EQ(de("\r\nHallo", 0), "\r\nHal-lo");
}
