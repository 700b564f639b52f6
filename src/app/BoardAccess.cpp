#include "app/BoardAccess.h"

#include <algorithm>

namespace sudoku {

namespace {
const AccessItem* Find(const std::vector<AccessItem>& items, int id) {
    const auto it = std::find_if(items.begin(), items.end(), [id](const AccessItem& i) { return i.id == id; });
    return it == items.end() ? nullptr : &*it;
}
}  // namespace

AccessChanges Compare(const std::vector<AccessItem>& before, const std::vector<AccessItem>& after) {
    AccessChanges c;
    for (const AccessItem& now : after) {
        const AccessItem* was = Find(before, now.id);
        if (!was) {
            c.shown.push_back(now.id);
            if (now.focused) c.focus = now.id;
            continue;
        }
        if (was->name != now.name) c.renamed.push_back(now.id);
        if (was->selected != now.selected || was->pressed != now.pressed || was->readOnly != now.readOnly ||
            was->focused != now.focused)
            c.restated.push_back(now.id);
        if (now.focused && !was->focused) c.focus = now.id;
    }
    for (const AccessItem& was : before)
        if (!Find(after, was.id)) c.hidden.push_back(was.id);
    return c;
}

}  // namespace sudoku
