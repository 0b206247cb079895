#include "core/map_level.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/texture_callback.h"
#include "platform/failure.h"
#include "platform/rm/direct3drm.h"
#include "platform/ui/message_box.h"
#include "scene_frames.h"
#include "support/program_ended.h"
#include "web/status_window.h"
#include "x_text_mesh.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <fstream>
#include <vector>

namespace {

const char* const kSkyNames[] = {"devant.bmp", "droite.bmp", "gauche.bmp", "derriere.bmp", "bas.bmp", "haut.bmp"};
const char* const kSkySuffixes[] = {"ft", "rt", "lf", "bk", "dn", "up"};

rm::MeshBuilderPtr OnlyMesh(const rm::FramePtr& frame) {
    if (frame->GetVisualCount() != 1) return nullptr;
    return std::dynamic_pointer_cast<rm::MeshBuilder>(frame->GetVisual(0));
}

// A game folder with one map folder, and the scene the game start makes
// before it loads a map-folder level.
class MapLevels : public testing::Test {
protected:
    QTemporaryDir game;
    std::vector<std::string> boxes;

    void SetUp() override {
        QDir(game.path()).mkpath("map/textures");
        QDir(game.path()).mkpath("map/env");
        CheminJeu = game.path().toStdString();
        for (int i = 0; i < 6; ++i)  // each sky face as wide as its place in the table, to tell them apart
            SavePicture(i + 1, Qt::darkBlue, std::string("map/env/sky") + kSkySuffixes[i] + ".bmp");
        SavePicture(4, Qt::red, "map/textures/brick.bmp");
        SavePicture(8, Qt::blue, "map/textures/{fence.bmp");
        SavePicture(8, Qt::blue, "map/textures/fence.bmp");
        std::vector<Quad> box;
        for (int i = 0; i < 6; ++i) box.push_back(WallQuad(-1, 1, -1, 1, 1, kSkyNames[i]));
        Save("map/boite.x", XFile(box));

        // 300 wide (x), 100 high (y), 100 deep (z), at scale 1.
        Save("map/yard.map", "sky\n1:2:3\n4:5:6\n7:8:9\n10:11:12\n13:14:15\n1\n");
        Save("map/yard.sol", XFile({FlatQuad(-150, 150, -50, 50, 0, "brick.bmp")}));
        Save("map/yard.mur", XFile({WallQuad(-150, 150, 0, 100, 50, "{fence.bmp"), WallQuad(-10, 10, 0, 10, 0)}));
        Save("map/yard.pla", XFile({FlatQuad(-20, 20, -20, 20, 60, "missing.bmp")}));
        Save("map/yard.lad", XFile({WallQuad(0, 1, 0, 10, -40, "fence.bmp")}));

        MakeSceneFrames();
        FrameEchelles = D3DRM->CreateFrame(FrameMurs);
        NomMap = "yard";
    }

    std::string Path(const std::string& relative) const {
        return game.filePath(QString::fromStdString(relative)).toStdString();
    }
    void Save(const std::string& relative, const std::string& text) const {
        std::ofstream(Path(relative), std::ios::binary) << text;
    }
    // The yard's files of the given kinds under another map name.
    void CopyYard(const std::string& name, std::initializer_list<const char*> parts) const {
        for (const char* part : parts)
            QFile::copy(QString::fromStdString(Path("map/yard" + std::string(part))),
                        QString::fromStdString(Path("map/" + name + part)));
    }
    void SavePicture(int width, Qt::GlobalColor colour, const std::string& relative) const {
        QImage picture(width, 2, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(QString::fromStdString(Path(relative)), "BMP"));
    }

    // Runs the loader expecting the missing-map message and the end.
    std::string RefusedWithMessage() {
        std::string prompt;
        ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
            prompt = box.prompt;
            return int{ui::vbOK};
        });
        EXPECT_THROW(ChargeCarte(), ProgramEnded);
        return prompt;
    }
};

TEST_F(MapLevels, LoadsEveryPartIntoItsFrame) {
    FrameMurs->SetPosition(nullptr, 0, 0, 0);
    ChargeCarte();
    EXPECT_EQ(SeuilSol, 50.0);
    EXPECT_FALSE(TeamGame);
    EXPECT_EQ(CielMap, "sky");
    EXPECT_EQ(SpawnPoints[3].z, 15);

    const auto floors = OnlyMesh(FrameSols), walls = OnlyMesh(FrameMurs), ceiling = OnlyMesh(FramePlafonds);
    const auto ladders = OnlyMesh(FrameEchelles), sky = OnlyMesh(FrameCouloir1);
    ASSERT_TRUE(floors && walls && ceiling && ladders && sky);
    EXPECT_EQ(floors->GetEnable(), 3);
    EXPECT_EQ(FrameSols->GetTraversalOptions(), 3);
    EXPECT_GT(floors->GetNormalCount(), 0);
    EXPECT_EQ(walls->GetFaceCount(), 2);
    EXPECT_EQ(FrameMurs->GetTraversalOptions(), 3);
    EXPECT_EQ(ladders->GetName(), "echelle");
    EXPECT_EQ(FrameEchelles->GetTraversalOptions(), 3);
    EXPECT_EQ(ceiling->GetEnable(), 1);
    EXPECT_EQ(FramePlafonds->GetTraversalOptions(), 1);
    EXPECT_EQ(FrameCouloir1->GetTraversalOptions(), 1);

    // The sky box is half the largest extent (300) on every axis.
    EXPECT_FLOAT_EQ(sky->GetBox().max.x, 150);
    EXPECT_FLOAT_EQ(sky->GetBox().max.y, 150);
    EXPECT_FLOAT_EQ(sky->GetBox().max.z, 150);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(sky->GetFace(i)->GetTexture()) << kSkyNames[i];
        EXPECT_EQ(sky->GetFace(i)->GetTexture()->GetWidth(), i + 1) << kSkyNames[i];
    }

    // Textures from the map's folder, a missing one leaving its face bare.
    EXPECT_EQ(floors->GetFace(0)->GetTexture()->GetWidth(), 4);
    EXPECT_TRUE(walls->GetFace(0)->GetTexture()->GetDecalTransparency());
    EXPECT_FALSE(ladders->GetFace(0)->GetTexture()->GetDecalTransparency());
    EXPECT_FALSE(ceiling->GetFace(0)->GetTexture());

    // The ceiling is drawn but a ray up through it hits nothing; down, the floor.
    EXPECT_EQ(FrameMonde->RayPick(FrameMonde, {{0, 1, 0}, {0, 30, 0}}).GetSize(), 0);
    rm::PickRecord record;
    const auto down = FrameMonde->RayPick(FrameMonde, {{0, -1, 0}, {0, 30, -30}});
    ASSERT_EQ(down.GetSize(), 1);
    EXPECT_EQ(down.GetPickVisual(0, record), floors);

    // The search path now serves the map folder.
    EXPECT_NO_THROW(D3DRM->LoadTexture("textures/brick.bmp"));
}

TEST_F(MapLevels, PointLightUnderTheCameraPlacedByTheWalls) {
    FrameMurs->SetPosition(nullptr, 100, 0, 0);
    FrameCamera->SetPosition(nullptr, 0, 0, 7);
    ChargeCarte();
    ASSERT_EQ(FrameCamera->GetChildCount(), 1);
    const rm::FramePtr light = FrameCamera->GetChild(0);
    ASSERT_EQ(light->Lights().size(), 1u);
    EXPECT_EQ(light->Lights()[0]->GetType(), rm::light_type::Point);
    EXPECT_FLOAT_EQ(light->Lights()[0]->GetColor().b, 0.7f);
    const rm::Vector world = light->GetPosition(nullptr);
    EXPECT_FLOAT_EQ(world.x, 101);
    EXPECT_FLOAT_EQ(world.y, 2);
    EXPECT_FLOAT_EQ(world.z, 3);
}

TEST_F(MapLevels, ScaleAppliesToEveryLevelMesh) {
    Save("map/yard.map", "sky\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n");
    ChargeCarte();
    EXPECT_FLOAT_EQ(OnlyMesh(FrameSols)->GetBox().max.x, 150 * 24);
    EXPECT_FLOAT_EQ(OnlyMesh(FrameMurs)->GetBox().max.y, 100 * 24);
    EXPECT_FLOAT_EQ(OnlyMesh(FramePlafonds)->GetBox().max.y, 60 * 24);
    EXPECT_FLOAT_EQ(OnlyMesh(FrameEchelles)->GetBox().max.y, 10 * 24);
    EXPECT_FLOAT_EQ(OnlyMesh(FrameCouloir1)->GetBox().max.x, 150 * 24);
}

TEST_F(MapLevels, SnipperInAnyCaseMakesATeamGame) {
    for (const char* name : {"snipper", "Big_SniPPer-2", "SNIPPER"}) {
        CopyYard(name, {".map", ".sol", ".mur", ".pla"});
        NomMap = name;
        TeamGame = false;
        ChargeCarte();
        EXPECT_TRUE(TeamGame) << name;
    }
    NomMap = "snip_per";
    Save("map/snip_per.map", "sky\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n");
    CopyYard("snip_per", {".sol", ".mur", ".pla"});
    ChargeCarte();
    EXPECT_FALSE(TeamGame);
}

TEST_F(MapLevels, WithoutLadderFileNoLadders) {
    QFile::remove(QString::fromStdString(Path("map/yard.lad")));
    ChargeCarte();
    EXPECT_EQ(FrameEchelles->GetVisualCount(), 0);
}

TEST_F(MapLevels, WithoutLadderFrameTheLevelLoadsAndItsLadderIsLeftOut) {
    const rm::Ray towardsTheLadder{{0, 0, -1}, {0.5f, 5, -30}};
    FrameMurs->DeleteChild(FrameEchelles);
    FrameEchelles = nullptr;
    ChargeCarte();
    EXPECT_TRUE(OnlyMesh(FrameSols) && OnlyMesh(FrameMurs) && OnlyMesh(FramePlafonds) && OnlyMesh(FrameCouloir1));
    EXPECT_EQ(FrameMonde->RayPick(FrameMonde, towardsTheLadder).GetSize(), 0);
    EXPECT_EQ(FrameMurs->GetChildCount(), 0);
}

TEST_F(MapLevels, VillageLosesItsTwoFacesWhenItHasThem) {
    std::vector<Quad> many;
    for (int i = 0; i < 4800; ++i) many.push_back(WallQuad(float(i), float(i) + 0.5f, 0, 1, 0));
    CopyYard("Village", {".map", ".sol", ".pla"});
    Save("map/Village.mur", XFile(many));
    NomMap = "Village";
    ChargeCarte();
    const auto walls = OnlyMesh(FrameMurs);
    ASSERT_EQ(walls->GetFaceCount(), 4798);
    const auto firstCornerX = [&](int32_t face) {
        return walls->GetVertex(walls->GetFace(face)->Corners()[0].vertex).x;
    };
    EXPECT_EQ(firstCornerX(4787), 4787);
    EXPECT_EQ(firstCornerX(4788), 4789);  // 4788 gone
    EXPECT_EQ(firstCornerX(4793), 4794);
    EXPECT_EQ(firstCornerX(4794), 4796);  // 4795 gone
}

TEST_F(MapLevels, VillageWithFewerFacesLoadsAsItIs) {
    CopyYard("VILLAGE", {".map", ".sol", ".mur", ".pla"});
    NomMap = "VILLAGE";
    ChargeCarte();
    EXPECT_EQ(OnlyMesh(FrameMurs)->GetFaceCount(), 2);
}

TEST_F(MapLevels, BrokenMapFilesAndMeshesPassTheirFailureUp) {
    Save("map/yard.map", "sky\n1:2:3\n4:5:6\n7:8:9\n10:11:12\n");
    EXPECT_THROW(ChargeCarte(), Failure);
    Save("map/yard.map", "sky\n1:2:3\n4:5:6\nseven:8:9\n10:11:12\n13:14:15\n");
    EXPECT_THROW(ChargeCarte(), Failure);
    EXPECT_EQ(FrameSols->GetVisualCount(), 0);  // it left before the meshes

    Save("map/yard.map", "sky\n1:2:3\n4:5:6\n7:8:9\n10:11:12\n13:14:15\n");
    QFile::remove(QString::fromStdString(Path("map/yard.mur")));
    EXPECT_THROW(ChargeCarte(), Failure);
}

// With no web host set the download fails, and the failure passes on.
TEST_F(MapLevels, AMissingMapIsDownloadedFirst) {
    NomMap = "harbour";
    try {
        ChargeCarte();
        ADD_FAILURE() << "loaded";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Description().find("/quellmar/map/harbour.exe"), std::string::npos) << failure.Description();
    }
    EXPECT_EQ(FrameSols->GetVisualCount(), 0);
    EXPECT_FALSE(StatusWindow().IsLoaded());
    EXPECT_TRUE(GameWindow().Enabled());
    GameWindow().Unload();
}

TEST_F(MapLevels, NameThatIsNoPlainFileNameIsRefused) {
    // Each would reach an existing .map file if it were used in a path.
    Save("outside.map", "sky\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n");
    QDir(game.path()).mkpath("map/sub");
    Save("map/sub/yard.map", "sky\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n");
    for (const std::string name : {"../outside", "sub/yard", "sub\\yard", "..", "", "yard ", "yard.map"}) {
        NomMap = name;
        EXPECT_NE(RefusedWithMessage().find("dezipper le fichier"), std::string::npos) << name;
        EXPECT_EQ(FrameSols->GetVisualCount(), 0) << name;
    }
    for (const char* plain : {"yard", "Big_Map-2", "0"}) EXPECT_TRUE(IsPlainMapName(plain)) << plain;
}

TEST_F(MapLevels, TextureCallbackTable) {
    CielMap = "sky";
    Class1 callback;
    const auto load = [&](const std::string& name) {
        return callback.Direct3DRMLoadTextureCallback3_CallbackRMLoadTexture(name);
    };
    for (int i = 0; i < 6; ++i) {
        const rm::TexturePtr face = load(kSkyNames[i]);
        ASSERT_TRUE(face) << kSkyNames[i];
        EXPECT_EQ(face->GetWidth(), i + 1) << kSkyNames[i];
    }
    const rm::TexturePtr keyed = load("{fence.bmp");
    ASSERT_TRUE(keyed);
    EXPECT_TRUE(keyed->GetDecalTransparency());
    EXPECT_EQ(keyed->GetDecalTransparentColor() & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(keyed->Picture().pixelColor(0, 0).alpha(), 0);  // blue texels are not drawn
    const rm::TexturePtr opaque = load("fence.bmp");
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(opaque->GetDecalTransparency());

    EXPECT_FALSE(load("missing.bmp"));
    EXPECT_FALSE(load("{missing.bmp"));
    EXPECT_FALSE(load("Devant.bmp"));  // names match exactly; not in textures
    CielMap = "other";                 // a sky set that is not there
    EXPECT_FALSE(load("devant.bmp"));
}

// Names from a downloaded map that would reach pictures outside the game's
// map folders load nothing, though the pictures are there.
TEST_F(MapLevels, TextureNamesAndSkyPrefixesThatAreNoPlainNamesLoadNothing) {
    QDir(game.path()).mkpath("outside");
    SavePicture(3, Qt::red, "outside/secret.bmp");
    for (const char* suffix : kSkySuffixes) SavePicture(3, Qt::red, std::string("outside/evilsky") + suffix + ".bmp");
    Class1 callback;
    const auto load = [&](const std::string& name) {
        return callback.Direct3DRMLoadTextureCallback3_CallbackRMLoadTexture(name);
    };
    for (const char* name : {"../../outside/secret.bmp", "..\\..\\outside\\secret.bmp", "{../../outside/secret.bmp",
                             "textures/../../../outside/secret.bmp", "/etc/passwd", "fence.bmp/", "fence..bmp"})
        EXPECT_FALSE(load(name)) << name;
    for (const char* prefix : {"../../outside/evilsky", "..\\..\\outside\\evilsky"}) {
        CielMap = prefix;
        EXPECT_FALSE(load("devant.bmp")) << prefix;
    }
    CielMap = "sky";
    EXPECT_TRUE(load("devant.bmp"));
    EXPECT_TRUE(load("fence.bmp"));
}

TEST(SampleMap, LoadsInFull) {
    CheminJeu = QUELLMAR_GAME_DIR;
    NomMap = "docks";
    MakeSceneFrames();
    FrameEchelles = D3DRM->CreateFrame(FrameMurs);
    ChargeCarte();

    EXPECT_FALSE(TeamGame);
    for (const rm::FramePtr& frame : {FrameSols, FrameMurs, FramePlafonds, FrameEchelles, FrameCouloir1}) {
        const auto mesh = OnlyMesh(frame);
        ASSERT_TRUE(mesh);
        ASSERT_GT(mesh->GetFaceCount(), 0);
        for (const rm::FacePtr& face : mesh->Faces()) ASSERT_TRUE(face->GetTexture());
    }
    EXPECT_EQ(OnlyMesh(FrameEchelles)->GetName(), "echelle");
    bool keyed = false;
    for (const rm::FacePtr& face : OnlyMesh(FrameMurs)->Faces())
        keyed = keyed || face->GetTexture()->GetDecalTransparency();
    EXPECT_TRUE(keyed);  // the fence
    // The sky box encloses the level.
    const rm::Box level = FrameSols->GetHierarchyBox(), sky = OnlyMesh(FrameCouloir1)->GetBox();
    EXPECT_GE(sky.max.x, level.max.x);
    EXPECT_LE(sky.min.z, level.min.z);
}

}  // namespace
