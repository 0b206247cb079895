#pragma once

// Players built on the generated models in a scene as the game start makes
// it. The models load once per test program; each test gets fresh frames.

#include "player/player.h"
#include "support/play_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MDL;

class PlayerFixture : public testing::Test {
public:
    // Also for fixtures of another kind: the models, loaded once per suite,
    // and a test's fresh scene with them on "entrepot".
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    static void UseScene();

protected:
    void SetUp() override { UseScene(); }

    // Slot `slot` configured as the game start does it and built; `local`
    // makes it IndiceLocal. Failures of Initplayer pass to the test.
    player& Build(int32_t slot, bool local);
    // The same slot configured but not built.
    player& Configure(int32_t slot, bool local);

private:
    static std::shared_ptr<MDL> body_;
    static std::vector<std::shared_ptr<MDL>> weapons_;
};

// Players as above on a machine that hosts a session as "Ana" on a free
// port, the game's own session (DPlay, IdLocalDP), with an observer machine
// joined as "abc" that receives what this machine sends.
class SessionPlayerFixture : public PlayerFixture {
protected:
    void SetUp() override;

    play_test::Machine local_;
    play_test::Machine observer_;
};

// The scene and level frames with FrameJoueurs, on the generated game folder.
void MakePlayerScene(const std::string& gameFolder);
