#include "text/CodePage1252.h"

#include <gtest/gtest.h>

using namespace versilla::text;

TEST(CodePage1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(all);
    const Cp1252Result back = utf8ToCp1252(utf8);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bytes, all);
}

TEST(CodePage1252, KnownCharacters) {
    struct Case {
        unsigned char byte;
        char32_t cp;
    } cases[] = {{0x80, 0x20AC}, {0x81, 0x81},   {0x8D, 0x8D},   {0x8F, 0x8F}, {0x90, 0x90},
                 {0x9D, 0x9D},   {0x9F, 0x178},  {0xA4, 0xA4},   {0xB6, 0xB6}, {0xB7, 0xB7},
                 {0xAC, 0xAC},   {0xFC, 0xFC},   {0x82, 0x201A}, {0x41, 'A'}};
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252ToCodePoint(c.byte), c.cp) << int(c.byte);
        ASSERT_TRUE(codePointToCp1252(c.cp).has_value()) << int(c.byte);
        EXPECT_EQ(*codePointToCp1252(c.cp), c.byte);
    }
    EXPECT_EQ(cp1252ToUtf8("\xB6\xA4"), "\xC2\xB6\xC2\xA4");
}

TEST(CodePage1252, RefusesWhatItCannotHold) {
    // U+0100 (Ā) has no byte; the result names it and where it stands.
    Cp1252Result r = utf8ToCp1252("ab\xC4\x80");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.offending, U'\u0100');
    EXPECT_EQ(r.offendingAt, 2u);
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "a\x80"}) {
        Cp1252Result b = utf8ToCp1252(bad);
        EXPECT_FALSE(b.ok) << bad;
        EXPECT_EQ(b.offending, 0u);
    }
}
