#include "Windows1252.h"

#include "Errors.h"

#include <gtest/gtest.h>

#include <string>

TEST(Windows1252, EveryByteDecodesAndEncodesBackUnchanged)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = DecodeFileText(all);
    EXPECT_EQ(EncodeFileText(text, "all.ini"), all);
}

TEST(Windows1252, HighLettersAndPunctuationBecomeTheirCharacters)
{
    // Espa\xF1ol, the right single quote, oe ligature and euro sign of the code page.
    EXPECT_EQ(DecodeFileText("Espa\xF1ol"), "Español");
    EXPECT_EQ(DecodeFileText("l\x92\xE9" "diteur \x9C\x80"), "l’éditeur œ€");
    EXPECT_EQ(EncodeFileText("Château’s caves", "game.ini"), "Ch\xE2teau\x92s caves");
}

TEST(Windows1252, ByteOrderMarkSaysTheRestIsUtf8)
{
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF[Game]\r\nGameTitle=Ch\xC3\xA2teau"), "[Game]\r\nGameTitle=Château");
    // A mark before text that is not UTF-8 after all: the rest is the code page's.
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF" "Espa\xF1ol"), "Espa\xC3\xB1ol");
    // Without the mark, UTF-8 bytes are code page characters like any others.
    EXPECT_EQ(DecodeFileText("\xC3\xA9"), "Ã©");
}

TEST(Windows1252, CharacterOutsideTheCodePageIsNamedAndRefused)
{
    EXPECT_EQ(CharacterOutsideWindows1252("Łódź"), "Ł");
    EXPECT_EQ(CharacterOutsideWindows1252("Ça coûte 5 €"), std::nullopt);
    try {
        EncodeFileText("Zoë 日本", "game.ini");
        FAIL() << "no error";
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("game.ini"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("日"), std::string::npos);
    }
}

TEST(Windows1252, MalformedUtf8InMemoryIsKeptAsBytes)
{
    // Overlong, surrogate, cut and stray continuation sequences are not characters: kept as is.
    for (const std::string bytes : {"\xC0\xAF", "\xED\xA0\x80", "ab\xE2\x82", "\x80x"})
        EXPECT_EQ(EncodeFileText(bytes, "x.ini"), bytes);
}
