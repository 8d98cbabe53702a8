// Numbers as text and text as numbers: what the learner sees on labels and
// figures, and what is read back from files.
#include "controls/Convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace conv;

TEST(Convert, RoundsHalvesToEvenIntoSixteenBits)
{
    for (auto [in, out] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2},
                           {-7.6, -8}})
        EXPECT_EQ(toInt16(in), out) << in;
}

TEST(Convert, ClampsOutOfRangeInsteadOfOverflowing)
{
    for (auto [in, out] : {std::pair{32767.4, 32767}, {32767.6, 32767}, {1e9, 32767}, {-32768.4, -32768},
                           {-1e300, -32768}, {std::nan(""), 0}})
        EXPECT_EQ(toInt16(in), out) << in;
    EXPECT_EQ(add16(32760, 100), 32767);
    EXPECT_EQ(add16(-32760, -100), -32768);
}

TEST(Convert, ReadsTheLongestNumericPrefix)
{
    for (auto [in, out] : {std::pair{u"20π", 20.0}, {u"-", 0.0}, {u"", 0.0}, {u"+1/", 1.0}, {u"-2", -2.0},
                           {u"  -2.5abc", -2.5}, {u".5", 0.5}, {u"1e3x", 1000.0}, {u"2e", 2.0}, {u"2e+", 2.0},
                           {u"abc", 0.0}, {u"3/4", 3.0}, {u"12,261207#x", 12.0}})
        EXPECT_DOUBLE_EQ(numericPrefix(QString::fromUtf16(in)), out) << QString::fromUtf16(in).toStdString();
    // A huge exponent saturates instead of becoming infinite.
    EXPECT_TRUE(std::isfinite(numericPrefix(u"1e999999"_qs)));
    for (auto [in, out] : {std::pair{u"1e999999", 32767}, {u"99999", 32767}, {u"-5", -5}, {u"7.5", 8}})
        EXPECT_EQ(textToInt16(QString::fromUtf16(in)), out) << QString::fromUtf16(in).toStdString();
}

TEST(Convert, WritesSingleAndDoublePrecisionText)
{
    EXPECT_EQ(singleText(2.0f / 3.0f), u"0.6666667"_qs);
    EXPECT_EQ(singleText(4.0f / 3.0f), u"1.333333"_qs);
    for (auto [in, out] : {std::pair{2.0 / 3.0, u"0.666666666666667"}, {-0.5, u"-0.5"}, {3.0, u"3"}, {-12.0, u"-12"},
                           {0.0, u"0"}, {1e16, u"1E+16"}, {100000.0, u"100000"}})
        EXPECT_EQ(doubleText(in), QString::fromUtf16(out));
}

TEST(Convert, PrintsNumbersAsItemsWithTheirBlanks)
{
    for (auto [in, out] : {std::pair{5.0, u" 5 "}, {-5.0, u"-5 "}, {0.0, u" 0 "}, {-0.0, u" 0 "}, {2.5, u" 2.5 "}})
        EXPECT_EQ(printItem(in), QString::fromUtf16(out)) << in;
}

TEST(Convert, PaletteHasRedInTheLowestByte)
{
    for (auto [index, colour] : {std::pair{0, 0}, {3, rgb(0, 128, 128)}, {12, 255}, {9, 0xFF0000}, {15, 0xFFFFFF}})
        EXPECT_EQ(paletteColor(index), colour) << index;
    EXPECT_EQ(rgb(224, 255, 255), 16777184);
}
