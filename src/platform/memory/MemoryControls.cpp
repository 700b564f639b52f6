#include "platform/memory/MemoryControls.h"

#include "app/FormDefinition.h"

namespace sudoku::memory {

namespace {
void Apply(MemoryLabel& label, const form::LabelDesign& d) {
    label.caption = d.caption;
    label.back = d.background;
    label.left = d.left;
    label.top = d.top;
    label.width = d.width;
    label.height = d.height;
    label.fontPt = d.fontPt;
    label.visible = true;
}
}  // namespace

MemoryForm::MemoryForm() : game(ui, Services{&pump, &random, &process}) {
    cells.resize(82);
    pickers.resize(11);
    for (int n = 1; n <= 81; ++n) {
        cells[n] = std::make_unique<MemoryLabel>(log);
        Apply(*cells[n], form::Cell(n));
        ui.lblSudoku[n] = cells[n].get();
    }
    for (int k = 1; k <= 10; ++k) {
        pickers[k] = std::make_unique<MemoryLabel>(log);
        Apply(*pickers[k], form::Picker(k));
        ui.lblSetNum[k] = pickers[k].get();
    }
    info = std::make_unique<MemoryLabel>(log);
    Apply(*info, form::Info());
    ui.lblInfo = info.get();
    ui.tmrPostr = &timer;
    ui.frmMain = &window;
    for (const auto& m : form::MenuBar()) {
        for (const auto& item : m.items) {
            auto mi = std::make_unique<MemoryMenuItem>(log);
            mi->checked = item.checked;
            if (item.mark) ui.*item.mark = mi.get();
            menu[item.name] = std::move(mi);
        }
    }
    window.onClose = [this] { game.Form_Unload(); };
}

void MemoryForm::Choose(const std::string& name) {
    for (const auto& m : form::MenuBar())
        for (const auto& item : m.items)
            if (name == item.name && item.onClick) (game.*item.onClick)();
}

}  // namespace sudoku::memory
