#pragma once

// What a player's instance of the shared body model reads and writes of that
// player: its frames, its side and skin, its clocks and its aim. The model's
// per-player methods take any player object through `Of`, so they read the
// player's own members without the model depending on the player's class.

#include "platform/rm/frame.h"

#include <cstdint>
#include <string>

struct JoueurModele {
    rm::FramePtr& base;          // parent of the hit-box copies and of a tete made here
    rm::FramePtr& Peau;          // carries the skinned mesh copy and MDroite
    rm::FramePtr& MDroite;       // hand frame, made here when empty
    rm::FramePtr& tete;          // head frame, made or chosen here when empty
    int32_t& IdSkm;              // index of the player's skinned instance
    const std::string& texture;  // skin file name below "models\"
    int32_t indice;              // the player's slot
    int32_t IdModele;            // the player's side: 0 wears mesh 0, any other mesh 1
    int32_t Anipos;              // legs set
    int32_t AniBuste;            // torso set, -1 for none
    double fps;                  // clock of the legs set
    double fps2;                 // clock of the torso set
    bool rendu;                  // full update this frame
    int32_t colonne;             // torso twist, degrees
    double pivot;                // spine tilt, radians

    template <class Joueur>
    static JoueurModele Of(Joueur& joueur) {
        return {.base = joueur.base,
                .Peau = joueur.Peau,
                .MDroite = joueur.MDroite,
                .tete = joueur.tete,
                .IdSkm = joueur.IdSkm,
                .texture = joueur.texture,
                .indice = static_cast<int32_t>(joueur.indice),
                .IdModele = static_cast<int32_t>(joueur.IdModele),
                .Anipos = static_cast<int32_t>(joueur.Anipos),
                .AniBuste = static_cast<int32_t>(joueur.AniBuste),
                .fps = static_cast<double>(joueur.fps),
                .fps2 = static_cast<double>(joueur.fps2),
                .rendu = static_cast<bool>(joueur.rendu),
                .colonne = static_cast<int32_t>(joueur.colonne),
                .pivot = static_cast<double>(joueur.pivot)};
    }
};
