#pragma once
// The aircraft clips' pictures, drawn with the game's loaders and OpenGL ES on the headless
// surface: the aircraft banked in a level turn over textured fields that fade into the sky's
// haze, the camera riding with it and once round it. The turn and the camera's circle both
// close after the clip's last frame, so the clip loops without a seam.
#include <string>
#include <vector>

#include "common/Canvas.h"

// frameCount pictures of width x height (drawn larger and shrunk for smooth edges) of the
// aircraft model "aircraft/<model>.obj" with its texture from the data folder's archives.
// Empty when a model, texture or the surface is missing.
std::vector<Canvas> RenderAircraftTurn(const std::string& dataFolder, const std::string& model, int width,
                                       int height, int frameCount);
