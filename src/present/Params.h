#pragma once
// The figure parameters written after "#" in a question: a comma-separated
// list whose numeric fields read their leading number ("20π" gives 20, ""
// gives 0), rounded to a 16-bit integer, halves to even.
#include <QString>
#include <QStringList>

#include <cstdint>

struct Params {
    explicit Params(const QString &list) : text(list), fields(list.split(u',')) {}

    // Field k (1-based) as text; "" when the list has fewer fields.
    QString field(int k) const { return k >= 1 && k <= fields.size() ? fields[k - 1] : QString(); }
    int16_t number(int k) const;
    // Everything after the k-th comma ("" when there are fewer commas).
    QString after(int commas) const;
    int commas() const { return int(fields.size()) - 1; }

    QString text;
    QStringList fields;
};

// Splits a question at its first "#": the text before, the parameters after.
void splitQuestion(const QString &q, QString &text, QString &params);
