#pragma once
// Where a line of Japanese question text may end. The rules are the ones a
// printed textbook keeps:
//   - no line starts with closing punctuation (。、）」』？！ and the like),
//     a small kana (ゃ, ッ, …) or a prolonged sound mark;
//   - no line ends with opening punctuation (（「『 and the like);
//   - what is read as one thing is never split: a point "(3,□)", a blank
//     "{   }" with the unit after it, an equation "y=-2/3x+4", a number, a
//     name like "x=6" or "OAD" (a run of letters, digits and signs).
// Positions are UTF-16 positions in the text, as everywhere in the program.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace wrap {

// Whether a line may end between text[pos - 1] and text[pos].
bool mayBreak(const QString &text, int pos);

// The text cut into lines that end at the given positions (ascending; the
// end of the text need not be given), each end moved to the nearest place
// where a line may end: back first, so that no line grows, and forward only
// where nothing between it and the end before it will do. An end that
// neither way can move stays where it is.
QStringList linesEndingNear(const QString &text, const std::vector<int> &ends);

// Where the lines of linesEndingNear end.
std::vector<int> settledEnds(const QString &text, const std::vector<int> &ends);

// Lines of at most maxChars characters each, as long as the rules allow; a
// line longer than maxChars is left only where nothing else will do.
QStringList wrapToLength(const QString &text, int maxChars);

// The same for a width: `width` measures a piece of text.
QStringList wrapToWidth(const QString &text, const std::function<double(const QString &)> &width, double maxWidth);

// The lines of a question text as a panel shows them: cut near the given
// ends as linesEndingNear does, and any line that is still longer than
// maxChars (by more than the two characters a break may have moved on)
// wrapped again by wrapToLength.
QStringList panelLines(const QString &text, const std::vector<int> &ends, int maxChars);

// Whether a line break would break one of the rules (for a line that starts
// at `from` and ends at `to`): what tests ask of every wrapped line.
bool lineBreaksARule(const QString &text, int from, int to);

} // namespace wrap
