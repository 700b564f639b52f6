#pragma once
#include <windows.h>
#include <oleacc.h>

#include "platform/win32/Win32Accessible.h"
#include "platform/win32/Win32AccessibleObject.h"

namespace sudoku::win32 {

// A part of the board's table for MSAA, each an object of its own: the table (named as the
// board), a row (unnamed: each cell's name says its place), or a cell (the view's item).
// The table is a child of the client area; its children are its 9 rows, a row's its 9 cells.
// A child id other than CHILDID_SELF names a child by its place, from 1, and is answered as
// that child would answer for itself.
class TablePart final : public AccessibleObject {
public:
    // index: 0 for the table, the row 1..9, the cell's id 1..81.
    TablePart(BoardAccessible& client, TableLevel level, int index);

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

private:
    ~TablePart() override;
    // The part a child id names (AddRef'd; this one for CHILDID_SELF), or an error.
    HRESULT Resolve(const VARIANT& child, TablePart*& part);
    // The part at place n (1..9) among this one's children; the row or cell beside this one.
    IAccessible* ChildAt(int n) const;
    IAccessible* Row(int row) const;
    IAccessible* Cell(int row, int column) const;
    // The cell's item now; null for the table and a row.
    const AccessItem* Item(std::vector<AccessItem>& items) const;
    // What this part covers on the screen: its cells'.
    RECT Bounds(const std::vector<AccessItem>& items) const;
    bool HoldsCell(int id) const;

    BoardAccessible* client_;  // held
    TableLevel level_;
    int index_;
};

}  // namespace sudoku::win32
