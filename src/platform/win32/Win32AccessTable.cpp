#include "platform/win32/Win32AccessTable.h"

#include <algorithm>

#include "app/BoardAccess.h"

namespace sudoku::win32 {

namespace {

constexpr char kPress[] = "Нажать";

int RowOf(int cell) { return (cell - 1) / 9 + 1; }
int ColumnOf(int cell) { return (cell - 1) % 9 + 1; }

// The smallest rectangle holding cells first..last.
RECT CellsBounds(const BoardAccessible& client, const std::vector<AccessItem>& items, int first, int last) {
    RECT all{};
    for (int id = first; id <= last; ++id) {
        const AccessItem* cell = Find(items, id);
        if (!cell) continue;
        const RECT r = client.ScreenRect(*cell);
        UnionRect(&all, &all, &r);
    }
    return all;
}

const AccessItem* Focused(const std::vector<AccessItem>& items) {
    const auto it = std::find_if(items.begin(), items.end(), [](const AccessItem& i) { return i.focused; });
    return it == items.end() ? nullptr : &*it;
}

const AccessItem* Selected(const std::vector<AccessItem>& items) {
    const auto it = std::find_if(items.begin(), items.end(), [](const AccessItem& i) { return i.selected; });
    return it == items.end() ? nullptr : &*it;
}

}  // namespace

TablePart::TablePart(BoardAccessible& client, TableLevel level, int index)
    : client_(&client), level_(level), index_(index) {
    client_->AddRef();
}

TablePart::~TablePart() { client_->Release(); }

IAccessible* TablePart::Row(int row) const {
    return row >= 1 && row <= 9 ? client_->Part(TableLevel::Row, row) : nullptr;
}

IAccessible* TablePart::Cell(int row, int column) const {
    return row >= 1 && row <= 9 && column >= 1 && column <= 9 ? client_->Part(TableLevel::Cell, (row - 1) * 9 + column)
                                                              : nullptr;
}

IAccessible* TablePart::ChildAt(int n) const {
    if (level_ == TableLevel::Table) return Row(n);
    if (level_ == TableLevel::Row) return Cell(index_, n);
    return nullptr;
}

bool TablePart::HoldsCell(int id) const {
    if (id < 1 || id > 81) return false;
    if (level_ == TableLevel::Table) return true;
    return level_ == TableLevel::Row ? RowOf(id) == index_ : id == index_;
}

const AccessItem* TablePart::Item(std::vector<AccessItem>& items) const {
    if (level_ != TableLevel::Cell) return nullptr;
    items = client_->Items();
    return Find(items, index_);
}

RECT TablePart::Bounds(const std::vector<AccessItem>& items) const {
    switch (level_) {
    case TableLevel::Table: return CellsBounds(*client_, items, 1, 81);
    case TableLevel::Row: return CellsBounds(*client_, items, (index_ - 1) * 9 + 1, index_ * 9);
    case TableLevel::Cell: return CellsBounds(*client_, items, index_, index_);
    }
    return {};
}

HRESULT TablePart::Resolve(const VARIANT& child, TablePart*& part) {
    part = nullptr;
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) {
        AddRef();
        part = this;
        return S_OK;
    }
    IAccessible* at = child.lVal >= 1 && child.lVal <= 9 ? ChildAt(static_cast<int>(child.lVal)) : nullptr;
    if (!at) return E_INVALIDARG;
    part = static_cast<TablePart*>(at);
    return S_OK;
}

// A child id names a child, which answers for itself.
#define AS_SELF(child, call)                                             \
    TablePart* part;                                                     \
    if (const HRESULT e = Resolve(child, part); FAILED(e)) return e;     \
    if (part != this) {                                                  \
        VARIANT self;                                                    \
        SetChild(&self, CHILDID_SELF);                                   \
        (void)self;                                                      \
        const HRESULT hr = part->call;                                   \
        part->Release();                                                 \
        return hr;                                                       \
    }                                                                    \
    part->Release()

HRESULT TablePart::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    switch (level_) {
    case TableLevel::Table:
        client_->AddRef();
        *parent = client_;
        break;
    case TableLevel::Row: *parent = client_->Part(TableLevel::Table, 0); break;
    case TableLevel::Cell: *parent = Row(RowOf(index_)); break;
    }
    return *parent ? S_OK : S_FALSE;
}

HRESULT TablePart::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    *count = level_ == TableLevel::Cell ? 0 : 9;
    return S_OK;
}

HRESULT TablePart::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    TablePart* part;
    if (const HRESULT e = Resolve(child, part); FAILED(e)) return e;
    *out = part;
    return S_OK;
}

HRESULT TablePart::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    AS_SELF(child, get_accName(self, name));
    if (level_ == TableLevel::Table) {
        *name = Bstr(kAccessBoardName);
        return S_OK;
    }
    std::vector<AccessItem> items;
    const AccessItem* item = Item(items);
    if (!item) return S_FALSE;  // a row: its cells say their row
    *name = Bstr(item->name);
    return S_OK;
}

HRESULT TablePart::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    AS_SELF(child, get_accValue(self, value));
    return S_FALSE;
}

HRESULT TablePart::get_accDescription(VARIANT child, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    AS_SELF(child, get_accDescription(self, text));
    return S_FALSE;
}

HRESULT TablePart::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    AS_SELF(child, get_accRole(self, role));
    SetChild(role, level_ == TableLevel::Table ? ROLE_SYSTEM_TABLE
                   : level_ == TableLevel::Row ? ROLE_SYSTEM_ROW
                                               : ROLE_SYSTEM_CELL);
    return S_OK;
}

HRESULT TablePart::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    AS_SELF(child, get_accState(self, state));
    std::vector<AccessItem> items;
    long s = 0;
    if (level_ == TableLevel::Cell) {
        const AccessItem* item = Item(items);
        if (item) s = StateOf(*item, client_->Window());
    } else if (level_ == TableLevel::Table) {
        // The board as a whole has the focus when none of its items has.
        s = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == client_->Window() && !Focused(client_->Items())) s |= STATE_SYSTEM_FOCUSED;
    }
    SetChild(state, s);
    return S_OK;
}

HRESULT TablePart::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    AS_SELF(child, get_accHelp(self, help));
    return S_FALSE;
}

HRESULT TablePart::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    if (!keys) return E_POINTER;
    *keys = nullptr;
    AS_SELF(child, get_accKeyboardShortcut(self, keys));
    return S_FALSE;
}

// Each level answers the child that holds the focus: the table its row, the row its cell.
HRESULT TablePart::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    if (GetFocus() != client_->Window()) return S_FALSE;
    const std::vector<AccessItem> items = client_->Items();
    const AccessItem* focused = Focused(items);
    if (level_ == TableLevel::Table && !focused) {
        SetChild(child, CHILDID_SELF);
        return S_OK;
    }
    if (!focused || !HoldsCell(focused->id)) return S_FALSE;
    switch (level_) {
    case TableLevel::Table: SetObject(child, Row(RowOf(focused->id))); break;
    case TableLevel::Row: SetObject(child, client_->Part(TableLevel::Cell, focused->id)); break;
    case TableLevel::Cell: SetChild(child, CHILDID_SELF); break;
    }
    return S_OK;
}

// The selected cell, from the table and from its row.
HRESULT TablePart::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    if (level_ == TableLevel::Cell) return S_FALSE;
    const std::vector<AccessItem> items = client_->Items();
    const AccessItem* selected = Selected(items);
    if (!selected || !HoldsCell(selected->id)) return S_FALSE;
    SetObject(children, client_->Part(TableLevel::Cell, selected->id));
    return S_OK;
}

HRESULT TablePart::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    AS_SELF(child, get_accDefaultAction(self, action));
    if (level_ != TableLevel::Cell) return S_FALSE;
    *action = Bstr(kPress);
    return S_OK;
}

HRESULT TablePart::accSelect(long, VARIANT) { return client_->Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED; }

HRESULT TablePart::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AS_SELF(child, accLocation(left, top, width, height, self));
    const RECT r = Bounds(client_->Items());
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

// Rows follow each other, cells go along their row and up and down their column; past an
// edge there is nothing. The table's siblings are the client area's, which answers for them.
HRESULT TablePart::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    AS_SELF(start, accNavigate(direction, self, end));
    IAccessible* to = nullptr;
    switch (level_) {
    case TableLevel::Table:
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            to = Row(direction == NAVDIR_FIRSTCHILD ? 1 : 9);
        } else if (direction != NAVDIR_UP && direction != NAVDIR_DOWN) {
            VARIANT table;
            SetChild(&table, kAccessBoardId);
            return client_->accNavigate(direction, table, end);
        }
        break;
    case TableLevel::Row:
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)
            to = Cell(index_, direction == NAVDIR_FIRSTCHILD ? 1 : 9);
        if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) to = Row(index_ + 1);
        if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) to = Row(index_ - 1);
        break;
    case TableLevel::Cell: {
        const int r = RowOf(index_), c = ColumnOf(index_);
        if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) to = Cell(r, c + 1);
        if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) to = Cell(r, c - 1);
        if (direction == NAVDIR_DOWN) to = Cell(r + 1, c);
        if (direction == NAVDIR_UP) to = Cell(r - 1, c);
        break;
    }
    }
    if (!to) return None(end);
    SetObject(end, to);
    return S_OK;
}

// The child under the point, as AccessibleObjectFromPoint walks down: the table gives the row,
// the row the cell.
HRESULT TablePart::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!client_->Connected()) return RPC_E_DISCONNECTED;
    const std::vector<AccessItem> items = client_->Items();
    if (!Contains(Bounds(items), x, y)) return None(child);
    for (int n = 1; level_ != TableLevel::Cell && n <= 9; ++n) {
        const RECT r = level_ == TableLevel::Table ? CellsBounds(*client_, items, (n - 1) * 9 + 1, n * 9)
                                                   : CellsBounds(*client_, items, (index_ - 1) * 9 + n, (index_ - 1) * 9 + n);
        if (!Contains(r, x, y)) continue;
        SetObject(child, ChildAt(n));
        return S_OK;
    }
    SetChild(child, CHILDID_SELF);
    return S_OK;
}

HRESULT TablePart::accDoDefaultAction(VARIANT child) {
    AS_SELF(child, accDoDefaultAction(self));
    if (level_ != TableLevel::Cell) return DISP_E_MEMBERNOTFOUND;
    client_->Activate(index_);
    return S_OK;
}

#undef AS_SELF

}  // namespace sudoku::win32
