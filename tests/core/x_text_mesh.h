#pragma once

// Level meshes written by a test as DirectX text mesh files: quads, one
// material each, for map folders built in the test.

#include "platform/rm/math.h"

#include <sstream>
#include <string>
#include <utility>
#include <vector>

struct Quad {
    rm::Vector corners[4];
    std::string texture;  // none when empty
};

inline std::string XFile(const std::vector<Quad>& quads) {
    std::ostringstream x;
    x << "xof 0303txt 0032\nMesh level {\n" << quads.size() * 4 << ";\n";
    for (size_t q = 0; q < quads.size(); ++q)
        for (int c = 0; c < 4; ++c) {
            const rm::Vector& v = quads[q].corners[c];
            x << v.x << ";" << v.y << ";" << v.z << ";" << (q + 1 == quads.size() && c == 3 ? ";" : ",") << "\n";
        }
    x << quads.size() << ";\n";
    for (size_t q = 0; q < quads.size(); ++q)
        x << "4;" << q * 4 << "," << q * 4 + 1 << "," << q * 4 + 2 << "," << q * 4 + 3
          << (q + 1 == quads.size() ? ";;" : ";,") << "\n";
    x << "MeshMaterialList { " << quads.size() << "; " << quads.size() << "; ";
    for (size_t q = 0; q < quads.size(); ++q) x << q << (q + 1 == quads.size() ? ";;" : ",");
    for (const Quad& quad : quads) {
        x << " Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;";
        if (!quad.texture.empty()) x << " TextureFilename { \"" << quad.texture << "\"; }";
        x << " }";
    }
    x << " }\n}\n";
    return x.str();
}

// Upright in the plane z = `z`, from x0 to x1 and y0 to y1.
inline Quad WallQuad(float x0, float x1, float y0, float y1, float z, std::string texture = {}) {
    return {{{x0, y0, z}, {x0, y1, z}, {x1, y1, z}, {x1, y0, z}}, std::move(texture)};
}
// Level in the plane y = `y`, from x0 to x1 and z0 to z1.
inline Quad FlatQuad(float x0, float x1, float z0, float z1, float y, std::string texture = {}) {
    return {{{x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}}, std::move(texture)};
}
