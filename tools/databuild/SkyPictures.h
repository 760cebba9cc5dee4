#pragma once
// The sky box pictures of textures.zip: for each time of day a folder
// "skyboxes/skybox1/<morning|noon|evening|night>" with "left.png", "right.png",
// "top.png", "front.png" and "back.png" (the game's CFSSkyBox, src/world/FSSkyBox.h).
//
// Every texel is painted as a function of the direction it stands for, and the border
// texels stand for the directions of the cube's edges themselves, so two faces that share
// an edge hold the very same colours along it (the game clamps the faces at their edges).
// The day skies come from the daylight model the game's fog uses (CFSSkyModel, with the
// sun of FSDayTime.h, at the haze CFSSkyBox::kPaintedTurbidity, which the game scales to
// the haze at the eye), so the horizon and the fog agree; soft clouds and the sun are
// added above the horizon, where the fog never reaches. Every picture is stored dithered
// to the levels of the game's 5-6-5 screen, so its smooth gradients show no bands there. The night sky is
// painted: a deep blue gradient, stars, a faint band of the galaxy and the moon where FSDayTime.h puts it.
#include <string>

#include "common/Canvas.h"

namespace skybox {

// The five pictures of a folder, in the order they are written.
enum Face { kLeft, kRight, kTop, kFront, kBack, kFaceCount };

// "left.png", ... for a face.
const char* FaceFile(int face);

// The direction (not normalised) of a point of a face picture: s from −1 at the left
// edge to 1 at the right, t from −1 at the bottom to 1 at the top, as seen from inside
// the box. left −x, right +x, top +y, front −z, back +z (FSSkyBox.h).
void FaceDirection(int face, float s, float t, float direction[3]);

// Texels per side of every picture.
inline constexpr int kFaceSize = 256;

// One face of a time of day (1 morning, 2 noon, 3 evening, 4 night), size × size, opaque.
// Texel (i, j) (column, row from the top) stands for s = −1 + 2i / (size − 1),
// t = 1 − 2j / (size − 1).
Canvas PaintFace(int dayTime, int face, int size = kFaceSize);

}  // namespace skybox
