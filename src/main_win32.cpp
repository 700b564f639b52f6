// The game on the Windows API alone.
#include <windows.h>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/win32/DpiApi.h"
#include "platform/win32/Win32MainWindow.h"
#include "platform/win32/Win32Services.h"

namespace sudoku::win32 {

// The whole program: one copy at a time, the window, its message loop. lookup finds the
// functions of newer Windows (a test build passes one that pretends an older Windows).
int RunGame(HINSTANCE instance, int showCommand, ProcLookup lookup) {
    DpiApi::Load(lookup);
    Win32Process process;
    Win32EventPump pump;
    FastRandom random;
    Ui ui;
    Game game(ui, Services{&pump, &random, &process});
    // A second copy ends here, before any window exists.
    if (!form::Load(game)) return 0;

    Win32MainWindow window(instance);
    form::Build(game, window);
    pump.beforeEvents = [&window] { window.TellChanges(); };
    pump.Attach(window.Handle(), window.Accelerators());
    window.Show(showCommand);
    pump.Run();
    return 0;
}

}  // namespace sudoku::win32

// A test build brings its own WinMain, which calls RunGame with its own lookup.
#ifndef SUDOKU_OWN_WINMAIN
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return sudoku::win32::RunGame(instance, showCommand, &sudoku::win32::SystemLookup);
}
#endif
