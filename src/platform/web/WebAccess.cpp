#include "platform/web/WebAccess.h"

#include <emscripten.h>

#include <algorithm>

// The page's side: web/shell.js.
EM_JS(void, JsAccessItem, (int id, int role, const char* name, int flags, int left, int top, int right, int bottom), {
    Shell.accessItem(id, role, UTF8ToString(name), flags, left, top, right, bottom);
});
EM_JS(void, JsAccessHide, (int id), { Shell.accessHide(id); });
EM_JS(void, JsAccessFocus, (int id), { Shell.accessFocus(id); });

namespace sudoku::web {

namespace {

int Flags(const AccessItem& i) {
    return (i.selected ? 1 : 0) | (i.pressed ? 2 : 0) | (i.readOnly ? 4 : 0) | (i.focused ? 8 : 0);
}

bool Contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

void WebAccess::Update(scene::Scale scale) {
    if (!access_) return;
    const std::vector<AccessItem> items = access_->Items();
    const AccessChanges changes = Compare(told_, items);
    if (placed_.empty()) placed_.resize(kAccessStatusId + 1);
    for (const AccessItem& item : items) {
        if (item.id < 1 || item.id > kAccessStatusId) continue;
        scene::DeviceRect at;
        if (item.label) at = scene::ToDevice(item.label->Left(), item.label->Top(), item.label->Width(),
                                             item.label->Height(), scale);
        const bool changed = Contains(changes.renamed, item.id) || Contains(changes.restated, item.id) ||
                             Contains(changes.shown, item.id) || told_.empty();
        if (!changed && at == placed_[static_cast<std::size_t>(item.id)]) continue;
        placed_[static_cast<std::size_t>(item.id)] = at;
        JsAccessItem(item.id, static_cast<int>(item.role), item.name.c_str(), Flags(item), at.left, at.top, at.right,
                     at.bottom);
    }
    for (int id : changes.hidden) JsAccessHide(id);
    if (changes.focus) JsAccessFocus(changes.focus);
    told_ = items;
}

}  // namespace sudoku::web
