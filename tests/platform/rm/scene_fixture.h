#pragma once

#include "platform/rm/direct3drm.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace rm_test
