#include "platform/ui/list_control.h"

#include "platform/failure.h"
#include "platform/ui/control_surface.h"
#include "platform/ui/guard.h"
#include "platform/ui/ui_failures.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace ui {
namespace {
constexpr char NewIndexProperty[] = "quellmarNewIndex";

QListWidget* ListOf(QWidget* widget) { return static_cast<QListWidget*>(widget); }
QComboBox* ComboOf(QWidget* widget) { return static_cast<QComboBox*>(widget); }
}  // namespace

void ListControl::CheckRow(int index) {
    if (index < 0 || index >= ListCount())
        throw Failure(failure::InvalidPropertyArrayIndex, "Invalid property array index");
}

int ListControl::ListCount() { return Model().rowCount(); }

void ListControl::AddItem(const std::string& text, int index) {
    QWidget* widget = Widget();
    const int count = ListCount();
    if (index < -1 || index > count) throw Failure(failure::InvalidPropertyArrayIndex, "Invalid property array index");
    const int row = index < 0 ? count : index;
    const int selected = CurrentRow();
    {
        const QSignalBlocker quiet(widget);
        QAbstractItemModel& model = Model();
        model.insertRow(row);
        model.setData(model.index(row, 0), QString::fromStdString(text), Qt::DisplayRole);
        model.setData(model.index(row, 0), 0, Qt::UserRole);
        // Qt selects the first row added to an empty combo box; the toolkit
        // selects nothing.
        SelectQuietly(selected < 0 ? -1 : selected + (row <= selected ? 1 : 0));
    }
    widget->setProperty(NewIndexProperty, row);
}

void ListControl::RemoveItem(int index) {
    QWidget* widget = Widget();
    CheckRow(index);
    const int selected = CurrentRow();
    const QSignalBlocker quiet(widget);
    Model().removeRow(index);
    SelectQuietly(selected == index ? -1 : selected - (index < selected ? 1 : 0));
}

void ListControl::Clear() {
    QWidget* widget = Widget();
    const QSignalBlocker quiet(widget);
    Model().removeRows(0, ListCount());
    SelectQuietly(-1);
}

std::string ListControl::List(int index) {
    Widget();
    CheckRow(index);
    return Model().index(index, 0).data(Qt::DisplayRole).toString().toStdString();
}

void ListControl::SetList(int index, const std::string& text) {
    const QSignalBlocker quiet(Widget());
    CheckRow(index);
    Model().setData(Model().index(index, 0), QString::fromStdString(text), Qt::DisplayRole);
}

int32_t ListControl::ItemData(int index) {
    Widget();
    CheckRow(index);
    return Model().index(index, 0).data(Qt::UserRole).toInt();
}

void ListControl::SetItemData(int index, int32_t data) {
    Widget();
    CheckRow(index);
    Model().setData(Model().index(index, 0), data, Qt::UserRole);
}

int ListControl::NewIndex() {
    const QVariant row = Widget()->property(NewIndexProperty);
    return row.isValid() ? row.toInt() : -1;
}

int ListControl::ListIndex() {
    Widget();
    return CurrentRow();
}

void ListControl::SetListIndex(int index) {
    QWidget* widget = Widget();
    if (index < -1 || index >= ListCount()) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    if (index == CurrentRow()) return;
    {
        const QSignalBlocker quiet(widget);
        SelectQuietly(index);
    }
    CodeEvent(Click);
}

void ListControl::UserChoice() { UserClick(); }

std::string ListBox::Text() {
    const int row = ListIndex();
    return row < 0 ? std::string() : List(row);
}

QWidget* ListBox::CreateWidget() {
    auto* list = new SurfaceWidget<QListWidget>;
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->viewport()->setMouseTracking(true);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this] { UserChoice(); });
    return list;
}

QAbstractItemModel& ListBox::Model() { return *ListOf(Widget())->model(); }
// The selected row, not Qt's current row: Qt makes a row current when the
// list gets the focus, and the toolkit selected nothing then.
int ListBox::CurrentRow() {
    const QModelIndexList selected = ListOf(Widget())->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::SelectQuietly(int row) {
    QListWidget* list = ListOf(Widget());
    if (row < 0) {
        list->clearSelection();
        list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    } else {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

ComboBox::ComboBox(Container& container, std::string name, int index, ComboStyle style)
    : ListControl(container, std::move(name), index), style_(style) {}

QWidget* ComboBox::CreateWidget() {
    auto* combo = new SurfaceWidget<QComboBox>;
    if (style_ == vbComboDropdown) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    QObject::connect(combo, &QComboBox::activated, combo, [this] { UserChoice(); });
    return combo;
}

QAbstractItemModel& ComboBox::Model() { return *ComboOf(Widget())->model(); }
int ComboBox::CurrentRow() { return ComboOf(Widget())->currentIndex(); }

// Selecting nothing keeps the text typed into an edit field.
void ComboBox::SelectQuietly(int row) {
    QComboBox* combo = ComboOf(Widget());
    const QString typed = combo->currentText();
    combo->setCurrentIndex(row);
    if (row < 0 && combo->isEditable()) combo->setEditText(typed);
}

std::string ComboBox::Text() { return ComboOf(Widget())->currentText().toStdString(); }

void ComboBox::SetText(const std::string& text) {
    QComboBox* combo = ComboOf(Widget());
    if (combo->isEditable()) {
        const QSignalBlocker quiet(combo);
        combo->setEditText(QString::fromStdString(text));
        return;
    }
    const int row = combo->findText(QString::fromStdString(text), Qt::MatchExactly);
    if (row < 0) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    SetListIndex(row);
}

}  // namespace ui
