#include "platform/failure.h"
#include "scene_fixture.h"

#include <gmock/gmock.h>
#include <zlib.h>

#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace rm;
using namespace rm_test;

namespace {

const std::string kFixtures = RM_FIXTURES;

std::string Text(const std::string& body) { return "xof 0303txt 0032\n" + body; }

// The binary form, token by token.
class Binary {
public:
    Binary& Name(std::string_view name) { return Token(1).DWord(uint32_t(name.size())).Bytes(name); }
    Binary& String(std::string_view text) { return Token(2).DWord(uint32_t(text.size())).Bytes(text).Token(20); }
    Binary& Open() { return Token(10); }
    Binary& Close() { return Token(11); }
    Binary& Ints(const std::vector<uint32_t>& values) {
        Token(6).DWord(uint32_t(values.size()));
        for (uint32_t value : values) DWord(value);
        return *this;
    }
    Binary& Floats(const std::vector<float>& values) {
        Token(7).DWord(uint32_t(values.size()));
        for (float value : values) Bytes({reinterpret_cast<const char*>(&value), 4});
        return *this;
    }
    Binary& Token(uint16_t token) { return Bytes({reinterpret_cast<const char*>(&token), 2}); }
    Binary& DWord(uint32_t value) { return Bytes({reinterpret_cast<const char*>(&value), 4}); }
    Binary& Bytes(std::string_view bytes) {
        body_ += bytes;
        return *this;
    }
    std::string File() const { return "xof 0303bin 0032" + body_; }

private:
    std::string body_;
};

// A file's compressed form, in blocks of `block` bytes, each one's window the
// block before it.
std::string Compress(const std::string& plain, size_t block) {
    std::string file = plain.substr(0, 16);
    file.replace(8, 4, plain.compare(8, 4, "bin ") == 0 ? "bzip" : "tzip");
    const uint32_t size = uint32_t(plain.size());
    file.append(reinterpret_cast<const char*>(&size), 4);
    for (size_t start = 16; start < plain.size(); start += block) {
        z_stream stream{};
        deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        if (start > 16)
            deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(plain.data() + start - block), uInt(block));
        const std::string piece = plain.substr(start, block);
        std::string packed(deflateBound(&stream, uLong(piece.size())), '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = uInt(piece.size());
        stream.next_out = reinterpret_cast<Bytef*>(packed.data());
        stream.avail_out = uInt(packed.size());
        deflate(&stream, Z_FINISH);
        packed.resize(packed.size() - stream.avail_out);
        deflateEnd(&stream);
        const uint16_t sizes[2] = {uint16_t(piece.size()), uint16_t(packed.size() + 2)};
        file.append(reinterpret_cast<const char*>(sizes), 4).append("CK").append(packed);
    }
    return file;
}

// A cube of 24 vertices (four a side, each side with its own normal) and 12
// triangles whose materials alternate face by face.
struct Cube {
    std::array<Vector, 24> positions;
    std::array<std::array<uint32_t, 3>, 12> faces;
    static constexpr std::array<Vector, 6> kNormals = {Vector{-1, 0, 0}, Vector{1, 0, 0},  Vector{0, -1, 0},
                                                       Vector{0, 1, 0},  Vector{0, 0, -1}, Vector{0, 0, 1}};

    Cube() {
        static constexpr int kSides[6][4] = {{0, 2, 6, 4}, {1, 5, 7, 3}, {0, 4, 5, 1},
                                             {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 6, 7, 5}};
        for (uint32_t side = 0; side < 6; ++side) {
            for (int k = 0; k < 4; ++k) {
                const int c = kSides[side][k];
                positions[side * 4 + k] = {c & 1 ? 1.f : -1.f, c & 2 ? 1.f : -1.f, c & 4 ? 1.f : -1.f};
            }
            faces[side * 2] = {side * 4, side * 4 + 1, side * 4 + 2};
            faces[side * 2 + 1] = {side * 4, side * 4 + 2, side * 4 + 3};
        }
    }
    static const char* MaterialOf(size_t face) { return face % 2 ? "Blue" : "Red"; }
    static std::array<float, 2> Coordinates(size_t vertex) {
        return {float(vertex % 4 / 2), float((vertex + 1) % 4 / 2)};
    }

    // With every other object the importer reads: templates, comments, a
    // header, vertex colours, skin weights, an animation.
    std::string TextFile(const std::string& extraMeshChild = "") const {
        std::ostringstream x;
        x << "template Vector {\n <3d82ab5e-62da-11cf-ab39-0020af71e433>\n FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n"
          << "Header { 1; 0; 1; }  // a comment { with braces\n# another }\n"
          << "Material Red { 1.0;0.0;0.0;1.0;; 10.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
          << "Material Blue { 0.0;0.0;1.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"a {b}.bmp\"; } }\n"
          << "Frame Cube {\n Mesh CubeMesh {\n  24;\n";
        for (size_t v = 0; v < 24; ++v)
            x << positions[v].x << ";" << positions[v].y << ";" << positions[v].z << ";" << (v < 23 ? "," : ";")
              << "\n";
        x << "  12;\n";
        for (size_t f = 0; f < 12; ++f)
            x << "3;" << faces[f][0] << "," << faces[f][1] << "," << faces[f][2] << ";" << (f < 11 ? "," : ";") << "\n";
        x << "  MeshNormals { 6;";
        for (size_t n = 0; n < 6; ++n)
            x << kNormals[n].x << ";" << kNormals[n].y << ";" << kNormals[n].z << ";" << (n < 5 ? "," : ";");
        x << " 12;";
        for (size_t f = 0; f < 12; ++f)
            x << "3;" << f / 2 << "," << f / 2 << "," << f / 2 << ";" << (f < 11 ? "," : ";");
        x << " }\n  MeshTextureCoords { 24;";
        for (size_t v = 0; v < 24; ++v)
            x << Coordinates(v)[0] << ";" << Coordinates(v)[1] << ";" << (v < 23 ? "," : ";");
        x << " }\n  MeshVertexColors { 24;";
        for (size_t v = 0; v < 24; ++v) x << v << ";1.0;1.0;1.0;1.0;;" << (v < 23 ? "," : ";");
        x << " }\n  MeshMaterialList { 2; 12;";
        for (size_t f = 0; f < 12; ++f) x << f % 2 << (f < 11 ? "," : ";;");
        x << " {Red} { Blue } }\n  VertexDuplicationIndices { 24; 24; 0; }\n  XSkinMeshHeader { 1; 1; 1; }\n"
          << "  SkinWeights { \"Cube\"; 2; 0, 23; 0.5, 1.0; "
          << "1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }\n"
          << extraMeshChild << " }\n}\n"
          << "AnimTicksPerSecond { 24; }\nAnimationSet Turn { Animation { {Cube}\n"
          << "  AnimationKey { 0; 2; 0;4;1.0,0.0,0.0,0.0;;, 10;4;1.0,0.0,0.0,0.0;;; }\n"
          << "  AnimationKey { 2; 1; 0;3;1.0,2.0,3.0;;; }\n  AnimationOptions { 1; 0; } } }\n";
        return Text(x.str());
    }

    std::string BinaryFile() const {
        std::vector<float> points, normals, coordinates;
        std::vector<uint32_t> corners = {12}, normalCorners = {12}, materials = {2, 12};
        for (const Vector& p : positions) points.insert(points.end(), {p.x, p.y, p.z});
        for (const Vector& n : kNormals) normals.insert(normals.end(), {n.x, n.y, n.z});
        for (size_t v = 0; v < 24; ++v) coordinates.insert(coordinates.end(), {Coordinates(v)[0], Coordinates(v)[1]});
        for (size_t f = 0; f < 12; ++f) {
            corners.insert(corners.end(), {3, faces[f][0], faces[f][1], faces[f][2]});
            normalCorners.insert(normalCorners.end(), {3, uint32_t(f / 2), uint32_t(f / 2), uint32_t(f / 2)});
            materials.push_back(uint32_t(f % 2));
        }
        Binary b;
        b.Name("Material").Name("Red").Open().Floats({1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0}).Close();
        b.Name("Material").Name("Blue").Open().Floats({0, 0, 1, 1, 5, 0, 0, 0, 0, 0, 0});
        b.Name("TextureFilename").Open().String("a {b}.bmp").Close().Close();
        b.Name("Frame")
            .Name("Cube")
            .Open()
            .Name("Mesh")
            .Name("CubeMesh")
            .Open()
            .Ints({24})
            .Floats(points)
            .Ints(corners);
        b.Name("MeshNormals").Open().Ints({6}).Floats(normals).Ints(normalCorners).Close();
        b.Name("MeshTextureCoords").Open().Ints({24}).Floats(coordinates).Close();
        b.Name("MeshMaterialList")
            .Open()
            .Ints(materials)
            .Open()
            .Name("Red")
            .Close()
            .Open()
            .Name("Blue")
            .Close()
            .Close();
        b.Name("SkinWeights")
            .Open()
            .String("Cube")
            .Ints({2, 0, 23})
            .Floats({0.5f, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
        b.Close().Close().Close();
        return b.File();
    }

    // Face i of `builder` is the file's face `fileFaces[i]`: its corners in
    // their order, and its material.
    void ExpectFaces(const MeshBuilder& builder, const std::vector<size_t>& fileFaces) const {
        ASSERT_EQ(builder.GetFaceCount(), int32_t(fileFaces.size()));
        for (size_t i = 0; i < fileFaces.size(); ++i) {
            const FacePtr face = builder.GetFace(int32_t(i));
            ASSERT_EQ(face->GetVertexCount(), 3) << "face " << i;
            for (size_t k = 0; k < 3; ++k)
                ExpectNear(builder.GetVertex(face->Corners()[k].vertex), positions[faces[fileFaces[i]][k]]);
            EXPECT_EQ(face->GetMaterial()->GetName(), MaterialOf(fileFaces[i])) << "face " << i;
        }
    }
};

void Save(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class XFiles : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);
    std::map<std::string, int> asked;
    TexturePtr brick = Texture::FromImage(QImage(4, 4, QImage::Format_RGB32));

    TextureCallback Callback() {
        return [this](const std::string& name) -> TexturePtr {
            ++asked[name];
            return name == "brick.bmp" ? brick : nullptr;
        };
    }
};

TEST_F(XFiles, IntoAFrameOneChildPerFileFrame) {
    d3drm.SetSearchPath("/nonexistent;" + kFixtures);
    scene->LoadFromFile("two_frames.x", Callback());
    ASSERT_EQ(scene->GetChildCount(), 2);
    const FramePtr first = scene->GetChild(0), second = scene->GetChild(1);
    EXPECT_EQ(first->GetName(), "First");
    EXPECT_EQ(second->GetName(), "Second");
    ExpectNear(first->GetPosition(scene), {10, 0, 0});
    ASSERT_EQ(first->GetChildCount(), 1);
    EXPECT_EQ(first->GetChild(0)->GetName(), "Inner");

    const auto quad = std::dynamic_pointer_cast<MeshBuilder>(first->GetVisual(0));
    ASSERT_TRUE(quad);
    ASSERT_EQ(quad->GetVertexCount(), 4);
    ExpectNear(quad->GetVertex(2), {1, 1, 0});  // in the frame's own coordinates
    float u, v;
    quad->GetTextureCoordinates(3, u, v);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(v, 0.25f);
    ASSERT_EQ(quad->GetFaceCount(), 1);
    const FacePtr face = quad->GetFace(0);
    EXPECT_EQ(face->GetVertexCount(), 4);
    EXPECT_EQ(face->Corners()[1].vertex, 1);  // the file's corner order
    EXPECT_EQ(face->GetTexture(), brick);
    EXPECT_EQ(face->GetColor(), 0xFFFF0000u);
    EXPECT_EQ(face->GetMaterial()->GetPower(), 10);

    // Each name is asked for once; the one the callback does not know
    // leaves its faces untextured.
    EXPECT_EQ(asked, (std::map<std::string, int>{{"brick.bmp", 1}, {"missing.bmp", 1}}));
    const auto inner = std::dynamic_pointer_cast<MeshBuilder>(first->GetChild(0)->GetVisual(0));
    EXPECT_EQ(inner->GetFace(0)->GetTexture(), nullptr);

    // The loaded meshes are pickable where the file put them.
    PickRecord record;
    const PickArray picks = scene->RayPick(nullptr, {{0, 0, 1}, {10.2f, 0.2f, -1}});
    ASSERT_GE(picks.GetSize(), 2);
    EXPECT_EQ(picks.GetPickVisual(0, record), quad);
}

TEST_F(XFiles, IntoAMeshBuilderAllMeshesMerged) {
    d3drm.SetSearchPath(kFixtures);
    const auto builder = d3drm.CreateMeshBuilder();
    builder->LoadFromFile("\\two_frames.x", Callback());
    EXPECT_EQ(builder->GetVertexCount(), 10);
    EXPECT_EQ(builder->GetFaceCount(), 3);
    ExpectNear(builder->GetVertex(4), {10, 0, 5});  // Inner, through First's transform
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(XFiles, BinaryFilesAndMeshesWithoutMaterial) {
    scene->LoadFromFile(kFixtures + "/solo_binary.x");
    ASSERT_EQ(scene->GetChildCount(), 1);
    const FramePtr solo = scene->GetChild(0);
    EXPECT_EQ(solo->GetName(), "Solo");
    const auto mesh = std::dynamic_pointer_cast<MeshBuilder>(solo->GetVisual(0));
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->GetVertexCount(), 3);
    ExpectNear(mesh->GetVertex(1), {0, 1, 2});
    EXPECT_EQ(mesh->GetFace(0)->GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(mesh->GetFace(0)->GetMaterial(), nullptr);
}

TEST_F(XFiles, TexturesFromTheSearchPathWithoutACallback) {
    QTemporaryDir folder;
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(folder.filePath("brick.bmp")));
    d3drm.SetSearchPath(kFixtures + ";" + folder.path().toStdString());
    const auto builder = d3drm.CreateMeshBuilder();
    builder->LoadFromFile("two_frames.x");
    ASSERT_TRUE(builder->GetFace(0)->GetTexture());
    EXPECT_EQ(builder->GetFace(0)->GetTexture()->GetWidth(), 2);
    EXPECT_EQ(builder->GetFace(1)->GetTexture(), nullptr);  // missing.bmp
}

TEST_F(XFiles, MissingAndMalformedFilesFailAndLeaveTheBuilderAlone) {
    d3drm.SetSearchPath(kFixtures);
    const auto builder = Quad(d3drm, 0);
    EXPECT_THROW(builder->LoadFromFile("nothing.x"), Failure);
    EXPECT_THROW(builder->LoadFromFile("broken.x"), Failure);
    EXPECT_THROW(scene->LoadFromFile("broken.x"), Failure);
    EXPECT_EQ(builder->GetVertexCount(), 4);
    EXPECT_EQ(scene->GetChildCount(), 0);

    QTemporaryDir folder;
    QFile garbage(folder.filePath("garbage.x"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("xof 0303bin 0032\x01\x02\x03", 19);
    garbage.close();
    EXPECT_THROW(builder->LoadFromFile(garbage.fileName().toStdString()), Failure);
}

TEST_F(XFiles, SplitMaterialsComeBackInFileFaceOrderInEveryForm) {
    const Cube cube;
    std::vector<size_t> all(12);
    for (size_t f = 0; f < 12; ++f) all[f] = f;
    const std::pair<const char*, std::string> forms[] = {
        {"text", cube.TextFile()},
        {"binary", cube.BinaryFile()},
        {"compressed text", Compress(cube.TextFile(), 64)},
        {"compressed binary", Compress(cube.BinaryFile(), 64)},
    };
    QTemporaryDir folder;
    for (const auto& [form, bytes] : forms) {
        SCOPED_TRACE(form);
        const std::string path = folder.filePath("cube.x").toStdString();
        Save(path, bytes);
        asked.clear();

        const auto builder = d3drm.CreateMeshBuilder();
        builder->LoadFromFile(path, Callback());
        EXPECT_EQ(builder->GetVertexCount(), 24);  // shared across the materials as in the file
        cube.ExpectFaces(*builder, all);
        EXPECT_EQ(asked, (std::map<std::string, int>{{"a {b}.bmp", 1}}));
        builder->DeleteFace(builder->GetFace(5));
        std::vector<size_t> without5 = all;
        without5.erase(without5.begin() + 5);
        cube.ExpectFaces(*builder, without5);

        const FramePtr root = d3drm.CreateFrame(nullptr);
        root->LoadFromFile(path, Callback());
        ASSERT_EQ(root->GetChildCount(), 1);
        const auto inFrame = std::dynamic_pointer_cast<MeshBuilder>(root->GetChild(0)->GetVisual(0));
        ASSERT_TRUE(inFrame);
        EXPECT_EQ(inFrame->GetVertexCount(), 24);
        cube.ExpectFaces(*inFrame, all);
    }
}

TEST_F(XFiles, MeshesOutsideAnyFrameGoToTheLoadingFrameItself) {
    const std::string loose = "Mesh Loose { 3; 0.0;0.0;1.0;, 0.0;1.0;1.0;, 1.0;0.0;1.0;; 1; 3;0,1,2;; }\n";
    const std::string top =
        "Frame Top { FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,10.0,0.0,0.0,1.0;; }\n"
        " Mesh Own { 3; 0.0;0.0;2.0;, 0.0;1.0;2.0;, 1.0;0.0;2.0;; 1; 3;0,1,2;; } }\n";
    QTemporaryDir folder;
    const std::string alone = folder.filePath("alone.x").toStdString();
    const std::string beside = folder.filePath("beside.x").toStdString();
    Save(alone, Text(loose));
    Save(beside, Text(top + loose));

    scene->LoadFromFile(alone);
    EXPECT_EQ(scene->GetChildCount(), 0);
    ASSERT_EQ(scene->GetVisualCount(), 1);
    ExpectNear(std::dynamic_pointer_cast<MeshBuilder>(scene->GetVisual(0))->GetVertex(0), {0, 0, 1});

    // Beside a single top frame, which keeps its own mesh and does not carry
    // the loose one.
    const FramePtr other = d3drm.CreateFrame(nullptr);
    other->LoadFromFile(beside);
    ASSERT_EQ(other->GetChildCount(), 1);
    EXPECT_EQ(other->GetChild(0)->GetName(), "Top");
    ExpectNear(std::dynamic_pointer_cast<MeshBuilder>(other->GetChild(0)->GetVisual(0))->GetVertex(0), {0, 0, 2});
    ASSERT_EQ(other->GetVisualCount(), 1);
    ExpectNear(std::dynamic_pointer_cast<MeshBuilder>(other->GetVisual(0))->GetVertex(0), {0, 0, 1});

    const auto builder = d3drm.CreateMeshBuilder();
    builder->LoadFromFile(beside);
    ASSERT_EQ(builder->GetVertexCount(), 6);
    ExpectNear(builder->GetVertex(0), {0, 0, 1});
    ExpectNear(builder->GetVertex(3), {10, 0, 2});
}

// Each crashed the importer, corrupted its memory or ran it out of memory.
TEST_F(XFiles, HostileFilesFailClearlyBeforeTheImporterReadsThem) {
    const std::string triangle = "3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n";
    std::string nested;
    for (int i = 0; i < 50000; ++i) nested += "Frame F {\n";
    nested += "Mesh M { " + triangle + " 1; 3;0,1,2;; }\n" + std::string(50000, '}');
    Binary binaryNested;
    for (int i = 0; i < 50000; ++i) binaryNested.Name("Frame").Open();
    Binary listPastEnd;
    listPastEnd.Name("Frame").Open().Name("Mesh").Open().Token(6).DWord(1000000).DWord(3);
    std::string damaged = Compress(Cube().TextFile(), 4096);
    damaged[40] = char(~damaged[40]);
    damaged[41] = char(~damaged[41]);

    const struct {
        const char* name;
        std::string bytes;
        const char* failure;
    } cases[] = {
        {"skin weight off the mesh",
         Cube().TextFile("SkinWeights { \"Cube\"; 1; 1000000; 1.0; "
                         "1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }"),
         "a skin weight names vertex 1000000 of 24"},
        {"face corner one past the vertices", Text("Mesh M { " + triangle + " 1; 3;0,1,3;; }"),
         "a face names vertex 3 of 3"},
        {"50,000 nested frames", Text(nested), "nested deeper than 256 levels"},
        {"50,000 nested binary frames", binaryNested.File(), "nested deeper than 256 levels"},
        {"100,000,000 vertices in a few bytes",
         Text("Frame F { Mesh M { 100000000; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; } }"),
         "declares 100000000 vertices"},
        {"binary list past the end", listPastEnd.File(), "runs past the end"},
        {"material beyond the list",
         Text("Mesh M { " + triangle + " 1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; {A} {B} } }"),
         "a face uses material 1 of a list of 1"},
        {"material beyond the materials given",
         Text("Mesh M { " + triangle + " 1; 3;0,1,2;; MeshMaterialList { 2; 1; 1;; {A} } }"),
         "a face uses material 1 of a list of 1"},
        {"material list without faces", Text("Mesh M { 0; 0; MeshMaterialList { 1; 1; 0;; {A} } }"),
         "material list is given for another number of faces"},
        {"two material lists",
         Text("Mesh M { " + triangle +
              " 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; {A} } "
              "MeshMaterialList { 1; 1; 0;; {A} } }"),
         "two material lists"},
        {"damaged compressed block", damaged, "compressed block is damaged"},
        // The importer reads nothing of the header's line but what follows it.
        {"material list without materials after the header's line",
         "xof 0303txt 0032 Skipped {\nMesh M { " + triangle + " 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; } }\n",
         "a face uses material 0 of a list of 0"},
    };
    QTemporaryDir folder;
    const auto builder = Quad(d3drm, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.filePath("hostile.x").toStdString();
        Save(path, c.bytes);
        for (const bool intoFrame : {false, true}) {
            try {
                intoFrame ? scene->LoadFromFile(path) : builder->LoadFromFile(path);
                ADD_FAILURE() << "loaded";
            } catch (const Failure& failure) {
                EXPECT_THAT(failure.Description(), testing::HasSubstr(c.failure));
            }
        }
        EXPECT_EQ(builder->GetVertexCount(), 4);
        EXPECT_EQ(scene->GetChildCount(), 0);
    }
}

}  // namespace
