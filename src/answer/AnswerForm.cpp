#include "answer/AnswerForm.h"

#include <numeric>

namespace answerform {

namespace {

// The digits of `s` from `from` on, as far as they go.
qsizetype digitsEnd(const QString &s, qsizetype from)
{
    while (from < s.size() && s[from] >= u'0' && s[from] <= u'9')
        ++from;
    return from;
}

} // namespace

QString reduced(const QString &text)
{
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype numEnd = digitsEnd(text, i);
        const bool fraction = numEnd > i && numEnd < text.size() && text[numEnd] == u'/';
        const qsizetype denEnd = fraction ? digitsEnd(text, numEnd + 1) : numEnd;
        // Digits that run on from a letter or a point belong to something else.
        const bool standsAlone = i == 0 || !(text[i - 1].isLetterOrNumber() || text[i - 1] == u'.');
        if (!fraction || denEnd == numEnd + 1 || denEnd - i > 12 || !standsAlone
            || (denEnd < text.size() && text[denEnd] == u'.')) {
            out += text.mid(i, std::max<qsizetype>(1, numEnd - i));
            i += std::max<qsizetype>(1, numEnd - i);
            continue;
        }
        const long long num = text.mid(i, numEnd - i).toLongLong();
        const long long den = text.mid(numEnd + 1, denEnd - numEnd - 1).toLongLong();
        const long long g = den == 0 ? 1 : std::gcd(num, den);
        if (g <= 1) {
            out += text.mid(i, denEnd - i);
        } else if (den / g != 1) {
            out += QString::number(num / g) + u'/' + QString::number(den / g);
        } else if (num / g == 1 && denEnd < text.size() && text[denEnd] == u'x' && (out.endsWith(u'=') || out.endsWith(u'-'))) {
            // A slope of 1 is written without it: y=x, y=-x.
        } else {
            out += QString::number(num / g);
        }
        i = denEnd;
    }
    return out;
}

QString hintFor(const QString &typed, const QString &expected)
{
    if (typed.isEmpty() || typed == expected)
        return {};
    if (expected.size() > 2 && expected.startsWith(u'(') && expected.endsWith(u')')
        && typed == expected.mid(1, expected.size() - 2))
        return kAddBrackets;
    const QString r = reduced(typed);
    if (r != typed && r == expected)
        return kReduce;
    return {};
}

} // namespace answerform
