// Every stored answer against its own question, worked out again by the
// independent check (src/variants/Checker.h) from what the learner is shown:
// the question text and the figure the parameters after "#" draw. Where the
// text and the figure's values tell different stories, that is a fault of its
// own: the learner cannot know which one the answer follows.
#include "TestForm.h"

#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "variants/Checker.h"

#include <cmath>
#include <cstdio>
#include <map>

using namespace variants;

namespace {

struct StoredPair {
    QString item;
    int number;
    bool asked; // within the bank's count
    QString question, answer;
    QString where() const { return item + u' ' + QString::number(number); }
};

std::vector<StoredPair> everyPair()
{
    std::vector<StoredPair> out;
    for (const banks::BankData &bank : banks::Catalogue::builtIn().banks())
        for (size_t i = 0; i < bank.pairs.size(); ++i)
            out.push_back({bank.item, int(i) + 1, int(i) < bank.count, bank.pairs[i].first, bank.pairs[i].second});
    return out;
}

} // namespace

TEST(BankAnswers, EveryStoredAnswerIsRightForWhatTheLearnerIsShown)
{
    ASSERT_TRUE(banks::Catalogue::builtIn().faults().isEmpty());
    int computedCount = 0, ownAnswer = 0;
    std::map<QString, QStringList> notComputable, fromOwnAnswer;
    const std::vector<StoredPair> pairs = everyPair();
    for (const StoredPair &p : pairs) {
        SCOPED_TRACE((p.where() + u": "_qs + p.question).toStdString());
        const Check c = recompute(p.question, p.answer);
        for (const QString &fault : c.faults)
            ADD_FAILURE() << fault.toStdString();
        switch (c.outcome) {
        case Outcome::Computed:
            ++computedCount;
            EXPECT_EQ(p.answer.toStdString(), c.expected.toStdString()) << "stored answer of " << p.where().toStdString();
            break;
        case Outcome::FromOwnAnswer:
            ++ownAnswer;
            fromOwnAnswer[c.note] << p.where();
            break;
        case Outcome::NotComputed:
            notComputable[c.note] << p.where();
            break;
        }
        // A typed answer must be one the answer box can produce. Pairs past a
        // bank's count are never asked; their angles keep the "°" of the data.
        if (p.asked && !drawnOnThePlane(p.question)) {
            EXPECT_TRUE(typeable(p.answer)) << "cannot be typed: " << p.answer.toStdString();
        }
    }

    std::printf("[ answers  ] %zu pairs checked: %d worked out again from the text and the figure, "
                "%d reading questions shown from their own answer, %d not computable\n",
                pairs.size(), computedCount, ownAnswer,
                int(pairs.size()) - computedCount - ownAnswer);
    for (const auto &[why, where] : fromOwnAnswer)
        std::printf("[ answers  ]   from own answer (%s): %lld\n", why.toUtf8().constData(),
                    static_cast<long long>(where.size()));
    for (const auto &[why, where] : notComputable)
        std::printf("[ answers  ]   not computable (%s): %s\n", why.toUtf8().constData(),
                    where.join(u", "_qs).toUtf8().constData());

    EXPECT_EQ(pairs.size(), 855u);
    EXPECT_TRUE(notComputable.empty()) << "every kind of question should be worked out again";
}

// The recomputation is only worth something if it rejects wrong answers and
// names text that disagrees with its figure: these pairs were once stored so.
TEST(BankAnswers, TheCheckRejectsWrongAnswersAndTextsThatDisagreeWithTheirFigures)
{
    struct Case {
        const char16_t *question, *stored, *expected;
        bool textDisagrees;
    };
    const Case cases[] = {
        // a triangle of area 6 stored as 4
        {u"三角形ABCの面積を求めると{   }c㎡となる。#5,-3,-1,-3,-2,-5", u"4", u"6", false},
        // a circle of radius 6 has area 36π, its half 18π
        {u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1", u"18π", u"36π", false},
        {u"半円の面積が18πの半円の面積を求めて。#0,0,6,1", u"18π", u"18π", false},
        {u"半円の面積が20πの半円の面積を求めて。#0,0,6,1", u"18π", u"18π", true},
        // the square of side 7 under y=7/4x from x=4
        {u"y=7/4xに図のようにx=4から正方形を書きました。点Cの座標をもとめて。#y=7/4x,4", u"(11,4)", u"(11,7)", false},
        {u"y=7/4xに図のようにx=4から正方形を書きました。△CODの面積をもとめて。#y=7/4x,4", u"22", u"38.5", false},
        {u"y=7/4xに図のようにx=4から正方形を書きました。台形AODCの面積をもとめて。#y=7/4x,4", u"53", u"63", false},
        {u"y=2xに図のようにx=4から正方形を書きました。原点Oと点Cを通る直線の式を求めて。#y=3/2x,4", u"y=3/5x",
         u"y=3/5x", true},
        {u"直線y=4/3xとy=2/3xに引かれたy=8上の直線BCがある。直線BCの長さを求めよ#y=4/3x,y=2/3x,6", u"6", u"4.5",
         true},
        {u"直線 m に引かれたx=8上の直線ACがある。点Ｄは(10,0)である。三角形OADの面積が45c㎡の時、直線mの式を求めなさい。#y=5/4x,8,10,45",
         u"y=5/4x", u"y=9/8x", true},
        // points on lines, midpoints
        {u" y=-x+4 の上の点(□,-3)のx座標を求めて。", u"-7", u"7", false},
        {u" y=-4/5x の上の点(□,-5)のx座標を求めて。", u"25/4", u"25/4", false},
        {u"点(1,2)(-5,-6)の中点を書き入れて", u"(-4,-2)", u"(-2,-2)", false},
        {u"点(-6,-1)をy軸の正の方向に3移動した点を書き入れて", u"(-6,2)", u"(-6,2)", false},
        // lines from words and from the general form
        {u"x=-4 のとき y=5,x=2 のとき y=-4となるグラフを書いて。", u"y=-3/2x-1", u"y=-3/2x-1", false},
        {u"3x-4y-8=4 のグラフを書いて。", u"y=3/4x-3", u"y=3/4x-3", false},
        {u"グラフが点(0,3)を通る直線の式を求めよ", u"y=ax+3", u"y=ax+3", false},
        {u"傾きが-2/3の直線の式を求めよ", u"y=-2/3x+b", u"y=-2/3x+b", false},
        // sectors, given measures, a half circle's rim
        {u"直径が6cm面積が6πc㎡のおうぎ形の中心角を求めて。#0,0,3,0,6π", u"240°", u"240°", false},
        {u"半径が5cmおうぎ形の面積が20πcmのおうぎ形の弧の長さを求めて。#0,0,5,0,20π", u"8π", u"8π", false},
        {u"半径が10cmの半円のまわりの長さを求めて。#0,0,10,1", u"10π+20", u"10π+20", false},
        {u"円の面積が64πc㎡の円の直径を求めてください。#0,0,8,1,64π", u"16", u"16", false},
        // a corner C drawn under A at B's height
        {u"直線ACの長さを求めると{   }cmとなる。#-4,5,-1,0", u"5", u"5", false},
    };
    for (const Case &c : cases) {
        const QString question = QString::fromUtf16(c.question);
        SCOPED_TRACE(question.toStdString());
        const Check check = recompute(question, QString::fromUtf16(c.stored));
        ASSERT_EQ(check.outcome, Outcome::Computed) << check.note.toStdString();
        EXPECT_EQ(check.expected.toStdString(), QString::fromUtf16(c.expected).toStdString());
        EXPECT_EQ(!check.faults.isEmpty(), c.textDisagrees) << check.faults.join(u"; "_qs).toStdString();
    }

    // A reading question's answer must be the form the learner reads off.
    EXPECT_TRUE(recompute(u"このグラフの式を求めてください。"_qs, u"y=-3/2x+4"_qs).faults.isEmpty());
    EXPECT_FALSE(recompute(u"このグラフの式を求めてください。"_qs, u"y=-6/4x+4"_qs).faults.isEmpty());
    EXPECT_FALSE(recompute(u"このグラフの式を求めてください。"_qs, u"y=1/9x+9"_qs).faults.isEmpty());
    EXPECT_TRUE(recompute(u"このグラフの式を求めて｡"_qs, u"y=-30/x"_qs).faults.isEmpty());
}

// The answers above are worked out from the figure's values as the figures
// are meant to use them. Here the program draws each figure, and the points
// it leaves (or marks) must be the ones the answers were worked out from.
TEST(BankAnswers, TheFiguresShowThePointsTheAnswersAreWorkedFrom)
{
    TestForm t;
    Form1 &f = t.start();
    int figures = 0;
    for (const SetInfo &set : setTable()) {
        const bool application = set.item.startsWith(u"ouyou"_qs);
        const bool pointReading = set.item == u"thahyou2" || set.item == u"zahyou3";
        if (!application && !pointReading)
            continue;
        SCOPED_TRACE(set.item.toStdString());
        const banks::BankData *bank = banks::Catalogue::builtIn().findItem(set.item);
        ASSERT_TRUE(bank);
        f.run.applicationSetFlag = application ? 1 : 0;
        for (size_t i = 0; i < bank->pairs.size(); ++i) {
            const auto &[question, answer] = bank->pairs[i];
            SCOPED_TRACE(question.toStdString());
            const int no = int(i) + 1;
            f.bank.shuffledMondai[size_t(no)] = question;
            f.bank.shuffledKotae[size_t(no)] = answer;
            f.bank.mondaiNo = int16_t(no);
            f.bank.mondaiCount = int16_t(bank->pairs.size());
            f.figure.appTwoLines = 0;
            f.figure.appOneLine = 0;
            f.Picture6.Cls();
            f.presentQuestion();
            ++figures;

            const Question q = split(question);
            const auto x1 = double(f.figure.figureX1), y1 = double(f.figure.figureY1);
            const auto x2 = double(f.figure.figureX2), y2 = double(f.figure.figureY2);
            const auto value = [](Frac v) { return double(v.n) / double(v.d); };
            if (pointReading) {
                // The mark is the point before any reflection the text asks for.
                std::vector<const CanvasOp *> marks;
                for (const CanvasOp *op : opsOf(f.Picture6, CanvasOp::Circle))
                    if (std::abs(op->r - 0.25) < 1e-9)
                        marks.push_back(op);
                ASSERT_EQ(marks.size(), 1u);
                long long x = std::llround(marks[0]->x1), y = std::llround(marks[0]->y1);
                if (q.has(u"x軸対称"_qs) || q.has(u"原点対称"_qs))
                    y = -y;
                if (q.has(u"y軸対称"_qs) || q.has(u"原点対称"_qs))
                    x = -x;
                EXPECT_EQ(u"(%1,%2)"_qs.arg(x).arg(y).toStdString(), answer.toStdString());
            } else if (q.has(u"正方形"_qs)) {
                const Frac x0 = q.num(1), s = *slopeOf(q.param(0)) * x0;
                EXPECT_DOUBLE_EQ(x1, value(x0));
                EXPECT_DOUBLE_EQ(y1, value(s));
                EXPECT_DOUBLE_EQ(x2, value(x0 + s));
                EXPECT_DOUBLE_EQ(y2, value(s));
            } else if (q.has(u"上の直線ACがある。"_qs)) {
                EXPECT_DOUBLE_EQ(x1, value(q.num(1)));
                EXPECT_FLOAT_EQ(float(y1), float(value(*slopeOf(q.param(0)) * q.num(1))));
                if (q.has(u"三角形OAD"_qs)) {
                    EXPECT_DOUBLE_EQ(x2, value(q.num(2)));
                }
            } else {
                const Frac k = q.num(2), m1 = *slopeOf(q.param(0)), m2 = *slopeOf(q.param(1));
                const bool horizontal = q.has(u"上の直線BCがある。"_qs);
                EXPECT_FLOAT_EQ(float(x1), float(value(horizontal ? k / m1 : k)));
                EXPECT_FLOAT_EQ(float(y1), float(value(horizontal ? k : m1 * k)));
                EXPECT_FLOAT_EQ(float(x2), float(value(horizontal ? k / m2 : k)));
                EXPECT_FLOAT_EQ(float(y2), float(value(horizontal ? k : m2 * k)));
            }
        }
    }
    EXPECT_EQ(figures, 50 + 20 + 30 + 20 + 20);
}
