#include "platform/qt/QtBoardAccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/qt/QtBoard.h"
#include "scene/Scene.h"

namespace sudoku::qt {

namespace {

constexpr char kBoardName[] = "board";
constexpr char kBridgeProperty[] = "sudokuBoardAccess";
// The default action, named as readers look for it first.
constexpr char kClick[] = "click";

const AccessItem* Find(const std::vector<AccessItem>& items, int id) {
    const auto it = std::find_if(items.begin(), items.end(), [id](const AccessItem& i) { return i.id == id; });
    return it == items.end() ? nullptr : &*it;
}

AccessRole RoleOf(int id) {
    if (id <= 81) return AccessRole::Cell;
    return id == kAccessStatusId ? AccessRole::Status : AccessRole::Button;
}

// An accessible object of the board that no widget stands for.
class Virtual : public QAccessibleInterface {
public:
    explicit Virtual(const QtBoardAccess& bridge) : bridge_(bridge) {}
    bool isValid() const override { return bridge_.Board() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bridge_.Board()->window()->windowHandle(); }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    const QtBoardAccess& bridge_;
};

// A cell (a cell of the board's table), picker entry (a check box: Qt 6.4 gives AT-SPI no
// toggle button) or the status line. It lives until the bridge renews it; a hidden picker
// entry is not among the board's children and says it is invisible.
class ItemInterface final : public Virtual, public QAccessibleActionInterface, public QAccessibleTableCellInterface {
public:
    ItemInterface(const QtBoardAccess& bridge, int id) : Virtual(bridge), id_(id) {}

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return RoleOf(id_) == AccessRole::Cell ? bridge_.Child(kAccessBoardId) : bridge_.BoardInterface();
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        // A cell's name keeps its row and column: Orca 43 does not say them for a focused cell
        // of a table in an application (it reads the whole row when the row changes).
        const auto item = Item();
        return t == QAccessible::Name && item ? QString::fromStdString(item->name) : QString();
    }
    QRect rect() const override {
        const auto item = Item();
        return item && item->label ? bridge_.ScreenRect(*item->label) : QRect();
    }
    QAccessible::Role role() const override {
        switch (RoleOf(id_)) {
        case AccessRole::Cell: return QAccessible::Cell;
        case AccessRole::Button: return QAccessible::CheckBox;
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
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface && RoleOf(id_) != AccessRole::Status)
            return static_cast<QAccessibleActionInterface*>(this);
        if (t == QAccessible::TableCellInterface && RoleOf(id_) == AccessRole::Cell)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {QLatin1String(kClick)}; }
    QString localizedActionName(const QString& name) const override {
        return name == QLatin1String(kClick) ? QStringLiteral("Нажать") : QString();
    }
    void doAction(const QString& name) override {
        if (name == QLatin1String(kClick)) const_cast<QtBoardAccess&>(bridge_).Activate(id_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    bool isSelected() const override {
        const auto item = Item();
        return item && item->selected;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return (id_ - 1) % 9; }
    int rowIndex() const override { return (id_ - 1) / 9; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return bridge_.Child(kAccessBoardId); }

private:
    std::optional<AccessItem> Item() const {
        const std::vector<AccessItem> items = bridge_.Items();
        const AccessItem* i = Find(items, id_);
        return i ? std::optional<AccessItem>(*i) : std::nullopt;
    }

    int id_;
};

// The 81 cells as a 9x9 table. It has the focus when no item has it (a new puzzle, an erased
// board).
class TableInterface final : public Virtual, public QAccessibleTableInterface {
public:
    using Virtual::Virtual;

    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* at = bridge_.At(x, y);
        return at && at->parent() == this ? at : nullptr;
    }
    QAccessibleInterface* parent() const override { return bridge_.BoardInterface(); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < 81 ? bridge_.Child(index + 1) : nullptr;
    }
    int childCount() const override { return 81; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int n = 1; n <= 81; ++n)
            if (bridge_.Child(n) == child) return n - 1;
        return -1;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QString::fromUtf8(kAccessBoardName) : QString();
    }
    QRect rect() const override {
        QRect r;
        for (int n = 1; n <= 81; ++n) r = r.united(bridge_.Child(n)->rect());
        return r;
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        const std::vector<AccessItem> items = bridge_.Items();
        s.focused = std::none_of(items.begin(), items.end(), [](const AccessItem& i) { return i.focused; });
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row >= 0 && row < 9 && column >= 0 && column < 9 ? bridge_.Child(row * 9 + column + 1) : nullptr;
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const AccessItem& i : bridge_.Items())
            if (i.role == AccessRole::Cell && i.selected) cells.push_back(bridge_.Child(i.id));
        return cells;
    }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return 9; }
    int rowCount() const override { return 9; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

// What a reader is to say unasked: a notification, shown anew with each message. It is no
// child of the board, so reading the board does not meet it.
class NotificationInterface final : public Virtual {
public:
    using Virtual::Virtual;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return bridge_.BoardInterface(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? message : QString(); }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

    QString message;
};

// The board widget: its children are the table of the cells, then the shown picker entries
// and the status line.
class BoardInterface final : public QAccessibleWidget {
public:
    BoardInterface(QWidget* board, const QtBoardAccess& bridge)
        : QAccessibleWidget(board, QAccessible::Client), bridge_(bridge) {}

    int childCount() const override { return static_cast<int>(bridge_.Items().size()) - 80; }
    QAccessibleInterface* child(int index) const override {
        const std::vector<AccessItem> items = bridge_.Items();
        if (index == 0) return bridge_.Child(kAccessBoardId);
        if (index < 0 || index + 80 >= static_cast<int>(items.size())) return nullptr;
        return bridge_.Child(items[static_cast<std::size_t>(index + 80)].id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == bridge_.Child(kAccessBoardId)) return 0;
        const std::vector<AccessItem> items = bridge_.Items();
        for (std::size_t i = 81; i < items.size(); ++i)
            if (bridge_.Child(items[i].id) == child) return static_cast<int>(i) - 80;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* at = bridge_.At(x, y);
        return at && at->parent() != this ? bridge_.Child(kAccessBoardId) : at;
    }
    QAccessibleInterface* focusChild() const override {
        for (const AccessItem& item : bridge_.Items())
            if (item.focused) return bridge_.Child(item.role == AccessRole::Cell ? kAccessBoardId : item.id);
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

void Forget(QAccessibleInterface*& iface) {
    if (iface) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    iface = nullptr;
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
    for (QAccessibleInterface*& child : children_) Forget(child);
    Forget(notification_);
}

void QtBoardAccess::Attach(QtBoard* board, BoardAccess& access) {
    static const bool installed = [] {
        QAccessible::installFactory(&BoardFactory);
        return true;
    }();
    (void)installed;
    board_ = board;
    access_ = &access;
    board->setObjectName(QLatin1String(kBoardName));
    board->setProperty(kBridgeProperty, QVariant::fromValue(static_cast<void*>(this)));
    children_.assign(kAccessBoardId + 1, nullptr);
    access.Update();
    shown_ = access.Items();
}

// Made when a reader first asks, and kept until renewed: a reader knows an item by its
// interface.
QAccessibleInterface* QtBoardAccess::Child(int id) const {
    if (id < 1 || id >= static_cast<int>(children_.size())) return nullptr;
    QAccessibleInterface*& child = children_[static_cast<std::size_t>(id)];
    if (!child) {
        if (id == kAccessBoardId) child = new TableInterface(*this);
        else child = new ItemInterface(*this, id);
        QAccessible::registerAccessibleInterface(child);
    }
    return child;
}

QAccessibleInterface* QtBoardAccess::BoardInterface() const { return QAccessible::queryAccessibleInterface(board_); }

// A label's own device pixels (see Scene::OwnBounds) in screen coordinates, inner pixels
// only where the device pixel ratio is not whole.
QRect QtBoardAccess::ScreenRect(const Label& label) const {
    const auto& l = static_cast<const scene::SceneLabel&>(label);
    const scene::DeviceRect own = board_->Scene().OwnBounds(l);
    const qreal dpr = board_->devicePixelRatioF();
    const QPoint topLeft(static_cast<int>(std::ceil(own.left / dpr)), static_cast<int>(std::ceil(own.top / dpr)));
    const QPoint end(static_cast<int>(std::floor(own.right / dpr)), static_cast<int>(std::floor(own.bottom / dpr)));
    return {board_->mapToGlobal(topLeft), QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

// The item whose own pixels hold a screen point: what the mouse would reach there.
QAccessibleInterface* QtBoardAccess::At(int x, int y) const {
    const QPoint p = board_->DevicePoint(QPointF(board_->mapFromGlobal(QPoint(x, y))));
    for (const AccessItem& item : access_->Items()) {
        if (!item.label) continue;
        if (board_->Scene().OwnBounds(static_cast<const scene::SceneLabel&>(*item.label)).Contains(p.x(), p.y()))
            return Child(item.id);
    }
    return nullptr;
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
        if (was.pressed != now.pressed) {  // a chosen picker entry is a checked box
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(Child(id), changed);
            QAccessible::updateAccessibility(&e);
        }
        if (was.selected != now.selected) Raise(Child(id), now.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    }
    if (changes.focus) {
        // A reader says nothing when the focus comes back to the object it is on: an item
        // told again under a new name is a new object.
        const AccessItem* was = Find(before, changes.focus);
        if (changes.focus != kAccessBoardId && was && was->focused) Forget(children_[static_cast<std::size_t>(changes.focus)]);
        Raise(Child(changes.focus), QAccessible::Focus);
    }
    for (const std::string& message : changes.announcements) Announce(message);
}

void QtBoardAccess::Announce(const std::string& message) {
    if (!notification_) {
        notification_ = new NotificationInterface(*this);
        QAccessible::registerAccessibleInterface(notification_);
    }
    static_cast<NotificationInterface*>(notification_)->message = QString::fromStdString(message);
    Raise(notification_, QAccessible::ObjectShow);
}

void JoinAccessibilityBusAlways() {
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
}

}  // namespace sudoku::qt
