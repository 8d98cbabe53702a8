// The sentences of the explanations for points and lines, as a learner
// reads them on the explanation panel after a miss.
#include "Learner.h"
#include "TestForm.h"

#include "app/Results.h"

namespace {

// The panel's lines after a miss on question n of a set in bank order.
QStringList panelAfterMiss(const QString &set, int n)
{
    TestForm t;
    TestForm::write(t.cwdFile(results::familyFileName(u"1年関数応3.txt"_qs)), "2026/12/01\r\n5,261201#x1.txt\r\n");
    Form1 &f = t.start();
    f.menuClick(set);
    while (f.bank.mondaiNo < n && f.run.categoryActive == 1) {
        t.type(learner::keysFor(learner::typedAnswer(f.currentQuestion(), f.currentAnswer())) + u'\r');
    }
    EXPECT_EQ(f.bank.mondaiNo, n);
    t.type(u"99\r"_qs);
    EXPECT_TRUE(f.Picture7.Visible);
    return TestForm::printed(f.Picture7);
}

} // namespace

// The line m through A is worked out to the form the learner types.
TEST(LineExplanations, TheLineMEndsInTheAnswersOwnForm)
{
    const QStringList fourteen = panelAfterMiss(u"ouyou3"_qs, 14);
    ASSERT_FALSE(fourteen.isEmpty());
    EXPECT_EQ(fourteen.first(), u"△OAD=12 高さACはAのy座標"_qs);
    EXPECT_TRUE(fourteen.contains(u"mは右に6進むと上に6進む直線"_qs));
    EXPECT_EQ(fourteen.last(), u"y=x"_qs);
    EXPECT_EQ(panelAfterMiss(u"ouyou3"_qs, 15).last(), u"y=2x"_qs);
    EXPECT_EQ(panelAfterMiss(u"ouyou3"_qs, 17).last(), u"y=3/4x"_qs);
}

// An application question answered right leaves no explanation behind: a
// miss in the next set is explained as that set's own question.
TEST(LineExplanations, NoExplanationOutlivesItsQuestion)
{
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"ouyou2"_qs);
    t.type(learner::keysFor(f.currentAnswer()) + u'\r');
    ASSERT_EQ(f.scoreState.correctCount, 1);
    t.runOutClock();
    f.menuClick(u"nagasa"_qs);
    EXPECT_EQ(f.figure.appTwoLines, 0);
    t.type(u"99\r"_qs);
    ASSERT_EQ(f.scoreState.answerLocked, 1);
    EXPECT_FALSE(f.Picture7.Visible);
    EXPECT_TRUE(TestForm::printed(f.Picture7).isEmpty());
}
