#pragma once

// The keys that act on the game as a whole, read once a frame by the main
// loop: Esc quits (or closes the open chat box), F1 switches the HUD's info
// panel, F5 opens the chat box, keypad + and - resize the 3D view. Every key
// but Esc acts once per press; while the chat box is open only Esc is read.
void ScruteClavierJeu();
