// The real answer box of the window: keys, pastes and an input method's
// text all go through the form's key handler, and the caret keys cannot edit
// behind its back.
#include "TestForm.h"

#include "answer/AnswerLength.h"
#include "ui/MainWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

TEST(AnswerBoxWidget, KeysPasteAndInputMethodGoThroughTheHandler)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.events().load();
    w.show();
    w.events().menu(u"nagasa"_qs);
    QLineEdit *box = w.answerBox();
    ASSERT_TRUE(box->isVisible());

    QTest::keyClicks(box, u"y=4/3X"_qs);
    EXPECT_EQ(box->text(), u"y=3/4x"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=3/4x"_qs);
    EXPECT_EQ(opsOf(f.Picture3, CanvasOp::Line).size(), 1u); // the fraction's bar, none under the x
    EXPECT_TRUE(printOp(f.Picture3, u"y="_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"x"_qs));

    // The caret keys cannot edit behind the handler's back.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), u"y=3/4"_qs);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(f.typing.typedExpr, u"y="_qs);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier); // select all: ignored
    QTest::keyClicks(box, u"2x"_qs);
    EXPECT_EQ(box->text(), u"y=2x"_qs);
    QTest::keyClicks(box, u"\b\b\b\b"_qs);
    EXPECT_EQ(box->text(), QString());

    // A paste is fed through the handler one character at a time, made
    // half-width, without its line end.
    QGuiApplication::clipboard()->setText(u"ｙ＝３\n"_qs);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), u"y=3"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=3"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"y=3"_qs});

    // An input method's commit arrives half-width too.
    QInputMethodEvent commit;
    commit.setCommitString(u"３"_qs);
    QCoreApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), u"y=33"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=33"_qs);
    QInputMethodEvent preedit(u"ｘ"_qs, {});
    QCoreApplication::sendEvent(box, &preedit);
    EXPECT_EQ(box->text(), u"y=33"_qs);

    // Enter judges: a wrong answer locks the box and shows the panels.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(f.scoreState.answerLocked, 1);
    EXPECT_EQ(box->text(), QString());
    EXPECT_TRUE(w.controlWidget(u"Command3"_qs)->isVisible());
    EXPECT_EQ(t.sounds, QStringList{u"SD05.wav"_qs});
}

TEST(AnswerBoxWidget, ALongPasteIsCutToWhatAnAnswerCanNeed)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.events().load();
    w.show();
    w.events().menu(u"nagasa"_qs);
    QLineEdit *box = w.answerBox();
    const int cap = answerlength::cap();

    // Sixteen thousand digits once took minutes, one whole update a key.
    QGuiApplication::clipboard()->setText(u"1234567890"_qs.repeated(1600));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), u"1234567890"_qs.repeated(1600).left(cap));
    EXPECT_EQ(f.typing.typedExpr, box->text());
    // Neither another paste nor a typed key makes it longer; Backspace and
    // Enter still work.
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(box, u"99"_qs);
    EXPECT_EQ(box->text().size(), cap);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text().size(), cap - 1);
    // A paste into a box that holds some text takes only what still fits,
    // its line ends dropped.
    QGuiApplication::clipboard()->setText(u"5\r\n6\r\n7"_qs);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text().right(1), u"5"_qs);
    EXPECT_EQ(box->text().size(), cap);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(f.scoreState.missCount, 1);
    EXPECT_EQ(f.scoreState.answerLocked, 1);

    // While the box is locked a key reaches it as it is: still no further
    // than the limit.
    QGuiApplication::clipboard()->setText(u"x"_qs.repeated(5000));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_LE(f.Text2.Text.size(), cap);
}
