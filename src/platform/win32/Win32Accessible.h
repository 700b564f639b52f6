#pragma once
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <vector>

#include "app/BoardAccess.h"

namespace sudoku::win32 {

// The main window's client area for MSAA: its children are the board's items as simple
// elements, child ids 1 to the count in reading order. What the client area itself says
// comes from the system's own object for it. The board's announcements are raised as
// alerts of one more simple element, kAlertChild, outside that list: an alert that says the
// status line's news.
class BoardAccessible final : public IAccessible {
public:
    using ScreenRectOf = std::function<RECT(const Label&)>;
    // activated: after an item's default action, as after any event delivered to the game.
    BoardAccessible(HWND window, BoardAccess& access, ScreenRectOf screenRect, std::function<void()> activated);
    BoardAccessible(const BoardAccessible&) = delete;
    BoardAccessible& operator=(const BoardAccessible&) = delete;
    // The window is going: later calls reach nothing.
    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: clients call the methods below directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
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
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~BoardAccessible();
    // The items now; child is 1..size(), CHILDID_SELF is 0. Null when the child is none of these.
    const AccessItem* ItemOf(const VARIANT& child, std::vector<AccessItem>& items, HRESULT& error) const;
    IAccessible* Own() const { return own_; }

    LONG refs_ = 1;
    HWND window_;
    BoardAccess* access_;
    ScreenRectOf screenRect_;
    std::function<void()> activated_;
    IAccessible* own_ = nullptr;  // the system's object for the client area
};

constexpr long kAlertChild = 1000;

// Tells MSAA's listeners what changed between two snapshots of the board, as the board's
// view decided it.
void RaiseAccessEvents(HWND window, const std::vector<AccessItem>& before, const std::vector<AccessItem>& after,
                       const AccessChanges& changes);

}  // namespace sudoku::win32
