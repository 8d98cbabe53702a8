// The worksheet's parts inside the process: answers set as on paper, question
// texts wrapped to a cell, the questions and figures taken from the form, and
// the command line.
#include "banks/Catalogue.h"
#include "ui/Fonts.h"
#include "ui/QtTextMetrics.h"
#include "variants/VariantBank.h"
#include "worksheet/AnswerTypeset.h"
#include "worksheet/WorksheetCommand.h"
#include "worksheet/WorksheetPages.h"
#include "worksheet/WorksheetSource.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace worksheet;

namespace {

using P = MathPiece;

// The rows of an image that hold ink: first and last.
std::pair<int, int> inkRows(const QImage &image)
{
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

std::pair<int, int> inkOf(const QString &answer)
{
    QImage image(1200, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    drawMath(p, QPointF(20, 350), parseMath(answer), fonts::twipsFont(QString(), 10, false));
    p.end();
    return inkRows(image);
}

const Entry *findEntry(const Sheet &s, const QString &question)
{
    for (const Entry &e : s.entries)
        if (e.question == question)
            return &e;
    return nullptr;
}

int countOps(const Canvas &c, CanvasOp::Kind kind, const QString &text = {})
{
    return int(std::count_if(c.ops().begin(), c.ops().end(), [&](const CanvasOp &op) {
        return op.kind == kind && (text.isEmpty() || op.text == text);
    }));
}

} // namespace

TEST(AnswerTypeset, CutsFractionsPowersAndPlainText)
{
    const struct {
        QString answer;
        std::vector<MathPiece> pieces;
    } cases[] = {
        {u"y=-2/3x+4"_qs, {{P::Text, u"y=-"_qs, {}}, {P::Fraction, u"2"_qs, u"3"_qs}, {P::Text, u"x+4"_qs, {}}}},
        {u"y=6/x"_qs, {{P::Text, u"y="_qs, {}}, {P::Fraction, u"6"_qs, u"x"_qs}}},
        {u"-9/2"_qs, {{P::Text, u"-"_qs, {}}, {P::Fraction, u"9"_qs, u"2"_qs}}},
        {u"25/4"_qs, {{P::Fraction, u"25"_qs, u"4"_qs}}},
        {u"y=2x+1/2"_qs, {{P::Text, u"y=2x+"_qs, {}}, {P::Fraction, u"1"_qs, u"2"_qs}}},
        {u"x^2"_qs, {{P::Text, u"x"_qs, {}}, {P::Power, u"2"_qs, {}}}},
        {u"5-(-3)^2-2^12"_qs,
         {{P::Text, u"5-(-3)"_qs, {}}, {P::Power, u"2"_qs, {}}, {P::Text, u"-2"_qs, {}}, {P::Power, u"12"_qs, {}}}},
        {u"y=x^2/3"_qs, {{P::Text, u"y=x"_qs, {}}, {P::Power, u"2"_qs, {}}, {P::Text, u"/3"_qs, {}}}},
        // Nothing to stand on: the marks stay as they are.
        {u"/3"_qs, {{P::Text, u"/3"_qs, {}}}},
        {u"2/"_qs, {{P::Text, u"2/"_qs, {}}}},
        {u"x^"_qs, {{P::Text, u"x^"_qs, {}}}},
        {u"(3,-2)"_qs, {{P::Text, u"(3,-2)"_qs, {}}}},
        {u"10π+20"_qs, {{P::Text, u"10π+20"_qs, {}}}},
        {u"240°"_qs, {{P::Text, u"240°"_qs, {}}}},
        {QString(), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        EXPECT_EQ(parseMath(c.answer), c.pieces);
    }
}

TEST(AnswerTypeset, FractionsStandAboveAndBelowTheLineAndPowersAreRaised)
{
    const auto plain = inkOf(u"y=-x"_qs);
    const auto stacked = inkOf(u"y=-2/3x"_qs);
    const auto power = inkOf(u"x^2"_qs);
    const auto base = inkOf(u"x"_qs);
    ASSERT_GE(plain.first, 0);
    // The numerator rises over the letters, the denominator hangs below.
    EXPECT_LT(stacked.first, plain.first);
    EXPECT_GT(stacked.second, plain.second - 5);
    EXPECT_GT(stacked.second - stacked.first, 1.4 * (plain.second - plain.first));
    EXPECT_LT(power.first, base.first - 20);

    const QFont f = fonts::twipsFont(QString(), 10, false);
    const MathBox a = measureMath(parseMath(u"y=-x"_qs), f), b = measureMath(parseMath(u"y=-2/3x"_qs), f);
    EXPECT_GT(b.ascent, a.ascent);
    EXPECT_GT(b.descent, a.descent);
}

// Lines are as wide as they are set (fractions stacked); a point, a blank
// with its unit and an equation are never split, and no line starts with
// a closing mark.
TEST(WorksheetText, WrapsAQuestionWholeWithoutSplittingItsBlank)
{
    const QFont f = fonts::twipsFont(QString(), 10, false);
    const QString texts[] = {
        u"左のおうぎ形の面積を求めると{   }c㎡となる。。"_qs,
        u"直線 m に引かれたx=12上の直線ACがある。点Ｄは(6,0)である。三角形OADの面積が27c㎡の時、直線mの式を求めなさい。"_qs,
        u" y=-2/3x の上の点(□,4)のx座標を求めて。"_qs,
    };
    for (const QString &t : texts)
        for (double width : {1500.0, 2600.0, 4000.0}) {
            SCOPED_TRACE(t.toStdString() + " in " + std::to_string(width));
            const QStringList lines = wrapLines(t, f, width);
            EXPECT_EQ(lines.join(QString()), t);
            for (const QString &line : lines) {
                EXPECT_LE(measureMath(parseMath(line.trimmed()), f).width, width + 1);
                EXPECT_EQ(line.count(u'{'), line.count(u'}')) << line.toStdString();
                EXPECT_EQ(line.count(u'('), line.count(u')')) << line.toStdString();
                EXPECT_FALSE(line.startsWith(u'。') || line.startsWith(u'、')) << line.toStdString();
            }
            EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                                     [](const QString &l) { return l.endsWith(u"y=-2"_qs) || l.endsWith(u"x="_qs); }));
        }
    EXPECT_EQ(wrapLines(u"短い"_qs, f, 3000).size(), 1);
}

struct WorksheetSource : ::testing::Test {
    QtTextMetrics metrics;
    Sheet sheet(const char *item, Order order = Order::Bank)
    {
        return collectSheet(QString::fromLatin1(item), order, metrics);
    }
};

TEST_F(WorksheetSource, BankOrderHoldsEveryPairTheSetAsks)
{
    for (const char *item : {"thahyo1", "nagasa", "enmenko", "grawrite1", "senza1", "ouyou1", "ouyou3", "tyosenten2"}) {
        SCOPED_TRACE(item);
        const banks::BankData *bank = banks::Catalogue::builtIn().findItem(QString::fromLatin1(item));
        ASSERT_TRUE(bank);
        const Sheet s = sheet(item);
        ASSERT_EQ(int(s.entries.size()), bank->count);
        for (int i = 0; i < bank->count; ++i) {
            const Entry &e = s.entries[size_t(i)];
            EXPECT_EQ(e.number, i + 1);
            EXPECT_EQ(e.question, bank->pairs[size_t(i)].first.section(u'#', 0, 0));
            EXPECT_FALSE(e.question.contains(u'#'));
            EXPECT_EQ(e.answer, bank->pairs[size_t(i)].second);
            EXPECT_FALSE(e.figure.ops().empty()) << "question " << i + 1 << " has no figure";
        }
    }
}

TEST_F(WorksheetSource, ShuffledOrderMovesQuestionsOnlyWithinTheirBlockOfTen)
{
    const banks::BankData *bank = banks::Catalogue::builtIn().findItem(u"thahyo1"_qs);
    const Sheet s = sheet("thahyo1", Order::Shuffled);
    ASSERT_EQ(int(s.entries.size()), bank->count);
    int moved = 0;
    for (int block = 0; block < bank->count; block += 10) {
        std::multimap<QString, QString> inBank, onSheet;
        for (int i = block; i < std::min(block + 10, bank->count); ++i) {
            inBank.emplace(bank->pairs[size_t(i)].first, bank->pairs[size_t(i)].second);
            onSheet.emplace(s.entries[size_t(i)].question, s.entries[size_t(i)].answer);
            moved += s.entries[size_t(i)].question != bank->pairs[size_t(i)].first;
        }
        EXPECT_EQ(inBank, onSheet) << "block from " << block + 1;
    }
    EXPECT_GT(moved, 10);
}

TEST_F(WorksheetSource, TheKeyHoldsWhatTheLearnerTypes)
{
    const Sheet points = sheet("thahyou2");
    const struct {
        int n;
        const char16_t *expected, *answer;
    } cases[] = {
        {1, u"-4", u"(-4,-2)"},  // ここの点のx座標
        {2, u"4", u"(-1,4)"},    // ここの点のy座標
        {7, u"(-1,-4)", u"(-1,-4)"}, // ここの点の座標: the whole point
        {17, u"1", u"(1,-4)"},   // 原点対称な点のx座標: of the answer itself
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(points.entries[size_t(c.n - 1)].expected, QString::fromUtf16(c.expected));
        EXPECT_EQ(points.entries[size_t(c.n - 1)].answer, QString::fromUtf16(c.answer));
    }
    // A hidden coordinate behind "□" is stored as the number to type.
    const Sheet line = sheet("senza1");
    EXPECT_EQ(line.entries[23].expected, u"-9/2"_qs);
    EXPECT_EQ(line.entries[23].answer, u"-9/2"_qs);
    // Where D is asked for, the point itself is the answer.
    const Sheet app = sheet("ouyou3");
    EXPECT_EQ(app.entries[10].expected, u"(8,0)"_qs);
}

TEST_F(WorksheetSource, FiguresAreWhatTheLearnerSeesAtTheStart)
{
    // A drawing question shows the plane only, never its answer; a reading
    // question shows the graph to be read.
    const Sheet draw = sheet("grawrite1"), read = sheet("graread1");
    for (const Entry &e : draw.entries)
        EXPECT_EQ(countOps(e.figure, CanvasOp::Polyline), 0) << e.number;
    for (const Entry &e : read.entries)
        EXPECT_EQ(countOps(e.figure, CanvasOp::Polyline), 1) << e.number;

    // The point to read is marked where the question has it.
    const Sheet points = sheet("thahyou2");
    const CanvasOp *mark = nullptr;
    for (const CanvasOp &op : points.entries[0].figure.ops())
        if (op.kind == CanvasOp::Circle)
            mark = &op;
    ASSERT_TRUE(mark);
    EXPECT_DOUBLE_EQ(mark->x1, -4);
    EXPECT_DOUBLE_EQ(mark->y1, -2);
    EXPECT_DOUBLE_EQ(mark->r, 0.25);

    const Sheet circles = sheet("enmenko");
    const Entry *sector = findEntry(circles, u"左のおうぎ形の面積を求めてみると{   }c㎡となる。"_qs);
    ASSERT_TRUE(sector);
    EXPECT_EQ(countOps(sector->figure, CanvasOp::Arc), 1);

    // The application sets are presented twice when they start; the sheet
    // shows each figure once, on its own plane.
    for (const char *item : {"ouyou2", "ouyou3"}) {
        const Sheet s = sheet(item);
        for (const Entry &e : s.entries) {
            EXPECT_EQ(countOps(e.figure, CanvasOp::Print, u"O"_qs), 1) << item << " " << e.number;
            EXPECT_GT(e.figure.scale().left, -9) << item << " " << e.number;
        }
    }
}

// A drawing question's key is its plane with the answer drawn on it in red
// (the line, or the point), and the sheet keeps the plane as the question
// shows it; the typed answers keep no drawing.
TEST_F(WorksheetSource, KeysOfDrawingQuestionsDrawTheAnswer)
{
    const Sheet lines = sheet("grawrite1"), points = sheet("thahyo1"), typed = sheet("nagasa");
    for (const Entry &e : lines.entries) {
        ASSERT_TRUE(e.drawn) << e.number;
        EXPECT_EQ(countOps(e.figure, CanvasOp::Polyline), 0) << e.number;
        int red = 0;
        for (const CanvasOp &op : e.keyFigure.ops())
            red += op.kind == CanvasOp::Polyline && op.color == 255;
        EXPECT_EQ(red, 1) << e.number;
    }
    const Entry &first = points.entries.front(); // (3,-2)
    ASSERT_TRUE(first.drawn);
    bool marked = false;
    for (const CanvasOp &op : first.keyFigure.ops())
        marked = marked || (op.kind == CanvasOp::Circle && op.x1 == 3 && op.y1 == -2 && op.fill == std::optional<int32_t>(255));
    EXPECT_TRUE(marked);
    for (const Entry &e : typed.entries)
        EXPECT_FALSE(e.drawn) << e.number;
}

// What the learner types: a fraction denominator first, an exponent as the
// digit after its letter, π as P.
TEST(AnswerTypeset, TheKeysOfAnAnswer)
{
    const struct {
        const char16_t *answer, *keys;
    } rows[] = {
        {u"y=-5/2x", u"y=-2/5x"}, {u"y=2/3x+4", u"y=3/2x+4"}, {u"y=-12/x", u"y=-x/12"},
        {u"-9/2", u"-2/9"},       {u"20π", u"20P"},           {u"y=x^2", u"y=x2"},
        {u"(3,-2)", u"(3,-2)"},   {u"y=2x+1", u"y=2x+1"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(typedKeys(QString::fromUtf16(r.answer)), QString::fromUtf16(r.keys)) << QString::fromUtf16(r.answer).toStdString();
}

// On paper at 150 dpi the axes stand out of the grid: black and wider where
// the grid is grey.
TEST_F(WorksheetSource, OnPaperTheAxesStandOutOfTheGrid)
{
    const Sheet s = sheet("grawrite1");
    const SheetLayout layout(s, {3, false});
    const double dpi = 150;
    QImage page(int(kPageWidth / 1440 * dpi), int(kPageHeight / 1440 * dpi), QImage::Format_RGB32);
    {
        QPainter p(&page);
        p.scale(dpi / 1440, dpi / 1440);
        layout.paintPage(p, 0);
    }
    // Along a row of pixels through the first figure's middle, the upright
    // axis is the one dark run, two or more pixels of near black; the grid
    // lines across the row are grey.
    int darkRuns = 0, axisDark = 0, gridDark = 0;
    bool inRun = false;
    const int y = int(page.height() * 0.21);
    for (int x = int(page.width() * 0.08); x < int(page.width() * 0.36); ++x) {
        const int g = qGray(page.pixel(x, y));
        axisDark += g < 60;
        gridDark += g >= 110 && g < 220;
        darkRuns += g < 110 && !inRun;
        inRun = g < 110;
    }
    EXPECT_EQ(darkRuns, 1);
    EXPECT_GE(axisDark, 2);
    EXPECT_GT(gridDark, 10);
}

TEST_F(WorksheetSource, RefusesItemsWithoutQuestionsAndLeavesNoRecord)
{
    const struct {
        const char *item;
        const char16_t *says;
    } refused[] = {{"nope", u"unknown item"}, {"thahyo", u"unknown item"}, {"taiseki", u"no questions"}, {"", u"unknown item"}};
    for (const auto &r : refused) {
        SCOPED_TRACE(r.item);
        try {
            sheet(r.item);
            ADD_FAILURE() << "no error";
        } catch (const SheetError &e) {
            EXPECT_EQ(e.exitCode, 2);
            EXPECT_TRUE(e.message.contains(QString::fromUtf16(r.says))) << e.message.toStdString();
        }
    }

    // Making a sheet starts a run in a form, but its results file goes to a
    // scratch folder that is gone afterwards.
    QTemporaryDir here;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(here.path()));
    sheet("nagasa");
    QDir::setCurrent(before);
    EXPECT_TRUE(QDir(here.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

// A sheet in new numbers holds the set's variant of that seed, in bank
// order, and every page names the seed at its foot.
TEST_F(WorksheetSource, ANewNumbersSheetHoldsTheVariantAndNamesItsSeed)
{
    const banks::BankData *bank = banks::Catalogue::builtIn().findItem(u"ouyou1"_qs);
    const Sheet s = collectSheet(u"ouyou1"_qs, Order::Bank, metrics, 123);
    EXPECT_EQ(s.variantSeed, u"123"_qs);
    const variants::VariantBank v = variants::variantBank(bank->pairs, bank->count, 123);
    ASSERT_EQ(int(s.entries.size()), bank->count);
    for (int i = 0; i < bank->count; ++i) {
        EXPECT_EQ(s.entries[size_t(i)].question, v.pairs[size_t(i)].question.section(u'#', 0, 0));
        EXPECT_EQ(s.entries[size_t(i)].answer, v.pairs[size_t(i)].answer);
    }
    EXPECT_TRUE(sheet("ouyou1").variantSeed.isEmpty());

    // Ink in the foot of the page only with a seed.
    auto footInk = [](const Sheet &sheet) {
        const SheetLayout layout(sheet, {3, true});
        QImage page(595, 842, QImage::Format_RGB32);
        QPainter p(&page);
        p.scale(page.width() / kPageWidth, page.height() / kPageHeight);
        layout.paintPage(p, layout.pageCount() - 1);
        p.end();
        int dark = 0;
        for (int y = page.height() - 40; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, y)) < 160;
        return dark;
    };
    EXPECT_GT(footInk(s), 20);
    EXPECT_EQ(footInk(sheet("ouyou1")), 0);
}

TEST_F(WorksheetSource, TwoColumnsHoldFourQuestionsAPage)
{
    const Sheet s = sheet("grawrite1");
    const SheetLayout two(s, {2, false});
    EXPECT_EQ(two.questionPageCount(), 13);
    EXPECT_EQ(two.pageCount(), 13);
    // Asked for the impossible, a layout keeps within two or three columns.
    EXPECT_EQ(SheetLayout(s, {7, false}).pageCount(), 6);
}

TEST(WorksheetCommandLine, ReadsTheOptionsAndRefusesMistakes)
{
    Request r;
    QString error;
    ASSERT_TRUE(parseRequest({u"soremuka"_qs, u"--worksheet"_qs, u"ouyou2"_qs, u"--answers"_qs, u"--order=shuffled"_qs,
                              u"--columns"_qs, u"2"_qs, u"-o"_qs, u"a.PDF"_qs},
                             r, error))
        << error.toStdString();
    EXPECT_EQ(r.item, u"ouyou2"_qs);
    EXPECT_TRUE(r.answers);
    EXPECT_EQ(r.order, Order::Shuffled);
    EXPECT_EQ(r.columns, 2);
    EXPECT_FALSE(r.png());

    Request p;
    ASSERT_TRUE(parseRequest({u"--worksheet=nagasa"_qs, u"--page"_qs, u"3"_qs, u"--output=x.png"_qs}, p, error));
    EXPECT_TRUE(p.png());
    EXPECT_EQ(p.page, 3);
    EXPECT_EQ(p.order, Order::Bank);

    Request v;
    ASSERT_TRUE(parseRequest({u"--worksheet"_qs, u"nagasa"_qs, u"--variant"_qs, u"42"_qs, u"-o"_qs, u"x.pdf"_qs}, v, error));
    EXPECT_EQ(v.variant, 42u);
    EXPECT_FALSE(p.variant);

    // (A missing output, a wrong suffix and a page past the end are refused
    // by the program's own tests.)
    const QStringList wrong[] = {
        {u"--worksheet"_qs},
        {u"--worksheet"_qs, u"-o"_qs, u"x.pdf"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"--order"_qs, u"random"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"--columns"_qs, u"4"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"--page"_qs, u"2"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.png"_qs, u"--page"_qs, u"0"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"extra"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"--variant"_qs, u"seven"_qs},
        {u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, u"x.pdf"_qs, u"--variant"_qs},
    };
    for (const QStringList &args : wrong) {
        Request w;
        QString why;
        EXPECT_FALSE(parseRequest(args, w, why)) << args.join(u' ').toStdString();
        EXPECT_FALSE(why.isEmpty());
    }
    EXPECT_TRUE(wantsWorksheet({u"soremuka"_qs, u"--worksheet=x"_qs}));
    EXPECT_FALSE(wantsWorksheet({u"soremuka"_qs, u"--all-sets"_qs}));
}
