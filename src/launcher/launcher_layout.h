#pragma once

// Places in the launcher window that its design and its start share, in
// twips.

inline constexpr float kLauncherWidth = 9390;
inline constexpr float kLauncherHeight = 6045;
// The menu pages.
inline constexpr float kPageLeft = 90;
inline constexpr float kPageTop = 2340;
// The panel of the set-up frames.
inline constexpr float kPanelLeft = 3820;
inline constexpr float kPanelTop = 720;
inline constexpr float kPanelWidth = 5415;
inline constexpr float kPanelHeight = 5175;
// A set-up frame's place in the panel.
inline constexpr float kFrameLeft = 180;
inline constexpr float kFrameTop = 240;
