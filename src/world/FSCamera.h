#pragma once
// The eye of the scene. The camera keeps its position as a world position (eye: local
// 16.16 km in its cell), a view matrix that holds only the rotation (nodes translate by
// their camera-relative position, so every value handed to the graphics library stays
// small although the world is 240 km around), a projection matrix used for culling, two
// sets of frustum planes (nodes; terrain), the sky model that colours the fog, and the
// light direction.
//
// "screengame_align" turns the picture for the landscape orientations: the 3-D image is
// always rendered 240 × 320 (portrait) and shown turned a quarter way, so the rotation's
// rows are chosen such that world "up" ends at the top of the upright picture:
//   0 → rows (r, u, −f)   portrait
//   1 → rows (−u, r, −f)  up toward the image's left edge
//   2 → rows (u, −r, −f)  up toward the image's right edge
// with f the forward direction, r = f × up (right) and u = r × f (true up).
#include "world/FSFixedMatrix.h"
#include "world/FSFixedVector.h"
#include "world/FSSkyColour.h"
#include "world/FSSkyModel.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

class MFSSceneNode;
class SineTable;

// a·x + b·y + c·z + d, (a, b, c) of length 1.0; a point is inside when the value is
// positive. Planes are in camera-relative world coordinates (16.16 km).
struct FSPlane {
    FSFixed a = 0;
    FSFixed b = 0;
    FSFixed c = 0;
    FSFixed d = 0;

    FSFixed Distance(const FSFixedVector& p) const;
};

// Frustum plane order: left, right, bottom, top, near, far.
inline constexpr int kFrustumPlanes = 6;
// TestSphere's answer for a sphere wholly outside one plane.
inline constexpr int kSphereOutside = -1;
// Nodes further than this from the eye (km) are culled whatever the frustum says.
inline constexpr float kCullDistance = 30.0f;

class CFSCamera {
public:
    // sine: the game's sine table, used by the sky model.
    explicit CFSCamera(const SineTable* sine = nullptr);

    // Stores eye, target and up (16.16, local to the camera's cell), builds the view
    // rotation for the alignment ("screengame_align": 0, 1 or 2), then sets the fog, clear colour and light
    // for the new view: the sky colour in the viewing direction (zenith angle at most 75°) with the turbidity
    // 2 + 4 × the relative air density at the eye (1 unit = 1000 m) goes to
    // glClearColorx and GL_FOG_COLOR, 0.1 × that colour is kept as the ambient colour, and
    // light 0 is set for the new view (ApplyLight).
    // When target equals eye the previous rotation stays. When up is parallel to the view,
    // (0, 0, −1) (then (1, 0, 0)) serves as up so that the view never collapses.
    void LookAt(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                int alignment);

    // LookAt without the fog, clear colour and light (no GL calls).
    void SetView(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                 int alignment);

    // glFrustumx for a vertical field of view (degrees), aspect (width / height), near and
    // far (km), multiplied onto the current GL matrix (select and reset it first).
    void SetPerspective(float fovyDegrees, float aspect, float nearPlane, float farPlane) const;
    // The same frustum built into the camera's projection matrix (for culling).
    void SetPerspectiveMatrix(float fovyDegrees, float aspect, float nearPlane, float farPlane);

    // How far (km, along the view) fog must have swallowed everything for a ground that
    // reaches reachKm from the eye in every horizontal direction to end unseen: the nearest
    // point of its edge in the picture can lie as near as reach × the cosine of half the
    // frustum's diagonal along the view (which is the distance fog goes by), and nothing
    // beyond the far plane is drawn at all. From the projection of SetPerspectiveMatrix.
    float GroundFogLimit(float reachKm) const;
    // Holds the current GL fog within limitKm of the eye, whatever the flight asked for:
    // a linear fog's end is brought in (and its start to half that end, when it lay
    // further), an exponential one is thickened until at most 1/256 of a colour is left
    // at the limit. A fog that already ends in time is left as it is.
    static void LimitFog(float limitKm);

    // The six node-culling planes from projection × view.
    void ExtractPlanes();
    // The six terrain-culling planes from projection × the terrain's model-view matrix.
    void ExtractTerrainPlanes(const FSFixedMatrix& terrainModelView);

    // The wrapped difference node world position − camera world position (16.16 km).
    FSFixedVector RelativePosition(const MFSSceneNode& node) const;
    FSFixedVector RelativePosition(const FSFixedVector& local, const FSCell& cell) const;

    // The frustum test of one node: culled when its camera-relative position (that of its
    // culling stand-in, if any) is further than 30.0; without a model, when that point is
    // on or behind any node plane (distance below 1/65536); with a model, when the point
    // is at least the model box's largest extent behind any plane.
    bool IsCulled(const MFSSceneNode& node) const;

    // The terrain's sphere test against the terrain planes. Tests lastPlane first (the
    // plane that rejected last time, −1 for none), then each plane of mask (bit i = plane
    // i) in order 0..5: kSphereOutside, recording the rejecting plane in lastPlane, at the
    // first plane with distance + radius < 0; otherwise the mask of the planes the sphere
    // straddles (|distance| < radius), 0 when it is wholly inside.
    int TestSphere(const FSFixedVector& centre, FSFixed radius, int mask, int& lastPlane) const;

    const FSFixedVector& Eye() const { return eye_; }
    const FSFixedVector& Target() const { return target_; }
    const FSFixedVector& Up() const { return up_; }
    // Column-major, rotation only; load it, then translate each node camera-relative.
    const FSFixedMatrix& ViewMatrix() const { return view_; }
    const FSFixedMatrix& ProjectionMatrix() const { return projection_; }
    const FSPlane* Planes() const { return planes_; }

    CFSSkyModel& Sky() { return sky_; }
    const CFSSkyModel& Sky() const { return sky_; }
    // The colour LookAt last gave the fog and the clear colour, and its ambient tenth.
    const FSSkyColour& FogColour() const { return fogColour_; }
    const FSSkyColour& Ambient() const { return ambient_; }

    // Toward the sun (16.16 unit vector, world frame); (0, 1, 0) at construction.
    void SetLightDirection(const FSFixedVector& direction) { lightDirection_ = direction; }
    const FSFixedVector& LightDirection() const { return lightDirection_; }
    // The light of the time of day (16.16 factors per channel, 1.0 = full daylight; white at
    // construction). Lit meshes take kSunShare of it along the light direction and
    // kSkyShare from every side, so a face turned away from the sun still shows its
    // colours, shaded, never black; together they make 1.0, so a face square to the sun
    // shows its picture's own colours and no face is washed out beyond them.
    void SetDaylight(const FSFixedColour& daylight) { daylight_ = daylight; }
    const FSFixedColour& Daylight() const { return daylight_; }
    static constexpr FSFixed kSunShare = 26214;  // 0.4
    static constexpr FSFixed kSkyShare = 39322;  // 0.6
    // Light 0 as LookAt sets it: directional along the light direction (given in world
    // axes, so set with the view rotation loaded), its diffuse and ambient colours from
    // the daylight, and no other ambient light. Leaves the matrices as they were.
    void ApplyLight() const;

    void SetCell(const FSCell& cell) { cell_ = cell; }
    const FSCell& GetCell() const { return cell_; }
    void SetOrientation(const FSQuaternion& orientation) { orientation_ = orientation; }
    const FSQuaternion& GetOrientation() const { return orientation_; }

private:
    void SetUpAtmosphere(const FSFixedVector& forward);

    FSFixedVector eye_;
    FSFixedVector target_;
    FSFixedVector up_{0, kFixedOne, 0};
    FSFixedMatrix view_ = FSFixedMatrix::Identity();
    FSFixedMatrix projection_ = FSFixedMatrix::Identity();
    CFSSkyModel sky_;
    FSPlane planes_[kFrustumPlanes];
    FSPlane terrainPlanes_[kFrustumPlanes];
    FSFixedVector lightDirection_{0, kFixedOne, 0};
    FSCell cell_;
    FSQuaternion orientation_;
    FSSkyColour fogColour_;
    FSSkyColour ambient_;
    FSFixedColour daylight_{kFixedOne, kFixedOne, kFixedOne};
    // Of the projection matrix: the far plane (km, 0 for none) and the cosine of the angle
    // between the view and a corner of the frustum.
    float farPlane_ = 0.0f;
    float cornerCosine_ = 0.5f;
};

// Builds the six planes of a combined (projection × model-view) matrix: the fourth row
// plus and minus each of the first three, each scaled to a unit normal. A plane whose
// normal vanishes in 16.16 becomes (0, 0, 0, 1.0), which culls nothing.
void ExtractFrustumPlanes(const FSFixedMatrix& combined, FSPlane planes[kFrustumPlanes]);

// The view rotation of LookAt (column-major, no translation) for an alignment 0, 1 or 2;
// false (matrix untouched) when eye equals target. The terrain rebuilds its transform
// from this.
bool BuildViewRotation(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                       int alignment, FSFixedMatrix& view);
