#include "ui/AnswerBox.h"

#include "answer/AnswerLength.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

AnswerBox::AnswerBox(QWidget *parent) : QLineEdit(parent)
{
    // The box takes plain digits and signs: no input method, no drag and drop.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setAcceptDrops(false);
}

QString AnswerBox::normalise(const QString &text)
{
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.replace(u'ー', u'-');
    s.replace(u'−', u'-');
    return s;
}

void AnswerBox::feed(const QString &text)
{
    // A paste of any length is cut to what the box can still take before
    // anything is typed (the raw text first, so that a huge paste is not
    // normalised whole only to be cut).
    const int cap = answerlength::cap();
    const QString fits = answerlength::pasteThatFits(normalise(text.left(4 * qsizetype(cap))), this->text().size(), cap);
    std::vector<int> keys;
    keys.reserve(size_t(fits.size()));
    for (QChar c : fits)
        keys.push_back(c.unicode());
    if (keys.empty())
        return;
    if (onKeys) {
        onKeys(keys);
        return;
    }
    if (onKey)
        for (int key : keys)
            onKey(key);
}

void AnswerBox::keyPressEvent(QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste)) {
        feed(QGuiApplication::clipboard()->text());
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onKey)
            onKey(13);
        return;
    case Qt::Key_Backspace:
        if (onKey)
            onKey(8);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QLineEdit::keyPressEvent(e);
        return;
    default:
        break;
    }
    const QString text = e->text();
    if (!text.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        feed(text);
        return;
    }
    // Caret keys, Delete and the rest would edit the box behind the
    // handler's back; they are ignored.
    e->accept();
}

void AnswerBox::inputMethodEvent(QInputMethodEvent *e)
{
    if (!e->commitString().isEmpty())
        feed(e->commitString());
    e->accept();
}

void AnswerBox::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }

// Clicks only give the box the focus; the caret stays at the end, where the
// handler's text ends.
void AnswerBox::mousePressEvent(QMouseEvent *) { setFocus(Qt::MouseFocusReason); }
void AnswerBox::mouseMoveEvent(QMouseEvent *) {}
void AnswerBox::mouseDoubleClickEvent(QMouseEvent *) {}
