#include "report/QuestionBook.h"

#include "form/Form1.h"
#include "app/SetTable.h"
#include "controls/BasicRandom.h"
#include "controls/QuietServices.h"

namespace report {

namespace {

// The menu's captions, read from a form that is never shown.
std::map<QString, QString> menuTitles(const TextMetrics &metrics)
{
    StillClock clock;
    BasicRandom random;
    UnshownDialogs dialogs;
    SilentSound sound1, sound2;
    const auto form = std::make_unique<Form1>(FormServices{clock, random, dialogs, sound1, sound2, metrics, Paths{}});
    std::map<QString, QString> titles;
    for (const MenuItem &m : form->menuItems) {
        if (m.Parent.isEmpty() || !findSet(m.Name))
            continue;
        const MenuItem *parent = form->menuItem(m.Parent);
        titles[m.Name] = parent ? parent->Caption + u' ' + m.Caption : m.Caption;
    }
    return titles;
}

} // namespace

QuestionBook::QuestionBook(const TextMetrics &metrics) : metrics_(metrics), titles_(menuTitles(metrics)) {}

QuestionBook::~QuestionBook() = default;

const worksheet::Entry *QuestionBook::entry(const QuestionKey &key)
{
    auto it = sheets_.find(key.item);
    if (it == sheets_.end()) {
        std::optional<worksheet::Sheet> sheet;
        try {
            if (findSet(key.item))
                sheet = worksheet::collectSheet(key.item, worksheet::Order::Bank, metrics_);
        } catch (const worksheet::SheetError &) {
            // A set whose questions cannot be made shows its numbers only.
        }
        it = sheets_.emplace(key.item, std::move(sheet)).first;
    }
    if (!it->second || key.number < 1 || key.number > int(it->second->entries.size()))
        return nullptr;
    return &it->second->entries[size_t(key.number - 1)];
}

QString QuestionBook::title(const QString &item) const
{
    const auto it = titles_.find(item);
    return it == titles_.end() ? item : it->second;
}

} // namespace report
