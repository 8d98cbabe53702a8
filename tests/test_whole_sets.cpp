// Every set played to its end as a learner plays it: only keys, presses and
// button clicks, from the first question to the chart.
#include "DriveRunner.h"
#include "Learner.h"
#include "TestForm.h"

#include "app/Results.h"
#include "Sets.h"

#include <QJsonArray>

#include <cmath>
#include <cstdio>

namespace {

// A learner at the form, who also writes down every action as a line of a
// driver script.
struct Play {
    TestForm t;
    learner::Hands hands;
    std::optional<std::pair<double, double>> pointer;
    QStringList script;

    // In bank order, or shuffled from a clock of that many seconds.
    explicit Play(const SetInfo &set, double shuffledAt = -1)
    {
        t.allSets = true;
        if (shuffledAt < 0)
            t.putInBankOrder(set.resultsFileName);
        else
            t.clock.seconds = shuffledAt;
        Form1 &f = t.start();
        hands.key = [this, &f](int k) {
            f.typeKey(k);
            script << (k == 13 ? u"key Enter"_qs : u"key "_qs + QChar(char16_t(k)));
        };
        hands.click = [this, &f](const QString &b) {
            f.buttonClick(b);
            script << u"click "_qs + b;
        };
        hands.move = [&f](double x, double y) { f.Picture6_MouseMove(0, 0, x, y); };
        hands.press = [this, &f](double x, double y) {
            f.Picture6_MouseDown(1, 0, x, y);
            f.Picture6_Click();
            script << u"tap %1 %2"_qs.arg(x).arg(y);
        };
        f.menuClick(set.item);
        script << u"menu "_qs + set.item;
    }
    Form1 &f() { return *t.form; }

    // Plays the whole set, right every time; returns the questions asked.
    int playRight()
    {
        Form1 &form = f();
        int answered = 0;
        while (form.run.categoryActive == 1 && answered <= form.bank.mondaiCount
               && learner::answer(form, hands, true, nullptr, &pointer))
            ++answered;
        return answered;
    }
};

std::vector<SetInfo> allSets() { return setsWithABank(); }

std::string nameOf(const ::testing::TestParamInfo<SetInfo> &info) { return info.param.item.toStdString(); }

} // namespace

void PrintTo(const SetInfo &set, std::ostream *os) { *os << set.item.toStdString(); }

class WholeSet : public ::testing::TestWithParam<SetInfo> {};

// Right every time, in bank order: each answer is judged right at once and
// the set ends with its chart after its last question.
TEST_P(WholeSet, EveryQuestionAnsweredRightIsJudgedRight)
{
    Play p(GetParam());
    Form1 &f = p.f();
    ASSERT_TRUE(TestForm::inBankOrder(f));
    const int count = f.bank.mondaiCount;
    int answered = 0;
    while (f.run.categoryActive == 1 && answered <= count) {
        const int no = f.bank.mondaiNo;
        const QString q = f.currentQuestion(), k = f.currentAnswer();
        QString why;
        ASSERT_TRUE(learner::answer(f, p.hands, true, &why, &p.pointer))
            << "question " << no << ": " << q.toStdString() << " → " << k.toStdString() << ": " << why.toStdString();
        ++answered;
        ASSERT_EQ(f.scoreState.correctCount, answered)
            << "question " << no << " judged wrong: " << q.toStdString() << " → " << k.toStdString()
            << " (typed " << learner::keysFor(learner::typedAnswer(q, k)).toStdString() << ")";
        ASSERT_FALSE(f.Command3.Visible);
        if (f.run.categoryActive == 1) {
            ASSERT_EQ(f.bank.mondaiNo, no + 1);
            EXPECT_TRUE(f.Text2.Text.isEmpty()) << "question " << f.bank.mondaiNo;
        }
    }
    EXPECT_EQ(answered, count);
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_TRUE(TestForm::printed(f.Picture2).contains(u"問題はもうありません。"_qs));
    EXPECT_TRUE(f.Picture1.Visible);
}

// Shuffled, from three different clocks: every order a learner can meet
// plays to its end too.
TEST_P(WholeSet, ShuffledOrdersPlayToTheirEnd)
{
    for (double at : {30000.25, 45678.5, 70001.75}) {
        Play p(GetParam(), at);
        Form1 &f = p.f();
        const int count = f.bank.mondaiCount;
        EXPECT_EQ(p.playRight(), count) << "question " << f.bank.mondaiNo << ": "
                                        << f.currentQuestion().toStdString() << " (clock " << at << ")";
        EXPECT_EQ(f.scoreState.correctCount, count);
        EXPECT_EQ(f.run.categoryActive, 0);
    }
}

// A miss on every other question: after 「確認したよ！」 the next question is
// answered right; nothing of the miss leaks into it.
TEST_P(WholeSet, MissesInBetweenNeverSpoilTheNextQuestion)
{
    Play p(GetParam());
    Form1 &f = p.f();
    const int count = f.bank.mondaiCount;
    int asked = 0, right = 0;
    while (f.run.categoryActive == 1 && asked <= count) {
        const int no = f.bank.mondaiNo;
        const bool miss = no % 2 == 1;
        QString why;
        ASSERT_TRUE(learner::answer(f, p.hands, !miss, &why, &p.pointer)) << "question " << no << ": " << why.toStdString();
        ++asked;
        if (miss) {
            ASSERT_TRUE(f.Command3.Visible) << "question " << no << " was not judged wrong";
            // Keys pressed while the box is locked go nowhere.
            if (f.Text2.Visible)
                for (QChar c : u"12/3x"_qs)
                    f.typeKey(c.unicode());
            f.typeKey(13);
            ASSERT_TRUE(f.Command3.Visible);
            f.buttonClick(u"Command3"_qs);
            EXPECT_TRUE(f.Text2.Text.isEmpty());
            EXPECT_TRUE(f.typing.typedExpr.isEmpty());
            // Enter on the empty box does nothing.
            if (f.Text2.Visible && f.run.categoryActive == 1) {
                const int misses = f.scoreState.missCount;
                f.typeKey(13);
                EXPECT_EQ(f.scoreState.missCount, misses);
                EXPECT_FALSE(f.Command3.Visible);
            }
        } else {
            ++right;
            ASSERT_EQ(f.scoreState.correctCount, right) << "question " << no << ": " << f.currentQuestion().toStdString();
        }
    }
    EXPECT_EQ(asked, count);
    EXPECT_EQ(f.run.categoryActive, 0);
}

// Every line a set asks to draw: the right line through two of its lattice
// points is right, and where the slope is a fraction, a line to a lattice
// point beside it (one the line's value rounds to) is wrong.
TEST_P(WholeSet, EveryDrawnLineIsJudgedExactly)
{
    Play p(GetParam());
    Form1 &f = p.f();
    int lines = 0, nearMisses = 0;
    for (int asked = 0; f.run.categoryActive == 1 && asked <= f.bank.mondaiCount; ++asked) {
        const QString q = f.currentQuestion(), k = f.currentAnswer();
        const bool drawnLine = f.Command5.Visible && f.Picture6.Visible && f.figure.graphKind == 1
                               && f.graph.keyboardAnswerMode == 0;
        learner::Fraction m, b;
        if (drawnLine && learner::parseLine(k, m, b)) {
            const auto right = learner::pressesFor(k);
            ASSERT_EQ(right.size(), 2u) << q.toStdString();
            // A lattice point beside the line, where its value is no whole
            // number, apart from where the line starts (the origin for a line
            // through it).
            const auto start = b.num == 0 ? std::make_pair(0, 0) : right[0];
            for (int x = -7; x <= 7 && m.den != 1; ++x) {
                const double y = double(m.num) / m.den * x + double(b.num) / b.den;
                const int near = int(std::lround(y));
                if (x == start.first || near == start.second || std::abs(near) > 8 || near == y)
                    continue;
                p.hands.press(right[0].first, right[0].second);
                p.hands.press(x, near);
                EXPECT_EQ(f.graph.clickAnswer, u"tigau"_qs) << q.toStdString() << " through (" << x << "," << near << ")";
                ++nearMisses;
                break;
            }
            for (const auto &[x, y] : right)
                p.hands.press(x, y);
            EXPECT_EQ(f.graph.clickAnswer, k) << q.toStdString();
            ++lines;
        }
        QString why;
        ASSERT_TRUE(learner::answer(f, p.hands, true, &why, &p.pointer)) << why.toStdString();
    }
    EXPECT_EQ(f.run.categoryActive, 0);
    std::printf("drawn lines of %s: %d right, %d near misses rejected\n", GetParam().item.toUtf8().constData(),
                lines, nearMisses);
}

INSTANTIATE_TEST_SUITE_P(AllSets, WholeSet, ::testing::ValuesIn(allSets()), nameOf);

// The same plays through the driver, every set one after another in one
// program: each set chosen after the last one's chart is played to its own
// chart, from the learner's keys, presses and clicks alone.
TEST(WholeSetsThroughTheDriver, EverySetOneAfterAnother)
{
    DriveRun d;
    QDir().mkpath(d.path(u"folder"_qs));
    QStringList script{u"folder @/folder"_qs};
    int total = 0, last = 0;
    QStringList families;
    for (const SetInfo &set : allSets()) {
        Play p(set);
        const int asked = p.playRight();
        ASSERT_EQ(asked, p.f().bank.mondaiCount) << set.item.toStdString();
        total += asked;
        last = asked;
        const QString family = results::familyFileName(set.resultsFileName);
        if (!families.contains(family)) {
            families << family;
            TestForm::write(QDir(d.path(u"folder"_qs)).filePath(family), TestForm::otherSetsHistory());
        }
        script << p.script;
    }
    script << u"dump @/end.json"_qs;
    ASSERT_EQ(d.run(script.join(u'\n') + u'\n', {u"--all-sets"_qs}), 0) << d.stdErr.toStdString();
    const QJsonObject dump = d.json(u"end.json"_qs);
    const QJsonObject state = dump[u"state"_qs].toObject();
    // Each run counts its own right answers, and its record is its own score.
    EXPECT_EQ(state[u"correctCount"_qs].toInt(), last);
    EXPECT_EQ(dump[u"sounds"_qs].toArray().toVariantList().count(u"Maru.wav"_qs), total);
    EXPECT_EQ(state[u"categoryActive"_qs].toInt(), 0);
    for (const SetInfo &set : allSets()) {
        const QString family = QDir(d.path(u"folder"_qs)).filePath(results::familyFileName(set.resultsFileName));
        const QStringList records = linesOf(family).filter(u"#"_qs + set.resultsFileName);
        ASSERT_EQ(records.size(), 1) << set.item.toStdString();
        Play p(set);
        EXPECT_EQ(records[0].section(u',', 0, 0).toInt(), p.f().bank.mondaiCount) << set.item.toStdString();
    }
    // One closing message a set, and nothing else.
    const QJsonArray messages = dump[u"messages"_qs].toArray();
    EXPECT_EQ(messages.size(), qsizetype(allSets().size()));
    for (const QJsonValue &m : messages)
        EXPECT_EQ(m.toObject()[u"title"_qs].toString(), u"終わる？"_qs);
}
