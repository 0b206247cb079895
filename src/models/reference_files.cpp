// CreeFrame: one reference file of a model (.smd), with the skeleton (first
// file only), the rest pose and one mesh.

#include "models/mdl.h"

#include "core/game_state.h"
#include "core/quaternions.h"
#include "core/text.h"
#include "models/model_text.h"
#include "platform/failure.h"

#include <array>

namespace {

struct Slot {
    int32_t bone = 0;
    rm::Vector position;  // in the bone's own coordinates once placed
    rm::Vector normal;
    float u = 0, v = 0;
};

// A skeleton past these fails its load: each bone is placed through all its
// parents, and the skeleton is posed for every player each frame.
constexpr int32_t kMaxBones = 1024;
constexpr int32_t kMaxBoneDepth = 256;  // bones from a root to its deepest descendant

// Throws unless `bone` numbers a bone of the skeleton.
void CheckBone(int32_t bone, int32_t count, const std::string& file) {
    if (bone < 0 || bone >= count)
        throw Failure(failure_number::SubscriptOutOfRange,
                      "Bone " + std::to_string(bone) + " is not in the skeleton (" + file + ")");
}

// A vertex line: bone, x, y, z, nx, ny, nz, u, v. The texture's v runs
// downwards in the files.
Slot ReadVertex(std::string_view line) {
    const std::vector<std::string_view> f = SplitFields(line, 9);
    Slot slot;
    slot.bone = ModelIndex(f[0]);
    const auto number = [&](size_t i) { return static_cast<float>(ModelNumber(f[i])); };
    // The point (-x, y, z) turned a quarter about z into the bones' axes,
    // where the files' first two coordinates are exchanged.
    const float x = number(1), y = number(2), z = number(3);
    slot.position = {y, x, z};
    slot.normal = {number(4), number(5), number(6)};
    slot.u = number(7);
    slot.v = -number(8);
    return slot;
}

// The vertex of `builder` for `slot`: the first one at its position with its
// texture coordinates, else a new one with its normal; `added` tells which.
int32_t FindOrAddVertex(const MDL& model, rm::MeshBuilder& builder, const Slot& slot, bool& added) {
    const rm::Vector& p = slot.position;
    int32_t i = model.ChercheVertex(builder, p.x, p.y, p.z, slot.u, slot.v);
    added = i == -1;
    if (added) {
        i = builder.AddVertex(p.x, p.y, p.z);
        builder.AddNormal(slot.normal.x, slot.normal.y, slot.normal.z);
        builder.SetTextureCoordinates(i, slot.u, slot.v);
    }
    return i;
}

// A new vertex `i` of a skinned mesh joins the group of its bone.
void AddToBoneGroup(MDL::SmdMesh& mesh, const rm::FramePtr& bone, int32_t i, const rm::Vector& position) {
    MDL::BoneGroup* group = nullptr;
    for (MDL::BoneGroup& candidate : mesh.groups)
        if (candidate.bone == bone) group = &candidate;
    if (!group) group = &mesh.groups.emplace_back(MDL::BoneGroup{bone, {}, {}});
    group->vertices.push_back(i);
    group->positions.push_back(position);
}

// Points the model's search at `indexes` for as long as it lives.
class IndexingVertices {
public:
    IndexingVertices(VertexIndexes*& current, VertexIndexes& indexes) : current_(current) { current_ = &indexes; }
    ~IndexingVertices() { current_ = nullptr; }
    IndexingVertices(const IndexingVertices&) = delete;
    IndexingVertices& operator=(const IndexingVertices&) = delete;

private:
    VertexIndexes*& current_;
};

}  // namespace

void MDL::CreeFrame(const std::string& nom) {
    const std::string file = RepModele + nom + ".smd";
    ModelLines lines(file);
    while (!lines.AtEnd()) {
        const std::string line = Trim(lines.Next());
        if (line == "nodes" && Frames.empty()) {
            std::vector<int32_t> depths;  // of each bone, a root's being 1
            for (std::string node = Trim(lines.Next()); node != "end"; node = Trim(lines.Next())) {
                size_t q1 = node.find('"');
                const size_t q2 = q1 == std::string::npos ? q1 : node.find('"', q1 + 1);
                if (q2 == std::string::npos) MalformedModel("No quoted bone name in " + file + ": " + node);
                const int32_t parent = ModelIndex(node.substr(q2 + 1));
                if (parent != -1) CheckBone(parent, NbFrames, file);
                if (NbFrames == kMaxBones)
                    MalformedModel("The skeleton of " + file + " has more than " + std::to_string(kMaxBones) +
                                   " bones");
                depths.push_back(parent == -1 ? 1 : depths[static_cast<size_t>(parent)] + 1);
                if (depths.back() > kMaxBoneDepth)
                    MalformedModel("The skeleton of " + file + " nests bones deeper than " +
                                   std::to_string(kMaxBoneDepth) + " levels");
                const rm::FramePtr frame =
                    D3DRM->CreateFrame(parent == -1 ? Mere : Frames[static_cast<size_t>(parent)]);
                frame->SetName(BoneName(node.substr(q1 + 1, q2 - q1 - 1)));
                const std::string& bone = frame->GetName();
                if (bone == "Bip01_R_Hand") Main = frame;
                if (bone == "Bip01_Head") tete = frame;
                static constexpr std::array<const char*, 4> kSpine = {"Bip01_Spine", "Bip01_Spine1", "Bip01_Spine2",
                                                                      "Bip01_Spine3"};
                for (size_t i = 0; i < kSpine.size(); ++i)
                    if (bone == kSpine[i]) Vertebres[i] = frame;
                ++NbFrames;
                Frames.push_back(frame);
                Parents.push_back(parent);
                frame->SetAppData(NbFrames);
                dessineboite(frame, NbFrames - 1);
            }
            MeshFrames.resize(Frames.size());
        } else if (line == "time 0") {
            for (std::string pose = Trim(lines.Next()); pose != "end"; pose = Trim(lines.Next())) {
                const std::vector<std::string_view> f = SplitFields(pose, 7);
                const int32_t bone = ModelIndex(f[0]);
                CheckBone(bone, NbFrames, file);
                double n[6];
                for (size_t i = 0; i < 6; ++i) n[i] = ModelNumber(f[i + 1]);
                const rm::FramePtr& frame = Frames[static_cast<size_t>(bone)];
                const rm::FramePtr parent = frame->GetParent();
                frame->SetPosition(parent, static_cast<float>(n[1]), static_cast<float>(n[0]),
                                   static_cast<float>(n[2]));
                frame->SetQuaternion(
                    parent, QuatEuler({static_cast<float>(n[4]), static_cast<float>(n[3]), static_cast<float>(n[5])}));
            }
        } else if (line == "triangles") {
            ReadTriangles(lines, file);
        }
    }
}

rm::MeshBuilder& MDL::RigidMesh(int32_t bone) {
    rm::MeshBuilderPtr& rigid = MeshFrames[static_cast<size_t>(bone)];
    if (!rigid) {
        rigid = D3DRM->CreateMeshBuilder();
        Frames[static_cast<size_t>(bone)]->AddVisual(rigid);
    }
    return *rigid;
}

void MDL::ReadTriangles(ModelLines& lines, const std::string& file) {
    ++NbMeshes;
    Meshes.push_back({D3DRM->CreateMeshBuilder(), {}, 0});
    SmdMesh& mesh = Meshes.back();
    VertexIndexes indexes;
    const IndexingVertices indexing(vertexIndexes_, indexes);

    // Scene to bone coordinates, for the rest pose as it stands now.
    std::vector<rm::Matrix4> toBone(Frames.size());
    for (size_t i = 0; i < Frames.size(); ++i) toBone[i] = rm::Inverse(Frames[i]->WorldTransform());

    std::string texture;
    rm::MaterialPtr material;
    rm::TexturePtr picture;
    for (std::string line = Trim(lines.Next()); line != "end"; line = Trim(lines.Next())) {
        if (line != texture) {
            texture = line;
            material = D3DRM->CreateMaterial(10);
            material->SetName("v1");
            material->SetEmissive(0.5f, 0.5f, 0.5f);
            material->SetAmbient(0.5f, 0.5f, 0.5f);
            picture = D3DRM->LoadTexture(texture);
        }
        std::array<Slot, 3> corners;
        for (Slot& slot : corners) {
            slot = ReadVertex(Trim(lines.Next()));
            CheckBone(slot.bone, NbFrames, file);
            slot.position = rm::TransformPoint(slot.position, toBone[static_cast<size_t>(slot.bone)]);
        }

        const bool oneBone = corners[0].bone == corners[1].bone && corners[1].bone == corners[2].bone;
        const bool rigid = oneBone && MultiMesh;
        rm::MeshBuilder& builder = rigid ? RigidMesh(corners[0].bone) : *mesh.builder;
        const rm::FacePtr face = builder.CreateFace();
        face->SetMaterial(material);
        face->SetTexture(picture);
        // The files wind their triangles the other way round.
        for (auto slot = corners.rbegin(); slot != corners.rend(); ++slot) {
            bool added = false;
            const int32_t i = FindOrAddVertex(*this, builder, *slot, added);
            if (added && !rigid) AddToBoneGroup(mesh, Frames[static_cast<size_t>(slot->bone)], i, slot->position);
            face->AddVertexAndNormalIndexed(i, i);
        }
    }

    if (mesh.groups.size() == 1) {
        mesh.groups.front().bone->AddVisual(mesh.builder);
    } else {
        // Drawn through each player's skinned copy; kept here for picks.
        mesh.builder->Enable(rm::enable::Pick);
        sol->AddVisual(mesh.builder);
    }
}
