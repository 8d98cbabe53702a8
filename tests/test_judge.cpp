// Enter in the answer box: which answer is expected, right and wrong answers
// with their counters, sounds and panels, and the ten-in-a-row end.
#include "TestForm.h"
#include "answer/AnswerForm.h"

namespace {

// Puts a question and its stored answer at the current place of the draw order.
void ask(Form1 &f, const QString &q, const QString &k)
{
    f.bank.shuffledMondai[f.bank.mondaiNo] = q;
    f.bank.shuffledKotae[f.bank.mondaiNo] = k;
}

const CanvasOp *firstLine(const Canvas &c)
{
    const auto lines = opsOf(c, CanvasOp::Line);
    return lines.empty() ? nullptr : lines[0];
}

// The panels with the right and the typed answer, and the button that moves on.
std::vector<bool> panelsShown(const Form1 &f)
{
    return {f.Picture4.Visible, f.Picture5.Visible, f.Label12.Visible, f.Label13.Visible, f.Command3.Visible};
}

} // namespace

using Judge = ReadyForm;

TEST_F(Judge, ExpectedAnswerOfEachQuestionKind)
{
    struct Case {
        const char16_t *q, *k, *expected;
        int x, y; // kept coordinates; 99 when none are kept
    };
    const Case cases[] = {
        {u"ここの点のy座標を求めて。", u"(3,-2)", u"-2", 3, -2},
        {u"ここの点のx座標を求めて。", u"(3,-2)", u"3", 3, -2},
        {u"点Aの座標を求めよ。", u"(3,-2)", u"(3,-2)", 3, -2},
        {u"中点の座標を求めて。", u"(-10,12)", u"(-10,12)", -10, 12},
        // A later phrase wins over an earlier one.
        {u"x座標を求め、y座標を求めよ。", u"(4,-7)", u"-7", 4, -7},
        {u"y座標を求め、点Pの座標を求めよ。", u"(4,-7)", u"(4,-7)", 4, -7},
        // Halves go to the even neighbour.
        {u"点の座標を求めよ。", u"(2.5,-3.5)", u"(2.5,-3.5)", 2, -4},
        // None of the three phrases: nothing is expected.
        {u"点A座標を求めよ。", u"(3,-2)", u"", 99, 99},
        // A blank to fill or the triangle OAD: the stored answer as it is.
        {u" y=2x の上の点(3,□)のy座標を求めて。", u"6", u"6", 99, 99},
        {u"三角形OADの頂点Dのx座標を求めよ。", u"(1,2)", u"(1,2)", 99, 99},
        {u"このグラフの式を求めてください。", u"y=-3/4x-2", u"y=-3/4x-2", 99, 99},
    };
    for (const Case &c : cases) {
        const QString q = QString::fromUtf16(c.q);
        ask(f, q, QString::fromUtf16(c.k));
        f.scoreState.answerX = f.scoreState.answerY = 99;
        EXPECT_EQ(f.expectedAnswer(), QString::fromUtf16(c.expected)) << q.toStdString();
        EXPECT_EQ(f.scoreState.answerX, c.x) << q.toStdString();
        EXPECT_EQ(f.scoreState.answerY, c.y) << q.toStdString();
    }
}

TEST_F(Judge, CoordinateQuestionsThroughTheBox)
{
    ask(f, u"ここの点のy座標を求めて。"_qs, u"(3,-2)"_qs);
    t.type(u"-2\r"_qs);
    EXPECT_EQ(t.sounds, QStringList{u"Maru.wav"_qs});

    // The whole point is not the answer to one coordinate ...
    ask(f, u"ここの点のx座標を求めて。"_qs, u"(3,-2)"_qs);
    t.type(u"(3,-2)\r"_qs);
    EXPECT_EQ(t.sounds.last(), u"SD05.wav"_qs);
    // The correct answer is the coordinate asked for, the point after it.
    EXPECT_EQ(TestForm::printed(f.Picture4), (QStringList{u"3"_qs, u"　点(3,-2)のx座標"_qs}));
    f.buttonClick(u"Command3"_qs);
    ask(f, u"ここの点のy座標を求めて。"_qs, u"(-1,4)"_qs);
    t.type(u"-1\r"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture4).value(0), u"4"_qs);
    EXPECT_LT(f.Picture4.ops().back().fontSize, f.Picture4.ops().front().fontSize);
    f.buttonClick(u"Command3"_qs);
    ask(f, u"ここの点の座標を求めて。"_qs, u"(-1,4)"_qs);
    t.type(u"-1\r"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture4), QStringList{u"(-1,4)"_qs});
    f.buttonClick(u"Command3"_qs);

    // ... and a question naming no coordinate takes nothing as right.
    ask(f, u"点A座標を求めよ。"_qs, u"(3,-2)"_qs);
    t.type(u"(3,-2)\r"_qs);
    EXPECT_EQ(t.sounds.last(), u"SD05.wav"_qs);
    EXPECT_EQ(f.scoreState.answerLocked, 1);
}

TEST_F(Judge, RightAnswersCountAndMoveOn)
{
    for (int i = 1; i <= 3; ++i) {
        t.type(f.expectedAnswer() + u'\r');
        EXPECT_EQ(f.bank.mondaiNo, i + 1);
    }
    EXPECT_EQ(t.sounds, (QStringList{u"Maru.wav"_qs, u"Maru.wav"_qs, u"Maru.wav"_qs}));
    EXPECT_EQ(f.scoreState.correctCount, 3);
    EXPECT_EQ(f.Label3.Caption, u"3"_qs);
    EXPECT_EQ(f.scoreState.score, 3);
    EXPECT_EQ(f.Label5.Caption, u"3"_qs);
    EXPECT_EQ(f.scoreState.streak, 3);
    EXPECT_EQ(TestForm::printed(f.Picture8), QStringList{u"3 問正解です。"_qs});
    EXPECT_TRUE(f.Text2.Text.isEmpty());
    EXPECT_TRUE(f.typing.typedExpr.isEmpty());
    EXPECT_TRUE(f.Picture3.ops().empty());
    for (bool shown : panelsShown(f))
        EXPECT_FALSE(shown);

    // Enter on an empty box does nothing at all.
    t.type(u"\r"_qs);
    EXPECT_EQ(t.sounds.size(), 3);
    EXPECT_EQ(f.bank.mondaiNo, 4);
}

TEST_F(Judge, WrongAnswerLocksTheBoxUntilCommand3)
{
    t.type(f.expectedAnswer() + u'\r');
    const QString q = f.currentQuestion(), k = f.currentAnswer();
    t.type(u"999\r"_qs);

    EXPECT_EQ(t.sounds.last(), u"SD05.wav"_qs);
    EXPECT_EQ(f.scoreState.streak, 0);
    EXPECT_EQ(TestForm::printed(f.Picture8), QStringList{u"0 問正解です。"_qs});
    EXPECT_EQ(f.scoreState.answerLocked, 1);
    for (bool shown : panelsShown(f))
        EXPECT_TRUE(shown);
    EXPECT_EQ(f.scoreState.missCount, 1);
    EXPECT_EQ(f.Label4.Caption, u"1"_qs);
    EXPECT_EQ(f.scoreState.missedMondai[1], q);
    EXPECT_EQ(f.scoreState.missedKotae[1], k);
    EXPECT_EQ(TestForm::printed(f.Picture4), QStringList{k});
    EXPECT_EQ(TestForm::printed(f.Picture5), QStringList{u"999"_qs});
    EXPECT_TRUE(f.Text2.Text.isEmpty());
    EXPECT_EQ(f.scoreState.correctCount, 1);

    // Locked: even the right answer and Enter are only text in the box.
    t.type(k + u'\r');
    EXPECT_EQ(t.sounds.size(), 2);
    EXPECT_EQ(f.scoreState.correctCount, 1);
    EXPECT_EQ(f.currentQuestion(), q);
    EXPECT_EQ(TestForm::printed(f.Picture4), QStringList{k});

    f.buttonClick(u"Command3"_qs);
    EXPECT_EQ(f.scoreState.answerLocked, 0);
    EXPECT_EQ(f.scoreState.missCount, 0);
    EXPECT_EQ(f.bank.mondaiNo, 3);
    for (bool shown : panelsShown(f))
        EXPECT_FALSE(shown);

    // The next right answer starts a new streak; the score is the right answers.
    t.type(f.expectedAnswer() + u'\r');
    EXPECT_EQ(f.scoreState.correctCount, 2);
    EXPECT_EQ(f.Label5.Caption, u"2"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture8), QStringList{u"1 問正解です。"_qs});
}

TEST_F(Judge, OnlyTheExactTextIsRight)
{
    struct Case {
        const char16_t *stored, *typed;
    };
    const Case cases[] = {
        {u"6", u" 6"},       {u"6", u"6 "},          {u"6", u"６"},
        {u"6", u"6.0"},      {u"6", u"06"},          {u"1/2", u"0.5"},
        {u"y=2x", u"y = 2x"}, {u"(3,-2)", u"(3, -2)"}, {u"(3,-2)", u"（3,-2）"},
        {u"20π", u"20p"},    {u"y=-x", u"y=-1x"},
    };
    for (const Case &c : cases) {
        TestForm u;
        Form1 &g = u.ready();
        ask(g, u"答えを求めよ。"_qs, QString::fromUtf16(c.stored));
        g.Text2.Text = QString::fromUtf16(c.typed);
        u.type(u"\r"_qs);
        EXPECT_EQ(u.sounds, QStringList{u"SD05.wav"_qs}) << g.Text2.Text.toStdString();
    }
}

// Right in value, not in form: a missing pair of brackets or a fraction not
// reduced is pointed out, nothing is counted, and the learner answers again.
TEST(AlmostRight, TheLearnerIsToldWhatToChange)
{
    struct Case {
        // The keys as pressed (a fraction lower part first); no hint: a plain miss.
        const char16_t *question, *stored, *keys, *hint;
    };
    const Case cases[] = {
        {u"答えを求めよ。", u"(3,6)", u"3,6", u"かっこをつけて答えよう"},
        {u"答えを求めよ。", u"(3,-6)", u"3,-6", u"かっこをつけて答えよう"},
        {u"答えを求めよ。", u"3/2", u"4/6", u"約分しよう"},
        {u"答えを求めよ。", u"-3/2", u"-4/6", u"約分しよう"},
        {u"答えを求めよ。", u"y=1/2x", u"y=4/2x", u"約分しよう"},
        {u"答えを求めよ。", u"y=-2/3x+4", u"y=-6/4x+4", u"約分しよう"},
        {u"答えを求めよ。", u"3", u"2/6", u"約分しよう"},
        {u"答えを求めよ。", u"(3,6)", u"3,7", nullptr},
        {u"答えを求めよ。", u"(3,6)", u"(3,6", nullptr},
        {u"答えを求めよ。", u"3/2", u"6/5", nullptr},
        {u"答えを求めよ。", u"3/2", u"3/2", nullptr}, // the keys of 2/3
        {u"答えを求めよ。", u"y=1/2x", u"y=4/2x+1", nullptr},
        {u"答えを求めよ。", u"y=1/2x", u"y=1/2x", nullptr}, // the keys of y=2/1x
        {u"ここの点のx座標を求めて。", u"(3,6)", u"3,6", nullptr}, // the point where one coordinate is asked
    };
    for (const Case &c : cases) {
        TestForm t;
        Form1 &f = t.ready();
        ask(f, QString::fromUtf16(c.question), QString::fromUtf16(c.stored));
        const int no = f.bank.mondaiNo;
        t.type(QString::fromUtf16(c.keys) + u"\r"_qs);
        const std::string what = QString::fromUtf16(c.keys).toStdString() + " for " + QString::fromUtf16(c.stored).toStdString();
        if (!c.hint) {
            EXPECT_EQ(t.sounds, QStringList{u"SD05.wav"_qs}) << what;
            continue;
        }
        EXPECT_TRUE(t.sounds.isEmpty()) << what;
        EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{QString::fromUtf16(c.hint)}) << what;
        EXPECT_EQ(f.scoreState.missCount, 0);
        EXPECT_EQ(f.scoreState.correctCount, 0);
        EXPECT_EQ(f.scoreState.answerLocked, 0);
        EXPECT_EQ(f.bank.mondaiNo, no);
        EXPECT_FALSE(f.Command3.Visible);
        EXPECT_FALSE(f.Text2.Text.isEmpty()) << what; // the box keeps the answer to mend
        // Mended, it is right.
        t.type(QString(f.Text2.Text.size(), u'\b'));
        QString keys = QString::fromUtf16(c.stored);
        if (keys.contains(u'/')) {
            // Typed as learners do: the lower part first.
            const qsizetype slash = keys.indexOf(u'/');
            qsizetype from = slash;
            while (from > 0 && keys[from - 1].isDigit())
                --from;
            qsizetype to = slash + 1;
            while (to < keys.size() && keys[to].isDigit())
                ++to;
            keys = keys.left(from) + keys.mid(slash + 1, to - slash - 1) + u'/' + keys.mid(from, slash - from) + keys.mid(to);
        }
        t.type(keys + u"\r"_qs);
        EXPECT_EQ(t.sounds, QStringList{u"Maru.wav"_qs}) << what;
    }
}

TEST(AlmostRight, FractionsAreReducedOnlyWhereTheyStand)
{
    const struct {
        const char16_t *text, *reduced;
    } rows[] = {
        {u"6/4", u"3/2"},       {u"-6/4", u"-3/2"},     {u"y=2/4x", u"y=1/2x"},  {u"y=4/4x", u"y=x"},
        {u"y=-4/4x", u"y=-x"},   {u"6/2", u"3"},         {u"y=6/3x+1", u"y=2x+1"}, {u"5/6", u"5/6"},
        {u"6/x", u"6/x"},       {u"x2/4", u"x2/4"},     {u"0.5/2", u"0.5/2"},     {u"2/4.5", u"2/4.5"},
        {u"/4", u"/4"},         {u"4/", u"4/"},         {u"4/0", u"4/0"},         {u"0/4", u"0"},
        {u"(2/4,6)", u"(1/2,6)"}, {u"12345678901234/2", u"12345678901234/2"}, {u"", u""},
    };
    for (const auto &r : rows)
        EXPECT_EQ(answerform::reduced(QString::fromUtf16(r.text)), QString::fromUtf16(r.reduced))
            << QString::fromUtf16(r.text).toStdString();
}

TEST_F(Judge, ClickedAnswerCountsWhenTheBoxIsNotEmpty)
{
    ask(f, u"このグラフの式を求めてください。"_qs, u"y=2x"_qs);
    f.graph.clickAnswer = u"y=2x"_qs;
    t.type(u"\r"_qs);
    EXPECT_TRUE(t.sounds.isEmpty());
    t.type(u"1\r"_qs);
    EXPECT_EQ(t.sounds, QStringList{u"Maru.wav"_qs});

    ask(f, u"このグラフの式を求めてください。"_qs, u"y=3x"_qs);
    t.type(u"1\r"_qs);
    EXPECT_EQ(t.sounds.last(), u"SD05.wav"_qs);
}

TEST_F(Judge, CorrectAnswerPanelDrawsFractionsAndPowers)
{
    const auto miss = [&](const QString &q, const QString &k, const QString &typed) {
        ask(f, q, k);
        t.type(typed + u'\r');
        EXPECT_EQ(f.scoreState.answerLocked, 1) << k.toStdString();
    };
    const auto next = [this] { f.buttonClick(u"Command3"_qs); };

    // What the panel shows for each kind of stored answer: a line with a
    // fractional slope as prefix, stacked fraction and x term; an inverse
    // proportion with x as the lower part; a plain fraction with its sign
    // in front; a power raised beside " = " and the answer; a point as it is.
    const struct {
        const char16_t *q, *k, *typed;
        QStringList shown; // print items on Picture4, in order
        std::size_t bars;
    } rows[] = {
        {u"このグラフの式を求めてください。", u"y=-1/2x+3", u"5", {u"y=-"_qs, u" 1 "_qs, u"2"_qs, u"x+3"_qs}, 1},
        {u"このグラフの式を求めてください。", u"y=2/3x-4", u"5", {u"y="_qs, u" 2 "_qs, u"3"_qs, u"x-4"_qs}, 1},
        {u"このグラフの式を求めて｡", u"y=6/x", u"5", {u"y="_qs, u" 6 "_qs, u"x"_qs}, 1},
        {u"答えを求めよ。", u"-9/2", u"5", {u"-"_qs, u" 9 "_qs, u"2"_qs}, 1},
        {u"(-3)^2", u"9", u"x2", {u"(-3)"_qs, u"2"_qs, u" = "_qs, u"9"_qs}, 0},
        {u"ここの点のx座標を求めて。", u"(-4,-2)", u"4", {u"-4"_qs, u"　点(-4,-2)のx座標"_qs}, 0},
        {u"点(3,1)と点(5,5)の中点の座標を求めて。", u"(4,3)", u"4", {u"(4,3)"_qs}, 0},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.k).toStdString());
        miss(QString::fromUtf16(r.q), QString::fromUtf16(r.k), QString::fromUtf16(r.typed));
        EXPECT_EQ(TestForm::printed(f.Picture4), r.shown);
        EXPECT_EQ(opsOf(f.Picture4, CanvasOp::Line).size(), r.bars);
        next();
    }

    // The fraction stands after the prefix, its upper part over the bar and
    // the lower part under it; the x term starts where the bar ends, a
    // little lower than the fraction's top.
    miss(u"このグラフの式を求めてください。"_qs, u"y=-1/2x+3"_qs, u"5"_qs);
    const CanvasOp *bar = firstLine(f.Picture4);
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(bar->x1, printOp(f.Picture4, u"y=-"_qs)->x1);
    EXPECT_LT(printOp(f.Picture4, u" 1 "_qs)->y1, bar->y1);
    EXPECT_GT(printOp(f.Picture4, u"2"_qs)->y1, bar->y1);
    EXPECT_DOUBLE_EQ(printOp(f.Picture4, u"x+3"_qs)->x1, bar->x2);
    EXPECT_DOUBLE_EQ(printOp(f.Picture4, u"x+3"_qs)->y1, 240);
    next();

    // A power: small and raised, the answer on the question's line; the
    // learner's power is drawn raised too.
    miss(u"(-3)^2"_qs, u"9"_qs, u"x2"_qs);
    EXPECT_EQ(f.Picture4.ops()[1].fontSize, 8);
    EXPECT_EQ(f.Picture4.ops()[3].fontSize, 18);
    EXPECT_DOUBLE_EQ(f.Picture4.ops()[3].y1, f.Picture4.ops()[0].y1);
    EXPECT_EQ(TestForm::printed(f.Picture5), (QStringList{u"x"_qs, u"2"_qs, u"  "_qs}));
    next();

    // A point answer keeps its coordinates.
    f.scoreState.answerX = f.scoreState.answerY = 99;
    miss(u"ここの点のx座標を求めて。"_qs, u"(-4,-2)"_qs, u"4"_qs);
    EXPECT_EQ(f.scoreState.answerX, -4);
    EXPECT_EQ(f.scoreState.answerY, -2);
}

TEST_F(Judge, CountersHoldAtTheirLimits)
{
    f.scoreState.correctCount = 32767;
    f.scoreState.streak = 32767;
    t.type(f.expectedAnswer() + u'\r');
    EXPECT_EQ(f.scoreState.correctCount, 32767);
    EXPECT_EQ(f.scoreState.streak, 32767);
    EXPECT_EQ(f.Label3.Caption, u"32767"_qs);

    // Misses past the end of the lists share the last entry.
    f.scoreState.missCount = 150;
    const QString q = f.currentQuestion();
    t.type(u"999\r"_qs);
    EXPECT_EQ(f.scoreState.missCount, 151);
    EXPECT_EQ(f.Label4.Caption, u"151"_qs);
    EXPECT_EQ(f.scoreState.missedMondai[100], q);
    EXPECT_EQ(f.scoreState.missedMondai.size(), 101u);
}

TEST_F(Judge, TenInARowEndsTheProgram)
{
    TestForm u;
    Form1 &g = u.start();
    g.buttonClick(u"Command4"_qs);
    g.menuClick(u"nagasa"_qs);
    int endedAt = 0;
    for (int i = 1; i <= 12 && !g.closed; ++i) {
        try {
            u.type(g.expectedAnswer() + u'\r');
        } catch (const ProgramEnd &) {
            endedAt = i;
        }
    }
    EXPECT_EQ(endedAt, 10);
    EXPECT_TRUE(g.closed);
    ASSERT_FALSE(u.dialogs.shown.empty());
    EXPECT_EQ(u.dialogs.shown[0].text, u"おつかれさまでした。10題連続で正解です。"_qs);
    EXPECT_EQ(u.dialogs.shown[0].title, u"終わる？"_qs);
    // The run was ended properly before the program closed.
    EXPECT_TRUE(g.Picture1.Visible);
    EXPECT_EQ(g.run.categoryActive, 0);
    EXPECT_TRUE(QFile::exists(g.history.resultsPath));
    EXPECT_EQ(u.sounds.size(), 10);

    // A streak kept from an earlier run counts towards the ten.
    TestForm again;
    Form1 &h = again.start();
    h.buttonClick(u"Command4"_qs);
    h.menuClick(u"nagasa"_qs);
    h.scoreState.streak = 8;
    again.type(h.expectedAnswer() + u'\r');
    EXPECT_THROW(again.type(h.expectedAnswer() + u'\r'), ProgramEnd);
}

TEST_F(Judge, WithoutTheTenInARowModeTheStreakCountsOn)
{
    for (int i = 0; i < 12; ++i)
        t.type(f.expectedAnswer() + u'\r');
    EXPECT_FALSE(f.closed);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(f.scoreState.streak, 12);
    EXPECT_EQ(TestForm::printed(f.Picture8), QStringList{u"12 問正解です。"_qs});
}
