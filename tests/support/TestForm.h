#pragma once
// A form with fake services, for tests: the fake world (a clock that moves
// only when told, a scripted random source, recorded sounds and messages),
// fixed-width text metrics, and a fresh temporary folder for results and
// streak files. Also the look-ups into picture boxes and the fixtures that
// many tests share.
#include "form/Form1.h"
#include "FakeWorld.h"
#include "app/Results.h"
#include "controls/TextMetrics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

struct TestForm : FakeWorld, ScratchFolder {
    FixedMetrics metrics;
    bool allSets = false;
    std::unique_ptr<Form1> form;

    Form1 &make()
    {
        form = makeForm(metrics, paths, allSets);
        return *form;
    }

    Form1 &start()
    {
        make().Form_Load();
        return *form;
    }

    // A started form showing the first question of "nagasa", answered by typing.
    Form1 &ready()
    {
        start().menuClick(u"nagasa"_qs);
        EXPECT_TRUE(form->Text2.Visible);
        EXPECT_TRUE(form->Text2.Text.isEmpty());
        return *form;
    }

    // A question and its stored answer at position 1 of a draw order of two,
    // presented on a cleared plane; position 2 holds the question given as
    // next, or the same one again. Starts the form if it is not yet made.
    Form1 &present(const QString &q, const QString &k, const QString &nextQ = {}, const QString &nextK = {})
    {
        Form1 &f = form ? *form : start();
        f.bank.mondaiCount = 2;
        f.bank.shuffledMondai[1] = q;
        f.bank.shuffledKotae[1] = k;
        f.bank.shuffledMondai[2] = nextQ.isNull() ? q : nextQ;
        f.bank.shuffledKotae[2] = nextQ.isNull() ? k : nextK;
        f.bank.mondaiNo = 1;
        f.Picture6.Cls();
        f.presentQuestion();
        return f;
    }

    // Each character is one key press; '\b' is Backspace and '\r' Enter.
    void type(const QString &keys)
    {
        for (QChar c : keys)
            form->typeKey(c.unicode());
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    QString cwdFile(const QString &name) const { return QDir(paths.currentFolder).filePath(name); }

    // A family history whose only record is of another set.
    static QByteArray otherSetsHistory() { return "2026/12/01\r\n5,261201#other1.txt\r\n"; }

    // Before start-up: the set whose results go to this file will be asked
    // in bank order, as its family's history holds no record of it.
    void putInBankOrder(const QString &resultsFileName)
    {
        write(cwdFile(results::familyFileName(resultsFileName)), otherSetsHistory());
    }

    // The files of a folder, hidden ones too, but for the learners' own
    // records that every run adds to.
    static QStringList filesBesideRecords(const QString &folder)
    {
        QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        files.removeIf([](const QString &name) { return name.endsWith(u"きろく.txt"_qs); });
        return files;
    }

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // The same draw n times. 0.99 leaves every block of the draw order as the
    // bank has it; 0 moves every question of a block away from its place.
    void queueDraws(double v, int n)
    {
        for (int i = 0; i < n; ++i)
            random.queue(v);
    }

    // The five-minute clock runs out: half a second past the end, one tick.
    void runOutClock()
    {
        clock.seconds = double(form->run.endTime) + 0.5;
        form->Timer1_Timer();
    }

    // Every question of the bank is asked at its own position.
    static bool inBankOrder(const Form1 &f)
    {
        for (int i = 1; i <= f.bank.mondaiCount; ++i)
            if (f.bank.shuffledMondai[i] != f.bank.mondai[i])
                return false;
        return true;
    }

    // The texts printed on a picture box since it was last cleared.
    static QStringList printed(const Canvas &c)
    {
        QStringList texts;
        for (const CanvasOp &op : c.ops())
            if (op.kind == CanvasOp::Print)
                texts << op.text;
        return texts;
    }
};

// The lines of a file written by the program (UTF-8, CR LF).
inline QStringList linesOf(const QString &path)
{
    QStringList lines = QString::fromUtf8(TestForm::read(path)).split(u"\r\n"_qs);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The pointer arrives on the plane, presses and lets go, as on a screen.
inline void tap(Form1 &f, double x, double y)
{
    f.Picture6_MouseMove(0, 0, x, y);
    f.Picture6_MouseDown(1, 0, x, y);
    f.Picture6_Click();
}

// The items of one kind on a picture box, in drawing order.
inline std::vector<const CanvasOp *> opsOf(const Canvas &c, CanvasOp::Kind kind)
{
    std::vector<const CanvasOp *> out;
    for (const CanvasOp &op : c.ops())
        if (op.kind == kind)
            out.push_back(&op);
    return out;
}

// The first print item with this text.
inline const CanvasOp *printOp(const Canvas &c, const QString &text)
{
    for (const CanvasOp *op : opsOf(c, CanvasOp::Print))
        if (op->text == text)
            return op;
    return nullptr;
}

// Fixtures: a started form, and one showing a question answered by typing.
struct StartedForm : ::testing::Test {
    TestForm t;
    Form1 &f = t.start();
};

struct ReadyForm : ::testing::Test {
    TestForm t;
    Form1 &f = t.ready();
};
