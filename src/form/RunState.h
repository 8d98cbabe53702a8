#pragma once
// The run state of the main window, grouped by the part of the program that
// owns it. Names are the ones used throughout the program. Integers are 16
// bits as the learner's counters and positions have always been; "single"
// values are floats. Arrays are used from index 1 and keep their full bounds.
#include <QString>

#include <cstdint>
#include <vector>

using StrArray = std::vector<QString>;
using IntArray = std::vector<int16_t>;

// Question bank and draw order.
struct QuestionBank {
    StrArray mondai = StrArray(1001);
    StrArray kotae = StrArray(1001);
    int16_t mondaiCount = 0;
    StrArray shuffledMondai = StrArray(201);
    StrArray shuffledKotae = StrArray(201);
    int16_t mondaiNo = 0;
    // The bank number of the question at each place of the draw order.
    IntArray shuffledNumber = IntArray(201);

    template <class V> void visit(V &v)
    {
        v("mondai", mondai);
        v("kotae", kotae);
        v("mondaiCount", mondaiCount);
        v("shuffledMondai", shuffledMondai);
        v("shuffledKotae", shuffledKotae);
        v("mondaiNo", mondaiNo);
        v("shuffledNumber", shuffledNumber);
    }
};

// Run control: the active set, the clock and the folders.
struct RunControl {
    int16_t categoryActive = 0;
    float startTime = 0;
    float endTime = 0;
    int16_t timeLimit = 0;
    int16_t longTimeMode = 0;
    float timerValue = 0;
    int16_t timerMinutes = 0;
    int16_t timerSeconds = 0;
    QString resultsFileName;
    QString equationText;
    QString dataFolder;
    IntArray primeTable = IntArray(25);
    int16_t applicationSetFlag = 0;
    // The run's start on the monotonic clock, which times it, and the runs
    // started since the program started.
    double startMonotonic = 0;
    int16_t runCount = 0;
    // The menu item of the set being asked (of the last one, after a run).
    QString setItem;
    // The seed of the set's bank in new numbers, while one is asked; empty
    // while the set's own bank is.
    QString variantSeed;

    template <class V> void visit(V &v)
    {
        v("categoryActive", categoryActive);
        v("startTime", startTime);
        v("endTime", endTime);
        v("timeLimit", timeLimit);
        v("longTimeMode", longTimeMode);
        v("timerValue", timerValue);
        v("timerMinutes", timerMinutes);
        v("timerSeconds", timerSeconds);
        v("resultsFileName", resultsFileName);
        v("equationText", equationText);
        v("dataFolder", dataFolder);
        v("primeTable", primeTable);
        v("applicationSetFlag", applicationSetFlag);
        v("startMonotonic", startMonotonic);
        v("runCount", runCount);
        v("setItem", setItem);
        v("variantSeed", variantSeed);
    }
};

// Results history of the active family of sets, and the learner's name.
struct ResultsHistory {
    QString resultsFile;
    QString resultsPath;
    int16_t historyCount = 0;
    IntArray historyScore = IntArray(101);
    StrArray historyDate = StrArray(101);
    StrArray historySet = StrArray(101);
    QString displayName;

    template <class V> void visit(V &v)
    {
        v("resultsFile", resultsFile);
        v("resultsPath", resultsPath);
        v("historyCount", historyCount);
        v("historyScore", historyScore);
        v("historyDate", historyDate);
        v("historySet", historySet);
        v("displayName", displayName);
    }
};

// Typing state of the answer box and the inputs of the typeset preview.
struct TypingState {
    QString typedExpr;
    int16_t fractionMode = 0;
    int16_t letterTyped = 0;
    QString fracPrefix;
    QString fracLower;
    QString fracUpper;
    QString fracTail;
    QString previewSign;
    QString previewLower;
    QString previewUpper;
    int16_t previewLeft = 0;
    int16_t previewTop = 0;
    int16_t previewTermFlag = 0;

    // Drops what was typed: the expression and every part of a fraction.
    // The preview's position and flags stay; the next key sets them again.
    void clearEntry()
    {
        typedExpr.clear();
        fractionMode = 0;
        letterTyped = 0;
        fracPrefix.clear();
        fracLower.clear();
        fracUpper.clear();
        fracTail.clear();
    }

    template <class V> void visit(V &v)
    {
        v("typedExpr", typedExpr);
        v("fractionMode", fractionMode);
        v("letterTyped", letterTyped);
        v("fracPrefix", fracPrefix);
        v("fracLower", fracLower);
        v("fracUpper", fracUpper);
        v("fracTail", fracTail);
        v("previewSign", previewSign);
        v("previewLower", previewLower);
        v("previewUpper", previewUpper);
        v("previewLeft", previewLeft);
        v("previewTop", previewTop);
        v("previewTermFlag", previewTermFlag);
    }
};

// Score and the answer lock.
struct ScoreState {
    int16_t correctCount = 0;
    int16_t missCount = 0;
    int16_t score = 0;
    int16_t streak = 0;
    int16_t tenInARowMode = 0; // true is -1
    int16_t answerLocked = 0;
    StrArray missedMondai = StrArray(101);
    StrArray missedKotae = StrArray(101);
    // The coordinates taken from a point answer, kept for the explanations.
    int16_t answerX = 0;
    int16_t answerY = 0;

    template <class V> void visit(V &v)
    {
        v("correctCount", correctCount);
        v("missCount", missCount);
        v("score", score);
        v("streak", streak);
        v("tenInARowMode", tenInARowMode);
        v("answerLocked", answerLocked);
        v("missedMondai", missedMondai);
        v("missedKotae", missedKotae);
        v("answerX", answerX);
        v("answerY", answerY);
    }
};

// Figure values and explanation flags left by the presenter and the figures.
struct FigureValues {
    int16_t cornerAx = 0, cornerAy = 0, cornerBx = 0, cornerBy = 0;
    int16_t cornerCx = 0, cornerCy = 0, cornerDx = 0, cornerDy = 0;
    int16_t circleKind = 0;
    QString givenMeasure;
    QString givenCircumference;
    int16_t explainQuadArea = 0;
    int16_t explainTriangleArea = 0;
    QString appLine1, appLine2, appFigureLine;
    int16_t appXValue = 0;
    int16_t appFourthValue = 0;
    int16_t appFourthValue1 = 0;
    int16_t appOneLine = 0;
    int16_t appTwoLines = 0;
    int16_t squareStartX = 0;
    int16_t appSquare = 0;
    int16_t graphKind = 0;
    int16_t ticksOnly = 0;
    int16_t midpointQuestion = 0;
    float figureX1 = 0, figureY1 = 0, figureX2 = 0, figureY2 = 0;
    int16_t figureSlopeNum = 0;

    template <class V> void visit(V &v)
    {
        v("cornerAx", cornerAx);
        v("cornerAy", cornerAy);
        v("cornerBx", cornerBx);
        v("cornerBy", cornerBy);
        v("cornerCx", cornerCx);
        v("cornerCy", cornerCy);
        v("cornerDx", cornerDx);
        v("cornerDy", cornerDy);
        v("circleKind", circleKind);
        v("givenMeasure", givenMeasure);
        v("givenCircumference", givenCircumference);
        v("explainQuadArea", explainQuadArea);
        v("explainTriangleArea", explainTriangleArea);
        v("appLine1", appLine1);
        v("appLine2", appLine2);
        v("appFigureLine", appFigureLine);
        v("appXValue", appXValue);
        v("appFourthValue", appFourthValue);
        v("appFourthValue1", appFourthValue1);
        v("appOneLine", appOneLine);
        v("appTwoLines", appTwoLines);
        v("squareStartX", squareStartX);
        v("appSquare", appSquare);
        v("graphKind", graphKind);
        v("ticksOnly", ticksOnly);
        v("midpointQuestion", midpointQuestion);
        v("figureX1", figureX1);
        v("figureY1", figureY1);
        v("figureX2", figureX2);
        v("figureY2", figureY2);
        v("figureSlopeNum", figureSlopeNum);
    }
};

// Inputs and outputs of the equation routines.
struct EquationState {
    QString lineText;
    int16_t slopeNum = 0, slopeDen = 0;
    QString slopeNumText, slopeDenText, slopeText;
    int16_t intercept = 0;
    QString interceptText;
    QString graphEquation;
    int16_t graphIntercept = 0;
    QString interceptNumText, interceptDenText;
    int16_t gcdArgA = 0, gcdArgB = 0, gcdValue = 0, lcmValue = 0;
    StrArray equationTerms = StrArray(6);
    QString standardEquation;
    StrArray explainLines = StrArray(5);

    template <class V> void visit(V &v)
    {
        v("lineText", lineText);
        v("slopeNum", slopeNum);
        v("slopeDen", slopeDen);
        v("slopeNumText", slopeNumText);
        v("slopeDenText", slopeDenText);
        v("slopeText", slopeText);
        v("intercept", intercept);
        v("interceptText", interceptText);
        v("graphEquation", graphEquation);
        v("graphIntercept", graphIntercept);
        v("interceptNumText", interceptNumText);
        v("interceptDenText", interceptDenText);
        v("gcdArgA", gcdArgA);
        v("gcdArgB", gcdArgB);
        v("gcdValue", gcdValue);
        v("lcmValue", lcmValue);
        v("equationTerms", equationTerms);
        v("standardEquation", standardEquation);
        v("explainLines", explainLines);
    }
};

// Answering on the plane with the mouse.
struct GraphInput {
    int16_t keyboardAnswerMode = 0;
    int16_t mouseHeld = 0;
    int16_t firstPointSet = 0;
    int16_t pointsApart = 0;
    int16_t pointX = 0, pointY = 0;
    int16_t secondX = 0, secondY = 0;
    int16_t anchorX = 0, anchorY = 0;
    int16_t lastX = 0, lastY = 0;
    QString clickAnswer;
    int16_t clickCount = 0;
    IntArray clickedX = IntArray(10);
    IntArray clickedY = IntArray(10);

    template <class V> void visit(V &v)
    {
        v("keyboardAnswerMode", keyboardAnswerMode);
        v("mouseHeld", mouseHeld);
        v("firstPointSet", firstPointSet);
        v("pointsApart", pointsApart);
        v("pointX", pointX);
        v("pointY", pointY);
        v("secondX", secondX);
        v("secondY", secondY);
        v("anchorX", anchorX);
        v("anchorY", anchorY);
        v("lastX", lastX);
        v("lastY", lastY);
        v("clickAnswer", clickAnswer);
        v("clickCount", clickCount);
        v("clickedX", clickedX);
        v("clickedY", clickedY);
    }
};

// The learner's record and reviews: where the record is kept, what is due,
// a review run's questions, and this run's misses for the panel after it.
struct ReviewState {
    QString recordPath;
    int16_t dueCount = 0;
    StrArray dueQuestions = StrArray(1); // "item#number", the longest due first, from 1
    int16_t reviewMode = 0;              // 1 while a review run is on
    StrArray reviewSets = StrArray(11);  // the set of each review question, by place
    int16_t savedApplicationFlag = 0;    // the flag as it stood before the review
    // This run: its misses (question, stored answer, what was answered, set
    // and bank number), counted from 1.
    int16_t runMisses = 0;
    StrArray missedQuestion = StrArray(1), missedAnswer = StrArray(1), missedTyped = StrArray(1),
             missedSet = StrArray(1);
    IntArray missedNumber = IntArray(1);

    template <class V> void visit(V &v)
    {
        v("recordPath", recordPath);
        v("dueCount", dueCount);
        v("dueQuestions", dueQuestions);
        v("reviewMode", reviewMode);
        v("reviewSets", reviewSets);
        v("savedApplicationFlag", savedApplicationFlag);
        v("runMisses", runMisses);
        v("missedQuestion", missedQuestion);
        v("missedAnswer", missedAnswer);
        v("missedTyped", missedTyped);
        v("missedSet", missedSet);
        v("missedNumber", missedNumber);
    }
};

// The math-text renderers' input.
struct MathTextState {
    QString mathText;
    int16_t mathSameLine = 0;

    template <class V> void visit(V &v)
    {
        v("mathText", mathText);
        v("mathSameLine", mathSameLine);
    }
};
