// The window without a mouse and for every learner: the menu bar from the
// keyboard (F10 or Alt, the arrows and Enter), the keys of the plane cursor
// and of "確認したよ！", the mode buttons' shortcuts, the mute switch, and the
// names a screen reader says.
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <map>
#include <optional>

namespace {

std::optional<NavKey> navKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return NavKey::Left;
    case Qt::Key_Right:
        return NavKey::Right;
    case Qt::Key_Up:
        return NavKey::Up;
    case Qt::Key_Down:
        return NavKey::Down;
    case Qt::Key_Space:
        return NavKey::Space;
    case Qt::Key_Escape:
        return NavKey::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return NavKey::Enter;
    default:
        return std::nullopt;
    }
}

// What a screen reader says for each control, in the learner's language.
const std::map<QString, QString> &spokenNames()
{
    static const std::map<QString, QString> names = {
        {u"Picture6"_qs, u"問題の図と座標平面"_qs},
        {u"Picture2"_qs, u"問題文"_qs},
        {u"Picture3"_qs, u"入力した答えの表示"_qs},
        {u"Picture4"_qs, u"正解の答え"_qs},
        {u"Picture5"_qs, u"あなたの答え"_qs},
        {u"Picture7"_qs, u"解説"_qs},
        {u"Picture8"_qs, u"連続正解の数"_qs},
        {u"Picture1"_qs, u"これまでの得点のグラフ"_qs},
        {u"Text2"_qs, u"答えの入力欄"_qs},
        {u"Text6"_qs, u"空欄"_qs},
        {u"Text1"_qs, u"問題の番号"_qs},
        {u"Text3"_qs, u"問題の文"_qs},
        {u"Text4"_qs, u"プログラムのフォルダ"_qs},
        {u"Command1"_qs, u"5分間で解く"_qs},
        {u"Command4"_qs, u"10題連続で解く"_qs},
        {u"Command5"_qs, u"あってるかな？ 答え合わせ"_qs},
        {u"Command3"_qs, u"確認したよ！ 次の問題へ"_qs},
        {u"Command2"_qs, u"消す プログラムを終わる"_qs},
        {u"Command6"_qs, u"まちがえた問題をもう一度 復習する"_qs},
        {u"Command7"_qs, u"やめる この回をやめる"_qs},
        {u"Picture9"_qs, u"この回にまちがえた問題"_qs},
        {u"Label7"_qs, u"正解"_qs},
        {u"Label3"_qs, u"正解の数"_qs},
        {u"Label8"_qs, u"ミス"_qs},
        {u"Label4"_qs, u"ミスの数"_qs},
        {u"Label9"_qs, u"得点"_qs},
        {u"Label5"_qs, u"得点の値"_qs},
        {u"Label10"_qs, u"記録"_qs},
        {u"Label6"_qs, u"記録の値"_qs},
        {u"Label2"_qs, u"時間"_qs},
        {u"Label12"_qs, u"正解の見出し"_qs},
        {u"Label13"_qs, u"あなたの答えの見出し"_qs},
        {u"Label14"_qs, u"見出し"_qs},
    };
    return names;
}

} // namespace

void MainWindow::openMenuBar()
{
    if (QApplication::activePopupWidget())
        return;
    const QList<QAction *> menus = menuBar()->actions();
    if (!menus.isEmpty())
        menuBar()->setActiveAction(menus.first());
}

bool MainWindow::menuKey(int qtKey)
{
    if (qtKey == Qt::Key_F10 || qtKey == Qt::Key_Alt) {
        openMenuBar();
        return true;
    }
    QWidget *popup = QApplication::activePopupWidget();
    if (!popup)
        return false;
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(popup, &press);
    if (QApplication::activePopupWidget() == popup)
        QCoreApplication::sendEvent(popup, &release);
    return true;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Alt pressed and let go alone opens the menu bar, as F10 does.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *w = qobject_cast<QWidget *>(watched);
        const bool ours = w && w->window() == this && !key->isAutoRepeat();
        if (ours && event->type() == QEvent::KeyPress)
            altAlone_ = key->key() == Qt::Key_Alt;
        // F10 opens the menu bar as well; the arrows and Enter choose in it.
        if (ours && event->type() == QEvent::KeyPress && key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
            openMenuBar();
            return true;
        }
        if (ours && event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Alt && altAlone_) {
            altAlone_ = false;
            // After the menu bar has taken the key itself (where the style
            // lets Alt reach it, it only marks the first menu): the menu
            // opens, so the learner sees where the keys now go.
            QTimer::singleShot(0, this, [this] { openMenuBar(); });
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        const auto nav = navKey(key->key());
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (nav && plain && w && w->window() == this && keyboard_.press(*nav))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::buildKeyboardAndSettings()
{
    qApp->installEventFilter(this);

    // The mode buttons' shortcuts, said in their tooltips; they act only
    // while the buttons can be pressed.
    const struct {
        QString button, tip;
        QKeySequence keys;
    } shortcuts[] = {
        {form_.Command1.Name, u"5分間で解きます（Ctrl+1）"_qs, QKeySequence(u"Ctrl+1"_qs)},
        {form_.Command4.Name, u"10題続けて正解するまで解きます（Ctrl+2）"_qs, QKeySequence(u"Ctrl+2"_qs)},
    };
    for (const auto &s : shortcuts) {
        buttons_.at(s.button)->setToolTip(s.tip);
        auto *shortcut = new QShortcut(s.keys, this);
        const QString name = s.button;
        connect(shortcut, &QShortcut::activated, this, [this, name] {
            const Button &b = *form_.button(name);
            if (b.Visible && b.Enabled && form_.run.categoryActive == 0)
                events_.button(name);
        });
    }

    // 「設定」: the form's own items (「新しい数で出題」), then a switch of
    // the window's that silences both sounds for the rest of the run of the
    // program.
    const auto formSettings = menus_.find(u"settei"_qs);
    QMenu *settings = formSettings != menus_.end() ? formSettings->second : menuBar()->addMenu(u"設定(&S)"_qs);
    muteAction_ = settings->addAction(u"音を消す"_qs);
    muteAction_->setCheckable(true);
    muteAction_->setShortcut(QKeySequence(u"Ctrl+M"_qs));
    muteAction_->setShortcutContext(Qt::ApplicationShortcut);
    connect(muteAction_, &QAction::toggled, this, [this](bool on) { setMuted(on); });

    for (const auto &[name, spoken] : spokenNames())
        if (QWidget *w = controlWidget(name))
            w->setAccessibleName(spoken);

    // The plane shows the keyboard's cursor while it takes the answer: a
    // ring at the lattice point, orange on a white rim.
    struct Ring {
        QPointF at;
        double r, rim, pen;
    };
    auto ring = [this](const CanvasWidget &plane) -> std::optional<Ring> {
        if (!keyboard_.cursorShown())
            return std::nullopt;
        const QPoint c = keyboard_.cursor();
        const double r = std::max(5.0, plane.width() / 18.0 * 0.38);
        return Ring{plane.toPixels(c.x(), c.y()), r, std::max(4.0, r * 0.5), std::max(2.0, r * 0.28)};
    };
    CanvasWidget *plane = canvases_.at(form_.Picture6.Name);
    plane->overlay = [ring](QPainter &p, const CanvasWidget &plane) {
        const std::optional<Ring> g = ring(plane);
        if (!g)
            return;
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), g->rim));
        p.drawEllipse(g->at, g->r, g->r);
        p.setPen(QPen(QColor(230, 120, 0), g->pen));
        p.drawEllipse(g->at, g->r, g->r);
    };
    plane->overlayBounds = [ring](const CanvasWidget &plane) {
        const std::optional<Ring> g = ring(plane);
        if (!g)
            return QRectF();
        const double reach = g->r + std::max(g->rim, g->pen) / 2;
        return QRectF(g->at.x() - reach, g->at.y() - reach, 2 * reach, 2 * reach);
    };
}

void MainWindow::setMuted(bool muted)
{
    form_.services().sound1.setMuted(muted);
    form_.services().sound2.setMuted(muted);
    if (muteAction_ && muteAction_->isChecked() != muted)
        muteAction_->setChecked(muted);
}

bool MainWindow::muted() const { return form_.services().sound1.muted(); }
