#include "platform/failure.h"
#include "platform/ui/form.h"
#include "platform/ui/list_control.h"
#include "support/ui_events.h"

#include <QComboBox>
#include <QListWidget>

#include <string>
#include <vector>

namespace {

class Lists : public ui::Form {
public:
    Lists() : ui::Form("frmLists") {
        lstSessions.Click = [this] { clicks.push_back("lstSessions " + std::to_string(lstSessions.ListIndex())); };
        list_DDraw.Click = [this] { clicks.push_back("list_DDraw " + list_DDraw.Text()); };
    }
    ui::ListBox lstSessions{*this, "lstSessions"};
    ui::ComboBox list_DDraw{*this, "list_DDraw"};
    ui::ComboBox cmbnb{*this, "cmbnb", ui::vbComboDropdown};
    std::vector<std::string> clicks;

protected:
    void Design() override {
        lstSessions.Move(100, 100, 3000, 1500);
        list_DDraw.Move(100, 1800, 3000, 300);
        cmbnb.Move(100, 2200, 3000, 300);
    }
};

using ListsTest = UiTest;

TEST_F(ListsTest, IndexSetFromCodeRunsClickOncePerChange) {
    Lists form;
    for (const char* row : {"Quellmar game (1/4)", "other (2/8)"}) form.lstSessions.AddItem(row);
    EXPECT_EQ(form.lstSessions.ListIndex(), -1);
    EXPECT_EQ(form.lstSessions.Text(), "");
    form.lstSessions.SetListIndex(0);
    form.lstSessions.SetListIndex(0);
    form.lstSessions.SetListIndex(1);
    EXPECT_EQ(form.lstSessions.Text(), "other (2/8)");
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"lstSessions 0", "lstSessions 1"}));

    form.lstSessions.Clear();
    EXPECT_EQ(form.lstSessions.ListIndex(), -1);
    EXPECT_EQ(form.lstSessions.ListCount(), 0);
    EXPECT_EQ(form.clicks.size(), 2u);
}

TEST_F(ListsTest, FailureOfAClickRunByCodePassesToThatCode) {
    Lists form;
    form.list_DDraw.AddItem("driver");
    form.list_DDraw.Click = [] {
        throw Failure(failure_number::InvalidArgument, "Invalid procedure call or argument");
    };
    EXPECT_THROW(form.list_DDraw.SetListIndex(0), Failure);
    EXPECT_EQ(form.list_DDraw.ListIndex(), 0);
}

TEST_F(ListsTest, RowsCountFromZeroAndBadIndexesFail) {
    Lists form;
    ui::ComboBox& list = form.list_DDraw;
    list.AddItem("first");
    list.AddItem("third");
    list.AddItem("second", 1);
    EXPECT_EQ(list.NewIndex(), 1);
    EXPECT_EQ(list.ListIndex(), -1);  // adding to an empty list selects nothing
    list.SetItemData(2, 137);
    EXPECT_EQ(list.List(2), "third");
    EXPECT_EQ(list.ItemData(2), 137);
    EXPECT_EQ(list.ItemData(0), 0);

    list.SetListIndex(2);
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 1);
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);

    const auto numberOf = [](auto&& statement) {
        try {
            statement();
        } catch (const Failure& failure) {
            return failure.Number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { list.SetListIndex(1); }), 380);
    EXPECT_EQ(numberOf([&] { list.SetListIndex(-2); }), 380);
    EXPECT_EQ(numberOf([&] { list.List(1); }), 381);
    EXPECT_EQ(numberOf([&] { list.RemoveItem(-1); }), 381);
    EXPECT_EQ(numberOf([&] { list.SetText("missing"); }), 380);
}

TEST_F(ListsTest, TextOfADropDownListSelectsItsRow) {
    Lists form;
    for (const char* row : {"TS1", "TS2"}) form.list_DDraw.AddItem(row);
    form.list_DDraw.SetText("TS2");
    EXPECT_EQ(form.list_DDraw.ListIndex(), 1);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"list_DDraw TS2"}));

    // A combo with an edit field keeps what was typed, whatever the rows.
    for (const char* row : {"2", "3", "4"}) form.cmbnb.AddItem(row);
    form.cmbnb.SetText("7");
    EXPECT_EQ(form.cmbnb.Text(), "7");
    EXPECT_EQ(form.cmbnb.ListIndex(), -1);
    form.cmbnb.SetListIndex(2);
    EXPECT_EQ(form.cmbnb.Text(), "4");
}

TEST_F(ListsTest, UsersChoiceRunsClick) {
    Lists form;
    form.Show();
    for (const char* row : {"a", "b", "c"}) form.lstSessions.AddItem(row);
    form.lstSessions.SetFocus();  // Qt makes a row current here; nothing is selected
    EXPECT_EQ(form.lstSessions.ListIndex(), -1);
    auto* list = static_cast<QListWidget*>(form.lstSessions.hWnd());
    const QRect row = list->visualItemRect(list->item(2));
    ui_events::ClickAt(form, list->viewport()->mapTo(form.hWnd(), row.center()));
    EXPECT_EQ(form.lstSessions.ListIndex(), 2);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"lstSessions 2"}));

    form.list_DDraw.AddItem("x");
    auto* combo = static_cast<QComboBox*>(form.list_DDraw.hWnd());
    combo->setCurrentIndex(0);
    emit combo->activated(0);  // what the drop-down does when the user picks a row
    EXPECT_EQ(form.clicks.back(), "list_DDraw x");
}

}  // namespace
