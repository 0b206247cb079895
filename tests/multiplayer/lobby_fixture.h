#pragma once

// The lobby windows of the machine under test (the test process's game
// state), connected on the LAN connection as the launcher leaves them, with
// test peers as the other machines and message boxes recorded.

#include "support/message_boxes.h"
#include "support/test_peer.h"

#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/list_control.h"

#include <QPoint>
#include <QWidget>

#include <string>
#include <vector>

class LobbyTest : public play_test::PlayTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The rows of a list or combo box.
    static std::vector<std::string> Rows(ui::ListControl& list);
    // A point of `widget`'s own background (a frame's, a window's), in
    // pixels of its window's inner area, where none of its children lies.
    static QPoint EmptySpotOf(QWidget* widget);

    MessageBoxes boxes_;
};
