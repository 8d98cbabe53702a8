// The window as a learner sees it: the real widgets on the offscreen
// platform, and the driver's view of the same program.
#include "DriveRunner.h"
#include "TestForm.h"

#include "controls/Convert.h"
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"
#include "ui/QtTextMetrics.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

TEST(Window, OpensWithEveryControlInItsPlaceAndGrabsToPng)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.events().load();
    w.show();
    EXPECT_EQ(w.windowTitle(), u"ソレムカゼミ"_qs);

    // At zoom 1 one pixel is 15 twips.
    QWidget *p6 = w.controlWidget(u"Picture6"_qs);
    ASSERT_NE(p6, nullptr);
    EXPECT_EQ(p6->geometry(), QRect(8, 0, 345, 329));
    auto *cmd1 = qobject_cast<QPushButton *>(w.controlWidget(u"Command1"_qs));
    ASSERT_NE(cmd1, nullptr);
    EXPECT_EQ(cmd1->text(), u"5 分　間"_qs);
    EXPECT_TRUE(cmd1->isVisible());
    EXPECT_FALSE(w.controlWidget(u"Command3"_qs)->isVisible());
    EXPECT_FALSE(w.controlWidget(u"Picture1"_qs)->isVisible());
    auto *label7 = qobject_cast<QLabel *>(w.controlWidget(u"Label7"_qs));
    EXPECT_EQ(label7->text(), u"正解"_qs);

    // The design font is replaced by a Japanese Gothic, never a Latin font.
    const QFontInfo info(label7->font());
    EXPECT_TRUE(info.family().contains(u"Gothic"_qs) || info.family().contains(u"ゴシック"_qs))
        << info.family().toStdString();
    // So is the program's own default, which the menus, tooltips and any
    // control without a designed font show.
    for (const QFont &f : {QApplication::font(), w.font(), w.menuBar()->font()})
        EXPECT_EQ(QFontInfo(f).family(), info.family());

    // The menu bar holds the six menus of the sets in order, the review,
    // then the settings; each with its key for Alt.
    const auto menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), 8);
    EXPECT_EQ(menus[0]->text(), u"座標(&Z)"_qs);
    EXPECT_EQ(menus[5]->text(), u"3年関数(&3)"_qs);
    EXPECT_EQ(menus[6]->text(), u"復習(&F)"_qs);
    EXPECT_EQ(menus[7]->text(), u"設定(&S)"_qs);

    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QStringLiteral(SOREMUKA_TEST_OUT));
    EXPECT_TRUE(shot.save(QStringLiteral(SOREMUKA_TEST_OUT "/window.png")));
    // The help text is drawn: the canvas is not a flat colour.
    const QImage canvas = p6->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < canvas.height(); y += 2)
        for (int x = 0; x < canvas.width(); x += 2)
            colours.insert(canvas.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
}

TEST(Window, ScalesToTheWindowSize)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 2.0);
    w.show();
    EXPECT_NEAR(w.pixelsPerTwip(), 2.0 / 15.0, 1e-9);
    EXPECT_EQ(w.controlWidget(u"Picture6"_qs)->geometry(), QRect(16, 0, 690, 658));
}

TEST(Window, EveryMenuShowsInAWindowSmallerThanDesigned)
{
    // At a scale factor of 3 the screen has few logical pixels and the
    // window is about half its designed size: the menu bar once hid its last
    // menus behind a chevron. It shows every menu at every size, and its
    // font comes back when the window grows again.
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 0.5);
    w.events().load();
    w.show();
    QMenuBar *bar = w.menuBar();
    const QFont designed = QApplication::font();
    for (double zoom : {0.5, 0.35, 1.0}) {
        SCOPED_TRACE(zoom);
        const int menuH = bar->sizeHint().height();
        w.resize(int(f.ClientWidth / 15.0 * zoom), int(f.ClientHeight / 15.0 * zoom) + menuH);
        QApplication::processEvents();
        for (QAction *a : bar->actions()) {
            const QRect r = bar->actionGeometry(a);
            EXPECT_FALSE(r.isEmpty()) << a->text().toStdString();
            EXPECT_LE(r.right(), bar->width()) << a->text().toStdString();
        }
        if (zoom >= 1.0) {
            EXPECT_EQ(bar->font().pixelSize(), designed.pixelSize());
        }
    }
}

TEST(Window, ClicksOnThePlaneReachTheForm)
{
    TestForm t;
    Form1 &f = t.start();
    t.queueDraws(0.99, 40);
    MainWindow w(f, 1.0);
    w.show();
    w.events().menu(u"thahyo1"_qs); // first question: plot (3,-2)
    ASSERT_TRUE(f.Command5.Visible);
    CanvasWidget *plane = w.canvasWidget(u"Picture6"_qs);
    // The pixel of plane point (3, -2): the plane runs from -9 to 9 both ways.
    const QPoint at(int((3 + 9) / 18.0 * plane->width()), int((9 + 2) / 18.0 * plane->height()));
    QTest::mouseMove(plane, at);
    QTest::mouseClick(plane, Qt::LeftButton, {}, at);
    EXPECT_EQ(f.graph.clickAnswer, u"(3,-2)"_qs);
    QTest::mouseClick(qobject_cast<QPushButton *>(w.controlWidget(u"Command5"_qs)), Qt::LeftButton);
    EXPECT_EQ(f.scoreState.correctCount, 1);
    EXPECT_EQ(t.sounds, QStringList{u"Maru.wav"_qs});
}

TEST(Window, RealMetricsMeasureJapaneseText)
{
    QtTextMetrics m;
    const double narrow = m.widthTwips(u"1111"_qs, u"ＭＳ Ｐゴシック"_qs, 16, false);
    const double wide = m.widthTwips(u"問題問題"_qs, u"ＭＳ Ｐゴシック"_qs, 16, false);
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow * 1.5);
    EXPECT_NEAR(m.widthTwips(u"問"_qs, u"ＭＳ Ｐゴシック"_qs, 16, false), 16 * 20, 16 * 4);
    EXPECT_GT(m.heightTwips(u"ＭＳ Ｐゴシック"_qs, 16, false), 16 * 20);
}

TEST(Drive, DumpShowsTheDesignedWindow)
{
    DriveRun d;
    ASSERT_EQ(d.run(u"start\ndump @/d.json\nshot window @/w.png\nshot Picture6 @/p6.png\n"_qs), 0)
        << d.stdErr.toStdString();
    const QJsonObject dump = d.json(u"d.json"_qs);
    const QJsonObject controls = dump[u"controls"].toObject();
    EXPECT_EQ(controls[u"Form1"][u"caption"].toString(), u"ソレムカゼミ"_qs);
    const QJsonObject text2 = controls[u"Text2"].toObject();
    EXPECT_EQ(text2[u"left"].toInt(), 5640);
    EXPECT_EQ(text2[u"fontSize"].toDouble(), 36);
    EXPECT_EQ(text2[u"tabIndex"].toInt(), 0);
    EXPECT_EQ(controls[u"Label12"][u"caption"].toString(), u"正  解"_qs);
    EXPECT_TRUE(controls[u"Label12"][u"fontBold"].toBool());
    EXPECT_FALSE(controls[u"Label12"][u"visible"].toBool());
    EXPECT_EQ(controls[u"Command2"][u"backColor"].toInt(), conv::rgb(255, 255, 128));
    EXPECT_EQ(controls[u"grawrite1"][u"caption"].toString(), u"ｸﾞﾗﾌ書き1"_qs);
    EXPECT_EQ(controls[u"gra2read1"][u"caption"].toString(), u"ｸﾞﾗﾌ書き1"_qs);
    EXPECT_EQ(controls[u"ouyou1"][u"caption"].toString(), u"応用１"_qs);
    EXPECT_FALSE(controls[u"enmenko"][u"enabled"].toBool());
    EXPECT_FALSE(controls[u"taiseki"][u"enabled"].toBool());
    EXPECT_TRUE(controls[u"gra2read2"][u"enabled"].toBool());
    EXPECT_FALSE(controls[u"tyosenten2"][u"enabled"].toBool());
    EXPECT_FALSE(controls[u"thahyo1"][u"checked"].toBool());
    EXPECT_EQ(controls[u"Timer1"][u"interval"].toInt(), 0);

    // The six menus of the sets, then the settings with 「新しい数で出題」, off.
    const QJsonArray bar = dump[u"menuBar"].toArray();
    ASSERT_EQ(bar.size(), 8);
    EXPECT_EQ(bar[6][u"caption"].toString(), u"復習"_qs);
    EXPECT_EQ(bar[6][u"items"].toArray(), QJsonArray{u"matigai"_qs});
    EXPECT_EQ(bar[7][u"caption"].toString(), u"設定"_qs);
    EXPECT_EQ(bar[7][u"items"].toArray(), QJsonArray{u"atarasiikazu"_qs});
    EXPECT_EQ(controls[u"atarasiikazu"][u"caption"].toString(), u"新しい数で出題"_qs);
    EXPECT_FALSE(controls[u"atarasiikazu"][u"checked"].toBool());
    EXPECT_EQ(bar[3][u"caption"].toString(), u"2年関数"_qs);
    EXPECT_EQ(bar[3][u"items"].toArray().size(), 9);
    EXPECT_EQ(bar[0][u"items"].toArray()[1].toString(), u"thahyou2"_qs);

    const QJsonObject state = dump[u"state"].toObject();
    EXPECT_EQ(state[u"mondaiNo"].toInt(), 1);
    EXPECT_EQ(state[u"displayName"].toString(), u"とくめい"_qs);
    EXPECT_EQ(state[u"shuffledMondai"].toArray().size(), 201);
    EXPECT_EQ(state[u"primeTable"].toArray()[17].toInt(), 59);
    EXPECT_FALSE(dump[u"closed"].toBool());
    EXPECT_TRUE(QImage(d.path(u"w.png"_qs)).width() > 700);
    EXPECT_FALSE(QImage(d.path(u"p6.png"_qs)).isNull());
}

TEST(Drive, AllSetsEnablesTheItemsDisabledByDesign)
{
    DriveRun d;
    ASSERT_EQ(d.run(u"dump @/d.json\n"_qs, {u"--all-sets"_qs}), 0) << d.stdErr.toStdString();
    const QJsonObject controls = d.json(u"d.json"_qs)[u"controls"].toObject();
    EXPECT_TRUE(controls[u"enmenko"][u"enabled"].toBool());
    EXPECT_TRUE(controls[u"tyosenten2"][u"enabled"].toBool());
}

TEST(Drive, BadLinesAreReportedWithTheirNumber)
{
    // The script, and what its error names: the line, or why a command cannot run.
    for (auto [script, says] : {std::pair{u"start\n# a comment\nfrobnicate\n", u":3:"}, {u"clock abc\n", u":1:"},
                                {u"menu enmenko\n", u"disabled"}, {u"click Command3\n", u""}}) {
        DriveRun d;
        EXPECT_NE(d.run(QString::fromUtf16(script)), 0) << QString::fromUtf16(script).toStdString();
        EXPECT_TRUE(d.stdErr.contains(QString::fromUtf16(says))) << d.stdErr.toStdString();
    }
}

TEST(Drive, MachineAndFolderReachStartUp)
{
    DriveRun d;
    const QString script = u"folder @/cwd\nroster @/roster.ini\nmachine soremuka1\ndate 2026/12/08\n"
                           "clock 64800\ndump @/d.json\n"_qs;
    TestForm::write(d.path(u"roster.ini"_qs), "[soremuka1]\nA=a\nBEarly=b\nBLate=c\n");
    QDir().mkpath(d.path(u"cwd"_qs));
    TestForm::write(d.path(u"cwd/crenzoku.txt"_qs), "6\n");
    ASSERT_EQ(d.run(script), 0) << d.stdErr.toStdString();
    const QJsonObject state = d.json(u"d.json"_qs)[u"state"].toObject();
    EXPECT_EQ(state[u"displayName"].toString(), u"c"_qs);
    EXPECT_EQ(state[u"streak"].toInt(), 6);
}

// 「設定」 holds the form's 「新しい数で出題」, checkable, then the window's
// mute switch. Choosing the item checks it in the form and the menu shows
// the check; the next set is asked in new numbers.
TEST(Window, TheSettingsMenuTurnsNewNumbersOnAndOff)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.events().load();
    const auto menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), 8);
    QMenu *settings = menus[7]->menu();
    ASSERT_NE(settings, nullptr);
    const auto items = settings->actions();
    ASSERT_EQ(items.size(), 2);
    QAction *fresh = items[0];
    EXPECT_EQ(fresh->text(), u"新しい数で出題"_qs);
    EXPECT_TRUE(fresh->isCheckable());
    EXPECT_FALSE(fresh->isChecked());
    EXPECT_EQ(items[1]->text(), u"音を消す"_qs);

    fresh->trigger();
    EXPECT_TRUE(f.menuItem(u"atarasiikazu"_qs)->Checked);
    EXPECT_TRUE(fresh->isChecked());
    w.events().menu(u"nagasa"_qs);
    EXPECT_FALSE(f.run.variantSeed.isEmpty());

    fresh->trigger();
    EXPECT_FALSE(f.menuItem(u"atarasiikazu"_qs)->Checked);
    EXPECT_FALSE(fresh->isChecked());
}
