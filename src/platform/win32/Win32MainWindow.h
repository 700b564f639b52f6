#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/FormDefinition.h"
#include "app/Game.h"
#include "app/Ui.h"
#include "platform/Controls.h"
#include "platform/win32/DpiApi.h"
#include "platform/win32/Win32Label.h"

namespace sudoku::win32 {

// The window class of the main window; a second copy finds the first by it.
inline constexpr wchar_t kMainWindowClass[] = L"SudokuGame.MainWindow";

// A menu item whose check mark lives in the menu itself; only the game sets it.
class Win32MenuItem final : public MenuItem {
public:
    Win32MenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}
    bool Checked() const override { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    void SetChecked(bool v) override { CheckMenuItem(menu_, id_, MF_BYCOMMAND | (v ? MF_CHECKED : MF_UNCHECKED)); }

private:
    HMENU menu_;
    UINT id_;
};

class Win32Timer final : public Timer {
public:
    explicit Win32Timer(HWND& owner) : owner_(owner) {}
    static constexpr UINT_PTR kId = 1;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool v) override;

private:
    HWND& owner_;
    bool enabled_ = false;
};

// The main window, built from the form definition and wired to the game. Positions and
// fonts follow the DPI of the screen the window is on. When Windows cannot make it, the
// player is told and the process ends with status 1.
class Win32MainWindow final : public Window {
public:
    Win32MainWindow(Game& game, Ui& ui, HINSTANCE instance);
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    bool Minimise() override;
    void Close() override;

    void Show(int showCommand);
    HWND Handle() const { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    HMENU BuildMenus();
    void BuildLabels();
    void PlaceCentred();
    void SetIcons();
    void ApplyDpi(unsigned dpi);
    void KeyDown(WPARAM key);
    static POINT MousePoint(LPARAM lp) {
        return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    }

    Game& game_;
    Ui& ui_;
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HACCEL accelerators_ = nullptr;
    unsigned dpi_ = 96;
    Win32Timer timer_{hwnd_};
    LabelCanvas canvas_;
    std::vector<std::unique_ptr<Win32Label>> labels_;
    std::vector<std::unique_ptr<Win32MenuItem>> items_;
    std::vector<void (Game::*)()> commands_;  // by command id - kFirstCommand
};

// The whole program: one copy at a time, the window, its message loop. lookup finds the
// functions of newer Windows (tests pass one that pretends an older Windows).
[[noreturn]] void RunGame(HINSTANCE instance, int showCommand, ProcLookup lookup = &SystemLookup);

}  // namespace sudoku::win32
