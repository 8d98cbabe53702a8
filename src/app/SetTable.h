#pragma once
// The problem sets offered in the menu: which bank each item fills, where its
// results go, and how its activation differs from the standard one.
#include <QString>

#include <vector>

enum class Activation {
    Standard,
    PointOnLine,        // graph-input flags cleared first; keyboard answering
    ApplicationOrdered, // application set asked in bank order through the question cycle
    Application,        // application set started through the question cycle, presented twice
    StandardApplication,// standard, and marks the application-set flag
    PointOnLineApplication, // point on a line, application flag, through the question cycle
};

struct SetInfo {
    QString item;        // menu item name
    QString bankRoutine; // name of the bank routine that fills it
    QString resultsFileName;
    Activation activation;
};

const std::vector<SetInfo> &setTable();
const SetInfo *findSet(const QString &item);
