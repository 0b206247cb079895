#pragma once

// What callers get: one linear pass over a DirectX mesh file (text, binary,
// or either of them compressed) that refuses it with a Failure before the
// importer sees it when
// - objects nest deeper than kMaxXNesting levels,
// - a count declares more items than the rest of the file can hold,
// - an index lies outside the count it refers to: face vertex and normal
//   indices, vertex colour and skin weight vertex indices, the material
//   indices of a material list,
// - its tokens run past its end, or it is shaped in a way the importer would
//   misread (a number where an object should start, two material lists in
//   one mesh);
// and that learns how the importer will split its meshes, so that the
// loader can put each mesh's faces back in the file's order.
//
// The pass follows the importer's own reading of the file token by token (the
// same separators, comments, string and number rules), so that the file it
// checks is the file the importer reads. A compressed file is decompressed
// here, once: the importer is then given the plain text or binary form.

#include "platform/failure.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rm {

inline constexpr int kMaxXNesting = 256;
// Larger files, and compressed files that expand past it, are refused.
inline constexpr size_t kMaxXFileBytes = size_t(256) << 20;

// How the importer will hand over the meshes of a file.
struct XLayout {
    static constexpr uint32_t kNoPart = std::numeric_limits<uint32_t>::max();

    // One mesh of the file. The importer splits it into one mesh per
    // material that has corners to draw (its parts, in material order), each
    // holding that material's faces in file order.
    struct Mesh {
        int32_t frame = -1;               // the frame holding it, numbered in pre-order; -1 outside any frame
        std::vector<uint32_t> partFaces;  // faces of each part
        // The part of each face of the file (kNoPart: in none), when the mesh
        // has more than one part; empty otherwise.
        std::vector<uint32_t> faceParts;
    };

    int32_t frameCount = 0;
    int32_t topFrameCount = 0;
    // In the importer's order: the meshes of each frame in pre-order, in file
    // order within a frame, then those outside any frame.
    std::vector<Mesh> meshes;
};

struct XFileContent {
    std::string bytes;  // the file as the importer is to read it, never compressed
    XLayout layout;
};

// Checks `bytes`, the content of the mesh file `file` (named in failures).
XFileContent ScanXFile(std::string bytes, const std::string& file);

// The failure for a mesh file that cannot be read.
Failure MalformedXFile(const std::string& file, const std::string& why);

}  // namespace rm
