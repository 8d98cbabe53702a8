#pragma once
// The built-in question banks, read from the data files in src/banks/data
// (compiled into the program as resources under ":/banks"). Teachers read and
// correct those files; nothing here computes a question.
//
// File format, UTF-8, one record per line:
//   # comment            skipped, as are blank lines
//   [item routine count] starts a bank: menu item, bank routine, questions asked
//   N<TAB>question<TAB>answer
//                        pair N of the bank, numbered 1, 2, 3, ... in order
// A bank may list more pairs than its count: they are written into the bank
// but never drawn. Texts are kept exactly as written, blanks included.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace banks {

struct BankData {
    QString item;    // menu item name, e.g. "thahyo1"
    QString routine; // bank routine name, e.g. "bankZahyou1"
    int count = 0;   // questions asked (mondaiCount)
    std::vector<std::pair<QString, QString>> pairs; // (question, answer), pair 1 first
    QString file;    // data file it came from, for messages
    // Empty when the bank can be used. Otherwise the first fault of its data
    // file, as "file:line: what is wrong".
    QString fault;
};

class Catalogue {
public:
    // The built-in data, loaded on first use. Faults found while loading are
    // written to standard error once; the faulty banks keep their fault text.
    static const Catalogue &builtIn();

    // Reads data files given as (file name, UTF-8 content). A fault anywhere
    // in a file marks every bank of that file faulty: a stray or missing line
    // can shift pairs from one bank into the next, so none of them is trusted.
    static Catalogue parse(const std::vector<std::pair<QString, QByteArray>> &files);

    const std::vector<BankData> &banks() const { return banks_; }
    const BankData *findItem(const QString &item) const;
    const BankData *findRoutine(const QString &routine) const;
    // Every fault found, as "file:line: what is wrong".
    const QStringList &faults() const { return faults_; }

    // Upper bounds the question arrays set on the data.
    static constexpr int kMaxCount = 100;  // ten blocks of ten in the draw order
    static constexpr int kMaxPairs = 1000; // slots 1..1000 of mondai and kotae

private:
    struct FileReader;
    void parseFile(const QString &fileName, const QByteArray &content);
    std::vector<BankData> banks_;
    QStringList faults_;
};

// The data files in the order of the top-level menus.
const QStringList &dataFileNames();

// Writes one line about faulty built-in data to standard error (UTF-8).
void reportFaultyData(const QString &message);

} // namespace banks
