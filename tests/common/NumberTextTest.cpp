#include "NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

struct FloatCase {
    double value;
    const char* text;
};

class FloatText : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatText, GeneralFormWithFifteenDigits)
{
    SetDecimalSeparator('.');
    EXPECT_EQ(FormatFloat(GetParam().value), GetParam().text);
    // Every written text reads back to a value that writes the same text.
    EXPECT_EQ(FormatFloat(ParseFloat(GetParam().text).value()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatText,
    testing::Values(FloatCase{0, "0"}, FloatCase{2.5, "2.5"}, FloatCase{-2.5, "-2.5"}, FloatCase{100, "100"},
                    FloatCase{0.1, "0.1"}, FloatCase{0.0001, "0.0001"}, FloatCase{0.00015, "0.00015"},
                    FloatCase{0.00005, "5E-5"}, FloatCase{0.00001, "1E-5"}, FloatCase{-0.000012345, "-1.2345E-5"},
                    FloatCase{1e-300, "1E-300"}, FloatCase{0.30000001192092896, "0.300000011920929"},
                    FloatCase{123456789012345.0, "123456789012345"}, FloatCase{1234567890123456.0, "1.23456789012346E15"},
                    FloatCase{1e20, "1E20"}, FloatCase{1.0 / 3.0, "0.333333333333333"},
                    FloatCase{2.0 / 3.0, "0.666666666666667"}, FloatCase{0.9999999999999999, "1"},
                    FloatCase{static_cast<double>(0.7f), "0.699999988079071"}));

TEST(FloatText, UsesTheProcessSeparator)
{
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatFloat(2.5), "2,5");
    EXPECT_EQ(FormatFloat(1.5e-7), "1,5E-7");
    EXPECT_DOUBLE_EQ(ParseFloat("2,5").value(), 2.5);
    EXPECT_FALSE(ParseFloat("2.5"));
    SetDecimalSeparator('.');
}

TEST(FloatText, RefusesWhatIsNotADecimalNumber)
{
    SetDecimalSeparator('.');
    for (const char* text : {"", "-", ".", "e5", "1e", "1e+", "abc", "1.5x", " 1", "inf", "nan", "0x10", "$10", "1e400", "--1"})
        EXPECT_FALSE(ParseFloat(text)) << text;
    EXPECT_DOUBLE_EQ(ParseFloat("+1.5E+2").value(), 150);
    EXPECT_DOUBLE_EQ(ParseFloat("7.").value(), 7);
}

TEST(IntegerText, DecimalAndDollarHex)
{
    EXPECT_EQ(ParseInteger("-0").value(), 0);
    EXPECT_EQ(ParseInteger("-$10").value(), -16);
    EXPECT_EQ(ParseInteger("-$80000000").value(), -2147483647 - 1);
    EXPECT_EQ(ParseInteger("$000000001").value(), 1); // leading zeros, as in decimal
    // Outside the 32-bit signed range, as in decimal: no bit pattern read as negative.
    EXPECT_FALSE(ParseInteger("$FFFFFFFF"));
    EXPECT_FALSE(ParseInteger("$80000000"));
    EXPECT_FALSE(ParseInteger("$"));
    EXPECT_FALSE(ParseInteger("+"));
    EXPECT_FALSE(ParseInteger("$123456789"));
    EXPECT_EQ(ParseHexInteger("7fffffff").value(), 2147483647);
    EXPECT_EQ(ParseHexInteger("0000000007fffffff").value(), 2147483647);
}

TEST(NumberInTheMaking, OnlyTextsThatMoreKeysCanTurnIntoANumber)
{
    SetDecimalSeparator('.');
    for (const char* text : {"", "-", "+", ".", "-.", "0.", "12.", "1e", "1E", "1e-", "-2.5e+", ".5e"})
        EXPECT_TRUE(FloatInTheMaking(text)) << text;
    for (const char* text : {"e", "-e", ".e", "1e5", "1e50", "0,", "1x", "1e-x", "--", "1.5.", " 1", "$"})
        EXPECT_FALSE(FloatInTheMaking(text)) << text;
    SetDecimalSeparator(',');
    EXPECT_TRUE(FloatInTheMaking("0,"));
    EXPECT_FALSE(FloatInTheMaking("0."));
    SetDecimalSeparator('.');

    for (const char* text : {"", "-", "+", "$", "-$"})
        EXPECT_TRUE(IntegerInTheMaking(text)) << text;
    for (const char* text : {"1", "a", "--", "$$", "1-", "$1"})
        EXPECT_FALSE(IntegerInTheMaking(text)) << text;
}
