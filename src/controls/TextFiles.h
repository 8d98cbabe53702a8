#pragma once
// Small text files: results, streak, roster and machine-name files. Read as
// UTF-8, or as Shift-JIS when the bytes are not valid UTF-8 (files kept by
// earlier installations); written as UTF-8 through a temporary file that is
// renamed over the old one, so a crash never leaves half a file behind.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace textfiles {

// Lines of a file without their line ends; nullopt-like empty list plus false
// when the file cannot be read. Reads at most maxBytes.
bool readLines(const QString &path, QStringList &lines, qint64 maxBytes = 16 * 1024 * 1024);

// Decodes bytes: UTF-8 when valid (a BOM is dropped), Shift-JIS otherwise.
QString decode(const QByteArray &bytes);

// The first bytes of a longer line: a character cut in two at the end is
// dropped before decoding, so the cut does not turn the line into Shift-JIS.
QString decodePrefix(const QByteArray &bytes, bool cut);

// A line as a UTF-8 file keeps it: UTF-8 as it is; Shift-JIS converted to
// UTF-8; bytes that are neither stay exactly as they were, so nothing of
// them is lost.
QByteArray asUtf8Line(QByteArrayView line);
// The same, appended to out without a copy of a line that is UTF-8 already.
void appendAsUtf8Line(QByteArray &out, QByteArrayView line);

// The lines of a text, split at CR LF, CR or LF; a last empty line (after
// the final line end) is not a line.
QList<QByteArray> splitLines(const QByteArray &bytes);
// The same lines as views into bytes, which must outlive them.
QList<QByteArrayView> lineViews(QByteArrayView bytes);

// Writes lines, each ended by CR LF, atomically, never through a link.
// Returns false with a reason when the file could not be written; the old
// file is then untouched.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);

bool exists(const QString &path);

// Joins a folder and a file name with one separator.
QString join(const QString &folder, const QString &name);

} // namespace textfiles
