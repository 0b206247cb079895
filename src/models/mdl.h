#pragma once

// One loaded model: the player body (one object shared by every player) or
// one weapon. Load reads a model description (.qc) and the skeleton, mesh and
// animation files (.smd) it names into frames, mesh builders, hit boxes and
// animation sets of the retained-mode scene; the per-player methods pose the
// shared skeleton and copy it into each player's own frames and mesh.
//
// The arrays hold only their used elements: the element count is the count
// (NbFrames, NbMeshes, NbAni and the sizes of the others), and an index from
// a file that lies outside them fails the load. Numbers in model files are
// always written with "." as the decimal point, whatever the user's locale;
// lines may end in a carriage return, which is dropped.

#include "models/model_instance.h"
#include "models/vertex_index.h"
#include "platform/rm/direct3drm.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace sound {
class Buffer;
}
class player;
class MDLTestAccess;
class ModelLines;

class MDL {
public:
    // One $hbox line of the description: the box of one bone, in the bone's
    // own coordinates.
    struct HBox {
        int32_t bone = 0;  // 0-based node number, set when the box is built
        std::string name;  // normalised bone name
        float minX = 0, minY = 0, minZ = 0;
        float maxX = 0, maxY = 0, maxZ = 0;
        rm::MeshBuilderPtr box;  // none until built
    };

    // The vertices of a skinned mesh that hang on one bone.
    struct BoneGroup {
        rm::FramePtr bone;
        std::vector<int32_t> vertices;      // indexes into the mesh builder's vertices
        std::vector<rm::Vector> positions;  // element k: vertices[k] in the bone's coordinates
    };

    // The mesh of one reference file.
    struct SmdMesh {
        rm::MeshBuilderPtr builder;
        std::vector<BoneGroup> groups;
        int32_t users = 0;  // skinned player instances made on it
    };

    // One player's skinned copy of a mesh.
    struct SkmInstance {
        rm::FramePtr skin;  // the player's Peau
        rm::MeshPtr mesh;   // first visual of the skin frame
        std::vector<rm::MeshVertex> vertices;
        std::vector<std::vector<rm::Vector>> positions;  // one buffer per bone group
        int32_t meshNumber = 0;
    };

    int32_t NbBastos = 0;     // weapon: magazine size
    int32_t PowerBastos = 0;  // weapon: damage of one bullet
    bool snipper = false;     // weapon: has a sniper scope
    int32_t rang = 0;         // weapon: rank needed to use it
    std::string nom;          // the description's file name; also the name of Mere
    bool Boite = false;       // build hit boxes; set before Load
    rm::FramePtr sol;         // root frame of the model
    rm::FramePtr Mere;        // child of socle named nom, parent of the root bones
    rm::FramePtr socle;       // child of sol, parent of Mere
    rm::FramePtr tete;        // bone "Bip01_Head"
    std::shared_ptr<sound::Buffer> son;
    bool MultiMesh = false;  // one-bone triangles go into that bone's own mesh; set before Load
    std::string deplacement;
    std::string action;
    std::string typ_arme;  // weapon: file name up to its first "_" ("rifle")
    std::string ani_lib;
    std::string lib_arme;  // weapon: file name after its first "_", without ".QC" ("m4a1")
    rm::FramePtr Main;     // bone "Bip01_R_Hand", where a weapon is held
    int32_t NbAni = 0;     // animation sets loaded
    int32_t AniCours = 0;
    int32_t AniCours2 = 0;
    int16_t tir = 0;
    double fp2 = 0;
    std::shared_ptr<MDL> Arme;

    // Builds the whole model from the description `name` in the game folder
    // `Repertoire`, under `Frm_scene` (none: a root frame outside the scene).
    // A weapon (`arme`) also takes its statistics from the weapon catalogue
    // and is neither drawn nor picked. Called once per object; a missing or
    // malformed file fails with a Failure.
    void Load(const rm::FramePtr& Frm_scene, const std::string& name, const std::string& Repertoire, bool arme);
    // The first bone, in node order, named exactly `nom`; none when absent.
    rm::FramePtr ChercheFrames(std::string_view nom) const;
    // Skins instance `id_skm` of mesh `mbnb` from the posed skeleton.
    void AnimeMultiVertex(int32_t id_skm, int32_t mbnb);
    // Reads the reference file `nom` (without ".smd"): skeleton, rest pose, mesh.
    void CreeFrame(const std::string& nom);
    // Reads the animation file `nom` (without ".smd") into a new set.
    void CreeAnim(const std::string& nom, int32_t fps);
    // Builds the hit box of bone frame `qui` (node `indice`) when the
    // description has one and Boite is on.
    void dessineboite(const rm::FramePtr& qui, int32_t indice);
    // ChercheFrames(nom) when `nom` is not empty, else bone `id` (none
    // outside the skeleton).
    rm::FramePtr RenvoieFrame(std::string_view nom, int32_t id) const;
    // Poses the skeleton for `Le_joueur` and, on its full updates, its copy.
    // A set number outside the loaded sets poses nothing that tick.
    template <class Joueur>
    requires(!std::is_same_v<std::remove_cv_t<Joueur>, JoueurModele>) void Anime(Joueur& Le_joueur) {
        Anime(JoueurModele::Of(Le_joueur));
    }
    void Anime(const JoueurModele& Le_joueur);
    // Index of the first vertex of `mb` at (x, y, z) with texture
    // coordinates (tu, tv), compared exactly; -1 when none.
    int32_t ChercheVertex(const rm::MeshBuilder& mb, float x, float y, float z, float tu, float tv) const;
    std::string RenvAniText(int32_t nb) const;
    // The first set whose name occurs in `laquelle`; 0 when none.
    int32_t RenvAnimations(std::string_view laquelle) const;
    // The time of the last key block of set `laquelle`.
    int32_t RenvAniMax(int32_t laquelle) const;
    // Builds the instance of `Le_joueur` on this model.
    template <class Joueur>
    requires(!std::is_same_v<std::remove_cv_t<Joueur>, JoueurModele>) void RenvMesh(Joueur& Le_joueur) {
        RenvMesh(JoueurModele::Of(Le_joueur));
    }
    void RenvMesh(const JoueurModele& Le_joueur);
    // Places each child of `qui` at the pose of the bone its application
    // data numbers (1-based).
    void RenduMesh(const rm::FramePtr& qui);
    // Sets the skin "models\" & `laquelle` on `mb`; a missing file keeps its texture.
    void ChargeUneTexture(const rm::MeshBuilderPtr& mb, const std::string& laquelle);

private:
    friend class MDLTestAccess;
    // The triangles block of reference file `file` into a new mesh.
    void ReadTriangles(ModelLines& lines, const std::string& file);
    // The rigid mesh of bone `bone`, made and added to the bone when it has none.
    rm::MeshBuilder& RigidMesh(int32_t bone);

    std::string RepModele;                       // Repertoire & "\": the folder of the files
    std::vector<rm::FramePtr> Frames;            // bone frames by node number
    std::vector<rm::MeshBuilderPtr> MeshFrames;  // per bone, its rigid mesh (MultiMesh), made on demand
    int32_t NbFrames = 0;
    std::vector<int32_t> Parents;           // parent node of each bone, -1 for a root
    std::array<rm::FramePtr, 5> Vertebres;  // "Bip01_Spine" to "Bip01_Spine3"; element 4 stays empty
    std::vector<HBox> HBoxes;               // one per $hbox line, in file order
    std::vector<SmdMesh> Meshes;            // one per reference file
    int32_t NbMeshes = 0;
    std::vector<rm::AnimationSetPtr> Animations;  // one per sequence
    std::vector<SkmInstance> Skm;                 // skinned per-player copies
    // Set while ReadTriangles runs, so that ChercheVertex finds the vertices
    // of the builders it fills without scanning them.
    VertexIndexes* vertexIndexes_ = nullptr;
};
