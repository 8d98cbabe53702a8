// How long a typed answer may grow: what the longest stored answer needs and
// room to spare, whatever the keys, the typing state or a paste.
#include "TestForm.h"

#include "answer/AnswerLength.h"
#include "banks/Catalogue.h"

TEST(AnswerLength, TheLimitLeavesRoomForEveryStoredAnswerAndAWrongOne)
{
    const int longest = answerlength::longestAnswer(banks::Catalogue::builtIn());
    EXPECT_GE(longest, 10); // "y=-3/2x+10"
    EXPECT_EQ(answerlength::cap(), answerlength::capFor(longest));
    for (int n : {0, 1, 10, 40})
        EXPECT_GE(answerlength::capFor(n), 2 * n + 20) << n;
}

TEST(AnswerLength, OnlyKeysThatCouldLengthenTheAnswerAreStopped)
{
    const struct {
        int key;
        qsizetype box, answer;
        bool full;
    } rows[] = {
        {'1', 39, 39, false}, {'1', 40, 40, true},   {'1', 40, 0, true}, {'1', 0, 40, true},
        {8, 40, 40, false},   {13, 40, 40, false},   {'/', 40, 40, true}, {'x', 41, 41, true},
        {0x3C0, 40, 39, true}, {27, 40, 40, true},
    };
    for (const auto &r : rows)
        EXPECT_EQ(answerlength::boxIsFull(r.key, r.box, r.answer, 40), r.full) << r.key << " " << r.box << " " << r.answer;
}

TEST(AnswerLength, APasteIsCutToWhatStillFits)
{
    const struct {
        const char16_t *pasted;
        qsizetype box;
        const char16_t *taken;
    } rows[] = {
        {u"12345", 0, u"12345"},
        {u"12345", 8, u"12"},
        {u"12345", 10, u""},
        {u"12345", 12, u""},
        {u"1\r\n2\n3\r4", 0, u"1234"},
        {u"\U0001F600x", 0, u"x"}, // half characters are no keys
    };
    for (const auto &r : rows)
        EXPECT_EQ(answerlength::pasteThatFits(QString::fromUtf16(r.pasted), r.box, 10), QString::fromUtf16(r.taken))
            << QString::fromUtf16(r.pasted).toStdString() << " into " << r.box;
}

TEST_F(ReadyForm, NoTypingStateLetsTheAnswerGrowPastTheLimit)
{
    const int cap = answerlength::cap();
    // Plain digits, powers, a fraction with its x term, and keys outside the
    // set, typed far past the limit; then a miss locks the box and every
    // key reaches it as it is.
    for (const QString &keys : {u"7"_qs.repeated(500), u"x2"_qs.repeated(300), u"4/3x+"_qs + u"1"_qs.repeated(500),
                                u"yz="_qs.repeated(300)}) {
        t.type(keys);
        EXPECT_LE(f.Text2.Text.size(), cap + 1) << keys.left(8).toStdString();
        EXPECT_LE(f.typing.typedExpr.size(), cap + 1) << keys.left(8).toStdString();
        for (int i = 0; i < 3 * cap; ++i)
            t.type(u"\b"_qs);
        EXPECT_TRUE(f.Text2.Text.isEmpty()) << keys.left(8).toStdString();
    }
    t.type(u"5"_qs.repeated(100) + u"\r"_qs);
    ASSERT_EQ(f.scoreState.answerLocked, 1);
    t.type(u"9"_qs.repeated(500));
    EXPECT_LE(f.Text2.Text.size(), cap);
}
