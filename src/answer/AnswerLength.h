#pragma once
// How long a typed answer may grow. The box takes what the longest stored
// answer needs, with room to spare for a wrong answer; beyond that a key
// that could only make the text longer is not taken. A paste is cut to what
// the box can still take before any of it is typed, so a paste of any length
// costs no more than typing that many keys.
#include <QString>

namespace banks {
class Catalogue;
}

namespace answerlength {

// The longest stored answer of the given banks, in characters.
int longestAnswer(const banks::Catalogue &catalogue);

// The box's limit for banks whose longest answer has this many characters.
int capFor(int longestAnswer);

// The limit for the built-in banks (worked out once).
int cap();

// True when the key cannot be taken: the box or the answer text already
// holds `cap` characters and the key is neither Backspace nor Enter.
bool boxIsFull(int key, qsizetype boxChars, qsizetype answerChars, int cap);

// The part of a pasted text that the box can still take, given how many
// characters it holds: line ends dropped, cut at the limit.
QString pasteThatFits(const QString &pasted, qsizetype boxChars, int cap);

} // namespace answerlength
