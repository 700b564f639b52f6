#include "platform/qt/QtBoardAccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace sudoku::qt {

namespace {

constexpr char kBoardName[] = "board";
constexpr char kBridgeProperty[] = "sudokuBoardAccess";

const AccessItem* Find(const std::vector<AccessItem>& items, int id) {
    const auto it = std::find_if(items.begin(), items.end(), [id](const AccessItem& i) { return i.id == id; });
    return it == items.end() ? nullptr : &*it;
}

// A cell, picker entry or the status line. It lives as long as the bridge; a hidden picker
// entry is not among the board's children and says it is invisible.
class ItemInterface final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemInterface(const QtBoardAccess& bridge, int id) : bridge_(bridge), id_(id) {}

    bool isValid() const override { return bridge_.Board() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bridge_.Board()->window()->windowHandle(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return bridge_.BoardInterface(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        const auto item = Item();
        return t == QAccessible::Name && item ? QString::fromStdString(item->name) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const auto item = Item();
        return item && item->label ? bridge_.ScreenRect(*item->label) : QRect();
    }
    QAccessible::Role role() const override {
        switch (Role()) {
        case AccessRole::Cell: return QAccessible::Cell;
        case AccessRole::Button: return QAccessible::Button;
        case AccessRole::Status: return QAccessible::StatusBar;
        }
        return QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const auto item = Item();
        if (!item) {
            s.invisible = true;
            return s;
        }
        if (item->role != AccessRole::Status) s.focusable = true;
        s.focused = item->focused;
        if (item->role == AccessRole::Cell) {
            s.selectable = true;
            s.selected = item->selected;
            s.readOnly = item->readOnly;
        } else if (item->role == AccessRole::Button) {
            s.checkable = true;
            s.checked = item->pressed;
            s.pressed = item->pressed;
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface && Role() != AccessRole::Status)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) const_cast<QtBoardAccess&>(bridge_).Activate(id_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::optional<AccessItem> Item() const {
        const std::vector<AccessItem> items = bridge_.Items();
        const AccessItem* i = Find(items, id_);
        return i ? std::optional<AccessItem>(*i) : std::nullopt;
    }
    AccessRole Role() const {
        if (id_ <= 81) return AccessRole::Cell;
        return id_ == kAccessStatusId ? AccessRole::Status : AccessRole::Button;
    }

    const QtBoardAccess& bridge_;
    int id_;
};

// The board widget: its children are the items, not the widgets it holds.
class BoardInterface final : public QAccessibleWidget {
public:
    BoardInterface(QWidget* board, const QtBoardAccess& bridge)
        : QAccessibleWidget(board, QAccessible::Client), bridge_(bridge) {}

    int childCount() const override { return static_cast<int>(bridge_.Items().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<AccessItem> items = bridge_.Items();
        if (index < 0 || index >= static_cast<int>(items.size())) return nullptr;
        return bridge_.Child(items[static_cast<std::size_t>(index)].id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<AccessItem> items = bridge_.Items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (bridge_.Child(items[i].id) == child) return static_cast<int>(i);
        return -1;
    }
    // The label on top at a screen point: the one made first, as the mouse finds it.
    QAccessibleInterface* childAt(int x, int y) const override {
        for (const AccessItem& item : bridge_.Items())
            if (item.label && bridge_.ScreenRect(*item.label).contains(x, y)) return bridge_.Child(item.id);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        for (const AccessItem& item : bridge_.Items())
            if (item.focused) return bridge_.Child(item.id);
        return nullptr;
    }

private:
    const QtBoardAccess& bridge_;
};

bool IsBoard(const QObject* object) {
    return object && object->isWidgetType() && object->objectName() == QLatin1String(kBoardName);
}

QAccessibleInterface* BoardFactory(const QString&, QObject* object) {
    if (!IsBoard(object)) return nullptr;
    auto* bridge = static_cast<QtBoardAccess*>(object->property(kBridgeProperty).value<void*>());
    return bridge ? new BoardInterface(static_cast<QWidget*>(object), *bridge) : nullptr;
}

void Raise(QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent e(iface, type);
    QAccessible::updateAccessibility(&e);
}

}  // namespace

QtBoardAccess::QtBoardAccess() = default;

QtBoardAccess::~QtBoardAccess() {
    // The board's interface refers to this bridge: it goes first, and the widget it was made
    // for gets a plain one should it be asked again.
    if (board_) {
        board_->setProperty(kBridgeProperty, QVariant());
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(board_))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
        board_ = nullptr;
    }
    for (QAccessibleInterface* child : children_)
        if (child) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(child));
}

void QtBoardAccess::Attach(QWidget* board, BoardAccess& access) {
    static const bool installed = [] {
        QAccessible::installFactory(&BoardFactory);
        return true;
    }();
    (void)installed;
    board_ = board;
    access_ = &access;
    board->setObjectName(QLatin1String(kBoardName));
    board->setProperty(kBridgeProperty, QVariant::fromValue(static_cast<void*>(this)));
    children_.assign(kAccessStatusId + 1, nullptr);
    access.Update();
    shown_ = access.Items();
}

// Made when a reader first asks, and kept: a reader knows an item by its interface.
QAccessibleInterface* QtBoardAccess::Child(int id) const {
    if (id < 1 || id >= static_cast<int>(children_.size())) return nullptr;
    QAccessibleInterface*& child = children_[static_cast<std::size_t>(id)];
    if (!child) {
        child = new ItemInterface(*this, id);
        QAccessible::registerAccessibleInterface(child);
    }
    return child;
}

QAccessibleInterface* QtBoardAccess::BoardInterface() const { return QAccessible::queryAccessibleInterface(board_); }

QRect QtBoardAccess::ScreenRect(const Label& label) const {
    return {board_->mapToGlobal(QPoint(label.Left(), label.Top())), QSize(label.Width(), label.Height())};
}

void QtBoardAccess::Activate(int id) {
    if (!access_) return;
    access_->Activate(id);
    Update();
}

void QtBoardAccess::Update() {
    if (!access_) return;
    const AccessChanges changes = access_->Update();
    const std::vector<AccessItem> before = std::move(shown_);
    shown_ = access_->Items();
    if (!changes.Any() || !QAccessible::isActive()) return;
    for (int id : changes.hidden) Raise(Child(id), QAccessible::ObjectHide);
    for (int id : changes.shown) Raise(Child(id), QAccessible::ObjectShow);
    if (!changes.hidden.empty() || !changes.shown.empty()) Raise(BoardInterface(), QAccessible::ObjectReorder);
    for (int id : changes.renamed) Raise(Child(id), QAccessible::NameChanged);
    for (int id : changes.restated) {
        const AccessItem& was = *Find(before, id);
        const AccessItem& now = *Find(shown_, id);
        if (was.pressed != now.pressed) {  // a chosen picker entry is a checked toggle button
            QAccessible::State changed;
            changed.checked = changed.pressed = true;
            QAccessibleStateChangeEvent e(Child(id), changed);
            QAccessible::updateAccessibility(&e);
        }
        if (was.selected != now.selected) Raise(Child(id), now.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    }
    if (changes.focus) Raise(changes.focus == kAccessBoardId ? BoardInterface() : Child(changes.focus), QAccessible::Focus);
}

}  // namespace sudoku::qt
