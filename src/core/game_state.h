#pragma once

// The state that the game's subsystems share for the whole run, as plain
// module-level variables that every subsystem reads and writes directly.
// Flags are bool; "no object" is an empty pointer. Objects are released by
// dropping the last reference. Each variable is declared with `Initial`
// (core/shared_state.h), so the reset for tests covers it without a list.

#include "core/auto_new_array.h"
#include "core/shared_state.h"
#include "platform/rm/math.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rm {
class DirectX7;
class Direct3DRM;
class Device;
class Surface;
class Viewport;
class Frame;
class MeshBuilder;
class Texture;
}  // namespace rm
namespace input {
class Device;
}
namespace sound {
class DirectSound;
class Buffer;
class Listener;
}  // namespace sound
namespace play {
class DirectPlay;
}
class player;
class MDL;

// Program identity and the run.
inline int32_t IndiceLocal = Initial(&IndiceLocal, -1);
inline std::string ProductTitle = Initial(&ProductTitle, {});
inline int32_t IdSoft = Initial(&IdSoft, 0);
inline std::string ReleaseVersion = Initial(&ReleaseVersion, {});
inline std::string CheminJeu = Initial(&CheminJeu, {});
inline bool SetupDone = Initial(&SetupDone, false);
inline bool PartieEnCours = Initial(&PartieEnCours, false);
inline bool QuitteJeu = Initial(&QuitteJeu, false);

// Session and players.
inline std::shared_ptr<play::DirectPlay> DPlay = Initial(&DPlay, {});
inline int32_t IdLocalDP = Initial(&IdLocalDP, 0);
inline std::array<int32_t, 9> IdsJoueurs = Initial(&IdsJoueurs, {});
inline uint8_t NbJoueurs = Initial(&NbJoueurs, 0);
inline std::string NomMap = Initial(&NomMap, {});
inline AutoNewArray<player, 9> Joueurs = Initial(&Joueurs, {});

// Video settings chosen in the launcher.
inline int16_t ScreenMode = Initial(&ScreenMode, 0);
inline int32_t ScreenWidth = Initial(&ScreenWidth, 0);
inline int32_t ScreenHeight = Initial(&ScreenHeight, 0);
inline int16_t BitDepth = Initial(&BitDepth, 0);
inline bool FullScreen = Initial(&FullScreen, false);
inline std::string DDrawGuid = Initial(&DDrawGuid, {});
inline std::string D3DDeviceGuid = Initial(&D3DDeviceGuid, {});
inline int32_t RenderQuality = Initial(&RenderQuality, 0);
inline int32_t TextureQuality = Initial(&TextureQuality, 0);
inline bool ModeBox = Initial(&ModeBox, false);  // players drawn as their hit boxes, not skinned

// Local player's profile and career.
inline int32_t InverseSouris = Initial(&InverseSouris, 0);
inline std::string SkinLocal = Initial(&SkinLocal, {});
inline int32_t IdModeleLocal = Initial(&IdModeleLocal, 0);
inline int32_t StatKiller = Initial(&StatKiller, 0);
inline int32_t StatKilled = Initial(&StatKilled, 0);
inline int32_t StatSnipper = Initial(&StatSnipper, 0);
inline int32_t StatSnipped = Initial(&StatSnipped, 0);
inline int32_t WeaponPower = Initial(&WeaponPower, 0);

// 3D device and views.
inline std::shared_ptr<rm::DirectX7> DX7 = Initial(&DX7, {});
inline std::shared_ptr<rm::Direct3DRM> D3DRM = Initial(&D3DRM, {});
inline std::shared_ptr<rm::Device> Device3D = Initial(&Device3D, {});
inline std::shared_ptr<rm::Surface> SurfPrimaire = Initial(&SurfPrimaire, {});
inline std::shared_ptr<rm::Surface> SurfArriere = Initial(&SurfArriere, {});
inline std::array<std::shared_ptr<rm::Viewport>, 4> Vues = Initial(&Vues, {});
inline int32_t VueCourante = Initial(&VueCourante, 0);
inline int32_t LargeurDevice = Initial(&LargeurDevice, 0);
inline int32_t HauteurDevice = Initial(&HauteurDevice, 0);
inline int32_t LargeurVue = Initial(&LargeurVue, 0);
inline int32_t HauteurVue = Initial(&HauteurVue, 0);

// Input.
inline std::shared_ptr<input::Device> DevClavier = Initial(&DevClavier, {});
inline std::shared_ptr<input::Device> DevSouris = Initial(&DevSouris, {});
inline std::array<bool, 257> PrevKeys = Initial(&PrevKeys, {});

// Sound.
inline std::shared_ptr<sound::DirectSound> DSound = Initial(&DSound, {});
inline std::shared_ptr<sound::Listener> DSListener = Initial(&DSListener, {});
inline std::array<std::shared_ptr<sound::Buffer>, 6> SonsJeu = Initial(&SonsJeu, {});

// Scene and level.
inline std::shared_ptr<rm::Frame> FrameScene = Initial(&FrameScene, {});
inline std::shared_ptr<rm::Frame> FrameMonde = Initial(&FrameMonde, {});
inline std::shared_ptr<rm::Frame> FrameCamera = Initial(&FrameCamera, {});
inline std::shared_ptr<rm::Frame> FrameCouloir1 = Initial(&FrameCouloir1, {});
inline std::shared_ptr<rm::Frame> FrameCouloir2 = Initial(&FrameCouloir2, {});
inline std::shared_ptr<rm::Frame> FrameSols = Initial(&FrameSols, {});
inline std::shared_ptr<rm::Frame> FrameMurs = Initial(&FrameMurs, {});
inline std::shared_ptr<rm::Frame> FramePlafonds = Initial(&FramePlafonds, {});
inline std::shared_ptr<rm::Frame> FrameEchelles = Initial(&FrameEchelles, {});
inline std::shared_ptr<rm::Frame> FrameSol1 = Initial(&FrameSol1, {});
inline std::shared_ptr<rm::Frame> FrameMur1 = Initial(&FrameMur1, {});
inline std::shared_ptr<rm::Frame> FramePlafond1 = Initial(&FramePlafond1, {});
inline std::shared_ptr<rm::Frame> FrameSol2 = Initial(&FrameSol2, {});
inline std::shared_ptr<rm::Frame> FrameMur2 = Initial(&FrameMur2, {});
inline std::shared_ptr<rm::Frame> FramePlafond2 = Initial(&FramePlafond2, {});
inline std::array<std::shared_ptr<rm::MeshBuilder>, 3> MeshCouloirs = Initial(&MeshCouloirs, {});
inline std::array<std::shared_ptr<rm::MeshBuilder>, 3> MeshEscaliers = Initial(&MeshEscaliers, {});
inline std::shared_ptr<rm::Frame> FrameJoueurs = Initial(&FrameJoueurs, {});
inline double SeuilSol = Initial(&SeuilSol, 0);
inline double EchelleJoueur = Initial(&EchelleJoueur, 0);
inline bool TeamGame = Initial(&TeamGame, false);
inline std::array<rm::Vector, 5> SpawnPoints = Initial(&SpawnPoints, {});

// Sights and models.
inline std::shared_ptr<rm::Texture> TexViseur = Initial(&TexViseur, {});
inline std::shared_ptr<rm::Texture> TexSniper = Initial(&TexSniper, {});
inline std::shared_ptr<rm::Texture> TexViseurCourant = Initial(&TexViseurCourant, {});
inline std::array<std::shared_ptr<MDL>, 3> PlayerModels = Initial(&PlayerModels, {});
inline std::vector<std::shared_ptr<MDL>> WeaponModels = Initial(&WeaponModels, {});

// HUD.
inline std::string Message1 = Initial(&Message1, {});
inline std::string Message2 = Initial(&Message2, {});
inline bool AfficheInfos = Initial(&AfficheInfos, false);
inline bool ChatTyping = Initial(&ChatTyping, false);

// Puts every shared variable declared with `Initial`, here and in the other
// subsystems' headers, back to its initial value (for tests).
void ResetGameState();
