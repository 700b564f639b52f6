// A screen reader's look at the running game through MSAA, for the wine tests: it finds the
// game's window, reads the board's children (names, roles, states, places), and plays a move
// with their default actions, a digit key and a new game, listening for the events the game
// raises. With the argument "places" it checks the places alone (at any DPI). It prints each
// failed check; exit status 0 when there was none.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

int failures = 0;
constexpr long kAlertChild = 1000;  // the game's alerts come from this simple element
constexpr UINT kNewGameCommand = 100;  // the game's first menu command, «Новая» (wine gives
                                       // no other process the menu to look it up)
std::vector<std::pair<DWORD, LONG>> heard;  // (event, child) raised by the game

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
    w.resize(static_cast<std::size_t>(n - 1));
    return w;
}

void Check(bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::printf("FAILED: %s\n", what.c_str());
}

VARIANT Child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Name(IAccessible* acc, long id) {
    BSTR b = nullptr;
    if (acc->get_accName(Child(id), &b) != S_OK || !b) return L"<none>";
    std::wstring w(b, SysStringLen(b));
    SysFreeString(b);
    return w;
}

long Long(HRESULT hr, const VARIANT& v) { return hr == S_OK && v.vt == VT_I4 ? v.lVal : -1; }

long Role(IAccessible* acc, long id) {
    VARIANT v;
    return Long(acc->get_accRole(Child(id), &v), v);
}

long State(IAccessible* acc, long id) {
    VARIANT v;
    return Long(acc->get_accState(Child(id), &v), v);
}

long Navigate(IAccessible* acc, long from, long direction) {
    VARIANT v;
    return Long(acc->accNavigate(direction, Child(from), &v), v);
}

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) heard.emplace_back(event, child);
}

// Lets the game's events arrive for a moment.
void Listen(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool Heard(DWORD event, LONG child) {
    for (const auto& e : heard)
        if (e.first == event && e.second == child) return true;
    return false;
}

std::wstring CellName(int r, int c, const char* value) {
    return L"Строка " + std::to_wstring(r) + L", столбец " + std::to_wstring(c) + L": " + Wide(value);
}

void ReadBoard(IAccessible* acc) {
    long count = 0;
    Check(acc->get_accChildCount(&count) == S_OK && count == 92, "child count " + std::to_string(count) + ", not 92");
    std::vector<VARIANT> kids(92);
    long got = 0;
    Check(AccessibleChildren(acc, 0, 92, kids.data(), &got) == S_OK && got == 92,
          "AccessibleChildren gave " + std::to_string(got));
    for (long i = 0; i < got; ++i)
        Check(kids[static_cast<std::size_t>(i)].vt == VT_I4 && kids[static_cast<std::size_t>(i)].lVal == i + 1,
              "child " + std::to_string(i + 1) + " is not a simple element with its number");
    for (int n = 1; n <= 81; ++n) {
        const int r = (n - 1) / 9 + 1, c = (n - 1) % 9 + 1;
        Check(Name(acc, n) == CellName(r, c, "пусто"), "cell " + std::to_string(n) + " reads " + Utf8(Name(acc, n)));
        Check(Role(acc, n) == ROLE_SYSTEM_CELL, "cell " + std::to_string(n) + " role " + std::to_string(Role(acc, n)));
    }
    for (int k = 1; k <= 10; ++k) {
        const std::wstring want = k <= 9 ? L"Цифра " + std::to_wstring(k) : Wide("Стереть");
        Check(Name(acc, 81 + k) == want, "picker " + std::to_string(k) + " reads " + Utf8(Name(acc, 81 + k)));
        Check(Role(acc, 81 + k) == ROLE_SYSTEM_PUSHBUTTON, "picker " + std::to_string(k) + " is no button");
        Check((State(acc, 81 + k) & STATE_SYSTEM_PRESSED) == 0, "picker " + std::to_string(k) + " pressed at start");
    }
    Check(Name(acc, 92) == Wide("Сообщений нет"), "status reads " + Utf8(Name(acc, 92)));
    Check(Role(acc, 92) == ROLE_SYSTEM_STATUSBAR, "status is no status bar");
    VARIANT v;
    Check(Long(acc->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &v), v) == 1, "first child is not 1");
    Check(Navigate(acc, 81, NAVDIR_NEXT) == 82, "after (9,9) comes no «Цифра 1»");
    Check(Navigate(acc, 1, NAVDIR_DOWN) == 10, "below (1,1) is not (2,1)");
    Check(Navigate(acc, 1, NAVDIR_PREVIOUS) == -1, "something before (1,1)");
}

RECT Place(IAccessible* acc, long id) {
    long x = 0, y = 0, w = 0, h = 0;
    Check(acc->accLocation(&x, &y, &w, &h, Child(id)) == S_OK, "no place for child " + std::to_string(id));
    return {x, y, x + w, y + h};
}

// Each cell's place is its own pixels: no two overlap, neighbours in a box touch, and a hit
// test at a cell's corners finds that cell. At 96 DPI (2,2) is where it is laid out, its
// right and lower lines being its neighbours'.
void CheckPlaces(IAccessible* acc, HWND game, bool laidOut) {
    RECT cells[82];
    for (long n = 1; n <= 81; ++n) cells[n] = Place(acc, n);
    int overlaps = 0, gaps = 0, misses = 0;
    for (long n = 1; n <= 81; ++n) {
        RECT common;
        for (long m = n + 1; m <= 81; ++m) overlaps += IntersectRect(&common, &cells[n], &cells[m]) ? 1 : 0;
        if (n % 3 != 0) gaps += cells[n].right != cells[n + 1].left;
        if ((n - 1) / 9 % 3 != 2) gaps += cells[n].bottom != cells[n + 9].top;
        VARIANT v;
        misses += Long(acc->accHitTest(cells[n].left, cells[n].top, &v), v) != n;
        misses += Long(acc->accHitTest(cells[n].right - 1, cells[n].bottom - 1, &v), v) != n;
    }
    Check(overlaps == 0, std::to_string(overlaps) + " pairs of cells overlap");
    Check(gaps == 0, std::to_string(gaps) + " neighbours in a box do not touch");
    Check(misses == 0, std::to_string(misses) + " cell corners hit-test to another child");
    if (!laidOut) return;
    POINT origin{0, 0};
    ClientToScreen(game, &origin);
    const RECT& r = cells[11];
    Check(r.left == origin.x + 38 && r.top == origin.y + 38 && r.right - r.left == 32 && r.bottom - r.top == 32,
          "(2,2) at " + std::to_string(r.left - origin.x) + "," + std::to_string(r.top - origin.y) + " size " +
              std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
              " in the client area, not 38,38 32x32");
}

void PrintHeard(const char* after) {
    std::string events;
    for (const auto& e : heard) {
        char one[32];
        std::snprintf(one, sizeof one, " %04lX/%ld", static_cast<unsigned long>(e.first), static_cast<long>(e.second));
        events += one;
    }
    std::printf("heard after %s (event/child):%s\n", after, events.c_str());
}

// A digit key into a cell the reader chose: the cell keeps the focus under its new name.
// A new game from the menu: the build is alerted, and the focus goes to the board.
void PlayKeyAndNewGame(IAccessible* acc, HWND game) {
    Check(acc->accDoDefaultAction(Child(2)) == S_OK, "(1,2) has no default action");
    Listen(200);
    heard.clear();
    PostMessageW(game, WM_KEYDOWN, '7', 0);
    PostMessageW(game, WM_KEYUP, '7', 0);
    Listen(300);
    PrintHeard("the key 7 into (1,2)");
    Check(Name(acc, 2) == CellName(1, 2, "7"), "(1,2) reads " + Utf8(Name(acc, 2)) + " after the key");
    Check(Heard(EVENT_OBJECT_NAMECHANGE, 2) && Heard(EVENT_OBJECT_FOCUS, 2), "no name change and focus for (1,2)");
    heard.clear();
    PostMessageW(game, WM_COMMAND, kNewGameCommand, 0);
    Listen(1500);
    PrintHeard("a new game");
    Check(Heard(EVENT_SYSTEM_ALERT, kAlertChild), "the build was not alerted");
    Check(Role(acc, kAlertChild) == ROLE_SYSTEM_ALERT, "the alerts' element is no alert");
    Check(Heard(EVENT_OBJECT_FOCUS, CHILDID_SELF), "the focus did not go to the new board");
}

void PlayMove(IAccessible* acc) {
    heard.clear();
    Check(acc->accDoDefaultAction(Child(86)) == S_OK, "«Цифра 5» has no default action");
    Listen(300);
    Check((State(acc, 86) & STATE_SYSTEM_PRESSED) != 0, "«Цифра 5» chosen is not pressed");
    Check(Heard(EVENT_OBJECT_STATECHANGE, 86), "no state change heard for «Цифра 5»");
    heard.clear();
    Check(acc->accDoDefaultAction(Child(23)) == S_OK, "(3,5) has no default action");
    Listen(300);
    Check(Name(acc, 23) == CellName(3, 5, "5"), "(3,5) reads " + Utf8(Name(acc, 23)) + " after the move");
    Check((State(acc, 86) & STATE_SYSTEM_PRESSED) == 0, "«Цифра 5» still pressed after the move");
    PrintHeard("the move");
    Check(Heard(EVENT_OBJECT_NAMECHANGE, 23), "no name change heard for (3,5)");
    Check(Heard(EVENT_OBJECT_FOCUS, 23), "the focus was not moved to (3,5)");
    Check(acc->accDoDefaultAction(Child(92)) == DISP_E_MEMBERNOTFOUND, "the status line has a default action");
    // A cell chosen first is selected; the digit then goes into it.
    Check(acc->accDoDefaultAction(Child(81)) == S_OK, "(9,9) has no default action");
    Check(Name(acc, 81) == CellName(9, 9, "пусто, выбрана"), "(9,9) chosen reads " + Utf8(Name(acc, 81)));
    Check((State(acc, 81) & STATE_SYSTEM_SELECTED) != 0, "(9,9) chosen is not selected");
    Check(acc->accDoDefaultAction(Child(90)) == S_OK && Name(acc, 81) == CellName(9, 9, "9"),
          "(9,9) reads " + Utf8(Name(acc, 81)) + " after «Цифра 9»");
}

}  // namespace

int main(int argc, char** argv) {
    const bool placesOnly = argc > 1 && std::string(argv[1]) == "places";
    HWND game = nullptr;
    for (int i = 0; i < 200 && !game; ++i, Sleep(50)) game = FindWindowW(L"SudokuGame.MainWindow", nullptr);
    if (!game) {
        std::printf("FAILED: no game window\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DWORD pid = 0;
    GetWindowThreadProcessId(game, &pid);
    SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Heard, pid, 0, WINEVENT_OUTOFCONTEXT);
    IAccessible* acc = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(game, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
    if (hr != S_OK) {
        std::printf("FAILED: the game's window has no IAccessible (0x%08lx)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    if (placesOnly) {
        CheckPlaces(acc, game, false);
    } else {
        ReadBoard(acc);
        CheckPlaces(acc, game, true);
        PlayMove(acc);
        PlayKeyAndNewGame(acc, game);
    }
    acc->Release();
    std::printf(failures ? "%d check(s) failed\n" : "passed\n", failures);
    return failures ? 1 : 0;
}
