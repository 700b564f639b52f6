#include "app/BoardAccess.h"

#include <array>

namespace sudoku {

namespace {
// The items of a snapshot by id.
std::array<const AccessItem*, kAccessStatusId + 1> ById(const std::vector<AccessItem>& items) {
    std::array<const AccessItem*, kAccessStatusId + 1> by{};
    for (const AccessItem& i : items)
        if (i.id >= 1 && i.id <= kAccessStatusId) by[static_cast<std::size_t>(i.id)] = &i;
    return by;
}

bool AnyFocused(const std::vector<AccessItem>& items) {
    for (const AccessItem& i : items)
        if (i.focused) return true;
    return false;
}
}  // namespace

AccessChanges Compare(const std::vector<AccessItem>& before, const std::vector<AccessItem>& after) {
    AccessChanges c;
    const auto was = ById(before);
    const auto now = ById(after);
    for (const AccessItem& i : after) {
        const AccessItem* old = was[static_cast<std::size_t>(i.id)];
        if (!old) {
            c.shown.push_back(i.id);
            if (i.focused) c.focus = i.id;
            continue;
        }
        const bool renamed = old->name != i.name;
        if (renamed) c.renamed.push_back(i.id);
        if (old->selected != i.selected || old->pressed != i.pressed || old->readOnly != i.readOnly ||
            old->focused != i.focused)
            c.restated.push_back(i.id);
        // Focus moved here, or stayed under a new name: either way the reader says it anew.
        if (i.focused && (!old->focused || renamed)) c.focus = i.id;
        if (i.id == kAccessStatusId && renamed && i.name != kAccessNoMessage) c.announcements.push_back(i.name);
    }
    for (const AccessItem& i : before)
        if (!now[static_cast<std::size_t>(i.id)]) c.hidden.push_back(i.id);
    if (!c.focus && AnyFocused(before) && !AnyFocused(after)) c.focus = kAccessBoardId;
    return c;
}

}  // namespace sudoku
