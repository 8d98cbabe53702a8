// The answer box: how keys become the canonical answer text and its typeset
// preview, in each typing state, through the form's key handler.
#include "Learner.h"
#include "TestForm.h"

#include <random>

namespace {

std::vector<const CanvasOp *> lines(const Canvas &c) { return opsOf(c, CanvasOp::Line); }

// The box shows the handler's text.
void expectShown(const Form1 &f, const QString &text)
{
    EXPECT_EQ(f.typing.typedExpr.toStdString(), text.toStdString());
    EXPECT_EQ(f.Text2.Text.toStdString(), text.toStdString());
}

// Typing the keys leaves `text` in the handler and in the box.
void typeShows(TestForm &t, const QString &keys, const QString &text)
{
    t.type(keys);
    expectShown(*t.form, text);
}

} // namespace

using KeyEntry = ReadyForm;

TEST_F(KeyEntry, LettersDigitsAndPowers)
{
    typeShows(t, u"X"_qs, u"x"_qs);
    EXPECT_EQ(f.typing.letterTyped, 1);

    // A digit right after x is an exponent: x, then a smaller 2 on the same
    // line, starting where the x ends.
    typeShows(t, u"2"_qs, u"x^2"_qs);
    EXPECT_EQ(f.typing.letterTyped, 0);
    ASSERT_EQ(TestForm::printed(f.Picture3), (QStringList{u"x"_qs, u"2"_qs}));
    const CanvasOp &x = f.Picture3.ops()[0], &two = f.Picture3.ops()[1];
    EXPECT_EQ(x.fontSize, 48);
    EXPECT_EQ(two.fontSize, 20);
    EXPECT_DOUBLE_EQ(two.y1, x.y1);
    EXPECT_DOUBLE_EQ(two.x1, x.x1 + t.metrics.widthTwips(u"x"_qs, x.fontName, 48, false));

    // Backspace takes the whole power back.
    typeShows(t, u"\b"_qs, QString());
    EXPECT_TRUE(TestForm::printed(f.Picture3).isEmpty());

    // ... and only the power: what stood before the letter stays.
    typeShows(t, u"2Y3"_qs, u"2y^3"_qs);
    typeShows(t, u"\b"_qs, u"2"_qs);

    // Only the key right after the letter is raised.
    typeShows(t, u"x23p"_qs, u"2x^23π"_qs);
    EXPECT_EQ(f.Text4.Text, f.run.dataFolder);
}

TEST_F(KeyEntry, KeysOutsideTheSetAreSwallowedInThePlainState)
{
    typeShows(t, u"(3,-2)"_qs, u"(3,-2)"_qs);
    for (char16_t key : {u'q', u'!', u' ', u'Z', u'ａ', u'３', u'あ', u'\x1b', u'\t'}) {
        f.typeKey(key);
        expectShown(f, u"(3,-2)"_qs);
        EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"(3,-2)"_qs});
    }
}

TEST_F(KeyEntry, FractionsAreTypedDenominatorFirst)
{
    // The upper part takes every digit typed after the slash.
    typeShows(t, u"4/2"_qs, u"2/4"_qs);
    typeShows(t, u"5"_qs, u"25/4"_qs);
    EXPECT_EQ(f.typing.fractionMode, 1);
    EXPECT_EQ(f.typing.fracLower, u"4"_qs);
    EXPECT_EQ(f.typing.fracUpper, u"25"_qs);

    // Drawn stacked: the upper part above the bar, the lower part below it,
    // the bar as wide as the wider of the two.
    const auto bars = lines(f.Picture3);
    ASSERT_EQ(bars.size(), 1u);
    const CanvasOp *upper = printOp(f.Picture3, u" 25 "_qs);
    const CanvasOp *lower = printOp(f.Picture3, u"4"_qs);
    ASSERT_TRUE(upper && lower);
    EXPECT_DOUBLE_EQ(bars[0]->y1, bars[0]->y2);
    EXPECT_LT(upper->y1, bars[0]->y1);
    EXPECT_GT(lower->y1, bars[0]->y1);
    EXPECT_GT(lower->x1, bars[0]->x1);
    EXPECT_LT(lower->x1, bars[0]->x2);
    const double upperRight = upper->x1 + t.metrics.widthTwips(u"25"_qs, upper->fontName, upper->fontSize, false);
    EXPECT_GE(bars[0]->x2, upperRight);

    // A second slash is not handled, in the box either.
    typeShows(t, u"/"_qs, u"25/4"_qs);
    typeShows(t, u"3"_qs, u"253/4"_qs);
}

TEST_F(KeyEntry, SlashIntoAnEmptyBoxOnlyStartsTheFraction)
{
    // A fraction on the question before.
    t.type(u"y=4/3\r"_qs);
    f.buttonClick(u"Command3"_qs);

    typeShows(t, u"/"_qs, QString());
    EXPECT_EQ(f.typing.fractionMode, 1);
    EXPECT_TRUE(f.Picture3.ops().empty());
    // Nothing of the earlier fraction comes back with the next digit.
    typeShows(t, u"5"_qs, u"5/"_qs);
}

TEST_F(KeyEntry, LineEquationWithFractionalSlope)
{
    typeShows(t, u"y=4/3"_qs, u"y=3/4"_qs);
    EXPECT_EQ(f.typing.fracPrefix, u"y="_qs);
    EXPECT_EQ(f.typing.fracLower, u"4"_qs);
    const CanvasOp prefix = *printOp(f.Picture3, u"y="_qs);
    const CanvasOp bar = *lines(f.Picture3).at(0);
    EXPECT_LT(prefix.x1, bar.x1);

    // The x term follows the fraction; the fraction keeps its place.
    typeShows(t, u"x"_qs, u"y=3/4x"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x"_qs);
    const auto samePlace = [this, &prefix, &bar] {
        const CanvasOp *p = printOp(f.Picture3, u"y="_qs);
        ASSERT_NE(p, nullptr);
        EXPECT_DOUBLE_EQ(p->x1, prefix.x1);
        EXPECT_DOUBLE_EQ(p->y1, prefix.y1);
        const auto bars = lines(f.Picture3);
        ASSERT_FALSE(bars.empty());
        EXPECT_DOUBLE_EQ(bars[0]->x1, bar.x1);
        EXPECT_DOUBLE_EQ(bars[0]->x2, bar.x2);
    };
    samePlace();
    const CanvasOp *x = printOp(f.Picture3, u"x"_qs);
    ASSERT_NE(x, nullptr);
    EXPECT_DOUBLE_EQ(x->x1, bar.x2 + 40);

    typeShows(t, u"+"_qs, u"y=3/4x+"_qs);
    samePlace();
    typeShows(t, u"1"_qs, u"y=3/4x+1"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x+1"_qs);
    samePlace();
    const CanvasOp *term = printOp(f.Picture3, u"x+1"_qs);
    ASSERT_NE(term, nullptr);
    EXPECT_DOUBLE_EQ(term->x1, bar.x2 + 40);
    EXPECT_TRUE(printOp(f.Picture3, u" 3 "_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"4"_qs));
}

// The x term after a fraction is drawn with an empty lower part: it has no
// bar of its own. A second bar would stand under "y=" like a minus sign.
TEST_F(KeyEntry, AFractionWithItsXTermHasOneBar)
{
    const struct {
        const char16_t *keys, *text, *prefix;
    } cases[] = {
        {u"y=4/3x", u"y=3/4x", u"y="},         {u"y=4/3x+1", u"y=3/4x+1", u"y="},
        {u"y=-3/2x-4", u"y=-2/3x-4", u"y=-"},  {u"-3/4x+1", u"-4/3x+1", u"-"},
        {u"y=-3/2x+b", u"y=-2/3x+b", u"y=-"},  {u"y=4/11x", u"y=11/4x", u"y="},
    };
    for (const auto &c : cases) {
        const QString keys = QString::fromUtf16(c.keys);
        SCOPED_TRACE(keys.toStdString());
        TestForm u;
        Form1 &g = u.ready();
        typeShows(u, keys, QString::fromUtf16(c.text));
        const auto bars = lines(g.Picture3);
        ASSERT_EQ(bars.size(), 1u);
        // The one bar is the fraction's: right of the prefix, under the upper part.
        const CanvasOp *prefix = printOp(g.Picture3, QString::fromUtf16(c.prefix));
        ASSERT_TRUE(prefix);
        EXPECT_GT(bars[0]->x1, prefix->x1);
        EXPECT_LT(opsOf(g.Picture3, CanvasOp::Print).at(1)->y1, bars[0]->y1);
    }
}

TEST_F(KeyEntry, SignsBeforeTheFraction)
{
    // As the help text teaches: y = - 3 / 2 x - 4.
    typeShows(t, u"y=-3/2x-4"_qs, u"y=-2/3x-4"_qs);
    EXPECT_EQ(f.typing.fracPrefix, u"y=-"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x-4"_qs);
    EXPECT_TRUE(printOp(f.Picture3, u"y=-"_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"x-4"_qs));

    // A sign alone in front of the fraction.
    TestForm u;
    Form1 &g = u.ready();
    typeShows(u, u"-3/4"_qs, u"-4/3"_qs);
    EXPECT_EQ(g.typing.previewSign, u"-"_qs);
    EXPECT_TRUE(printOp(g.Picture3, u"-"_qs));
    EXPECT_TRUE(printOp(g.Picture3, u" 4 "_qs));
    EXPECT_TRUE(printOp(g.Picture3, u"3"_qs));
    // A further digit joins the upper part, as without the sign.
    typeShows(u, u"5"_qs, u"-45/3"_qs);
    // The x term and its constant keep the sign and the fraction whole.
    typeShows(u, u"x+1"_qs, u"-45/3x+1"_qs);
    EXPECT_TRUE(printOp(g.Picture3, u"-"_qs));
    EXPECT_TRUE(printOp(g.Picture3, u" 45 "_qs));
    typeShows(u, u"\b"_qs, u"-45/3x+"_qs);
    // "-", 2, "/", 1, 5 is minus fifteen halves.
    TestForm v;
    v.ready();
    typeShows(v, u"-2/15"_qs, u"-15/2"_qs);
}

TEST_F(KeyEntry, BackspaceInTheFractionState)
{
    t.type(u"y=4/3x+1"_qs);
    // With a tail, Backspace shortens the tail and keeps the fraction.
    typeShows(t, u"\b"_qs, u"y=3/4x+"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x+"_qs);
    typeShows(t, u"\b\b"_qs, u"y=3/4"_qs);
    EXPECT_TRUE(f.typing.fracTail.isEmpty());
    EXPECT_EQ(f.typing.fractionMode, 1);
    // The fraction is open again: a digit joins its upper part.
    typeShows(t, u"2"_qs, u"y=32/4"_qs);
    EXPECT_TRUE(printOp(f.Picture3, u"y="_qs));

    // With an empty tail the fraction is abandoned: what stood before it is
    // kept, in the box as in the preview.
    typeShows(t, u"\b"_qs, u"y="_qs);
    EXPECT_EQ(f.typing.fractionMode, 0);
    EXPECT_TRUE(f.typing.fracUpper.isEmpty());
    EXPECT_TRUE(f.typing.fracLower.isEmpty());
    EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"y="_qs});
    // Typing on starts from the kept prefix.
    typeShows(t, u"2x"_qs, u"y=2x"_qs);
}

TEST_F(KeyEntry, OtherKeysInTheFractionState)
{
    t.type(u"y=4/3x-2"_qs);
    // Any key outside the set takes back a character of the tail.
    typeShows(t, u"q"_qs, u"y=3/4x-"_qs);
    typeShows(t, u"!!"_qs, u"y=3/4"_qs);
    // With the tail empty, a letter changes nothing, in the box either ...
    typeShows(t, u"q"_qs, u"y=3/4"_qs);
    EXPECT_EQ(f.typing.fractionMode, 1);
    // ... and a control key or sign outside the set abandons the fraction.
    t.type(u"!"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y="_qs);
    EXPECT_EQ(f.typing.fractionMode, 0);
}

// Every stored answer can be typed: a letter after the x term, P for π, and
// π or ° as they are.
TEST_F(KeyEntry, EveryKindOfStoredAnswerCanBeTyped)
{
    typeShows(t, u"y=-3/2x+b"_qs, u"y=-2/3x+b"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x+b"_qs);
    // Drawn as y=-, the stacked two over three, and the x term with its b.
    EXPECT_TRUE(printOp(f.Picture3, u"y=-"_qs));
    EXPECT_TRUE(printOp(f.Picture3, u" 2 "_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"3"_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"x+b"_qs));
    typeShows(t, u"\b"_qs, u"y=-2/3x+"_qs);

    const struct {
        const char16_t *keys, *text;
    } cases[] = {{u"20P", u"20π"}, {u"10p+20", u"10π+20"}, {u"36π", u"36π"}, {u"240°", u"240°"},
                 {u"y=ax-4", u"y=ax-4"}, {u"y=x/30", u"y=30/x"}, {u"y=-x/6", u"y=-6/x"},
                 {u"4/7", u"7/4"}, {u"y=11/4x", u"y=4/11x"}};
    for (const auto &c : cases) {
        TestForm u;
        u.ready();
        typeShows(u, QString::fromUtf16(c.keys), QString::fromUtf16(c.text));
    }
}

// An angle may be typed with or without its degree sign.
TEST(Angles, RightWithOrWithoutTheDegreeSign)
{
    for (const char16_t *typed : {u"240", u"240°"}) {
        TestForm t;
        Form1 &f = t.present(u"半径が6cm面積が24πc㎡のおうぎ形の中心角を求めて。#0,0,6,24π"_qs, u"240°"_qs);
        ASSERT_TRUE(f.Text2.Visible);
        t.type(QString::fromUtf16(typed) + u'\r');
        EXPECT_EQ(f.scoreState.correctCount, 1) << QString::fromUtf16(typed).toStdString();
    }
}

TEST_F(KeyEntry, LockedBoxTakesKeysAsTheyCome)
{
    t.type(u"99\r"_qs);
    ASSERT_EQ(f.scoreState.answerLocked, 1);
    const QString expr = f.typing.typedExpr;
    const int16_t question = f.bank.mondaiNo;
    const QStringList sounds = t.sounds;

    t.type(u"X/4p"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4p"_qs);
    t.type(u"\b"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4"_qs);
    t.type(u"\r"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4"_qs);
    EXPECT_EQ(f.typing.typedExpr, expr);
    EXPECT_EQ(f.typing.fractionMode, 0);
    EXPECT_EQ(f.bank.mondaiNo, question);
    EXPECT_EQ(t.sounds, sounds);
    EXPECT_EQ(f.scoreState.answerLocked, 1);

    // Nothing of them reaches the next question.
    f.buttonClick(u"Command3"_qs);
    EXPECT_TRUE(f.Text2.Text.isEmpty());
    typeShows(t, u"7"_qs, u"7"_qs);
}

namespace {

// Counts of keys handled in each typing state.
struct StateVisits {
    int plain = 0, exponent = 0, fraction = 0, fractionTail = 0, locked = 0;
    void note(const Form1 &f)
    {
        if (f.scoreState.answerLocked == 1)
            ++locked;
        else if (f.typing.fractionMode == 1)
            ++(f.typing.fracTail.isEmpty() ? fraction : fractionTail);
        else if (f.typing.letterTyped == 1)
            ++exponent;
        else
            ++plain;
    }
};

// What holds after any key, whatever was typed before.
::testing::AssertionResult saneState(const Form1 &f)
{
    const auto fail = [&f](const char *what) {
        return ::testing::AssertionFailure()
               << what << " (typedExpr " << f.typing.typedExpr.toStdString() << ", fracPrefix "
               << f.typing.fracPrefix.toStdString() << ", mondaiNo " << f.bank.mondaiNo << ")";
    };
    if (f.bank.mondaiNo < 0 || f.bank.mondaiNo > 200 || f.bank.mondaiNo > f.bank.mondaiCount + 1)
        return fail("question number outside the draw order");
    if (f.scoreState.missCount < 0 || f.scoreState.missCount >= int(f.scoreState.missedMondai.size()))
        return fail("miss count outside the miss lists");
    if ((f.typing.fractionMode != 0 && f.typing.fractionMode != 1)
        || (f.typing.letterTyped != 0 && f.typing.letterTyped != 1))
        return fail("typing flags other than 0 and 1");
    if (f.run.categoryActive == 0)
        return ::testing::AssertionSuccess(); // the run is over: nothing more is typed
    // The canonical text holds at most one fraction, after its prefix.
    if (f.typing.typedExpr.count(u'/') > 1)
        return fail("more than one fraction");
    if (f.typing.fractionMode == 1 && !f.typing.typedExpr.startsWith(f.typing.fracPrefix))
        return fail("fraction without its prefix");
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(KeyEntry, RandomKeysKeepTheStateWithinItsBounds)
{
    const std::vector<char16_t> keySet = {
        u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u'x', u'X', u'y', u'Y', u'=',
        u'/', u'/', u'-', u'+', u'.', u',', u'p', u'(', u')', u'a', u'b', u';', 8, 8, 8, 8,
        u'q', u'!', u' ', u'Z', u'ａ', u'３', u'あ', 27, 13};
    constexpr int kKeysPerSet = 1500;
    StateVisits visits;
    int right = 0, wrong = 0;
    unsigned seed = 1;
    for (const QString &set : {u"nagasa"_qs, u"thahyou2"_qs, u"graread2"_qs, u"gra2write"_qs}) {
        std::mt19937 rng(seed++);
        std::uniform_int_distribution<std::size_t> pick(0, keySet.size() - 1);
        std::uniform_int_distribution<int> percent(0, 99);
        int n = 0;
        while (n < kKeysPerSet) {
            // A fresh program for each run of the set: once a run has ended
            // the learner can only close the window.
            TestForm run;
            Form1 &g = run.start();
            ASSERT_TRUE(g.menuClick(set));
            QString recent; // the keys of this run, for a failure message
            // One key as the box delivers it; returns whether the handler
            // swallowed it.
            const auto press = [&g, &visits, &recent](char16_t key) {
                visits.note(g);
                recent += key == 8 ? QChar(u'←') : key == 13 ? QChar(u'⏎') : key < 32 ? QChar(u'·') : QChar(key);
                int code = key;
                g.Text2_KeyPress(code);
                if (code == 8 && !g.Text2.Text.isEmpty())
                    g.Text2.Text.chop(1);
                else if (code >= 32)
                    g.Text2.Text += QChar(char16_t(code));
                return code == 0;
            };
            for (; n < kKeysPerSet && g.run.categoryActive == 1; ++n) {
                SCOPED_TRACE(set.toStdString() + " step " + std::to_string(n) + " after "
                             + recent.right(40).toStdString());
                if (g.scoreState.answerLocked == 1 && percent(rng) < 20) {
                    ++wrong;
                    g.buttonClick(u"Command3"_qs);
                } else if (g.scoreState.answerLocked == 0 && percent(rng) < 3) {
                    ASSERT_TRUE(g.Text2.Visible);
                    // Clear the box and type the expected answer.
                    for (int i = 0; i < 80 && !(g.typing.typedExpr.isEmpty() && g.typing.fractionMode == 0); ++i)
                        press(8);
                    const int16_t before = g.scoreState.correctCount;
                    for (QChar c : learner::keysFor(g.expectedAnswer()))
                        press(c.unicode());
                    press(13);
                    right += g.scoreState.correctCount - before;
                } else {
                    ASSERT_TRUE(g.Text2.Visible);
                    const char16_t key = keySet[pick(rng)];
                    const bool swallowed = press(key);
                    if (swallowed && key != 13) {
                        ASSERT_EQ(g.Text2.Text.toStdString(), g.typing.typedExpr.toStdString());
                    }
                }
                ASSERT_TRUE(saneState(g));
            }
        }
    }
    // The walk went through every typing state and both verdicts.
    EXPECT_GT(visits.plain, 100);
    EXPECT_GT(visits.exponent, 50);
    EXPECT_GT(visits.fraction, 100);
    EXPECT_GT(visits.fractionTail, 50);
    EXPECT_GT(visits.locked, 50);
    EXPECT_GT(right, 20);
    EXPECT_GT(wrong, 20);
}

namespace {

// What a picture box shows, read back as text: the prefix, the upper part
// over the bar, "/", the lower part under it, and what follows the fraction;
// without a bar, its prints one after another. A fraction is drawn as its
// prefix, its upper part (when there is one), the bar, the lower part, and
// the x term after it.
QString readBack(const Canvas &c)
{
    QStringList before, after;
    bool bar = false;
    for (const CanvasOp &op : c.ops()) {
        if (op.kind == CanvasOp::Line && op.y1 == op.y2)
            bar = true;
        else if (op.kind == CanvasOp::Print)
            (bar ? after : before) << op.text.trimmed();
    }
    if (!bar)
        return before.join(QString());
    const QString upper = before.size() > 1 ? before.mid(1).join(QString()) : QString();
    return before.value(0) + upper + u'/' + after.value(0) + after.mid(1).join(QString());
}

} // namespace

// One reading of what is typed: the box, the preview, the text judged and
// the learner's answer row after a miss all say the same, with the upper
// part of a fraction empty or full.
TEST(TypedReadings, BoxPreviewJudgeAndAnswerRowAgree)
{
    const struct {
        const char16_t *keys, *reads;
    } rows[] = {
        {u"y=-8/x", u"y=-/8x"},       {u"y=-3/2x+1", u"y=-2/3x+1"}, {u"4/", u"/4"},
        {u"4/25", u"25/4"},           {u"/3", u"3/"},               {u"-5/3", u"-3/5"},
        {u"x/6", u"6/x"},             {u"y=4/x", u"y=/4x"},         {u"3/4x-2", u"4/3x-2"},
        {u"y=4/3\b", u"y="},          {u"y=-8/x\b", u"y=-/8"},      {u"y=/", u"y=/"},
        {u"y=4/3//q", u"y=3/4"},      {u"12+5", u"12+5"},           {u"y=3/4x+b", u"y=4/3x+b"},
        {u"y=-4/32x\b", u"y=-32/4"}, {u"y=-4/32x\b\b", u"y=-"}, {u"5/2!", u""},
    };
    for (const auto &r : rows) {
        TestForm t;
        Form1 &f = t.ready();
        const QString keys = QString::fromUtf16(r.keys), reads = QString::fromUtf16(r.reads);
        const std::string what = keys.toStdString();
        t.type(keys);
        EXPECT_EQ(f.Text2.Text, reads) << what;
        EXPECT_EQ(f.typing.typedExpr, reads) << what;
        EXPECT_EQ(readBack(f.Picture3), reads) << what;
        if (reads.isEmpty())
            continue;
        // Judged as it reads (a stored answer it is not), and shown so on
        // the learner's answer row.
        t.type(u"\r"_qs);
        ASSERT_EQ(f.scoreState.answerLocked, 1) << what;
        EXPECT_EQ(readBack(f.Picture5), reads) << what;
        EXPECT_EQ(opsOf(f.Picture5, CanvasOp::Line).size(), opsOf(f.Picture3, CanvasOp::Line).size()) << what;
    }
}
