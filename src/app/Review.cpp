// The learner's own record and the reviews made from it. Every answer judged
// and every run ended is added to the record as it happens; what was missed
// comes back in a review run, each question asked as its own set asks it,
// and the review is kept in the record only, never in a family file.
#include "form/Form1.h"

#include "app/Results.h"
#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "controls/TextFiles.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// The item that names a review run in the record.
const QString kReviewItem = QStringLiteral("matigai");

// Whether a set's own activation marks the application-set flag.
bool marksApplication(Activation a)
{
    return a == Activation::StandardApplication || a == Activation::ApplicationOrdered
           || a == Activation::Application || a == Activation::PointOnLineApplication;
}

} // namespace

QString Form1::recordFilePath() const
{
    // A machine the roster does not list gives no name at all; its learner
    // is kept as the anonymous one, not as a file named only 「きろく」.
    QString name = results::safeFileNamePart(history.displayName);
    if (name.isEmpty())
        name = QStringLiteral("とくめい");
    return textfiles::join(s_.paths.currentFolder, record::fileNameFor(name));
}

QString Form1::runModeName() const
{
    if (review.reviewMode == 1)
        return record::kReview;
    if (scoreState.tenInARowMode != 0)
        return record::kTenInARow;
    return run.timeLimit == 600 ? record::kTenMinutes : record::kFiveMinutes;
}

QString Form1::currentSetItem() const
{
    if (review.reviewMode != 1)
        return run.setItem;
    const int i = bank.mondaiNo;
    return i >= 1 && i < int(review.reviewSets.size()) ? review.reviewSets[i] : QString();
}

int Form1::currentBankNumber() const
{
    const int i = bank.mondaiNo;
    if (i < 1 || i >= int(bank.shuffledNumber.size()))
        return 0;
    const int n = bank.shuffledNumber[i];
    if (review.reviewMode == 1)
        return n;
    if (n >= 1 && n < int(bank.mondai.size()) && bank.mondai[n] == currentQuestion() && bank.kotae[n] == currentAnswer())
        return n;
    // A draw order set some other way: the first pair of the bank that is it.
    for (int k = 1; k <= bank.mondaiCount && k < int(bank.mondai.size()); ++k)
        if (bank.mondai[k] == currentQuestion() && bank.kotae[k] == currentAnswer())
            return k;
    return 0;
}

namespace {

QDateTime nowOf(const Clock &clock)
{
    const double s = std::clamp(clock.secondsSinceMidnight(), 0.0, 86399.0);
    return QDateTime(clock.today(), QTime::fromMSecsSinceStartOfDay(int(s) * 1000), Qt::UTC);
}

} // namespace

void Form1::recordAnswer(bool right, const QString &answered)
{
    if (run.categoryActive != 1)
        return;
    record::Event e;
    e.kind = record::Kind::Answer;
    e.when = nowOf(s_.clock);
    e.set = currentSetItem();
    e.mode = runModeName();
    e.number = currentBankNumber();
    e.correct = right;
    e.answer = answered;
    if (!right)
        keepMiss(answered);
    if (e.set.isEmpty() || e.number < 1)
        return; // a question of no bank (a test's own) has no place in the record
    pendingRecord_.push_back(std::move(e));
}

void Form1::flushRecord(bool tell)
{
    if (pendingRecord_.empty())
        return;
    const plainfile::Status saved = record::append(review.recordPath, pendingRecord_);
    // Kept in memory all the same: what was missed today can still be
    // reviewed while the program runs.
    for (const record::Event &e : pendingRecord_)
        keepInMemory(e);
    pendingRecord_.clear();
    if (!saved.ok() && tell && !std::exchange(recordTroubleTold_, true))
        s_.dialogs.message(QStringLiteral("きろくファイル「%1」に書けませんでした（%2）。この回の答えは、"
                                          "プログラムを閉じるまでは復習に使えます。")
                               .arg(QFileInfo(review.recordPath).fileName(), results::faultReason(saved.fault)),
                           QStringLiteral("きろく"));
}

void Form1::recordRun()
{
    record::Event e;
    e.kind = record::Kind::Run;
    e.when = nowOf(s_.clock);
    e.set = review.reviewMode == 1 ? kReviewItem : run.setItem;
    e.mode = runModeName();
    e.score = scoreState.score;
    e.right = scoreState.correctCount;
    e.misses = review.runMisses;
    e.seconds = int(std::clamp(s_.clock.monotonicSeconds() - run.startMonotonic, 0.0, 86400.0 * 366));
    if (!e.set.isEmpty())
        pendingRecord_.push_back(std::move(e));
    // Where the run's record could not be kept either, the learner has just
    // been told what is wrong with the folder; once is enough.
    flushRecord(resultsNotice_.isEmpty());
}

void Form1::readRecord()
{
    review.recordPath = recordFilePath();
    record::forEachRecent(review.recordPath, [this](const record::Event &e) { keepInMemory(e); });
}

void Form1::keepInMemory(const record::Event &e)
{
    schedule_.add(e);
    if (e.kind == record::Kind::Run && e.mode == record::kReview) {
        reviewRuns_.push_back(e);
        // The chart shows no more than this.
        if (reviewRuns_.size() > 40)
            reviewRuns_.erase(reviewRuns_.begin());
    }
}

void Form1::refreshDue()
{
    const record::Progress p = schedule_.progress(s_.clock.today());
    review.dueQuestions.assign(1, QString());
    for (const record::Due &d : p.due)
        review.dueQuestions.push_back(d.question.set + u'#' + QString::number(d.question.number));
    review.dueCount = int16_t(std::min<std::size_t>(p.due.size(), 32767));
    MenuItem *m = menuItem(QStringLiteral("matigai"));
    m->Caption = review.dueCount > 0 ? QStringLiteral("まちがえた問題（%1）").arg(review.dueCount)
                                     : QStringLiteral("まちがえた問題");
    m->Enabled = review.dueCount > 0 && run.categoryActive == 0;
}

void Form1::startReview(const std::vector<record::Question> &questions)
{
    if (run.categoryActive == 1)
        return;
    // The questions as their banks hold them; one that no bank holds any
    // more (a bank changed since) is left out.
    struct Asked {
        QString set, question, answer;
        int number;
    };
    std::vector<Asked> asked;
    for (const record::Question &q : questions) {
        const SetInfo *set = findSet(q.set);
        const banks::BankData *data = set ? banks::Catalogue::builtIn().findRoutine(set->bankRoutine) : nullptr;
        if (!data || !data->fault.isEmpty() || q.number < 1 || q.number > data->count
            || q.number > int(data->pairs.size()) || int(asked.size()) >= record::kReviewLength)
            continue;
        const auto &[question, answer] = data->pairs[size_t(q.number - 1)];
        asked.push_back({q.set, question, answer, q.number});
    }
    if (asked.empty())
        return;

    review.savedApplicationFlag = run.applicationSetFlag;
    review.reviewMode = 1;
    run.categoryActive = 1;
    run.setItem = kReviewItem;
    Picture1.Visible = false;
    Command2.Visible = false;
    Picture6.Visible = true;
    resetSet();
    run.resultsFileName.clear();
    std::fill(review.reviewSets.begin(), review.reviewSets.end(), QString());
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const std::size_t at = i + 1;
        bank.mondai[at] = bank.shuffledMondai[at] = asked[i].question;
        bank.kotae[at] = bank.shuffledKotae[at] = asked[i].answer;
        bank.shuffledNumber[at] = int16_t(asked[i].number);
        review.reviewSets[at] = asked[i].set;
    }
    bank.mondaiCount = int16_t(asked.size());
    menuItem(QStringLiteral("matigai"))->Enabled = false;
    bank.mondaiNo = 0;
    nextQuestion();
}

void Form1::applyReviewContext()
{
    // What the question's own set would have in force: the application
    // planes with ticks only, and a line's text for the parser.
    const SetInfo *set = findSet(currentSetItem());
    run.applicationSetFlag = review.savedApplicationFlag;
    if (set && marksApplication(set->activation))
        run.applicationSetFlag = 1;
    if (currentQuestion().contains(u'/'))
        run.equationText = currentQuestion();
}

void Form1::finishReview()
{
    run.applicationSetFlag = review.savedApplicationFlag;
    review.reviewMode = 0;
}
