#pragma once
// The main window as the program sees it: every control by its designed name,
// the run state, and the procedures of each part of the program. The Qt view
// (src/ui) and the driver (tools/drive) forward events to the handlers here
// and re-read the controls afterwards.
#include "form/RunState.h"
#include "controls/Canvas.h"
#include "controls/Controls.h"
#include "controls/Services.h"
#include "record/Review.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct SetInfo;

// Thrown where the program ends at once (the volume item, faulty built-in
// question data). The view and the driver catch it at the event boundary.
struct ProgramEnd {
    QString reason;
};

struct FormServices {
    Clock &clock;
    Random &random;
    Dialogs &dialogs;
    SoundChannel &sound1;
    SoundChannel &sound2;
    const TextMetrics &metrics;
    Paths paths;
    bool allSets = false; // offer the sets that are disabled by design
};

class Form1 {
public:
    explicit Form1(const FormServices &services);
    // What is left of the learner's record is written as the window goes.
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    // ---- the window and its controls ----
    QString Caption = QStringLiteral("ソレムカゼミ");
    int ClientWidth = 10740, ClientHeight = 7260;
    int32_t BackColor;
    bool Visible = false; // shown at the end of start-up

    Canvas Picture6, Picture2, Picture3, Picture4, Picture5, Picture7, Picture8, Picture1;
    // The misses of the run just ended, listed after its chart.
    Canvas Picture9;
    TextBox Text2, Text6, Text1, Text3, Text4;
    Button Command1, Command4, Command5, Command3, Command2;
    // 「まちがえた問題をもう一度」 under the list of misses, and 「やめる」 beside
    // the clock during a run.
    Button Command6, Command7;
    Label Label7, Label3, Label8, Label4, Label9, Label5, Label10, Label6, Label2, Label12,
        Label13, Label14;
    Timer Timer1;
    MmControl MMControl1, MMControl2;
    std::vector<MenuItem> menuItems; // in menu-bar order, each top menu before its items

    // Lookup by designed name, for the view and the driver.
    Canvas *canvas(const QString &name);
    TextBox *textBox(const QString &name);
    Button *button(const QString &name);
    Label *label(const QString &name);
    MenuItem *menuItem(const QString &name);
    std::vector<Canvas *> canvases();
    std::vector<TextBox *> textBoxes();
    std::vector<Button *> buttons();
    std::vector<Label *> labels();

    // ---- run state, by owner ----
    QuestionBank bank;
    RunControl run;
    ResultsHistory history;
    TypingState typing;
    ScoreState scoreState;
    FigureValues figure;
    EquationState eq;
    GraphInput graph;
    MathTextState math;
    ReviewState review;

    template <class V> void visitState(V &v)
    {
        bank.visit(v);
        run.visit(v);
        history.visit(v);
        typing.visit(v);
        scoreState.visit(v);
        figure.visit(v);
        eq.visit(v);
        graph.visit(v);
        math.visit(v);
        review.visit(v);
    }

    // The program has asked to end (closing the window, the volume item, the
    // end of a ten-in-a-row run).
    bool closed = false;
    void closeWindow() { closed = true; }
    [[noreturn]] void endProgram(const QString &reason);

    // Focus: the one text box that has it, if any.
    void setFocus(TextBox &box);

    // The procedures, by the part of the program that owns them; each
    // section names the file it lives in.

    // ---- start-up (app/Startup.cpp, app/Roster.cpp) ----
    void Form_Load();
    void chooseDisplayName();
    static QString dataFolderFor(const QString &programFolder);
    void fillPrimeTable();
    // The help on the plane before a set is chosen.
    void printStartHelp();

    // ---- menu and activation (app/Activation.cpp) ----
    // Each returns false when the item has no handler.
    bool menuClick(const QString &item);
    void activateSet(const SetInfo &set);
    // The steps of an activation: what an item does even when its click is
    // ignored, the first question's text, and the first question itself.
    void beforeActivation(const SetInfo &set);
    void showFirstQuestionText();
    void showFirstQuestion(const SetInfo &set);
    void resetSet();
    void clearGraphInputFlags();

    // ---- new numbers (app/FreshNumbers.cpp) ----
    // 「設定」's 「新しい数で出題」 turns new numbers on and off for the rest of
    // the program's run; true when the item clicked was that one.
    bool settingsClick(const QString &item);
    // Fills the bank of a set being activated: its own, or with new numbers
    // on, its variant for this learner, day and set.
    void fillSetBank(const SetInfo &set);
    // A teacher's seed (worksheets and listings): every set is asked in its
    // variant of this seed, whatever the menu item says.
    std::optional<uint32_t> givenVariantSeed;

    // ---- question cycle, clock, end of a run, buttons 1-4 (app/QuestionCycle.cpp) ----
    // Routes a button's click to its handler; false when it has none.
    bool buttonClick(const QString &name);
    void Timer1_Timer();
    void nextQuestion();
    void printQuestionText();
    void printQuestionText(const QString &question);
    void finishSet();
    void endRun();
    void drawResultsChart();
    // A chart of bars on Picture1: the past ones outlined, oldest on the
    // left, the run just ended filled; each with its number above and its
    // date (yymmdd) and name stacked below.
    struct ChartBar {
        int height = 0;
        QString label; // above the bar; its height as a number when empty
        QString date, set;
    };
    void drawChart(const std::vector<ChartBar> &past, const ChartBar &current);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // The current question and answer of the draw order ("" outside it).
    const QString &currentQuestion() const;
    const QString &currentAnswer() const;

    // ---- results and streak files (app/Results.cpp, app/ResultsFile.cpp) ----
    void readStreakRecord();
    void readResults();
    void writeResults();
    QString streakFilePath() const;
    void useBankOrder();

    // ---- sounds (app/Sounds.cpp) ----
    void playCorrectSound();
    void playWrongSound();

    // ---- math text (app/MathText.cpp) ----
    void drawMathCanvas();
    void drawMathPicture3();
    void drawMathPicture5();
    void drawMathPicture4();

    // ---- the learner's record and reviews (app/Review.cpp, app/ReviewPanel.cpp) ----
    // Every answer judged and every run ended goes into the learner's record;
    // a review asks missed questions again, each as its own set asks it.
    QString recordFilePath() const;
    void recordAnswer(bool right, const QString &answered);
    void recordRun();
    // Writes the events not yet in the record file: at the end of a run, when
    // a run is stopped and when the window goes.
    void flushRecord(bool tell = true);
    // Reads what is due from the record into the review state and the
    // 「復習」 menu.
    void refreshDue();
    void readRecord();
    void keepInMemory(const record::Event &e);
    void startReview(const std::vector<record::Question> &questions);
    void applyReviewContext();
    void finishReview();
    void drawReviewChart();
    // The list of this run's misses after the chart, and its buttons.
    void keepMiss(const QString &answered);
    void showMissesPanel();
    void Command6_Click();
    // 「やめる」: asked, the run ends without a record and the start screen
    // comes back.
    void Command7_Click();
    void stopRun();
    void showStartScreen();
    // The mode of the run as the record names it, and the bank number of
    // the question asked now (0 when it cannot be told).
    QString runModeName() const;
    int currentBankNumber() const;
    QString currentSetItem() const;

    // ---- question banks (banks/BankRoutines.cpp, banks/Shuffle.cpp) ----
    // Each bank routine writes its set's pairs from the built-in data into
    // bank.mondai and bank.kotae, slot 1 upwards, then sets
    // bank.mondaiCount. Faulty built-in data ends the program.
    void bankZahyou1();
    void bankZahyou2();
    void bankZahyou3();
    void bankNagasa();
    void bankMenseki1();
    void bankSanmen();
    void bankEnmenko();
    void bankGraread1();
    void bankGraread2();
    void bankGrawrite1();
    void bankGrawrite2();
    void bankGrerewri();
    void bankSenza1();
    void kansu1nouyo1();
    void bankOuyou2();
    void bankOuyou3();
    void bankGra2read1();
    void bankGra2read2();
    void bankGura2wri3();
    void bankGurafukaki42n();
    void bankGra2write1();
    void bankGra2write();
    void bankGtyokusen1();
    void bankGra2rewri2();
    void gra2senzyou1();
    // Runs the bank routine with that name (as the set table names it).
    // Returns false, and changes nothing, when there is no such routine.
    bool runBankRoutine(const QString &routine);
    // The draw order: copies mondai/kotae into shuffledMondai/shuffledKotae,
    // shuffled within consecutive blocks of ten.
    void shuffleMondai();

    // ---- the presenter (present/Presenter.cpp) ----
    void presentQuestion();
    // The steps of presentQuestion: a clean start of the answer, the
    // question's family and figure, and the answer layout it needs.
    void startQuestionInput();
    void presentFamily();
    void settleAnswerLayout();
    void showQuestionTextAgain(const QString &text);
    // The families, as the presenter's table calls them.
    void presentApplication(const QString &text, const QString &params);
    void presentSquareApplication(const QString &text, const QString &params);
    void presentSegmentOnPlane(const QString &text, const QString &params);
    void presentQuadrilateralOnPlane(const QString &text, const QString &params);
    void presentTriangleOnPlane(const QString &text, const QString &params);
    void presentGraphOrPointQuestion(const QString &text, const QString &params);

    // ---- the planes (present/CoordinatePlane.cpp) ----
    void keyboardLayout();
    void drawCoordinatePlane();
    void drawPlaneAxesTicksLabels();
    // The square plane from -9 to 9 with its two axes, and its grid or ticks.
    void drawPlaneAxes();
    void drawGridOrTicks(bool grid, double tick);
    void drawGraphPlane();
    void drawGraphPlaneLabels();

    // ---- shape and circle figures (present/ShapeFigures.cpp) ----
    void drawCircleFrame();
    void presentCircleUnknownRadius(const QString &text, const QString &params);
    void presentCircleOrSector(const QString &text, const QString &params);
    void presentSegment(const QString &params);
    void presentQuadrilateral(const QString &text, const QString &params);
    void presentTriangle(const QString &params);

    // ---- graph and point questions (present/GraphQuestions.cpp) ----
    void presentGraphOrPoint(const QString &text);
    void chooseGraphLayout(const QString &text);
    void presentPointAnswer(const QString &text);
    void presentLineAnswer(const QString &text);
    void presentPointOnLine(const QString &text);

    // ---- application figures (present/AppFigures.cpp) ----
    void drawSquareFigure();
    void drawOneLineFigure();
    void drawTwoLineFigure();
    void drawApplicationPlane(const QString &equation);
    void readFigureEquation(const QString &equation);
    void plotFigureLine();

    // ---- typed answers: the key handler (answer/KeyEntry.cpp) ----
    // Key codes are character codes; the handler may change the code, and 0
    // swallows the key. Whatever code is left reaches the box.
    void Text2_KeyPress(int &key);

    // ---- the typeset preview (answer/FractionPreview.cpp) ----
    void drawTypedFraction();
    void drawAnswerFraction();

    // ---- judging typed answers (answer/Judge.cpp) ----
    // One key as the real box delivers it: the handler, then the box itself.
    void typeKey(int key);
    void judgeTypedAnswer();
    QString expectedAnswer();

    // ---- worked explanations (answer/Explanations.cpp and
    //      AreaExplanations.cpp, LineExplanations.cpp) ----
    void explainWrongAnswer();
    void explainTriangleOAD();
    void explainQuadrilateralArea();
    void explainSegmentsBetweenLines();
    void explainBetweenLines();
    void explainCircle();
    void explainGridTriangle();
    void explainCoordinates();
    void explainLine(const QString &text);
    void markClickedPoints();

    // ---- equation routines (graph/Equations.cpp, graph/StandardForm.cpp) ----
    void parseLineEquation();
    void drawEquationGraph();
    void setGraphKindFrom(const QString &equation);
    void findGcdLcm();
    void splitTerms();
    void explainStandardForm();

    // ---- answers on the plane (graph/GraphInput.cpp) ----
    void Picture6_MouseDown(int button, int shift, double x, double y);
    void Picture6_MouseMove(int button, int shift, double x, double y);
    void Picture6_Click();
    void Picture6_DblClick();
    void redrawPlaneForAnswer();
    void redrawPlaneWithNumbers();
    void drawLearnersGraph();
    // The second point of a line is down: the learner's line drawn, and
    // judged at once into clickAnswer.
    void completeLine();

    // ---- what the plane says while an answer is drawn (graph/DrawingHints.cpp) ----
    // The first point of a line marked, with a note where the line starts
    // at the origin; called after each press and move.
    void markFirstPoint();
    // Before the check button judges: with no complete answer on the plane,
    // a note of what is missing; true when it stopped the check.
    bool hintBeforeCheck();

    // ---- judging answers on the plane (graph/GraphJudge.cpp) ----
    void Command5_Click();
    void showCorrectGraph();
    void explainPointAnswer();
    void explainGeneralForm(const QString &q);

    const FormServices &services() const { return s_; }

private:
    void buildMenus();                                                             // form/Form1.cpp
    void playSound(MmControl &control, SoundChannel &channel, const QString &file); // app/Sounds.cpp
    void drawMath(Canvas &box, double large, double small, bool setLargeFirst);    // app/MathText.cpp
    // The preview's drawing steps (answer/FractionPreview.cpp).
    void drawFraction(Canvas &c, int plainUpperOffset, bool typed, int w);
    void drawUpperPart(Canvas &c, double plainNumberX, double radicalY, int32_t radicalColor);
    void drawBarAndLowerPart(Canvas &c, int p, int top, int w, int32_t radicalColor);
    // An answer set as the correct-answer panel sets it: its sign or "y=",
    // the fraction stacked, and the x term after it; from (left, top).
    void drawAnswerPieces(Canvas &c, const QString &sign, const QString &upper, const QString &lower,
                          const QString &tail, int left = 0, int top = 0);
    // The key handler's steps (answer/KeyEntry.cpp).
    void drawFractionAndTail(const QString &tail);
    void defaultKey(TextBox &box, int key);
    void showTypedExpr();
    void displayTypedExpr();
    void keyOutsideTheSet(int &key);
    // The steps of the key handler: a digit (true when it finished the key),
    // a digit after the slash, a sign or letter of the x term, a letter after
    // a fraction, and the slash itself.
    bool digitKey(int &key);
    bool fractionDigit(int &key, const QString &k);
    void termKey(int key);
    void letterInFraction(int key);
    void slashKey();
    // Judging (answer/Judge.cpp) and the counters both judges keep
    // (answer/Scoring.cpp).
    void answerRight();
    // The counters of a right answer, typed or drawn; ends the program on the
    // tenth in a row of a ten-in-a-row run.
    void countRightAnswer();
    void showStreak(int16_t streak);
    // The beginning of every miss: the sound, the streak back to 0 and one
    // more miss on the counter.
    void startMiss();
    void answerWrong(const QString &q, const QString &k);
    void showCorrectAnswer(const QString &q, const QString &k);
    void showCorrectFraction(const QString &k);
    void keepAnswerCoordinates(const QString &k);
    FormServices s_;
    // Told to the learner after the closing message when the run's record
    // could not be kept in its family file; empty otherwise.
    QString resultsNotice_;
    // This machine's name as the machine-name file gives it; it names the
    // side file of a record that the family file could not take.
    QString machineName_;
    // The learner is told once when the record cannot be kept.
    bool recordTroubleTold_ = false;
    // Where each question missed stands, and the learner's latest reviews,
    // from the record as read at start-up and added to since; and the
    // events of this run not written yet. The record file is read once, not
    // after every run, and written once a run.
    record::Schedule schedule_;
    std::vector<record::Event> reviewRuns_, pendingRecord_;
    // Where the last application line left its equation label, and the
    // centre of the application plane.
    double figureLabelX_ = 0, figureLabelY_ = 0;
    double figurePlaneCentre_ = 6;
};
