#pragma once
// The fly-through effect: flying into a cloud zone whitens the picture. A zone is a pair
// of boxes in terrain coordinates (x and z over [0, 240) km across the whole wrapped
// world, y the height): entering the outer box starts the effect (state 1), growing with
// the depth reached toward the inner box, and inside the inner box the picture is
// clouded at full strength (state 2). While not inside, each zone shows a cloud at its
// centre from afar. The application context holds the one effect; the engine cycle
// updates it, draws its clouds and, while its state is not 0, lets it turn the 3-D
// image into the 5-6-5 render buffer in place of the plain conversion.
//
// The clouding mixes every pixel toward a colour by a grey density picture
// ("clouds/zone.png", 0 clear .. 255 dense) sampled at two offsets that circle slowly,
// so the cloud seems to stream past. No data file names zones: the game adds them in
// code (AddZone), and without zones the effect stays in state 0.
#include <cstdint>
#include <string>
#include <vector>

#include "world/FSBox.h"

class CFSCamera;
class MFSSceneNode;

struct FSCloudZone {
    FSBox outer;  // terrain coordinates, 16.16 km; contains inner
    FSBox inner;
    uint32_t texture = 0;           // the cloud shown at the zone's centre (0: untextured)
    uint32_t mixColour = 0xE8ECF0;  // 0xRRGGBB the picture clouds toward
};

class CFSFlyThroughEffect {
public:
    enum State : int32_t { kOutside = 0, kEntering = 1, kInside = 2 };

    // The first-mode colour at the thin outer fringe (factor below 0.4) is the zone's mix
    // colour taken halfway to white: the edges of a cloud are its brightest wisps.
    // In the second mode (factor above 0.6) the density pattern fades in again toward the
    // inner box while an even haze of the zone's colour, strongest at 0.6, fades out: at
    // most kHazeWeight / 65536 of the way to the colour, about the average cover of the
    // pattern, so the picture stays as white as it was while its structure changes.
    static constexpr int32_t kHazeWeight = 39322;  // 0.6

    CFSFlyThroughEffect() = default;

    // Everything zeroed: state 0, no zone, factor 0, no zones, no density picture.
    void Init();

    // The density picture from an archive member (the first channel of a grey PNG). False,
    // and the previous picture kept, when it cannot be read. Without a picture the density
    // is full everywhere.
    bool LoadCloudImage(const std::string& archivePath, const std::string& memberName = "clouds/zone.png");
    // The density picture directly: width × height bytes, bottom row first (as a texture).
    // False, and nothing changed, for an empty size or a buffer of the wrong size.
    bool SetCloudImage(int width, int height, std::vector<uint8_t> density);
    int ImageWidth() const { return imageWidth_; }
    int ImageHeight() const { return imageHeight_; }

    // Zones, tested in the order added. Returns the new zone's index.
    int AddZone(const FSCloudZone& zone);
    void ClearZones();
    const std::vector<FSCloudZone>& Zones() const { return zones_; }

    // One flight frame: the player's terrain position against the zones.
    void Update(const MFSSceneNode& player);
    // The same for a terrain position: the first zone whose outer box holds the point
    // (on its faces included; the point is taken the short way round the wrapped world)
    // becomes current, with state 2 inside its inner box and 1 otherwise; no zone gives
    // state 0, factor 1.0. State 2 has factor 0. State 1's factor (0..1) is how deep the
    // point lies in the shell between the boxes: on each axis where it is outside the
    // inner box, its distance from the outer face over the shell's thickness there; the
    // smallest of these. 0 on the outer box's face, 1 at the inner box.
    void UpdateAt(const FSFixedVector& terrainPoint);

    int32_t State() const { return state_; }
    float Factor() const { return factor_; }
    int CurrentZone() const { return zone_; }

    // The 3-D image (x8r8g8b8, width × height, top row first) clouded into 5-6-5 pixels for
    // the rows firstRow .. firstRow + rowCount − 1 (rowCount −1, or more rows than are
    // left: to the last row); the
    // other rows of destination are left alone. seconds: the animation time of the
    // circling density offsets. With state 0 it is the plain conversion.
    void Convert(uint16_t* destination, const uint32_t* source, int width, int height, float seconds,
                 int firstRow = 0, int rowCount = -1) const;

    // The zone clouds, camera-relative, each at its outer box's centre with half the box's
    // x extent as half-width and its z extent as height. Nothing in state 2.
    void Draw(const CFSCamera& camera) const;

    // The terrain position of a world position: (column × 60 + x + 30, y, row × 60 + z + 30).
    static FSFixedVector TerrainPoint(const FSFixedVector& local, int32_t column, int32_t row);

private:
    int32_t state_ = kOutside;
    int zone_ = -1;
    float factor_ = 0.0f;
    std::vector<FSCloudZone> zones_;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    std::vector<uint8_t> density_;
};
