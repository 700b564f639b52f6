#include <QApplication>

#include "app/Game.h"
#include "platform/FastRandom.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"

int main(int argc, char* argv[]) {
    sudoku::qt::QtProcess process;
    sudoku::qt::QtEventPump pump;
    sudoku::FastRandom random;
    sudoku::Ui ui;
    sudoku::Game game(ui, sudoku::Services{&pump, &random, &process});
    // A second copy ends here, before the toolkit starts and before any window exists.
    if (!game.Form_Load()) return 0;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sudoku_game.Sudoku"));
    sudoku::qt::QtMainWindow window(game, ui);
    window.show();
    window.CentreOnScreen();
    return app.exec();
}
