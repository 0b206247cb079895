#pragma once

#include "core/shared_state.h"
#include "platform/rm/math.h"

#include <string>
#include <string_view>

// The map-folder levels: map\NAME.map with the meshes NAME.sol (floors),
// NAME.mur (walls), NAME.pla (ceilings), the optional NAME.lad (ladders),
// the shared sky box boite.x, its pictures in map\env and the textures in
// map\textures, all below CheminJeu.

// The sky prefix of the level being loaded (line 1 of its .map file); the
// texture callback names the sky-box pictures with it.
inline std::string CielMap = Initial(&CielMap, {});
// Where the level's point light stands, relative to the walls' frame.
inline rm::Vector PosLumiere = Initial(&PosLumiere, {});

// Loads the level named by NomMap into the level frames that the game start
// made (FrameSols, FrameMurs, FrameEchelles, FramePlafonds, FrameCouloir1
// under FrameMonde, the light under FrameCamera), and sets SeuilSol,
// TeamGame, SpawnPoints, CielMap and PosLumiere. Leaves the search path on
// the map folder.
//
// A map whose .map file is missing is downloaded from the web server and
// looked for again. A map still missing then, or whose name is not a plain
// file name (letters, digits, "_" and "-" only), shows how to install it and
// ends the program; such a name never reaches a path. Every other failure (a
// failed download, a short or malformed .map file, a mesh that does not
// load) passes to the caller.
void ChargeCarte();

// True for a name made only of ASCII letters, digits, "_" and "-". Names that
// come with a map (its textures, its sky prefix) are held to it too.
bool IsPlainMapName(std::string_view name);
