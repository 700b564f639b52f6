#include "platform/qt/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "platform/qt/KeyCodes.h"
#include "platform/qt/QtIcon.h"
#include "platform/qt/XcbStartup.h"

namespace sudoku::qt {

bool QtMenuItem::Checked() const { return action_->isChecked(); }
void QtMenuItem::SetChecked(bool v) { action_->setChecked(v); }

QtMainWindow::QtMainWindow(Game& game, Ui& ui) : game_(game), ui_(ui) {
    const form::WindowDesign& w = form::Window();
    setWindowTitle(QString::fromStdString(w.title));
    setWindowIcon(MakeWindowIcon());
    setFocusPolicy(Qt::StrongFocus);

    QFont font(QString::fromStdString(w.fontFamily));
    font.setPixelSize(PixelSizeForPoints(w.fontPt));
    setFont(font);

    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(w.background));
    pal.setColor(QPalette::WindowText, Qt::black);
    client->setPalette(pal);
    client->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(client);

    timer_.setInterval(form::kTimerIntervalMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { game_.tmrPostr_Timer(); });
    ui_.tmrPostr = &qtTimer_;
    ui_.frmMain = this;

    BuildLabels();
    BuildMenus();
    resize(w.clientWidth, w.clientHeight + menuBar()->sizeHint().height());
    installEventFilter(this);
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::BuildLabels() {
    // Created in the order of the form: picker 10..1, status line, cells 81..1.
    QWidget* client = centralWidget();
    for (int k = 10; k >= 1; --k) {
        auto* label = new QtLabel(client, form::Picker(k));
        label->onClick = [this, k] { game_.lblSetNum_Click(static_cast<std::int16_t>(k)); };
        label->onDoubleClick = [this, k] { game_.lblSetNum_DblClick(static_cast<std::int16_t>(k)); };
        pickers_[k] = label;
        ui_.lblSetNum[k] = label;
    }
    info_ = new QtLabel(client, form::Info());
    info_->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui_.lblInfo = info_;
    for (int n = 81; n >= 1; --n) {
        auto* label = new QtLabel(client, form::Cell(n));
        label->onClick = [this, n] { game_.lblSudoku_Click(static_cast<std::int16_t>(n)); };
        label->onDoubleClick = [this, n] { game_.lblSudoku_DblClick(static_cast<std::int16_t>(n)); };
        cells_[n] = label;
        ui_.lblSudoku[n] = label;
    }
}

void QtMainWindow::BuildMenus() {
    for (const form::MenuDesign& m : form::MenuBar()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromUtf8(m.name));
        for (const form::MenuItemDesign& item : m.items) {
            if (item.IsSeparator()) {
                menu->addSeparator()->setObjectName(QString::fromUtf8(item.name));
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromUtf8(item.name));
            if (*item.shortcut) {
                action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
                action->setShortcutContext(Qt::WindowShortcut);
            }
            if (item.mark) {
                action->setCheckable(true);
                action->setChecked(item.checked);
                items_.push_back(std::make_unique<QtMenuItem>(action));
                ui_.*item.mark = items_.back().get();
            }
            const auto handler = item.onClick;
            Game* game = &game_;
            QObject::connect(action, &QAction::triggered, this, [game, action, handler](bool checked) {
                // Qt has flipped the mark already; put it back and let the handler decide.
                if (action->isCheckable()) action->setChecked(!checked);
                (game->*handler)();
            });
        }
    }
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
    game_.Form_KeyDown(VirtualKeyOf(*e), static_cast<std::int16_t>((e->modifiers().toInt() >> 25) & 7));
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    game_.Form_Unload();
}

}  // namespace sudoku::qt
