#pragma once

// The start of a game: from the lobby's result to the running main loop.

// Builds the game (input, sound, scene, models, sights, level, video device)
// and runs the main loop; never returns. Without a video set-up it ends the
// program at once. Any failure ends the program with a message box showing
// its description, ": " and its number, except that on "couloirs" every
// failing step after the collision meshes is skipped.
[[noreturn]] void InitJeu();

// Loads the player model (PlayerModels(0), for both teams) and the thirteen
// weapon models (WeaponModels(0) to (12); slot 13 stays empty). Failures pass
// to the caller.
void ChargeModeles();

// Shows progress: appends "." to the game window's loading text and yields.
void AjoutePointChargement();
