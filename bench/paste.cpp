// A learner pastes a long text into the answer box (Ctrl+V in the real
// window): the box takes what an answer can need and the rest is cut, so a
// paste of any length costs no more than typing that many keys.
#include "BenchForm.h"

#include "answer/AnswerLength.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Keys the box takes, each adding to the answer: the text grows with every
// key that is not cut.
QString answerKeys(int length)
{
    QString text;
    const QString pattern = QStringLiteral("12345+67890-(3,4)π");
    while (text.size() < length)
        text += pattern;
    text.truncate(length);
    return text;
}

struct WindowOnLineQuestion {
    BenchForm b;
    Form1 &f = *b.form;
    MainWindow window{f, 1.0};
    QLineEdit *box = window.answerBox();

    WindowOnLineQuestion()
    {
        window.show();
        window.events().menu(QStringLiteral("gra2write"));
    }

    void emptyTheBox()
    {
        while (!f.Text2.Text.isEmpty() && f.scoreState.answerLocked == 0) {
            const qsizetype before = f.Text2.Text.size();
            window.events().key(8);
            if (f.Text2.Text.size() >= before)
                break;
        }
    }

    void press(int key, Qt::KeyboardModifiers modifiers, const QString &text)
    {
        QKeyEvent e(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(box, &e);
    }
};

// Ctrl+V with 1,000 to 16,000 characters on the clipboard, into an empty box.
void BM_PasteIntoAnswerBox(benchmark::State &state)
{
    const int length = int(state.range(0));
    WindowOnLineQuestion w;
    QGuiApplication::clipboard()->setText(answerKeys(length));
    qsizetype shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.emptyTheBox();
        state.ResumeTiming();
        w.press(Qt::Key_V, Qt::ControlModifier, QString());
        shown = w.box->text().size();
    }
    state.SetLabel(std::to_string(length) + " characters pasted, " + std::to_string(shown) + " in the box");
}

// The same number of keys as the box takes from a paste, typed one by one:
// what a paste may cost at most.
void BM_TypeAsManyKeysAsAPasteTakes(benchmark::State &state)
{
    WindowOnLineQuestion w;
    const QString keys = answerKeys(1000);
    qsizetype shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.emptyTheBox();
        state.ResumeTiming();
        for (QChar c : keys.left(w.f.Text2.Text.size() + 1000)) {
            w.press(Qt::Key_unknown, Qt::NoModifier, QString(c));
            if (w.box->text().size() >= answerlength::cap())
                break;
        }
        shown = w.box->text().size();
    }
    state.SetLabel(std::to_string(shown) + " keys typed");
}

} // namespace

BENCHMARK(BM_PasteIntoAnswerBox)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TypeAsManyKeysAsAPasteTakes)->Unit(benchmark::kMillisecond)->Iterations(5);
