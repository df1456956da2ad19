#pragma once

// The progress track and block on the installing page, in twips: shared by
// the layout and the animation that slides the block along the track.
namespace Track {
constexpr int Left = 720;
constexpr int Top = 3480;
constexpr int Width = 5655;
constexpr int Height = 375;
constexpr int BlockWidth = 480;
constexpr int BlockHeight = 360;
} // namespace Track
