// What a learner sees in the real window: grabs of the window on the
// offscreen platform, checked where it matters.
#include "DriveRunner.h"
#include "Learner.h"
#include "TestForm.h"

#include "app/Results.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/QtServices.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

// Pixels clearly darker than any of the window's pale backgrounds: text and
// lines.
int inkIn(const QImage &image, const QRect &r)
{
    int ink = 0;
    const QRect area = r.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 110;
    return ink;
}

// Where a control stands in a grab of the whole window.
QRect inWindow(const MainWindow &w, const QString &name)
{
    const QWidget *c = w.controlWidget(name);
    return QRect(c->mapTo(&w, QPoint()), c->size());
}

struct Screen {
    TestForm t;
    Form1 &f;
    MainWindow w;
    explicit Screen(const QString &set) : f(t.make()), w(f, 1.0)
    {
        t.allSets = false;
        w.events().load();
        w.show();
        w.events().menu(set);
    }
    void type(const QString &keys)
    {
        for (QChar c : keys)
            w.events().key(c.unicode());
    }
    QRect shown(const QString &name) const { return inWindow(w, name); }
};

} // namespace

// After a miss the correct answer and the learner's own can be read, also
// where the explanation panel is shown with them.
TEST(Screens, TheCorrectAnswerShowsAfterAMiss)
{
    for (const QString &set : {u"nagasa"_qs, u"ouyou2"_qs}) {
        Screen s(set);
        s.type(u"99\r"_qs);
        ASSERT_EQ(s.f.scoreState.answerLocked, 1);
        const QImage shot = s.w.grab().toImage();
        for (const QString &name : {u"Picture4"_qs, u"Picture5"_qs, u"Label12"_qs})
            EXPECT_GT(inkIn(shot, s.shown(name)), 20) << set.toStdString() << " " << name.toStdString();
        if (s.f.Picture7.Visible) {
            // The explanation and the answers side by side, neither over the other.
            EXPECT_GT(inkIn(shot, s.shown(u"Picture7"_qs)), 200) << set.toStdString();
            for (const QString &name : {u"Picture4"_qs, u"Picture5"_qs, u"Label12"_qs, u"Label13"_qs})
                EXPECT_FALSE(s.shown(name).intersects(s.shown(u"Picture7"_qs))) << name.toStdString();
        }
    }
}

// The pale box Text6 lies beneath the figure: the window shows the figure's
// own pixels where the box is designed.
TEST(Screens, TheEmptyBoxNeverHidesTheFigure)
{
    Screen s(u"nagasa"_qs);
    s.type(u"99\r"_qs);
    QWidget *p6 = s.w.controlWidget(u"Picture6"_qs);
    const QRect plane = s.shown(u"Picture6"_qs);
    const QImage there = s.w.grab(plane).toImage();
    const QImage alone = p6->grab().toImage();
    ASSERT_EQ(there.size(), alone.size());
    EXPECT_EQ(there.convertToFormat(QImage::Format_RGB32), alone.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(plane.contains(s.shown(u"Text6"_qs)));
}

// Counts of two and three digits fit their labels.
TEST(Screens, CountsFitTheirLabels)
{
    TestForm t;
    Form1 &f = t.make();
    for (double zoom : {1.0, 2.0}) {
        MainWindow w(f, zoom);
        w.show();
        for (const QString &count : {u"10"_qs, u"100"_qs, u"32767"_qs}) {
            for (Label *l : {&f.Label3, &f.Label4, &f.Label5}) {
                l->Caption = count;
                w.sync();
                auto *label = qobject_cast<QLabel *>(w.controlWidget(l->Name));
                ASSERT_TRUE(label);
                EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(count), label->width())
                    << l->Name.toStdString() << " " << count.toStdString() << " at " << zoom;
            }
        }
    }
}

// A control that was hidden when the window opened (the answers of a miss,
// 確認したよ！, the chart's button) has its designed font at the window's
// scale when it shows, also after the window has been resized while it was
// hidden; a caption may only be made smaller to fit.
TEST(Screens, ControlsShownLaterHaveTheirDesignedFont)
{
    Screen s(u"nagasa"_qs);
    auto check = [&s](const char *when) {
        const double ppt = s.w.pixelsPerTwip();
        int checked = 0;
        auto fontOf = [&s](const QString &name) { return s.w.controlWidget(name)->font(); };
        for (TextBox *t : s.f.textBoxes()) {
            if (!t->Visible)
                continue;
            EXPECT_EQ(fontOf(t->Name), fonts::widgetFont(t->FontName, t->FontSize, t->FontBold, ppt))
                << when << " " << t->Name.toStdString();
            ++checked;
        }
        auto fitted = [&](const QString &name, const ControlLook &look) {
            const QFont designed = fonts::widgetFont(look.FontName, look.FontSize, look.FontBold, ppt);
            const QFont f = fontOf(name);
            EXPECT_EQ(f.family(), designed.family()) << when << " " << name.toStdString();
            EXPECT_EQ(f.bold(), designed.bold()) << when << " " << name.toStdString();
            EXPECT_LE(f.pixelSize(), designed.pixelSize()) << when << " " << name.toStdString();
            EXPECT_GE(f.pixelSize(), designed.pixelSize() / 2) << when << " " << name.toStdString();
            ++checked;
        };
        for (Label *l : s.f.labels())
            if (l->Visible)
                fitted(l->Name, *l);
        for (Button *b : s.f.buttons())
            if (b->Visible)
                fitted(b->Name, *b);
        return checked;
    };
    check("at the first question");
    s.type(u"99\r"_qs);
    ASSERT_TRUE(s.f.Label12.Visible);
    ASSERT_TRUE(s.f.Command3.Visible);
    check("after a miss");
    s.w.events().button(s.f.Command3.Name);
    // Twice the size while the answers are hidden, then another miss.
    s.w.resize(s.w.size() * 2);
    QApplication::processEvents();
    ASSERT_GT(s.w.pixelsPerTwip(), 1.5 / 15);
    s.type(u"99\r"_qs);
    ASSERT_TRUE(s.f.Label12.Visible);
    EXPECT_GT(check("after a miss in a larger window"), 10);
}

namespace {

// A form with the real message box, whose grab is taken while the box is
// open.
struct ModalScreen {
    FakeClock clock;
    ScriptedRandom random;
    QtDialogs dialogs;
    QStringList sounds;
    FakeSound sound1{&sounds}, sound2{&sounds};
    FixedMetrics metrics;
    QTemporaryDir dir;
    Paths paths = scratchPaths(dir.path());
    Form1 f{FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, false}};
    MainWindow w{f, 1.0};
    std::vector<QImage> grabs;
    QStringList titles;

    ModalScreen()
    {
        dialogs.setParent(&w);
        w.events().load();
        w.show();
    }
    // Takes a grab of the window when a message box is open, and closes it.
    void watchForMessages()
    {
        auto *poll = new QTimer(&w);
        QObject::connect(poll, &QTimer::timeout, &w, [this] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                grabs.push_back(w.grab().toImage());
                titles << box->windowTitle();
                box->close();
            }
        });
        poll->start(20);
    }
};

// The chart fills most of its box with white, the window's pale cyan
// elsewhere.
int whiteIn(const QImage &image, const QRect &r)
{
    int white = 0;
    for (int y = r.top(); y <= r.bottom(); y += 2)
        for (int x = r.left(); x <= r.right(); x += 2)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    return white;
}

} // namespace

// A five-minute run that runs out: the message opens over the chart, the
// clock at its end and the close button shown.
TEST(Screens, TheEndOfATimedRunIsPaintedBeforeTheMessage)
{
    ModalScreen s;
    s.w.events().menu(u"nagasa"_qs);
    s.watchForMessages();
    s.clock.seconds = double(s.f.run.endTime) - 0.4; // 0.4 s left: 0:0, and the run ends
    s.w.events().tick();
    ASSERT_EQ(s.grabs.size(), 1u);
    const QImage &shot = s.grabs[0];
    const QRect chart = inWindow(s.w, u"Picture1"_qs);
    EXPECT_GT(whiteIn(shot, chart), chart.width() * chart.height() / 8);
    EXPECT_TRUE(s.w.controlWidget(u"Command2"_qs)->isVisible());
    EXPECT_GT(inkIn(shot, inWindow(s.w, u"Command2"_qs)), 10);
    EXPECT_EQ(qobject_cast<QLabel *>(s.w.controlWidget(u"Label2"_qs))->text(), u"0:0"_qs);
}

// Ten right in a row: the counters show the tenth answer and the chart is
// on screen behind both messages; the program ends only after them.
TEST(Screens, TheEndOfTenInARowShowsTheChartBehindTheMessages)
{
    ModalScreen s;
    s.w.events().button(u"Command4"_qs);
    s.w.events().menu(u"nagasa"_qs);
    learner::Hands hands;
    hands.key = [&s](int k) { s.w.events().key(k); };
    hands.click = [&s](const QString &b) { s.w.events().button(b); };
    hands.move = [](double, double) {};
    hands.press = [](double, double) {};
    s.watchForMessages();
    for (int i = 0; i < 10 && !s.f.closed; ++i)
        ASSERT_TRUE(learner::answer(s.f, hands, true));
    EXPECT_TRUE(s.f.closed);
    ASSERT_EQ(s.grabs.size(), 2u);
    EXPECT_EQ(s.titles, (QStringList{u"終わる？"_qs, u"終わる？"_qs}));
    const QRect chart = inWindow(s.w, u"Picture1"_qs);
    for (const QImage &shot : s.grabs) {
        EXPECT_GT(whiteIn(shot, chart), chart.width() * chart.height() / 8);
        EXPECT_GT(inkIn(shot, inWindow(s.w, u"Label3"_qs)), 5);
    }
    EXPECT_EQ(qobject_cast<QLabel *>(s.w.controlWidget(u"Label3"_qs))->text(), u"10"_qs);
}

// The window opens inside a small or highly scaled screen, in the designed
// proportions, and its layout follows a resize, centred in a wide window.
TEST(Screens, TheWindowFitsAndFollowsItsSize)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 0);
    w.show();
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(w.frameGeometry().height(), avail.height());
    EXPECT_LE(w.width(), avail.width());

    w.resize(2000, 600);
    QApplication::processEvents();
    const QRect plane = w.controlWidget(u"Picture6"_qs)->geometry();
    const QRect chart = w.controlWidget(u"Picture2"_qs)->geometry();
    // Scaled to the height, centred across the width.
    EXPECT_GT(plane.left(), 300);
    EXPECT_NEAR(double(plane.width()) / plane.height(), 5175.0 / 4935.0, 0.02);
    EXPECT_LT(chart.right(), 2000 - 300);
    w.resize(360, 260);
    QApplication::processEvents();
    EXPECT_LT(w.controlWidget(u"Picture6"_qs)->width(), 200);
}

// The dump tells the stacking order, and it is the window's.
TEST(Screens, TheDumpGivesTheStackingOrder)
{
    DriveRun d;
    ASSERT_EQ(d.run(u"menu ouyou2\ntype 99\nkey Enter\ndump @/miss.json\n"_qs), 0) << d.stdErr.toStdString();
    const QJsonObject controls = d.json(u"miss.json"_qs)[u"controls"_qs].toObject();
    auto z = [&](const char16_t *name) { return controls[QString::fromUtf16(name)].toObject()[u"z"_qs].toInt(-1); };
    EXPECT_LT(z(u"Text6"), z(u"Picture6"));
    for (const char16_t *answer : {u"Picture4", u"Picture5", u"Label12", u"Label13"})
        EXPECT_GT(z(answer), z(u"Picture7"));
    EXPECT_GT(z(u"Picture3"), z(u"Text2"));
    EXPECT_GT(z(u"Command2"), z(u"Picture1"));
    // Every control has its place, and no two share one.
    QSet<int> places;
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        const QString kind = o[u"kind"_qs].toString();
        if (kind == u"label" || kind == u"textbox" || kind == u"button" || kind == u"picture") {
            ASSERT_TRUE(o.contains(u"z"_qs)) << it.key().toStdString();
            places.insert(o[u"z"_qs].toInt());
        }
    }
    EXPECT_EQ(places.size(), 33);
}

// The driver's "goto" shows a question as the cycle does: an application's
// presenter prints no text of its own, so the text shown must be the
// question's, not the one shown before it.
TEST(Screens, GotoShowsTheQuestionsOwnText)
{
    DriveRun d;
    ASSERT_EQ(d.run(u"random"_qs + u" 0.99"_qs.repeated(40) + u"\nmenu ouyou1\ngoto 5\ndump @/five.json\n"_qs), 0)
        << d.stdErr.toStdString();
    const QJsonObject dump = d.json(u"five.json"_qs);
    const QString question = dump[u"state"_qs][u"shuffledMondai"_qs].toArray()[5].toString();
    ASSERT_TRUE(question.contains(u"台形AODC"_qs)) << question.toStdString();
    QString shown;
    for (const QJsonValue op : dump[u"canvases"_qs][u"Picture2"_qs][u"ops"_qs].toArray())
        shown += op[u"text"_qs].toString();
    EXPECT_EQ(shown, question.left(question.indexOf(u'#')));
}

// Moving the pointer over the plane repaints what it changes, not the whole
// window: a caption that stays as it was is not painted again.
TEST(Screens, APointerMoveLeavesTheOtherControlsUnpainted)
{
    Screen s(u"grawrite1"_qs);
    struct PaintCount : QObject {
        int n = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } count;
    s.w.controlWidget(u"Label7"_qs)->installEventFilter(&count);
    QApplication::processEvents();
    count.n = 0;
    for (int i = 0; i < 20; ++i) {
        s.w.events().pointerMove(1 + i * 0.1, 2, false);
        QApplication::processEvents();
    }
    EXPECT_EQ(count.n, 0);
}
