// The machine-name file, the roster and the streak file as anyone may have
// left them: start-up chooses a display name from them, and the streak file
// that name points to must lie in the current folder, whatever the name.
#include "FuzzForm.h"

#include "app/Roster.h"
#include "controls/TextFiles.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFileInfo>

namespace {

fuzz::Counts counts("fuzz_names", "names chosen");

QByteArray bytesOf(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    fuzz::FuzzForm &ff = fuzz::shared();
    Form1 &f = ff.fresh();
    ++counts.inputs;

    // Any day of a week from Sunday 2026/12/06, any minute of the day.
    ff.clock.date = QDate(2026, 12, 6).addDays(in.ConsumeIntegralInRange(0, 6));
    ff.clock.seconds = in.ConsumeIntegralInRange(0, 23) * 3600.0 + in.ConsumeIntegralInRange(0, 59) * 60.0;
    const bool haveMachineFile = in.ConsumeBool();
    const QByteArray machine = bytesOf(in.ConsumeRandomLengthString(512));
    const QByteArray rosterBytes = bytesOf(in.ConsumeRandomLengthString(4096));
    const QByteArray streak = bytesOf(in.ConsumeRemainingBytesAsString());
    if (haveMachineFile)
        fuzz::FuzzForm::write(ff.paths.machineNameFile, machine);
    fuzz::FuzzForm::write(ff.paths.rosterFile, rosterBytes);

    f.Form_Load();
    ++counts.checked;
    const QString name = f.history.displayName;
    const QString machineName = roster::readMachineName(ff.paths.machineNameFile);
    // No machine name: the anonymous learner; otherwise a name from the
    // roster, or none for a machine it does not list.
    if (machineName.isEmpty()) {
        FUZZ_CHECK(name == QStringLiteral("とくめい"));
    } else if (!name.isEmpty()) {
        QStringList lines;
        FUZZ_CHECK(textfiles::readLines(ff.paths.rosterFile, lines));
        FUZZ_CHECK(lines.join(u'\n').contains(name));
    }

    // The streak file is a plain file of the current folder, whatever the name.
    const QString path = f.streakFilePath();
    const QFileInfo info(path);
    FUZZ_CHECK(QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(QDir(ff.paths.currentFolder).absolutePath()));
    FUZZ_CHECK(info.fileName().endsWith(QStringLiteral("renzoku.txt")));
    FUZZ_CHECK(info.fileName() != QStringLiteral("..") && !info.fileName().contains(u'\\'));
    FUZZ_CHECK(!info.fileName().contains(QChar(0)));

    // Whatever the streak file holds, it is read and left as it was. A name
    // too long for the file system simply has no streak file.
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(streak) == streak.size()) {
        file.close();
        f.readStreakRecord();
        QFile again(path);
        FUZZ_CHECK(again.open(QIODevice::ReadOnly) && again.readAll() == streak);
    }
    FUZZ_CHECK(f.Picture7.ops().empty());
    ff.done();
    return 0;
}
