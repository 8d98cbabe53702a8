// Where the program finds its files in a build folder and under an install
// prefix, and where it keeps results: the command line, the site's roster
// and the menu entry, with every folder that cannot be used falling back to
// one that can, and the learner told.
#include "places/Places.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using places::Candidate;
using places::FolderState;
using places::Source;

namespace {

places::IsFile filesOf(const QStringList &files)
{
    const QSet<QString> set(files.begin(), files.end());
    return [set](const QString &path) { return set.contains(path); };
}

} // namespace

TEST(Places, ProgramFilesInABuildFolderAndUnderAPrefix)
{
    const QString module = places::soundModuleFileName();
    struct Row {
        const char *what;
        QString program;
        QStringList files;
        QString dataFolder;
        bool soundsFound;
        QString module;
        QString roster;
    };
    const Row rows[] = {
        {"build folder", u"/b"_qs,
         {u"/b/Maru.wav"_qs, u"/b/SD05.wav"_qs, u"/b/"_qs + module, u"/b/roster.ini"_qs},
         u"/b"_qs, true, u"/b/"_qs + module, u"/b/roster.ini"_qs},
        {"installed under /usr", u"/usr/bin"_qs,
         {u"/usr/share/soremuka/Maru.wav"_qs, u"/usr/share/soremuka/SD05.wav"_qs,
          u"/usr/lib/soremuka/"_qs + module, u"/usr/share/soremuka/roster.ini"_qs},
         u"/usr/share/soremuka"_qs, true, u"/usr/lib/soremuka/"_qs + module, u"/usr/share/soremuka/roster.ini"_qs},
        {"the site's roster in /etc wins over the sample", u"/usr/bin"_qs,
         {u"/usr/share/soremuka/roster.ini"_qs, u"/etc/soremuka/roster.ini"_qs},
         u"/usr/bin"_qs, false, QString(), u"/etc/soremuka/roster.ini"_qs},
        {"another prefix keeps its settings under itself", u"/opt/s/bin"_qs,
         {u"/etc/soremuka/roster.ini"_qs, u"/opt/s/etc/soremuka/roster.ini"_qs, u"/opt/s/share/soremuka/SD05.wav"_qs},
         u"/opt/s/share/soremuka"_qs, true, QString(), u"/opt/s/etc/soremuka/roster.ini"_qs},
        {"a build folder never takes an installed copy", u"/home/t/build"_qs,
         {u"/home/t/build/Maru.wav"_qs, u"/home/t/share/soremuka/Maru.wav"_qs,
          u"/home/t/build/"_qs + module, u"/home/t/lib/soremuka/"_qs + module},
         u"/home/t/build"_qs, true, u"/home/t/build/"_qs + module, QString()},
        {"nothing anywhere: silent, the program's folder", u"/usr/bin"_qs, {}, u"/usr/bin"_qs, false, QString(),
         QString()},
        {"installed under the root", u"/bin"_qs,
         {u"/share/soremuka/Maru.wav"_qs, u"/lib/soremuka/"_qs + module, u"/etc/soremuka/roster.ini"_qs},
         u"/share/soremuka"_qs, true, u"/lib/soremuka/"_qs + module, u"/etc/soremuka/roster.ini"_qs},
        {"a folder of that name is no sound", u"/usr/bin"_qs, {u"/usr/share/soremuka"_qs}, u"/usr/bin"_qs, false,
         QString(), QString()},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        const places::ProgramFiles found = places::locate(r.program, filesOf(r.files));
        EXPECT_EQ(found.dataFolder, r.dataFolder);
        EXPECT_EQ(found.soundsFound, r.soundsFound);
        EXPECT_EQ(found.soundModule, r.module);
        EXPECT_EQ(found.roster, r.roster);
    }
}

TEST(Places, ProgramFilesOnTheDisk)
{
    // The same search through real files: an install tree laid out by hand.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir prefix(root.path());
    for (const char *folder : {"bin", "share/soremuka", "lib/soremuka"})
        ASSERT_TRUE(prefix.mkpath(QString::fromLatin1(folder)));
    for (const QString &file : {u"share/soremuka/Maru.wav"_qs, u"lib/soremuka/"_qs + places::soundModuleFileName()}) {
        QFile f(prefix.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const places::ProgramFiles found = places::locate(
        prefix.filePath(u"bin"_qs), [](const QString &p) { return QFileInfo(p).isFile(); });
    EXPECT_EQ(found.dataFolder, prefix.filePath(u"share/soremuka"_qs));
    EXPECT_EQ(found.soundModule, prefix.filePath(u"lib/soremuka/"_qs + places::soundModuleFileName()));
    EXPECT_TRUE(found.roster.isEmpty());
}

TEST(Places, StartOptions)
{
    struct Row {
        QStringList args;
        QString folder;
        bool learner;
        bool paths;
        bool error;
    };
    const Row rows[] = {
        {{u"soremuka"_qs}, QString(), false, false, false},
        {{u"soremuka"_qs, u"--folder"_qs, u"/srv/r"_qs}, u"/srv/r"_qs, false, false, false},
        {{u"soremuka"_qs, u"--folder=/srv/r"_qs, u"--all-sets"_qs}, u"/srv/r"_qs, false, false, false},
        {{u"soremuka"_qs, u"--all-sets"_qs, u"--learner-folder"_qs}, QString(), true, false, false},
        {{u"soremuka"_qs, u"--paths"_qs, u"--folder"_qs, u"記録"_qs}, u"記録"_qs, false, true, false},
        // The folder is missing, or the next option stands in its place.
        {{u"soremuka"_qs, u"--folder"_qs}, QString(), false, false, true},
        {{u"soremuka"_qs, u"--folder"_qs, u"--all-sets"_qs}, QString(), false, false, true},
        {{u"soremuka"_qs, u"--folder="_qs}, QString(), false, false, true},
        // The program's own name is not an option.
        {{u"--folder"_qs}, QString(), false, false, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.args.join(u' ').toStdString());
        const places::StartOptions o = places::parseStartOptions(r.args);
        EXPECT_EQ(o.folder, r.folder);
        EXPECT_EQ(o.learnerFolder, r.learner);
        EXPECT_EQ(o.printPaths, r.paths);
        EXPECT_EQ(!o.error.isEmpty(), r.error) << o.error.toStdString();
    }
}

TEST(Places, FolderSettingOfTheRoster)
{
    struct Row {
        const char *text;
        const char *folder;
    };
    const Row rows[] = {
        {"[newnote]\nA=生徒01\n", ""},
        {"[general]\nfolder=/srv/soremuka\n[newnote]\nA=生徒01\n", "/srv/soremuka"},
        {"[newnote]\nA=生徒01\n[ General ]\n  Folder = /srv/記録 \n", "/srv/記録"},
        // Only the general section says where results go.
        {"[newnote]\nfolder=/srv/x\n", ""},
        {"folder=/srv/x\n[general]\n", ""},
        {"[general]\n;folder=/srv/x\n# folder=/srv/y\n", ""},
        {"[general]\nfolder=\"/srv/with blank\"\n", "/srv/with blank"},
        {"[general]\nfolder=/a\nfolder=/b\n", "/b"},
        {"[general]\nfolder\n=/a\n", ""},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(places::folderSetting(QString::fromUtf8(r.text).split(u'\n')), QString::fromUtf8(r.folder));
    }
}

TEST(Places, FoldersAsWritten)
{
    const QString home = u"/home/aki"_qs;
    struct Row {
        QString value, base, expanded;
    };
    const Row rows[] = {
        {u"/srv/r"_qs, u"/tmp"_qs, u"/srv/r"_qs},
        {u"~"_qs, u"/tmp"_qs, home},
        {u"~/記録"_qs, u"/tmp"_qs, u"/home/aki/記録"_qs},
        {u"$HOME/r/"_qs, u"/tmp"_qs, u"/home/aki/r"_qs},
        {u"r"_qs, u"/tmp"_qs, u"/tmp/r"_qs},
        {u"../r"_qs, u"/tmp/x"_qs, u"/tmp/r"_qs},
        // Only a leading ~ is the home folder.
        {u"~aki/r"_qs, u"/tmp"_qs, u"/tmp/~aki/r"_qs},
    };
    for (const Row &r : rows)
        EXPECT_EQ(places::expandFolder(r.value, home, r.base), r.expanded) << r.value.toStdString();

    struct Docs {
        QString variable, desktop, documents;
    };
    const Docs docs[] = {
        {u"/home/aki/書類"_qs, u"/home/aki/Documents"_qs, u"/home/aki/書類"_qs},
        {u"$HOME/書類"_qs, QString(), u"/home/aki/書類"_qs},
        {QString(), u"/home/aki/Documents"_qs, u"/home/aki/Documents"_qs},
        // A relative value names no folder.
        {u"Documents"_qs, u"/home/aki/Docs"_qs, u"/home/aki/Docs"_qs},
        {QString(), QString(), home},
    };
    for (const Docs &d : docs)
        EXPECT_EQ(places::documentsFolder(d.variable, d.desktop, home), d.documents) << d.variable.toStdString();
    EXPECT_EQ(places::learnerFolder(u"/home/aki/Documents"_qs), u"/home/aki/Documents/ソレムカゼミ"_qs);
}

TEST(Places, ResultsFolderCandidates)
{
    places::Surroundings around{u"/srv/shared"_qs, u"/home/aki/Documents"_qs, u"/tmp/start"_qs, u"/home/aki"_qs};
    places::StartOptions menu;
    menu.learnerFolder = true;
    places::StartOptions option;
    option.folder = u"sub"_qs;

    auto folders = [](const QList<Candidate> &list) {
        QStringList out;
        for (const Candidate &c : list)
            out << c.folder;
        return out;
    };
    EXPECT_EQ(folders(places::candidates({}, around)), (QStringList{u"/srv/shared"_qs, u"/tmp/start"_qs}));
    EXPECT_EQ(folders(places::candidates(menu, around)),
              (QStringList{u"/srv/shared"_qs, u"/home/aki/Documents/ソレムカゼミ"_qs, u"/tmp/start"_qs}));
    // --folder is the caller's own choice: nothing else is tried after it.
    EXPECT_EQ(folders(places::candidates(option, around)), (QStringList{u"/tmp/start/sub"_qs}));
    // A relative shared folder lies in the learner's home.
    around.rosterFolder = u"ソレムカ"_qs;
    EXPECT_EQ(places::candidates({}, around).first().folder, u"/home/aki/ソレムカ"_qs);
    around.rosterFolder.clear();
    EXPECT_EQ(folders(places::candidates({}, around)), (QStringList{u"/tmp/start"_qs}));
}

TEST(Places, ChoosingTheResultsFolder)
{
    const QString shared = u"/srv/shared"_qs, own = u"/home/aki/Documents/ソレムカゼミ"_qs, cwd = u"/tmp/start"_qs,
                  given = u"/tmp/given"_qs;
    using S = FolderState;
    struct Row {
        const char *what;
        QList<Candidate> candidates;
        std::map<QString, S> disk; // absent: Missing
        bool makeWorks;
        QString folder;
        Source source;
        QStringList made;
        bool notice;
        bool error;
    };
    const QList<Candidate> menu{{shared, Source::Roster}, {own, Source::Learner}, {cwd, Source::Current}};
    const QList<Candidate> terminal{{shared, Source::Roster}, {cwd, Source::Current}};
    const Row rows[] = {
        {"the current folder", {{cwd, Source::Current}}, {{cwd, S::Usable}}, true, cwd, Source::Current, {}, false,
         false},
        {"the shared folder", menu, {{shared, S::Usable}, {cwd, S::Usable}}, true, shared, Source::Roster, {}, false,
         false},
        {"the learner's folder is made on the first start", {{own, Source::Learner}, {cwd, Source::Current}},
         {{cwd, S::Usable}}, true, own, Source::Learner, {own}, false, false},
        {"a shared folder that is not there is never made", menu, {{cwd, S::Usable}}, true, own, Source::Learner,
         {own}, true, false},
        {"a shared folder that cannot be written", terminal, {{shared, S::NotWritable}, {cwd, S::Usable}}, true, cwd,
         Source::Current, {}, true, false},
        {"the learner's folder cannot be made", {{own, Source::Learner}, {cwd, Source::Current}}, {{cwd, S::Usable}},
         false, cwd, Source::Current, {own}, true, false},
        {"a file where the learner's folder should be", {{own, Source::Learner}, {cwd, Source::Current}},
         {{own, S::NotAFolder}, {cwd, S::Usable}}, true, cwd, Source::Current, {}, true, false},
        {"nothing can be written: the current folder all the same", menu, {{cwd, S::NotWritable}}, false, cwd,
         Source::Current, {own}, true, false},
        {"--folder is made", {{given, Source::Option}}, {}, true, given, Source::Option, {given}, false, false},
        {"--folder that cannot be made", {{given, Source::Option}}, {}, false, QString(), Source::Current, {given},
         false, true},
        {"--folder that cannot be written", {{given, Source::Option}}, {{given, S::NotWritable}}, true, QString(),
         Source::Current, {}, false, true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        std::map<QString, S> disk = r.disk;
        QStringList made;
        const places::ResultsFolder chosen = places::chooseResultsFolder(
            r.candidates,
            [&disk](const QString &f) {
                const auto it = disk.find(f);
                return it == disk.end() ? S::Missing : it->second;
            },
            [&](const QString &f) {
                made << f;
                if (r.makeWorks)
                    disk[f] = S::Usable;
                return r.makeWorks;
            });
        EXPECT_EQ(chosen.error.isEmpty(), !r.error) << chosen.error.toStdString();
        if (!r.error) {
            EXPECT_EQ(chosen.folder, r.folder);
            EXPECT_EQ(chosen.source, r.source);
        }
        EXPECT_EQ(made, r.made);
        EXPECT_EQ(!chosen.notice.isEmpty(), r.notice) << chosen.notice.toStdString();
        // The learner is told which folder could not be used.
        if (r.notice) {
            EXPECT_TRUE(chosen.notice.contains(r.candidates.first().folder)) << chosen.notice.toStdString();
        }
    }
}

TEST(Places, ResultsFolderOnTheDisk)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    QFile file(dir.filePath(u"a-file"_qs));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(places::stateOf(dir.path()), FolderState::Usable);
    EXPECT_EQ(places::stateOf(dir.filePath(u"none"_qs)), FolderState::Missing);
    EXPECT_EQ(places::stateOf(file.fileName()), FolderState::NotAFolder);

    places::StartOptions option;
    option.folder = dir.filePath(u"記録/一組"_qs);
    const places::ResultsFolder made = places::resultsFolder(option, QString());
    EXPECT_TRUE(made.error.isEmpty()) << made.error.toStdString();
    EXPECT_EQ(made.folder, option.folder);
    EXPECT_TRUE(QFileInfo(option.folder).isDir());
    option.folder = dir.filePath(u"a-file/sub"_qs);
    EXPECT_FALSE(places::resultsFolder(option, QString()).error.isEmpty());
}

TEST(Places, ReportOfWhereThingsAre)
{
    places::ProgramFiles files{u"/usr/bin"_qs, false, QString(), QString()};
    auto missing = [](const QString &) { return FolderState::Missing; };
    const QString text =
        places::report(files, QString(), u"/etc/compname.txt"_qs,
                       {{u"/srv/shared"_qs, Source::Roster}, {u"/home/a/Documents/ソレムカゼミ"_qs, Source::Learner}},
                       missing, u"/usr/bin"_qs);
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << text.toStdString();
    EXPECT_TRUE(lines[1].startsWith(u"sounds\t/usr/bin\tnot found"_qs));
    EXPECT_TRUE(lines[2].startsWith(u"sound module\t/usr/lib/soremuka/"_qs));
    EXPECT_TRUE(lines[2].contains(u"not found"_qs));
    EXPECT_TRUE(lines[3].contains(u"not found"_qs));
    EXPECT_TRUE(lines[4].contains(u"とくめい"_qs));
    // A shared folder that is missing is passed over; the learner's would be made.
    EXPECT_TRUE(lines[5].startsWith(u"skipped\t/srv/shared\t"_qs));
    EXPECT_EQ(lines[6], u"results\t/home/a/Documents/ソレムカゼミ\tthe learner's own folder, made at start"_qs);

    files = {u"/usr/share/soremuka"_qs, true, u"/usr/lib/soremuka/m.so"_qs, u"/etc/soremuka/roster.ini"_qs};
    const QString broken = places::report(files, u"libQt6Multimedia.so.6: cannot open"_qs, u"/etc/compname.txt"_qs,
                                          {{u"/tmp"_qs, Source::Current}},
                                          [](const QString &) { return FolderState::Usable; }, u"/usr/bin"_qs);
    EXPECT_TRUE(broken.contains(u"sound module\t/usr/lib/soremuka/m.so\tcannot be loaded (libQt6Multimedia"_qs));
    EXPECT_TRUE(broken.contains(u"sounds\t/usr/share/soremuka\n"_qs));
    EXPECT_TRUE(broken.contains(u"results\t/tmp\tthe current folder\n"_qs));
}
