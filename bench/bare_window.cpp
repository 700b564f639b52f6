// The baseline for start-up time and memory: a plain Qt window holding 81
// labels in a 9x9 board of the game's size, built like the game. The labels
// show the digits of a full grid, so fonts are loaded as in any window that
// shows text; with --empty they stay blank and no font is ever loaded.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char* argv[]) {
    const bool empty = argc > 1 && std::strcmp(argv[1], "--empty") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(389, 332);
    constexpr int kCell = 33;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            auto* label = new QLabel(&window);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setAlignment(Qt::AlignCenter);
            if (!empty) label->setNum((r * 3 + r / 3 + c) % 9 + 1);
            label->setGeometry(6 + c * (kCell - 1) + 7 * (c / 3), 6 + r * (kCell - 1) + 7 * (r / 3), kCell, kCell);
        }
    }
    window.show();
    return app.exec();
}
