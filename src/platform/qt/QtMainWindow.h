#pragma once
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/Controls.h"
#include "app/FormBuilder.h"
#include "platform/qt/QtBoard.h"
#include "platform/qt/QtBoardAccess.h"
#include "platform/qt/QtServices.h"

class QAction;
class QMenu;

namespace sudoku::qt {

// A menu item whose mark only the game sets: choosing a checkable item leaves its
// mark to the game.
class QtMenuItem final : public MenuItem {
public:
    explicit QtMenuItem(QAction* action) : action_(action) {}
    bool Checked() const override;
    void SetChecked(bool v) override;
    QAction* action() const { return action_; }

private:
    QAction* action_;
};

class QtTimer final : public Timer {
public:
    explicit QtTimer(QTimer& timer) : timer_(timer) {}
    bool Enabled() const override { return timer_.isActive(); }
    void SetEnabled(bool v) override {
        if (v && !timer_.isActive()) timer_.start();
        if (!v) timer_.stop();
    }

private:
    QTimer& timer_;
};

// The main window: makes its controls as the form builder asks and reports their events.
class QtMainWindow final : public QMainWindow, public Window, public ControlFactory {
public:
    QtMainWindow();
    ~QtMainWindow() override;

    bool Minimise() override;
    void Close() override { close(); }

    Window& MakeWindow(const form::WindowDesign& design, KeyCallback onKey, Callback onClose) override;
    Timer& MakeTimer(int intervalMs, Callback onTick) override;
    Label& MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) override;
    void AddMenu(const form::MenuDesign& design) override;
    void AddSeparator(const form::MenuItemDesign& design) override;
    MenuItem& AddMenuItem(const form::MenuItemDesign& design, Callback onChoose) override;
    void SetBoardAccess(BoardAccess& access) override;
    // Tells screen readers what changed since they were last told.
    void TellReaders() { access_.Update(); }

    QtBoard* ClientArea() const { return board_; }
    QAction* Action(const char* name) const;
    const QTimer& ProgressTimer() const { return timer_; }
    // Centres the window on its screen; call again after show(), when the frame is known.
    void CentreOnScreen();
    // A later launch: the window comes to the front, restored if minimised, and the launch completes.
    void BringToFront(const Launch& launch);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void OpenFirstMenu();
    // Every event the window hands to the game comes through here, and screen readers then
    // hear what it changed.
    Callback Told(Callback event);

    QSize client_;
    QtBoard* board_ = nullptr;
    KeyCallback onKey_;
    Callback onClose_;
    QTimer timer_;
    QtTimer qtTimer_{timer_};
    QMenu* menu_ = nullptr;  // the menu that items are added to
    bool altTapped_ = false;
    std::vector<std::unique_ptr<QtMenuItem>> items_;
    QtBoardAccess access_;
};

}  // namespace sudoku::qt
