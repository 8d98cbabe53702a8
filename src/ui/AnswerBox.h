#pragma once
// The answer box on the screen. Every key goes through the form's key
// handler; what the box shows is exactly what the handler leaves in the
// model. A paste and a commit of an input method are fed through the handler
// one character at a time, full-width digits and letters made half-width,
// cut first to what the box can still take.
#include <QLineEdit>

#include <functional>
#include <vector>

class AnswerBox : public QLineEdit {
    Q_OBJECT
public:
    explicit AnswerBox(QWidget *parent);
    // Called with each character code (8 Backspace, 13 Enter).
    std::function<void(int)> onKey;
    // Called with the characters of a paste or of a typed text all at once,
    // so that the window catches up once and not after every character.
    std::function<void(const std::vector<int> &)> onKeys;

    // Half-width form of a character typed with a Japanese input method.
    static QString normalise(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    void feed(const QString &text);
};
