#include "app/FormDefinition.h"

#include "app/Game.h"
#include "app/Palette.h"
#include "app/Layout.h"

namespace sudoku::form {

namespace {
constexpr float kDigitPt = 18;
constexpr int kDigitCell = layout::CellSize(18);

template <void (Game::*handler)()>
void Run(Game& game) {
    (game.*handler)();
}

template <void (Game::*handler)(std::int16_t)>
void RunAt(Game& game, std::int16_t index) {
    (game.*handler)(index);
}
}  // namespace

const WindowDesign& Window() {
    static const WindowDesign design{"Судоку", 389, 332, palette::kWindow, "Calibri", 9};
    return design;
}

LabelDesign Cell(int n) {
    return {layout::Edge(ColOf(n), kDigitCell), layout::Edge(RowOf(n), kDigitCell), kDigitCell, kDigitCell, "",
            palette::kCellPlain, false, kDigitPt, true, true, static_cast<std::int16_t>(n),
            RunAt<&Game::lblSudoku_Click>, RunAt<&Game::lblSudoku_DblClick>};
}

LabelDesign Picker(int k) {
    return {layout::PickerLeft(k, kDigitCell), layout::PickerTop(k, kDigitCell), kDigitCell, kDigitCell,
            k <= 9 ? std::string(1, static_cast<char>('0' + k)) : std::string(), palette::kPicker, false, kDigitPt,
            true, true, static_cast<std::int16_t>(k), RunAt<&Game::lblSetNum_Click>, RunAt<&Game::lblSetNum_DblClick>};
}

LabelDesign Info() {
    return {6, layout::InfoTop(kDigitCell), 303, 19, "", palette::kInfoStored, true, 9, false, false};
}

const std::vector<MenuDesign>& MenuBar() {
    static const std::vector<MenuDesign> menus{
        {"mnuGame",
         "Игра",
         {
             {"mnuNewGame", "Новая", false, {}, Run<&Game::mnuNewGame_Click>, nullptr},
             {"mnuGameClear", "Удалить введённые цифры", false, {}, Run<&Game::mnuGameClear_Click>, nullptr},
             {"r1", "-", false, {}, nullptr, nullptr},
             {"mnuGame67", "Сложно (в малых квадратах 2-3 цифры)", false, {}, Run<&Game::mnuGame67_Click>,
              &Ui::mnuGame67},
             {"mnuGame56", "Сложно (в малых квадратах 3-4 цифры)", false, {}, Run<&Game::mnuGame56_Click>,
              &Ui::mnuGame56},
             {"r2", "-", false, {}, nullptr, nullptr},
             {"mnuGame45", "Средне (в малых квадратах 4-5 цифр)", false, {}, Run<&Game::mnuGame45_Click>,
              &Ui::mnuGame45},
             {"mnuGame34", "Средне (в малых квадратах 5-6 цифр)", false, {}, Run<&Game::mnuGame34_Click>,
              &Ui::mnuGame34},
             {"r3", "-", false, {}, nullptr, nullptr},
             {"mnuGame23", "Легко (в малых квадратах 6-7 цифр)", true, {}, Run<&Game::mnuGame23_Click>, &Ui::mnuGame23},
             {"mnuGame12", "Легко (в малых квадратах 7-8 цифр)", false, {}, Run<&Game::mnuGame12_Click>,
              &Ui::mnuGame12},
         }},
        {"mnuOptions",
         "Разное",
         {
             {"mnuSizeU", "Увеличить размер [+]", false, {}, Run<&Game::mnuSizeU_Click>, nullptr},
             {"mnuSizeD", "Уменьшить размер [-]", false, {}, Run<&Game::mnuSizeD_Click>, nullptr},
             {"r4", "-", false, {}, nullptr, nullptr},
             {"mnuRightDigOk", "Цифры для вставки включены", true, {3}, Run<&Game::mnuRightDigOk_Click>,
              &Ui::mnuRightDigOk},
             {"mnuRightDigNo", "Цифры для вставки выключены", false, {}, Run<&Game::mnuRightDigNo_Click>,
              &Ui::mnuRightDigNo},
             {"r5", "-", false, {}, nullptr, nullptr},
             {"mnuEscEnd", "ESC - Закрыть", false, {}, Run<&Game::mnuEscEnd_Click>, &Ui::mnuEscEnd},
             {"mnuEscMin", "ESC - Свернуть", false, {}, Run<&Game::mnuEscMin_Click>, &Ui::mnuEscMin},
             {"mnuEscNo", "ESC - Не назначено", true, {}, Run<&Game::mnuEscNo_Click>, &Ui::mnuEscNo},
         }},
    };
    return menus;
}

std::string MenuText(const char* caption) {
    std::string text;
    for (const char* c = caption; *c; ++c) {
        if (*c == '&') text += '&';
        text += *c;
    }
    return text;
}

}  // namespace sudoku::form
