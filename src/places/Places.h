#pragma once
// Where the program finds its own files and where it keeps the learner's.
//
// In a build folder everything lies beside the program. Installed under a
// prefix, the program is PREFIX/bin/soremuka, the sounds and the sample
// roster lie in PREFIX/share/soremuka, the sound module in
// PREFIX/lib/soremuka, and a site's own roster in /etc/soremuka (for a
// prefix other than /usr, PREFIX/etc/soremuka). Each file is looked for
// beside the program first, so a build folder never picks up an installed
// copy.
//
// Results go to the current folder unless the command line (--folder) or
// the site's roster ([general] folder=) names another, or the program was
// started from the desktop menu (--learner-folder), which keeps them in the
// learner's own documents folder.
#include <QString>
#include <QStringList>

#include <functional>

namespace places {

using IsFile = std::function<bool(const QString &path)>;

// What the program found of its own files.
struct ProgramFiles {
    QString dataFolder;        // where the sounds were found; the program's folder when nowhere
    bool soundsFound = false;  // Maru.wav or SD05.wav lies in dataFolder
    QString soundModule;       // the sound module's file; "" when there is none
    QString roster;            // the site's roster, else the sample; "" when there is none
};

// The folders searched, in order, for the sounds, the module and the roster.
QStringList dataFolders(const QString &programFolder);
QStringList moduleFolders(const QString &programFolder);
QStringList rosterFiles(const QString &programFolder);

// The module's file name on this platform (libsoremuka-sound.so).
QString soundModuleFileName();

ProgramFiles locate(const QString &programFolder, const IsFile &isFile);
// The running program's files, looked for around its own folder.
ProgramFiles ofRunningProgram();

// The machine-name file: its first line is this machine's name.
QString machineNameFile();

// What the command line says about the results folder.
struct StartOptions {
    QString folder;             // --folder DIR
    bool learnerFolder = false; // --learner-folder
    bool printPaths = false;    // --paths
    QString error;              // a malformed option; the program ends with status 2
};
// Reads only the options above; every other argument is left to the rest
// of the program. args[0] is the program.
StartOptions parseStartOptions(const QStringList &args);

// The value of folder= in the roster's [general] section; "" when absent.
QString folderSetting(const QStringList &rosterLines);

// A leading "~" or "$HOME" stands for the home folder; a relative path is
// taken relative to base.
QString expandFolder(const QString &value, const QString &home, const QString &base);

// The learner's documents folder: $XDG_DOCUMENTS_DIR when it names an
// absolute folder, else the desktop's documents folder, else the home folder.
QString documentsFolder(const QString &xdgDocumentsDir, const QString &desktopDocuments, const QString &home);
// The folder the desktop menu keeps results in, inside the documents folder.
QString learnerFolder(const QString &documents);

enum class Source { Option, Roster, Learner, Current };

struct Candidate {
    QString folder;
    Source source;
};

// Where results may go, best first: --folder alone when given (it is the
// caller's explicit choice); otherwise the roster's folder, the learner's
// own folder when started from the menu, and the current folder.
struct Surroundings {
    QString rosterFolder; // folderSetting of the roster, as written
    QString documents;    // documentsFolder()
    QString current;      // the current folder
    QString home;
};
QList<Candidate> candidates(const StartOptions &options, const Surroundings &around);

// How a candidate folder stands on the disk.
enum class FolderState { Usable, Missing, NotAFolder, NotWritable };

// The results folder, once made and checked.
struct ResultsFolder {
    QString folder;
    Source source = Source::Current;
    QString notice; // for the learner: the folder asked for could not be used
    QString error;  // --folder cannot be used: the program ends with status 2
};

// Walks the candidates: the learner's own folder and --folder are made when
// missing (a shared folder is the site's to make, and a missing one usually
// means a share that is not mounted); the first usable one is taken. When a
// folder before it could not be used, the notice says so.
using StateOf = std::function<FolderState(const QString &folder)>;
using MakeFolder = std::function<bool(const QString &folder)>;
ResultsFolder chooseResultsFolder(const QList<Candidate> &candidates, const StateOf &stateOf,
                                  const MakeFolder &make);

// The same on the real disk, for the running program.
Surroundings surroundings(const StartOptions &options, const QString &rosterFile);
FolderState stateOf(const QString &folder);
ResultsFolder resultsFolder(const StartOptions &options, const QString &rosterFile);

// The report of --paths: one line per place, name and path separated by a
// tab, with what is missing marked.
// moduleError: why the module found could not be loaded ("" when it loads).
QString report(const ProgramFiles &files, const QString &moduleError, const QString &machineFile,
               const QList<Candidate> &results, const StateOf &stateOf, const QString &programFolder);

} // namespace places
