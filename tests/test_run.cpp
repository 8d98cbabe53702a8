// A run from the menu click to the closing message: activation, the question
// text on its panel, the clock of both modes, the chart, the sounds, and one
// whole run through the driver.
#include "DriveRunner.h"
#include "Learner.h"
#include "TestForm.h"

#include "controls/Convert.h"

#include <QJsonArray>

namespace {

constexpr double kStart = 9 * 3600; // the clock when a set is chosen

// n distinct characters with no "。" and no "の時" among them.
QString filler(int n, int from = 0)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(0x4E00 + from + i);
    return s;
}

// Characters first..last of a text, 1-based and inclusive.
QString chars(const QString &s, int first, int last) { return s.mid(first - 1, last - first + 1); }

QStringList wrapped(const QString &question)
{
    TestForm t;
    Form1 &f = t.make();
    f.bank.shuffledMondai[3] = question;
    f.bank.mondaiNo = 3;
    f.printQuestionText();
    // One item per line, each line under the one before.
    double y = 0;
    for (const CanvasOp &op : f.Picture2.ops()) {
        EXPECT_DOUBLE_EQ(op.x1, 0);
        EXPECT_GE(op.y1, y);
        y = op.y1 + 1;
    }
    return TestForm::printed(f.Picture2);
}

void tickAt(TestForm &t, double secondsAfterStart)
{
    t.clock.seconds = kStart + secondsAfterStart;
    t.form->Timer1_Timer();
}

// Chooses a set from the menu, the clock standing so long after kStart.
bool clickAt(TestForm &t, const QString &item, double secondsAfterStart = 0)
{
    t.clock.seconds = kStart + secondsAfterStart;
    return t.form->menuClick(item);
}

} // namespace

using Activation = StartedForm;
using Sounds = StartedForm;

// ---- the question text on Picture2 ----

TEST(QuestionText, FifteenCharactersALine)
{
    const QString s18 = filler(18);
    EXPECT_EQ(wrapped(s18), (QStringList{chars(s18, 1, 15), chars(s18, 16, 18)}));
    EXPECT_EQ(wrapped(filler(15)), QStringList{filler(15)});
    EXPECT_EQ(wrapped(filler(16)), (QStringList{filler(15), filler(1, 15)}));
    // A first "。" within the first fifteen does not change the break.
    const QString early = filler(9) + u"。"_qs + filler(20, 9);
    EXPECT_EQ(wrapped(early), (QStringList{chars(early, 1, 15), chars(early, 16, 30)}));
    // The figure data after "#" is never shown.
    EXPECT_EQ(wrapped(filler(15) + u"#3,4,3,1"_qs), QStringList{filler(15)});
    EXPECT_EQ(wrapped(QString()), QStringList{});
}

TEST(QuestionText, LongQuestionsBreakAtTheirSentencesAndBeforeNoToki)
{
    // 51 characters: "。" at 23 and at 51, "の時" at 38.
    const QString oad = filler(22) + u"。"_qs + filler(14, 30) + u"の時"_qs + filler(11, 50) + u"。"_qs;
    ASSERT_EQ(oad.size(), 51);
    const QStringList fourLines{chars(oad, 1, 15), chars(oad, 16, 23), chars(oad, 24, 39), chars(oad, 40, 50)};
    EXPECT_EQ(wrapped(oad), fourLines);
    EXPECT_EQ(wrapped(oad + u"#y=1/3x,6,8"_qs), fourLines);

    // Two sentences, no "の時": the second sentence on its own line.
    const QString two = filler(17) + u"。"_qs + filler(5, 20) + u"。"_qs + filler(3, 40);
    EXPECT_EQ(wrapped(two),
              (QStringList{chars(two, 1, 15), chars(two, 16, 18), chars(two, 19, 24), chars(two, 25, 27)}));
    // One long sentence and a tail.
    const QString one = filler(20) + u"。"_qs + filler(5, 30);
    EXPECT_EQ(wrapped(one), (QStringList{chars(one, 1, 15), chars(one, 16, 21), chars(one, 22, 26)}));
    // A second "。" before "の時" moves the first break to it.
    const QString moved = filler(17) + u"。"_qs + filler(3, 20) + u"。"_qs + filler(4, 30) + u"の時"_qs
                          + filler(3, 40) + u"。"_qs;
    EXPECT_EQ(wrapped(moved), (QStringList{chars(moved, 1, 15), chars(moved, 16, 22), chars(moved, 23, 28),
                                           chars(moved, 29, 31)}));
    // "の時" before the sentence's end lies outside the rule; nothing fails.
    wrapped(filler(3) + u"の時"_qs + filler(15, 10) + u"。"_qs + filler(3, 40));
}

// ---- the clock ----

TEST(Clock, CountsDownFiveMinutesAndEndsTheRun)
{
    TestForm t;
    Form1 &f = t.start();
    clickAt(t, u"nagasa"_qs);
    EXPECT_EQ(f.Timer1.Interval, 300);
    EXPECT_TRUE(f.Timer1.Enabled);
    EXPECT_EQ(f.run.timeLimit, 300);

    const struct {
        double left;
        const char16_t *shown;
    } steps[] = {{299.7, u"4:59"}, {247.2, u"4:7"}, {60.0, u"1:0"}, {59.6, u"0:59"}, {1.0, u"0:1"}};
    for (const auto &s : steps) {
        f.Text2.Focused = false;
        tickAt(t, 300 - s.left);
        EXPECT_EQ(f.Label2.Caption, QString::fromUtf16(s.shown)) << s.left;
        EXPECT_EQ(f.Label5.Caption, u"0"_qs);
        EXPECT_TRUE(f.Text2.Focused);
        EXPECT_EQ(f.run.categoryActive, 1);
        EXPECT_TRUE(t.dialogs.shown.empty());
    }

    tickAt(t, 300 - 0.4);
    EXPECT_EQ(f.Label2.Caption, u"0:0"_qs);
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_EQ(f.Text2.Text, u"終り"_qs);
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_TRUE(f.Picture1.Visible);
    for (bool shown : {f.Picture6.Visible, f.Picture3.Visible, f.Picture4.Visible, f.Picture5.Visible})
        EXPECT_FALSE(shown);
    EXPECT_TRUE(f.Command2.Visible);
    ASSERT_EQ(t.dialogs.shown.size(), 1u);
    EXPECT_EQ(t.dialogs.shown[0].title, u"終わる？"_qs);
    EXPECT_EQ(t.dialogs.shown[0].text,
              u"おつかれさまでした。伸びていこう、少しでいいから。消すをおして終わろう"_qs);
    EXPECT_TRUE(TestForm::read(t.cwdFile(u"長さ面積.txt"_qs)).endsWith("0,261208#長さ面積1.txt\r\n"));

    // Closing is the learner's choice.
    EXPECT_FALSE(f.closed);
    f.buttonClick(u"Command2"_qs);
    EXPECT_TRUE(f.closed);
}

TEST(Clock, AClockThatJumpedPastTheEndEndsTheRun)
{
    for (double late : {0.0, 30.0, 70.0, 3600.0}) {
        TestForm t;
        Form1 &f = t.start();
        clickAt(t, u"thahyo1"_qs);
        tickAt(t, 300 + late);
        EXPECT_EQ(f.run.categoryActive, 0) << late;
        EXPECT_FALSE(f.Timer1.Enabled);
        EXPECT_EQ(t.dialogs.shown.size(), 1u);
    }
}

// A run lasts its five (ten) minutes whatever the wall clock does meanwhile:
// it passes midnight into a new date, or a time server steps it back or on.
// The record carries the date the run ended.
TEST(Clock, RunsLastTheirTimeAcrossMidnightAndClockSteps)
{
    const struct {
        double start, step; // the wall clock's step a minute into the run
        bool tenMinutes;
        const char *endDate;
    } cases[] = {
        {86100, 0, false, "261208"},    // 23:55, ends 0:00 the next day
        {86390, 0, false, "261209"},    // 23:59:50
        {86390, 0, true, "261209"},     // a ten-minute run across midnight
        {36000, -600, false, "261208"}, // stepped back ten minutes
        {36000, 900, false, "261208"},  // stepped on a quarter of an hour
        {86000, 600, false, "261209"},  // stepped past midnight
        {300, -3600, false, "261207"},  // stepped back before midnight, into the day before
    };
    for (const auto &c : cases) {
        TestForm t;
        t.clock.seconds = c.start;
        Form1 &f = t.start();
        if (c.tenMinutes)
            f.run.longTimeMode = 1;
        ASSERT_TRUE(f.menuClick(u"nagasa"_qs));
        const double limit = c.tenMinutes ? 600 : 300;
        double elapsed = 0;
        int lastShown = int(limit);
        while (f.run.categoryActive == 1 && elapsed < 2 * limit) {
            t.clock.advance(0.3);
            elapsed += 0.3;
            if (c.step != 0 && std::abs(elapsed - 60) < 0.15)
                t.clock.stepWall(t.clock.seconds + c.step);
            f.Timer1_Timer();
            // Minutes and seconds of what is left, counting down, never below 0:0.
            const QStringList parts = f.Label2.Caption.split(u':');
            ASSERT_EQ(parts.size(), 2) << f.Label2.Caption.toStdString();
            const int shown = parts[0].toInt() * 60 + parts[1].toInt();
            EXPECT_GE(parts[1].toInt(), 0);
            EXPECT_LE(shown, lastShown) << c.start << " at " << elapsed;
            EXPECT_EQ(shown, std::max(0, int(std::floor(limit - elapsed + 1e-9)))) << c.start << " at " << elapsed;
            lastShown = shown;
        }
        EXPECT_EQ(f.run.categoryActive, 0) << c.start;
        EXPECT_NEAR(elapsed, limit, 1.0) << c.start;
        const QStringList lines = linesOf(t.cwdFile(u"長さ面積.txt"_qs));
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.last(), u"0,"_qs + QString::fromLatin1(c.endDate) + u"#長さ面積1.txt"_qs) << c.start;
    }
}

// Counting up in the ten-in-a-row mode: past midnight the time goes on.
TEST(Clock, TenInARowCountsOnPastMidnight)
{
    TestForm t;
    t.clock.seconds = 86340;
    Form1 &f = t.start();
    f.buttonClick(u"Command4"_qs);
    f.menuClick(u"thahyo1"_qs);
    for (const auto &[by, shown] : {std::pair{30.0, u"0:30"}, {45.0, u"1:15"}, {600.0, u"11:15"}}) {
        t.clock.advance(by);
        f.Timer1_Timer();
        EXPECT_EQ(f.Label2.Caption, QString::fromUtf16(shown));
    }
    t.clock.stepWall(10);
    t.clock.advance(5);
    f.Timer1_Timer();
    EXPECT_EQ(f.Label2.Caption, u"11:20"_qs);
    EXPECT_EQ(f.run.categoryActive, 1);
}

TEST(Clock, TenInARowCountsUpAndNeverEndsTheRun)
{
    TestForm t;
    Form1 &f = t.start();
    f.buttonClick(u"Command4"_qs);
    EXPECT_EQ(f.scoreState.tenInARowMode, -1);
    EXPECT_FALSE(f.Command1.Visible);
    EXPECT_FALSE(f.Command4.Visible);
    clickAt(t, u"thahyo1"_qs);
    const struct {
        double elapsed;
        const char16_t *shown;
    } steps[] = {{0.2, u"0:0"}, {1.1, u"0:1"}, {59.9, u"0:59"}, {61, u"1:1"}, {300, u"5:0"}, {400, u"6:40"},
                 {3600, u"60:0"}};
    for (const auto &s : steps) {
        tickAt(t, s.elapsed);
        EXPECT_EQ(f.Label2.Caption, QString::fromUtf16(s.shown)) << s.elapsed;
        EXPECT_TRUE(f.Timer1.Enabled);
        EXPECT_EQ(f.run.categoryActive, 1);
    }
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_FALSE(f.Picture1.Visible);

    // The mode outlives the run: the next run counts up as well.
    f.finishSet();
    clickAt(t, u"nagasa"_qs, 5000);
    tickAt(t, 5002.5);
    EXPECT_EQ(f.Label2.Caption, u"0:2"_qs);
}

// ---- activation ----

TEST_F(Activation, ASecondClickDuringARunChangesNothing)
{
    t.queueDraws(0, 40);
    ASSERT_TRUE(clickAt(t, u"thahyo1"_qs));
    const QuestionBank before = f.bank;
    const float startTime = f.run.startTime;
    const QStringList panel = TestForm::printed(f.Picture2);
    const std::size_t drawn = f.Picture6.ops().size();

    for (const char16_t *item : {u"nagasa", u"thahyo1", u"senza1", u"grawrite2"})
        EXPECT_TRUE(clickAt(t, QString::fromUtf16(item), 10));
    EXPECT_EQ(f.bank.mondai, before.mondai);
    EXPECT_EQ(f.bank.shuffledMondai, before.shuffledMondai);
    EXPECT_EQ(f.bank.mondaiCount, 40);
    EXPECT_EQ(f.bank.mondaiNo, before.mondaiNo);
    EXPECT_EQ(f.run.startTime, startTime);
    EXPECT_EQ(f.run.resultsFileName, u"座標問題1.txt"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture2), panel);
    EXPECT_EQ(f.Picture6.ops().size(), drawn);
    EXPECT_TRUE(f.menuItem(u"thahyo1"_qs)->Checked);
    for (const char16_t *item : {u"nagasa", u"senza1", u"grawrite2"})
        EXPECT_FALSE(f.menuItem(QString::fromUtf16(item))->Checked);
    // Items without a set are not handled at all.
    EXPECT_FALSE(f.menuClick(u"thahyo"_qs));
    EXPECT_FALSE(f.menuClick(u"jikouten"_qs));
}

// Each run stands alone: a second run in one program starts its counters,
// score and streak at zero, and saves its own score, not the sum.
TEST(Runs, EachRunCountsAndSavesItsOwnScore)
{
    TestForm t;
    TestForm::write(t.cwdFile(u"とくめいrenzoku.txt"_qs), "6\r\n");
    Form1 &f = t.start();
    const auto answerRight = [&f](int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(learner::answerRightUntil(f, f.bank.mondaiNo + 1));
    };
    f.menuClick(u"thahyo1"_qs);
    EXPECT_EQ(f.scoreState.streak, 6); // the streak kept from before goes on in the first run
    answerRight(3);
    EXPECT_EQ(f.scoreState.streak, 9);
    t.runOutClock();
    EXPECT_EQ(linesOf(t.cwdFile(u"座標問題.txt"_qs)).last(), u"3,261208#座標問題1.txt"_qs);

    f.menuClick(u"nagasa"_qs);
    for (const Label *l : {&f.Label3, &f.Label4, &f.Label5})
        EXPECT_EQ(l->Caption, u"0"_qs) << l->Name.toStdString();
    EXPECT_EQ(f.scoreState.correctCount, 0);
    EXPECT_EQ(f.scoreState.score, 0);
    EXPECT_EQ(f.scoreState.streak, 0);
    EXPECT_TRUE(f.Picture8.ops().empty());
    answerRight(5);
    EXPECT_EQ(f.Label3.Caption, u"5"_qs);
    t.runOutClock();
    EXPECT_EQ(linesOf(t.cwdFile(u"長さ面積.txt"_qs)).last(), u"5,261208#長さ面積1.txt"_qs);

    // A run without an answer after one with answers scores 0.
    f.menuClick(u"menseki1"_qs);
    t.runOutClock();
    EXPECT_EQ(linesOf(t.cwdFile(u"長さ面積.txt"_qs)).last(), u"0,261208#長さ面積2.txt"_qs);
    EXPECT_EQ(f.run.runCount, 3);
}

TEST_F(Activation, CheckMarkFlipsOnEveryActivatingClick)
{
    MenuItem &item = *f.menuItem(u"thahyo1"_qs);
    for (bool expected : {true, false, true}) {
        clickAt(t, u"thahyo1"_qs);
        EXPECT_EQ(item.Checked, expected);
        EXPECT_EQ(f.run.categoryActive, 1);
        EXPECT_EQ(f.bank.mondaiNo, 1);
        t.runOutClock();
        EXPECT_EQ(f.run.categoryActive, 0);
    }
    // Every finished run left its record.
    QStringList lines;
    for (const QByteArray &l : TestForm::read(t.cwdFile(u"座標問題.txt"_qs)).split('\n'))
        if (!l.trimmed().isEmpty())
            lines << QString::fromUtf8(l.trimmed());
    EXPECT_EQ(lines.size(), 4);
}

TEST_F(Activation, AnApplicationClickDuringARunLengthensOnlyTheNextRun)
{
    clickAt(t, u"thahyo1"_qs);
    f.menuClick(u"ouyou2"_qs);
    EXPECT_EQ(f.run.longTimeMode, 1);
    EXPECT_EQ(f.run.applicationSetFlag, 1);
    EXPECT_EQ(f.run.timeLimit, 300);
    EXPECT_EQ(f.run.endTime, float(kStart + 300));
    EXPECT_EQ(f.run.resultsFileName, u"座標問題1.txt"_qs);
    EXPECT_FALSE(f.menuItem(u"ouyou2"_qs)->Checked);
    tickAt(t, 0.3);
    EXPECT_EQ(f.Label2.Caption, u"4:59"_qs);

    t.runOutClock();
    clickAt(t, u"nagasa"_qs, 1000);
    EXPECT_EQ(f.run.timeLimit, 600);
    EXPECT_EQ(f.run.endTime, f.run.startTime + 600);
    tickAt(t, 1000 + 0.3);
    EXPECT_EQ(f.Label2.Caption, u"9:59"_qs);
    tickAt(t, 1000 + 300.5);
    EXPECT_EQ(f.run.categoryActive, 1);
    EXPECT_EQ(f.Label2.Caption, u"4:59"_qs);
}

TEST_F(Activation, ApplicationOneIsAskedInBankOrderWithTenMinutes)
{
    t.queueDraws(0, 30); // a shuffle that moves every question
    f.menuClick(u"ouyou1"_qs);
    EXPECT_EQ(f.bank.mondaiCount, 30);
    EXPECT_TRUE(TestForm::inBankOrder(f));
    EXPECT_EQ(f.run.timeLimit, 600);
    EXPECT_EQ(f.run.applicationSetFlag, 1);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(f.bank.mondaiNo, n);
        EXPECT_EQ(f.Text1.Text, QString::number(n));
        EXPECT_EQ(f.Text3.Text, f.bank.mondai[n]);
        EXPECT_EQ(f.currentAnswer(), f.bank.kotae[n]);
        f.nextQuestion();
    }
}

TEST_F(Activation, AFirstQuestionWithASlashIsKeptForTheParser)
{
    t.queueDraws(0.99, 40); // the draw order keeps the bank's order
    f.menuClick(u"grawrite2"_qs);
    const QString first = f.bank.mondai[1];
    ASSERT_TRUE(first.contains(u'/'));
    EXPECT_EQ(f.bank.shuffledMondai[1], first);
    EXPECT_EQ(f.run.equationText, first);
    // What the panel holds is the presenter's two lines, not the whole text
    // on one line.
    EXPECT_FALSE(TestForm::printed(f.Picture2).contains(first));

    // A first question without "/" is printed as every later one is: its
    // figure data left off, wrapped at fifteen characters or just before,
    // where the blank "{   }" and its unit stay whole. It leaves the
    // parser's text alone.
    TestForm u;
    Form1 &g = u.start();
    u.queueDraws(0.99, 30);
    g.menuClick(u"nagasa"_qs);
    EXPECT_TRUE(g.run.equationText.isEmpty());
    const QString text = g.bank.mondai[1].section(u'#', 0, 0);
    EXPECT_EQ(TestForm::printed(g.Picture2), (QStringList{text.left(12), text.mid(12)}));
    EXPECT_TRUE(text.mid(12).startsWith(u"{   }cm"_qs));
}

TEST_F(Activation, PointOnLineAnswersByKeyboardAndClearsTheGraphFlags)
{
    f.menuClick(u"senza1"_qs);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    EXPECT_EQ(f.run.resultsFileName, u"1年関応用1.txt"_qs);
    EXPECT_EQ(f.bank.mondaiCount, 41);

    // Even an ignored click clears the two graph-input flags.
    f.graph.firstPointSet = 1;
    f.graph.pointsApart = 1;
    f.menuClick(u"senza1"_qs);
    EXPECT_EQ(f.graph.firstPointSet, 0);
    EXPECT_EQ(f.graph.pointsApart, 0);
    EXPECT_EQ(f.run.categoryActive, 1);
    EXPECT_TRUE(f.menuItem(u"senza1"_qs)->Checked);
}

TEST_F(Activation, VolumeEndsTheProgramAtOnce)
{
    EXPECT_THROW(f.menuClick(u"taiseki"_qs), ProgramEnd);
    EXPECT_TRUE(f.closed);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_TRUE(QDir(t.paths.currentFolder).entryList(QDir::Files).isEmpty());
}

TEST_F(Activation, UsedUpSetEndsTheRun)
{
    f.menuClick(u"zahyou3"_qs); // 20 questions
    for (int i = 1; i < 20; ++i)
        f.nextQuestion();
    EXPECT_EQ(f.bank.mondaiNo, 20);
    EXPECT_EQ(f.run.categoryActive, 1);
    f.nextQuestion();
    EXPECT_EQ(TestForm::printed(f.Picture2), (QStringList{u"問題はもうありません。"_qs, u"あんたの勝ち!!"_qs}));
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_TRUE(f.Picture1.Visible);
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
}

// ---- the chart at the end of a run ----

TEST(ResultsChart, AZeroIsABarOfNoHeightAndTheRunComesLast)
{
    TestForm t;
    TestForm::write(t.cwdFile(u"座標問題.txt"_qs),
                    "2026/12/05\r\n12,261201#座標問題1.txt\r\n0,261202#座標問題1.txt\r\n"
                    "7,261203#座標問題1.txt\r\n");
    Form1 &f = t.start();
    f.menuClick(u"thahyo1"_qs);
    f.scoreState.score = 5;
    t.runOutClock();

    const Canvas &c = f.Picture1;
    EXPECT_EQ(c.scale(), (CanvasScale{0, 200, 100, -200}));
    const auto boxes = opsOf(c, CanvasOp::Box);
    EXPECT_EQ(opsOf(c, CanvasOp::Line).size(), 20u + 1 + 13 + 1); // grid, vertical axis, ticks, horizontal axis
    // 12, then 0 as a bar of no height (the history goes on past it), 7,
    // and this run's 5 last.
    ASSERT_EQ(boxes.size(), 4u);
    const auto corners = [](const CanvasOp *b) { return std::vector<double>{b->x1, b->y1, b->x2, b->y2}; };
    EXPECT_FALSE(boxes[0]->filled);
    EXPECT_EQ(boxes[0]->color, 0);
    EXPECT_EQ(corners(boxes[0]), (std::vector<double>{18, 52, 22, 40}));
    EXPECT_EQ(corners(boxes[1]), (std::vector<double>{23, 40, 27, 40}));
    EXPECT_EQ(corners(boxes[2]), (std::vector<double>{28, 47, 32, 40}));
    EXPECT_TRUE(boxes[3]->filled);
    EXPECT_EQ(boxes[3]->color, conv::paletteColor(3));
    EXPECT_EQ(corners(boxes[3]), (std::vector<double>{33, 45, 37, 40}));

    // Labels under and above each bar, by position.
    auto at = [&c](double x, double y) {
        QString s;
        for (const CanvasOp &op : c.ops())
            if (op.kind == CanvasOp::Print && op.x1 == x && op.y1 == y)
                s += op.text;
        return s;
    };
    // The date and the set's name run down under each bar, one character every 3.
    auto column = [&at](double x, double top, int n) {
        QString s;
        for (int k = 0; k < n; ++k)
            s += at(x, top - 3 * k);
        return s;
    };
    EXPECT_EQ(at(16, 57), u" 12 "_qs);
    EXPECT_EQ(column(18, 39, 3), u"261201"_qs);
    EXPECT_EQ(column(18, 30, 9), u"座標問題1.txt"_qs);
    EXPECT_EQ(at(21, 45), u" 0 "_qs);
    EXPECT_EQ(at(26, 52), u" 7 "_qs);
    EXPECT_EQ(at(31, 50), u" 5 "_qs);
    EXPECT_EQ(column(33, 39, 3), u"261208"_qs);
    EXPECT_EQ(column(33, 30, 6), u"座標問題1"_qs);
    EXPECT_EQ(at(5, 52), u" 10 "_qs);
    EXPECT_EQ(at(5, 172), u" 130 "_qs);
}

// The chart shows the newest runs it has room for, oldest on the left:
// of 60 old runs of 5 and 40 newer of 30, the 40 newer, then this run.
TEST(ResultsChart, TheNewestRunsAreDrawn)
{
    for (const int held : {100, 41, 40, 39, 1, 0}) {
        TestForm t;
        QByteArray history = "2026/01/05\r\n";
        for (int i = 1; i <= held; ++i)
            history += (i <= held - 40 ? "5" : QByteArray::number(30 + i % 3)) + ",26" + QByteArray::number(1000 + i)
                       + "#座標問題1.txt\r\n";
        TestForm::write(t.cwdFile(u"座標問題.txt"_qs), history);
        Form1 &f = t.start();
        f.menuClick(u"thahyo1"_qs);
        f.scoreState.score = 9;
        t.runOutClock();
        const auto boxes = opsOf(f.Picture1, CanvasOp::Box);
        const int shown = std::min(held, 40);
        ASSERT_EQ(int(boxes.size()), shown + 1) << held;
        for (int i = 0; i < shown; ++i) {
            const int record = held - shown + 1 + i;
            EXPECT_EQ(boxes[i]->x1, 5 * (i + 1) + 13);
            EXPECT_EQ(boxes[i]->y1, 40 + 30 + record % 3) << held << " records, bar " << i + 1;
        }
        EXPECT_TRUE(boxes.back()->filled);
        EXPECT_EQ(boxes.back()->x1, 5 * (shown + 1) + 13);
        EXPECT_EQ(boxes.back()->y1, 49);
    }
}

// ---- sounds ----

TEST_F(Sounds, EachAnswerRestartsItsOwnChannel)
{
    f.Text6.Text = u"x"_qs;
    f.playCorrectSound();
    EXPECT_TRUE(f.Text6.Text.isEmpty());
    f.playCorrectSound();
    const std::vector<QString> twice{u"close"_qs, u"open"_qs, u"prev"_qs, u"play"_qs,
                                     u"close"_qs, u"open"_qs, u"prev"_qs, u"play"_qs};
    EXPECT_EQ(t.sound1.commands, twice);
    EXPECT_EQ(t.sound1.fileName(), t.paths.programFolder + u"/Maru.wav"_qs);
    EXPECT_EQ(f.MMControl1.FileName, t.paths.programFolder + u"/Maru.wav"_qs);
    EXPECT_EQ(f.MMControl1.LastCommand, u"play"_qs);
    EXPECT_TRUE(t.sound2.commands.empty());

    f.Text6.Text = u"y"_qs;
    f.playWrongSound();
    EXPECT_EQ(f.Text6.Text, u"y"_qs);
    EXPECT_EQ(t.sound2.commands, (std::vector<QString>{u"close"_qs, u"open"_qs, u"prev"_qs, u"play"_qs}));
    EXPECT_EQ(t.sound2.fileName(), t.paths.programFolder + u"/SD05.wav"_qs);
    EXPECT_EQ(t.sounds, (QStringList{u"Maru.wav"_qs, u"Maru.wav"_qs, u"SD05.wav"_qs}));
}

TEST_F(Sounds, FromTheRootOfDriveA)
{
    TestForm u;
    u.paths.programFolder = u"A:\\"_qs;
    Form1 &g = u.start();
    g.playCorrectSound();
    g.playWrongSound();
    EXPECT_EQ(u.sound1.fileName(), u"A:/Maru.wav"_qs);
    EXPECT_EQ(u.sound2.fileName(), u"A:/SD05.wav"_qs);
}

// ---- a whole run through the driver ----

TEST(DriveRun, FiveMinutesOfLengthsFromClickToRecord)
{
    DriveRun d;
    const QString script = u"folder @/cwd\ndate 2026/12/08\nclock 32400\nrandom"_qs + u" 0.99"_qs.repeated(30)
                           + u"\nmenu nagasa\ndump @/1.json\n"
                             "advance 0.3\ndump @/2.json\n"
                             "advance 150\ndump @/3.json\n"
                             "advance 200\ndump @/4.json\n"
                             "advance 5\ndump @/5.json\n"_qs;
    ASSERT_EQ(d.run(script), 0) << d.stdErr.toStdString();
    const QString results = d.path(u"cwd/長さ面積.txt"_qs);

    const QJsonObject one = d.json(u"1.json"_qs);
    const QJsonObject c1 = one[u"controls"].toObject();
    EXPECT_EQ(c1[u"Label2"][u"caption"].toString(), u"Label2"_qs);
    EXPECT_EQ(c1[u"Timer1"][u"interval"].toInt(), 300);
    EXPECT_TRUE(c1[u"Timer1"][u"enabled"].toBool());
    EXPECT_TRUE(c1[u"nagasa"][u"checked"].toBool());
    EXPECT_FALSE(c1[u"Picture1"][u"visible"].toBool());
    EXPECT_TRUE(c1[u"Text2"][u"visible"].toBool());
    EXPECT_EQ(one[u"state"][u"categoryActive"].toInt(), 1);
    EXPECT_EQ(one[u"state"][u"resultsFile"].toString(), u"長さ面積.txt"_qs);
    EXPECT_EQ(one[u"state"][u"shuffledMondai"].toArray()[1].toString(),
              u"直線ABの長さを求めると{   }cmとなる。#3,4,3,1"_qs);
    EXPECT_TRUE(one[u"messages"].toArray().isEmpty());
    EXPECT_EQ(one[u"state"][u"historyCount"].toInt(), 0);
    EXPECT_EQ(one[u"state"][u"resultsPath"].toString(), results);

    const QJsonObject two = d.json(u"2.json"_qs);
    EXPECT_EQ(two[u"controls"][u"Label2"][u"caption"].toString(), u"4:59"_qs);
    EXPECT_TRUE(two[u"controls"][u"Text2"][u"focused"].toBool());
    EXPECT_EQ(d.json(u"3.json"_qs)[u"controls"][u"Label2"][u"caption"].toString(), u"2:29"_qs);

    // 350.3 s after the start: the run is over, the clock at 0:0, never
    // below.
    for (const char16_t *name : {u"4.json", u"5.json"}) {
        const QJsonObject end = d.json(QString::fromUtf16(name));
        const QJsonObject c = end[u"controls"].toObject();
        EXPECT_EQ(c[u"Label2"][u"caption"].toString(), u"0:0"_qs);
        EXPECT_FALSE(c[u"Timer1"][u"enabled"].toBool());
        EXPECT_TRUE(c[u"Picture1"][u"visible"].toBool());
        EXPECT_FALSE(c[u"Picture6"][u"visible"].toBool());
        EXPECT_TRUE(c[u"Command2"][u"visible"].toBool());
        EXPECT_EQ(c[u"Text2"][u"text"].toString(), u"終り"_qs);
        EXPECT_EQ(end[u"state"][u"categoryActive"].toInt(), 0);
        const QJsonArray messages = end[u"messages"].toArray();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0][u"title"].toString(), u"終わる？"_qs);
        EXPECT_FALSE(end[u"closed"].toBool());
    }
    EXPECT_EQ(TestForm::read(results), QString(u"2026/12/08\r\n0,261208#長さ面積1.txt\r\n"_qs).toUtf8());
}

TEST(Clock, ARunAfterALateEndStartsWithAFreshClock)
{
    // The first run ends on a clock that jumped well past its end.
    // The next set starts its question cycle at once; the old reading must
    // not stop the new run's clock.
    const struct {
        const char16_t *item, *shown;
    } cases[] = {{u"ouyou1", u"9:59"}, {u"ouyou2", u"9:59"}, {u"nagasa", u"4:59"}};
    for (const auto &c : cases) {
        const QString item = QString::fromUtf16(c.item);
        TestForm t;
        Form1 &f = t.start();
        clickAt(t, u"thahyo1"_qs);
        tickAt(t, 370);
        ASSERT_EQ(f.Label2.Caption, u"0:0"_qs);
        ASSERT_EQ(f.run.categoryActive, 0);
        f.scoreState.correctCount = 4;
        clickAt(t, item, 400);
        f.nextQuestion(); // a right answer before the first tick
        EXPECT_TRUE(f.Timer1.Enabled) << item.toStdString();
        EXPECT_EQ(f.scoreState.score, 0);
        tickAt(t, 400.3);
        EXPECT_EQ(f.Label2.Caption, QString::fromUtf16(c.shown));
        EXPECT_EQ(f.run.categoryActive, 1);
    }
}
