#pragma once
// Plain files in a folder that other people and other machines share: the
// results histories and streak files of a classroom. Nothing here follows a
// symbolic link or opens a device or a pipe, every step of a write is checked,
// and a file is replaced only by renaming a complete, synced copy over it.
#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace plainfile {

// Why a file could not be read or written, in the terms the learner is told.
enum class Fault {
    None,
    Link,     // a symbolic link stands at the path
    Folder,   // a folder stands at the path
    NotPlain, // a device, a pipe or a socket stands at the path
    NoFolder, // the folder that should hold the file is gone
    Denied,   // no permission, or a read-only file system
    Full,     // no space left, a quota or a file-size limit
    TooLarge, // larger than the caller will read
    Busy,     // another program holds the lock
    Io,       // anything else
};

struct Status {
    Fault fault = Fault::None;
    int error = 0; // errno of the step that failed
    bool ok() const { return fault == Fault::None; }
};

// The fault an errno stands for.
Fault faultOf(int error);
Status failure(int error);

// What stands at a path, looked at without following a link. Unknown when
// the folder itself cannot be looked into (errno in *error).
enum class Kind { Missing, Plain, Link, Folder, Other, Unknown };
Kind kindOf(const QString &path, int *error = nullptr);

// The fault of finding something other than a plain file at the path.
Fault faultOfKind(Kind kind);

// Opens a plain file for reading: never through a link, never waiting on a
// pipe. Returns the descriptor, or -1 with the reason in status.
int openForReading(const QString &path, Status &status);

// Reads a whole plain file; TooLarge (and nothing read) beyond maxBytes.
Status read(const QString &path, QByteArray &bytes, qint64 maxBytes);

// Reads at most the first maxBytes of a plain file.
Status readHead(const QString &path, QByteArray &bytes, qint64 maxBytes);

// Reads at most the last maxBytes of a plain file; *cut tells whether the
// bytes start inside the file (their first line is then a part of a line).
Status readTail(const QString &path, QByteArray &bytes, qint64 maxBytes, bool *cut = nullptr);

// Makes a file that must not exist yet and writes bytes into it. When any
// step fails, the new file is removed again.
Status create(const QString &path, const QByteArray &bytes);

// Replaces a plain file, or makes a missing one, with bytes: a temporary
// file beside it is written, flushed, synced and renamed over it, and the
// folder is synced. On any failure the old file is exactly as it was and the
// temporary is gone.
Status replace(const QString &path, const QByteArray &bytes);

// Adds one line at the end of a plain file in a single write, first ending
// the file's last line if it is open. An empty or new file gets head first.
// When the write fails or comes short the file is cut back to its old length;
// a file this call made is removed again. A missing file is made only when
// create is true.
Status appendLine(const QString &path, const QByteArray &head, const QByteArray &line, bool create);

// The name of a temporary file of a save of path (random part included).
QString temporaryName(const QString &path);
// Removes the temporary files that saves of path left behind when they were
// killed before their rename. Only plain files named like ours are removed.
// Returns how many were removed.
int removeStrayTemporaries(const QString &path);

// Takes an advisory lock on an open file, trying `tries` times with `pause`
// microseconds between; gives up quietly, since the lock only narrows a race.
void lockWithin(int fd, int tries, useconds_t pause);

// Syncs a folder's entries to disk where the platform allows it.
void syncFolder(const QString &folder);

} // namespace plainfile
