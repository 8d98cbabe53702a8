#include "variants/Template.h"

#include "variants/Families.h"

#include <algorithm>
#include <numeric>

namespace variants {

QString Slots::fill(const QStringList &values) const
{
    std::vector<size_t> order(places_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) { return places_[a].first < places_[b].first; });
    QString out;
    qsizetype at = 0;
    for (size_t i : order) {
        const auto &[start, length] = places_[i];
        out += QStringView(text_).mid(at, start - at);
        out += i < size_t(values.size()) ? values[qsizetype(i)] : text_.mid(start, length);
        at = start + length;
    }
    out += QStringView(text_).mid(at);
    return out;
}

std::vector<std::pair<qsizetype, qsizetype>> paramFields(const QString &question)
{
    std::vector<std::pair<qsizetype, qsizetype>> fields;
    const qsizetype hash = question.indexOf(u'#');
    if (hash < 0)
        return fields;
    qsizetype start = hash + 1;
    for (;;) {
        const qsizetype comma = question.indexOf(u',', start);
        const qsizetype end = comma < 0 ? question.size() : comma;
        fields.emplace_back(start, end - start);
        if (comma < 0)
            return fields;
        start = comma + 1;
    }
}

std::unique_ptr<Template> recognise(const QString &question, const QString &answer)
{
    // In the presenter's order of families: the applications first, then the
    // figures with values after "#", then the questions on the plane.
    using Maker = std::unique_ptr<Template> (*)(const QString &, const QString &);
    static const Maker makers[] = {
        families::application, families::circle,      families::segment,    families::polygon,
        families::pointOnLine, families::pointToPlot, families::pointToRead, families::graphToRead,
        families::graphToDraw, families::describedLine,
    };
    for (Maker make : makers)
        if (auto t = make(question, answer))
            return t;
    return nullptr;
}

} // namespace variants
