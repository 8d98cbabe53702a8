#pragma once
// The questions a report shows, as the worksheets show them: the text, the
// answer a learner types and the figure as the question starts, made from
// the set's own menu item. A set is made once, and only when one of its
// questions is shown.
#include "report/ClassData.h"
#include "worksheet/WorksheetSource.h"

#include <map>
#include <memory>
#include <optional>

class TextMetrics;

namespace report {

class QuestionBook {
public:
    explicit QuestionBook(const TextMetrics &metrics);
    ~QuestionBook();

    // The question, or null when the set has no such question (or its
    // built-in data is faulty).
    const worksheet::Entry *entry(const QuestionKey &key);
    // The set's menu and caption ("1年関数 ｸﾞﾗﾌ書き1"); the item itself for
    // one the program does not have.
    QString title(const QString &item) const;

private:
    const TextMetrics &metrics_;
    std::map<QString, std::optional<worksheet::Sheet>> sheets_;
    std::map<QString, QString> titles_;
};

} // namespace report
