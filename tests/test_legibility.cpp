// Everything on the screen can be read: every figure's labels whole, inside
// their box and clear of every line, at 1x and 2x; the results chart inside
// the window at any size; and a whole run, from choosing the set to the
// chart, made with the keyboard alone.
#include "DriveRunner.h"
#include "FakeWorld.h"
#include "Learner.h"
#include "TestForm.h"

#include "app/Results.h"
#include "app/SetTable.h"
#include "ui/CanvasPainter.h"
#include "ui/CanvasWidget.h"
#include "ui/LabelPlacement.h"
#include "ui/MainWindow.h"
#include "ui/QtTextMetrics.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

namespace {

using labels::Obstacle;

// A label whose glyphs fill the given rectangle.
labels::Label labelAt(const QRectF &ink)
{
    labels::Label l;
    l.ops = {0};
    l.text = u"A"_qs;
    l.origin = ink.topLeft();
    l.width = ink.width();
    l.height = ink.height();
    l.ink = ink;
    l.pad = 20;
    return l;
}

// Placement among the obstacles of a 3000 by 2000 box.
std::vector<labels::Label> placed(std::vector<labels::Label> ls, const std::vector<Obstacle> &obstacles)
{
    labels::Options o;
    o.nudge = true;
    labels::place(ls, obstacles, QSizeF(3000, 2000), o);
    return ls;
}

// A form with the window's real fonts, so that what it prints lands where
// the program puts it.
struct RealForm : FakeWorld, ScratchFolder {
    QtTextMetrics metrics;
    std::unique_ptr<Form1> form = makeForm(metrics, paths, true);
    Form1 &f = *form;
    RealForm()
    {
        f.Form_Load();
        // Every draw keeps the bank's order.
        for (int i = 0; i < 220; ++i)
            random.queue(0.99);
    }
};

QImage render(const Canvas &c, double zoom, int layers = PaintOptions::Shapes | PaintOptions::Labels)
{
    const double ppt = zoom / 15.0;
    QImage image(int(c.Width * ppt), int(c.Height * ppt), QImage::Format_RGB32);
    QPainter p(&image);
    PaintOptions o = paintOptionsFor(c, QSizeF(c.Width, c.Height));
    o.layers = layers;
    paintCanvas(p, c, ppt, o);
    return image;
}

// Every label of the box whole and clear at this zoom: its glyphs inside
// the box, and inside its halo nothing but the label itself (the picture
// with everything equals the picture with the labels alone), and no two
// labels on one another.
void expectLegible(const Canvas &c, double zoom, const std::string &what)
{
    SCOPED_TRACE(what + " at " + std::to_string(zoom) + "x");
    const double ppt = zoom / 15.0;
    const QImage all = render(c, zoom), alone = render(c, zoom, PaintOptions::Labels);
    const std::vector<labels::Label> shown = placedLabels(c, QSizeF(c.Width, c.Height), paintOptionsFor(c, QSizeF(c.Width, c.Height)));
    const QRectF box(0, 0, c.Width, c.Height);
    std::vector<QRectF> inks;
    for (const labels::Label &l : shown) {
        if (l.hidden)
            continue;
        const QRectF ink = l.placed();
        EXPECT_TRUE(box.contains(ink)) << "cut by the box: " << l.text.toStdString();
        for (const QRectF &other : inks)
            EXPECT_FALSE(other.intersects(ink)) << "on another label: " << l.text.toStdString();
        inks.push_back(ink);
        // The halo's pixels, a pixel in from its smoothed edge.
        const QRect px = QRectF(l.halo().topLeft() * ppt, l.halo().bottomRight() * ppt).toAlignedRect().adjusted(1, 1, -1, -1);
        int crossed = 0;
        for (int y = std::max(0, px.top()); y <= std::min(all.height() - 1, px.bottom()); ++y)
            for (int x = std::max(0, px.left()); x <= std::min(all.width() - 1, px.right()); ++x)
                crossed += all.pixel(x, y) != alone.pixel(x, y);
        EXPECT_EQ(crossed, 0) << "a line runs through " << l.text.toStdString();
        if (crossed != 0) {
            // Kept for a reader to look at.
            const QString out = QStringLiteral(SOREMUKA_TEST_OUT "/legibility");
            QDir().mkpath(out);
            const QString name = QString::fromStdString(what) + u'-' + QString::number(zoom);
            all.save(out + u'/' + name + u".png"_qs);
            alone.save(out + u'/' + name + u"-labels.png"_qs);
        }
    }
}

// A wrong answer to the question on show, typed or drawn.
void miss(Form1 &f)
{
    learner::Hands hands = learner::handsOn(f);
    learner::answer(f, hands, false);
}

} // namespace

// The placement itself, in numbers: a label is kept inside its box, one
// whose middle lies outside is left out, labels on one another move apart,
// a label moves off a stroke of the figure where there is room, and one
// across an axis stays there, its halo hiding the axis.
TEST(LabelPlacement, InsideApartAndOffTheStrokes)
{
    const struct {
        const char *what;
        std::vector<QRectF> inks;
        std::vector<Obstacle> obstacles;
        std::vector<bool> hidden;
        std::vector<QPointF> shiftAtLeast; // |shift| in each direction, at least
    } rows[] = {
        {"over the right edge", {QRectF(2800, 500, 300, 200)}, {}, {false}, {{100, 0}}},
        {"over the top edge", {QRectF(1000, -100, 300, 200)}, {}, {false}, {{0, 100}}},
        {"mostly outside", {QRectF(2950, 500, 300, 200)}, {}, {true}, {{0, 0}}},
        {"on one another", {QRectF(1000, 1000, 300, 200), QRectF(1100, 1050, 300, 200)}, {}, {false, false},
         {{0, 0}, {1, 1}}},
        {"on a stroke", {QRectF(1000, 1000, 300, 200)}, {{QLineF(900, 1100, 1500, 1100), false}}, {false}, {{0, 100}}},
        // A long label across an axis stays: its halo hides the axis there.
        {"across an axis", {QRectF(800, 1000, 1000, 200)}, {{QLineF(1300, 0, 1300, 2000), true}}, {false}, {{0, 0}}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<labels::Label> ls;
        for (const QRectF &ink : r.inks)
            ls.push_back(labelAt(ink));
        const std::vector<labels::Label> out = placed(ls, r.obstacles);
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i].hidden, r.hidden[i]) << i;
            if (out[i].hidden)
                continue;
            EXPECT_TRUE(QRectF(0, 0, 3000, 2000).contains(out[i].placed())) << i;
            const QPointF s = r.shiftAtLeast[i];
            if (s.x() > 1 || s.y() > 1) {
                EXPECT_TRUE(std::abs(out[i].shift.x()) >= s.x() - 1e-6 || std::abs(out[i].shift.y()) >= s.y() - 1e-6)
                    << i << ": " << out[i].shift.x() << "," << out[i].shift.y();
            } else if (s == QPointF(0, 0)) {
                EXPECT_EQ(out[i].shift, QPointF(0, 0)) << i;
            }
        }
        if (out.size() == 2) {
            EXPECT_FALSE(out[0].placed().intersects(out[1].placed()));
        }
        if (!r.obstacles.empty() && !r.obstacles[0].furniture) {
            const QRectF stroke = QRectF(r.obstacles[0].line.p1(), r.obstacles[0].line.p2()).adjusted(0, -8, 0, 8);
            EXPECT_FALSE(out[0].halo().intersects(stroke));
        }
    }
}

// Every set: its first question, and the same question missed, with its
// explanation, at 1x and 2x.
TEST(Legibility, EveryFigureLabelIsWholeAndClearOfEveryLine)
{
    for (const SetInfo &set : setTable()) {
        RealForm r;
        r.f.menuClick(set.item);
        if (r.f.bank.mondaiCount == 0)
            continue;
        const std::string name = set.item.toStdString();
        for (double zoom : {1.0, 2.0})
            expectLegible(r.f.Picture6, zoom, name + " first");
        miss(r.f);
        for (double zoom : {1.0, 2.0})
            expectLegible(r.f.Picture6, zoom, name + " missed");
    }
}

// Lines and curves stop at the plane's grid: nothing is drawn in the strip
// between the grid and the box's edge but labels.
TEST(Legibility, GraphsStopAtTheGrid)
{
    for (const auto &[set, n] : {std::pair{u"graread1"_qs, 3}, std::pair{u"graread2"_qs, 1}}) {
        SCOPED_TRACE(set.toStdString());
        RealForm r;
        r.f.menuClick(set);
        ASSERT_TRUE(learner::answerRightUntil(r.f, n));
        const QImage shapes = render(r.f.Picture6, 2, PaintOptions::Shapes);
        // The grid ends at 8 of the 9 units each way: the outer ninth of
        // each half, less the width of an axis's round end, is empty.
        const int margin = shapes.height() / 18 - 4;
        const QRgb back = shapes.pixel(0, 0);
        int drawn = 0;
        for (int y = 0; y < margin; ++y)
            for (int x = 0; x < shapes.width(); ++x)
                drawn += shapes.pixel(x, y) != back || shapes.pixel(x, shapes.height() - 1 - y) != back;
        EXPECT_EQ(drawn, 0);
    }
}

// The chart stands wholly inside the window at every size, in front of
// nothing but its backdrop, with no other control over it or beside it.
TEST(Legibility, TheChartIsInsideTheWindowAtEverySize)
{
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"nagasa"_qs);
    t.runOutClock();
    ASSERT_TRUE(f.Picture1.Visible);
    MainWindow w(f, 1.0);
    w.show();
    for (const QSize size : {QSize(1366, 740), QSize(1920, 1050), QSize(800, 400)}) {
        SCOPED_TRACE(size.width());
        w.resize(size);
        QApplication::processEvents();
        w.sync();
        QWidget *chart = w.controlWidget(u"Picture1"_qs);
        const QRect shown(chart->mapTo(&w, QPoint()), chart->size());
        EXPECT_TRUE(w.rect().contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width() << "x"
                                              << shown.height();
        // Back to front: a backdrop over every control behind it, then the
        // chart; whatever stands in front of them keeps clear of the chart.
        const QObjectList order = w.centralWidget()->children();
        QWidget *backdrop = nullptr;
        for (QObject *o : order) {
            auto *c = qobject_cast<QWidget *>(o);
            if (c && c != chart && c->isVisible()
                && (!backdrop || c->width() * c->height() > backdrop->width() * backdrop->height()))
                backdrop = c;
        }
        ASSERT_TRUE(backdrop);
        const qsizetype back = order.indexOf(backdrop), front = order.indexOf(chart);
        EXPECT_GT(front, back);
        for (qsizetype i = 0; i < order.size(); ++i) {
            auto *c = qobject_cast<QWidget *>(order[i]);
            if (!c || c == chart || c == backdrop || !c->isVisible())
                continue;
            if (i < back) {
                EXPECT_TRUE(backdrop->geometry().contains(c->geometry())) << c->accessibleName().toStdString();
            } else {
                EXPECT_FALSE(c->geometry().intersects(chart->geometry())) << c->accessibleName().toStdString();
            }
        }
    }
}

// From start-up to the chart with the keyboard alone: F10 opens the menu,
// the arrows and Enter choose 座標1 (plotting points), the plane's cursor
// answers, a miss is passed with Escape, and when the time is up the chart
// shows. Every key goes to the window as the keyboard sends it.
TEST(Legibility, AWholeRunWithTheKeyboardAlone)
{
    TestForm t;
    Form1 &f = t.make();
    t.queueDraws(0.99, 60);
    MainWindow w(f, 1.0);
    w.events().load();
    w.show();
    QApplication::setActiveWindow(&w);

    QTest::keyClick(&w, Qt::Key_F10);
    QWidget *menu = QApplication::activePopupWidget();
    ASSERT_TRUE(menu) << "F10 opens no menu";
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(f.run.categoryActive, 1);
    EXPECT_EQ(f.run.resultsFileName, u"座標問題1.txt"_qs);
    EXPECT_FALSE(QApplication::activePopupWidget());

    // The keys go wherever the focus is; the window's keyboard takes them.
    auto key = [&](Qt::Key k) {
        QWidget *to = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QTest::keyClick(to, k);
    };
    auto walkTo = [&](int x, int y) {
        while (w.keyboard().cursor().x() != x)
            key(w.keyboard().cursor().x() < x ? Qt::Key_Right : Qt::Key_Left);
        while (w.keyboard().cursor().y() != y)
            key(w.keyboard().cursor().y() < y ? Qt::Key_Up : Qt::Key_Down);
        key(Qt::Key_Space);
    };
    // Right, then wrong, then on after the miss.
    for (bool right : {true, false}) {
        ASSERT_TRUE(f.Command5.Visible);
        const auto presses = right ? learner::pressesFor(f.currentAnswer()) : learner::wrongPressesFor(f.currentAnswer());
        for (const auto &[x, y] : presses)
            walkTo(x, y);
        key(Qt::Key_Return);
    }
    EXPECT_EQ(f.scoreState.correctCount, 1);
    ASSERT_TRUE(f.Command3.Visible);
    key(Qt::Key_Escape);
    EXPECT_FALSE(f.Command3.Visible);

    t.runOutClock();
    w.sync();
    QWidget *chart = w.controlWidget(u"Picture1"_qs);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(w.rect().contains(QRect(chart->mapTo(&w, QPoint()), chart->size())));
}

// The driver reaches the menus as the window's keyboard does.
TEST(Legibility, TheDriverChoosesASetWithF10AndTheArrows)
{
    DriveRun d;
    ASSERT_EQ(d.run(u"key F10\nkey Down Down Down Down\nkey Enter\ndump @/d.json\n"_qs), 0) << d.stdErr.toStdString();
    EXPECT_EQ(d.json(u"d.json"_qs)[u"state"_qs].toObject()[u"resultsFileName"_qs].toString(), u"長さ面積1.txt"_qs);
    DriveRun alt;
    ASSERT_EQ(alt.run(u"key Alt\nkey Right Enter\ndump @/d.json\n"_qs), 0) << alt.stdErr.toStdString();
    EXPECT_EQ(alt.json(u"d.json"_qs)[u"state"_qs].toObject()[u"categoryActive"_qs].toInt(), 1);
}
