#include "core/game_sound.h"

#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/failure.h"
#include "platform/sound/direct_sound.h"
#include "platform/ui/event_loop.h"

namespace {
constexpr int32_t PrimaryWith3D = sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D;
constexpr int32_t StaticBuffer =
    sound::DSBCAPS_STATIC | sound::DSBCAPS_CTRLFREQUENCY | sound::DSBCAPS_CTRLPAN | sound::DSBCAPS_CTRLVOLUME;
constexpr int32_t Humiliation = 3;
}  // namespace

void InitDirectSound() {
    try {
        DSound = sound::DirectSoundCreate("");
        DSound->SetCooperativeLevel(GameWindow().hWnd(), sound::DSSCL_NORMAL);
        DSPrimaire = DSound->CreateSoundBuffer(PrimaryWith3D);
        DSListener = DSPrimaire->GetDirectSound3DListener();
        constexpr int32_t deferred = sound::DS3D_DEFERRED;
        DSListener->SetVelocity(0, 0, 0, deferred);
        DSListener->SetPosition(0, 0, 0, deferred);
        DSListener->SetDopplerFactor(1.0f, deferred);
        // One world unit counts as a centimetre.
        DSListener->SetDistanceFactor(0.01f, deferred);
        DSListener->SetRolloffFactor(0.1f, deferred);
        DSListener->SetOrientation(0, 0, 1, 0, 1, 0, deferred);
        DSPrimaire->Play(sound::DSBPLAY_LOOPING);
    } catch (...) {
    }
}

void ChargeSon(const std::string& fichier, const std::shared_ptr<sound::DirectSound>& ds,
               std::shared_ptr<sound::Buffer>& buffer, std::shared_ptr<sound::Buffer3D>& buffer3D, bool son3D) {
    if (!DSound) return;
    try {
        if (!ds) throw Failure(failure_number::ObjectNotSet, "No sound device to load the sound");
        buffer = ds->CreateSoundBufferFromFile(fichier, son3D ? StaticBuffer | sound::DSBCAPS_CTRL3D : StaticBuffer);
        if (!son3D) return;
        buffer3D = buffer->GetDirectSound3DBuffer();
        buffer3D->SetMode(sound::DS3DMODE_NORMAL, sound::DS3D_DEFERRED);
    } catch (...) {
    }
}

void JoueSonInfo(int32_t son) {
    skip([&] { son::Stop(SonsJeu[0]); });
    skip([&] { son::Stop(SonsJeu[1]); });
    if (son < 0 || son >= static_cast<int32_t>(SonsJeu.size())) return;
    skip([&] { son::Play(SonsJeu[son], 0); });
    skip([&] { son::SetCurrentPosition(SonsJeu[son], 0); });
    if (son == Humiliation) ui::DoEvents();
}
