#include "platform/win32/Win32Accessible.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32/Win32AccessTable.h"
#include "platform/win32/Win32Board.h"

namespace sudoku::win32 {

namespace {

constexpr char kPress[] = "Нажать";

// The client area's children for IEnumVARIANT: a copy taken when asked for.
class ChildList final : public IEnumVARIANT {
public:
    explicit ChildList(std::vector<VARIANT> children, ULONG at = 0) : children_(std::move(children)), at_(at) {}
    ChildList(const ChildList&) = delete;
    ChildList& operator=(const ChildList&) = delete;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        ULONG n = 0;
        for (; n < count && at_ < children_.size(); ++n, ++at_) {
            VariantInit(&out[n]);
            VariantCopy(&out[n], &children_[at_]);
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const ULONG left = static_cast<ULONG>(children_.size()) - at_;
        at_ += std::min(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        at_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (!out) return E_POINTER;
        std::vector<VARIANT> copy(children_.size());
        for (std::size_t i = 0; i < copy.size(); ++i) {
            VariantInit(&copy[i]);
            VariantCopy(&copy[i], &children_[i]);
        }
        *out = new ChildList(std::move(copy), at_);
        return S_OK;
    }

private:
    ~ChildList() {
        for (VARIANT& v : children_) VariantClear(&v);
    }
    LONG refs_ = 1;
    std::vector<VARIANT> children_;
    ULONG at_;
};

long RoleOf(AccessRole role) {
    switch (role) {
    case AccessRole::Cell: return ROLE_SYSTEM_CELL;
    case AccessRole::Button: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::Status: return ROLE_SYSTEM_STATUSBAR;
    }
    return ROLE_SYSTEM_CLIENT;
}

bool IsCell(long id) { return id >= 1 && id <= 81; }

}  // namespace

BSTR Bstr(const std::string& utf8) {
    const std::wstring w = Widen(utf8);
    return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

void SetChild(VARIANT* v, long child) {
    VariantInit(v);
    v->vt = VT_I4;
    v->lVal = child;
}

void SetObject(VARIANT* v, IAccessible* object) {
    VariantInit(v);
    if (!object) return;
    v->vt = VT_DISPATCH;
    v->pdispVal = object;
}

HRESULT None(VARIANT* v) {
    VariantInit(v);
    return S_FALSE;
}

const AccessItem* Find(const std::vector<AccessItem>& items, int id) {
    const auto it = std::find_if(items.begin(), items.end(), [id](const AccessItem& i) { return i.id == id; });
    return it == items.end() ? nullptr : &*it;
}

long StateOf(const AccessItem& item, HWND window) {
    long s = 0;
    if (item.role != AccessRole::Status) s |= STATE_SYSTEM_FOCUSABLE;
    if (item.focused && GetFocus() == window) s |= STATE_SYSTEM_FOCUSED;
    if (item.role == AccessRole::Cell) s |= STATE_SYSTEM_SELECTABLE;
    if (item.selected) s |= STATE_SYSTEM_SELECTED;
    if (item.pressed) s |= STATE_SYSTEM_PRESSED;
    if (item.readOnly) s |= STATE_SYSTEM_READONLY;
    return s;
}

bool Contains(const RECT& r, long x, long y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

BoardAccessible::BoardAccessible(HWND window, BoardAccess& access, ScreenRectOf screenRect,
                                 std::function<void()> activated)
    : window_(window), access_(&access), screenRect_(std::move(screenRect)), activated_(std::move(activated)) {
    CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&own_));
}

BoardAccessible::~BoardAccessible() {
    ReleaseParts();
    if (own_) own_->Release();
}

// Each part holds the client area: letting go of them here ends that cycle.
void BoardAccessible::ReleaseParts() {
    for (IAccessible*& part : parts_) {
        if (part) part->Release();
        part = nullptr;
    }
}

void BoardAccessible::Disconnect() {
    access_ = nullptr;
    ReleaseParts();
    if (own_) own_->Release();
    own_ = nullptr;
}

IAccessible* BoardAccessible::Part(TableLevel level, int index) {
    if (!access_) return nullptr;
    const std::size_t slot = level == TableLevel::Table ? 0 : level == TableLevel::Row ? static_cast<std::size_t>(index)
                                                                                       : 9 + static_cast<std::size_t>(index);
    IAccessible*& part = parts_[slot];
    if (!part) part = new TablePart(*this, level, index);
    part->AddRef();
    return part;
}

void BoardAccessible::Activate(int id) {
    access_->Activate(id);
    if (activated_) activated_();
}

std::vector<int> BoardAccessible::ChildIds(const std::vector<AccessItem>& items) const {
    std::vector<int> ids{kAccessBoardId};
    for (const AccessItem& i : items)
        if (i.role != AccessRole::Cell) ids.push_back(i.id);
    return ids;
}

HRESULT BoardAccessible::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IEnumVARIANT && access_) {
        const std::vector<int> ids = ChildIds(access_->Items());
        std::vector<VARIANT> children(ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] == kAccessBoardId) SetObject(&children[i], Part(TableLevel::Table, 0));
            else SetChild(&children[i], ids[i]);
        }
        *out = static_cast<IEnumVARIANT*>(new ChildList(std::move(children)));
        return S_OK;
    }
    return AccessibleObject::QueryInterface(riid, out);
}

HRESULT BoardAccessible::Resolve(const VARIANT& child, std::vector<AccessItem>& items, Named& named) {
    named = {};
    if (!access_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    const long id = child.lVal;
    if (id == CHILDID_SELF) return S_OK;
    if (IsCell(id)) {
        named.part = Part(TableLevel::Cell, static_cast<int>(id));
        return S_OK;
    }
    if (id == kAccessBoardId) {
        named.part = Part(TableLevel::Table, 0);
        return S_OK;
    }
    items = access_->Items();
    named.item = id == kAlertChild ? &items.back() : Find(items, static_cast<int>(id));  // the alert says the status line's news
    return named.item ? S_OK : E_INVALIDARG;
}

// The client area itself answers through the system's object, a part of the table as itself,
// a simple element through its item.
#define SELF_PART_OR_ITEM(child, selfCall, partCall)   \
    std::vector<AccessItem> items;                     \
    Named named;                                       \
    if (const HRESULT e = Resolve(child, items, named); FAILED(e)) return e; \
    if (named.part) {                                  \
        VARIANT self;                                  \
        SetChild(&self, CHILDID_SELF);                 \
        const HRESULT hr = named.part->partCall;       \
        named.part->Release();                         \
        return hr;                                     \
    }                                                  \
    const AccessItem* item = named.item;               \
    if (!item) return own_ ? own_->selfCall : S_FALSE

HRESULT BoardAccessible::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!access_) return RPC_E_DISCONNECTED;
    return own_ ? own_->get_accParent(parent) : S_FALSE;
}

HRESULT BoardAccessible::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!access_) return RPC_E_DISCONNECTED;
    *count = static_cast<long>(ChildIds(access_->Items()).size());
    return S_OK;
}

HRESULT BoardAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::vector<AccessItem> items;
    Named named;
    if (const HRESULT e = Resolve(child, items, named); FAILED(e)) return e;
    if (named.part) {
        *out = named.part;
        return S_OK;
    }
    if (!named.item) {
        AddRef();
        *out = this;
        return S_OK;
    }
    return S_FALSE;  // a simple element: the caller asks this object about it
}

HRESULT BoardAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    SELF_PART_OR_ITEM(child, get_accName(child, name), get_accName(self, name));
    *name = Bstr(item->name);
    return S_OK;
}

HRESULT BoardAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    SELF_PART_OR_ITEM(child, get_accValue(child, value), get_accValue(self, value));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accDescription(VARIANT child, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    SELF_PART_OR_ITEM(child, get_accDescription(child, text), get_accDescription(self, text));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    SELF_PART_OR_ITEM(child, get_accRole(child, role), get_accRole(self, role));
    SetChild(role, child.lVal == kAlertChild ? ROLE_SYSTEM_ALERT : RoleOf(item->role));
    return S_OK;
}

HRESULT BoardAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    SELF_PART_OR_ITEM(child, get_accState(child, state), get_accState(self, state));
    SetChild(state, StateOf(*item, window_));
    return S_OK;
}

HRESULT BoardAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    SELF_PART_OR_ITEM(child, get_accHelp(child, help), get_accHelp(self, help));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    if (!keys) return E_POINTER;
    *keys = nullptr;
    SELF_PART_OR_ITEM(child, get_accKeyboardShortcut(child, keys), get_accKeyboardShortcut(self, keys));
    return S_FALSE;
}

// The child that holds the focus: the table when the focus is on the board or one of its
// cells (the table says which), else the picker entry.
HRESULT BoardAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!access_) return RPC_E_DISCONNECTED;
    if (GetFocus() != window_) return S_FALSE;
    const std::vector<AccessItem> items = access_->Items();
    const auto it = std::find_if(items.begin(), items.end(), [](const AccessItem& i) { return i.focused; });
    if (it == items.end() || it->role == AccessRole::Cell) SetObject(child, Part(TableLevel::Table, 0));
    else SetChild(child, it->id);
    return S_OK;
}

// None of the client area's own children is ever selected: the selected cell is the table's.
HRESULT BoardAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    return access_ ? S_FALSE : RPC_E_DISCONNECTED;
}

HRESULT BoardAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    SELF_PART_OR_ITEM(child, get_accDefaultAction(child, action), get_accDefaultAction(self, action));
    if (item->role == AccessRole::Status) return S_FALSE;
    *action = Bstr(kPress);
    return S_OK;
}

HRESULT BoardAccessible::accSelect(long, VARIANT) { return access_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED; }

HRESULT BoardAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    SELF_PART_OR_ITEM(child, accLocation(left, top, width, height, child), accLocation(left, top, width, height, self));
    const RECT r = screenRect_(*item->label);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

// Among the client area's children (the table, the picker, the status line) next and
// previous go by reading order; within the table its parts answer.
HRESULT BoardAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    if (!access_) return RPC_E_DISCONNECTED;
    if (start.vt != VT_I4) return E_INVALIDARG;
    const long from = start.lVal;
    const bool sideways = direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT ||
                          direction == NAVDIR_RIGHT;
    if (IsCell(from) || (from == kAccessBoardId && !sideways)) {
        std::vector<AccessItem> items;
        Named named;
        if (const HRESULT e = Resolve(start, items, named); FAILED(e)) return e;
        VARIANT self;
        SetChild(&self, CHILDID_SELF);
        const HRESULT hr = named.part->accNavigate(direction, self, end);
        named.part->Release();
        return hr;
    }
    const std::vector<int> ids = ChildIds(access_->Items());
    long to = 0;
    if (from == CHILDID_SELF) {
        if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
            return own_ ? own_->accNavigate(direction, start, end) : S_FALSE;  // the client area's siblings
        to = direction == NAVDIR_FIRSTCHILD ? ids.front() : ids.back();
    } else {
        const auto at = std::find(ids.begin(), ids.end(), static_cast<int>(from));
        if (at == ids.end()) return E_INVALIDARG;
        if ((direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) && at + 1 != ids.end()) to = *(at + 1);
        if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) && at != ids.begin()) to = *(at - 1);
    }
    if (!to) return None(end);
    if (to == kAccessBoardId) SetObject(end, Part(TableLevel::Table, 0));
    else SetChild(end, to);
    return S_OK;
}

HRESULT BoardAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!access_) return RPC_E_DISCONNECTED;
    IAccessible* table = Part(TableLevel::Table, 0);
    VARIANT inTable;
    const bool onTable = table->accHitTest(x, y, &inTable) == S_OK;
    VariantClear(&inTable);
    if (onTable) {
        SetObject(child, table);
        return S_OK;
    }
    table->Release();
    for (const AccessItem& i : access_->Items()) {
        if (i.role == AccessRole::Cell || !Contains(screenRect_(*i.label), x, y)) continue;
        SetChild(child, i.id);
        return S_OK;
    }
    RECT client;
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!Contains(client, x, y)) return None(child);
    SetChild(child, CHILDID_SELF);
    return S_OK;
}

HRESULT BoardAccessible::accDoDefaultAction(VARIANT child) {
    std::vector<AccessItem> items;
    Named named;
    if (const HRESULT e = Resolve(child, items, named); FAILED(e)) return e;
    if (named.part) {
        VARIANT self;
        SetChild(&self, CHILDID_SELF);
        const HRESULT hr = named.part->accDoDefaultAction(self);
        named.part->Release();
        return hr;
    }
    if (!named.item || named.item->role == AccessRole::Status || child.lVal == kAlertChild) return DISP_E_MEMBERNOTFOUND;
    Activate(named.item->id);
    return S_OK;
}

#undef SELF_PART_OR_ITEM

// Events name every item by its id, a child id of the client area (a cell's object is
// reached from there too): the board as a whole is the table.
void RaiseAccessEvents(HWND window, const std::vector<AccessItem>& before, const std::vector<AccessItem>& after,
                       const AccessChanges& c) {
    if (!c.Any()) return;
    const auto raise = [window](DWORD event, long child) { NotifyWinEvent(event, window, OBJID_CLIENT, child); };
    for (int id : c.hidden) raise(EVENT_OBJECT_HIDE, id);
    for (int id : c.shown) raise(EVENT_OBJECT_SHOW, id);
    if (!c.hidden.empty() || !c.shown.empty()) raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
    for (int id : c.renamed) raise(EVENT_OBJECT_NAMECHANGE, id);
    for (int id : c.restated) {
        raise(EVENT_OBJECT_STATECHANGE, id);
        const AccessItem* was = Find(before, id);
        const AccessItem* now = Find(after, id);
        if (now && now->selected && !(was && was->selected)) raise(EVENT_OBJECT_SELECTION, id);
    }
    if (c.focus) raise(EVENT_OBJECT_FOCUS, c.focus);
    // The announcements as alerts, which NVDA and Narrator speak unasked; the status line
    // says them too when read.
    if (!c.announcements.empty()) raise(EVENT_SYSTEM_ALERT, kAlertChild);
}

}  // namespace sudoku::win32
