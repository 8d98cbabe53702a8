// Question banks: the draw order, the built-in data and its loader, and the
// teachers' command-line listings.
#include "TestForm.h"
#include "app/Listing.h"
#include "app/SetTable.h"
#include "banks/Catalogue.h"

#include <QRegularExpression>

#include <array>
#include <limits>
#include <map>
#include <set>

namespace {

// Question i is "Qi" with answer "Ai", so the draw order can be checked
// against the bank without knowing any real texts.
Form1 &fillNumbered(Form1 &f, int count)
{
    for (int i = 1; i <= count; ++i) {
        f.bank.mondai[size_t(i)] = QStringLiteral("Q%1").arg(i);
        f.bank.kotae[size_t(i)] = QStringLiteral("A%1").arg(i);
    }
    f.bank.mondaiCount = int16_t(count);
    return f;
}

// Every question drawn exactly once, with its own answer, and never outside
// its block of ten; nothing is written beyond the count.
void expectShuffledInBlocks(const Form1 &f, int count)
{
    std::set<int> seen;
    for (int pos = 1; pos <= count; ++pos) {
        const QString q = f.bank.shuffledMondai[size_t(pos)];
        ASSERT_TRUE(q.startsWith(u'Q')) << "position " << pos << " of " << count;
        const int n = q.mid(1).toInt();
        EXPECT_EQ(f.bank.shuffledKotae[size_t(pos)], QStringLiteral("A%1").arg(n));
        EXPECT_EQ((n - 1) / 10, (pos - 1) / 10) << "question " << n << " left its block";
        EXPECT_TRUE(seen.insert(n).second) << "question " << n << " drawn twice";
    }
    EXPECT_EQ(int(seen.size()), count);
    for (size_t pos = size_t(count) + 1; pos < f.bank.shuffledMondai.size(); ++pos)
        EXPECT_TRUE(f.bank.shuffledMondai[pos].isEmpty()) << "position " << pos;
}

class RecordingRandom : public Random {
public:
    QStringList log;
    void reseed(double clockSeconds) override { log << QStringLiteral("reseed %1").arg(clockSeconds); }
    double next() override
    {
        log << QStringLiteral("next");
        return 0.5;
    }
};

struct Listed {
    int rc = -1;
    bool handled = false;
    QString out, err;
    QStringList lines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
};

Listed listing(const QStringList &args)
{
    Listed r;
    QTextStream out(&r.out), err(&r.err);
    r.rc = runTeacherListing(args, out, err, r.handled);
    return r;
}

} // namespace

TEST(DrawOrder, KeepsEachQuestionWithItsAnswerInsideItsBlockOfTen)
{
    // 32 and 41 leave a last block of 2 and of 1.
    int moved = 0;
    for (int count : {20, 30, 32, 41}) {
        for (double clock : {0.0, 33000.25, 86399.9}) {
            SCOPED_TRACE(testing::Message() << "count " << count << ", clock " << clock);
            TestForm t;
            t.clock.seconds = clock;
            Form1 &f = fillNumbered(t.make(), count);
            f.shuffleMondai();
            expectShuffledInBlocks(f, count);
            for (size_t pos = 1; pos <= size_t(count); ++pos)
                moved += f.bank.shuffledMondai[pos] != f.bank.mondai[pos];
        }
    }
    EXPECT_GT(moved, 200) << "the program's own generator hardly shuffles";
}

TEST(DrawOrder, ReseedsFromTheClockBeforeEveryDraw)
{
    TestForm t;
    t.clock.seconds = 4321.5;
    RecordingRandom random;
    Form1 f(FormServices{t.clock, random, t.dialogs, t.sound1, t.sound2, t.metrics, t.paths});
    fillNumbered(f, 12);
    f.shuffleMondai();
    QStringList expected;
    for (int i = 0; i < 12; ++i)
        expected << QStringLiteral("reseed 4321.5") << QStringLiteral("next");
    EXPECT_EQ(random.log, expected);
}

TEST(DrawOrder, ScriptedDrawsGiveBankOrderOrAReversedBlock)
{
    {
        SCOPED_TRACE("every draw 0.99: j = k each time, nothing moves");
        TestForm t;
        Form1 &f = fillNumbered(t.make(), 32);
        t.queueDraws(0.99, 32);
        f.shuffleMondai();
        EXPECT_EQ(t.random.queued(), 0u) << "one draw per question";
        for (size_t pos = 1; pos <= 32; ++pos) {
            EXPECT_EQ(f.bank.shuffledMondai[pos], f.bank.mondai[pos]);
            EXPECT_EQ(f.bank.shuffledKotae[pos], f.bank.kotae[pos]);
        }
    }
    {
        // Reversing needs p(k) = 11 - k. Drawing j = 1, 2, 3, 4, 5 for
        // k = 10 … 6 takes the values 1 … 5 and moves 10 … 6 down into the
        // slots they leave; from k = 5 on, a(k) already holds 11 - k, so
        // j = k (r = 0.99).
        SCOPED_TRACE("first block reversed, second block kept");
        TestForm t;
        Form1 &f = fillNumbered(t.make(), 20);
        for (double r : {0.05, 0.2, 0.3, 0.5, 0.75})
            t.random.queue(r);
        t.queueDraws(0.99, 15);
        f.shuffleMondai();
        for (int pos = 1; pos <= 10; ++pos)
            EXPECT_EQ(f.bank.shuffledMondai[size_t(pos)], QStringLiteral("Q%1").arg(11 - pos));
        for (int pos = 11; pos <= 20; ++pos)
            EXPECT_EQ(f.bank.shuffledMondai[size_t(pos)], QStringLiteral("Q%1").arg(pos));
    }
    {
        SCOPED_TRACE("draws outside [0, 1) still give a permutation");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        TestForm t;
        Form1 &f = fillNumbered(t.make(), 41);
        for (int i = 0; i < 41; ++i)
            t.random.queue(std::array{1.0, -0.5, 7.0, nan, 0.9999999}[size_t(i % 5)]);
        f.shuffleMondai();
        expectShuffledInBlocks(f, 41);
    }
}

TEST(DrawOrder, FaultyBankDataEndsTheProgram)
{
    {
        SCOPED_TRACE("an empty question within the count");
        TestForm t;
        Form1 &f = fillNumbered(t.make(), 30);
        f.bank.mondai[17].clear();
        try {
            f.shuffleMondai();
            ADD_FAILURE() << "no ProgramEnd";
        } catch (const ProgramEnd &end) {
            EXPECT_TRUE(end.reason.contains(u"question 17")) << end.reason.toStdString();
        }
        EXPECT_TRUE(f.closed);
    }
    for (int count : {101, -1, 1000}) {
        SCOPED_TRACE(testing::Message() << "count " << count);
        TestForm t;
        Form1 &f = fillNumbered(t.make(), 100);
        f.bank.mondaiCount = int16_t(count);
        EXPECT_THROW(f.shuffleMondai(), ProgramEnd);
        EXPECT_EQ(f.bank.shuffledMondai.size(), 201u);
    }
}

TEST(BankCatalogue, EveryRoutineWritesItsPairsAndSetsItsCount)
{
    // item: count asked, pairs written
    const std::map<QString, std::pair<int, int>> expected = {
        {u"thahyo1"_qs, {40, 40}},   {u"thahyou2"_qs, {50, 50}},      {u"zahyou3"_qs, {20, 20}},
        {u"nagasa"_qs, {30, 30}},    {u"menseki1"_qs, {20, 20}},      {u"sanmen"_qs, {20, 20}},
        {u"enmenko"_qs, {30, 42}},   {u"graread1"_qs, {30, 30}},      {u"graread2"_qs, {30, 30}},
        {u"grawrite1"_qs, {50, 50}}, {u"grawrite2"_qs, {40, 40}},     {u"grerewri"_qs, {50, 50}},
        {u"senza1"_qs, {41, 41}},    {u"ouyou1"_qs, {30, 30}},        {u"ouyou2"_qs, {20, 20}},
        {u"ouyou3"_qs, {20, 20}},    {u"gra2read1"_qs, {40, 40}},     {u"gra2read2"_qs, {30, 30}},
        {u"gura2wri3"_qs, {40, 40}}, {u"gurafukaki42n"_qs, {50, 50}}, {u"gra2write1"_qs, {30, 30}},
        {u"gra2write"_qs, {30, 30}}, {u"gtyokusen1"_qs, {32, 32}},    {u"gra2rewri2"_qs, {40, 40}},
        {u"tyosenten2"_qs, {30, 30}},
    };
    const banks::Catalogue &catalogue = banks::Catalogue::builtIn();
    EXPECT_TRUE(catalogue.faults().isEmpty()) << catalogue.faults().join(u'\n').toStdString();
    EXPECT_EQ(catalogue.banks().size(), 25u);
    ASSERT_EQ(setTable().size(), 25u);

    int total = 0;
    for (const SetInfo &set : setTable()) {
        SCOPED_TRACE(set.item.toStdString());
        ASSERT_TRUE(expected.count(set.item));
        const auto [count, written] = expected.at(set.item);
        const banks::BankData *data = catalogue.findItem(set.item);
        ASSERT_TRUE(data);
        EXPECT_EQ(data->routine, set.bankRoutine) << "data file and set table disagree";

        TestForm t;
        Form1 &f = t.make();
        ASSERT_TRUE(f.runBankRoutine(set.bankRoutine));
        EXPECT_EQ(f.bank.mondaiCount, count);
        for (int i = 1; i <= written; ++i) {
            EXPECT_FALSE(f.bank.mondai[size_t(i)].isEmpty()) << "question " << i;
            EXPECT_FALSE(f.bank.kotae[size_t(i)].isEmpty()) << "answer " << i;
        }
        EXPECT_TRUE(f.bank.mondai[size_t(written) + 1].isEmpty());
        total += written;
    }
    EXPECT_EQ(total, 855);

    TestForm t;
    EXPECT_FALSE(t.make().runBankRoutine(u"bankTaiseki"_qs));
}

TEST(BankCatalogue, KeepsTheTextsThatAreEasyToGetWrong)
{
    struct Case {
        const char16_t *routine;
        int i;
        const char16_t *question, *answer;
    };
    const Case cases[] = {
        // "。。" kept doubled
        {u"bankEnmenko", 15, u"左のおうぎ形の面積を求めると{   }c㎡となる。。#0,0,10,0,90", u"25π"},
        // slots beyond the count are written too
        {u"bankEnmenko", 42, u"半径が5cmおうぎ形の面積が20πcmのおうぎ形の弧の長さを求めて。#0,0,5,0,20π", u"8π"},
        // three blanks in the braces, parameters after the shared prefix
        {u"bankNagasa", 1, u"直線ABの長さを求めると{   }cmとなる。#3,4,3,1", u"3"},
        {u"bankMenseki1", 20, u"三角形ABCの面積を求めると{   }c㎡となる。#-1,5,-6,-4,6,-4", u"54"},
        // leading blank
        {u"bankSenza1", 41, u" y=-4/5x の上の点(□,-2)のx座標を求めて。", u"5/2"},
        {u"gra2senzyou1", 1, u" y=2x の上の点(3,□)のy座標を求めて。", u"6"},
        // half-width "｡" beside full-width "。"
        {u"bankGraread2", 19, u"このグラフの式を求めて｡", u"y=-30/x"},
        {u"bankGraread2", 20, u"このグラフの式を求めて。", u"y=-2x"},
        // one text for the whole bank
        {u"bankGra2write", 30, u"このグラフの式を求めてください。", u"y=-5/3x-5"},
        // full-width blank, full-width Ｄ, letters in answers, no blank in points
        {u"bankGurafukaki42n", 46, u"傾きが-3/2　で,点(4,-1)を通るグラフを書いて。", u"y=-3/2x+5"},
        {u"bankOuyou3", 14, u"直線 m に引かれたx=6上の直線ACがある。点Ｄは(4,0)である。三角形OADの面積が12c㎡の時、直線mの式を求めなさい。#y=x,6,4,12", u"y=x"},
        {u"bankGtyokusen1", 21, u"切片が-4の直線の式を求めよ", u"y=ax-4"},
        {u"bankZahyou1", 1, u"(3,-2)の点を書き入れてください。", u"(3,-2)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << QString::fromUtf16(c.routine).toStdString() << " " << c.i);
        TestForm t;
        Form1 &f = t.make();
        ASSERT_TRUE(f.runBankRoutine(QString::fromUtf16(c.routine)));
        EXPECT_EQ(f.bank.mondai[size_t(c.i)], QString::fromUtf16(c.question));
        EXPECT_EQ(f.bank.kotae[size_t(c.i)], QString::fromUtf16(c.answer));
    }
}

TEST(BankDataFile, KeepsTextsExactlyAndSkipsCommentsBlanksAndLineEndings)
{
    const QByteArray file = "\xEF\xBB\xBF# comment\r\n"
                            "\r\n"
                            "[one bankOne 2]\r\n"
                            "1\t lead and trail \t(1,2)\r\n"
                            "# between rows\n"
                            "2\tQ#1,2\tA\n"
                            "3\textra\tB\n";
    const banks::Catalogue c = banks::Catalogue::parse({{u"a.tsv"_qs, file}});
    ASSERT_TRUE(c.faults().isEmpty()) << c.faults().join(u'\n').toStdString();
    const banks::BankData *b = c.findRoutine(u"bankOne"_qs);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->item, u"one"_qs);
    EXPECT_EQ(b->count, 2);
    ASSERT_EQ(b->pairs.size(), 3u);
    EXPECT_EQ(b->pairs[0].first, u" lead and trail "_qs);
    EXPECT_EQ(b->pairs[1].first, u"Q#1,2"_qs);
    EXPECT_TRUE(b->fault.isEmpty());
}

TEST(BankDataFile, AFaultAnywhereMarksEveryBankOfThatFile)
{
    const QByteArray good = "[good bankGood 1]\n1\tq\ta\n";
    const struct {
        const char *what;
        QByteArray body;
        int line;
    } cases[] = {
        {"one tab", "[x bankX 1]\n1\tq\n[y bankY 1]\n1\tq\ta\n", 2},
        {"three tabs", "[x bankX 1]\n1\tq\ta\tb\n[y bankY 1]\n1\tq\ta\n", 2},
        {"number skipped", "[x bankX 2]\n1\tq\ta\n3\tq\ta\n[y bankY 1]\n1\tq\ta\n", 3},
        {"number not a number", "[x bankX 1]\nI\tq\ta\n[y bankY 1]\n1\tq\ta\n", 2},
        {"count above the rows", "[x bankX 3]\n1\tq\ta\n2\tq\ta\n[y bankY 1]\n1\tq\ta\n", 1},
        {"row before any bank", "1\tq\ta\n[x bankX 1]\n1\tq\ta\n[y bankY 1]\n1\tq\ta\n", 1},
        {"broken header", "[x bankX]\n1\tq\ta\n[y bankY 1]\n1\tq\ta\n", 1},
        {"count above 100", "[x bankX 101]\n1\tq\ta\n[y bankY 1]\n1\tq\ta\n", 1},
        {"bank listed twice", "[y bankY 1]\n1\tq\ta\n[y bankY 1]\n1\tq\ta\n", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const banks::Catalogue cat =
            banks::Catalogue::parse({{u"good.tsv"_qs, good}, {u"bad.tsv"_qs, c.body}});
        ASSERT_FALSE(cat.faults().isEmpty());
        EXPECT_TRUE(cat.faults().first().startsWith(QStringLiteral("bad.tsv:%1: ").arg(c.line)))
            << cat.faults().first().toStdString();
        const banks::BankData *y = cat.findRoutine(u"bankY"_qs);
        ASSERT_TRUE(y);
        EXPECT_FALSE(y->fault.isEmpty());
        ASSERT_TRUE(cat.findRoutine(u"bankGood"_qs));
        EXPECT_TRUE(cat.findRoutine(u"bankGood"_qs)->fault.isEmpty());
    }
}

TEST(TeacherListing, PrintBankListsEveryWrittenPair)
{
    const Listed r = listing({u"soremuka"_qs, u"--print-bank"_qs, u"enmenko"_qs});
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.rc, 0);
    EXPECT_TRUE(r.err.isEmpty());
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 42);
    static const QRegularExpression row(QStringLiteral("^(\\d+)\\t([^\\t]+)\\t([^\\t]+)$"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = row.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i + 1);
    }
    EXPECT_EQ(lines[14], u"15\t左のおうぎ形の面積を求めると{   }c㎡となる。。#0,0,10,0,90\t25π"_qs);

    const Listed s = listing({u"--print-bank=senza1"_qs});
    EXPECT_EQ(s.rc, 0);
    ASSERT_EQ(s.lines().size(), 41);
    EXPECT_EQ(s.lines()[0], u"1\t y=x の上の点(□,6)のx座標を求めて。\t6"_qs);
}

TEST(TeacherListing, UnknownOrMissingItemExitsWithTwoAndNamesTheValidOnes)
{
    for (const QStringList &args : {QStringList{u"--print-bank"_qs, u"taiseki"_qs},
                                    QStringList{u"--print-bank"_qs}}) {
        const Listed r = listing(args);
        EXPECT_TRUE(r.handled);
        EXPECT_EQ(r.rc, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(u"thahyo1"_qs) && r.err.contains(u"tyosenten2"_qs))
            << r.err.toStdString();
    }
}

TEST(TeacherListing, ListSetsShowsCaptionCountAndResultsFileInMenuOrder)
{
    const Listed r = listing({u"soremuka"_qs, u"--list-sets"_qs});
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.rc, 0);
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 25);
    EXPECT_EQ(lines.first(), u"thahyo1\t座標1\t40\t座標問題1.txt"_qs);
    EXPECT_EQ(lines.last(), u"tyosenten2\t直線上の点2\t30\t2年関応用5.txt"_qs);
    EXPECT_TRUE(lines.contains(u"enmenko\t円面弧1\t30\t円の面積弧1.txt"_qs));
    EXPECT_TRUE(lines.contains(u"ouyou1\t応用１\t30\t1年関数応用1.txt"_qs));
    EXPECT_FALSE(r.out.contains(u"taiseki"_qs));
}

TEST(TeacherListing, OtherCommandLinesAreLeftToTheProgram)
{
    const Listed r = listing({u"soremuka"_qs, u"--something"_qs});
    EXPECT_FALSE(r.handled);
    EXPECT_EQ(r.rc, 0);
    EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty());
}

// A set's bank in new numbers, as the window would ask it with that seed,
// and the seed of a learner's day; seeds and dates that cannot be read are
// refused.
TEST(TeacherListing, PrintsABankInNewNumbersAndTheSeedOfALearnersDay)
{
    const Listed r = listing({u"soremuka"_qs, u"--print-bank"_qs, u"nagasa"_qs, u"--variant"_qs, u"2531561452"_qs});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 30);
    EXPECT_EQ(lines[0], u"1\t直線ABの長さを求めると{   }cmとなる。#-5,5,-5,-6\t11"_qs);
    const banks::BankData *own = banks::Catalogue::builtIn().findItem(u"nagasa"_qs);
    for (int i = 0; i < 30; ++i)
        EXPECT_NE(lines[i].section(u'\t', 1), own->pairs[size_t(i)].first + u'\t' + own->pairs[size_t(i)].second);
    // The same seed written the other way gives the same bank.
    EXPECT_EQ(listing({u"--variant=2531561452"_qs, u"--print-bank=nagasa"_qs}).out, r.out);

    const Listed seed = listing({u"soremuka"_qs, u"--variant-seed"_qs, u"nagasa"_qs, u"とくめい"_qs, u"2026/12/08"_qs});
    EXPECT_EQ(seed.rc, 0);
    EXPECT_EQ(seed.out, u"2531561452\n"_qs);

    const QStringList refused[] = {
        {u"--print-bank"_qs, u"nagasa"_qs, u"--variant"_qs, u"-3"_qs},
        {u"--print-bank"_qs, u"nagasa"_qs, u"--variant"_qs},
        {u"--print-bank"_qs, u"nagasa"_qs, u"--variant=99999999999"_qs},
        {u"--variant-seed"_qs, u"nagasa"_qs, u"とくめい"_qs},
        {u"--variant-seed"_qs, u"nagasa"_qs, u"とくめい"_qs, u"2026-12-08"_qs},
        {u"--variant-seed"_qs, u"nope"_qs, u"とくめい"_qs, u"2026/12/08"_qs},
    };
    for (const QStringList &args : refused) {
        const Listed w = listing(args);
        EXPECT_TRUE(w.handled);
        EXPECT_EQ(w.rc, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(w.out.isEmpty());
        EXPECT_FALSE(w.err.isEmpty());
    }
}
