#pragma once
// A question template: one question of a bank read as a form with places for
// numbers. It draws new numbers within its constraints (the same signs, the
// same kind of slope, points on the plane, labels apart, exact answers in
// the bank's forms) and writes the question in the bank's own encoding, with
// the answer it computes from the numbers it chose. Everything of the
// original text that is not a number (its punctuation, blanks and wording)
// stays as it was.
#include "variants/Rng.h"

#include <QRegularExpressionMatch>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace variants {

// The numbers a template chose, in the template's own order.
using Model = std::vector<long long>;

struct Written {
    QString question, answer;
};

class Template {
public:
    virtual ~Template() = default;
    // The kind of question, the same for every question of one form.
    virtual QString kind() const = 0;
    // New numbers; nothing when this draw broke a constraint (the caller
    // draws again).
    virtual std::optional<Model> draw(Rng &rng) const = 0;
    // Where a form has too few numbers for every place to get a question of
    // its own (a bank with eleven lines y = ax falling, of the eight there
    // are), looser draws: levels 1 to looserLevels(), each looser than the
    // one before.
    virtual int looserLevels() const { return 0; }
    virtual std::optional<Model> drawLoosely(Rng &, int /*level*/) const { return std::nullopt; }
    // Whether numbers another question of the same figure drew keep every
    // constraint of this question too (its letters apart, its answer whole).
    virtual bool fits(const Model &) const { return false; }
    // The question and its answer for numbers that draw gave.
    virtual Written write(const Model &m) const = 0;
    // Questions of a bank that share one figure (the six questions on one
    // square) carry the same key, so their new questions share one too.
    QString shareKey;
};

// The template of a bank's question, or nothing when it has no form that
// can vary safely (the bank's own question is asked then).
std::unique_ptr<Template> recognise(const QString &question, const QString &answer);

// The places of the numbers in a question: filled with new numbers, the text
// around them stays character for character.
class Slots {
public:
    explicit Slots(const QString &text = {}) : text_(text) {}
    void add(qsizetype at, qsizetype length) { places_.emplace_back(at, length); }
    void add(const QRegularExpressionMatch &m, int group) { add(m.capturedStart(group), m.capturedLength(group)); }
    int size() const { return int(places_.size()); }
    QString original(int i) const { return text_.mid(places_[size_t(i)].first, places_[size_t(i)].second); }
    // values[i] goes where place i was added.
    QString fill(const QStringList &values) const;
    const QString &text() const { return text_; }

private:
    QString text_;
    std::vector<std::pair<qsizetype, qsizetype>> places_;
};

// The fields after the first "#", each as where it starts and how long it
// is; none when the question has no "#".
std::vector<std::pair<qsizetype, qsizetype>> paramFields(const QString &question);

} // namespace variants
