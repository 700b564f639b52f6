#pragma once
// A whole main window in memory with its game: the in-memory front end, built by the
// form builder, with scripted services. What main.cpp is to the real window.
#include <memory>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/Ui.h"
#include "platform/memory/MemoryControls.h"

namespace sudoku::memory {

class MemoryForm : public MemoryControls {
public:
    MemoryForm();
    ScriptedPump pump;
    ScriptedRandom random;
    MemoryProcess process;
    Ui ui;
    Game game;
    std::vector<MemoryLabel*> cells;    // [1..81]
    std::vector<MemoryLabel*> pickers;  // [1..10]
    MemoryLabel* info = nullptr;

    MemoryLabel& Cell(int n) { return *cells[n]; }
    MemoryLabel& Picker(int k) { return *pickers[k]; }
    MemoryMenuItem& Item(const std::string& name) { return *menu.at(name); }
    // Chooses the item with that name, as its menu does.
    void Choose(const std::string& name) { Item(name).Choose(); }
};

}  // namespace sudoku::memory
