#pragma once

// Reading the generated data set the way the game's loaders read it, for the
// tests of its files: text lines, the fields of model files, the body of a
// model description and of its skeleton and animation files.

#include <string>
#include <vector>

namespace data_test {

std::string GamePath(const std::string& relative);
bool Exists(const std::string& relative);
std::vector<std::string> ReadLines(const std::string& relative);  // not trimmed, no line ends
std::string Trim(const std::string& s);
// Fields separated by single blanks; two blanks in a row give an empty field.
std::vector<std::string> Fields(const std::string& line);
// A number as the model loader reads it ("." as the decimal point); throws
// when the text is not wholly a number.
double Number(const std::string& text);

struct HitBox {
    std::string bone;       // with blanks made "_"
    double min[3], max[3];  // x, y, z in the bone's frame
};

struct ModelDescription {
    std::vector<HitBox> hit_boxes;
    std::vector<std::string> meshes;     // "studio" files, in order
    std::vector<std::string> sequences;  // animation files, in order
    int first_bodygroup_line = -1, last_hbox_line = -1;
};

// Reads a .qc by the loader's rules; throws on a malformed line.
ModelDescription ReadModelDescription(const std::string& relative);

struct SmdNode {
    std::string name;
    int parent;
};

struct SmdKey {
    int bone;
    double v[6];  // x, y, z, rx, ry, rz as written
};

struct SmdVertex {
    int bone;
    double v[8];  // x, y, z, nx, ny, nz, u, v
};

struct SmdFile {
    std::vector<SmdNode> nodes;
    std::vector<int> times;                   // every "time" block, in order
    std::vector<std::vector<SmdKey>> blocks;  // their keys
    std::vector<std::string> textures;        // one a triangle
    std::vector<SmdVertex> vertices;          // three a triangle
};

SmdFile ReadSmd(const std::string& relative);

// The name under which the loader keeps an animation file's set.
std::string SetName(const std::string& file);
// The loader's look-up: the first set whose name occurs in the request; 0 if none.
int FindSet(const std::vector<std::string>& set_names, const std::string& request);

}  // namespace data_test
