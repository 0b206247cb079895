#pragma once

// The two levels assembled in code rather than read from a map folder. The
// game start has made FrameMonde and, under it, FrameCouloir1, FrameCouloir2,
// FrameMurs, FrameSols and FramePlafonds before either is built. Mesh files
// are found through the retained-mode search path (the media folder).

#include "core/shared_state.h"

#include <memory>
#include <string>

namespace rm {
class MeshBuilder;
}

// Collision meshes of the two corridor copies (floor, walls, ceiling).
inline std::shared_ptr<rm::MeshBuilder> MeshSol = Initial(&MeshSol, {});
inline std::shared_ptr<rm::MeshBuilder> MeshMur = Initial(&MeshMur, {});
inline std::shared_ptr<rm::MeshBuilder> MeshPlafond = Initial(&MeshPlafond, {});
inline std::shared_ptr<rm::MeshBuilder> MeshSol2 = Initial(&MeshSol2, {});
inline std::shared_ptr<rm::MeshBuilder> MeshMur2 = Initial(&MeshMur2, {});
inline std::shared_ptr<rm::MeshBuilder> MeshPlafond2 = Initial(&MeshPlafond2, {});

// True for the names built here, compared exactly: "Couloirs" is a map
// folder's level.
bool EstNiveauInterne(const std::string& nomMap);

// "couloirs": two copies of the corridor with its stairs, the second turned
// half a turn and moved, each with three hidden collision meshes. Failures
// pass to the caller up to the collision meshes; from there on each failing
// statement is skipped, so a missing collision mesh leaves that mesh empty.
void ChargeCouloirs();

// "entrepot": three meshes scaled to a tenth, a point light and one shared
// material. Every failure passes to the caller.
void ChargeEntrepot();

// The shared material of "entrepot", on every mesh of the first child frame
// of FrameSols, FrameMurs and FramePlafonds, whose colour becomes white.
void AppliqueMateriau();
