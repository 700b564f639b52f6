#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QTime>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "QtFixture.h"
#include "app/Palette.h"
#include "platform/qt/LaunchGate.h"
#include "platform/qt/QtStyle.h"

using namespace sudoku;
using namespace sudoku::test;

using WindowAsDesigned = RealWindow;

TEST_F(WindowAsDesigned, ClientAreaLabelsAndColours) {
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Судоку"));
    EXPECT_EQ(window->ClientArea()->size(), QSize(389, 332));
    EXPECT_EQ(Back(window->ClientArea()), palette::kWindow);
    const int edges[] = {6, 38, 70, 109, 141, 173, 212, 244, 276};
    for (int n = 1; n <= 81; ++n) {
        auto* cell = Cell(n);
        EXPECT_EQ(cell->geometry(), QRect(edges[(n - 1) % 9], edges[(n - 1) / 9], 33, 33));
        EXPECT_EQ(Back(cell), palette::kCellPlain);
        EXPECT_EQ(cell->text(), QString());
        EXPECT_EQ(PixelAt(cell->pos() + QPoint(0, 16)), palette::kText);  // a one-pixel black frame
        EXPECT_EQ(PixelAt(cell->pos() + QPoint(1, 16)), palette::kCellPlain);
    }
    for (int k = 1; k <= 10; ++k) {
        auto* pick = Picker(k);
        EXPECT_EQ(pick->pos(), QPoint(k <= 5 ? 315 : 349, 6 + 34 * ((k - 1) % 5)));
        EXPECT_EQ(pick->text(), k <= 9 ? QString::number(k) : QString());
        EXPECT_EQ(Back(pick), palette::kPicker);
    }
    auto* info = Info();
    EXPECT_EQ(info->geometry(), QRect(6, 312, 303, 19));
    EXPECT_EQ(Back(info), palette::kWindow);  // the window colour shows through, not its stored one
    EXPECT_EQ(window->ClientArea()->focusPolicy(), Qt::NoFocus);
    // Calibri, or its metric twin where Calibri itself is not installed.
    const QString family = QFontInfo(Cell(1)->font()).family();
    EXPECT_TRUE(family == "Calibri" || family == "Carlito") << family.toStdString();
    EXPECT_EQ(Cell(1)->font().pixelSize(), 24);  // 18 points at 96 DPI
    EXPECT_EQ(info->font().pixelSize(), 12);
}

TEST_F(WindowAsDesigned, MenusIconAndTimer) {
    const QList<QAction*> tops = window->menuBar()->actions();
    ASSERT_EQ(tops.size(), 2);
    EXPECT_EQ(tops[0]->text(), QString::fromUtf8("Игра"));
    EXPECT_EQ(tops[1]->text(), QString::fromUtf8("Разное"));
    QStringList captions;
    QString places;  // an item is "i", a separator "-", a menu ends with "|"
    int separators = 0;
    for (QAction* top : tops) {
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator()) ++separators;
            else captions << a->text();
            if (a->isChecked()) captions << "*";
            places += a->isSeparator() ? '-' : 'i';
        }
        places += '|';
    }
    EXPECT_EQ(separators, 5);
    EXPECT_EQ(places.toStdString(), "ii-ii-ii-ii|ii-ii-iii|");
    EXPECT_EQ(captions.join('|').toStdString(),
              "Новая|Удалить введённые цифры|Сложно (в малых квадратах 2-3 цифры)|"
              "Сложно (в малых квадратах 3-4 цифры)|Средне (в малых квадратах 4-5 цифр)|"
              "Средне (в малых квадратах 5-6 цифр)|Легко (в малых квадратах 6-7 цифр)|*|"
              "Легко (в малых квадратах 7-8 цифр)|Увеличить размер [+]|Уменьшить размер [-]|"
              "Цифры для вставки включены|*|Цифры для вставки выключены|ESC - Закрыть|ESC - Свернуть|"
              "ESC - Не назначено|*");
    EXPECT_EQ(window->Action("mnuRightDigOk")->shortcut(), QKeySequence(Qt::Key_F3));
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    for (int s : {16, 24, 48}) EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
    EXPECT_FALSE(ui.tmrPostr->Enabled());
    // The progress timer ticks every 200 ms into the status animation.
    EXPECT_EQ(window->ProgressTimer().interval(), 200);
    ui.lblInfo->SetCaption("Создание таблицы");
    ui.tmrPostr->SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Info()->text() == QString::fromUtf8("Создание таблицы."); }, 5000));
    ui.tmrPostr->SetEnabled(false);
}

// The menu bar's overflow icon, read only when first needed, is then the style's own.
TEST_F(WindowAsDesigned, OverflowIconIsTheStylesOwn) {
    const auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(proxy, nullptr);
    const std::unique_ptr<QStyle> own(QStyleFactory::create(proxy->baseStyle()->name()));
    ASSERT_NE(own, nullptr);
    const auto* overflow = window->menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    const QImage expected = own->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(overflow->icon().pixmap(16).toImage(), expected);
}

// Behind the proxy is the style the toolkit chose (-style, QT_STYLE_OVERRIDE, the desktop's), and
// the overflow icon, not yet read, already counts as there: the menu bar lays its button out by that.
TEST(LazyIcons, TheProxySitsOnTheChosenStyle) {
    for (const char* name : {"Windows", "Fusion"}) {
        QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(name)));
        qt::UseStyleWithLazyIcons();
        const auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
        ASSERT_NE(proxy, nullptr);
        EXPECT_EQ(proxy->baseStyle()->name().compare(QString::fromLatin1(name), Qt::CaseInsensitive), 0) << name;
        EXPECT_FALSE(proxy->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).isNull()) << name;
    }
}

TEST(QtProcess, SecondsSinceMidnightIsTheTimeOfDay) {  // what the random source is seeded from
    qt::QtProcess process;
    const double now = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double off = std::fmod(process.SecondsSinceMidnight() - now + 86400.0, 86400.0);
    EXPECT_TRUE(off < 2.0 || off > 86398.0) << off;
}

TEST(Launches, OnlyWellFormedStartupIdsAndTheirTime) {
    EXPECT_TRUE(qt::IsWellFormedStartupId("host-1234-box-sudoku-0_TIME123456"));
    EXPECT_TRUE(qt::IsWellFormedStartupId(QByteArray(qt::kMaxStartupIdLength, 'x')));
    for (const QByteArray& bad : {QByteArray(), QByteArray(qt::kMaxStartupIdLength + 1, 'x'), QByteArray("a\nNAME=b"),
                                  QByteArray("a\0b", 3), QByteArray("a\rb"), QByteArray("a\x7f"), QByteArray("\xd0\xaf")})
        EXPECT_FALSE(qt::IsWellFormedStartupId(bad)) << bad.toHex().constData();
    EXPECT_EQ(qt::StartupTime("host-1-sudoku-0_TIME4294967295"), 4294967295u);
    EXPECT_EQ(qt::StartupTime("a_TIME1_TIME77"), 77u);
    EXPECT_EQ(qt::StartupTime("a_TIME4294967296"), 0u);
    EXPECT_EQ(qt::StartupTime("a_TIME12x"), 0u);
    EXPECT_EQ(qt::StartupTime("no-time"), 0u);
}

// A flood of launches between two raises keeps the newest startup ids and token.
TEST(Launches, AFloodKeepsTheNewest) {
    std::vector<qt::Launch> passed;
    qt::LaunchGate gate(nullptr, [&](const qt::Launch& l) { passed.push_back(l); });
    QList<QByteArray> newest;
    for (int i = 0; i < qt::kMaxPendingIds + 4; ++i) {
        const QByteArray n = QByteArray::number(i);
        gate.Add("DESKTOP_STARTUP_ID=id-" + n + "\nXDG_ACTIVATION_TOKEN=token-" + n);
        if (i >= 4) newest << "id-" + n;
    }
    gate.Flush();
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].startupIds, newest);
    EXPECT_EQ(passed[0].activationToken, "token-" + QByteArray::number(qt::kMaxPendingIds + 3));
}

using Placement = RealWindow;

TEST_F(Placement, CentredByItsFrame) {
    window->CentreOnScreen();
    const QRect area = window->screen()->availableGeometry(), frame = window->frameGeometry();
    ASSERT_NE(frame.topLeft(), window->geometry().topLeft());  // the platform gives it a frame
    EXPECT_LE((frame.center() - area.center()).manhattanLength(), 1) << frame.x() << "," << frame.y();
}

using BringToFront = RealWindow;

TEST_F(BringToFront, AMaximisedWindowComesBackMaximised) {
    window->showMaximized();
    window->showMinimized();
    window->BringToFront(qt::Launch{});
    EXPECT_EQ(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowMaximized);
    window->showNormal();
    window->showMinimized();
    window->BringToFront(qt::Launch{});
    EXPECT_EQ(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowNoState);
    EXPECT_TRUE(window->isVisible());
}

using MousePlay = RealWindow;

TEST_F(MousePlay, SelectEnterAndErase) {
    Click(Cell(10));
    EXPECT_EQ(Back(Cell(10)), palette::kCellSelected);
    Click(Picker(5));
    EXPECT_EQ(Cell(10)->text(), "5");
    EXPECT_EQ(Back(Cell(10)), palette::kCellPlain);
    Click(Picker(10));
    EXPECT_EQ(Back(Picker(10)), palette::kPickerChosen);
    Click(Cell(10));
    EXPECT_EQ(Cell(10)->text(), "");
    Click(Info());  // the status line has no handler
    EXPECT_EQ(st().SelCell, 0);
    EXPECT_EQ(st().SelDigit, 0);
}

TEST_F(MousePlay, DoubleClickOnPickerWhileACellIsSelected) {
    Click(Cell(40));
    // Through the window, so the toolkit sends press, release, double click, release.
    QWindow* handle = window->windowHandle();
    const QPoint at = Picker(7)->mapTo(window.get(), Picker(7)->rect().center());
    QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
    EXPECT_EQ(Cell(40)->text(), "7");
    EXPECT_EQ(st().SelDigit, 7);  // the second click chose the entry
    EXPECT_EQ(Back(Picker(7)), palette::kPickerChosen);
}

TEST_F(MousePlay, FullGridByHandOnTheEmptyBoardIsSolvedThenFrozen) {
    for (int n = 1; n <= 81; ++n) {
        const int r = (n - 1) / 9, c = (n - 1) % 9;
        const int d = (r * 3 + r / 3 + c) % 9 + 1;
        if (n % 2) {
            Click(Cell(n));
            Click(Picker(d));
        } else {
            Click(Picker(d));
            Click(Cell(n));
        }
    }
    EXPECT_EQ(Info()->text(), QString::fromUtf8("Судоку пройден"));
    Click(Cell(1));
    EXPECT_EQ(Back(Cell(1)), palette::kCellPlain);
    Click(Picker(3));
    EXPECT_EQ(Back(Picker(3)), palette::kPicker);
    Choose("mnuGameClear");
    EXPECT_EQ(Cell(1)->text(), "1");
}

using KeyboardPlay = RealWindow;

TEST_F(KeyboardPlay, DigitsEraseAndSizeKeys) {
    Click(Cell(1));
    Key(Qt::Key_4);
    EXPECT_EQ(Cell(1)->text(), "4");
    Click(Cell(2));
    Key(Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(Cell(2)->text(), "6");
    Click(Cell(1));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(1)->text(), "");
    Click(Cell(2));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Cell(2)->text(), "");
    Key(Qt::Key_Plus);
    EXPECT_EQ(Cell(81)->geometry(), QRect(6 + 8 * 35 + 14, 6 + 8 * 35 + 14, 36, 36));
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    Key(Qt::Key_Minus);
    EXPECT_EQ(st().FontSizePt, 16);
    EXPECT_EQ(Cell(1)->font().pixelSize(), 21);
}

TEST_F(KeyboardPlay, F3FlipsThePickerTwice) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Key(Qt::Key_F3);
    EXPECT_TRUE(Picker(1)->isHidden());
    EXPECT_FALSE(window->Action("mnuRightDigOk")->isChecked());
    EXPECT_TRUE(window->Action("mnuRightDigNo")->isChecked());
    Key(Qt::Key_F3);
    EXPECT_FALSE(Picker(1)->isHidden());
    EXPECT_TRUE(window->Action("mnuRightDigOk")->isChecked());
    EXPECT_FALSE(window->Action("mnuRightDigNo")->isChecked());
}

TEST_F(KeyboardPlay, EscMinimisesOrClosesAsChosen) {
    Click(Picker(2));
    Key(Qt::Key_Escape);  // nothing assigned: only drops the choice
    EXPECT_EQ(st().SelDigit, 0);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    Choose("mnuEscMin");
    EXPECT_TRUE(window->Action("mnuEscMin")->isChecked());
    EXPECT_FALSE(window->Action("mnuEscNo")->isChecked());
    Click(Cell(3));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(Back(Cell(3)), palette::kCellPlain);
    window->showNormal();
    Choose("mnuEscEnd");
    Choose("mnuEscEnd");  // the chosen item again: no change
    EXPECT_TRUE(window->Action("mnuEscEnd")->isChecked());
    Key(Qt::Key_Escape);
    EXPECT_EQ(process.endRequests, 1);
}
