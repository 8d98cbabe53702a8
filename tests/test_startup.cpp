// Start-up: the state the learner finds, the display name from the roster and
// the streak record, whatever the files around the program hold.
#include "TestForm.h"

#include "app/Results.h"
#include "controls/Convert.h"
#include "app/Roster.h"
#include "controls/TextFiles.h"

#include <sys/stat.h>

namespace {
const QByteArray kRoster = "[soremuka1]\nA=山田\nBEarly=佐藤\nBLate=鈴木\n"
                           "[newnote]\nA=田中\nBEarly=高橋\nBLate=高橋\n";
} // namespace

using Startup = StartedForm;

TEST_F(Startup, StateRightAfterStartUp)
{
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.Caption, u"ソレムカゼミ"_qs);
    EXPECT_EQ(f.BackColor, conv::rgb(224, 255, 255));
    EXPECT_EQ(f.bank.mondaiNo, 1);
    for (Label *l : {&f.Label3, &f.Label4, &f.Label5, &f.Label6})
        EXPECT_TRUE(l->Caption.isEmpty()) << l->Name.toStdString();
    EXPECT_EQ(f.Label2.Caption, u"Label2"_qs);
    EXPECT_FALSE(f.Timer1.Enabled);
    EXPECT_EQ(f.Timer1.Interval, 0);
    for (bool hidden : {f.Command3.Visible, f.Command2.Visible, f.Picture1.Visible, f.Picture7.Visible,
                        f.Label12.Visible, f.Label13.Visible, f.Label14.Visible})
        EXPECT_FALSE(hidden);
    EXPECT_TRUE(f.Command1.Visible);
    EXPECT_TRUE(f.Command4.Visible);
    EXPECT_EQ(f.Command1.Caption, u"5 分　間"_qs);
    EXPECT_EQ(f.Command4.Caption, u"連　続　10題"_qs);
    const int16_t primes[18] = {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(f.run.primeTable[i], primes[i]);
    EXPECT_EQ(f.run.dataFolder, t.paths.programFolder);
    // No set is active, so no results file was named or created.
    EXPECT_TRUE(f.history.resultsPath.isEmpty());
    EXPECT_TRUE(QDir(t.paths.currentFolder).entryList(QDir::Files).isEmpty());
}

TEST_F(Startup, HelpTextOnTheCanvas)
{
    const auto &ops = f.Picture6.ops();
    ASSERT_EQ(ops.size(), 6u); // the two empty lines print nothing
    EXPECT_EQ(ops[0].text, u"メニューをクリックして問題を選んで"_qs);
    EXPECT_EQ(ops[2].text, u"     さんぶんのに"_qs);
    EXPECT_EQ(ops[3].text, u"　y↓=↓ -↓ 3↓ /↓ 2↓ x↓  "_qs);
    EXPECT_EQ(ops[5].text, u"                 と入れてください。"_qs);
    EXPECT_EQ(ops[0].fontSize, 16);
    EXPECT_DOUBLE_EQ(ops[0].x1, 0);
    // Each line lies one line height below the one before; the first below an empty line.
    const double line = 16 * 24.0;
    EXPECT_DOUBLE_EQ(ops[0].y1, line);
    EXPECT_DOUBLE_EQ(ops[1].y1, 3 * line);
}

TEST_F(Startup, DriveARule)
{
    EXPECT_EQ(Form1::dataFolderFor(u"C:\\drill"_qs), u"C:\\drill"_qs);
    EXPECT_EQ(Form1::dataFolderFor(u"A:\\"_qs), u"A:"_qs);
    EXPECT_EQ(Form1::dataFolderFor(u"/opt/soremuka"_qs), u"/opt/soremuka"_qs);
    TestForm u;
    u.paths.programFolder = u"A:\\"_qs;
    EXPECT_EQ(u.start().run.dataFolder, u"A:"_qs);
}

TEST(Roster, SlotsByWeekdayAndTime)
{
    const roster::Table table = roster::parse(QString::fromUtf8(kRoster).split(u'\n'));
    const double before = 17 * 3600 + 59 * 60, at = 18 * 3600;
    // Tuesday is 3 (Sunday = 1).
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 3, before), u"佐藤"_qs);
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 3, at), u"鈴木"_qs);
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 7, at + 3600), u"鈴木"_qs);
    // Monday (2) and Sunday (1) use slot A at any hour.
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 2, before), u"山田"_qs);
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 2, at), u"山田"_qs);
    EXPECT_EQ(roster::lookup(table, u"soremuka1"_qs, 1, 0), u"山田"_qs);
    // Names are compared exactly.
    EXPECT_EQ(roster::lookup(table, u"Soremuka1"_qs, 2, 0), QString());
    EXPECT_EQ(roster::lookup(table, u"soremuka1 "_qs, 2, 0), QString());
    EXPECT_EQ(roster::lookup(table, u"laptop"_qs, 2, 0), QString());
}

TEST(Roster, DisplayNameAtStartUp)
{
    struct Case {
        const char *machineFile; // nullptr: no file
        QDate date;
        double seconds;
        const char16_t *expected;
    };
    const Case cases[] = {
        {nullptr, QDate(2026, 12, 8), 0, u"とくめい"},
        {"", QDate(2026, 12, 8), 0, u"とくめい"},
        {"\r\n", QDate(2026, 12, 8), 0, u"とくめい"},
        {"soremuka1\r\nextra", QDate(2026, 12, 8), 17 * 3600 + 59 * 60, u"佐藤"}, // Tuesday
        {"soremuka1\n", QDate(2026, 12, 8), 18 * 3600, u"鈴木"},
        {"soremuka1", QDate(2026, 12, 7), 20 * 3600, u"山田"}, // Monday
        {"laptop", QDate(2026, 12, 7), 0, u""},
        {"\x80\xff\x01binary", QDate(2026, 12, 7), 0, u""},
    };
    for (const Case &c : cases) {
        TestForm t;
        TestForm::write(t.paths.rosterFile, kRoster);
        if (c.machineFile)
            TestForm::write(t.paths.machineNameFile, QByteArray(c.machineFile, int(strlen(c.machineFile))));
        t.clock.date = c.date;
        t.clock.seconds = c.seconds;
        EXPECT_EQ(t.start().history.displayName, QString::fromUtf16(c.expected))
            << (c.machineFile ? c.machineFile : "(none)");
    }
}

TEST(Roster, MissingOrBrokenRosterLeavesEveryMachineUnlisted)
{
    for (const QByteArray &content : {QByteArray(), QByteArray("\x00\x01\xff\xfe garbage", 12),
                                      QByteArray(1 << 20, 'x'), QByteArray("A=orphan\n[soremuka1\n")}) {
        TestForm t;
        if (!content.isNull())
            TestForm::write(t.paths.rosterFile, content);
        TestForm::write(t.paths.machineNameFile, "soremuka1\n");
        EXPECT_EQ(t.start().history.displayName, QString());
    }
    // A megabyte-long first line of the machine file does not stop start-up.
    TestForm t;
    TestForm::write(t.paths.rosterFile, kRoster);
    TestForm::write(t.paths.machineNameFile, QByteArray(1 << 20, 'n'));
    EXPECT_EQ(t.start().history.displayName, QString());
}

TEST(Roster, NoFileAtStartUpCanHoldTheWindowBack)
{
    // A pipe that nobody writes to would block a reader for ever, a device
    // such as /dev/zero never ends; start-up reads neither. A link that an
    // administrator made (the machine file pointing at the host name) is
    // read as the file it points to.
    const QString machine = u"machine"_qs, roster = u"roster"_qs;
    const struct {
        const char *what;
        QString file;
        const char *made; // "pipe", "zero", or "link"
        const char16_t *name;
    } cases[] = {
        {"a pipe as the machine file", machine, "pipe", u"とくめい"},
        {"a pipe as the roster", roster, "pipe", u""},
        {"/dev/zero as the machine file", machine, "zero", u"とくめい"},
        {"/dev/zero as the roster", roster, "zero", u""},
        {"a link as the machine file", machine, "link", u"山田"},
        {"a link as the roster", roster, "link", u"山田"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TestForm t;
        t.clock.date = QDate(2026, 12, 7); // a Monday
        QString &path = c.file == machine ? t.paths.machineNameFile : t.paths.rosterFile;
        const QByteArray content = c.file == machine ? QByteArray("soremuka1\r\n") : kRoster;
        TestForm::write(t.paths.machineNameFile, "soremuka1\r\n");
        TestForm::write(t.paths.rosterFile, kRoster);
        QFile::remove(path);
        if (QByteArrayView(c.made) == "pipe") {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        } else if (QByteArrayView(c.made) == "zero") {
            path = u"/dev/zero"_qs;
        } else {
            TestForm::write(t.dir.filePath(u"target"_qs), content);
            ASSERT_TRUE(QFile::link(t.dir.filePath(u"target"_qs), path));
        }
        EXPECT_EQ(t.start().history.displayName, QString::fromUtf16(c.name));
    }
}

TEST(Roster, FilesSavedAsUnicodeAreRead)
{
    // Notepad's "Unicode" is UTF-16 with a byte-order mark; a teacher who
    // edits the roster or the machine file there saves them so.
    auto utf16 = [](const QString &text, bool little) {
        QByteArray out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out.append(little ? lo : hi).append(little ? hi : lo);
        }
        return out;
    };
    for (const bool little : {true, false}) {
        TestForm t;
        t.clock.date = QDate(2026, 12, 8); // a Tuesday
        t.clock.seconds = 18 * 3600;
        TestForm::write(t.paths.machineNameFile, utf16(u"soremuka1\r\nsecond line\r\n"_qs, little));
        TestForm::write(t.paths.rosterFile, utf16(QString::fromUtf8(kRoster).replace(u"\n"_qs, u"\r\n"_qs), little));
        TestForm::write(t.cwdFile(u"鈴木renzoku.txt"_qs), utf16(u"6\r\n"_qs, little));
        Form1 &f = t.start();
        EXPECT_EQ(f.history.displayName, u"鈴木"_qs) << (little ? "little-endian" : "big-endian");
        EXPECT_EQ(f.scoreState.streak, 6);
    }
}

TEST(Roster, GeneralSectionIsNoMachine)
{
    const roster::Table table =
        roster::parse(u"[general]\nfolder=/srv/r\nA=x\n[pc]\nA=山田\n[ General ]\nA=y\n"_qs.split(u'\n'));
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(roster::lookup(table, u"pc"_qs, 2, 0), u"山田"_qs);
    EXPECT_EQ(roster::lookup(table, u"general"_qs, 2, 0), QString());
}

TEST(Roster, ShippedSampleListsElevenMachines)
{
    QStringList lines;
    ASSERT_TRUE(textfiles::readLines(QStringLiteral(SOREMUKA_SOURCE_DIR "/assets/roster.ini"), lines));
    const roster::Table table = roster::parse(lines);
    EXPECT_EQ(table.size(), 11u);
    for (const auto &[machine, entry] : table) {
        EXPECT_FALSE(entry.a.isEmpty()) << machine.toStdString();
        EXPECT_FALSE(entry.bEarly.isEmpty());
        EXPECT_FALSE(entry.bLate.isEmpty());
    }
    for (const char *same : {"newnote", "soremuka5", "soremuka7", "soremuka8", "soremuka10"})
        EXPECT_EQ(table.at(QString::fromLatin1(same)).bEarly, table.at(QString::fromLatin1(same)).bLate);
    for (const char *differ : {"soremuka1", "soremuka2", "soremuka3", "soremuka4", "soremuka6", "soremuka9"})
        EXPECT_NE(table.at(QString::fromLatin1(differ)).bEarly, table.at(QString::fromLatin1(differ)).bLate);
}

TEST(Streak, ReadFromTheLearnersFile)
{
    struct Case {
        QByteArray content;
        int expected;
    };
    const Case cases[] = {{"7\r\n", 7},     {"abc", 0},     {"", 0},      {"1e9", 32767},
                          {"-5", -5},       {"99999", 32767}, {"2.5", 2}, {"  12 回", 12},
                          {QByteArray(100000, '9'), 32767}};
    for (const Case &c : cases) {
        TestForm t;
        TestForm::write(t.cwdFile(u"とくめいrenzoku.txt"_qs), c.content);
        EXPECT_EQ(t.start().scoreState.streak, c.expected) << c.content.left(20).toStdString();
    }
    TestForm none;
    EXPECT_EQ(none.start().scoreState.streak, 0);
}

TEST(Streak, FileNameFollowsTheDisplayNameAndStaysInTheFolder)
{
    TestForm unlisted;
    TestForm::write(unlisted.paths.machineNameFile, "laptop\n");
    TestForm::write(unlisted.cwdFile(u"renzoku.txt"_qs), "4\n");
    EXPECT_EQ(unlisted.start().scoreState.streak, 4);

    // A roster name with path separators never leads outside the folder.
    TestForm t;
    TestForm::write(t.paths.rosterFile, "[pc]\nA=../../etc/x\nBEarly=a\\b\nBLate=..\n");
    TestForm::write(t.paths.machineNameFile, "pc\n");
    t.clock.date = QDate(2026, 12, 7);
    Form1 &f = t.start();
    EXPECT_EQ(f.history.displayName, u"../../etc/x"_qs);
    const QString path = f.streakFilePath();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(t.paths.currentFolder).absoluteFilePath());
    EXPECT_EQ(results::safeFileNamePart(u"a\\b/c:d"_qs), u"a_b_c_d"_qs);
}

TEST(Streak, NamesFromFilesNeverLeadOutOfTheFolder)
{
    // Display names (from the roster) and machine names (from the machine
    // file) become parts of file names in the current folder.
    const QString folder = u"/srv/class"_qs;
    const QStringList names = {
        u"../../etc/passwd"_qs, u"/etc/shadow"_qs, u"C:\\Windows\\x"_qs, u".."_qs, u"."_qs, u"..."_qs, u".hidden"_qs,
        QString(u"a\0b"_qs), u"tab\there"_qs, u"line\r\nbreak"_qs, u"del\x7f"_qs, u"c1\u0085x"_qs,
        u"山田/花子"_qs, u"x"_qs.repeated(5000), u"😀"_qs.repeated(40), QString(), u"普通の名前"_qs,
    };
    int tried = 0;
    for (const QString &name : names) {
        for (const QString &file : {results::safeFileNamePart(name) + u"renzoku.txt"_qs,
                                    results::sideFileName(u"座標問題.txt"_qs, name, QDate(2026, 12, 8))}) {
            ++tried;
            const QString path = textfiles::join(folder, file);
            EXPECT_EQ(QFileInfo(path).absolutePath(), folder) << name.left(40).toStdString();
            EXPECT_EQ(QFileInfo(path).fileName(), file);
            EXPECT_FALSE(file.startsWith(u'.'));
            EXPECT_LE(file.toUtf8().size(), 255) << "longer than a file name may be";
            for (QChar c : file)
                EXPECT_TRUE(c.unicode() >= 0x20 && c != u'/' && c != u'\\' && c != u':') << name.left(40).toStdString();
            if (!file.isEmpty() && file.back().isHighSurrogate())
                ADD_FAILURE() << "a character cut in two";
        }
    }
    // Ordinary names stay as they are.
    EXPECT_EQ(results::safeFileNamePart(u"普通の名前"_qs), u"普通の名前"_qs);
    EXPECT_EQ(results::safeFileNamePart(u"a.b"_qs), u"a.b"_qs);
    std::printf("names from files: %d file names tried, all in the folder\n", tried);
}

TEST(Streak, ALinkOrAPipeInPlaceOfTheStreakFileIsNotRead)
{
    TestForm t;
    const QString outside = t.dir.filePath(u"outside.txt"_qs);
    TestForm::write(outside, "77\r\n");
    ASSERT_TRUE(QFile::link(outside, t.cwdFile(u"とくめいrenzoku.txt"_qs)));
    EXPECT_EQ(t.start().scoreState.streak, 0);

    // A pipe would hold up start-up for ever if it were opened for reading.
    TestForm u;
    ASSERT_EQ(::mkfifo(QFile::encodeName(u.cwdFile(u"とくめいrenzoku.txt"_qs)).constData(), 0644), 0);
    EXPECT_EQ(u.start().scoreState.streak, 0);
}
