#pragma once
// One question of each kind of figure, reached through the driver as a
// learner's set reaches it, with what its dump must hold. The core tests read
// the dumps; the GUI tests look at the pictures of the same questions.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <string>

struct FigureKind {
    const char16_t *set;
    int count;             // questions in the bank: one draw each keeps the bank order
    int position;          // the question to present
    const char16_t *extra; // script lines before the goto
    // JSON: ops that must be on Picture6 (each a subset of one op's fields),
    // ops that must not be, and a subset of the whole dump.
    const char *drawn;
    const char *notDrawn;
    const char *dump;
    int polylines; // plotted curves on Picture6; -1 when any number will do
};

inline const FigureKind kFigureKinds[] = {
    // "#3,5,0,0": A, B and the corner C
    {u"nagasa", 30, 11, u"",
     R"([{"op":"line","x1":3,"y1":5,"x2":0,"y2":0}, {"op":"circle","x":3,"y":0,"r":0.1},
         {"op":"print","text":"C"}])", "[]", "{}", -1},
    // "#-2,6,-4,2,3,2,5,6"
    {u"menseki1", 20, 5, u"",
     R"([{"op":"line","x1":-4,"y1":2,"x2":3,"y2":2}, {"op":"line","x1":-2,"y1":6,"x2":5,"y2":6}])", "[]",
     R"({"state":{"explainQuadArea":1}})", -1},
    // "#1,0,5,0,3,6"
    {u"sanmen", 20, 1, u"",
     R"([{"op":"line","x1":1,"y1":0,"x2":3,"y2":6}, {"op":"line","x1":3,"y1":6,"x2":5,"y2":0}])", "[]",
     R"({"state":{"explainTriangleArea":1}})", -1},
    // a sector from 0 to 180 degrees
    {u"enmenko", 30, 6, u"",
     R"([{"op":"arc","r":6}, {"op":"print","text":" 180 "}])", "[]", R"({"state":{"circleKind":3}})", -1},
    // a circle with its diameter drawn and labelled 2r
    {u"enmenko", 30, 2, u"random 0.7\n",
     R"([{"op":"line","x1":-5,"y1":2,"x2":5,"y2":2}, {"op":"print","text":" 12 ","x":-0.8,"y":3.5}])",
     R"([{"op":"print","text":" 6 "}])", R"({"state":{"circleKind":1}})", -1},
    // the radius of a circle of a given area
    {u"enmenko", 30, 16, u"",
     R"([{"op":"print","text":"xcm"}])", "[]", R"({"state":{"circleKind":5}})", -1},
    // y=-1/2x
    {u"graread1", 30, 9, u"", "[]", "[]", R"({"state":{"graphKind":1}})", 1},
    // y=6/x: two branches
    {u"graread2", 30, 1, u"", "[]", "[]", R"({"state":{"graphKind":2}})", 2},
    // y=2/3x on the grid
    {u"senza1", 41, 8, u"",
     R"([{"op":"line","x1":-8,"y1":3,"x2":8,"y2":3}])", "[]", R"({"state":{"slopeNum":2,"slopeDen":3}})", 1},
    // plot (3,-2): the grid, nothing marked, the check button
    {u"thahyo1", 40, 1, u"",
     R"([{"op":"line","x1":-8,"y1":3,"x2":8,"y2":3}])", R"([{"op":"circle","x":3,"y":-2,"r":0.25}])",
     R"({"controls":{"Command5":{"visible":true},"Text2":{"visible":false}}})", 0},
    // the square under y=2x from x=3, its corner C filled red
    {u"ouyou1", 30, 5, u"",
     R"([{"op":"box","x1":3,"y1":0,"x2":9,"y2":6}, {"op":"circle","x":9,"y":6,"r":0.15,"fill":255},
         {"op":"print","text":"y=2x","x":4,"y":14}])", "[]",
     R"({"state":{"figureX1":3,"figureY1":6,"figureX2":9,"figureY2":6}})", 1},
    // y=2x and y=-x at x=4
    {u"ouyou2", 20, 11, u"",
     R"([{"op":"line","x1":4,"y1":8,"x2":4,"y2":-4}, {"op":"print","text":"y=-x"}])", "[]",
     R"({"state":{"appTwoLines":1}})", 2},
    // BC at y=6 between y=2x and y=x
    {u"ouyou2", 20, 12, u"",
     R"([{"op":"line","x1":3,"y1":6,"x2":6,"y2":6}, {"op":"print","text":"y=2x","x":4,"y":14},
         {"op":"print","text":"y=x","x":12,"y":14}])", "[]", "{}", 2},
    // the triangle OAD under y=2x
    {u"ouyou3", 20, 3, u"",
     R"([{"op":"line","x1":4,"y1":8,"x2":4,"y2":0}, {"op":"line","x1":4,"y1":8,"x2":6,"y2":0},
         {"op":"print","text":"D"}])", R"([{"op":"print","text":"y=2x"}])", R"({"state":{"appOneLine":1}})", 1},
};

// The driver script that presents the question and ends with `tail`.
inline QString figureKindScript(const FigureKind &k, const QString &tail)
{
    // One draw per question, and one for a circle shown first.
    return QStringLiteral("random") + QStringLiteral(" 0.99").repeated(k.count + 1) + QStringLiteral("\nmenu ")
           + QString::fromUtf16(k.set) + u'\n' + QString::fromUtf16(k.extra) + QStringLiteral("goto ")
           + QString::number(k.position) + u'\n' + tail;
}

inline std::string figureKindName(const FigureKind &k)
{
    return QString::fromUtf16(k.set).toStdString() + " " + std::to_string(k.position);
}

// Every field of `want` is in `have`: numbers within a millionth, objects
// field by field, anything else equal.
inline bool jsonHolds(const QJsonValue &have, const QJsonValue &want)
{
    if (want.isDouble())
        return have.isDouble() && std::abs(have.toDouble() - want.toDouble()) < 1e-6;
    if (want.isObject()) {
        if (!have.isObject())
            return false;
        const QJsonObject h = have.toObject(), w = want.toObject();
        for (auto it = w.begin(); it != w.end(); ++it)
            if (!h.contains(it.key()) || !jsonHolds(h[it.key()], it.value()))
                return false;
        return true;
    }
    return have == want;
}

inline QJsonValue parsedJson(const char *text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(text));
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}
