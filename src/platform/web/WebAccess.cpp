#include "platform/web/WebAccess.h"

#include <emscripten.h>

#include <algorithm>

// The page's side: web/shell.js.
EM_JS(void, JsAccessBoard, (const char* name), { Shell.accessBoard(UTF8ToString(name)); });
EM_JS(void, JsAccessItem, (int id, int role, const char* name, int flags, int left, int top, int right, int bottom), {
    Shell.accessItem(id, role, UTF8ToString(name), flags, left, top, right, bottom);
});
EM_JS(void, JsAccessHide, (int id), { Shell.accessHide(id); });
EM_JS(void, JsAccessFocus, (int id), { Shell.accessFocus(id); });
EM_JS(void, JsAccessAnnounce, (const char* message), { Shell.accessAnnounce(UTF8ToString(message)); });

namespace sudoku::web {

namespace {

constexpr scene::DeviceRect kNowhere{-1, -1, -1, -1};  // not shown on the page yet

int Flags(const AccessItem& i) {
    return (i.selected ? 1 : 0) | (i.pressed ? 2 : 0) | (i.readOnly ? 4 : 0) | (i.focused ? 8 : 0);
}

bool Contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

void WebAccess::Attach(BoardAccess& access) {
    access_ = &access;
    access.Update();  // the first look, which tells nothing: the first Place shows every item
    told_ = access.Items();
    placed_.assign(kAccessStatusId + 1, kNowhere);
    JsAccessBoard(kAccessBoardName);
}

void WebAccess::Tell() {
    if (!access_) return;
    const AccessChanges changes = access_->Update();
    told_ = access_->Items();
    if (!changes.Any()) return;
    for (int id : changes.hidden) {
        JsAccessHide(id);
        placed_[static_cast<std::size_t>(id)] = kNowhere;
    }
    for (const AccessItem& item : told_)
        if (Contains(changes.renamed, item.id) || Contains(changes.restated, item.id) || Contains(changes.shown, item.id))
            Show(item);
    if (changes.focus) JsAccessFocus(changes.focus);
    for (const std::string& message : changes.announcements) JsAccessAnnounce(message.c_str());
}

void WebAccess::Activate(int id) {
    if (!access_) return;
    access_->Activate(id);
    Tell();
}

void WebAccess::Place() {
    for (const AccessItem& item : told_)
        if (item.id >= 1 && item.id <= kAccessStatusId && placed_[static_cast<std::size_t>(item.id)] != Where(item))
            Show(item);
}

// A label's own pixels (see Scene::OwnBounds): no two elements meet, as on the desktop.
scene::DeviceRect WebAccess::Where(const AccessItem& item) const {
    return item.label ? scene_.OwnBounds(static_cast<const scene::SceneLabel&>(*item.label)) : scene::DeviceRect{};
}

void WebAccess::Show(const AccessItem& item) {
    if (item.id < 1 || item.id > kAccessStatusId) return;
    const scene::DeviceRect at = Where(item);
    placed_[static_cast<std::size_t>(item.id)] = at;
    JsAccessItem(item.id, static_cast<int>(item.role), item.name.c_str(), Flags(item), at.left, at.top, at.right,
                 at.bottom);
}

}  // namespace sudoku::web
