#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/memory/MemoryControls.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"

namespace sudoku::test {

// The real window, shown offscreen, with the real event pump; ending the
// process is recorded instead of carried out.
struct RealWindow : ::testing::Test {
    Ui ui;
    memory::MemoryProcess process;
    qt::QtEventPump pump;
    FastRandom random;
    Game game{ui, Services{&pump, &random, &process}};
    std::unique_ptr<qt::QtMainWindow> window;

    void SetUp() override {
        ASSERT_TRUE(game.Form_Load());
        window = std::make_unique<qt::QtMainWindow>();
        form::Build(game, *window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    GameState& st() { return game.st; }
    qt::QtLabel* Cell(int n) { return static_cast<qt::QtLabel*>(ui.lblSudoku[n]); }
    qt::QtLabel* Picker(int k) { return static_cast<qt::QtLabel*>(ui.lblSetNum[k]); }
    qt::QtLabel* Info() { return static_cast<qt::QtLabel*>(ui.lblInfo); }
    // The colour drawn just inside the top-left corner, clear of any frame and text.
    static Rgb Back(QWidget* w) { return w->grab(QRect(2, 2, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF; }
    void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(window.get(), key, mods); }
    void Choose(const char* item) { window->Action(item)->trigger(); }
};

}  // namespace sudoku::test
