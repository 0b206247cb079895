#pragma once

// The create-game window "Create Game": the game's name, its maximum of
// players, its map and a comment. CREATE opens the session with this
// machine's player as host and goes on to the waiting room; CANCEL ends the
// program. What callers get:
//  - The map rows on every load: the map folder's ".map" files in name
//    order (each name up to its first ".", upper case), then the two
//    built-in levels "ENTREPOT" and "COULOIRS"; the first row selected.
//  - CREATE refuses, with "Failed to create game." and before anything is
//    opened, a maximum outside 2 to 8, a map name the map loader would
//    refuse, and a session name longer than the session layer carries. The
//    window stays open after any failure.
//  - In web mode CREATE first announces the game on the web list with the
//    comment and connects anew to host it; a refused announce creates
//    nothing and shows nothing.
//  - Only the program's own code unloads it: its close box does nothing.

#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_control.h"
#include "platform/ui/text_box.h"

class frmCreateGame : public ui::Form {
public:
    frmCreateGame();

    ui::Label Label1{*this, "Label1"};
    ui::TextBox txtGameName{*this, "txtGameName"};
    ui::Label Label2{*this, "Label2"};
    ui::ComboBox cmbnb{*this, "cmbnb", ui::vbComboDropdown};
    ui::Label Label3{*this, "Label3"};
    ui::ComboBox Combo1{*this, "Combo1", ui::vbComboDropdown};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox TxtComment{*this, "TxtComment"};
    ui::Label cmdCreate{*this, "cmdCreate"};
    ui::Label cmdCancel{*this, "cmdCancel"};

    void cmdCreate_Click();
    void cmdCancel_Click();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;

private:
    void ListMaps();
    // Web mode: false when the game is not to be created.
    bool AnnounceOnTheWeb();
};

// The one create-game window of the run, made on first use.
frmCreateGame& CreateGameWindow();
