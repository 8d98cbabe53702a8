#include "wrap/LineBreak.h"

#include <algorithm>

namespace wrap {

namespace {

// Closing brackets and punctuation: they end what they close.
bool isClosing(QChar c)
{
    static const QString closing = QStringLiteral("。、，．）」』】〕〉》］｝？！・：；”’,.)]}?!:;");
    return closing.contains(c);
}

// Characters that never start a line: closing brackets and punctuation,
// small kana, the prolonged sound and iteration marks, units.
bool neverStarts(QChar c)
{
    static const QString others = QStringLiteral("ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶーｰ々ゝゞヽヾ%％°℃");
    return isClosing(c) || others.contains(c);
}

// Characters that never end a line: opening brackets.
bool neverEnds(QChar c)
{
    static const QString opening = QStringLiteral("（「『【〔〈《［｛“‘([{");
    return opening.contains(c);
}

// Letters, digits and signs read as one word with their neighbours: the
// parts of an equation, a point, a number, a name, a unit.
bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u > 0x20 && u < 0x7F)
        return true;
    if (u >= 0xFF10 && u <= 0xFF19) // full-width digits
        return true;
    if ((u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A)) // full-width letters
        return true;
    static const QString others = QStringLiteral("□π㎡㎝²³°＋－＝／．");
    return others.contains(c);
}

// The ranges [start, end) that no line may split: a bracket with what it
// holds, a blank "{   }", and every run of word characters, merged where
// they touch.
std::vector<std::pair<int, int>> unbreakable(const QString &text)
{
    std::vector<std::pair<int, int>> spans;
    const int n = int(text.size());
    for (int i = 0; i < n;) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && isWordChar(text[j]))
            ++j;
        spans.emplace_back(i, j);
        i = j;
    }
    auto closes = [&](QChar open) -> QChar {
        switch (open.unicode()) {
        case u'(':
            return u')';
        case u'（':
            return u'）';
        case u'{':
            return u'}';
        case u'［':
            return u'］';
        case u'[':
            return u']';
        default:
            return {};
        }
    };
    for (int i = 0; i < n; ++i) {
        const QChar close = closes(text[i]);
        if (close.isNull())
            continue;
        const int j = int(text.indexOf(close, i + 1));
        // Only short brackets: a long aside may break like any text.
        if (j > i && j - i <= 12)
            spans.emplace_back(i, j + 1);
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto &s : spans) {
        if (!merged.empty() && s.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, s.second);
        else
            merged.push_back(s);
    }
    return merged;
}

bool insideSpan(const std::vector<std::pair<int, int>> &spans, int pos)
{
    return std::any_of(spans.begin(), spans.end(), [pos](const auto &s) { return s.first < pos && pos < s.second; });
}

bool mayBreakIn(const QString &text, const std::vector<std::pair<int, int>> &spans, int pos)
{
    if (pos <= 0 || pos >= text.size())
        return true;
    if (neverStarts(text[pos]) || neverEnds(text[pos - 1]))
        return false;
    return !insideSpan(spans, pos);
}

// The nearest place at or before `end` (but after `floor`) where a line may
// end; else the nearest after it (before `ceiling`); else `end`.
int settle(const QString &text, const std::vector<std::pair<int, int>> &spans, int end, int floor, int ceiling)
{
    if (mayBreakIn(text, spans, end))
        return end;
    // Japanese closing punctuation right after the end stays with the line
    // it closes, one or two characters past its length, as type hangs it.
    static const QString hangs = QStringLiteral("。、，．）」』】〕〉》］｝？！");
    int hang = end;
    while (!insideSpan(spans, end) && hang < ceiling && hang < end + 2 && hang < text.size()
           && hangs.contains(text[hang]))
        ++hang;
    if (hang > end && hang <= ceiling && mayBreakIn(text, spans, hang))
        return hang;
    for (int p = end; p > floor; --p)
        if (mayBreakIn(text, spans, p))
            return p;
    for (int p = end + 1; p < ceiling; ++p)
        if (mayBreakIn(text, spans, p))
            return p;
    return end;
}

} // namespace

bool mayBreak(const QString &text, int pos) { return mayBreakIn(text, unbreakable(text), pos); }

std::vector<int> settledEnds(const QString &text, const std::vector<int> &ends)
{
    const auto spans = unbreakable(text);
    const int n = int(text.size());
    std::vector<int> out;
    int previous = 0;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const int end = std::clamp(ends[k], previous, n);
        if (end >= n)
            break;
        if (end <= previous)
            continue;
        const int next = k + 1 < ends.size() ? std::min(std::max(ends[k + 1], end + 1), n) : n;
        const int at = settle(text, spans, end, previous, next);
        if (at > previous && at < n) {
            out.push_back(at);
            previous = at;
        }
    }
    return out;
}

QStringList linesEndingNear(const QString &text, const std::vector<int> &ends)
{
    QStringList lines;
    int from = 0;
    for (int end : settledEnds(text, ends)) {
        lines << text.mid(from, end - from);
        from = end;
    }
    lines << text.mid(from);
    return lines;
}

QStringList wrapToWidth(const QString &text, const std::function<double(const QString &)> &width, double maxWidth)
{
    const auto spans = unbreakable(text);
    const int n = int(text.size());
    QStringList lines;
    int from = 0;
    while (from < n) {
        // The longest piece that fits, then back to where a line may end.
        int end = from + 1;
        while (end < n && width(text.mid(from, end + 1 - from)) <= maxWidth)
            ++end;
        if (end < n)
            end = settle(text, spans, end, from, n);
        lines << text.mid(from, end - from);
        from = end;
    }
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

QStringList wrapToLength(const QString &text, int maxChars)
{
    return wrapToWidth(text, [](const QString &s) { return double(s.size()); }, double(std::max(1, maxChars)));
}

QStringList panelLines(const QString &text, const std::vector<int> &ends, int maxChars)
{
    // A line may be a little longer than maxChars where its break had to
    // move forward (punctuation hung at its end, a point kept whole).
    constexpr int kSlack = 2;
    QStringList out;
    for (const QString &line : linesEndingNear(text, ends))
        out << (line.size() > maxChars + kSlack ? wrapToLength(line, maxChars) : QStringList{line});
    return out;
}

bool lineBreaksARule(const QString &text, int from, int to)
{
    const auto spans = unbreakable(text);
    return !mayBreakIn(text, spans, from) || !mayBreakIn(text, spans, to);
}

} // namespace wrap
