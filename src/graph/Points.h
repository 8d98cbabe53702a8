#pragma once
// Points written as texts: "(3,-2)", one after another in an answer or a
// question ("点(-2,5)(4,-3)の中点を書き入れて").
#include <QString>

#include <cstdint>
#include <vector>

namespace points {

struct Point {
    int16_t x = 0, y = 0;
    bool operator==(const Point &) const = default;
};

// The two parts of the first "(x,y)": the text between "(" and "," and
// between "," and ")". Empty where the text has no such part.
struct PointParts {
    QString x, y;
};
PointParts partsOf(const QString &text);

// Every "(x,y)" of a text, in order: the parts as written ("□" where a
// coordinate is hidden), and as whole numbers.
std::vector<PointParts> bracketsIn(const QString &text);
std::vector<Point> pointsIn(const QString &text);

// "(x,y)" without blanks, as answers are stored and explanations write
// points: (3,-1), (11,7), (2.5,4).
QString pointText(double x, double y);

} // namespace points
