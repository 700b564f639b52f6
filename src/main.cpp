#include <QApplication>
#include <cstdio>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/XcbStartup.h"

int main(int argc, char* argv[]) {
    // Without a display the toolkit would abort with a core dump and a misleading hint.
    if (const auto problem = sudoku::qt::DisplayProblem(argc, argv)) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        std::fflush(stderr);
        std::_Exit(1);  // a probe of a display that never answered may still be waiting
    }
    sudoku::qt::UseUtf8WithoutLocale();
    sudoku::qt::QtProcess process;
    sudoku::qt::QtEventPump pump;
    sudoku::FastRandom random;
    sudoku::Ui ui;
    sudoku::Game game(ui, sudoku::Services{&pump, &random, &process});
    // A second copy ends here, before the toolkit starts and before any window exists.
    if (!sudoku::form::Load(game)) return 0;

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sudoku_game.Sudoku"));
    sudoku::qt::QtMainWindow window;
    sudoku::form::Build(game, window);
    process.ListenForLaunches(&window, [&window](const sudoku::qt::Launch& l) { window.BringToFront(l); });
    window.show();
    window.CentreOnScreen();
    return app.exec();
}
