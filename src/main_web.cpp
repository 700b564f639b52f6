#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/web/WebServices.h"
#include "platform/web/WebWindow.h"

int main() {
    sudoku::web::WebProcess process;
    sudoku::web::WebEventPump pump;
    sudoku::FastRandom random;
    sudoku::Ui ui;
    sudoku::Game game(ui, sudoku::Services{&pump, &random, &process});
    // A second tab ends here: the page says the game is open elsewhere.
    if (!sudoku::form::Load(game)) return 0;

    sudoku::web::WebWindow window;
    pump.Attach(window);
    sudoku::form::Build(game, window);
    window.Run();
}
