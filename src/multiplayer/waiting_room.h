#pragma once

// The waiting room "Waiting for Host to Start Game": the session's players
// with their side, a chat with the others, and START for the host. While it
// is loaded and visible the message receiver treats what comes in as lobby
// traffic. What callers get:
//  - UpdateWaiting: the count line and the player rows made again from the
//    session, START enabled when this machine hosts, a beep; a failure shows
//    "Error in player enumeration." and leaves the list as far as it got.
//  - AppendChat: a chat line at the end of the log, which keeps only its
//    last kChatLogCharacters characters, dropping whole lines from the top.
//  - START, for the host: the start message to every player, guaranteed,
//    then the game start, once however often it is pressed. A failure before
//    the send shows its description and the room polls again.
//  - SEND MESSAGE (or Enter in the line): the trimmed line to every other
//    player and into the log under `ProfileLogin`.
//  - CANCEL and the close box leave the session and end the program.
//  - WaitingRoomShown: whether the room is loaded and visible, which is when
//    the receiver treats what comes in as lobby traffic.

#include "platform/ui/command_button.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/list_control.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"

#include <cstdint>
#include <string>

inline constexpr int32_t kChatLogCharacters = 64 * 1024;

class frmWaiting : public ui::Form {
public:
    frmWaiting();

    // The chat comes first, so that the line being typed is the first
    // control to take the keyboard.
    ui::Frame Frame1{*this, "Frame1"};
    ui::TextBox mess{Frame1, "mess"};
    ui::CommandButton Command1{Frame1, "Command1"};
    ui::TextBox list_mess{Frame1, "list_mess", ui::TextBox::Lines::Multi};
    ui::Frame Frame2{*this, "Frame2"};
    ui::ListBox lstPlayers{Frame2, "lstPlayers"};
    ui::Label lbStatus{Frame2, "lbStatus"};
    ui::Label cmdStart{*this, "cmdStart"};
    ui::Label cmdCancel{*this, "cmdCancel"};
    ui::Timer Timer1{*this, "Timer1"};

    void UpdateWaiting();
    // CR LF, CR LF, the time of day, " ", `sender`, " write: ", CR LF and
    // `text`; the caret goes to the end of the log and a beep sounds.
    void AppendChat(const std::string& sender, const std::string& text);

    void Timer1_Timer();
    void cmdStart_Click();
    void cmdCancel_Click();
    void Command1_Click();
    void mess_KeyPress(int& keyAscii);
    void mess_GotFocus();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;

private:
    void ListPlayers();
    void SendStart();

    bool starting_ = false;  // START pressed: the game is about to start
};

// The one waiting room of the run, made on first use.
frmWaiting& WaitingWindow();

// Asks without loading the window: reading an unloaded window's visibility
// would load it and start its timer.
bool WaitingRoomShown();
