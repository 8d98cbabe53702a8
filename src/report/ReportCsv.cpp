#include "report/ReportCsv.h"

namespace report {

namespace {

QString number(int n) { return QString::number(n); }

QString day(const QDate &d) { return d.isValid() ? d.toString(Qt::ISODate) : QString(); }

QByteArray lines(const std::vector<QStringList> &rows)
{
    QByteArray out = "\xEF\xBB\xBF";
    for (const QStringList &row : rows)
        out += row.join(u',').toUtf8() + "\r\n";
    return out;
}

} // namespace

QString csvField(const QString &text)
{
    QString s = text;
    // "=…", "+…", "@…" and "-" before anything but a number are formulas to
    // a spreadsheet, and a name comes from a file that anyone may name.
    if (!s.isEmpty()) {
        const QChar c = s[0];
        bool numeric = false;
        s.toDouble(&numeric);
        if (c == u'=' || c == u'+' || c == u'@' || c == u'\t' || c == u'\r' || (c == u'-' && !numeric))
            s.prepend(u'\'');
    }
    if (s.contains(u',') || s.contains(u'"') || s.contains(u'\n') || s.contains(u'\r') || s != s.trimmed())
        s = u'"' + s.replace(u'"', u"\"\""_qs) + u'"';
    return s;
}

QByteArray learnersCsv(const ClassData &data, const TitleOf &title)
{
    std::vector<QStringList> rows;
    rows.push_back({u"名前"_qs, u"記録ファイル"_qs, u"項目"_qs, u"セット"_qs, u"回数"_qs, u"正解"_qs, u"ミス"_qs,
                    u"最高点"_qs, u"最後の点"_qs, u"最後の日"_qs});
    for (const SetRow &r : setRowsOf(data)) {
        const Learner &l = data.learners[size_t(r.learner)];
        const Summary &s = r.summary;
        QString file = r.family == kReviews || r.family.isEmpty() ? r.family : r.family + u".txt"_qs;
        QString set = r.family == kReviews ? kReviews : r.item.isEmpty() ? r.setName : title(r.item);
        rows.push_back({csvField(l.named ? l.name : l.name + u"（名前なし）"_qs), csvField(file), csvField(r.item),
                        csvField(set), number(s.runs), s.counted ? number(s.right) : QString(),
                        s.counted ? number(s.misses) : QString(), s.runs ? number(s.best) : QString(),
                        s.runs ? number(s.last) : QString(), day(s.lastDate)});
    }
    return lines(rows);
}

QByteArray questionsCsv(const ClassData &data, const TitleOf &title, const TextOf &text)
{
    std::vector<QStringList> rows;
    rows.push_back({u"項目"_qs, u"セット"_qs, u"番号"_qs, u"問題"_qs, u"間違えた人数"_qs, u"ミス回数"_qs,
                    u"解答回数"_qs});
    for (const QuestionRow &q : questionRowsOf(data))
        rows.push_back({csvField(q.key.item), csvField(title(q.key.item)), number(q.key.number),
                        csvField(text(q.key)), number(q.learners), number(q.misses), number(q.answers)});
    return lines(rows);
}

QString questionsCsvPath(const QString &path)
{
    const QString stem = path.endsWith(u".csv"_qs, Qt::CaseInsensitive) ? path.chopped(4) : path;
    return stem + u"-questions.csv"_qs;
}

std::vector<QStringList> parseCsv(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = any = true;
        } else if (c == u',') {
            row << field;
            field.clear();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any) {
        row << field;
        rows.push_back(row);
    }
    return rows;
}

} // namespace report
