#include "ui/AnswerBox.h"

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
    if (!onKey)
        return;
    for (QChar c : normalise(text)) {
        if (c == u'\n' || c == u'\r')
            continue; // a pasted line end is not an Enter
        onKey(c.unicode());
    }
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
