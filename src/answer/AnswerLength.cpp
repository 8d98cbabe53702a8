#include "answer/AnswerLength.h"

#include "banks/Catalogue.h"

#include <algorithm>

namespace answerlength {

int longestAnswer(const banks::Catalogue &catalogue)
{
    qsizetype longest = 0;
    for (const banks::BankData &bank : catalogue.banks())
        for (const auto &pair : bank.pairs)
            longest = std::max(longest, pair.second.size());
    return int(longest);
}

int capFor(int longest)
{
    // Twice the longest answer and twenty more: a learner's wrong answer
    // may be longer than the right one (a power typed out, a sign too
    // many), never by this much.
    return 2 * std::max(longest, 0) + 20;
}

int cap()
{
    static const int limit = capFor(longestAnswer(banks::Catalogue::builtIn()));
    return limit;
}

bool boxIsFull(int key, qsizetype boxChars, qsizetype answerChars, int cap)
{
    if (key == 8 || key == 13)
        return false;
    return std::max(boxChars, answerChars) >= cap;
}

QString pasteThatFits(const QString &pasted, qsizetype boxChars, int cap)
{
    const qsizetype room = std::max<qsizetype>(0, cap - boxChars);
    QString out;
    out.reserve(room);
    for (QChar c : pasted) {
        if (out.size() >= room)
            break;
        if (c == u'\n' || c == u'\r')
            continue; // a pasted line end is not an Enter
        // Half of a surrogate pair on its own is no character at all.
        if (c.isSurrogate())
            continue;
        out += c;
    }
    return out;
}

} // namespace answerlength
