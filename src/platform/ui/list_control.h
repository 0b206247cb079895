#pragma once

#include "platform/ui/control.h"

#include <cstdint>

class QAbstractItemModel;

namespace ui {

// The rows shared by the list box and the combo box. Rows count from 0;
// ListIndex is -1 when no row is selected. Setting ListIndex from code to
// another row runs Click, as the user's choice does; clearing the list or
// removing the selected row leaves ListIndex at -1 without a click. A row
// or index outside the list fails with "Invalid property array index"
// (381); a ListIndex outside -1 to ListCount - 1 with "Invalid property
// value" (380).
class ListControl : public Control {
public:
    using Control::Control;

    // Adds a row at the end, or before row `index`; NewIndex is its row.
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount();
    std::string List(int index);
    void SetList(int index, const std::string& text);
    int32_t ItemData(int index);
    void SetItemData(int index, int32_t data);
    int NewIndex();

    int ListIndex();
    void SetListIndex(int index);

    // Called by the control's window for the user's choice of a row.
    void UserChoice();

protected:
    virtual QAbstractItemModel& Model() = 0;
    virtual int CurrentRow() = 0;
    // Changes the selected row without telling anyone.
    virtual void SelectQuietly(int row) = 0;
    void CheckRow(int index);
};

// A list of rows, all shown.
class ListBox : public ListControl {
public:
    using ListControl::ListControl;

    // The selected row's text, "" for none.
    std::string Text();

protected:
    QWidget* CreateWidget() override;
    QAbstractItemModel& Model() override;
    int CurrentRow() override;
    void SelectQuietly(int row) override;
};

enum ComboStyle : int { vbComboDropdown = 0, vbComboDropdownList = 2 };

// A drop-down list; in the vbComboDropdown style with an edit field the user
// may type into (chosen when it is made).
class ComboBox : public ListControl {
public:
    ComboBox(Container& container, std::string name, int index = -1, ComboStyle style = vbComboDropdownList);
    ComboBox(Container& container, std::string name, ComboStyle style)
        : ComboBox(container, std::move(name), -1, style) {}

    // The edit field's text, or in a drop-down list the selected row's text.
    std::string Text();
    // In a drop-down list the text must be one of the rows, which is then
    // selected (running Click when it changes); another text fails with
    // "Invalid property value" (380). With an edit field it sets the field.
    void SetText(const std::string& text);

protected:
    QWidget* CreateWidget() override;
    QAbstractItemModel& Model() override;
    int CurrentRow() override;
    void SelectQuietly(int row) override;

private:
    ComboStyle style_;
};

}  // namespace ui
