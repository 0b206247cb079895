#pragma once

// The DirectX root, the retained-mode object and the scene frames, as the
// game start has made them when it builds a level: FrameScene, FrameMonde,
// FrameCamera and the five level frames under FrameMonde.
void MakeSceneFrames();
