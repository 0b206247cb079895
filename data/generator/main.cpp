// Generates the game's data set: the folders beside the program (media,
// models, weapons, map) and the pictures that windows hold, with the Qt
// resource list that compiles them in.
//
//   quellmar_datagen <game folder> <resource folder> [<speech synthesiser>]

#include <cstdio>
#include <exception>
#include <string>

#include "file_out.h"
#include "levels.h"
#include "map_folder.h"
#include "pictures.h"
#include "player_model.h"
#include "sounds.h"
#include "weapons.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <game folder> <resource folder> [<speech synthesiser>]\n", argv[0]);
        return 2;
    }
    const std::string game = argv[1], resources = argv[2], speaker = argc > 3 ? argv[3] : "";
    try {
        gen::WriteLevels(game + "/media");
        gen::WritePlayerModel(game + "/models");
        gen::WriteModelSounds(game + "/models", speaker);
        gen::WriteWeapons(game + "/weapons");
        gen::WriteMapFolder(game + "/map");
        gen::WriteWindowPictures(resources);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quellmar_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
