// The worksheet as a teacher gets it: the program run from the command line,
// its PDF opened with poppler's tools (page count, fonts, extracted text) and
// its pages looked at as pictures.
#include "Process.h"
#include "banks/Catalogue.h"
#include "ui/QtTextMetrics.h"
#include "worksheet/WorksheetSource.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

Ran run(const QString &program, const QStringList &args) { return runProcess(program, args); }

// Text without any blank or line break: what pdftotext keeps of a line does
// not depend on where the sheet wrapped it.
QString flat(QString s)
{
    s.removeIf([](QChar c) { return c.isSpace(); });
    return s;
}

// The same where fractions and powers are set: their parts follow one
// another in the page's text without the "/" or "^" that wrote them.
QString typesetFlat(QString s)
{
    s.remove(u'/');
    s.remove(u'^');
    return flat(s);
}

// A text is on the sheet as it is written or as it is set.
bool holds(const QString &all, const QString &text)
{
    return all.contains(flat(text)) || all.contains(typesetFlat(text));
}

QStringList folderEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

struct WorksheetProgram : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

    void SetUp() override
    {
        for (const char *tool : {"pdfinfo", "pdftotext", "pdffonts", "pdftoppm"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_FAIL() << tool << " is missing: scripts/setup.sh installs poppler-utils";
    }

    int pages(const QString &pdf)
    {
        const Ran r = run(u"pdfinfo"_qs, {pdf});
        static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
        const QRegularExpressionMatch m = re.match(r.out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    QString text(const QString &pdf, bool raw = false)
    {
        QStringList args{u"-enc"_qs, u"UTF-8"_qs, pdf, u"-"_qs};
        if (raw)
            args.prepend(u"-raw"_qs);
        return run(u"pdftotext"_qs, args).out;
    }
    // Page n of a PDF rendered by poppler.
    QImage render(const QString &pdf, int n)
    {
        const QString stem = path(u"page"_qs);
        run(u"pdftoppm"_qs, {u"-r"_qs, u"100"_qs, u"-png"_qs, u"-singlefile"_qs, u"-f"_qs, QString::number(n),
                             u"-l"_qs, QString::number(n), pdf, stem});
        QImage image(stem + u".png"_qs);
        QFile::remove(stem + u".png"_qs);
        return image;
    }
};

// Dark pixels in a part of a page given as fractions of its size.
int ink(const QImage &page, double x0, double y0, double x1, double y1)
{
    int n = 0;
    for (int y = int(y0 * page.height()); y < int(y1 * page.height()); ++y)
        for (int x = int(x0 * page.width()); x < int(x1 * page.width()); ++x)
            n += qGray(page.pixel(x, y)) < 140;
    return n;
}

// The lower part of each of the nine cells of a question page, where its
// figure stands: the grid runs from 7 % to 93 % across and from 12.5 % to
// 95 % down the page.
std::vector<int> figureInk(const QImage &page)
{
    std::vector<int> out;
    const double top = 0.125, cellH = (0.95 - 0.125) / 3, left = 0.07, cellW = 0.86 / 3;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const double x = left + col * cellW, y = top + row * cellH;
            out.push_back(ink(page, x + 0.01, y + 0.3 * cellH, x + cellW - 0.01, y + cellH - 0.01));
        }
    return out;
}

} // namespace

TEST_F(WorksheetProgram, PdfHoldsEveryQuestionAndEveryAnswerOfTheSet)
{
    // A drawing set, a coordinate set whose key gives single coordinates, a
    // circle set, the application sets, and points on lines.
    for (const char *item : {"grawrite1", "thahyou2", "enmenko", "ouyou1", "ouyou2", "ouyou3", "senza1"}) {
        SCOPED_TRACE(item);
        const QString pdf = path(QString::fromLatin1(item) + u".pdf"_qs);
        const Ran r = soremuka({u"--worksheet"_qs, QString::fromLatin1(item), u"--answers"_qs, u"-o"_qs, pdf});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

        const banks::BankData *bank = banks::Catalogue::builtIn().findItem(QString::fromLatin1(item));
        ASSERT_TRUE(bank);
        // The questions nine to a page, then the key (longer where answers
        // are drawn on planes).
        const int questionPages = (bank->count + 8) / 9;
        EXPECT_GE(pages(pdf), questionPages + 1);
        EXPECT_TRUE(run(u"pdffonts"_qs, {pdf}).out.contains(u"IPAPGothic"_qs));

        const QString all = flat(text(pdf, true)); // in drawing order: a fraction's parts in turn
        for (int i = 0; i < bank->count; ++i) {
            const auto &[question, answer] = bank->pairs[size_t(i)];
            EXPECT_TRUE(holds(all, question.section(u'#', 0, 0))) << "question " << i + 1;
            EXPECT_FALSE(all.contains(flat(u'#' + question.section(u'#', 1)))) << "figure data of " << i + 1;
            EXPECT_TRUE(holds(all, answer)) << "answer " << i + 1 << " " << answer.toStdString();
        }
        EXPECT_TRUE(all.contains(u"名前"_qs) && all.contains(u"日付"_qs));
        EXPECT_TRUE(all.contains(u"解答"_qs));
    }
}

TEST_F(WorksheetProgram, TheKeyNamesTheCoordinateAskedAndComesOnlyWhenAskedFor)
{
    const QString pdf = path(u"points.pdf"_qs), plain = path(u"plain.pdf"_qs);
    ASSERT_EQ(soremuka({u"--worksheet=thahyou2"_qs, u"--answers"_qs, u"-o"_qs, pdf}).code, 0);
    // "ここの点のx座標を求めて。" of (-4,-2): the key says -4, then the point.
    const QString key = text(pdf, true).section(u"解答"_qs, 1);
    EXPECT_TRUE(flat(key).contains(u"1.-4点(-4,-2)2.4点(-1,4)3.-3点(-3,1)"_qs)) << key.left(200).toStdString();

    ASSERT_EQ(soremuka({u"--worksheet"_qs, u"graread2"_qs, u"-o"_qs, plain}).code, 0);
    EXPECT_EQ(pages(plain), 4);
    const QString questions = flat(text(plain));
    EXPECT_FALSE(questions.contains(u"解答"_qs));
    EXPECT_FALSE(questions.contains(u"y=6/x"_qs));
}

TEST_F(WorksheetProgram, ShuffledSheetFollowsTheProgramsDrawOrder)
{
    const QString pdf = path(u"shuffled.pdf"_qs);
    ASSERT_EQ(soremuka({u"--worksheet"_qs, u"thahyo1"_qs, u"--order"_qs, u"shuffled"_qs, u"-o"_qs, pdf}).code, 0);
    QtTextMetrics metrics;
    const worksheet::Sheet drawn = worksheet::collectSheet(u"thahyo1"_qs, worksheet::Order::Shuffled, metrics);
    const QString raw = flat(text(pdf, true));
    qsizetype at = 0;
    for (const worksheet::Entry &e : drawn.entries) {
        const QString numbered = QString::number(e.number) + u'.' + flat(e.question);
        const qsizetype found = raw.indexOf(numbered, at);
        ASSERT_GE(found, 0) << "question " << e.number << " out of order: " << e.question.toStdString();
        at = found + numbered.size();
    }
    EXPECT_NE(drawn.entries.front().question, u"(3,-2)の点を書き入れてください。"_qs);
}

TEST_F(WorksheetProgram, PagesShowTheFiguresInEveryCell)
{
    const QString pdf = path(u"circles.pdf"_qs), png = path(u"circles.png"_qs), last = path(u"last.png"_qs);
    ASSERT_EQ(soremuka({u"--worksheet"_qs, u"enmenko"_qs, u"--answers"_qs, u"-o"_qs, pdf}).code, 0);
    ASSERT_EQ(soremuka({u"--worksheet"_qs, u"enmenko"_qs, u"-o"_qs, png}).code, 0);
    ASSERT_EQ(soremuka({u"--worksheet"_qs, u"grawrite1"_qs, u"--page"_qs, u"6"_qs, u"-o"_qs, last}).code, 0);

    const QImage fromPdf = render(pdf, 1), picture(png), lastPage(last);
    ASSERT_FALSE(fromPdf.isNull());
    ASSERT_EQ(picture.size(), QSize(1240, 1754));
    for (const QImage *page : {&fromPdf, &picture}) {
        const std::vector<int> cells = figureInk(*page);
        for (size_t i = 0; i < cells.size(); ++i)
            EXPECT_GT(cells[i], 100) << "figure " << i + 1 << " is blank";
    }
    // The sixth page of 50 questions holds the last five; the rest is white.
    const std::vector<int> cells = figureInk(lastPage);
    for (size_t i = 0; i < cells.size(); ++i)
        if (i < 5)
            EXPECT_GT(cells[i], 1000) << "figure " << i + 1;
        else
            EXPECT_EQ(cells[i], 0) << "cell " << i + 1;
    // The key page has no figures: little ink below its answers' column.
    const QImage key = render(pdf, 5);
    EXPECT_LT(ink(key, 0.07, 0.8, 0.93, 0.95), 50);
}

TEST_F(WorksheetProgram, RefusesWithoutLeavingAFile)
{
    const QString out = path(u"sheet.pdf"_qs);
    const struct {
        QStringList args;
        const char16_t *says;
    } cases[] = {
        {{u"--worksheet"_qs, u"nope"_qs, u"-o"_qs, out}, u"thahyo1"},
        {{u"--worksheet"_qs, u"taiseki"_qs, u"-o"_qs, out}, u"no questions"},
        {{u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(u"missing/sheet.pdf"_qs)}, u"cannot write"},
        {{u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(u"missing/sheet.png"_qs)}, u"cannot write"},
        {{u"--worksheet"_qs, u"nagasa"_qs, u"--page"_qs, u"9"_qs, u"-o"_qs, path(u"p.png"_qs)}, u"has 4 pages"},
        {{u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(u"sheet.doc"_qs)}, u".pdf"},
        {{u"--worksheet"_qs, u"nagasa"_qs}, u"-o"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Ran r = soremuka(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.says))) << r.err.toStdString();
        EXPECT_TRUE(folderEntries(dir.path()).isEmpty()) << folderEntries(dir.path()).join(u' ').toStdString();
    }

    // An output that is a folder, and a sheet that fails over an older one:
    // both stay as they were.
    QDir(dir.path()).mkdir(u"folder.pdf"_qs);
    EXPECT_EQ(soremuka({u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(u"folder.pdf"_qs)}).code, 2);
    EXPECT_TRUE(QFileInfo(path(u"folder.pdf"_qs)).isDir());
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older sheet");
    old.close();
    EXPECT_EQ(soremuka({u"--worksheet"_qs, u"nope"_qs, u"-o"_qs, out}).code, 2);
    QFile kept(out);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("older sheet"));
    kept.close();

    // A sheet written over it replaces it whole, with nothing left beside.
    EXPECT_EQ(soremuka({u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, out}).code, 0);
    EXPECT_EQ(pages(out), 4);
    EXPECT_EQ(folderEntries(dir.path()), QStringList({u"folder.pdf"_qs, u"sheet.pdf"_qs}));
}

TEST_F(WorksheetProgram, NeverWritesThroughALinkOrIntoAPipe)
{
    // In a shared folder a link planted at the output's name could point at
    // anyone's file; the sheet is never written through it. A pipe would
    // hold the program for ever.
    const QString victim = path(u"someone-elses.txt"_qs);
    QFile v(victim);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("not to be overwritten");
    v.close();
    for (const QString &name : {u"sheet.pdf"_qs, u"page.png"_qs}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QFile::link(victim, path(name)));
        const Ran r = soremuka({u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(name)});
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(u"symbolic link"_qs)) << r.err.toStdString();
        EXPECT_TRUE(QFileInfo(path(name)).isSymLink());
        QFile::remove(path(name));
    }
    ASSERT_TRUE(v.open(QIODevice::ReadOnly));
    EXPECT_EQ(v.readAll(), QByteArray("not to be overwritten"));
    v.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"pipe.pdf"_qs)).constData(), 0644), 0);
    const Ran r = soremuka({u"--worksheet"_qs, u"nagasa"_qs, u"-o"_qs, path(u"pipe.pdf"_qs)});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(u"not a plain file"_qs)) << r.err.toStdString();
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{u"pipe.pdf"_qs, u"someone-elses.txt"_qs}));
}
