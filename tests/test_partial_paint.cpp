// A picture box paints only where its picture changed, and keeps its picture
// at the screen's pixels between paints. None of that may show: after every
// step of a learner's run, what the window shows of each box is what a whole
// paint of the same canvas gives, pixel for pixel, at one and at two device
// pixels per pixel. A kept picture that missed a change (an old figure left
// standing beside a new one) is what these tests look for.
#include "TestForm.h"

#include "ui/CanvasPainter.h"
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"
#include "ui/QtTextMetrics.h"
#include "ui/RunImage.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <map>
#include <random>
#include <optional>

namespace {

const QString kBoxes[] = {u"Picture1"_qs, u"Picture2"_qs, u"Picture3"_qs, u"Picture4"_qs, u"Picture5"_qs,
                          u"Picture6"_qs, u"Picture7"_qs, u"Picture8"_qs, u"Picture9"_qs};

PaintOptions optionsOf(const CanvasWidget &box)
{
    PaintOptions o = paintOptionsFor(const_cast<CanvasWidget &>(box).canvas(),
                                     QSizeF(box.width() / box.pixelsPerTwip(), box.height() / box.pixelsPerTwip()));
    o.caption = box.caption;
    return o;
}

// A whole paint of a box's canvas at `dpr` device pixels per pixel, with
// what the window draws over it (the keyboard's cursor) when asked.
QImage whole(const CanvasWidget &box, double dpr, bool withOverlay = false)
{
    const Canvas &canvas = const_cast<CanvasWidget &>(box).canvas();
    QImage image(box.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(toQColor(canvas.BackColor));
    QPainter p(&image);
    paintCanvas(p, canvas, box.pixelsPerTwip(), optionsOf(box));
    if (withOverlay && box.overlay)
        box.overlay(p, box);
    return image;
}

// The box as a learner sees it, its sunken frame (two pixels at most, the
// same in every paint) left out.
QImage inside(const QImage &image)
{
    const int edge = 2 * int(image.devicePixelRatio() + 0.5);
    return image.copy(image.rect().adjusted(edge, edge, -edge, -edge));
}

// Paints over `region` of a picture painted earlier what a whole paint gives
// there: the scene's pieces that touch it, on the background.
void mend(const CanvasScene &scene, QPainter &painter, const QRegion &region)
{
    if (region.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(region, Qt::IntersectClip);
    scene.paint(painter, region);
    painter.restore();
}

// A box's picture kept at two device pixels per pixel and mended where each
// new scene says it changed, as a box on a doubled screen keeps it.
struct Mended {
    std::optional<CanvasScene> scene;
    QImage image;
};

class Watch {
public:
    explicit Watch(MainWindow &w) : w_(w) {}

    // Every shown box, as the window shows it and as it is mended at 2x,
    // against whole paints.
    void check(const char *step)
    {
        SCOPED_TRACE(step);
        QCoreApplication::processEvents();
        for (const QString &name : kBoxes) {
            auto *box = qobject_cast<CanvasWidget *>(w_.controlWidget(name));
            if (!box || !box->isVisible() || box->width() < 4 || box->height() < 4)
                continue;
            SCOPED_TRACE(name.toStdString());
            const double dpr = box->devicePixelRatioF();
            const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(shown.size(), box->size() * dpr);
            const QImage a = inside(shown), b = inside(whole(*box, dpr, true));
            EXPECT_TRUE(a == b) << "the window's picture differs from a whole paint";

            Mended &m = twice_[name];
            CanvasScene next(box->canvas(), box->pixelsPerTwip(), optionsOf(*box));
            const QSize pixels = box->size() * 2;
            if (!m.scene || m.image.size() != pixels) {
                m.image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
                m.image.setDevicePixelRatio(2);
                QPainter p(&m.image);
                mend(next, p, QRegion(box->rect()));
            } else {
                QPainter p(&m.image);
                mend(next, p, next.changedSince(*m.scene));
            }
            m.scene.emplace(std::move(next));
            EXPECT_TRUE(inside(m.image) == inside(whole(*box, 2))) << "the mended picture at 2x differs";
            ++checked_;
        }
    }
    int checked() const { return checked_; }

private:
    MainWindow &w_;
    std::map<QString, Mended> twice_;
    int checked_ = 0;
};

struct LearnerRun : FakeWorld, ScratchFolder {
    QtTextMetrics metrics;
    std::unique_ptr<Form1> form = makeForm(metrics, paths);
    MainWindow window{*form, 1.0};
    Watch watch{window};
    LearnerRun()
    {
        // Run again by the test below on a screen scaled by two.
        if (qEnvironmentVariableIsSet("SOREMUKA_TEST_SCALED")) {
            EXPECT_EQ(window.devicePixelRatioF(), 2.0);
        }
        window.events().load();
        window.show();
        watch.check("start screen");
    }
    EventPath &events() { return window.events(); }
};

} // namespace

// A line drawn on the plane, a wrong line checked (the explanation goes on
// the plane), the next question, and the plane resized between.
TEST(PartialPaint, DrawingOnThePlaneAMissAndTheNextQuestion)
{
    LearnerRun r;
    r.events().menu(u"grawrite1"_qs);
    r.watch.check("first question");
    r.events().pointerMove(0, 0, false);
    r.events().pointerDown(0, 0);
    r.watch.check("pressed");
    for (int i = 1; i <= 6; ++i) {
        r.events().pointerMove(i * 0.9, 5 - i * 1.7, true);
        r.watch.check("a move with the button held");
    }
    r.events().pointerUp(5, -5, true);
    r.watch.check("released");
    r.events().pointerDown(-4, 3);
    r.events().pointerUp(-4, 3, true);
    r.watch.check("a second point");
    r.events().button(u"Command5"_qs);
    r.watch.check("a miss explained on the plane");
    r.window.resize(r.window.size() + QSize(160, 90));
    r.watch.check("resized during the explanation");
    r.events().key(27);
    r.watch.check("the next question");
    r.events().pointerMove(2, 2, false);
    r.watch.check("a move without the button");
    EXPECT_GT(r.watch.checked(), 20);
}

// Typing with its preview, a miss with its figure, the next question, another
// set chosen during the run, and the chart at the end of the run.
TEST(PartialPaint, TypingAMissAnotherSetAndTheEndOfTheRun)
{
    LearnerRun r;
    r.events().menu(u"nagasa"_qs);
    r.watch.check("first question");
    for (int key : {int('1'), int('2'), int('/'), int('7'), 8, int('x')}) {
        r.events().key(key);
        r.watch.check("a key");
    }
    r.events().key(13);
    r.watch.check("a miss explained");
    r.events().key(27);
    r.watch.check("the next question");
    r.events().menu(u"ouyou1"_qs);
    r.watch.check("another set chosen during the run");
    r.window.resize(r.window.size() - QSize(120, 60));
    r.watch.check("a smaller window");
    r.events().menu(u"grawrite1"_qs);
    r.watch.check("a set answered on the plane");
    r.clock.seconds = double(r.form->run.endTime) + 0.5;
    r.events().tick();
    r.watch.check("the chart at the end of the run");
    EXPECT_TRUE(r.window.controlWidget(u"Picture1"_qs)->isVisible());
    r.events().menu(u"thahyo1"_qs);
    r.watch.check("a new run after the chart");
}

// Two scenes of the same canvas tell where they differ: nowhere when nothing
// changed, and over the whole box when the box's colour did.
TEST(PartialPaint, ScenesTellWhereTheyDiffer)
{
    Canvas c(u"Picture6"_qs, 0, 0, 3000, 3000, 0xFFFFFF, 9);
    c.setScale(-5, 5, 5, -5);
    c.line(-5, 0, 5, 0);
    c.line(0, -5, 0, 5);
    const CanvasScene before(c, 1.0 / 15, {});
    EXPECT_TRUE(CanvasScene(c, 1.0 / 15, {}).changedSince(before).isEmpty());

    c.line(1, 1, 2, 2);
    const QRegion moved = CanvasScene(c, 1.0 / 15, {}).changedSince(before);
    EXPECT_FALSE(moved.isEmpty());
    EXPECT_LT(moved.boundingRect().width(), 40); // the new segment, not the axes
    EXPECT_LT(moved.boundingRect().height(), 40);

    c.BackColor = 0xC0FFC0;
    EXPECT_EQ(CanvasScene(c, 1.0 / 15, {}).changedSince(before), QRegion(QRect(0, 0, 200, 200)));
}

// The plane drawn again with its first point first (as a drag begins): only
// the point and the line can differ, not every grid line after the point.
// Both scenes share the pieces before the first that differs, and no more.
TEST(PartialPaint, APieceDrawnFirstInsteadOfLastChangesOnlyWhereItLies)
{
    auto plane = [](bool pointFirst, double toX) {
        Canvas c(u"Picture6"_qs, 0, 0, 3000, 3000, 0xFFFFFF, 9);
        c.setScale(-5, 5, 5, -5);
        if (pointFirst)
            c.circle(0, 0, 0.2);
        for (int i = -5; i <= 5; ++i) {
            c.line(i, -5, i, 5, 0xC0C0C0);
            c.line(-5, i, 5, i, 0xC0C0C0);
        }
        if (!pointFirst)
            c.circle(0, 0, 0.2);
        c.line(0, 0, toX, 4);
        return c;
    };
    const Canvas pressed = plane(false, 4), dragged = plane(true, 4), further = plane(true, 3);
    const CanvasScene a(pressed, 1.0 / 15, {}), b(dragged, 1.0 / 15, {}), c(further, 1.0 / 15, {});
    const QRect changed = b.changedSince(a).boundingRect();
    EXPECT_LT(changed.width(), 20) << "only round the point at the origin";
    EXPECT_LT(changed.height(), 20);
    EXPECT_EQ(b.sharedWith(a), 0u);
    EXPECT_EQ(c.sharedWith(b), c.pieceCount() - 1); // all but the learner's line
    EXPECT_EQ(c.sharedWith(c), c.pieceCount());
}

// The plane's still part, kept while it takes an answer, through a drag: the
// point drawn first as the drag begins, the line following the pointer, the
// line left standing while a second one follows, and the next question.
// After each, the box shows what a whole paint shows. (The window's own runs
// above seldom reach these changes of the kept part.)
TEST(PartialPaint, TheKeptStillPartIsPaintedAgainWhereItChanged)
{
    Canvas c(u"Picture6"_qs, 0, 0, 4500, 4500, 0xFFFFFF, 9);
    CanvasWidget box(c, nullptr);
    box.resize(300, 300);
    const QRectF cursor(140, 20, 6, 12);
    box.overlay = [cursor](QPainter &p, const CanvasWidget &) { p.fillRect(cursor, Qt::black); };
    box.overlayBounds = [cursor](const CanvasWidget &) { return cursor; };
    struct Drawn {
        bool pointFirst;
        std::vector<QLineF> lines; // the learner's, the last following the pointer
        int grid = 5;
    };
    auto draw = [&](const Drawn &d) {
        c.Cls();
        c.setScale(-d.grid, d.grid, d.grid, -d.grid);
        if (d.pointFirst)
            c.circle(1, 1, 0.2);
        for (int i = -d.grid; i <= d.grid; ++i) {
            c.line(i, -d.grid, i, d.grid, 0xC0C0C0);
            c.line(-d.grid, i, d.grid, i, 0xC0C0C0);
        }
        c.line(-d.grid, 0, d.grid, 0);
        c.line(0, -d.grid, 0, d.grid);
        if (!d.pointFirst)
            c.circle(1, 1, 0.2);
        for (const QLineF &l : d.lines)
            c.line(l.x1(), l.y1(), l.x2(), l.y2(), 0xFF0000);
        box.refresh();
    };
    box.show();
    auto check = [&](const char *step) {
        SCOPED_TRACE(step);
        QCoreApplication::processEvents();
        const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_TRUE(inside(shown) == inside(whole(box, box.devicePixelRatioF(), true)));
    };
    draw({false, {}});
    check("a question");
    check("painted again, now from the kept part");
    draw({true, {}});
    check("the point drawn first as the drag begins");
    for (int i = 0; i < 4; ++i) {
        draw({true, {QLineF(1, 1, 4 - i, 4 - 2 * i)}});
        check("the line follows the pointer");
    }
    const QLineF across(1, 1, -5, -4), shortOne(1, 1, 1.6, 1.3);
    draw({true, {across, QLineF(1, 1, 2, 2)}});
    check("a line across the plane left standing, another following");
    draw({true, {across, QLineF(1, 1, 3, 2)}});
    check("the other moves on");
    draw({true, {shortOne}});
    draw({true, {shortOne, QLineF(1, 1, 2, -2)}});
    check("a short line left standing, another following");
    draw({true, {shortOne, QLineF(1, 1, 3, -3)}});
    check("the other moves on");
    draw({false, {}, 4});
    check("the next question");
}

// The window's own kept pictures at two device pixels per pixel: the runs
// above again, in a process of their own on a screen scaled by two.
TEST(PartialPaint, TheWindowOnAScreenScaledByTwo)
{
    if (qEnvironmentVariableIsSet("SOREMUKA_TEST_SCALED"))
        GTEST_SKIP() << "this is the scaled run";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_SCALE_FACTOR"_qs, u"2"_qs);
    env.insert(u"SOREMUKA_TEST_SCALED"_qs, u"1"_qs);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--gtest_filter=PartialPaint.Drawing*:PartialPaint.Typing*:PartialPaint.TheKept*"_qs});
    ASSERT_TRUE(child.waitForFinished(180000));
    const QString out = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(u"[  PASSED  ] 3 tests"_qs)) << out.toStdString();
}

// A picture kept as runs gives back every rectangle pixel for pixel: a plane
// of grid lines, a row that is one run, rows of noise where no two pixels
// agree, rectangles that start and end inside runs, and rows not filled yet.
TEST(PartialPaint, RunsGiveBackThePixelsTheyWereGiven)
{
    QImage picture(301, 197, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(192, 192, 192), 1.5));
        for (int x = 7; x < 301; x += 23)
            p.drawLine(QPointF(x + 0.3, 0), QPointF(x + 0.3, 197));
        p.setPen(QPen(Qt::red, 2));
        p.drawLine(QPointF(0, 180), QPointF(301, 20));
    }
    std::mt19937 noise(7);
    for (int y = 150; y < 160; ++y)
        for (int x = 0; x < 301; ++x)
            picture.setPixel(x, y, 0xFF000000u | (noise() & 0xFFFFFFu));

    RunImage runs(picture.size());
    for (int top = 0; top < 120; top += 40) // bands, the last rows left for later
        runs.append(picture.copy(0, top, 301, 40));
    EXPECT_EQ(runs.filled(), 120);
    runs.append(picture.copy(0, 120, 301, 100)); // past the bottom: cut off
    ASSERT_EQ(runs.filled(), 197);
    runs.squeeze();
    EXPECT_LT(runs.bytes(), std::size_t(picture.sizeInBytes())) << "runs of a plane hold less than its pixels";

    std::mt19937 pick(11);
    for (int i = 0; i < 200; ++i) {
        const int x = int(pick() % 301), y = int(pick() % 197);
        const QRect r(x, y, 1 + int(pick() % (301 - x)), 1 + int(pick() % (197 - y)));
        ASSERT_TRUE(runs.read(r) == picture.copy(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    }
    EXPECT_TRUE(runs.read(picture.rect()) == picture);
    EXPECT_EQ(runs.read(QRect(290, 190, 40, 40)).size(), QSize(11, 7)) << "held to the picture";

    // Into rows kept by the reader, wider than what is read: only the
    // rectangle's part of each row is written.
    std::vector<uint32_t> rows(400 * 30, 0x12345678u);
    ASSERT_EQ(runs.read(QRect(140, 145, 60, 30), rows.data(), 400), QSize(60, 30));
    const QImage view(reinterpret_cast<const uchar *>(rows.data()), 60, 30, 400 * 4, runs.format());
    EXPECT_TRUE(view == picture.copy(140, 145, 60, 30));
    EXPECT_EQ(rows[60], 0x12345678u) << "past the rectangle's width";

    // A band painted again: its rows change, no others, and only a band as
    // it was appended can be replaced.
    QImage again = picture.copy(0, 40, 301, 40);
    again.fill(Qt::green);
    EXPECT_FALSE(runs.replace(20, again)) << "not where a band begins";
    EXPECT_FALSE(runs.replace(40, picture.copy(0, 40, 301, 30))) << "not as high as the band";
    ASSERT_TRUE(runs.replace(40, again));
    EXPECT_TRUE(runs.read(QRect(0, 40, 301, 40)) == again);
    EXPECT_TRUE(runs.read(QRect(0, 0, 301, 40)) == picture.copy(0, 0, 301, 40));
    EXPECT_TRUE(runs.read(QRect(0, 80, 301, 117)) == picture.copy(0, 80, 301, 117));
    EXPECT_TRUE(runs.replace(120, picture.copy(0, 120, 301, 100))) << "the last band, cut off as appended";

    RunImage half(picture.size());
    half.append(picture.copy(0, 0, 301, 50));
    const QImage below = half.read(QRect(0, 40, 301, 20));
    EXPECT_TRUE(below.copy(0, 0, 301, 10) == picture.copy(0, 40, 301, 10));
    EXPECT_EQ(below.pixel(5, 15), 0u) << "rows not filled read as nothing";
}

// The region a move asks to be painted: every changed pixel still in it, in
// a few rectangles.
TEST(PartialPaint, FewerRectsCoverTheRegionInAFewPieces)
{
    // A staircase along a slanted line, as a long line's parts give it.
    QRegion stairs;
    for (int i = 0; i < 40; ++i)
        stairs += QRect(20 + i * 12, 30 + i * 9, 16, 14);
    // Something far off to the side in the same rows (a label moved aside).
    const QRegion withLabel = stairs + QRect(560, 40, 30, 12);
    struct Row {
        const char *what;
        QRegion region;
        int band, gap;
        int most; // rectangles at most
    } rows[] = {
        {"a staircase", stairs, 64, 32, 8},
        {"a staircase and a label apart", withLabel, 64, 32, 10},
        {"narrow bands", stairs, 16, 32, 25},
        {"two rectangles stay", QRegion(QRect(0, 0, 5, 5)) + QRect(100, 100, 5, 5), 64, 32, 2},
        {"nothing", QRegion(), 64, 32, 0},
    };
    for (const Row &row : rows) {
        const QRegion fewer = fewerRects(row.region, row.band, row.gap);
        EXPECT_TRUE(row.region.subtracted(fewer).isEmpty()) << row.what;
        EXPECT_LE(fewer.rectCount(), row.most) << row.what;
        EXPECT_EQ(fewer.boundingRect(), row.region.boundingRect()) << row.what;
    }
    // The label, 100 pixels from the line in its band, is not joined to it.
    const QRegion fewer = fewerRects(withLabel, 64, 32);
    EXPECT_FALSE(fewer.contains(QRect(520, 40, 30, 12)));
    // Joined, the staircase is not painted as its bounding box.
    auto area = [](const QRegion &r) {
        double a = 0;
        for (const QRect &q : r)
            a += double(q.width()) * q.height();
        return a;
    };
    EXPECT_LT(area(fewerRects(stairs, 64, 32)), 0.25 * area(QRegion(stairs.boundingRect())));
}
