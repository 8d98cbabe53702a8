#pragma once
// Typed answers that are right in value but not in the form the answer is
// asked in: a point without its brackets, a fraction not reduced. The learner
// is told what to change and answers again; nothing is counted.
#include <QString>

namespace answerform {

inline const QString kAddBrackets = QStringLiteral("かっこをつけて答えよう");
inline const QString kReduce = QStringLiteral("約分しよう");

// The hint for a typed answer that differs from the expected one only in
// form ("3,6" for "(3,6)"; "6/4" for "3/2", "y=2/4x" for "y=1/2x", "6/2" for
// "3"), or an empty text when it is simply right or wrong.
QString hintFor(const QString &typed, const QString &expected);

// The text with every fraction of whole numbers reduced ("y=2/4x" gives
// "y=1/2x", "6/2" gives "3", "y=2/2x" gives "y=x").
QString reduced(const QString &text);

} // namespace answerform
