#pragma once
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/Game.h"
#include "app/Ui.h"
#include "platform/Controls.h"
#include "platform/qt/QtLabel.h"
#include "platform/qt/QtServices.h"

class QAction;

namespace sudoku::qt {

// A checkable menu item whose mark only the game sets: choosing it runs the
// game's handler, which decides about the mark itself.
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

// The main window, built from the form definition and wired to the game.
class QtMainWindow final : public QMainWindow, public Window {
public:
    QtMainWindow(Game& game, Ui& ui);
    ~QtMainWindow() override;

    bool Minimise() override;
    void Close() override { close(); }

    QtLabel* Cell(int n) const { return cells_[n]; }
    QtLabel* Picker(int k) const { return pickers_[k]; }
    QtLabel* Info() const { return info_; }
    QWidget* ClientArea() const { return centralWidget(); }
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

    void BuildLabels();
    void BuildMenus();

    Game& game_;
    Ui& ui_;
    QTimer timer_;
    QtTimer qtTimer_{timer_};
    std::vector<QtLabel*> cells_ = std::vector<QtLabel*>(82, nullptr);
    std::vector<QtLabel*> pickers_ = std::vector<QtLabel*>(11, nullptr);
    QtLabel* info_ = nullptr;
    bool altTapped_ = false;
    std::vector<std::unique_ptr<QtMenuItem>> items_;
};

}  // namespace sudoku::qt
