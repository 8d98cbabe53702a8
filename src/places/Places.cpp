#include "places/Places.h"

#include "controls/TextFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace places {

namespace {

const QString kFolderName = QStringLiteral("soremuka");

// The prefix an installed program lies under: the folder above its bin/.
QString prefixOf(const QString &programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/.."));
}

QString siteConfigFolder(const QString &prefix)
{
    // Installed under /usr, the site's settings are in /etc, as every
    // packaged program keeps them.
    if (prefix == u"/usr" || prefix == u"/")
        return QStringLiteral("/etc");
    return prefix + QStringLiteral("/etc");
}

QString sourceName(Source source)
{
    switch (source) {
    case Source::Option: return QStringLiteral("--folder");
    case Source::Roster: return QStringLiteral("the roster's [general] folder=");
    case Source::Learner: return QStringLiteral("the learner's own folder");
    case Source::Current: return QStringLiteral("the current folder");
    }
    return QString();
}

QString stateName(FolderState state)
{
    switch (state) {
    case FolderState::Usable: return QString();
    case FolderState::Missing: return QStringLiteral("it does not exist");
    case FolderState::NotAFolder: return QStringLiteral("it is not a folder");
    case FolderState::NotWritable: return QStringLiteral("it cannot be written");
    }
    return QString();
}

// The learner's folder and a folder given on the command line are made when
// missing; the site's shared folder and the current folder never are.
bool madeWhenMissing(Source source) { return source == Source::Option || source == Source::Learner; }

// Told to the learner at start: the results of this session are kept, only
// not where the site meant them to be.
QString movedNotice(const QString &skipped, const QString &taken)
{
    return QStringLiteral("記録のフォルダ「%1」が使えないので、記録は「%2」に残します。先生に知らせてください。")
        .arg(skipped, taken);
}

} // namespace

QStringList dataFolders(const QString &programFolder)
{
    return {programFolder, QDir::cleanPath(prefixOf(programFolder) + QStringLiteral("/share/") + kFolderName)};
}

QStringList moduleFolders(const QString &programFolder)
{
    return {programFolder, QDir::cleanPath(prefixOf(programFolder) + QStringLiteral("/lib/") + kFolderName)};
}

QStringList rosterFiles(const QString &programFolder)
{
    const QString name = QStringLiteral("roster.ini");
    return {textfiles::join(programFolder, name),
            siteConfigFolder(prefixOf(programFolder)) + u'/' + kFolderName + u'/' + name,
            textfiles::join(dataFolders(programFolder).constLast(), name)};
}

QString soundModuleFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("soremuka-sound.dll");
#else
    return QStringLiteral("libsoremuka-sound.so");
#endif
}

ProgramFiles locate(const QString &programFolder, const IsFile &isFile)
{
    ProgramFiles found;
    found.dataFolder = programFolder;
    for (const QString &folder : dataFolders(programFolder)) {
        if (isFile(textfiles::join(folder, QStringLiteral("Maru.wav"))) ||
            isFile(textfiles::join(folder, QStringLiteral("SD05.wav")))) {
            found.dataFolder = folder;
            found.soundsFound = true;
            break;
        }
    }
    for (const QString &folder : moduleFolders(programFolder)) {
        const QString file = textfiles::join(folder, soundModuleFileName());
        if (isFile(file)) {
            found.soundModule = file;
            break;
        }
    }
    for (const QString &file : rosterFiles(programFolder)) {
        if (isFile(file)) {
            found.roster = file;
            break;
        }
    }
    return found;
}

ProgramFiles ofRunningProgram()
{
    return locate(QCoreApplication::applicationDirPath(),
                  [](const QString &path) { return QFileInfo(path).isFile(); });
}

QString machineNameFile()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/compname.txt");
#else
    return QStringLiteral("/etc/compname.txt");
#endif
}

StartOptions parseStartOptions(const QStringList &args)
{
    StartOptions o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--learner-folder") {
            o.learnerFolder = true;
        } else if (arg == u"--paths") {
            o.printPaths = true;
        } else if (arg == u"--folder" || arg.startsWith(u"--folder=")) {
            QString value;
            if (arg.startsWith(u"--folder="))
                value = arg.mid(9);
            else if (i + 1 < args.size() && !args[i + 1].startsWith(u"--"))
                value = args[++i];
            if (value.isEmpty()) {
                o.error = QStringLiteral("--folder needs the folder for the results files");
                return o;
            }
            o.folder = value;
        }
    }
    return o;
}

QString folderSetting(const QStringList &rosterLines)
{
    bool inGeneral = false;
    QString value;
    for (const QString &raw : rosterLines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inGeneral = line.mid(1, line.size() - 2).trimmed().compare(u"general", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inGeneral || eq <= 0 || line.left(eq).trimmed().compare(u"folder", Qt::CaseInsensitive) != 0)
            continue;
        value = line.mid(eq + 1).trimmed();
        // A path in quotes, as some editors write one with blanks.
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
    }
    return value; // the last one written, as INI readers take it
}

static QString expandHome(const QString &value, const QString &home)
{
    if (value == u"~" || value.startsWith(u"~/"))
        return home + value.mid(1);
    if (value == u"$HOME" || value.startsWith(u"$HOME/"))
        return home + value.mid(5);
    return value;
}

QString expandFolder(const QString &value, const QString &home, const QString &base)
{
    QString path = expandHome(value, home);
    if (QDir::isRelativePath(path))
        path = textfiles::join(base, path);
    return QDir::cleanPath(path);
}

QString documentsFolder(const QString &xdgDocumentsDir, const QString &desktopDocuments, const QString &home)
{
    // The variable may hold "$HOME/..." as user-dirs.dirs writes it; a
    // relative value names no folder at all and is passed over.
    for (const QString &value : {expandHome(xdgDocumentsDir, home), desktopDocuments})
        if (!value.isEmpty() && !QDir::isRelativePath(value))
            return QDir::cleanPath(value);
    return QDir::cleanPath(home);
}

QString learnerFolder(const QString &documents) { return textfiles::join(documents, QStringLiteral("ソレムカゼミ")); }

QList<Candidate> candidates(const StartOptions &options, const Surroundings &around)
{
    if (!options.folder.isEmpty())
        return {{expandFolder(options.folder, around.home, around.current), Source::Option}};
    QList<Candidate> list;
    // A shared folder of the roster written as a relative path lies in each
    // learner's home: the same folder, whichever folder the program started in.
    if (!around.rosterFolder.isEmpty())
        list.push_back({expandFolder(around.rosterFolder, around.home, around.home), Source::Roster});
    if (options.learnerFolder)
        list.push_back({learnerFolder(around.documents), Source::Learner});
    list.push_back({QDir::cleanPath(around.current), Source::Current});
    return list;
}

ResultsFolder chooseResultsFolder(const QList<Candidate> &candidates, const StateOf &stateOf,
                                  const MakeFolder &make)
{
    ResultsFolder chosen;
    QString skipped;
    for (const Candidate &c : candidates) {
        FolderState state = stateOf(c.folder);
        bool unmade = false;
        if (state == FolderState::Missing && madeWhenMissing(c.source)) {
            unmade = !make(c.folder);
            state = stateOf(c.folder);
        }
        if (state == FolderState::Usable) {
            chosen.folder = c.folder;
            chosen.source = c.source;
            if (!skipped.isEmpty())
                chosen.notice = movedNotice(skipped, c.folder);
            return chosen;
        }
        if (c.source == Source::Option) {
            chosen.error = QStringLiteral("--folder %1: %2")
                               .arg(c.folder, unmade ? QStringLiteral("it cannot be made") : stateName(state));
            return chosen;
        }
        if (skipped.isEmpty())
            skipped = c.folder;
    }
    // Not even the current folder can be written: the program still runs
    // there, and a run's record that cannot be saved is reported at its end.
    chosen.folder = candidates.isEmpty() ? QString() : candidates.last().folder;
    chosen.source = Source::Current;
    if (!skipped.isEmpty() && skipped != chosen.folder)
        chosen.notice = QStringLiteral("記録のフォルダ「%1」が使えません。先生に知らせてください。").arg(skipped);
    return chosen;
}

Surroundings surroundings(const StartOptions &options, const QString &rosterFile)
{
    // Only what the options leave open is looked up: start-up reads no
    // more than it needs.
    Surroundings around;
    around.home = QDir::homePath();
    around.current = QDir::currentPath();
    if (!options.folder.isEmpty())
        return around;
    QStringList lines;
    if (!rosterFile.isEmpty() && textfiles::readLines(rosterFile, lines, 1024 * 1024))
        around.rosterFolder = folderSetting(lines);
    if (options.learnerFolder)
        around.documents = documentsFolder(qEnvironmentVariable("XDG_DOCUMENTS_DIR"),
                                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                           around.home);
    return around;
}

FolderState stateOf(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return FolderState::Missing;
    if (!info.isDir())
        return FolderState::NotAFolder;
    if (!info.isWritable())
        return FolderState::NotWritable;
    return FolderState::Usable;
}

ResultsFolder resultsFolder(const StartOptions &options, const QString &rosterFile)
{
    return chooseResultsFolder(candidates(options, surroundings(options, rosterFile)), stateOf,
                               [](const QString &folder) { return QDir().mkpath(folder); });
}

QString report(const ProgramFiles &files, const QString &moduleError, const QString &machineFile,
               const QList<Candidate> &results, const StateOf &stateOf, const QString &programFolder)
{
    QString text;
    auto line = [&text](const QString &name, const QString &path, const QString &note = QString()) {
        text += name + u'\t' + path;
        if (!note.isEmpty())
            text += u'\t' + note;
        text += u'\n';
    };
    line(QStringLiteral("program"), programFolder);
    line(QStringLiteral("sounds"), files.dataFolder,
         files.soundsFound ? QString() : QStringLiteral("not found: the program runs silent"));
    line(QStringLiteral("sound module"),
         files.soundModule.isEmpty() ? textfiles::join(moduleFolders(programFolder).constLast(), soundModuleFileName())
                                     : files.soundModule,
         files.soundModule.isEmpty() ? QStringLiteral("not found: the program runs silent")
         : moduleError.isEmpty()     ? QString()
                                     : QStringLiteral("cannot be loaded (%1): the program runs silent").arg(moduleError));
    line(QStringLiteral("roster"), files.roster.isEmpty() ? rosterFiles(programFolder).constFirst() : files.roster,
         files.roster.isEmpty() ? QStringLiteral("not found: learners without a name") : QString());
    line(QStringLiteral("machine name"), machineFile,
         stateOf(machineFile) == FolderState::Missing ? QStringLiteral("not found: the learner is とくめい")
                                                     : QString());
    // The results folder the window would take, nothing made for it here.
    for (const Candidate &c : results) {
        const FolderState state = stateOf(c.folder);
        if (state == FolderState::Usable) {
            line(QStringLiteral("results"), c.folder, sourceName(c.source));
            break;
        }
        if (state == FolderState::Missing && madeWhenMissing(c.source)) {
            line(QStringLiteral("results"), c.folder, sourceName(c.source) + QStringLiteral(", made at start"));
            break;
        }
        line(QStringLiteral("skipped"), c.folder, sourceName(c.source) + QStringLiteral(": ") + stateName(state));
    }
    return text;
}

} // namespace places
