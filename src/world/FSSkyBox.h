#pragma once
// The textured sky around the eye for one flight. Six face pictures from the textures
// archive, named by a folder such as "skyboxes/skybox1/noon" followed by "/left.png",
// "/right.png", "/top.png", "/top.png" (the bottom face reuses the top picture and is
// never drawn: the ground hides it), "/front.png" and "/back.png". The game controller
// makes one per flight when "sky" is on (folder from "day_time", FSDayTime.h), draws it
// every frame before the scene, and unloads it when the flight ends.
//
// The box is a cube with corners at ±1.0, drawn 40.0 times as large with only the view
// rotation loaded, so it stays centred on the eye. Faces look along (FSDayTime.h): left
// −x (north), right +x (south), bottom −y, top +y, front −z (east), back +z (west). Each
// side picture is upright with world up at its top, seen from inside; the top picture
// has the front face along its bottom edge and the right face along its right edge.
//
// The data build paints the day pictures from the daylight model at the haze of about
// 800 m above the sea (kPaintedTurbidity). The camera's fog takes the haze at the eye, so
// each face is drawn as a grid whose corners carry the ratio of the camera's sky colour to
// the painted one in their direction (the horizon's below 15° above it, as the fog
// looks): the box then shows the fog's colour along the whole horizon at any height.
#include <cstdint>
#include <string>

#include "world/FSFixed.h"
#include "world/FSSkyModel.h"

class CFSCamera;
class CFSTextureCache;

class CFSSkyBox {
public:
    static constexpr int kFaces = 6;
    // The face that is never drawn (the bottom, hidden by the ground).
    static constexpr int kHiddenFace = 2;
    // The box's half side in world units (km), comfortably inside the far plane.
    static constexpr int kScale = 40;
    // The haze the day pictures are painted with: the camera's turbidity about 800 m
    // above the sea (2 + 4 × the relative air density there).
    static constexpr float kPaintedTurbidity = 5.7f;
    // Squares along each side of a face's grid: a vertex row on the horizon is enough for
    // the haze's colour there, and each more square costs llvmpipe more than its share.
    static constexpr int kGrid = 2;
    static constexpr int kGridVertices = (kGrid + 1) * (kGrid + 1);

    CFSSkyBox();
    // Leaves the textures to the cache (Unload removes them while GL is still current).
    ~CFSSkyBox() = default;
    CFSSkyBox(const CFSSkyBox&) = delete;
    CFSSkyBox& operator=(const CFSSkyBox&) = delete;

    // Stores the folder and takes the six face textures from the cache, loading them on
    // first use. True when all five
    // distinct pictures loaded; a face whose picture is missing is left undrawn (the
    // clear colour shows there) and the others still draw.
    bool Load(const std::string& folder, CFSTextureCache* cache);
    // Removes the five distinct face textures from the cache and forgets them.
    void Unload(CFSTextureCache* cache);

    // Draws the five visible faces around the eye with the camera's view rotation: no
    // lighting, fog or depth (the box is the background of everything drawn after it),
    // the faces clamped at their edges so neighbouring faces meet without a seam, and each
    // picture scaled toward the camera's sky colours (above). Behind what is drawn, it
    // sits at the far end of the depth range and fills only the pixels nothing has been
    // drawn on since the depth buffer was cleared (the terrain drawn first costs no sky
    // fill). Leaves the GL state and the model-view matrix as it found them.
    void Draw(const CFSCamera& camera, bool behindDrawn = false);

    const std::string& Folder() const { return folder_; }
    // The texture of face 0..5 (0 when not loaded).
    uint32_t FaceTexture(int face) const { return face >= 0 && face < kFaces ? textures_[face] : 0; }
    // The member name of face 0..5 in the current folder.
    std::string FaceMember(int face) const;

private:
    // The grid's colours for the camera's haze and sun: half the ratio of its sky colour to
    // the painted one (the texture stage doubles it), per channel.
    void Shade(const CFSSkyModel& sky);

    std::string folder_;
    uint32_t textures_[kFaces] = {};
    CFSSkyModel painted_;
    // What the colours were last worked out for (turbidity < 0: never).
    float shadedTurbidity_ = -1.0f;
    float shadedSunZenith_ = 0.0f;
    float shadedSunAzimuth_ = 0.0f;
    FSFixed colours_[kFaces][kGridVertices * 4] = {};
};
