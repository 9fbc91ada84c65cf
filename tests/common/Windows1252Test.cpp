#include "Windows1252.h"

#include "Errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

// Every byte against glibc's table of the code page (tests/data/text), both ways, one at a time
// and all together. The five bytes the code page leaves unassigned become the C1 control of the
// same number, so that they too come back unchanged.
TEST(Windows1252, EveryByteAgainstAnIndependentTable)
{
    std::ifstream table(std::string(ORMEL_TEST_DATA) + "/text/windows-1252.txt");
    std::string allBytes, allText, byteHex, utf8Hex;
    int unassigned = 0;
    for (int b = 0; table >> byteHex >> utf8Hex; ++b) {
        ASSERT_EQ(std::stoi(byteHex, nullptr, 16), b);
        std::string utf8;
        if (utf8Hex == "-") {
            ++unassigned;
            utf8 = {'\xC2', static_cast<char>(b)};
        }
        for (std::size_t i = 0; utf8Hex != "-" && i < utf8Hex.size(); i += 2)
            utf8 += static_cast<char>(std::stoi(utf8Hex.substr(i, 2), nullptr, 16));
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(DecodeFileText(byte), utf8) << "byte " << byteHex;
        EXPECT_EQ(EncodeFileText(utf8, "all.ini"), byte) << "byte " << byteHex;
        EXPECT_EQ(CharacterOutsideWindows1252(utf8), std::nullopt) << "byte " << byteHex;
        allBytes += byte;
        allText += utf8;
    }
    EXPECT_EQ(allBytes.size(), 256u);
    EXPECT_EQ(unassigned, 5);
    EXPECT_EQ(DecodeFileText(allBytes), allText);
    EXPECT_EQ(EncodeFileText(allText, "all.ini"), allBytes);
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
