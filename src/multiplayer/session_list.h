#pragma once

// The session list "Join or Create Game": the games of this program on the
// current connection and, in web mode, the running games of the web list.
// From here the player joins a game (on to the waiting room), asks for a new
// one (on to the create-game window) or goes back (RETOUR unloads it).
// What callers get:
//  - UpdateSessionList: the list made again from a new search, its status
//    line, the first row selected and JOIN GAME enabled only with rows;
//    false when the search or its reading failed.
//  - The window's label-buttons, frames and lists, with their events.
// Labels act as buttons here: they turn red under the mouse and white again
// over the frame that holds them.

#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/list_control.h"
#include "platform/ui/text_box.h"

class SessionFailure;

class frmSessions : public ui::Form {
public:
    frmSessions();

    ui::Frame Frame2{*this, "Frame2"};
    ui::ListBox lstSessions{Frame2, "lstSessions"};
    ui::Label Label1{Frame2, "Label1"};  // the status line
    ui::Label cmdrefresh{Frame2, "cmdrefresh"};
    ui::Label cmdJoin{Frame2, "cmdJoin"};
    ui::Label cmdCreate{Frame2, "cmdCreate"};
    ui::Label cmdCancel{Frame2, "cmdCancel"};
    // The web list's games; enabled by the launcher in web mode only.
    ui::Frame Frame1{*this, "Frame1"};
    ui::ListBox lstserv{Frame1, "lstserv"};
    ui::Label Label3{Frame1, "Label3"};
    ui::Label Label2{Frame1, "Label2"};
    ui::Label lblmess{*this, "lblmess"};
    ui::TextBox TxtComment{*this, "TxtComment", ui::TextBox::Lines::Multi};

    bool UpdateSessionList();
    // UpdateSessionList's second half: the rows, status line, selection and
    // JOIN GAME from `DPEnumSessions` as it stands. Fails on an enumeration
    // that cannot be read.
    void ListSessions();

    void cmdrefresh_Click();
    void cmdJoin_Click();
    void cmdCreate_Click();
    void cmdCancel_Click();
    void Label2_Click();
    void lstserv_Click();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void ShowJoinFailure(const SessionFailure& failure);
};

// The one session list of the run, made on first use.
frmSessions& SessionsWindow();
