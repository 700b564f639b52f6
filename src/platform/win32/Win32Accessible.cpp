#include "platform/win32/Win32Accessible.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32/Win32Board.h"

namespace sudoku::win32 {

namespace {

constexpr char kPress[] = "Нажать";

BSTR Bstr(const std::string& utf8) {
    const std::wstring w = Widen(utf8);
    return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

void SetChild(VARIANT* v, long child) {
    VariantInit(v);
    v->vt = VT_I4;
    v->lVal = child;
}

HRESULT None(VARIANT* v) {
    VariantInit(v);
    return S_FALSE;
}

long RoleOf(AccessRole role) {
    switch (role) {
    case AccessRole::Cell: return ROLE_SYSTEM_CELL;
    case AccessRole::Button: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::Status: return ROLE_SYSTEM_STATUSBAR;
    }
    return ROLE_SYSTEM_CLIENT;
}

// The child id of an item: its place in reading order, from 1; 0 when it is not there.
long ChildOf(const std::vector<AccessItem>& items, int id) {
    const auto it = std::find_if(items.begin(), items.end(), [id](const AccessItem& i) { return i.id == id; });
    return it == items.end() ? 0 : static_cast<long>(it - items.begin()) + 1;
}

}  // namespace

BoardAccessible::BoardAccessible(HWND window, BoardAccess& access, ScreenRectOf screenRect,
                                 std::function<void()> activated)
    : window_(window), access_(&access), screenRect_(std::move(screenRect)), activated_(std::move(activated)) {
    CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&own_));
}

BoardAccessible::~BoardAccessible() {
    if (own_) own_->Release();
}

void BoardAccessible::Disconnect() {
    access_ = nullptr;
    if (own_) own_->Release();
    own_ = nullptr;
}

HRESULT BoardAccessible::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG BoardAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG BoardAccessible::Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT BoardAccessible::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

const AccessItem* BoardAccessible::ItemOf(const VARIANT& child, std::vector<AccessItem>& items,
                                          HRESULT& error) const {
    error = S_OK;
    if (!access_) {
        error = RPC_E_DISCONNECTED;
        return nullptr;
    }
    if (child.vt != VT_I4) {
        error = E_INVALIDARG;
        return nullptr;
    }
    if (child.lVal == CHILDID_SELF) return nullptr;
    items = access_->Items();
    if (child.lVal == kAlertChild) return &items.back();  // says the status line's news
    if (child.lVal < 1 || child.lVal > static_cast<long>(items.size())) {
        error = E_INVALIDARG;
        return nullptr;
    }
    return &items[static_cast<std::size_t>(child.lVal - 1)];
}

// The client area itself answers through the system's object; a child through its item.
#define SELF_OR_ITEM(child, selfCall)                      \
    std::vector<AccessItem> items;                         \
    HRESULT error;                                         \
    const AccessItem* item = ItemOf(child, items, error);  \
    if (FAILED(error)) return error;                       \
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
    *count = static_cast<long>(access_->Items().size());
    return S_OK;
}

HRESULT BoardAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::vector<AccessItem> items;
    HRESULT error;
    const AccessItem* item = ItemOf(child, items, error);
    if (FAILED(error)) return error;
    if (!item) {
        AddRef();
        *out = this;
        return S_OK;
    }
    return S_FALSE;  // a simple element: the caller asks this object about it
}

HRESULT BoardAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    SELF_OR_ITEM(child, get_accName(child, name));
    *name = Bstr(item->name);
    return S_OK;
}

HRESULT BoardAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    SELF_OR_ITEM(child, get_accValue(child, value));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accDescription(VARIANT child, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    SELF_OR_ITEM(child, get_accDescription(child, text));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    SELF_OR_ITEM(child, get_accRole(child, role));
    SetChild(role, child.lVal == kAlertChild ? ROLE_SYSTEM_ALERT : RoleOf(item->role));
    return S_OK;
}

HRESULT BoardAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    SELF_OR_ITEM(child, get_accState(child, state));
    long s = 0;
    if (item->role != AccessRole::Status) s |= STATE_SYSTEM_FOCUSABLE;
    if (item->focused && GetFocus() == window_) s |= STATE_SYSTEM_FOCUSED;
    if (item->role == AccessRole::Cell) s |= STATE_SYSTEM_SELECTABLE;
    if (item->selected) s |= STATE_SYSTEM_SELECTED;
    if (item->pressed) s |= STATE_SYSTEM_PRESSED;
    if (item->readOnly) s |= STATE_SYSTEM_READONLY;
    SetChild(state, s);
    return S_OK;
}

HRESULT BoardAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    SELF_OR_ITEM(child, get_accHelp(child, help));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT BoardAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    if (!keys) return E_POINTER;
    *keys = nullptr;
    SELF_OR_ITEM(child, get_accKeyboardShortcut(child, keys));
    return S_FALSE;
}

HRESULT BoardAccessible::get_accFocus(VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!access_) return RPC_E_DISCONNECTED;
    if (GetFocus() != window_) return S_FALSE;
    const std::vector<AccessItem> items = access_->Items();
    const auto it = std::find_if(items.begin(), items.end(), [](const AccessItem& i) { return i.focused; });
    SetChild(child, it == items.end() ? CHILDID_SELF : static_cast<long>(it - items.begin()) + 1);
    return S_OK;
}

HRESULT BoardAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    VariantInit(children);
    if (!access_) return RPC_E_DISCONNECTED;
    const std::vector<AccessItem> items = access_->Items();
    const auto it = std::find_if(items.begin(), items.end(), [](const AccessItem& i) { return i.selected; });
    if (it == items.end()) return S_FALSE;
    SetChild(children, static_cast<long>(it - items.begin()) + 1);
    return S_OK;
}

HRESULT BoardAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    SELF_OR_ITEM(child, get_accDefaultAction(child, action));
    if (item->role == AccessRole::Status) return S_FALSE;
    *action = Bstr(kPress);
    return S_OK;
}

HRESULT BoardAccessible::accSelect(long, VARIANT) { return access_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED; }

HRESULT BoardAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    SELF_OR_ITEM(child, accLocation(left, top, width, height, child));
    const RECT r = screenRect_(*item->label);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT BoardAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    std::vector<AccessItem> items;
    HRESULT error;
    const AccessItem* item = ItemOf(start, items, error);
    if (FAILED(error)) return error;
    if (!item) {
        items = access_->Items();
        if (items.empty() || (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return own_ ? own_->accNavigate(direction, start, end) : S_FALSE;  // the client area's siblings
        SetChild(end, direction == NAVDIR_FIRSTCHILD ? 1 : static_cast<long>(items.size()));
        return S_OK;
    }
    const long at = start.lVal, count = static_cast<long>(items.size());
    long to = 0;
    switch (direction) {
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT: to = at < count ? at + 1 : 0; break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT: to = at - 1; break;
    case NAVDIR_DOWN: to = item->role == AccessRole::Cell && item->id + 9 <= 81 ? ChildOf(items, item->id + 9) : 0; break;
    case NAVDIR_UP: to = item->role == AccessRole::Cell && item->id > 9 ? ChildOf(items, item->id - 9) : 0; break;
    default: break;
    }
    if (to < 1) return None(end);
    SetChild(end, to);
    return S_OK;
}

HRESULT BoardAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!access_) return RPC_E_DISCONNECTED;
    const POINT p{x, y};
    const std::vector<AccessItem> items = access_->Items();
    for (std::size_t i = 0; i < items.size(); ++i) {  // the label made first lies on top
        const RECT r = screenRect_(*items[i].label);
        if (PtInRect(&r, p)) {
            SetChild(child, static_cast<long>(i) + 1);
            return S_OK;
        }
    }
    RECT client;
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!PtInRect(&client, p)) return None(child);
    SetChild(child, CHILDID_SELF);
    return S_OK;
}

HRESULT BoardAccessible::accDoDefaultAction(VARIANT child) {
    std::vector<AccessItem> items;
    HRESULT error;
    const AccessItem* item = ItemOf(child, items, error);
    if (FAILED(error)) return error;
    if (!item || item->role == AccessRole::Status) return DISP_E_MEMBERNOTFOUND;
    access_->Activate(item->id);
    if (activated_) activated_();
    return S_OK;
}

#undef SELF_OR_ITEM

void RaiseAccessEvents(HWND window, const std::vector<AccessItem>& before, const std::vector<AccessItem>& after,
                       const AccessChanges& c) {
    if (!c.Any()) return;
    const auto raise = [window](DWORD event, long child) { NotifyWinEvent(event, window, OBJID_CLIENT, child); };
    for (int id : c.hidden) raise(EVENT_OBJECT_HIDE, ChildOf(before, id));
    for (int id : c.shown) raise(EVENT_OBJECT_SHOW, ChildOf(after, id));
    if (!c.hidden.empty() || !c.shown.empty()) raise(EVENT_OBJECT_REORDER, CHILDID_SELF);
    for (int id : c.renamed) raise(EVENT_OBJECT_NAMECHANGE, ChildOf(after, id));
    for (int id : c.restated) {
        const long child = ChildOf(after, id);
        raise(EVENT_OBJECT_STATECHANGE, child);
        if (after[static_cast<std::size_t>(child - 1)].selected && !before[static_cast<std::size_t>(ChildOf(before, id) - 1)].selected)
            raise(EVENT_OBJECT_SELECTION, child);
    }
    if (c.focus) raise(EVENT_OBJECT_FOCUS, c.focus == kAccessBoardId ? CHILDID_SELF : ChildOf(after, c.focus));
    // The announcements as alerts, which NVDA and Narrator speak unasked; the status line
    // says them too when read.
    if (!c.announcements.empty()) raise(EVENT_SYSTEM_ALERT, kAlertChild);
}

}  // namespace sudoku::win32
