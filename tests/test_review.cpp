// Reviews of what was missed: the learner's record as runs write it, the
// review run (each question as its own set asks it, its answers in the
// record only), the list of misses after a run, and 「やめる」.
#include "DriveRunner.h"
#include "Learner.h"
#include "TestForm.h"

#include "Sets.h"
#include "record/LearnerRecord.h"

#include <QDir>
#include <QJsonArray>

namespace {

// What a learner sees of a question: the plane's drawing, the question's
// text and how it is answered.
struct Seen {
    std::vector<QString> plane;
    QStringList text;
    bool typed = false, drawn = false;
    bool operator==(const Seen &) const = default;
};

QString opText(const CanvasOp &op)
{
    return u"%1 %2,%3 %4,%5 r%6 %7 c%8 w%9 f%10"_qs.arg(op.kind)
        .arg(op.x1, 0, 'f', 3)
        .arg(op.y1, 0, 'f', 3)
        .arg(op.x2, 0, 'f', 3)
        .arg(op.y2, 0, 'f', 3)
        .arg(op.r, 0, 'f', 3)
        .arg(op.text)
        .arg(op.color)
        .arg(op.width)
        .arg(op.fill.value_or(-1));
}

Seen seen(const Form1 &f)
{
    Seen s;
    for (const CanvasOp &op : f.Picture6.ops())
        s.plane.push_back(opText(op));
    // An application set draws its first figure twice over (it is started
    // through the question cycle and then presented again): what shows is
    // the same.
    std::sort(s.plane.begin(), s.plane.end());
    s.plane.erase(std::unique(s.plane.begin(), s.plane.end()), s.plane.end());
    s.text = TestForm::printed(f.Picture2);
    s.typed = f.Text2.Visible;
    s.drawn = f.Command5.Visible;
    return s;
}

std::vector<record::Event> recordOf(const TestForm &t)
{
    return record::readRecent(QDir(t.paths.currentFolder).filePath(u"とくめいきろく.txt"_qs)).events;
}

// A learner misses the questions at these places of a set's run, answers
// the others right, and lets the clock run out.
void missAt(TestForm &t, const QString &item, std::initializer_list<int> places)
{
    Form1 &f = *t.form;
    ASSERT_TRUE(f.menuClick(item));
    learner::Hands hands = learner::handsOn(f);
    std::optional<std::pair<double, double>> pointer;
    const int last = std::max(places);
    while (f.run.categoryActive == 1 && f.bank.mondaiNo <= last) {
        const bool miss = std::find(places.begin(), places.end(), f.bank.mondaiNo) != places.end();
        QString why;
        ASSERT_TRUE(learner::answer(f, hands, !miss, &why, &pointer)) << item.toStdString() << ": " << why.toStdString();
        if (miss)
            f.buttonClick(u"Command3"_qs);
    }
    if (f.run.categoryActive == 1)
        t.runOutClock();
}

} // namespace

// Every question of every set looks the same in a review as in its own set:
// the same figure, the same text, the same way of answering.
TEST(Review, EachQuestionIsAskedAsItsOwnSetAsksIt)
{
    int compared = 0;
    for (const SetInfo &set : setsWithABank()) {
        TestForm own;
        own.allSets = true;
        own.queueDraws(0.99, 5000); // bank order, and the same draws every time
        own.putInBankOrder(set.resultsFileName);
        Form1 &f = own.start();
        f.menuClick(set.item);
        std::vector<Seen> asked;
        std::vector<record::Question> questions;
        learner::Hands hands = learner::handsOn(f);
        std::optional<std::pair<double, double>> pointer;
        while (f.run.categoryActive == 1) {
            asked.push_back(seen(f));
            questions.push_back({set.item, f.currentBankNumber()});
            ASSERT_GE(questions.back().number, 1) << set.item.toStdString();
            if (!learner::answer(f, hands, true, nullptr, &pointer))
                break;
        }
        // The same questions in reviews of ten.
        for (std::size_t from = 0; from < questions.size(); from += 10) {
            TestForm review;
            review.allSets = true;
            review.queueDraws(0.99, 5000);
            Form1 &g = review.start();
            const std::vector<record::Question> part(questions.begin() + from,
                                                     questions.begin() + std::min(from + 10, questions.size()));
            g.startReview(part);
            ASSERT_EQ(g.review.reviewMode, 1);
            learner::Hands h = learner::handsOn(g);
            std::optional<std::pair<double, double>> p;
            for (std::size_t i = 0; i < part.size(); ++i) {
                EXPECT_EQ(seen(g), asked[from + i]) << set.item.toStdString() << " question " << part[i].number;
                ++compared;
                if (!learner::answer(g, h, true, nullptr, &p))
                    break;
            }
        }
    }
    EXPECT_GT(compared, 800);
}

// A run's answers and its end go into the learner's record, each answer
// named by its set and its number in the bank.
TEST(Review, RunsWriteTheLearnersRecord)
{
    TestForm t;
    t.putInBankOrder(u"長さ面積1.txt"_qs);
    t.start();
    missAt(t, u"nagasa"_qs, {2, 4});
    const std::vector<record::Event> events = recordOf(t);
    ASSERT_EQ(events.size(), 5u); // four answers and the run
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].kind, record::Kind::Answer);
        EXPECT_EQ(events[i].set, u"nagasa"_qs);
        EXPECT_EQ(events[i].number, i + 1); // bank order
        EXPECT_EQ(events[i].correct, i != 1 && i != 3);
        EXPECT_EQ(events[i].mode, record::kFiveMinutes);
    }
    EXPECT_EQ(events[1].answer, u"9999"_qs); // what the learner typed
    const record::Event &run = events.back();
    EXPECT_EQ(run.kind, record::Kind::Run);
    EXPECT_EQ(run.right, 2);
    EXPECT_EQ(run.misses, 2);
    EXPECT_EQ(run.seconds, 300);
    // The list of misses after the chart.
    Form1 &f = *t.form;
    EXPECT_TRUE(f.Picture9.Visible);
    EXPECT_TRUE(f.Command6.Visible);
    EXPECT_EQ(f.review.runMisses, 2);
    const QStringList listed = TestForm::printed(f.Picture9);
    EXPECT_TRUE(listed.contains(u"正解"_qs));
    EXPECT_TRUE(listed.contains(u"9999"_qs));
    // Not due before tomorrow.
    EXPECT_EQ(f.review.dueCount, 0);
    EXPECT_FALSE(f.menuItem(u"matigai"_qs)->Enabled);
}

// What was missed comes back spaced over the days: due the next day, again
// three days after a review got it right, done after a second right review
// on another day.
TEST(Review, MissesComeBackOverTheDays)
{
    ScratchFolder shared;
    auto dayOf = [&](int day) {
        auto t = std::make_unique<TestForm>();
        t->paths = shared.paths;
        t->clock.date = QDate(2026, 12, 1).addDays(day);
        return t;
    };
    {
        auto t = dayOf(0);
        t->putInBankOrder(u"長さ面積1.txt"_qs);
        t->start();
        missAt(*t, u"nagasa"_qs, {3});
    }
    const auto caption = [](Form1 &f) { return f.menuItem(u"matigai"_qs)->Caption; };
    const auto reviewRight = [&](int day, bool right) {
        auto t = dayOf(day);
        Form1 &f = t->start();
        EXPECT_EQ(caption(f), u"まちがえた問題（1）"_qs) << day;
        EXPECT_TRUE(f.menuItem(u"matigai"_qs)->Enabled);
        f.menuClick(u"matigai"_qs);
        EXPECT_EQ(f.review.reviewMode, 1);
        EXPECT_EQ(f.Command7.Visible, true);
        learner::Hands hands = learner::handsOn(f);
        EXPECT_TRUE(learner::answer(f, hands, right));
        if (!right)
            f.buttonClick(u"Command3"_qs);
        EXPECT_EQ(f.review.reviewMode, 0) << "one question, then the summary";
        EXPECT_EQ(t->dialogs.shown.back().title, u"復習"_qs);
        EXPECT_EQ(t->dialogs.shown.back().text,
                  QString(u"復習おつかれさま。1 問中 %1 問正解でした。"_qs).arg(right ? 1 : 0));
    };
    const auto dueOn = [&](int day) { return dayOf(day)->start().review.dueCount; };
    EXPECT_EQ(dueOn(0), 0);
    reviewRight(1, true);
    EXPECT_EQ(dueOn(3), 0);
    reviewRight(4, true);
    EXPECT_EQ(dueOn(30), 0); // done
    // A new miss, in an ordinary run, starts it again.
    {
        auto t = dayOf(31);
        t->putInBankOrder(u"長さ面積1.txt"_qs);
        t->start();
        missAt(*t, u"nagasa"_qs, {3});
    }
    EXPECT_EQ(dueOn(31), 0);
    reviewRight(32, false); // missed in the review: due the next day again
    EXPECT_EQ(dueOn(32), 0);
    EXPECT_EQ(dueOn(33), 1);
}

// A review mixes the questions of many sets, typed, drawn, on application
// figures and in the sets answered by keyboard; it is played right and
// wrong to its summary, each miss explained as in its set, and the family
// files stay byte for byte as they were.
TEST(Review, AMixedReviewPlaysToItsSummaryAndLeavesTheFamilyFiles)
{
    ScratchFolder shared;
    const QStringList sets{u"nagasa"_qs, u"thahyo1"_qs, u"grawrite1"_qs, u"graread2"_qs, u"senza1"_qs, u"ouyou2"_qs};
    {
        TestForm t;
        t.paths = shared.paths;
        for (const QString &item : sets)
            t.putInBankOrder(findSet(item)->resultsFileName);
        t.start();
        for (const QString &item : sets)
            missAt(t, item, {1, 2});
    }
    QMap<QString, QByteArray> families;
    for (const QString &name : QDir(shared.paths.currentFolder).entryList({u"*.txt"_qs}, QDir::Files))
        if (!name.endsWith(u"きろく.txt"_qs))
            families[name] = TestForm::read(QDir(shared.paths.currentFolder).filePath(name));
    ASSERT_GE(families.size(), 4);

    for (const bool right : {false, true}) {
        TestForm t;
        t.paths = shared.paths;
        t.clock.date = QDate(2026, 12, right ? 20 : 9);
        Form1 &f = t.start();
        ASSERT_EQ(f.review.dueCount, 12);
        f.menuClick(u"matigai"_qs);
        ASSERT_EQ(f.bank.mondaiCount, 10);
        // Mixed: no two of one set in a row.
        for (int i = 2; i <= 10; ++i)
            EXPECT_NE(f.review.reviewSets[i], f.review.reviewSets[i - 1]) << i;
        learner::Hands hands = learner::handsOn(f);
        std::optional<std::pair<double, double>> pointer;
        int asked = 0;
        while (f.run.categoryActive == 1) {
            const QString set = f.currentSetItem();
            QString why;
            ASSERT_TRUE(learner::answer(f, hands, right, &why, &pointer)) << set.toStdString() << ": " << why.toStdString();
            ++asked;
            if (!right) {
                EXPECT_TRUE(f.Command3.Visible) << set.toStdString();
                EXPECT_FALSE(f.Picture6.ops().empty());
                f.buttonClick(u"Command3"_qs);
            }
        }
        EXPECT_EQ(asked, 10);
        EXPECT_EQ(f.scoreState.correctCount, right ? 10 : 0);
        EXPECT_TRUE(f.Picture1.Visible);
        EXPECT_EQ(t.dialogs.shown.back().text,
                  QString(u"復習おつかれさま。10 問中 %1 問正解でした。"_qs).arg(right ? 10 : 0));
        EXPECT_FALSE(t.form->closed);
        // The review's chart is the learner's reviews.
        EXPECT_TRUE(TestForm::printed(f.Picture1).contains(right ? u" 10/10 "_qs : u" 0/10 "_qs));
    }
    for (auto it = families.begin(); it != families.end(); ++it)
        EXPECT_EQ(TestForm::read(QDir(shared.paths.currentFolder).filePath(it.key())), it.value()) << it.key().toStdString();
    // The record holds the reviews' answers and runs, marked as reviews.
    const std::vector<record::Event> events = record::readRecent(QDir(shared.paths.currentFolder).filePath(u"とくめいきろく.txt"_qs)).events;
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const record::Event &e) { return e.mode == record::kReview && e.kind == record::Kind::Run; }),
              2);
}

// 「やめる」 asks first; yes ends the run without a record in the family
// file and brings back the start screen; no goes on. Escape is 「やめる」
// where no miss is shown.
TEST(Review, StoppingARunAsksAndLeavesNoRecord)
{
    for (const bool missShown : {false, true}) {
        TestForm t;
        Form1 &f = t.start();
        const Seen atStart = seen(f);
        const CanvasScale startScale = f.Picture6.scale();
        f.menuClick(u"nagasa"_qs);
        EXPECT_TRUE(f.Command7.Visible);
        if (missShown)
            t.type(u"99\r"_qs);
        t.dialogs.answers = {false};
        f.buttonClick(u"Command7"_qs);
        EXPECT_EQ(t.dialogs.shown.back().text, u"この回をやめますか？"_qs);
        EXPECT_EQ(f.run.categoryActive, 1); // いいえ: the run goes on
        f.buttonClick(u"Command7"_qs);      // はい
        EXPECT_EQ(f.run.categoryActive, 0);
        EXPECT_FALSE(f.Timer1.Enabled);
        EXPECT_FALSE(f.Command7.Visible);
        EXPECT_FALSE(f.Command3.Visible);
        EXPECT_FALSE(f.Picture1.Visible);
        EXPECT_TRUE(f.Command1.Visible && f.Command4.Visible);
        // The start screen as start-up showed it, in the box's own scale
        // whatever the last figure set.
        EXPECT_EQ(seen(f).plane, atStart.plane);
        EXPECT_EQ(f.Picture6.scale(), startScale);
        EXPECT_TRUE(f.Picture8.ops().empty());
        EXPECT_EQ(f.scoreState.answerLocked, 0);
        // No record in the family file; the miss in the learner's own.
        EXPECT_EQ(linesOf(t.cwdFile(u"長さ面積.txt"_qs)).size(), 1) << "the date line only";
        EXPECT_EQ(recordOf(t).size(), missShown ? 1u : 0u);
        // The menu is free again.
        EXPECT_TRUE(f.menuClick(u"thahyo1"_qs));
        EXPECT_EQ(f.run.categoryActive, 1);
        EXPECT_TRUE(f.Text2.Text.isEmpty());
    }
}

// Through the driver as through the window: Escape goes on after a miss and
// stops the run otherwise; the review menu and the list's button are
// reached as the window reaches them.
TEST(Review, TheDriverReachesTheReviewAndStop)
{
    DriveRun d;
    const QString script = u"random"_qs + u" 0.99"_qs.repeated(30)
                           + u"\nmenu nagasa\ntype 99\nkey Enter\nkey Escape\ndump @/after-miss.json\n"
                             "answer no\nkey Escape\ndump @/kept.json\nkey Escape\ndump @/stopped.json\n"
                             "menu nagasa\ntype 98\nkey Enter\nadvance 301\ndump @/end.json\nclick Command6\n"
                             "dump @/review.json\n"_qs;
    ASSERT_EQ(d.run(script), 0) << d.stdErr.toStdString();
    const QJsonObject afterMiss = d.json(u"after-miss.json"_qs);
    EXPECT_EQ(afterMiss[u"state"_qs][u"mondaiNo"_qs].toInt(), 2); // Escape was 「確認したよ！」
    EXPECT_EQ(d.json(u"kept.json"_qs)[u"state"_qs][u"categoryActive"_qs].toInt(), 1);
    const QJsonObject stopped = d.json(u"stopped.json"_qs);
    EXPECT_EQ(stopped[u"state"_qs][u"categoryActive"_qs].toInt(), 0);
    const QJsonArray messages = stopped[u"messages"_qs].toArray();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1][u"text"_qs].toString(), u"この回をやめますか？"_qs);
    const QJsonObject end = d.json(u"end.json"_qs);
    EXPECT_TRUE(end[u"controls"_qs][u"Command6"_qs][u"visible"_qs].toBool());
    EXPECT_TRUE(end[u"canvases"_qs][u"Picture9"_qs][u"visible"_qs].toBool());
    EXPECT_TRUE(end[u"state"_qs][u"recordPath"_qs].toString().endsWith(u"とくめいきろく.txt"_qs));
    const QJsonObject review = d.json(u"review.json"_qs);
    EXPECT_EQ(review[u"state"_qs][u"reviewMode"_qs].toInt(), 1);
    EXPECT_EQ(review[u"state"_qs][u"mondaiCount"_qs].toInt(), 1); // this run's miss only
}
