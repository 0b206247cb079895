#pragma once

#include "platform/rm/direct3drm.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace rm_test {

inline constexpr float kPi = 3.14159265358979f;

inline rm::Matrix4 Rows(const rm::Vector& x, const rm::Vector& y, const rm::Vector& z, const rm::Vector& t) {
    rm::Matrix4 m;
    rm::SetRow(m, 0, x);
    rm::SetRow(m, 1, y);
    rm::SetRow(m, 2, z);
    rm::SetRow(m, 3, t);
    return m;
}

// A quad in the plane z = `z` of its frame, corners clockwise seen from −z.
inline rm::MeshBuilderPtr Quad(rm::Direct3DRM& d3drm, float z, float half = 1) {
    auto builder = d3drm.CreateMeshBuilder();
    const auto face = builder->CreateFace();
    face->AddVertex(-half, -half, z);
    face->AddVertex(-half, half, z);
    face->AddVertex(half, half, z);
    face->AddVertex(half, -half, z);
    return builder;
}

// `depth` frames, each the only child of the one before and placed `step`
// along x from it; the top and the bottom frame. Built from the bottom up, so
// that no frame added looks through a long line of parents.
inline std::pair<rm::FramePtr, rm::FramePtr> Chain(rm::Direct3DRM& d3drm, int32_t depth, float step) {
    const rm::FramePtr bottom = d3drm.CreateFrame(nullptr);
    rm::FramePtr top = bottom;
    for (int32_t i = 1; i < depth; ++i) {
        const rm::FramePtr parent = d3drm.CreateFrame(nullptr);
        top->AddTranslation(rm::combine::Replace, step, 0, 0);
        parent->AddChild(top);
        top = parent;
    }
    return {top, bottom};
}

}  // namespace rm_test
