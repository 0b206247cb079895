// Load: the frame chain of a model and the reading of its description (.qc).

#include "models/mdl.h"

#include "core/game_state.h"
#include "core/text.h"
#include "core/weapons.h"
#include "models/model_text.h"
#include "platform/failure.h"

namespace {

// The text between the first double quote of `line` and the next one.
std::string_view Quoted(std::string_view line, size_t& closing) {
    const size_t opening = line.find('"');
    closing = opening == std::string_view::npos ? opening : line.find('"', opening + 1);
    if (closing == std::string_view::npos) MalformedModel("No quoted name in the line: " + std::string(line));
    return line.substr(opening + 1, closing - opening - 1);
}

// The field of `line` from `start` to the next blank (to the line's end for
// the last), and where the next field starts after skipping `gap` characters.
std::string_view HitBoxField(std::string_view line, size_t start, bool last, size_t gap, size_t& next) {
    if (start > line.size()) MalformedModel("Hit box line too short: " + std::string(line));
    if (last) return line.substr(start);
    const size_t blank = line.find(' ', start);
    if (blank == std::string_view::npos) MalformedModel("Hit box line too short: " + std::string(line));
    next = blank + gap;
    return line.substr(start, blank - start);
}

// A $hbox line: group number, quoted bone name, one blank, three numbers,
// two blanks, three numbers. The first two numbers of each triple are the
// model's y and x, as the bone positions are.
MDL::HBox ReadHitBox(std::string_view line) {
    size_t closing = 0;
    MDL::HBox box;
    box.name = BoneName(Trim(Quoted(line, closing)));
    size_t start = closing + 2;
    float* const targets[6] = {&box.minY, &box.minX, &box.minZ, &box.maxY, &box.maxX, &box.maxZ};
    for (int field = 0; field < 6; ++field) {
        const size_t gap = field == 2 ? 2 : 1;
        *targets[field] = static_cast<float>(ModelNumber(HitBoxField(line, start, field == 5, gap, start)));
    }
    return box;
}

}  // namespace

void MDL::Load(const rm::FramePtr& Frm_scene, const std::string& name, const std::string& Repertoire, bool arme) {
    if (!D3DRM) throw Failure(failure_number::ObjectNotSet, "No 3D services to load the model " + name);
    sol = D3DRM->CreateFrame(Frm_scene);
    socle = D3DRM->CreateFrame(sol);
    Mere = D3DRM->CreateFrame(socle);
    nom = name;
    Mere->SetName(nom);

    if (arme) {
        const int32_t p = InStr(nom, "_");
        const int32_t nameLength = Len(nom) - p - 3;
        if (p == 0 || nameLength < 0)
            throw Failure(failure_number::InvalidArgument, "Invalid weapon model file name: " + nom);
        typ_arme = Left(nom, p - 1);
        lib_arme = Mid(nom, p + 1, nameLength);
        sol->SetTraversalOptions(0);
        InfosArme(lib_arme, NbBastos, PowerBastos, rang, snipper);
    }

    NbFrames = 0;
    Frames.clear();
    Parents.clear();
    MeshFrames.clear();
    NbMeshes = 0;
    Meshes.clear();
    NbAni = 0;
    Animations.clear();
    HBoxes.clear();
    Skm.clear();

    D3DRM->SetSearchPath(CheminJeu + ";" + Repertoire);
    RepModele = Repertoire + "\\";

    ModelLines lines(RepModele + name);
    while (!lines.AtEnd()) {
        const std::string& line = lines.Next();
        if (line.find("$hbox") != std::string::npos) {
            HBoxes.push_back(ReadHitBox(line));
        } else if (line.find("$bodygroup") != std::string::npos) {
            const std::string* current = &lines.Next();  // the opening "{"
            while (*current != "}") {
                current = &lines.Next();
                if (current->find("studio") == std::string::npos) continue;
                const size_t blank = current->find(' ');
                std::string file = blank == std::string::npos ? std::string() : current->substr(blank + 1);
                std::erase(file, '"');
                CreeFrame(file);
            }
        } else if (line.find("$sequence") != std::string::npos) {
            size_t closing = 0;
            CreeAnim(Trim(Quoted(line, closing)), 0);
        }
    }

    // The files describe a z-up skeleton; the scene is y-up. Turned only now,
    // so the rest pose and the bone-local vertices were read unturned.
    Mere->AddRotation(rm::combine::After, {1, 0, 0}, -1.5707964f);
    Mere->AddRotation(rm::combine::After, {0, 1, 0}, 1.5707964f);
}
