#include "controls/Convert.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <locale.h>

namespace conv {

namespace {

// Numbers are read and written the same way under every locale: a desktop
// set to a language with a decimal comma must not turn 38.5 into "38,5" or
// read "38.5" as 38. The application object sets the C library's numeric
// locale from the desktop, so the C library is only asked in the C locale.
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

} // namespace

double numericPrefix(const QString &text)
{
    const int n = text.size();
    int i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    QByteArray digits;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            digits.append('-');
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        digits.append(char(text[i].unicode()));
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text[i] == u'.') {
        digits.append('.');
        ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            digits.append(char(text[i].unicode()));
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    // An exponent counts only when digits follow it: "2e" reads as 2.
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        int j = i + 1;
        QByteArray exponent("e");
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent.append(char(text[j].unicode()));
            ++j;
        }
        int expDigits = 0;
        while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9' && expDigits < 6) {
            exponent.append(char(text[j].unicode()));
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            digits.append(exponent);
    }
    const double v = strtod_l(digits.constData(), nullptr, cLocale());
    return std::isfinite(v) ? v : (v > 0 ? std::numeric_limits<double>::max()
                                         : std::numeric_limits<double>::lowest());
}

int16_t toInt16(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 32767.0)
        return 32767;
    if (value <= -32768.0)
        return -32768;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int16_t>(std::nearbyint(value));
}

int16_t textToInt16(const QString &text) { return toInt16(numericPrefix(text)); }

int16_t add16(int16_t a, int b) { return toInt16(double(a) + double(b)); }

static QString formatSignificant(double value, int digits)
{
    if (value == 0.0 || std::isnan(value))
        return QStringLiteral("0");
    // %G as the C locale writes it: to_chars in its general form is
    // defined as exactly that, in lower case.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    QString s = QString::fromLatin1(buf, qsizetype(written.ptr - buf)).toUpper();
    // "1E+16" stays as the C library writes it; exponents get no leading zeros.
    const int e = s.indexOf(u'E');
    if (e >= 0) {
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        const QChar sign = exp[0];
        exp = exp.mid(1);
        while (exp.size() > 2 && exp[0] == u'0')
            exp.remove(0, 1);
        s = mant + u'E' + sign + exp;
    }
    return s;
}

QString singleText(float value) { return formatSignificant(double(value), 7); }

QString doubleText(double value) { return formatSignificant(value, 15); }

QString printItem(double value)
{
    const QString body = doubleText(value);
    return value < 0 ? body + u' ' : u' ' + body + u' ';
}

int32_t paletteColor(int index)
{
    static const int32_t palette[16] = {
        rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(0, 128, 0),     rgb(0, 128, 128),
        rgb(128, 0, 0),     rgb(128, 0, 128),   rgb(128, 128, 0),   rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(0, 0, 255),     rgb(0, 255, 0),     rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255),   rgb(255, 255, 0),   rgb(255, 255, 255),
    };
    return palette[index & 15];
}

} // namespace conv
