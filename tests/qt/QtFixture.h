#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <map>
#include <memory>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/memory/MemoryControls.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"

namespace sudoku::test {

// A label of the board as a test sees it on the window: where it is (in the window's own
// pixels), what it shows, and its font.
struct Shown {
    qt::QtBoard* board;
    scene::SceneLabel* label;
    QRect geometry() const { return QRect(label->Left(), label->Top(), label->Width(), label->Height()); }
    QPoint pos() const { return geometry().topLeft(); }
    QRect rect() const { return QRect(QPoint(0, 0), geometry().size()); }
    QPoint mapTo(QWidget* w, QPoint p) const { return board->mapTo(w, p + pos()); }
    QString text() const { return QString::fromStdString(label->Caption()); }
    bool isHidden() const { return !label->Visible(); }
    QFont font() const { return board->Font(board->Scene().GetScale().TextPixels(label->FontSize())); }
};

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
    Shown* Cell(int n) { return Of(ui.lblSudoku[n]); }
    Shown* Picker(int k) { return Of(ui.lblSetNum[k]); }
    Shown* Info() { return Of(ui.lblInfo); }
    // The colour drawn at a point of the board, and just inside a label's top-left corner, clear of any frame and text.
    Rgb PixelAt(QPoint p) { return window->ClientArea()->grab(QRect(p, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF; }
    Rgb Back(Shown* l) { return PixelAt(l->pos() + QPoint(2, 2)); }
    static Rgb Back(QWidget* w) { return w->grab(QRect(2, 2, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF; }
    void Click(Shown* l) { QTest::mouseClick(window->ClientArea(), Qt::LeftButton, {}, l->geometry().center()); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(window.get(), key, mods); }
    void Choose(const char* item) { window->Action(item)->trigger(); }

private:
    Shown* Of(Label* l) {
        auto& shown = shown_[l];
        if (!shown) shown = std::make_unique<Shown>(Shown{window->ClientArea(), static_cast<scene::SceneLabel*>(l)});
        return shown.get();
    }
    std::map<Label*, std::unique_ptr<Shown>> shown_;
};

}  // namespace sudoku::test
