#include "controls/TextFiles.h"

#include "controls/PlainFile.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <iconv.h>

namespace textfiles {

// Shift-JIS (CP932) to text; *clean tells whether every byte decoded.
static QString fromShiftJis(const QByteArray &bytes, bool *clean = nullptr)
{
    if (clean)
        *clean = true;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) {
        if (clean)
            *clean = false;
        return QString::fromLatin1(bytes);
    }
    QByteArray out;
    out.resize(bytes.size() * 3 + 16);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) == size_t(-1)) {
            // An undecodable byte becomes U+FFFD and decoding goes on.
            if (clean)
                *clean = false;
            if (outLeft < 3)
                break;
            *dst++ = char(0xEF);
            *dst++ = char(0xBF);
            *dst++ = char(0xBD);
            outLeft -= 3;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return QString::fromUtf8(out);
}

QString withoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString fromUtf16WithBom(const QByteArray &bytes)
{
    const bool little = bytes.startsWith("\xFF\xFE"), big = bytes.startsWith("\xFE\xFF");
    if (!little && !big)
        return QString();
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    const QString text = withoutLoneSurrogates(decoder.decode(bytes));
    return text.isNull() ? QString(u""_qs) : text;
}

QString decode(const QByteArray &bytes)
{
    if (QString text = fromUtf16WithBom(bytes); !text.isNull())
        return text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    return fromShiftJis(bytes);
}

// Checked in place: a line of many megabytes is not decoded just to learn
// that it is UTF-8.
static bool validUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        char32_t code, least;
        if ((c & 0xE0) == 0xC0) {
            more = 1, code = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, code = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, code = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more + 1;
    }
    return true;
}

QString decodePrefix(const QByteArray &bytes, bool cut)
{
    if (!cut)
        return decode(bytes);
    // Step back over at most three continuation bytes to the lead byte of
    // the last character; drop that character if its bytes are not all here.
    qsizetype end = bytes.size();
    for (qsizetype i = end - 1; i >= 0 && i >= end - 4; --i) {
        const uchar c = uchar(bytes[i]);
        if ((c & 0xC0) == 0x80)
            continue;
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (i + length > end)
            end = i;
        break;
    }
    return decode(bytes.left(end));
}

void appendAsUtf8Line(QByteArray &out, QByteArrayView line)
{
    if (validUtf8(line)) {
        out.append(line);
        return;
    }
    bool clean = false;
    const QString text = fromShiftJis(line.toByteArray(), &clean);
    out.append(clean ? text.toUtf8() : line.toByteArray());
}

QString leftChars(QString s, qsizetype n)
{
    if (s.size() > n) {
        if (n > 0 && s[n - 1].isHighSurrogate())
            --n;
        s.truncate(n);
    }
    return s;
}

QList<QByteArrayView> lineViews(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << bytes.sliced(start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << bytes.sliced(start);
    return lines;
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (QByteArrayView line : lineViews(bytes))
        lines << line.toByteArray();
    return lines;
}

bool readLines(const QString &path, QStringList &lines, qint64 maxBytes)
{
    lines.clear();
    // Read at start-up: a pipe or a device at the path must not hold the
    // window back, nor a huge file fill the memory. The site's own files
    // may be links an administrator made.
    QByteArray bytes;
    if (!plainfile::readHead(path, bytes, maxBytes, plainfile::Links::Follow).ok())
        return false;
    if (const QString text = fromUtf16WithBom(bytes); !text.isNull()) {
        for (QStringView line : QStringView(text).split(QRegularExpression(u"\r\n|\r|\n"_qs)))
            lines << line.toString();
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return true;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Each line is decoded on its own, so one damaged line cannot turn the
    // good lines around it into Shift-JIS garbage.
    for (const QByteArray &line : splitLines(bytes))
        lines << decode(line);
    return true;
}

QString join(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    // Only the platform's own separators end a folder: on Linux a folder
    // may be named "class3\\", and its files belong in it.
#ifdef Q_OS_WIN
    if (folder.endsWith(u'\\'))
        return folder + name;
#endif
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace textfiles
