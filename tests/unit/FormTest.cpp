#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "app/FormBuilder.h"
#include "app/IconDesign.h"
#include "app/Palette.h"
#include "MemoryForm.h"

using namespace sudoku;

TEST(Form, StartsAsDesigned) {
    memory::MemoryForm f;
    ASSERT_TRUE(f.game.Form_Load());
    EXPECT_EQ(f.game.st.HoleMin, 2);
    EXPECT_EQ(f.game.st.HoleMax, 3);
    EXPECT_EQ(f.game.st.FontSizePt, 18);
    EXPECT_EQ(f.Cell(1).left, 6);
    EXPECT_EQ(f.Picker(10).caption, "");
    EXPECT_EQ(f.Picker(9).caption, "9");
    EXPECT_TRUE(f.Item("mnuGame23").checked);
    EXPECT_EQ(form::MenuText("Сложно & быстро"), "Сложно && быстро");  // shown as it is, on every front end
}

TEST(Form, SeedsTheRandomSourceFromTheClockAtStart) {
    auto puzzleAt = [](float secondsSinceMidnight) {
        memory::MemoryForm f;
        f.process.seconds = secondsSinceMidnight;
        EXPECT_TRUE(f.game.Form_Load());
        f.Choose("mnuNewGame");
        return f.game.st.Givens;
    };
    EXPECT_EQ(puzzleAt(30000.25f), puzzleAt(30000.25f));  // the clock alone decides
    EXPECT_NE(puzzleAt(30000.25f), puzzleAt(30001.5f));
}

TEST(Form, IconHasAOnePixelBlackFrameAt48And24AndNoneAt16) {
    for (int size : icon::kWindowSizes) {
        const std::vector<Rgb> px = icon::Pixels(size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool ring = x == 0 || y == 0 || x == size - 1 || y == size - 1;
                EXPECT_EQ(px[static_cast<size_t>(y * size + x)] == 0x000000, ring && size >= 24)
                    << size << " px at " << x << "," << y;
            }
    }
}

// Every event of every control, raised through the in-memory front end as the form builder
// connected it, reaches the handler the form names: each row raises one event on a fresh
// window and checks what only that handler does.
TEST(Form, EveryControlAndCommandReachesItsHandler) {
    using Form = memory::MemoryForm;
    using Check = std::function<bool(Form&)>;
    std::vector<std::tuple<std::string, std::function<void(Form&)>, Check>> rows;
    for (int n = 1; n <= 81; ++n) {
        const Check selected = [n](Form& f) { return f.game.st.SelCell == n; };
        rows.emplace_back("cell click " + std::to_string(n), [n](Form& f) { f.Cell(n).Click(); }, selected);
        rows.emplace_back("cell double " + std::to_string(n), [n](Form& f) { f.Cell(n).DoubleClick(); }, selected);
    }
    for (int k = 1; k <= 10; ++k) {
        const Check chosen = [k](Form& f) { return f.game.st.SelDigit == k; };
        rows.emplace_back("picker click " + std::to_string(k), [k](Form& f) { f.Picker(k).Click(); }, chosen);
        rows.emplace_back("picker double " + std::to_string(k), [k](Form& f) { f.Picker(k).DoubleClick(); }, chosen);
    }
    const Check nothing = [](Form& f) { return f.log.counts.empty() && f.game.st.Grid(5, 5) == 4; };
    rows.emplace_back("status line", [](Form& f) { f.info->Click(), f.info->DoubleClick(); }, nothing);
    rows.emplace_back("plus key", [](Form& f) { f.window.onKey(107, 0); },
                      [](Form& f) { return f.game.st.FontSizePt == 20; });
    rows.emplace_back("tick", [](Form& f) { f.info->caption = "Создание таблицы", f.timer.onTick(); },
                      [](Form& f) { return f.info->caption == "Создание таблицы."; });
    rows.emplace_back("close", [](Form& f) { f.window.Close(); }, [](Form& f) { return f.process.endRequests == 1; });

    // Every item of the menu bar needs its line, and a checkable one must also set its own
    // mark. The window starts with no mark set, an Esc action of 9 and the player's 4 in (5, 5).
    const auto holes = [](int min) { return [min](Form& f) { return f.game.st.HoleMin == min; }; };
    const auto esc = [](int action) { return [action](Form& f) { return f.game.st.EscAction == action; }; };
    const Check any = [](Form&) { return true; };
    const std::map<std::string, Check> commands{
        {"mnuNewGame", [](Form& f) { return f.game.st.Givens != Grid9{}; }},
        {"mnuGameClear", [](Form& f) { return f.game.st.Grid(5, 5) == 0 && f.game.st.Givens == Grid9{}; }},
        {"mnuGame67", holes(6)}, {"mnuGame56", holes(5)}, {"mnuGame45", holes(4)},
        {"mnuGame34", holes(3)}, {"mnuGame23", holes(2)}, {"mnuGame12", holes(1)},
        {"mnuSizeU", [](Form& f) { return f.game.st.FontSizePt == 20; }},
        {"mnuSizeD", [](Form& f) { return f.game.st.FontSizePt == 16; }},
        {"mnuRightDigOk", any}, {"mnuRightDigNo", any},
        {"mnuEscEnd", esc(2)}, {"mnuEscMin", esc(1)}, {"mnuEscNo", esc(0)},
    };
    for (const form::MenuDesign& menu : form::MenuBar())
        for (const form::MenuItemDesign& item : menu.items) {
            const std::string name = item.name;
            ASSERT_TRUE(item.IsSeparator() || commands.count(name)) << name << " has no line";
            const Check done = item.IsSeparator() ? nothing : commands.at(name);
            const bool ownMark = item.Checkable();
            rows.emplace_back(name, [name](Form& f) { f.Choose(name); },
                              [=](Form& f) { return done(f) && (!ownMark || f.Item(name).checked); });
        }

    for (const auto& [what, raise, handled] : rows) {
        Form f;
        ASSERT_TRUE(form::Load(f.game));
        for (auto& [name, item] : f.menu) item->checked = false;
        f.game.st.EscAction = 9;
        f.game.st.Grid(5, 5) = 4;
        f.log.Reset();
        raise(f);
        EXPECT_TRUE(handled(f)) << what;
    }
    Form second;
    second.process.anotherRunning = true;
    EXPECT_FALSE(form::Load(second.game));  // the load event ends a second copy
}
