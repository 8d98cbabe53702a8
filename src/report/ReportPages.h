#pragma once
// The class report on A4 paper, laid out in twips as the worksheets are:
//   - the class at a glance: a line per learner, a column per family of
//     sets, each cell the runs, the best and the last score and a sparkline
//     of the scores; the totals of each line and column;
//   - the questions the class misses most, per set: the text, the figure as
//     the worksheet draws it, the answer set as a teacher writes it;
//   - a page per learner: their scores over time per family, their review
//     progress and the questions they miss most;
//   - last, what was read and what was not.
#include "report/QuestionBook.h"
#include "report/ReportTables.h"
#include "worksheet/WorksheetOutput.h"

#include <QPainter>

namespace report {

// How much each part shows.
constexpr int kFamiliesPerPage = 5;  // at most, columns of the overview on one page
constexpr int kClassQuestions = 5;   // most-missed questions per set
constexpr int kLearnerQuestions = 10; // most-missed questions per learner

class ReportLayout {
public:
    // The report of the class as read, made on the day `made`. The book
    // supplies the questions and must outlive the layout.
    ReportLayout(const ClassData &data, QuestionBook &book, const QDate &made, const QStringList &folders);

    int pageCount() const { return int(pages_.size()); }
    // Paints page index (from 0); the painter's unit is one twip.
    void paintPage(QPainter &painter, int index) const;
    worksheet::Pages pages() const;

    // The page (from 0) of each part, for a reader and for the tests.
    int firstQuestionPage() const;
    int learnerPage(int learner) const;
    int notesPage() const;

private:
    enum class Kind { Overview, Questions, Learner, Notes };
    struct Page {
        Kind kind = Kind::Overview;
        int first = 0, count = 0; // rows, question items or note lines shown
        int group = 0;            // the overview's columns shown: families from group * perGroup_
        bool totals = false;      // the overview's totals line
    };
    // A line of the most-missed pages: a set's heading or one question.
    struct Item {
        bool heading = false;
        QString item;
        QuestionRow row;
        int rank = 0;
        int answers = 0, misses = 0; // of the whole set, for its heading
    };

    void paintHeading(QPainter &p, int index, const QString &part) const;
    void paintOverview(QPainter &p, const Page &page) const;
    void paintQuestions(QPainter &p, const Page &page) const;
    void paintLearner(QPainter &p, int learner) const;
    void paintNotes(QPainter &p, const Page &page) const;
    void paintQuestionItem(QPainter &p, const Item &item, QRectF box) const;

    const worksheet::Entry *entry(const QuestionKey &key) const;
    QString periodText() const;

    const ClassData &data_;
    QuestionBook &book_;
    QDate made_;
    QStringList folders_;
    Overview overview_;
    std::vector<Item> items_;
    std::vector<std::vector<QuestionRow>> learnerMisses_;
    std::map<QuestionKey, const worksheet::Entry *> entries_;
    QStringList introLines_, noteLines_;
    std::vector<Page> pages_;
    int perGroup_ = kFamiliesPerPage;
    double itemHeight_ = 0, headingHeight_ = 0, noteLine_ = 0, introHeight_ = 0;
};

} // namespace report
