#pragma once
// The real window. Holds no program logic: it places a widget for every
// control of the form at its designed position, forwards each event to the
// form's handler, and then re-reads every control model.
#include "form/Form1.h"
#include "ui/EventPath.h"
#include "ui/KeyboardPlay.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

class CanvasWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;
class QTimer;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // zoom: pixels per designed pixel (15 twips); 0 fits the window to the screen.
    explicit MainWindow(Form1 &form, double zoom = 0, QWidget *parent = nullptr);

    // Re-reads every control model into its widget.
    void sync();
    // Every event of the window comes this way (ui/EventPath): the driver
    // takes the same road.
    EventPath &events() { return events_; }
    // The keys of the plane's cursor and of going on after a miss, which
    // the driver sends as the window's keyboard would.
    KeyboardPlay &keyboard() { return keyboard_; }
    // The menu bar from the keyboard, as F10 or Alt opens it and the arrows
    // and Enter move in it and choose: true when the key went to the menus
    // (F10 and Alt always; any other key while a menu is open).
    bool menuKey(int qtKey);
    void openMenuBar();
    // Silences both feedback sounds (Ctrl+M, 「設定」).
    void setMuted(bool muted);
    bool muted() const;

    double pixelsPerTwip() const { return ppt_; }
    QWidget *controlWidget(const QString &name) const;
    CanvasWidget *canvasWidget(const QString &name) const;
    QLineEdit *answerBox() const { return texts_.at(QStringLiteral("Text2")); }
    // The menu caption of the set whose results file a record names
    // ("長さ面積1.txt" or "長さ面積1"); empty for one the menu does not have.
    QString setCaption(const QString &recordName) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *e) override;
    // After each event: the controls re-read, a waiting message opened over
    // the painted window, the window closed when the program has ended.
    void settle();
    void closeEvent(QCloseEvent *e) override;

private:
    void buildControls();
    void addTextBox(TextBox &t);
    void buildMenuBar();
    static QString menuTitle(const MenuItem &menu);
    void layoutControls();
    void arrangeControls();
    void fitFonts();
    void buildKeyboardAndSettings();
    void setProgramFont();
    void fitMenuBar();
    QRect twipsRect(int left, int top, int width, int height) const;

    Form1 &form_;
    QWidget *client_ = nullptr;
    std::map<QString, QWidget *> panels_; // the window's own plain panels, by name
    double ppt_ = 1.0 / 15.0;
    double fontsPpt_ = 0; // the scale the fonts were last set for
    QPoint origin_; // where the designed client area starts in a larger window
    std::map<QString, CanvasWidget *> canvases_;
    std::map<QString, QLabel *> labels_;
    std::map<QString, QLineEdit *> texts_;
    std::map<QString, QPushButton *> buttons_;
    std::map<QString, QAction *> actions_;
    std::map<QString, QMenu *> menus_;
    QTimer *timer_ = nullptr;
    EventPath events_;
    KeyboardPlay keyboard_{form_, events_};
    QAction *muteAction_ = nullptr;
    std::map<QWidget *, QString> fitted_; // what each caption was last fitted for
    // The change count of each label's and text box's model when its widget
    // last took it: true from note() when the model has changed since.
    struct Shown {
        std::map<QWidget *, uint64_t> counts;
        bool note(QWidget *w, uint64_t count)
        {
            const auto [it, added] = counts.try_emplace(w, count);
            if (added)
                return true;
            return std::exchange(it->second, count) != count;
        }
    } shown_;
    bool altAlone_ = false; // Alt is down and no other key came with it
};
