// Every answer without a mouse: the plane's cursor, Space and Enter, and
// going on after a miss, in the window and through the driver.
#include "DriveRunner.h"
#include "Learner.h"
#include "TestForm.h"

#include "app/Results.h"
#include "app/SetTable.h"
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"

#include <QAccessible>
#include <QPushButton>
#include <QTest>

namespace {

// A window whose learner uses the keyboard alone.
struct KeyboardLearner {
    TestForm t;
    Form1 &f;
    MainWindow w;
    learner::Hands hands;
    QStringList script; // the same keys as driver lines

    explicit KeyboardLearner(const QString &set) : f(t.make()), w(f, 1.0)
    {
        TestForm::write(t.cwdFile(results::familyFileName(findSet(set)->resultsFileName)),
                        "2026/12/01\r\n5,261201#other1.txt\r\n");
        w.events().load();
        w.show();
        w.events().menu(set);
        script << u"menu "_qs + set;
        hands.key = [this](int k) {
            w.events().key(k);
            script << (k == 13 ? u"key Enter"_qs : u"key "_qs + QChar(char16_t(k)));
        };
        // Check with Enter, not with the button.
        hands.click = [this](const QString &b) {
            ASSERT_EQ(b, u"Command5"_qs);
            press(NavKey::Enter, u"Enter"_qs);
        };
        hands.move = [](double, double) {};
        hands.press = [this](double x, double y) { walkAndPress(int(x), int(y)); };
    }
    void press(NavKey k, const QString &name)
    {
        EXPECT_TRUE(w.keyboard().press(k)) << name.toStdString();
        script << u"key "_qs + name;
    }
    // Arrow keys to the point, then Space.
    void walkAndPress(int x, int y)
    {
        while (w.keyboard().cursor().x() != x)
            w.keyboard().cursor().x() < x ? press(NavKey::Right, u"Right"_qs) : press(NavKey::Left, u"Left"_qs);
        while (w.keyboard().cursor().y() != y)
            w.keyboard().cursor().y() < y ? press(NavKey::Up, u"Up"_qs) : press(NavKey::Down, u"Down"_qs);
        press(NavKey::Space, u"Space"_qs);
    }
};

} // namespace

// The cursor stands on the plane only while the plane takes the answer,
// moves a unit a key within the grid, and the pointer follows it.
TEST(KeyboardPlay, TheCursorMovesWithinTheGrid)
{
    KeyboardLearner k(u"grawrite1"_qs);
    ASSERT_TRUE(k.w.keyboard().cursorShown());
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(0, 0));
    for (int i = 0; i < 12; ++i)
        k.press(NavKey::Right, u"Right"_qs);
    for (int i = 0; i < 3; ++i)
        k.press(NavKey::Down, u"Down"_qs);
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(8, -3));
    // Pressing there starts the line at the origin (y=x goes through it);
    // the next key moves the preview line with the cursor.
    k.press(NavKey::Space, u"Space"_qs);
    EXPECT_EQ(k.f.graph.mouseHeld, -1);
    const auto before = k.f.Picture6.ops().size();
    k.press(NavKey::Up, u"Up"_qs);
    EXPECT_EQ(k.f.graph.secondX, 8);
    EXPECT_EQ(k.f.graph.secondY, -2);
    EXPECT_GT(k.f.Picture6.ops().size(), before / 2);

    // The window's own keyboard reaches the cursor too.
    QTest::keyClick(&k.w, Qt::Key_Left);
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(7, -2));

    // A typed question has no cursor; its keys stay with the answer box.
    KeyboardLearner typed(u"nagasa"_qs);
    EXPECT_FALSE(typed.w.keyboard().cursorShown());
    EXPECT_FALSE(typed.w.keyboard().press(NavKey::Left));
    EXPECT_FALSE(typed.w.keyboard().press(NavKey::Enter));
}

// Right and wrong from the keyboard alone, and going on after a miss with
// Space or Escape; the answer box never takes those.
TEST(KeyboardPlay, RightAndWrongWithoutAMouse)
{
    KeyboardLearner k(u"thahyo1"_qs);
    ASSERT_TRUE(learner::answer(k.f, k.hands, true));
    EXPECT_EQ(k.f.scoreState.correctCount, 1);
    ASSERT_TRUE(learner::answer(k.f, k.hands, false));
    ASSERT_TRUE(k.f.Command3.Visible);
    k.press(NavKey::Escape, u"Escape"_qs);
    EXPECT_FALSE(k.f.Command3.Visible);
    EXPECT_EQ(k.f.bank.mondaiNo, 3);

    KeyboardLearner typed(u"nagasa"_qs);
    typed.hands.key('9');
    typed.hands.key(13);
    ASSERT_TRUE(typed.f.Command3.Visible);
    typed.press(NavKey::Space, u"Space"_qs);
    EXPECT_FALSE(typed.f.Command3.Visible);
    EXPECT_TRUE(typed.f.Text2.Text.isEmpty());
}

// A whole set of each drawing kind, finished with keys only: points, lines
// through the origin, lines with an intercept; in the window and, with the
// same keys, through the driver.
TEST(KeyboardPlay, WholeDrawingSetsWithKeysOnly)
{
    for (const QString &set : {u"thahyo1"_qs, u"grawrite1"_qs, u"gra2read2"_qs, u"grerewri"_qs}) {
        KeyboardLearner k(set);
        const int count = k.f.bank.mondaiCount;
        int asked = 0;
        while (k.f.run.categoryActive == 1 && asked < count && learner::answer(k.f, k.hands, true))
            ++asked;
        EXPECT_EQ(asked, count) << set.toStdString();
        EXPECT_EQ(k.f.scoreState.correctCount, count) << set.toStdString();

        DriveRun d;
        QDir().mkpath(d.path(u"folder"_qs));
        TestForm::write(QDir(d.path(u"folder"_qs)).filePath(results::familyFileName(findSet(set)->resultsFileName)),
                        "2026/12/01\r\n5,261201#other1.txt\r\n");
        const QString script = u"folder @/folder\n"_qs + k.script.join(u'\n') + u"\ndump @/end.json\n"_qs;
        ASSERT_EQ(d.run(script), 0) << d.stdErr.toStdString();
        EXPECT_EQ(d.json(u"end.json"_qs)[u"state"_qs].toObject()[u"correctCount"_qs].toInt(), count)
            << set.toStdString();
    }
}

// The mute switch silences both sounds and keeps the program going; the
// mode buttons tell their shortcuts; every control has a spoken name.
TEST(KeyboardPlay, MuteShortcutsAndSpokenNames)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.events().load();
    w.show();
    EXPECT_FALSE(w.muted());
    w.setMuted(true);
    EXPECT_TRUE(t.sound1.muted());
    EXPECT_TRUE(t.sound2.muted());
    w.setMuted(false);
    EXPECT_FALSE(t.sound1.muted());
    for (const QString &b : {u"Command1"_qs, u"Command4"_qs})
        EXPECT_TRUE(w.controlWidget(b)->toolTip().contains(u"Ctrl+"_qs)) << b.toStdString();
    for (Canvas *c : f.canvases())
        EXPECT_FALSE(w.controlWidget(c->Name)->accessibleName().isEmpty()) << c->Name.toStdString();
    for (Button *b : f.buttons())
        EXPECT_FALSE(w.controlWidget(b->Name)->accessibleName().isEmpty()) << b->Name.toStdString();
    EXPECT_EQ(w.controlWidget(u"Text2"_qs)->accessibleName(), u"答えの入力欄"_qs);
}

// Where the mouse is used too, the cursor goes to the lattice point nearest
// the pointer, within the grid, so the keys go on from there; a new
// question starts it at the origin again.
TEST(KeyboardPlay, TheCursorFollowsThePointer)
{
    KeyboardLearner k(u"grawrite1"_qs);
    ASSERT_TRUE(k.w.keyboard().cursorShown());
    k.w.events().pointerMove(2.4, -3.6, false);
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(2, -4));
    k.press(NavKey::Right, u"Right"_qs);
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(3, -4));
    k.w.events().pointerMove(11.2, 9.7, false); // past the grid: its edge
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(8, 8));
    // The window's own pointer: a move over the plane in its pixels.
    CanvasWidget *plane = k.w.canvasWidget(u"Picture6"_qs);
    QTest::mouseMove(plane, plane->toPixels(-5, 1).toPoint());
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(-5, 1));
    // Answered: the next question starts at the origin.
    ASSERT_TRUE(learner::answer(k.f, k.hands, true));
    EXPECT_EQ(k.w.keyboard().cursor(), QPoint(0, 0));
}
