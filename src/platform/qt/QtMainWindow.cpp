#include "platform/qt/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "app/Layout.h"
#include "platform/qt/KeyCodes.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/XcbStartup.h"

namespace sudoku::qt {

bool QtMenuItem::Checked() const { return action_->isChecked(); }
void QtMenuItem::SetChecked(bool v) { action_->setChecked(v); }

QtMainWindow::QtMainWindow() {
    setFocusPolicy(Qt::StrongFocus);
    installEventFilter(this);
}

QtMainWindow::~QtMainWindow() = default;

Window& QtMainWindow::MakeWindow(const form::WindowDesign& w, KeyCallback onKey, Callback onClose) {
    onKey_ = [this, onKey = std::move(onKey)](std::int16_t key, std::int16_t shift) {
        onKey(key, shift);
        access_.Update();
    };
    onClose_ = std::move(onClose);
    setWindowTitle(QString::fromStdString(w.title));
    setWindowIcon(MakeWindowIcon());

    QFont font(QString::fromStdString(w.fontFamily));
    font.setPixelSize(layout::FontPixels(w.fontPt));
    setFont(font);

    board_ = new QtBoard(this, w);
    setCentralWidget(board_);
    client_ = QSize(w.clientWidth, w.clientHeight);
    resize(client_);
    return *this;
}

Timer& QtMainWindow::MakeTimer(int intervalMs, Callback onTick) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, this, Told(std::move(onTick)));
    return qtTimer_;
}

Label& QtMainWindow::MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) {
    return board_->Scene().Add(design, Told(std::move(onClick)), Told(std::move(onDoubleClick)));
}

void QtMainWindow::AddMenu(const form::MenuDesign& design) {
    menu_ = menuBar()->addMenu(QString::fromStdString(form::MenuText(design.caption)));
    menu_->setObjectName(QString::fromUtf8(design.name));
    // The client area keeps its designed size below the menu bar.
    resize(client_.width(), client_.height() + menuBar()->sizeHint().height());
}

void QtMainWindow::AddSeparator(const form::MenuItemDesign& design) {
    menu_->addSeparator()->setObjectName(QString::fromUtf8(design.name));
}

MenuItem& QtMainWindow::AddMenuItem(const form::MenuItemDesign& item, Callback onChoose) {
    QAction* action = menu_->addAction(QString::fromStdString(form::MenuText(item.caption)));
    action->setObjectName(QString::fromUtf8(item.name));
    if (item.shortcut) {
        action->setShortcut(QKeySequence(Qt::Key_F1 + item.shortcut.functionKey - 1));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    if (item.Checkable()) {
        action->setCheckable(true);
        action->setChecked(item.checked);
    }
    QObject::connect(action, &QAction::triggered, this, [action, onChoose = Told(std::move(onChoose))](bool checked) {
        // Qt has flipped the mark already; put it back and let the game decide.
        if (action->isCheckable()) action->setChecked(!checked);
        onChoose();
    });
    return *items_.emplace_back(std::make_unique<QtMenuItem>(action));
}

void QtMainWindow::SetBoardAccess(BoardAccess& access) { access_.Attach(board_, access); }

Callback QtMainWindow::Told(Callback event) {
    if (!event) return {};
    return [this, event = std::move(event)] {
        event();
        access_.Update();
    };
}

QAction* QtMainWindow::Action(const char* name) const {
    return findChild<QAction*>(QString::fromUtf8(name));
}

bool QtMainWindow::Minimise() {
    showMinimized();
    return true;
}

void QtMainWindow::CentreOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the screen keeps its title and menu bar within reach.
    move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

void QtMainWindow::BringToFront(const Launch& launch) {
    if (!launch.activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", launch.activationToken);
    // Back to the state it had before it was minimised: a maximised window comes back maximised.
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();  // also where no window manager answers the request below
    // Then on behalf of the launch, whose time lets it past focus-stealing prevention.
    if (!launch.startupIds.isEmpty()) ActivateWindow(winId(), StartupTime(launch.startupIds.back()));
    for (const QByteArray& id : launch.startupIds) CompleteStartup(winId(), id.toStdString());
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* e) {
    // The menu bar from the keyboard: F10, or Alt pressed and released with nothing in between.
    if (e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const bool altAlone = k->key() == Qt::Key_Alt && k->modifiers() == Qt::AltModifier;
        if (!k->isAutoRepeat()) altTapped_ = altAlone;
        if (k->key() == Qt::Key_F10 && k->modifiers() == Qt::NoModifier) {
            OpenFirstMenu();
            return true;
        }
    } else if (e->type() == QEvent::KeyRelease) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Alt && altTapped_ && !k->isAutoRepeat()) {
            altTapped_ = false;
            OpenFirstMenu();
            return true;
        }
    } else if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::WindowDeactivate) {
        altTapped_ = false;
    }
    return QMainWindow::eventFilter(watched, e);
}

void QtMainWindow::OpenFirstMenu() {
    const QList<QAction*> menus = menuBar()->actions();
    if (!menus.isEmpty()) menuBar()->setActiveAction(menus.front());
}

void QtMainWindow::keyPressEvent(QKeyEvent* e) {
    if (onKey_) onKey_(VirtualKeyOf(*e), static_cast<std::int16_t>((e->modifiers().toInt() >> 25) & 7));
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    if (onClose_) onClose_();
}

}  // namespace sudoku::qt
