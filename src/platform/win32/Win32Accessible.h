#pragma once
#include <windows.h>
#include <oleacc.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/BoardAccess.h"
#include "platform/win32/Win32AccessibleObject.h"

namespace sudoku::win32 {

enum class TableLevel { Table, Row, Cell };

// The main window's client area for MSAA. Its children, in reading order: the board's table
// (an object, TablePart), the shown picker entries and the status line (simple elements).
// Child ids are the view's ids, whatever is hidden: a picker entry 82..91, the status line
// 92, the table kAccessBoardId, and the table's cells 1..81, reached from here too (get_accChild
// gives the cell's object), so that an event of the window's client object names any of them.
// The children are listed through IEnumVARIANT, the ids being no count from 1. What the client
// area itself says comes from the system's own object for it. The board's announcements are
// raised as alerts of one more simple element, kAlertChild, outside that list: an alert that
// says the status line's news.
class BoardAccessible final : public AccessibleObject {
public:
    using ScreenRectOf = std::function<RECT(const Label&)>;
    // activated: after an item's default action, as after any event delivered to the game.
    BoardAccessible(HWND window, BoardAccess& access, ScreenRectOf screenRect, std::function<void()> activated);
    // The window is going: later calls reach nothing.
    void Disconnect();

    // The client area's children are listed through IEnumVARIANT too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

    // For the table's parts.
    bool Connected() const { return access_ != nullptr; }
    HWND Window() const { return window_; }
    std::vector<AccessItem> Items() const { return access_->Items(); }
    RECT ScreenRect(const AccessItem& item) const { return screenRect_(*item.label); }
    void Activate(int id);
    // The table (index 0), row 1..9 or cell 1..81, AddRef'd; null once disconnected.
    IAccessible* Part(TableLevel level, int index);
    // The client area's children in reading order, by id.
    std::vector<int> ChildIds(const std::vector<AccessItem>& items) const;

private:
    ~BoardAccessible() override;
    // What a child id names: the client area itself (neither set), one of the table's parts
    // (AddRef'd) or a simple element (its item, of items).
    struct Named {
        IAccessible* part = nullptr;
        const AccessItem* item = nullptr;
    };
    HRESULT Resolve(const VARIANT& child, std::vector<AccessItem>& items, Named& named);
    void ReleaseParts();

    HWND window_;
    BoardAccess* access_;
    ScreenRectOf screenRect_;
    std::function<void()> activated_;
    IAccessible* own_ = nullptr;  // the system's object for the client area
    std::array<IAccessible*, 1 + 9 + 81> parts_{};  // the table, its rows, its cells; made when asked
};

constexpr long kAlertChild = 1000;

// Shared by the client area and the table's parts.
BSTR Bstr(const std::string& utf8);
void SetChild(VARIANT* v, long child);
void SetObject(VARIANT* v, IAccessible* object);  // takes over the reference
HRESULT None(VARIANT* v);
const AccessItem* Find(const std::vector<AccessItem>& items, int id);
long StateOf(const AccessItem& item, HWND window);
bool Contains(const RECT& r, long x, long y);

// Tells MSAA's listeners what changed between two snapshots of the board, as the board's
// view decided it.
void RaiseAccessEvents(HWND window, const std::vector<AccessItem>& before, const std::vector<AccessItem>& after,
                       const AccessChanges& changes);

}  // namespace sudoku::win32
