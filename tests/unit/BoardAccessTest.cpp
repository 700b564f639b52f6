// What a screen reader is told of the board: names, states and order after a few plays, and
// the changes a front end announces, from one table.
#include <functional>
#include <map>
#include <string>

#include "Fixture.h"

using namespace sudoku;
using namespace sudoku::test;

namespace {

constexpr int kPicker = kAccessPickerBase;
constexpr bool Y = true, N = false;
const std::vector<int> kUnchecked{-1};

struct Want {
    int id;
    const char* name = nullptr;
    bool selected = false, pressed = false, readOnly = false, focused = false;
};

struct Case {
    const char* what;
    std::function<void(Board&, BoardAccess&)> play;  // from a board with clue 7 at (3,5)
    std::vector<Want> items;                         // among the items after the play
    std::size_t count = 92;
    std::vector<int> renamed;  // what the play changed, as Compare tells it, or kUnchecked
    int focus = 0;
    std::vector<int> hidden = {};
    std::vector<std::string> said = {};  // the announcements, in order
    std::vector<int> restated = kUnchecked;  // ids whose state Compare says changed
};

void Activate(BoardAccess& a, std::initializer_list<int> ids) {
    for (int id : ids) a.Activate(id);
}

// A valid grid whose only gap is (9,9).
Grid9 AllButLast() {
    Grid9 g = ValidGrid();
    g(9, 9) = 0;
    return g;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases{
        {"as started",
         [](Board&, BoardAccess&) {},
         {{1, "Строка 1, столбец 1: пусто"}, {9, "Строка 1, столбец 9: пусто"}, {10, "Строка 2, столбец 1: пусто"},
          {23, "Строка 3, столбец 5: 7, подсказка", N, N, Y}, {81, "Строка 9, столбец 9: пусто"},
          {kPicker + 1, "Цифра 1"}, {kPicker + 9, "Цифра 9"}, {kPicker + 10, "Стереть"},
          {kAccessStatusId, "Сообщений нет"}},
         92, {}, 0},
        {"a cell chosen takes the focus",
         [](Board&, BoardAccess& a) { Activate(a, {24}); },
         {{24, "Строка 3, столбец 6: пусто, выбрана", Y, N, N, Y}}, 92, {24}, 24},
        {"a cell the mouse chose takes the focus from the last entry activated",
         [](Board& b, BoardAccess& a) {
             Activate(a, {kPicker + 5, kPicker + 5});
             b.Cell(30).Click();
         },
         {{30, "Строка 4, столбец 3: пусто, выбрана", Y, N, N, Y}, {kPicker + 5, "Цифра 5"}}, 92, {30}, 30},
        {"a clue activated stays a clue and takes the focus",
         [](Board&, BoardAccess& a) { Activate(a, {23}); },
         {{23, "Строка 3, столбец 5: 7, подсказка", N, N, Y, Y}}, 92, {}, 23},
        {"a picker digit chosen is pressed",
         [](Board&, BoardAccess& a) { Activate(a, {kPicker + 5}); },
         {{kPicker + 5, "Цифра 5", N, Y, N, Y}, {kPicker + 4, "Цифра 4"}}, 92, {}, kPicker + 5},
        {"digit, then cell: the cell says its digit and has the focus",
         [](Board&, BoardAccess& a) { Activate(a, {kPicker + 5, 1}); },
         {{1, "Строка 1, столбец 1: 5", N, N, N, Y}, {kPicker + 5, "Цифра 5"}}, 92, {1}, 1},
        {"cell, then digit: the focus stays on the cell",
         [](Board&, BoardAccess& a) { Activate(a, {2, kPicker + 3}); },
         {{2, "Строка 1, столбец 2: 3", N, N, N, Y}, {kPicker + 3, "Цифра 3"}}, 92, {2}, 2},
        {"a repeated digit",
         [](Board&, BoardAccess& a) { Activate(a, {kPicker + 7, 25}); },
         {{25, "Строка 3, столбец 7: 7, повтор", N, N, N, Y}, {23, "Строка 3, столбец 5: 7, подсказка", N, N, Y}},
         92, {25}, 25},
        {"the eraser empties a cell",
         [](Board&, BoardAccess& a) { Activate(a, {kPicker + 4, 30, kPicker + 10, 30}); },
         {{30, "Строка 4, столбец 3: пусто", N, N, N, Y}}, 92, {}, 30},
        {"a hidden picker is not listed and cannot be chosen",
         [](Board& b, BoardAccess& a) {
             b.Choose("mnuRightDigNo");
             Activate(a, {kPicker + 5, 40});
         },
         {{81, "Строка 9, столбец 9: пусто"}, {40, "Строка 5, столбец 4: пусто, выбрана", Y, N, N, Y},
          {kAccessStatusId, "Сообщений нет"}},
         82, {40}, 40, {82, 83, 84, 85, 86, 87, 88, 89, 90, 91}},
        {"the build's status without its dots, nothing chosen while building",
         [](Board& b, BoardAccess& a) {
             b.info->SetCaption("Создание таблицы..");
             b.st().Busy = 1;
             Activate(a, {kPicker + 5, 1});
         },
         {{kAccessStatusId, "Создание таблицы"}, {1, "Строка 1, столбец 1: пусто", N, N, N, Y}, {kPicker + 5, "Цифра 5"}},
         92, {kAccessStatusId}, 1, {}, {"Создание таблицы"}},
        {"the last digit solves, then the board refuses",
         [](Board& b, BoardAccess& a) {
             b.SetPuzzle(AllButLast());
             Activate(a, {kPicker + 8, 81, kPicker + 1, 81});  // 8 completes it
         },
         {{81, "Строка 9, столбец 9: 8", N, N, N, Y}, {kAccessStatusId, "Судоку пройден"}, {kPicker + 1, "Цифра 1"}},
         92, kUnchecked, 81, {}, {"Судоку пройден"}},
        // The focus follows every input, not only the reader's.
        {"mouse: digit, then cell: the written cell has the focus, not the entry the reader chose",
         [](Board& b, BoardAccess& a) {
             Activate(a, {kPicker + 4});
             b.Picker(5).Click();
             b.Cell(12).Click();
         },
         {{12, "Строка 2, столбец 3: 5", N, N, N, Y}, {kPicker + 4, "Цифра 4"}}, 92, {12}, 12},
        {"a digit key into the selected cell: the cell is told again under its new name",
         [](Board& b, BoardAccess& a) {
             b.Cell(30).Click();
             a.Update();
             b.game.Form_KeyDown(57, 0);  // 9
         },
         {{30, "Строка 4, столбец 3: 9", N, N, N, Y}}, 92, {30}, 30},
        {"a repeating cell selected again: both words, repeat first",
         [](Board& b, BoardAccess&) {
             b.Cell(25).Click();
             b.game.Form_KeyDown(55, 0);  // 7, as the clue at (3,5)
             b.game.Form_KeyDown(27, 0);  // Escape
             b.Cell(25).Click();
         },
         {{25, "Строка 3, столбец 7: 7, повтор, выбрана", Y, N, N, Y}}, 92, {25}, 25},
        {"a chosen entry dropped keeps the focus, unpressed",
         [](Board& b, BoardAccess& a) {
             Activate(a, {kPicker + 6});
             a.Update();
             b.Picker(6).Click();
         },
         {{kPicker + 6, "Цифра 6", N, N, N, Y}}, 92, {}, 0, {}, {}, {kPicker + 6}},
        {"erasing the board leaves no cell focused",
         [](Board& b, BoardAccess& a) {
             Activate(a, {kPicker + 2, 1, kPicker + 3, 2});
             a.Update();
             b.Choose("mnuGameClear");
         },
         {{1, "Строка 1, столбец 1: пусто"}, {2, "Строка 1, столбец 2: пусто"}}, 92, {1, 2}, kAccessBoardId},
        {"a new game: the build is announced once, then the board has the focus",
         [](Board& b, BoardAccess& a) {
             Activate(a, {kPicker + 2, 1});
             a.Update();
             b.Choose("mnuNewGame");
         },
         {{kAccessStatusId, "Сообщений нет"}}, 92, kUnchecked, kAccessBoardId, {}, {"Создание таблицы"}},
    };
    return cases;
}

TEST(BoardAccess, NamesStatesOrderAndChanges) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        Board b;
        Grid9 clue;
        clue(3, 5) = 7;
        b.SetPuzzle(clue);
        ASSERT_NE(b.access, nullptr);
        BoardAccess& a = *b.access;
        a.Update();
        // What the reader is told while a long task lets events through, then after the play.
        std::vector<std::string> said;
        int focus = 0;
        auto hear = [&](const AccessChanges& ch) {
            said.insert(said.end(), ch.announcements.begin(), ch.announcements.end());
            if (ch.focus) focus = ch.focus;
        };
        b.pump.onProcess = [&] { hear(a.Update()); };
        c.play(b, a);
        const AccessChanges changes = a.Update();
        hear(changes);
        const std::vector<AccessItem> items = a.Items();
        ASSERT_EQ(items.size(), c.count);
        std::map<int, const AccessItem*> byId;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0) {
                EXPECT_LT(items[i - 1].id, items[i].id) << "reading order at " << i;
            }
            byId[items[i].id] = &items[i];
        }
        for (const Want& w : c.items) {
            SCOPED_TRACE(w.id);
            ASSERT_TRUE(byId.count(w.id));
            const AccessItem& i = *byId[w.id];
            EXPECT_EQ(i.name, w.name);
            EXPECT_EQ(i.selected, w.selected);
            EXPECT_EQ(i.pressed, w.pressed);
            EXPECT_EQ(i.readOnly, w.readOnly);
            EXPECT_EQ(i.focused, w.focused);
        }
        EXPECT_EQ(focus, c.focus);
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(changes.hidden, c.hidden);
        if (c.renamed != kUnchecked) {
            EXPECT_EQ(changes.renamed, c.renamed);
        }
        if (c.restated != kUnchecked) {
            EXPECT_EQ(changes.restated, c.restated);
        }
    }
}

}  // namespace
