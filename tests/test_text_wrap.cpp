// Question texts break their lines as Japanese is set, in the question
// panel of every set; and what the plane says while an answer is drawn on
// it; and the streak panel of a ten-in-a-row run.
#include "Learner.h"
#include "TestForm.h"

#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "wrap/LineBreak.h"

#include <set>

namespace {

// The rules, written out here on their own: no line starts with a closing
// mark or a small kana, none ends with an opening bracket, and no line ends
// inside a point "(…)", a blank "{…}", or a run of letters, digits and signs
// (an equation "y=-2/3x", a name "x=6", a number).
QString brokenRule(const QStringList &lines)
{
    static const QString noStart = QStringLiteral("。、）」』？！ぁぃぅぇぉっゃゅょァィゥェォッャュョー");
    static const QString noEnd = QStringLiteral("（「『");
    auto word = [](QChar c) { return (c.unicode() > 0x20 && c.unicode() < 0x7F) || c == u'□'; };
    int depth = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &l = lines[i];
        if (l.isEmpty())
            return QStringLiteral("an empty line");
        for (QChar c : l) {
            if (c == u'(' || c == u'{' || c == u'（')
                ++depth;
            if (c == u')' || c == u'}' || c == u'）')
                --depth;
        }
        if (i + 1 == lines.size())
            break;
        const QString &next = lines[i + 1];
        if (noStart.contains(next.front()))
            return u"a line starts with "_qs + next.front();
        if (noEnd.contains(l.back()))
            return u"a line ends with "_qs + l.back();
        if (depth > 0)
            return u"a bracket split: "_qs + l + u" | "_qs + next;
        if (word(l.back()) && word(next.front()))
            return u"a word split: "_qs + l + u" | "_qs + next;
    }
    return {};
}

} // namespace

// The rules one by one, and where the breaks of the fifteen-character rule
// move to.
TEST(TextWrap, BreaksWhereJapaneseLinesMayEnd)
{
    const struct {
        const char16_t *text;
        std::vector<int> ends;
        QStringList lines;
    } rows[] = {
        // Kept where the rules allow it.
        {u"あいうえおかきくけこ", {5}, {u"あいうえお"_qs, u"かきくけこ"_qs}},
        // A closing mark hangs at the end of its line.
        {u"あいうえお。かきくけこ", {5}, {u"あいうえお。"_qs, u"かきくけこ"_qs}},
        // A small kana goes down with the character before it.
        {u"あいうえっとかき", {4}, {u"あいう"_qs, u"えっとかき"_qs}},
        // An opening bracket goes down with what it opens.
        {u"あいう「えおか」き", {4}, {u"あいう"_qs, u"「えおか」き"_qs}},
        // A point, a blank with its unit, an equation, a name stay whole.
        {u"点(□,4)のx座標", {4}, {u"点"_qs, u"(□,4)のx座標"_qs}},
        {u"求めると{   }cmとなる。", {6}, {u"求めると"_qs, u"{   }cmとなる。"_qs}},
        {u"直線y=-2/3xの上の点", {5}, {u"直線"_qs, u"y=-2/3xの上の点"_qs}},
        {u"引かれたx=6上の直線", {6}, {u"引かれた"_qs, u"x=6上の直線"_qs}},
        // Nothing before it will do: the break moves on.
        {u"y=-2/3xの上", {3}, {u"y=-2/3x"_qs, u"の上"_qs}},
    };
    for (const auto &r : rows) {
        const QString text = QString::fromUtf16(r.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(wrap::linesEndingNear(text, r.ends), r.lines);
    }
    // Wrapped to a length: every line as long as the rules let it be.
    const QString long16 = u"直線ABの長さを求めると{   }cmとなる。"_qs;
    EXPECT_EQ(wrap::wrapToLength(long16, 15), (QStringList{u"直線ABの長さを求めると"_qs, u"{   }cmとなる。"_qs}));
    EXPECT_EQ(wrap::wrapToLength(u"短い"_qs, 15), QStringList{u"短い"_qs});
    EXPECT_EQ(wrap::wrapToLength(QString(), 15), QStringList{QString()});
}

// Every question of every bank, as the question panel prints it after the
// question cycle's rule and as the presenter prints it again: every
// character shown once and in order (the closing "。" after "の時" left off,
// as the cycle's rule does), no line breaking a rule, and no line much
// longer than fifteen characters.
TEST(TextWrap, EveryQuestionOfEveryBankIsWrappedByTheRules)
{
    TestForm t;
    Form1 &f = t.start();
    int questions = 0;
    std::set<QString> seen;
    for (const SetInfo &set : setTable()) {
        const banks::BankData *bank = banks::Catalogue::builtIn().findItem(set.item);
        if (!bank)
            continue;
        for (const auto &[stored, answer] : bank->pairs) {
            const QString text = stored.section(u'#', 0, 0);
            if (!seen.insert(text).second)
                continue;
            ++questions;
            SCOPED_TRACE(text.toStdString());
            f.printQuestionText(stored);
            const QStringList cycle = TestForm::printed(f.Picture2);
            f.showQuestionTextAgain(text);
            const QStringList again = TestForm::printed(f.Picture2);
            for (const QStringList &lines : {cycle, again}) {
                const QString rule = brokenRule(lines);
                EXPECT_TRUE(rule.isEmpty()) << rule.toStdString();
                for (const QString &l : lines)
                    EXPECT_LE(l.size(), 17) << l.toStdString();
            }
            const bool dropsLast = text.size() > 15 && text.indexOf(u'。') + 1 > 15 && text.contains(u"の時"_qs);
            EXPECT_EQ(cycle.join(QString()), dropsLast ? text.chopped(1) : text);
            EXPECT_EQ(again.join(QString()), text);
        }
    }
    EXPECT_GT(questions, 300);
}

// The Part's own examples still come out as it says where they agree with
// the rules: 18 characters without "。" are 15 and 3.
TEST(TextWrap, TheFifteenCharacterRuleStaysWhereItAgrees)
{
    TestForm t;
    Form1 &f = t.start();
    f.printQuestionText(u"あいうえおかきくけこさしすせそたちつ"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture2), (QStringList{u"あいうえおかきくけこさしすせそ"_qs, u"たちつ"_qs}));
    // Sixteen characters ending in "。": the mark never stands alone.
    f.printQuestionText(u"あいうえおかきくけこさしすせそ。"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture2), (QStringList{u"あいうえおかきくけこさしすせそ。"_qs}));
}

// Drawing a line: the first point marked, with a note where the line must
// start at the origin; the check button with one point asks for another
// and counts nothing; with no point at all it asks for two.
TEST(DrawingHints, TheFirstPointAndTheCheckButtonSayWhatHappens)
{
    TestForm t;
    Form1 &f = t.start();
    t.queueDraws(0.99, 60);
    f.menuClick(u"grawrite1"_qs); // y=x: through the origin
    ASSERT_TRUE(f.Command5.Visible);
    f.Command5_Click();
    EXPECT_TRUE(TestForm::printed(f.Picture6).contains(u"2点をクリックしよう"_qs));
    tap(f, 3, 2);
    EXPECT_EQ(f.graph.pointX, 0); // moved to the origin
    EXPECT_TRUE(TestForm::printed(f.Picture6).contains(u"この直線は原点を通るので、1点目は原点です"_qs));
    bool ring = false;
    for (const CanvasOp *op : opsOf(f.Picture6, CanvasOp::Circle))
        ring = ring || (op->x1 == 0 && op->y1 == 0 && op->r > 0.3);
    EXPECT_TRUE(ring);
    // The note and the mark stay while the pointer moves.
    f.Picture6_MouseMove(0, 0, 4, 3);
    EXPECT_TRUE(TestForm::printed(f.Picture6).contains(u"この直線は原点を通るので、1点目は原点です"_qs));
    f.Command5_Click();
    EXPECT_TRUE(TestForm::printed(f.Picture6).contains(u"もう1点クリックしよう"_qs));
    EXPECT_EQ(f.scoreState.missCount, 0);
    EXPECT_EQ(f.scoreState.correctCount, 0);
    EXPECT_TRUE(t.sounds.isEmpty());
    EXPECT_TRUE(f.Command5.Visible);
    // The second point completes the line, which is judged as before.
    tap(f, 2, 2);
    f.Command5_Click();
    EXPECT_EQ(f.scoreState.correctCount, 1);

    // A line with an intercept starts where it is clicked: no note.
    TestForm u;
    Form1 &g = u.start();
    g.menuClick(u"gra2read2"_qs);
    ASSERT_TRUE(g.Command5.Visible);
    ASSERT_NE(g.eq.graphIntercept, 0) << g.currentAnswer().toStdString();
    tap(g, 1, 1);
    EXPECT_FALSE(TestForm::printed(g.Picture6).contains(u"この直線は原点を通るので、1点目は原点です"_qs));
    // A point question without its point asks for it.
    TestForm p;
    Form1 &h = p.start();
    p.queueDraws(0.99, 60);
    h.menuClick(u"thahyo1"_qs);
    h.Command5_Click();
    EXPECT_TRUE(TestForm::printed(h.Picture6).contains(u"点をクリックしよう"_qs));
    EXPECT_EQ(h.scoreState.missCount, 0);
}

// In a ten-in-a-row run the streak panel stays in sight on every kind of
// question, and counts the run being built.
TEST(StreakPanel, ShowsInATenInARowRunOnEveryKindOfQuestion)
{
    for (const QString &set : {u"grawrite1"_qs, u"thahyo1"_qs, u"graread1"_qs, u"nagasa"_qs}) {
        SCOPED_TRACE(set.toStdString());
        TestForm t;
        Form1 &f = t.start();
        f.Command4_Click();
        f.menuClick(set);
        learner::Hands hands = learner::handsOn(f);
        for (int n = 1; n <= 2; ++n) {
            ASSERT_TRUE(learner::answer(f, hands, true));
            EXPECT_TRUE(f.Picture8.Visible);
            EXPECT_EQ(TestForm::printed(f.Picture8), QStringList{QString::number(n) + u" 問正解です。"_qs});
        }
    }
}
