// The command line: --help lists every option from the one table the
// program reads them by; a wrong option, or no display to open the window
// on, is one clear line and exit status 2; a scale factor below one is
// raised to one before the window shows.
#include "Process.h"
#include "program/Options.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Ran program(const QStringList &args, const std::map<QString, QString> &set = {}, const QStringList &unset = {})
{
    QTemporaryDir cwd;
    RunOptions options;
    options.set = set;
    options.unset = unset;
    options.workingDirectory = cwd.path();
    options.timeoutMs = 60000;
    return soremuka(args, options);
}

const QStringList kNoDisplay = {u"DISPLAY"_qs, u"WAYLAND_DISPLAY"_qs, u"QT_QPA_PLATFORM"_qs};

} // namespace

TEST(Options, TheWindowTakesItsOwnOptionsAndQtsAndNothingElse)
{
    const struct {
        QStringList args;
        const char16_t *error; // empty: taken
    } rows[] = {
        {{}, u""},
        {{u"--all-sets"_qs}, u""},
        {{u"-platform"_qs, u"offscreen"_qs, u"--all-sets"_qs}, u""},
        {{u"--platform=offscreen"_qs, u"-reverse"_qs, u"-style"_qs, u"Fusion"_qs}, u""},
        {{u"-display"_qs, u":0"_qs, u"-geometry"_qs, u"800x600"_qs}, u""},
        {{u"--bogus"_qs}, u"unknown option --bogus"},
        {{u"-x"_qs}, u"unknown option -x"},
        {{u"results"_qs}, u"unexpected argument results"},
        {{u"--all-sets=yes"_qs}, u"the option --all-sets takes no value"},
        {{u"-platform"_qs}, u"the option -platform needs a value"},
        {{u"--all-sets"_qs, u"--list"_qs}, u"unknown option --list"},
    };
    for (const auto &r : rows) {
        const options::WindowArgs a = options::readWindowArgs(r.args);
        EXPECT_EQ(a.error, QString::fromUtf16(r.error)) << r.args.join(u' ').toStdString();
    }
    // The listings take their own options and no others, not even Qt's.
    EXPECT_TRUE(options::readArgs({u"--print-bank"_qs, u"nagasa"_qs, u"--all-sets"_qs}, options::Listing).error.isEmpty());
    EXPECT_TRUE(options::readArgs({u"--list-sets"_qs}, options::Listing).error.isEmpty());
    EXPECT_EQ(options::readArgs({u"--list-sets"_qs, u"--answers"_qs}, options::Listing).error, u"unknown option --answers"_qs);
    EXPECT_EQ(options::readArgs({u"--list-sets"_qs, u"-reverse"_qs}, options::Listing).error, u"unknown option -reverse"_qs);
    EXPECT_TRUE(options::wantsListing({u"--print-bank=nagasa"_qs}));
    EXPECT_TRUE(options::readWindowArgs({u"--all-sets"_qs}).has(u"--all-sets"_qs));
    EXPECT_FALSE(options::readWindowArgs({u"-reverse"_qs}).has(u"--all-sets"_qs));
    EXPECT_EQ(options::qtOption({u"--all-sets"_qs, u"-platform"_qs, u"xcb"_qs}, u"-platform"_qs), u"xcb"_qs);
    EXPECT_EQ(options::qtOption({u"--platform=offscreen"_qs}, u"-platform"_qs), u"offscreen"_qs);
    EXPECT_TRUE(options::wantsHelp({u"--worksheet"_qs, u"x"_qs, u"-h"_qs}));
    EXPECT_FALSE(options::wantsHelp({u"--helpful"_qs}));
}

TEST(Options, HelpListsEveryOptionTheCommandsAndWhereFilesGo)
{
    const Ran r = program({u"--help"_qs}, {}, kNoDisplay); // needs no display
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    for (const options::Row &row : options::rows())
        for (const QString &spelling : row.option.split(u", "_qs))
            EXPECT_TRUE(r.out.contains(spelling)) << spelling.toStdString();
    for (const char16_t *text : {u"make run", u"make test", u"/etc/compname.txt", u"roster.ini", u"座標問題.txt",
                                 u"renzoku.txt", u".lock", u"Maru.wav", u"-platform"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(program({u"-h"_qs}, {}, kNoDisplay).out, r.out);
}

TEST(Options, AWrongCommandLineOrNoDisplayIsOneLineAndStatusTwo)
{
    const struct {
        const char *what;
        QStringList args;
        std::map<QString, QString> set;
        QStringList unset;
        const char16_t *says;
    } cases[] = {
        {"an unknown option", {u"--bogus"_qs}, {{u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs}}, {}, u"unknown option --bogus"},
        {"a stray argument", {u"results"_qs}, {{u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs}}, {}, u"unexpected argument"},
        {"an unknown option beside a listing", {u"--list-sets"_qs, u"--bogus"_qs}, {}, kNoDisplay, u"unknown option --bogus"},
        {"no display at all", {}, {}, kNoDisplay, u"no display"},
        {"a display that does not answer", {}, {{u"DISPLAY"_qs, u":97"_qs}}, {u"QT_QPA_PLATFORM"_qs, u"WAYLAND_DISPLAY"_qs},
         u"cannot open the window"},
        {"no display for the X platform asked for", {u"-platform"_qs, u"xcb"_qs}, {}, kNoDisplay, u"no display"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Ran r = program(c.args, c.set, c.unset);
        EXPECT_EQ(r.code, 2) << r.err.toStdString(); // not a core dump, not a window
        const QStringList lines = r.err.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(u"soremuka: "_qs));
        EXPECT_TRUE(lines[0].contains(QString::fromUtf16(c.says))) << lines[0].toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Options, TheWindowPaintsAtEveryScaleFactorFromHalfToThree)
{
    // Qt cannot paint at a device pixel ratio below one: at 0.5 most of the
    // window stayed unpainted. A scale that brings it below one is raised;
    // the others are kept.
    const struct {
        const char *factor;
        const char *ratio;
    } cases[] = {{"0.5", "device pixel ratio 1\n"}, {"0.75", "device pixel ratio 1\n"}, {"1", "device pixel ratio 1\n"},
                 {"2", "device pixel ratio 2\n"},   {"3", "device pixel ratio 3\n"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.factor);
        const Ran r = program({}, {{u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs},
                                   {u"QT_SCALE_FACTOR"_qs, QString::fromLatin1(c.factor)},
                                   {u"SOREMUKA_EXIT_AFTER_PAINT"_qs, u"1"_qs}});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(u"painted "_qs)) << r.out.toStdString();
        EXPECT_TRUE(r.out.endsWith(QString::fromLatin1(c.ratio))) << r.out.toStdString();
    }
}
