// The answer box under any sequence of keys: a set is chosen from the menu,
// then bytes become key presses (every ASCII code, Enter and Backspace among
// them, and some keys from outside ASCII), typed answers, clicks on the plane
// and on the buttons that are shown, and clock ticks. Whatever the order, the
// program ends only the way it means to, no position leaves its array, the
// answer text holds only what the box accepts, and every question of a run
// can be answered.
#include "FuzzForm.h"
#include "LearnerInput.h"

#include "app/SetTable.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

namespace {

fuzz::Counts counts("fuzz_keys", "events");

// Keys from outside ASCII that a Japanese keyboard sends readily.
constexpr char16_t kWideKeys[] = {u'あ', u'１', u'ｘ', u'π', u'×', u'÷', u'／', u'ー', u'　',
                                  u'²',  0xE000, 0x7F,  0xFFFF, u'√', u'□', u'＝'};

bool acceptedInAnswer(QChar c)
{
    static const QString chars = QStringLiteral("0123456789+,-./;=()abpxy^π");
    return chars.contains(c);
}

void checkState(const Form1 &f)
{
    const QuestionBank &b = f.bank;
    FUZZ_CHECK(b.mondaiNo >= 0 && b.mondaiNo < int(b.shuffledMondai.size()));
    FUZZ_CHECK(b.mondaiCount >= 0 && b.mondaiCount < int(b.mondai.size()));
    if (b.mondaiCount > 0)
        FUZZ_CHECK(b.mondaiNo <= b.mondaiCount + 1);
    const TypingState &t = f.typing;
    FUZZ_CHECK(t.fractionMode == 0 || t.fractionMode == 1);
    FUZZ_CHECK(t.letterTyped == 0 || t.letterTyped == 1);
    for (QChar c : t.typedExpr)
        FUZZ_CHECK(acceptedInAnswer(c));
    const ScoreState &s = f.scoreState;
    FUZZ_CHECK(s.answerLocked == 0 || s.answerLocked == 1);
    // A locked box always leaves the learner a way on.
    FUZZ_CHECK(s.answerLocked == 0 || f.Command3.Visible);
    // So does every question of a run: a box to type in, a plane that takes
    // the mouse, or the button that goes on after a miss.
    if (f.run.categoryActive == 1 && !f.Command3.Visible)
        FUZZ_CHECK(f.Text2.Visible || (f.Command5.Visible && f.graph.keyboardAnswerMode == 0));
    FUZZ_CHECK(s.correctCount >= 0 && s.missCount >= 0);
    FUZZ_CHECK(f.Label3.Caption.isEmpty() || f.Label3.Caption == QString::number(s.correctCount));
    FUZZ_CHECK(f.history.historyCount >= 0 && f.history.historyCount <= 100);
}

// Nothing drawn lies at a position that is not a number.
void checkDrawings(Form1 &f)
{
    for (const Canvas *c : f.canvases()) {
        for (const CanvasOp &op : c->ops()) {
            FUZZ_CHECK(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2)
                       && std::isfinite(op.y2) && std::isfinite(op.r));
            for (const QPointF &p : op.points)
                FUZZ_CHECK(std::isfinite(p.x()) && std::isfinite(p.y()));
        }
        FUZZ_CHECK(std::isfinite(c->CurrentX) && std::isfinite(c->CurrentY));
    }
}

void typeText(Form1 &f, const QString &text)
{
    for (QChar c : text)
        if (f.Text2.Visible && !f.closed)
            f.typeKey(c.unicode());
}

// One event from the input; false once the program has ended. The input is
// read from its end (FuzzedDataProvider takes numbers from there): the mode
// (0 none, 1 five minutes, 2 ten in a row), the set's row in the set table,
// then one byte an event, some followed by their arguments:
//   0x00-0x7F  that key code       0x80-0x8F  a key from outside ASCII
//   0x90 Enter  0x91 Backspace     0x92 b     the stored answer typed (b odd:
//                                             denominator first), then Enter
//   0x93 Command3   0x94 Command5  0x95 s     the clock s seconds on, a tick
//   0x96 x y   a press at (x-95, y-95)/10     0x97 x y  a move with the button
//   0x98 n     the set of row n    0x99 Command2 (closes)
//   0x9A       the stored answer pressed on the plane, then Command5
bool event(fuzz::FuzzForm &ff, FuzzedDataProvider &in)
{
    Form1 &f = *ff.form;
    const uint8_t b = in.ConsumeIntegral<uint8_t>();
    int key = -1;
    switch (b) {
    case 0x90: key = 13; break;
    case 0x91: key = 8; break;
    case 0x92: // the stored answer, typed as written or as a learner types it
        typeText(f, in.ConsumeBool() ? learner::asTyped(f.currentAnswer()) : f.currentAnswer());
        key = 13;
        break;
    case 0x93:
        if (f.Command3.Visible)
            f.buttonClick(QStringLiteral("Command3"));
        break;
    case 0x94:
        if (f.Command5.Visible)
            f.buttonClick(QStringLiteral("Command5"));
        break;
    case 0x95:
        ff.clock.seconds += in.ConsumeIntegralInRange(0, 150);
        if (f.Timer1.Enabled)
            f.Timer1_Timer();
        break;
    case 0x96:
    case 0x97: {
        const double x = in.ConsumeIntegralInRange(-95, 95) / 10.0;
        const double y = in.ConsumeIntegralInRange(-95, 95) / 10.0;
        if (f.Picture6.Visible) {
            f.Picture6_MouseMove(b == 0x96 ? 0 : 1, 0, x, y);
            if (b == 0x96) {
                f.Picture6_MouseDown(1, 0, x, y);
                f.Picture6_Click();
            }
        }
        break;
    }
    case 0x98: { // another set: ignored while a run is active
        const auto &sets = setTable();
        f.menuClick(sets[in.ConsumeIntegralInRange<std::size_t>(0, sets.size() - 1)].item);
        break;
    }
    case 0x9A: // the stored answer pressed on the plane, then checked
        for (const auto &[x, y] : learner::asPresses(f.currentAnswer())) {
            if (!f.Picture6.Visible)
                break;
            f.Picture6_MouseMove(0, 0, x, y);
            f.Picture6_MouseDown(1, 0, x, y);
            f.Picture6_Click();
        }
        if (f.Command5.Visible)
            f.buttonClick(QStringLiteral("Command5"));
        break;
    case 0x99:
        if (f.Command2.Visible)
            f.buttonClick(QStringLiteral("Command2"));
        break;
    default:
        key = b < 0x80 ? b : kWideKeys[b & 15];
        break;
    }
    if (key >= 0 && f.Text2.Visible)
        f.typeKey(key);
    return !f.closed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    fuzz::FuzzForm &ff = fuzz::shared();
    Form1 &f = ff.fresh();
    ++counts.inputs;
    try {
        f.Form_Load();
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 1: f.buttonClick(QStringLiteral("Command1")); break; // five minutes
        case 2: f.buttonClick(QStringLiteral("Command4")); break; // ten in a row
        default: break;
        }
        const auto &sets = setTable();
        f.menuClick(sets[in.ConsumeIntegralInRange<std::size_t>(0, sets.size() - 1)].item);
        checkState(f);
        while (in.remaining_bytes() > 0) {
            const bool open = event(ff, in);
            ++counts.checked;
            if (!open)
                break;
            checkState(f);
        }
    } catch (const ProgramEnd &) {
        // The ten-in-a-row end: the program closes itself, as it should.
        FUZZ_CHECK(f.closed);
    }
    checkDrawings(f);
    ff.done();
    return 0;
}
