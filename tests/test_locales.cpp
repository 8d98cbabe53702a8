// The program under the desktops of the schools that use it (Japanese, in
// UTF-8 and in Shift-JIS) and under ones that write a decimal comma or case
// their letters their own way: the same font, the same numbers, the same
// files. scripts/setup.sh makes the locales where they are missing.
#include "Process.h"
#include "DriveRunner.h"
#include "TestForm.h"

#include "controls/Convert.h"

#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>

#include <clocale>
#include <string>

namespace {

const char *const kLocales[] = {"C", "C.UTF-8", "ja_JP.UTF-8", "ja_JP.SJIS", "de_DE.UTF-8", "tr_TR.UTF-8"};

// Sets the C library's locale for the test's own process and puts it back
// afterwards.
struct InLocale {
    std::string before = std::setlocale(LC_ALL, nullptr);
    bool ok;
    explicit InLocale(const char *name) : ok(std::setlocale(LC_ALL, name) != nullptr) {}
    ~InLocale() { std::setlocale(LC_ALL, before.c_str()); }
};

// Every text printed on every picture box of a dump.
QStringList printedTexts(const QJsonObject &dump)
{
    QStringList texts;
    const QJsonObject canvases = dump[u"canvases"_qs].toObject();
    for (const QString &name : canvases.keys())
        for (const QJsonValue op : canvases[name][u"ops"_qs].toArray())
            if (op[u"op"_qs].toString() == u"print")
                texts << name + u": "_qs + op[u"text"_qs].toString();
    return texts;
}

Ran runIn(const char *locale, const QString &program, const QStringList &args)
{
    const QString name = QString::fromLatin1(locale);
    RunOptions options;
    options.set = {{u"LANG"_qs, name}, {u"LC_ALL"_qs, name}};
    return runProcess(program, args, options);
}

} // namespace

TEST(Locales, EveryLocaleTheTestsUseIsInstalled)
{
    for (const char *name : kLocales) {
        const InLocale l(name);
        EXPECT_TRUE(l.ok) << name << " is not installed: scripts/setup.sh makes it";
    }
}

TEST(Locales, NumbersReadAndPrintTheSameEverywhere)
{
    for (const char *name : kLocales) {
        const InLocale l(name);
        if (!l.ok)
            continue;
        SCOPED_TRACE(name);
        EXPECT_EQ(conv::doubleText(38.5), u"38.5"_qs);
        EXPECT_EQ(conv::singleText(-4.5f), u"-4.5"_qs);
        EXPECT_EQ(conv::doubleText(2.0 / 3.0), u"0.666666666666667"_qs);
        EXPECT_EQ(conv::doubleText(1e16), u"1E+16"_qs);
        EXPECT_EQ(conv::printItem(2.5), u" 2.5 "_qs);
        EXPECT_DOUBLE_EQ(conv::numericPrefix(u"38.5"_qs), 38.5);
        EXPECT_DOUBLE_EQ(conv::numericPrefix(u"-4.5e1x"_qs), -45.0);
        EXPECT_EQ(conv::textToInt16(u"9.5,261201#x"_qs), 10); // a results record
    }
}

TEST(Locales, AnExplanationAndARecordAreTheSameUnderEveryLocale)
{
    // The square on y=7/4x: the triangle COD has 38.5 c㎡. A miss shows the
    // explanation; the run's record goes to the family file.
    QStringList inC;
    QByteArray recordInC;
    for (const char *name : kLocales) {
        const InLocale l(name);
        if (!l.ok)
            continue;
        SCOPED_TRACE(name);
        TestForm t;
        Form1 &f = t.start();
        f.menuClick(u"ouyou1"_qs);
        f.bank.shuffledMondai[1] = u"y=7/4xに図のようにx=4から正方形を書きました。△CODの面積をもとめて。#y=7/4x,4"_qs;
        f.bank.shuffledKotae[1] = u"38.5"_qs;
        f.bank.mondaiNo = 0;
        f.nextQuestion();
        t.type(u"38\r"_qs);
        ASSERT_EQ(f.scoreState.missCount, 1);
        QStringList texts;
        for (Canvas *c : f.canvases())
            for (const QString &text : TestForm::printed(*c))
                texts << c->Name + u": "_qs + text;
        EXPECT_TRUE(texts.join(u'\n').contains(u"38.5"_qs)) << texts.join(u'\n').toStdString();
        EXPECT_FALSE(texts.join(u'\n').contains(u"38,5"_qs));
        f.scoreState.score = 7;
        f.endRun();
        const QByteArray record = TestForm::read(f.history.resultsPath);
        if (inC.isEmpty()) {
            inC = texts;
            recordInC = record;
        } else {
            EXPECT_EQ(texts, inC);
            EXPECT_EQ(record, recordInC);
        }
    }
    EXPECT_FALSE(inC.isEmpty());
}

TEST(Locales, TheProgramFindsTheJapaneseGothicUnderEveryLocale)
{
    // On a Japanese desktop the font system names the font 「IPA Pゴシック」;
    // the driver and the worksheet find it all the same, and the window
    // shows the same explanation under every locale.
    const bool havePdffonts = !QStandardPaths::findExecutable(u"pdffonts"_qs).isEmpty();
    QString fontInC;
    QStringList textsInC;
    for (const char *name : kLocales) {
        if (!InLocale(name).ok)
            continue;
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"sheet.pdf"_qs);
        const Ran sheet = runIn(name, QStringLiteral(SOREMUKA_PROGRAM), {u"--worksheet"_qs, u"grawrite1"_qs, u"-o"_qs, pdf});
        ASSERT_EQ(sheet.code, 0) << sheet.err.toStdString();
        ASSERT_TRUE(QFileInfo(pdf).isFile());
        if (havePdffonts) {
            const Ran fonts = runIn("C", u"pdffonts"_qs, {pdf});
            EXPECT_TRUE(fonts.out.contains(u"IPAPGothic"_qs)) << fonts.out.toStdString();
        }

        // Draws of 0.99 keep the bank's order: question 28 is the triangle.
        const QString script = u"folder "_qs + dir.filePath(u"cwd"_qs) + u"\nrandom"_qs
                               + QString(u" 0.99"_qs).repeated(200) + u"\nmenu ouyou1\ngoto 28\ntype 38\nkey Enter\ndump "_qs
                               + dir.filePath(u"d.json"_qs) + u'\n';
        QDir().mkpath(dir.filePath(u"cwd"_qs));
        TestForm::write(dir.filePath(u"script.txt"_qs), script.toUtf8());
        const Ran drive = runIn(name, QStringLiteral(SOREMUKA_DRIVE), {dir.filePath(u"script.txt"_qs)});
        ASSERT_EQ(drive.code, 0) << drive.err.toStdString();
        QFile f(dir.filePath(u"d.json"_qs));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QJsonObject dump = QJsonDocument::fromJson(f.readAll()).object();
        const QString font = dump[u"screenFont"_qs].toString();
        const QStringList texts = printedTexts(dump);
        EXPECT_TRUE(font.contains(u"IPAPGothic"_qs) || font.contains(u"IPA Pゴシック"_qs)) << font.toStdString();
        EXPECT_TRUE(texts.join(u'\n').contains(u"38.5"_qs));
        if (fontInC.isEmpty()) {
            fontInC = font;
            textsInC = texts;
        } else {
            EXPECT_EQ(texts, textsInC);
        }
    }
}
