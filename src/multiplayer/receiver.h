#pragma once

// The one receiver of the game's messages, and the messages that keep a game
// going while players come and go. What callers get:
//  - ReceiveMessages, polled at the start of every frame: reads the messages
//    waiting for the local player when it starts (later arrivals wait for
//    the next call) and applies each to the game state. A message that fails
//    to read, or whose values could not be used here, is dropped whole,
//    having changed nothing, and the drain goes on; a failure of the session
//    itself or of a send ends the drain, leaving the rest queued. No failure
//    leaves it; the program's end from inside the game start passes through.
//  - The first start message starts the game (GameStartCall); while a game
//    runs further ones are dropped, so the game start runs once per run.
//  - In a running game, a player who joins the session gets a player here
//    and a start message from this machine, host or not; a player who leaves
//    is removed; when this machine becomes the host it tells the others.
// Ids are not slots: messages carry session player ids, and each machine
// finds the slot that holds an id in its own `Joueurs`.

#include "core/shared_state.h"

#include <cstdint>
#include <functional>

// What a start message calls to start the game, its roster, host and names
// stored; empty: InitJeu. Tests put their own here.
inline std::function<void()> GameStartCall = Initial(&GameStartCall, {});

void ReceiveMessages();

// Runs the game start: GameStartCall when one is set, else InitJeu.
void CallGameStart();

// Tells every other player, guaranteed, that `HostPlayerId` hosts now.
void SendNewHost();

// Sends player `id` this machine's start message, guaranteed
// (BuildStartMessage, multiplayer/messages.h).
void SendStartGame(int32_t id);

// Moves `RosterPos` to the next of the slots 0 to 7 whose `IdsJoueurs` entry
// is not 0, after 7 back to 0; with no such slot it stays where it is.
void NextRosterSlot();
