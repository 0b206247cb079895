#include "smd.h"

#include "file_out.h"

namespace gen {

void WriteSmd(const std::string& path, const std::vector<SmdNode>& nodes,
              const std::vector<std::vector<SmdKey>>& frames, const std::vector<SmdTriangle>& triangles) {
    std::string out = "version 1\nnodes\n";
    for (size_t i = 0; i < nodes.size(); ++i)
        out += std::to_string(i) + " \"" + nodes[i].name + "\" " + std::to_string(nodes[i].parent) + "\n";
    out += "end\nskeleton\n";
    for (size_t t = 0; t < frames.size(); ++t) {
        out += "time " + std::to_string(t) + "\n";
        for (size_t b = 0; b < frames[t].size(); ++b) {
            const SmdKey& k = frames[t][b];
            out += std::to_string(b) + " " + Num(k.position.x) + " " + Num(k.position.y) + " " + Num(k.position.z) +
                   " " + Num(k.rotation.x) + " " + Num(k.rotation.y) + " " + Num(k.rotation.z) + "\n";
        }
    }
    out += "end\n";
    if (!triangles.empty()) {
        out += "triangles\n";
        for (const SmdTriangle& t : triangles) {
            out += t.texture + "\n";
            for (int i = 2; i >= 0; --i) {
                const SmdVertex& v = t.corners[i];
                out += std::to_string(v.bone) + " " + Num(v.position.x) + " " + Num(v.position.y) + " " +
                       Num(v.position.z) + " " + Num(v.normal.x) + " " + Num(v.normal.y) + " " + Num(v.normal.z) + " " +
                       Num(v.u) + " " + Num(v.v) + "\n";
            }
        }
        out += "end\n";
    }
    SaveText(path, out);
}

}  // namespace gen
