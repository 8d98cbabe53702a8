// Cases the fuzz targets found: each input once broke the program, and each
// test keeps the mend in place.
#include "LearnerInput.h"
#include "TestForm.h"

namespace {

// A drawing set whose last question is "y=2x", answered right on the plane:
// the set is used up and its run recorded.
Form1 &finishDrawingSet(TestForm &t)
{
    Form1 &f = t.start();
    f.menuClick(u"grawrite1"_qs);
    const int last = f.bank.mondaiCount;
    f.bank.shuffledMondai[last] = u"y=2xのグラフを書いてください。"_qs;
    f.bank.shuffledKotae[last] = u"y=2x"_qs;
    f.bank.mondaiNo = int16_t(last - 1);
    f.nextQuestion();
    tap(f, 0, 0);
    tap(f, 1, 2);
    f.buttonClick(u"Command5"_qs);
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_EQ(f.bank.mondaiNo, last + 1);
    return f;
}

} // namespace

TEST(FinishedSet, TheCheckButtonCountsNothingPastTheLastQuestion)
{
    TestForm t;
    Form1 &f = finishDrawingSet(t);
    const QStringList recorded = linesOf(t.cwdFile(u"1年関数読み書き.txt"_qs));
    ASSERT_EQ(recorded.size(), 2);
    const int16_t correct = f.scoreState.correctCount;
    const qsizetype sounds = t.sounds.size();

    // The check button is still shown; pressing it again and again once
    // counted a right answer each time and walked past the end of the set.
    ASSERT_TRUE(f.Command5.Visible);
    for (int i = 0; i < 3; ++i)
        f.buttonClick(u"Command5"_qs);
    EXPECT_EQ(f.scoreState.correctCount, correct);
    EXPECT_EQ(t.sounds.size(), sounds);
    EXPECT_EQ(f.bank.mondaiNo, f.bank.mondaiCount + 1);
    EXPECT_EQ(linesOf(t.cwdFile(u"1年関数読み書き.txt"_qs)), recorded);
}

TEST(FinishedSet, EnterJudgesNothingPastTheLastQuestion)
{
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"nagasa"_qs);
    const int last = f.bank.mondaiCount;
    f.bank.shuffledMondai[last] = u"1+1は？"_qs;
    f.bank.shuffledKotae[last] = u"2"_qs;
    f.bank.mondaiNo = int16_t(last - 1);
    f.nextQuestion();
    t.type(u"2\r"_qs);
    ASSERT_EQ(f.bank.mondaiNo, last + 1);
    ASSERT_EQ(f.run.categoryActive, 0);

    // The box is still shown. A typed answer there once counted as a miss
    // and the acknowledge button led on to questions beyond the set.
    ASSERT_TRUE(f.Text2.Visible);
    t.type(u"5\r"_qs);
    EXPECT_EQ(f.scoreState.answerLocked, 0);
    EXPECT_FALSE(f.Command3.Visible);
    EXPECT_EQ(f.scoreState.missCount, 0);
    EXPECT_EQ(f.bank.mondaiNo, last + 1);
    // Another set can still be chosen and starts at its first question.
    f.menuClick(u"thahyo1"_qs);
    EXPECT_EQ(f.run.categoryActive, 1);
    EXPECT_EQ(f.bank.mondaiNo, 1);
}

TEST(MixedSet, ADrawingQuestionAfterATypedAnswerTakesTheMouse)
{
    // In the read-and-write set a graph read off the plane (typed) may come
    // just before a graph to draw. The typed question left the plane
    // ignoring the mouse, so the drawing question could not be answered at
    // all: no box to type in, no press taken, until the clock ran out.
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"grerewri"_qs);
    int reading = 0, drawing = 0;
    for (int i = 1; i <= f.bank.mondaiCount; ++i) {
        if (!reading && f.bank.mondai[i].contains(u"グラフの式を求め"_qs))
            reading = i;
        if (!drawing && f.bank.mondai[i].contains(u"グラフを書いて"_qs) && f.bank.kotae[i] == u"y=2x")
            drawing = i;
    }
    ASSERT_TRUE(reading && drawing);
    f.bank.shuffledMondai[1] = f.bank.mondai[reading];
    f.bank.shuffledKotae[1] = f.bank.kotae[reading];
    f.bank.shuffledMondai[2] = f.bank.mondai[drawing];
    f.bank.shuffledKotae[2] = f.bank.kotae[drawing];
    f.bank.mondaiNo = 0;
    f.nextQuestion();
    ASSERT_TRUE(f.Text2.Visible);
    t.type(f.currentAnswer() + u'\r');
    ASSERT_EQ(f.scoreState.correctCount, 1);

    ASSERT_EQ(f.bank.mondaiNo, 2);
    EXPECT_FALSE(f.Text2.Visible);
    EXPECT_TRUE(f.Command5.Visible);
    tap(f, 1, 2); // through the origin the first press counts as the origin
    tap(f, 2, 4);
    EXPECT_EQ(f.graph.clickAnswer, u"y=2x"_qs);
    f.buttonClick(u"Command5"_qs);
    EXPECT_EQ(f.scoreState.correctCount, 2);
    EXPECT_EQ(f.bank.mondaiNo, 3);
}

TEST(NextRun, AnApplicationSetAfterADrawingRunShowsTheAnswerBox)
{
    // A run of points to draw hides the answer box. The application sets
    // chosen after it (a square under a line, segments between lines) never
    // showed it again: neither box nor check button, so no answer at all.
    TestForm t;
    Form1 &f = t.start();
    for (const char16_t *application : {u"ouyou1", u"ouyou3"}) {
        f.menuClick(u"thahyo1"_qs);
        ASSERT_FALSE(f.Text2.Visible);
        t.runOutClock();
        ASSERT_EQ(f.run.categoryActive, 0);

        const int16_t right = f.scoreState.correctCount;
        f.menuClick(QString::fromUtf16(application));
        EXPECT_TRUE(f.Text2.Visible);
        EXPECT_TRUE(f.Picture3.Visible);
        EXPECT_FALSE(f.Command5.Visible);
        t.type(learner::asTyped(f.currentAnswer()) + u'\r');
        EXPECT_EQ(f.scoreState.correctCount, right + 1) << f.currentQuestion().toStdString();
        t.runOutClock();
    }
}

TEST(ResultsChart, AHugeSetNameInTheFileCostsNoMoreThanTheChartShows)
{
    // Each character of a set name is drawn under its bar, one under the
    // other. Forty records with names of 100,000 characters once made the
    // end of a run draw four million labels, nearly all below the chart:
    // a minute of work and gigabytes of memory.
    TestForm t;
    const QString name(100000, u'座');
    QByteArray file = "2026/12/07\r\n";
    for (int i = 1; i <= 40; ++i)
        file += QByteArray::number(i) + ",261207#" + name.toUtf8() + "\r\n";
    TestForm::write(t.cwdFile(u"座標問題.txt"_qs), file);
    Form1 &f = t.start();
    f.menuClick(u"thahyo1"_qs);
    t.runOutClock();

    EXPECT_LT(f.Picture1.ops().size(), 2000u);
    // The characters the chart can show are still there: no more of a name
    // than fits the chart's column of twenty.
    QString column;
    for (const CanvasOp &op : f.Picture1.ops())
        if (op.kind == CanvasOp::Print && op.x1 == 18 && op.y1 <= 30)
            column += op.text;
    EXPECT_EQ(column, QString(20, u'座'));
    // Nothing of the file is lost: the long names are written back whole.
    int whole = 0;
    for (const QString &line : linesOf(t.cwdFile(u"座標問題.txt"_qs)))
        whole += line.endsWith(u'#' + name);
    EXPECT_EQ(whole, 40);
}
