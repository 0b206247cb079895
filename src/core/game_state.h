#pragma once

// The state that the game's subsystems share for the whole run, as plain
// module-level variables that every subsystem reads and writes directly.
// Flags are bool; "no object" is an empty pointer. Objects are released by
// dropping the last reference.

#include "core/auto_new_array.h"
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
inline int32_t IndiceLocal = -1;
inline std::string ProductTitle;
inline int32_t IdSoft = 0;
inline std::string ReleaseVersion;
inline std::string CheminJeu;
inline bool SetupDone = false;
inline bool PartieEnCours = false;
inline bool QuitteJeu = false;

// Session and players.
inline std::shared_ptr<play::DirectPlay> DPlay;
inline int32_t IdLocalDP = 0;
inline std::array<int32_t, 9> IdsJoueurs{};
inline uint8_t NbJoueurs = 0;
inline std::string NomMap;
inline AutoNewArray<player, 9> Joueurs;

// Video settings chosen in the launcher.
inline int16_t ScreenMode = 0;
inline int32_t ScreenWidth = 0;
inline int32_t ScreenHeight = 0;
inline int16_t BitDepth = 0;
inline bool FullScreen = false;
inline std::string DDrawGuid;
inline std::string D3DDeviceGuid;
inline int32_t RenderQuality = 0;
inline int32_t TextureQuality = 0;
inline bool ModeBox = false;  // players drawn as their hit boxes, not skinned

// Local player's profile and career.
inline int32_t InverseSouris = 0;
inline std::string SkinLocal;
inline int32_t IdModeleLocal = 0;
inline int32_t StatKiller = 0;
inline int32_t StatKilled = 0;
inline int32_t StatSnipper = 0;
inline int32_t StatSnipped = 0;
inline int32_t WeaponPower = 0;

// 3D device and views.
inline std::shared_ptr<rm::DirectX7> DX7;
inline std::shared_ptr<rm::Direct3DRM> D3DRM;
inline std::shared_ptr<rm::Device> Device3D;
inline std::shared_ptr<rm::Surface> SurfPrimaire;
inline std::shared_ptr<rm::Surface> SurfArriere;
inline std::array<std::shared_ptr<rm::Viewport>, 4> Vues;
inline int32_t VueCourante = 0;
inline int32_t LargeurDevice = 0;
inline int32_t HauteurDevice = 0;
inline int32_t LargeurVue = 0;
inline int32_t HauteurVue = 0;

// Input.
inline std::shared_ptr<input::Device> DevClavier;
inline std::shared_ptr<input::Device> DevSouris;
inline std::array<bool, 257> PrevKeys{};

// Sound.
inline std::shared_ptr<sound::DirectSound> DSound;
inline std::shared_ptr<sound::Listener> DSListener;
inline std::array<std::shared_ptr<sound::Buffer>, 6> SonsJeu;

// Scene and level.
inline std::shared_ptr<rm::Frame> FrameScene;
inline std::shared_ptr<rm::Frame> FrameMonde;
inline std::shared_ptr<rm::Frame> FrameCamera;
inline std::shared_ptr<rm::Frame> FrameCouloir1;
inline std::shared_ptr<rm::Frame> FrameCouloir2;
inline std::shared_ptr<rm::Frame> FrameSols;
inline std::shared_ptr<rm::Frame> FrameMurs;
inline std::shared_ptr<rm::Frame> FramePlafonds;
inline std::shared_ptr<rm::Frame> FrameEchelles;
inline std::shared_ptr<rm::Frame> FrameSol1;
inline std::shared_ptr<rm::Frame> FrameMur1;
inline std::shared_ptr<rm::Frame> FramePlafond1;
inline std::shared_ptr<rm::Frame> FrameSol2;
inline std::shared_ptr<rm::Frame> FrameMur2;
inline std::shared_ptr<rm::Frame> FramePlafond2;
inline std::array<std::shared_ptr<rm::MeshBuilder>, 3> MeshCouloirs;
inline std::array<std::shared_ptr<rm::MeshBuilder>, 3> MeshEscaliers;
inline std::shared_ptr<rm::Frame> FrameJoueurs;
inline double SeuilSol = 0;
inline double EchelleJoueur = 0;
inline bool TeamGame = false;
inline std::array<rm::Vector, 5> SpawnPoints{};

// Sights and models.
inline std::shared_ptr<rm::Texture> TexViseur;
inline std::shared_ptr<rm::Texture> TexSniper;
inline std::shared_ptr<rm::Texture> TexViseurCourant;
inline std::array<std::shared_ptr<MDL>, 3> PlayerModels;
inline std::vector<std::shared_ptr<MDL>> WeaponModels;

// HUD.
inline std::string Message1;
inline std::string Message2;
inline bool AfficheInfos = false;
inline bool ChatTyping = false;

// Puts every variable above back to its initial value (for tests).
void ResetGameState();
