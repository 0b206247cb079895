#include "core/game_state.h"
#include "core/object_ref.h"
#include "platform/failure.h"
#include "player/player.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <random>

namespace {

// The eleven points of each built-in level. On "couloirs" they are relative
// to the corridor copy of the player's team, on "entrepot" to the walls.
constexpr std::array<rm::Vector, 11> kCouloirsSpawns = {{
    {6.568459f, -3, 5.590749f},
    {61.29934f, -3, -7.766153f},
    {7.715461f, -3, -22.40472f},
    {62.894f, -3, -38.85555f},
    {4.783217f, -3, -52.10814f},
    {60.96455f, -3, -68.15862f},
    {7.151272f, -3, -83.69406f},
    {62.3031f, -3, -100.6524f},
    {7.021965f, -3, -114.4849f},
    {63.46053f, -3, -127.5947f},
    {5.458971f, -3, -141.0415f},
}};
constexpr std::array<rm::Vector, 11> kEntrepotSpawns = {{
    {70.12493f, 4.761224f, 64.86935f},
    {5.066369f, 4.503484f, 63.06583f},
    {-58.96852f, 5.871279f, 61.85323f},
    {-58.05945f, 4.411825f, -65.318f},
    {6.515453f, 4.473571f, -63.73947f},
    {71.28043f, 6.351606f, -63.36874f},
    {9.286125f, -24.28041f, -11.95823f},
    {-5.800889f, -24.17529f, 6.076867f},
    {-56.35686f, -24.49127f, 66.2188f},
    {38.86509f, -23.54429f, 69.43626f},
    {35.92865f, -24.60334f, -71.76601f},
}};

// The random numbers of one spawn: the replaced source, or a generator
// seeded from the nanosecond clock now.
class SpawnDraws {
public:
    SpawnDraws() : generator_(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}
    double Next() { return SpawnRandom ? SpawnRandom() : std::generate_canonical<double, 53>(generator_); }

private:
    std::mt19937_64 generator_;
};

void PutAt(const rm::FramePtr& joueur, const rm::FramePtr& reference, const rm::Vector& point) {
    Ref(joueur).SetPosition(reference, point.x, point.y, point.z);
}

// One of the level's four points, each as likely.
int32_t FreeGameSlot(double draw) {
    const int32_t slot = static_cast<int32_t>(std::floor((std::floor(draw * 40 + 1) - 1) / 10));
    return slot < 0 || slot > 4 ? 3 : slot;
}

}  // namespace

void player::PlaceJoueur() {
    SpawnDraws draws;
    const auto row = std::clamp(static_cast<int32_t>(std::floor(draws.Next() * 11 + 1)), 1, 11);
    if (NomMap == "couloirs") {
        PutAt(joueur, IdModele == 0 ? FrameCouloir1 : FrameCouloir2, kCouloirsSpawns[size_t(row - 1)]);
        return;
    }
    if (NomMap == "entrepot") {
        PutAt(joueur, FrameMurs, kEntrepotSpawns[size_t(row - 1)]);
        return;
    }
    // A map folder's level: a point that cannot be used leaves the player
    // where it was.
    if (!TeamGame) {
        int32_t slot = 0;
        skip([&] { slot = FreeGameSlot(draws.Next()); });
        skip([&] { PutAt(joueur, FrameMurs, SpawnPoints.at(size_t(slot))); });
        // Sets the player on a floor within reach; the result does not matter.
        skip([&] { lance_une_RAY(joueur); });
        return;
    }
    // Each team alternates between two points of its own, 3 and 0 or 2 and 1.
    skip([&] {
        if (IdModele == 0)
            posavant = posavant == 0 ? 3 : 0;
        else
            posavant = posavant == 2 ? 1 : 2;
    });
    skip([&] { PutAt(joueur, FrameMurs, SpawnPoints.at(size_t(posavant))); });
}
