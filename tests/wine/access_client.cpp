// A screen reader's look at the running game through MSAA, for the wine tests: it finds the
// game's window, reads the board's children (the table of the cells by rows, the picker, the
// status line: names, roles, states, places), and plays a move with their default actions, a
// digit key and a new game, listening for the events the game raises and reading the object
// each event names, as a reader does. With the argument "places" it checks the places alone
// (at any DPI). It prints each failed check; exit status 0 when there was none.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

int failures = 0;
constexpr long kAlertChild = 1000;  // the game's alerts come from this simple element
constexpr long kTableChild = 93;    // the table's id among the client area's children
constexpr UINT kNewGameCommand = 100;  // the game's first menu command, «Новая» (wine gives
                                       // no other process the menu to look it up)
constexpr UINT kPickerOnCommand = 110;   // «Цифры для вставки включены»
constexpr UINT kPickerOffCommand = 111;  // «Цифры для вставки выключены»
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


// The object a VARIANT names, as a reader takes it: an object of its own, or a simple element
// of from. Null for none.
IAccessible* ObjectOf(IAccessible* from, const VARIANT& v, long& child) {
    child = CHILDID_SELF;
    if (v.vt == VT_I4) {
        child = v.lVal;
        from->AddRef();
        return from;
    }
    IAccessible* object = nullptr;
    if (v.vt == VT_DISPATCH && v.pdispVal)
        v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
    return object;
}

// The name and role of what a VARIANT names; "<none>" and -1 for nothing.
std::pair<std::wstring, long> Described(IAccessible* from, VARIANT v) {
    long child;
    IAccessible* object = ObjectOf(from, v, child);
    VariantClear(&v);
    if (!object) return {L"<none>", -1};
    std::pair<std::wstring, long> d{Name(object, child), Role(object, child)};
    object->Release();
    return d;
}

// Where navigation leads. A simple element found beside an object itself is its parent's,
// as readers take it.
std::pair<std::wstring, long> NavigatedTo(IAccessible* acc, long from, long direction) {
    VARIANT v;
    VariantInit(&v);
    acc->accNavigate(direction, Child(from), &v);
    IDispatch* parent = nullptr;
    IAccessible* up = nullptr;
    if (from == CHILDID_SELF && v.vt == VT_I4 && direction >= NAVDIR_UP && direction <= NAVDIR_PREVIOUS &&
        acc->get_accParent(&parent) == S_OK && parent) {
        parent->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&up));
        parent->Release();
    }
    const std::pair<std::wstring, long> d = Described(up ? up : acc, v);
    if (up) up->Release();
    return d;
}

// What the reader finds at a point, going down from the client area as
// AccessibleObjectFromPoint does, at most levels deep: the name found, and the roles passed on
// the way.
std::wstring HitTest(IAccessible* acc, long x, long y, int levels = 3, std::vector<long>* roles = nullptr) {
    acc->AddRef();
    std::wstring name = L"<none>";
    for (int level = 1; level <= levels; ++level) {
        VARIANT v;
        VariantInit(&v);
        if (acc->accHitTest(x, y, &v) != S_OK) break;
        long child;
        IAccessible* next = ObjectOf(acc, v, child);
        VariantClear(&v);
        if (!next) break;
        if (roles) roles->push_back(Role(next, child));
        const bool found = child != CHILDID_SELF || next == acc || level == levels;
        acc->Release();
        acc = next;
        if (found) {  // a simple element, the object itself, or as deep as asked
            name = Name(acc, child);
            break;
        }
    }
    acc->Release();
    return name;
}

// What has the focus, asking each level for its focused child down from the client area.
std::wstring FocusName(IAccessible* acc) {
    acc->AddRef();
    std::wstring name = L"<none>";
    for (int level = 1; level <= 5; ++level) {
        VARIANT v;
        VariantInit(&v);
        if (acc->get_accFocus(&v) != S_OK) break;
        long child;
        IAccessible* next = ObjectOf(acc, v, child);
        VariantClear(&v);
        if (!next) break;
        const bool found = child != CHILDID_SELF || next == acc;
        acc->Release();
        acc = next;
        if (found) {
            name = Name(acc, child);
            break;
        }
    }
    acc->Release();
    return name;
}

// What a reader reads for an event of the client area naming child: the object's name, its
// role and its parent's role.
struct Told {
    std::wstring name;
    long role = -1, parentRole = -1;
};

Told FromEvent(HWND game, long id) {
    Told t;
    IAccessible* object = nullptr;
    VARIANT v;
    VariantInit(&v);
    if (AccessibleObjectFromEvent(game, OBJID_CLIENT, id, &object, &v) != S_OK || !object) return t;
    const long child = v.vt == VT_I4 ? v.lVal : CHILDID_SELF;
    t.name = Name(object, child);
    t.role = Role(object, child);
    IDispatch* parent = nullptr;
    IAccessible* up = nullptr;
    if (child != CHILDID_SELF) {
        object->AddRef();
        up = object;
    } else if (object->get_accParent(&parent) == S_OK && parent) {
        parent->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&up));
        parent->Release();
    }
    if (up) {
        t.parentRole = Role(up, CHILDID_SELF);
        up->Release();
    }
    object->Release();
    return t;
}

// The children of an object through AccessibleChildren, each with its id or as an object.
std::vector<VARIANT> Children(IAccessible* acc) {
    long count = 0;
    acc->get_accChildCount(&count);
    std::vector<VARIANT> kids(static_cast<std::size_t>(count > 0 ? count : 0));
    long got = 0;
    if (count > 0 && AccessibleChildren(acc, 0, count, kids.data(), &got) != S_OK) got = 0;
    kids.resize(static_cast<std::size_t>(got));
    return kids;
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

// The table's 9 rows of 9 cells, each cell named for its place, in order.
void ReadTable(IAccessible* table) {
    Check(Role(table, CHILDID_SELF) == ROLE_SYSTEM_TABLE, "the client area's first child is no table");
    Check(Name(table, CHILDID_SELF) == Wide("Игровое поле"), "the table reads " + Utf8(Name(table, CHILDID_SELF)));
    IDispatch* parent = nullptr;
    IAccessible* client = nullptr;
    if (table->get_accParent(&parent) == S_OK && parent) {
        parent->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&client));
        parent->Release();
    }
    Check(client && Role(client, CHILDID_SELF) == ROLE_SYSTEM_CLIENT, "the table's parent is not the client area");
    if (client) client->Release();
    std::vector<VARIANT> rows = Children(table);
    Check(rows.size() == 9, "the table has " + std::to_string(rows.size()) + " rows, not 9");
    int wrong = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        long self;
        IAccessible* row = ObjectOf(table, rows[r], self);
        if (!row || self != CHILDID_SELF || Role(row, CHILDID_SELF) != ROLE_SYSTEM_ROW) {
            Check(false, "the table's child " + std::to_string(r + 1) + " is no row");
        } else {
            std::vector<VARIANT> cells = Children(row);
            Check(cells.size() == 9, "row " + std::to_string(r + 1) + " has " + std::to_string(cells.size()) + " cells");
            for (std::size_t c = 0; c < cells.size(); ++c) {
                const auto [name, role] = Described(row, cells[c]);
                const bool ok = role == ROLE_SYSTEM_CELL &&
                                name == CellName(static_cast<int>(r) + 1, static_cast<int>(c) + 1, "пусто");
                if (!ok && wrong++ == 0)
                    std::printf("row %zu's cell %zu reads %s, role %ld\n", r + 1, c + 1, Utf8(name).c_str(), role);
            }
        }
        if (row) row->Release();
        VariantClear(&rows[r]);
    }
    Check(wrong == 0, std::to_string(wrong) + " cells of the table are not the empty cells of their row in order");
    Check(NavigatedTo(table, CHILDID_SELF, NAVDIR_NEXT).first == Wide("Цифра 1"), "after the table comes no «Цифра 1»");
}

// The client area: the table, the picker entries and the status line. The cells are reached
// by their ids from it too, as its events name them.
void ReadBoard(IAccessible* acc) {
    std::vector<VARIANT> kids = Children(acc);
    Check(kids.size() == 12, "the client area has " + std::to_string(kids.size()) + " children, not 12");
    if (!kids.empty()) {
        long self;
        IAccessible* table = ObjectOf(acc, kids[0], self);
        if (table && kids[0].vt == VT_DISPATCH) ReadTable(table);
        else Check(false, "the client area's first child is no object");
        if (table) table->Release();
    }
    int others = 0;  // children after the table other than the simple elements 82..92 in order
    for (std::size_t i = 1; i < kids.size(); ++i) others += kids[i].vt != VT_I4 || kids[i].lVal != 81 + static_cast<long>(i);
    Check(others == 0, std::to_string(others) + " children after the table are not the picker entries and the status line");
    for (VARIANT& v : kids) VariantClear(&v);
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
    Check(NavigatedTo(acc, CHILDID_SELF, NAVDIR_FIRSTCHILD).second == ROLE_SYSTEM_TABLE, "the first child is no table");
    Check(NavigatedTo(acc, CHILDID_SELF, NAVDIR_LASTCHILD).second == ROLE_SYSTEM_STATUSBAR, "the last child is no status line");
    Check(NavigatedTo(acc, 82, NAVDIR_PREVIOUS).second == ROLE_SYSTEM_TABLE, "before «Цифра 1» comes no table");
    Check(NavigatedTo(acc, 92, NAVDIR_NEXT).first == L"<none>", "something after the status line");
    Check(NavigatedTo(acc, 9, NAVDIR_NEXT).first == L"<none>", "something after (1,9) in its row");
    Check(NavigatedTo(acc, 1, NAVDIR_DOWN).first == CellName(2, 1, "пусто"), "below (1,1) is not (2,1)");
    Check(NavigatedTo(acc, 1, NAVDIR_NEXT).first == CellName(1, 2, "пусто"), "after (1,1) is not (1,2)");
    Check(NavigatedTo(acc, 1, NAVDIR_PREVIOUS).first == L"<none>", "something before (1,1)");
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
    // The table and its rows held meanwhile: each hit test then reuses their proxies.
    std::vector<IDispatch*> held;
    for (long id : {kTableChild, 1L, 10L, 19L, 28L, 37L, 46L, 55L, 64L, 73L}) {
        IDispatch* part = nullptr;
        if (acc->get_accChild(Child(id), &part) == S_OK && part) held.push_back(part);
    }
    for (std::size_t i = 1, count = held.size(); i < count; ++i) {
        IAccessible* cell = nullptr;
        IDispatch* row = nullptr;
        if (held[i]->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&cell)) == S_OK) {
            if (cell->get_accParent(&row) == S_OK && row) held.push_back(row);
            cell->Release();
        }
    }
    int overlaps = 0, gaps = 0, misses = 0;
    for (long n = 1; n <= 81; ++n) {
        RECT common;
        for (long m = n + 1; m <= 81; ++m) overlaps += IntersectRect(&common, &cells[n], &cells[m]) ? 1 : 0;
        if (n % 3 != 0) gaps += cells[n].right != cells[n + 1].left;
        if ((n - 1) / 9 % 3 != 2) gaps += cells[n].bottom != cells[n + 9].top;
        const std::wstring name = Name(acc, n);
        misses += HitTest(acc, cells[n].left, cells[n].top) != name;
        misses += HitTest(acc, cells[n].right - 1, cells[n].bottom - 1) != name;
    }
    Check(overlaps == 0, std::to_string(overlaps) + " pairs of cells overlap");
    Check(gaps == 0, std::to_string(gaps) + " neighbours in a box do not touch");
    Check(misses == 0, std::to_string(misses) + " cell corners hit-test to another child");
    for (IDispatch* part : held) part->Release();
    std::vector<long> roles;
    const std::wstring hit = HitTest(acc, cells[11].left + 1, cells[11].top + 1, 5, &roles);
    Check(hit == Name(acc, 11) &&
              roles == std::vector<long>{ROLE_SYSTEM_TABLE, ROLE_SYSTEM_ROW, ROLE_SYSTEM_CELL, ROLE_SYSTEM_CELL},
          "a hit test at (2,2) does not go down the table, its row, to the cell, which answers itself");
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

// A mouse click chooses (2,2), which takes the focus. A digit key into a cell the reader
// chose: the cell keeps the focus under its new name. The picker switched off and on by its
// menu commands: its entries hidden and shown, the focus not told again. A new game from the
// menu: the build is alerted, the focus goes to the board, and its clues are read-only.
void PlayKeyAndNewGame(IAccessible* acc, HWND game) {
    heard.clear();
    PostMessageW(game, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(38 + 16, 38 + 16));
    PostMessageW(game, WM_LBUTTONUP, 0, MAKELPARAM(38 + 16, 38 + 16));
    Listen(300);
    Check(Heard(EVENT_OBJECT_FOCUS, 11) && FromEvent(game, 11).name == CellName(2, 2, "пусто, выбрана"),
          "no focus on (2,2) chosen by the mouse");
    Check(acc->accDoDefaultAction(Child(2)) == S_OK, "(1,2) has no default action");
    Listen(200);
    heard.clear();
    PostMessageW(game, WM_KEYDOWN, '7', 0);
    PostMessageW(game, WM_KEYUP, '7', 0);
    Listen(300);
    PrintHeard("the key 7 into (1,2)");
    Check(Name(acc, 2) == CellName(1, 2, "7"), "(1,2) reads " + Utf8(Name(acc, 2)) + " after the key");
    Check(Heard(EVENT_OBJECT_NAMECHANGE, 2) && Heard(EVENT_OBJECT_FOCUS, 2), "no name change and focus for (1,2)");
    const Told told = FromEvent(game, 2);
    Check(told.name == CellName(1, 2, "7") && told.parentRole == ROLE_SYSTEM_ROW,
          "the focus event names " + Utf8(told.name) + ", in a parent of role " + std::to_string(told.parentRole));
    heard.clear();
    PostMessageW(game, WM_COMMAND, kPickerOffCommand, 0);
    Listen(300);
    PrintHeard("the picker switched off");
    long count = 0;
    acc->get_accChildCount(&count);
    int hides = 0;
    for (long id = 82; id <= 91; ++id) hides += Heard(EVENT_OBJECT_HIDE, id);
    Check(count == 2 && hides == 10 && Heard(EVENT_OBJECT_REORDER, CHILDID_SELF) && !Heard(EVENT_OBJECT_FOCUS, 2),
          "the picker switched off: " + std::to_string(count) + " children, " + std::to_string(hides) + " hidden");
    PostMessageW(game, WM_COMMAND, kPickerOnCommand, 0);
    Listen(300);
    acc->get_accChildCount(&count);
    Check(count == 12 && Heard(EVENT_OBJECT_SHOW, 82), "the picker not back on");
    heard.clear();
    PostMessageW(game, WM_COMMAND, kNewGameCommand, 0);
    Listen(1500);
    PrintHeard("a new game");
    Check(Heard(EVENT_SYSTEM_ALERT, kAlertChild), "the build was not alerted");
    Check(Role(acc, kAlertChild) == ROLE_SYSTEM_ALERT, "the alerts' element is no alert");
    Check(Heard(EVENT_OBJECT_FOCUS, kTableChild) && FromEvent(game, kTableChild).role == ROLE_SYSTEM_TABLE,
          "the focus did not go to the new board's table");
    int wrong = 0;
    for (long n = 1; n <= 81; ++n) {
        const bool clue = Name(acc, n).find(Wide("подсказка")) != std::wstring::npos;
        wrong += clue != ((State(acc, n) & STATE_SYSTEM_READONLY) != 0);
    }
    Check(wrong == 0, std::to_string(wrong) + " cells read-only unlike clues or clues not read-only");
}

void PlayMove(IAccessible* acc, HWND game) {
    heard.clear();
    Check(acc->accDoDefaultAction(Child(86)) == S_OK, "«Цифра 5» has no default action");
    Listen(300);
    Check((State(acc, 86) & STATE_SYSTEM_PRESSED) != 0, "«Цифра 5» chosen is not pressed");
    Check(Heard(EVENT_OBJECT_STATECHANGE, 86), "no state change heard for «Цифра 5»");
    Check(FocusName(acc) == Wide("Цифра 5"), "the focus, asked, is on " + Utf8(FocusName(acc)) + ", not «Цифра 5»");
    heard.clear();
    Check(acc->accDoDefaultAction(Child(23)) == S_OK, "(3,5) has no default action");
    Listen(300);
    Check(Name(acc, 23) == CellName(3, 5, "5"), "(3,5) reads " + Utf8(Name(acc, 23)) + " after the move");
    Check((State(acc, 86) & STATE_SYSTEM_PRESSED) == 0, "«Цифра 5» still pressed after the move");
    PrintHeard("the move");
    Check(Heard(EVENT_OBJECT_NAMECHANGE, 23), "no name change heard for (3,5)");
    Check(Heard(EVENT_OBJECT_FOCUS, 23), "the focus was not moved to (3,5)");
    // The reader takes the event's object from the client area: the cell, in its row.
    const Told told = FromEvent(game, 23);
    Check(told.name == CellName(3, 5, "5") && told.role == ROLE_SYSTEM_CELL && told.parentRole == ROLE_SYSTEM_ROW,
          "the focus event names " + Utf8(told.name) + ", role " + std::to_string(told.role) + ", in a parent of role " +
              std::to_string(told.parentRole));
    Check(FocusName(acc) == CellName(3, 5, "5"), "the focus, asked down the table, is on " + Utf8(FocusName(acc)));
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
        PlayMove(acc, game);
        PlayKeyAndNewGame(acc, game);
    }
    acc->Release();
    std::printf(failures ? "%d check(s) failed\n" : "passed\n", failures);
    return failures ? 1 : 0;
}
