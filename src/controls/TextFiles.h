#pragma once
// Small text files: results, streak, roster and machine-name files. Read as
// UTF-8, or as Shift-JIS when the bytes are not valid UTF-8 (files kept by
// earlier installations), or as UTF-16 when they start with its byte-order
// mark (a file saved as "Unicode" by a Windows editor). Writing goes through
// controls/PlainFile.h.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace textfiles {

// Lines of a file without their line ends; an empty list and false when the
// file cannot be read. Reads at most maxBytes, never waits on a pipe or a
// device (false for them), follows links.
bool readLines(const QString &path, QStringList &lines, qint64 maxBytes = 16 * 1024 * 1024);

// A UTF-16 text after its byte-order mark (a file saved as "Unicode"),
// decoded; null when the bytes do not start with one.
QString fromUtf16WithBom(const QByteArray &bytes);

// Half of a surrogate pair on its own is no character, and UTF-8 cannot
// hold it: it becomes the replacement character.
QString withoutLoneSurrogates(QString text);

// Decodes bytes: UTF-16 after its byte-order mark, UTF-8 when valid (a BOM
// is dropped), Shift-JIS otherwise.
QString decode(const QByteArray &bytes);

// The first bytes of a longer line: a character cut in two at the end is
// dropped before decoding, so the cut does not turn the line into Shift-JIS.
QString decodePrefix(const QByteArray &bytes, bool cut);

// Appends a line as a UTF-8 file keeps it: UTF-8 as it is; Shift-JIS
// converted to UTF-8; bytes that are neither stay exactly as they were, so
// nothing of them is lost.
void appendAsUtf8Line(QByteArray &out, QByteArrayView line);

// At most the first n characters of s, never half a surrogate pair.
QString leftChars(QString s, qsizetype n);

// The lines of a text, split at CR LF, CR or LF; a last empty line (after
// the final line end) is not a line.
QList<QByteArray> splitLines(const QByteArray &bytes);
// The same lines as views into bytes, which must outlive them.
QList<QByteArrayView> lineViews(QByteArrayView bytes);

// Joins a folder and a file name with one separator. A backslash separates
// only on Windows.
QString join(const QString &folder, const QString &name);

} // namespace textfiles
