#include <QApplication>
#include <memory>

#include "app/FormBuilder.h"
#include "app/Game.h"
#include "generator/FastRandom.h"
#include "platform/qt/FontWarmUp.h"
#include "platform/qt/QtBoardAccess.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtStyle.h"
#include "platform/qt/ToolkitStart.h"
#include "platform/qt/XcbStartup.h"

int main(int argc, char* argv[]) {
    sudoku::qt::UseUtf8WithoutLocale();
    sudoku::qt::QtProcess process;
    sudoku::qt::QtEventPump pump;
    sudoku::FastRandom random;
    sudoku::Ui ui;
    sudoku::Game game(ui, sudoku::Services{&pump, &random, &process});
    // A second copy ends here, before the toolkit starts and before any window exists.
    if (!sudoku::form::Load(game)) return 0;

    sudoku::qt::JoinAccessibilityBusAlways();
    auto fonts = std::make_unique<sudoku::qt::FontWarmUp>();
    // Without a display the toolkit would abort with a core dump and a misleading hint.
    auto guard = std::make_unique<sudoku::qt::ToolkitStartGuard>(argc, argv);
    QApplication app(argc, argv);
    guard.reset();
    fonts.reset();
    sudoku::qt::UseStyleWithLazyIcons();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sudoku_game.Sudoku"));
    sudoku::qt::QtMainWindow window;
    sudoku::form::Build(game, window);
    pump.beforeEvents = [&window] { window.TellReaders(); };
    process.ListenForLaunches(&window, [&window](const sudoku::qt::Launch& l) { window.BringToFront(l); });
    window.CentreOnScreen();  // placed before it is mapped, then again once its frame is known
    window.show();
    window.CentreOnScreen();
    return app.exec();
}
