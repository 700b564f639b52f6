#include "app/FormBuilder.h"

#include "app/Game.h"

namespace sudoku::form {

namespace {

Label& MakeLabel(Game& game, ControlFactory& factory, const LabelDesign& d) {
    const auto bind = [&game, index = d.index](LabelEvent handler) -> Callback {
        if (!handler) return {};
        return [&game, index, handler] { handler(game, index); };
    };
    return factory.MakeLabel(d, bind(d.onClick), bind(d.onDoubleClick));
}

}  // namespace

bool Load(Game& game) { return game.Form_Load(); }

void Build(Game& game, ControlFactory& factory) {
    Ui& ui = game.ui();
    ui.frmMain = &factory.MakeWindow(
        Window(), [&game](std::int16_t key, std::int16_t shift) { game.Form_KeyDown(key, shift); },
        [&game] { game.Form_Unload(); });
    ui.tmrPostr = &factory.MakeTimer(kTimerIntervalMs, [&game] { game.tmrPostr_Timer(); });
    for (int k = 10; k >= 1; --k) ui.lblSetNum[k] = &MakeLabel(game, factory, Picker(k));
    ui.lblInfo = &MakeLabel(game, factory, Info());
    for (int n = 81; n >= 1; --n) ui.lblSudoku[n] = &MakeLabel(game, factory, Cell(n));
    for (const MenuDesign& menu : MenuBar()) {
        factory.AddMenu(menu);
        for (const MenuItemDesign& item : menu.items) {
            if (item.IsSeparator()) {
                factory.AddSeparator(item);
                continue;
            }
            MenuItem& made = factory.AddMenuItem(item, [&game, command = item.onClick] { command(game); });
            if (item.mark) ui.*item.mark = &made;
        }
    }
    factory.SetBoardAccess(game.Access());
}

}  // namespace sudoku::form
