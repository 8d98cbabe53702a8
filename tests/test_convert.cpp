// Numbers as text and text as numbers: what the learner sees on labels and
// figures, and what is read back from files.
#include "controls/Convert.h"

#include <gtest/gtest.h>

using namespace conv;

TEST(Convert, RoundsHalvesToEvenIntoSixteenBits)
{
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(-0.5), 0);
    EXPECT_EQ(toInt16(-1.5), -2);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt16(-7.6), -8);
}

TEST(Convert, ClampsOutOfRangeInsteadOfOverflowing)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32767.6), 32767);
    EXPECT_EQ(toInt16(1e9), 32767);
    EXPECT_EQ(toInt16(-32768.4), -32768);
    EXPECT_EQ(toInt16(-1e300), -32768);
    EXPECT_EQ(toInt16(std::nan("")), 0);
    EXPECT_EQ(add16(32760, 100), 32767);
    EXPECT_EQ(add16(-32760, -100), -32768);
}

TEST(Convert, ReadsTheLongestNumericPrefix)
{
    EXPECT_DOUBLE_EQ(numericPrefix(u"20π"_qs), 20);
    EXPECT_DOUBLE_EQ(numericPrefix(u"-"_qs), 0);
    EXPECT_DOUBLE_EQ(numericPrefix(u""_qs), 0);
    EXPECT_DOUBLE_EQ(numericPrefix(u"+1/"_qs), 1);
    EXPECT_DOUBLE_EQ(numericPrefix(u"-2"_qs), -2);
    EXPECT_DOUBLE_EQ(numericPrefix(u"  -2.5abc"_qs), -2.5);
    EXPECT_DOUBLE_EQ(numericPrefix(u".5"_qs), 0.5);
    EXPECT_DOUBLE_EQ(numericPrefix(u"1e3x"_qs), 1000);
    EXPECT_DOUBLE_EQ(numericPrefix(u"2e"_qs), 2);
    EXPECT_DOUBLE_EQ(numericPrefix(u"2e+"_qs), 2);
    EXPECT_DOUBLE_EQ(numericPrefix(u"abc"_qs), 0);
    EXPECT_DOUBLE_EQ(numericPrefix(u"3/4"_qs), 3);
    EXPECT_DOUBLE_EQ(numericPrefix(u"12,261207#x"_qs), 12);
    // A huge exponent saturates instead of becoming infinite.
    EXPECT_TRUE(std::isfinite(numericPrefix(u"1e999999"_qs)));
    EXPECT_EQ(textToInt16(u"1e999999"_qs), 32767);
    EXPECT_EQ(textToInt16(u"99999"_qs), 32767);
    EXPECT_EQ(textToInt16(u"-5"_qs), -5);
    EXPECT_EQ(textToInt16(u"7.5"_qs), 8);
}

TEST(Convert, WritesSingleAndDoublePrecisionText)
{
    EXPECT_EQ(singleText(2.0f / 3.0f), u"0.6666667"_qs);
    EXPECT_EQ(doubleText(2.0 / 3.0), u"0.666666666666667"_qs);
    EXPECT_EQ(doubleText(-0.5), u"-0.5"_qs);
    EXPECT_EQ(doubleText(3), u"3"_qs);
    EXPECT_EQ(doubleText(-12), u"-12"_qs);
    EXPECT_EQ(singleText(4.0f / 3.0f), u"1.333333"_qs);
    EXPECT_EQ(doubleText(0), u"0"_qs);
    EXPECT_EQ(doubleText(1e16), u"1E+16"_qs);
    EXPECT_EQ(doubleText(100000), u"100000"_qs);
}

TEST(Convert, PrintsNumbersAsItemsWithTheirBlanks)
{
    EXPECT_EQ(printItem(5), u" 5 "_qs);
    EXPECT_EQ(printItem(-5), u"-5 "_qs);
    EXPECT_EQ(printItem(0), u" 0 "_qs);
    EXPECT_EQ(printItem(-0.0), u" 0 "_qs);
    EXPECT_EQ(printItem(2.5), u" 2.5 "_qs);
}

TEST(Convert, PaletteHasRedInTheLowestByte)
{
    EXPECT_EQ(paletteColor(0), 0);
    EXPECT_EQ(paletteColor(3), rgb(0, 128, 128));
    EXPECT_EQ(paletteColor(12), 255);
    EXPECT_EQ(paletteColor(9), 0xFF0000);
    EXPECT_EQ(paletteColor(15), 0xFFFFFF);
    EXPECT_EQ(rgb(224, 255, 255), 16777184);
}
