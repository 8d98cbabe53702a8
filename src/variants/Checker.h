#pragma once
// The independent check of a question and its answer. The answer is worked
// out again from what the learner is shown (the question text and the figure
// the values after "#" draw) with exact fractions, written in the banks' own
// forms ("(3,-2)", "y=-1/2x+3", "20π", "10π+20", "240°", "-9/2") and compared
// with the stored one character by character, as the judge compares. Where
// the text and the figure's values tell different stories, that is a fault
// of its own: the learner cannot know which one the answer follows.
//
// It shares nothing with the generators of fresh numbers but the fractions:
// it reads questions as a learner reads them, the generators write them from
// the numbers they chose. The bank audit runs it on every stored pair, and
// every generated bank goes through it before it is used.
#include "variants/Exact.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace variants {

enum class Outcome {
    Computed,      // worked out from the text and the figure's values
    FromOwnAnswer, // a reading question: the plane shows the answer itself
    NotComputed,
};

struct Check {
    Outcome outcome = Outcome::NotComputed;
    QString expected;   // Computed: the answer as it should be stored
    QString note;       // FromOwnAnswer and NotComputed: why
    QStringList faults; // the text and the figure disagree, or the learner cannot read or reach the answer
};

// Works out one question as the presenter sorts it into its families.
Check recompute(const QString &question, const QString &stored);

// Questions answered on the plane; every other one is typed.
bool drawnOnThePlane(const QString &question);

// What the answer box can produce: the keys it takes, with "p" shown as "π".
bool typeable(const QString &answer);

// Everything wrong with a pair that is to be asked: an answer that differs
// from the one worked out again, a question that cannot be worked out, a
// text that disagrees with its figure, a typed answer the box cannot produce
// (for a question that is asked: pairs past a bank's count never are).
// Empty when the pair may be asked.
QStringList faultsOf(const QString &question, const QString &answer, bool asked = true);

// A question split as the presenter splits it.
struct Question {
    QString text;       // before the first "#"
    QStringList params; // after it
    bool hasParams = false;
    bool has(const QString &s) const { return text.contains(s); }
    QString param(int i) const { return i < params.size() ? params[i] : QString(); }
    Frac num(int i) const { return parseFrac(param(i)).value_or(Frac(0)); }
    bool numeric(int i) const { return parseFrac(param(i)).has_value(); }
};
Question split(const QString &question);

// The slope of "y=-2/3x+5"; nothing for an inverse proportion or a letter.
std::optional<Frac> slopeOf(const QString &equation);

// The points of the grid the learner can click or read: -8..8 both ways.
bool onGrid(Frac x, Frac y);

} // namespace variants
