// Drawing of the terrain window: the terrain transform, the visible triangles, and the
// normal (textured) and paused (map) drawings.
#include <GLES/gl.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "world/FSCamera.h"
#include "world/FSDoubledModulation.h"
#include "world/FSTerrainModel.h"

namespace {

// The GL state the terrain changes, taken on entry and put back on exit, so the nodes
// drawn after it find what they left.
class SavedGLState {
public:
    SavedGLState() {
        fog_ = glIsEnabled(GL_FOG);
        lighting_ = glIsEnabled(GL_LIGHTING);
        blend_ = glIsEnabled(GL_BLEND);
        texture_ = glIsEnabled(GL_TEXTURE_2D);
        vertexArray_ = glIsEnabled(GL_VERTEX_ARRAY);
        normalArray_ = glIsEnabled(GL_NORMAL_ARRAY);
        colourArray_ = glIsEnabled(GL_COLOR_ARRAY);
        texcoordArray_ = glIsEnabled(GL_TEXTURE_COORD_ARRAY);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc_);
        glGetIntegerv(GL_SHADE_MODEL, &shadeModel_);
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode_);
        glGetFixedv(GL_CURRENT_COLOR, colour_);
    }
    ~SavedGLState() {
        Set(GL_FOG, fog_);
        Set(GL_LIGHTING, lighting_);
        Set(GL_BLEND, blend_);
        Set(GL_TEXTURE_2D, texture_);
        SetClient(GL_VERTEX_ARRAY, vertexArray_);
        SetClient(GL_NORMAL_ARRAY, normalArray_);
        SetClient(GL_COLOR_ARRAY, colourArray_);
        SetClient(GL_TEXTURE_COORD_ARRAY, texcoordArray_);
        glDepthFunc(static_cast<GLenum>(depthFunc_));
        glShadeModel(static_cast<GLenum>(shadeModel_));
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode_);
        glMatrixMode(static_cast<GLenum>(matrixMode_));
        // After a colour array the current colour is undefined: put back the one we found
        // (the light the nodes drawn after the ground are tinted with).
        glColor4x(colour_[0], colour_[1], colour_[2], colour_[3]);
    }
    SavedGLState(const SavedGLState&) = delete;
    SavedGLState& operator=(const SavedGLState&) = delete;

private:
    static void Set(GLenum cap, GLboolean on) { on ? glEnable(cap) : glDisable(cap); }
    static void SetClient(GLenum array, GLboolean on) {
        on ? glEnableClientState(array) : glDisableClientState(array);
    }

    GLboolean fog_, lighting_, blend_, texture_;
    GLboolean vertexArray_, normalArray_, colourArray_, texcoordArray_;
    GLint depthFunc_ = GL_LEQUAL, shadeModel_ = GL_SMOOTH, matrixMode_ = GL_MODELVIEW, envMode_ = GL_MODULATE;
    GLfixed colour_[4] = {kFixedOne, kFixedOne, kFixedOne, kFixedOne};
};

// The second texture unit carrying the detail over the near ground while it lives: the
// detail texture doubled-modulated over the ground's own (FSDoubledModulation), with its
// own coordinates; On switches it for the triangles drawn next. The unit's state and the
// active units are put back at the end. Without a detail texture it does nothing.
class DetailStage {
public:
    DetailStage(GLuint texture, const FSFixed* coordinates) : texture_(texture) {
        if (texture_ == 0) return;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active_);
        glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE, &clientActive_);
        glActiveTexture(GL_TEXTURE1);
        enabled_ = glIsEnabled(GL_TEXTURE_2D);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound_);
        modulation_.emplace();
        glBindTexture(GL_TEXTURE_2D, texture_);
        glClientActiveTexture(GL_TEXTURE1);
        array_ = glIsEnabled(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FIXED, 0, coordinates);
        // The ground's own drawing goes to the first unit.
        glClientActiveTexture(GL_TEXTURE0);
        glActiveTexture(GL_TEXTURE0);
        On(false);
    }
    ~DetailStage() {
        if (texture_ == 0) return;
        glActiveTexture(GL_TEXTURE1);
        modulation_.reset();
        enabled_ ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound_));
        glClientActiveTexture(GL_TEXTURE1);
        array_ ? glEnableClientState(GL_TEXTURE_COORD_ARRAY) : glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glClientActiveTexture(static_cast<GLenum>(clientActive_));
        glActiveTexture(static_cast<GLenum>(active_));
    }
    DetailStage(const DetailStage&) = delete;
    DetailStage& operator=(const DetailStage&) = delete;

    void On(bool on) {
        if (texture_ == 0 || on == on_) return;
        glActiveTexture(GL_TEXTURE1);
        on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
        on_ = on;
    }

private:
    GLuint texture_;
    GLint active_ = GL_TEXTURE0, clientActive_ = GL_TEXTURE0, bound_ = 0;
    GLboolean enabled_ = GL_FALSE, array_ = GL_FALSE;
    bool on_ = true;  // so that the first On(false) switches the unit off
    std::optional<FSDoubledModulation> modulation_;
};

uint64_t Magnitude(int64_t value) {
    return static_cast<uint64_t>(std::min<int64_t>(value < 0 ? -value : value, kFixedMax));
}

void DrawList(const std::vector<uint16_t>& indices) {
    if (indices.empty()) return;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
}

}  // namespace

int CFSTerrainModel::Draw(CFSCamera& camera, const FSTerrainDrawOptions& options) {
    if (!IsLoaded()) return 0;
    EnsureBuilt();

    // The camera's rotation rebuilt for the alignment, after the translation that puts the
    // eye at the origin: window coordinates go in, eye-relative coordinates come out.
    FSFixedMatrix rotation;
    if (!BuildViewRotation(camera.Eye(), camera.Target(), camera.Up(), options.alignment, rotation))
        rotation = camera.ViewMatrix();
    FSFixedMatrix translation = FSFixedMatrix::Identity();
    translation.At(0, 3) = -offset_.x;
    translation.At(1, 3) = -offset_.y;
    translation.At(2, 3) = -offset_.z;
    const FSFixedMatrix transform = Multiply(rotation, translation);
    camera.ExtractTerrainPlanes(transform);

    if (!options.paused) ++frameStamp_;
    visible_.clear();
    const int count = quadtree_.Collect(camera, frameStamp_, visible_);

    const SavedGLState saved;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixx(transform.m);
    if (options.paused) {
        glDisable(GL_FOG);
    } else {
        // The ground fades into the fog before its window ends, whatever fog the flight
        // asked for; what is drawn after it shares that fog.
        CFSCamera::LimitFog(camera.GroundFogLimit(GroundReach()));
        glEnable(GL_FOG);
    }
    glDisable(GL_LIGHTING);
    // Only the arrays of this drawing may be enabled: a stale normal pointer left by a
    // mesh would otherwise be read for every terrain vertex.
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, positions_.data());

    if (!options.paused) FetchTextures();
    const int bands = DrawableBands();
    if (options.paused || bands == 0) {
        DrawUntextured(options.paused && options.gridOverlay);
    } else {
        DrawTextured(options, bands);
    }
    glPopMatrix();
    return count;
}

FSFixed CFSTerrainModel::BandWeight(int band, size_t vertex) const {
    // Band b fades in from 0 at its start to 1.0 at the end of band b − 1.
    if (band <= 0) return kFixedOne;
    const FSTerrainBand& fading = Bands()[band];
    const FSTerrainBand& before = Bands()[band - 1];
    const int64_t squared = distanceSquared_[vertex] >> 16;  // 16.16
    if (squared <= fading.startSquared) return 0;
    if (squared >= before.endSquared) return kFixedOne;
    if (before.end <= fading.start) return kFixedOne;
    const FSFixed distance = FixedSqrtWide(static_cast<uint64_t>(distanceSquared_[vertex]));
    const FSFixed weight = FixedDiv(distance - fading.start, before.end - fading.start);
    return std::clamp<FSFixed>(weight, 0, kFixedOne);
}

void CFSTerrainModel::SortVisibleTriangles(int bands, int layers, bool blendLayers) {
    const std::vector<FSTerrainBand>& bandList = Bands();
    const size_t vertices = positions_.size();
    for (size_t v = 0; v < vertices; ++v) {
        // Each difference held to 31 bits, so the three squares add up within 64 bits
        // whatever heights a file holds.
        const uint64_t dx = Magnitude(static_cast<int64_t>(positions_[v].x) - offset_.x);
        const uint64_t dy = Magnitude(static_cast<int64_t>(positions_[v].y) - offset_.y);
        const uint64_t dz = Magnitude(static_cast<int64_t>(positions_[v].z) - offset_.z);
        const uint64_t raw = dx * dx + dy * dy + dz * dz;
        distanceSquared_[v] = static_cast<int64_t>(std::min<uint64_t>(raw, INT64_MAX));
        // The vertex belongs to the first band whose end is not nearer than the vertex.
        const int64_t squared = distanceSquared_[v] >> 16;
        int band = bands - 1;
        for (int b = 0; b < bands; ++b) {
            if (bandList[b].endSquared >= squared) {
                band = b;
                break;
            }
        }
        vertexFlags_[v] = static_cast<uint8_t>(band);
    }

    const int64_t detailSquared =
        static_cast<int64_t>(FloatToFixed(kTerrainDetailReach * kTerrainDetailReach));
    for (PassLists& pass : passes_) {
        pass.detailed.clear();
        pass.opaque.clear();
        pass.blend.clear();
        pass.fade.clear();
    }
    for (const int32_t t : visible_) {
        const uint16_t* corner = fullIndices_.data() + 3 * static_cast<size_t>(t);
        const int band =
            std::min({vertexFlags_[corner[0]], vertexFlags_[corner[1]], vertexFlags_[corner[2]]});
        const int layer = std::min<int>(triangleLayer_[t], layers - 1);
        PassLists& pass = passes_[static_cast<size_t>(band) * layers + layer];
        const int64_t nearest =
            std::min({distanceSquared_[corner[0]], distanceSquared_[corner[1]], distanceSquared_[corner[2]]});
        std::vector<uint16_t>& list = (nearest >> 16) < detailSquared ? pass.detailed : pass.opaque;
        list.insert(list.end(), corner, corner + 3);
        if (blendLayers) {
            const uint8_t mask = triangleBlend_[t];
            for (int k = layer + 1; k < layers; ++k) {
                if ((mask & (1u << k)) == 0) continue;
                std::vector<uint16_t>& blend = passes_[static_cast<size_t>(band) * layers + k].blend;
                blend.insert(blend.end(), corner, corner + 3);
            }
        }
        if (band + 1 < bands) {
            const FSFixed startSquared = bandList[band + 1].startSquared;
            bool fading = false;
            for (int c = 0; c < 3; ++c)
                fading = fading || (distanceSquared_[corner[c]] >> 16) > startSquared;
            if (fading) {
                std::vector<uint16_t>& fade = passes_[static_cast<size_t>(band + 1) * layers + layer].fade;
                fade.insert(fade.end(), corner, corner + 3);
            }
        }
    }
}

void CFSTerrainModel::FillPassColours(int band, int layer, bool forBand, const FSFixed tint[3]) {
    const size_t vertices = positions_.size();
    const FSFixed* weights = forBand ? nullptr : layerWeights_.data() + static_cast<size_t>(layer) * vertices;
    for (size_t v = 0; v < vertices; ++v) {
        // The light of the time of day, and the layer's or band's weight as alpha.
        passColours_[4 * v + 0] = tint[0];
        passColours_[4 * v + 1] = tint[1];
        passColours_[4 * v + 2] = tint[2];
        passColours_[4 * v + 3] = forBand ? BandWeight(band, v) : weights[v];
    }
}

void CFSTerrainModel::DrawTextured(const FSTerrainDrawOptions& options, int bands) {
    const std::vector<FSTerrainLayer>& layerList = Layers();
    const int layers = static_cast<int>(layerList.size());
    const bool blendLayers = options.terrainQuality >= 2 && layers > 1;
    SortVisibleTriangles(bands, layers, blendLayers);
    auto texture = [&](int layer, int band) { return static_cast<GLuint>(layerList[layer].textures[band]); };

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    // Modulated by the light of the time of day (white leaves the textures as they are).
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4x(options.tint[0], options.tint[1], options.tint[2], kFixedOne);
    // The detail goes over the near triangles, in every pass drawn on them.
    DetailStage detail(DetailTexture(), detailCoords_.data());
    for (int b = 0; b < bands; ++b) {
        glTexCoordPointer(2, GL_FIXED, 0, texcoords_[b].data());
        for (int k = 0; k < layers; ++k) {
            const PassLists& pass = passes_[static_cast<size_t>(b) * layers + k];
            if (pass.opaque.empty() && pass.detailed.empty()) continue;
            glBindTexture(GL_TEXTURE_2D, texture(k, b));
            detail.On(true);
            DrawList(pass.detailed);
            detail.On(false);
            DrawList(pass.opaque);
        }
    }

    bool blended = false;
    for (const PassLists& pass : passes_)
        blended = blended || !pass.blend.empty() || !pass.fade.empty();
    if (!blended) {
        if (options.texturesQuality == 0) glShadeModel(GL_FLAT);
        return;
    }
    // The blended passes lie exactly on the opaque ground: equal depth, alpha from the
    // per-vertex colours, the texture modulated by them.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_EQUAL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FIXED, 0, passColours_.data());
    if (blendLayers) {
        for (int k = 1; k < layers; ++k) {
            bool filled = false;
            for (int b = 0; b < bands; ++b) {
                const PassLists& pass = passes_[static_cast<size_t>(b) * layers + k];
                if (pass.blend.empty()) continue;
                if (!filled) FillPassColours(0, k, false, options.tint);
                filled = true;
                detail.On(b == 0);
                glTexCoordPointer(2, GL_FIXED, 0, texcoords_[b].data());
                glBindTexture(GL_TEXTURE_2D, texture(k, b));
                DrawList(pass.blend);
            }
        }
    }
    detail.On(false);  // the bands cross-fade far beyond the detail's reach
    for (int b = 1; b < bands; ++b) {
        bool filled = false;
        for (int k = 0; k < layers; ++k) {
            const PassLists& pass = passes_[static_cast<size_t>(b) * layers + k];
            if (pass.fade.empty()) continue;
            if (!filled) FillPassColours(b, 0, true, options.tint);
            filled = true;
            glTexCoordPointer(2, GL_FIXED, 0, texcoords_[b].data());
            glBindTexture(GL_TEXTURE_2D, texture(k, b));
            DrawList(pass.fade);
        }
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_BLEND);
    if (options.texturesQuality == 0) glShadeModel(GL_FLAT);
}

void CFSTerrainModel::DrawUntextured(bool gridLines) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FIXED, 0, shadeColours_.data());
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LEQUAL);
    untexturedIndices_.clear();
    for (const int32_t t : visible_) {
        const uint16_t* corner = fullIndices_.data() + 3 * static_cast<size_t>(t);
        untexturedIndices_.insert(untexturedIndices_.end(), corner, corner + 3);
    }
    DrawList(untexturedIndices_);
    glDisableClientState(GL_COLOR_ARRAY);
    if (gridLines) DrawGridLines();
    glEnable(GL_TEXTURE_2D);
}

void CFSTerrainModel::DrawGridLines() {
    // Lines along the grid columns and rows that are multiples of the interval, so they
    // stay fixed to the ground as the window moves; each follows the ground's heights.
    const int32_t n = GetGridSize();
    const int32_t w = WindowSize();
    const int32_t interval = std::max(1, n / kTerrainGridLineParts);
    gridLines_.clear();
    auto at = [&](int32_t a, int32_t b) {
        return positions_[static_cast<size_t>(a) + static_cast<size_t>(b) * w];
    };
    for (int32_t a = 0; a < w; ++a) {
        if ((originColumn_ + a) % n % interval != 0) continue;
        for (int32_t b = 0; b + 1 < w; ++b) {
            gridLines_.push_back(at(a, b));
            gridLines_.push_back(at(a, b + 1));
        }
    }
    for (int32_t b = 0; b < w; ++b) {
        if ((originRow_ + b) % n % interval != 0) continue;
        for (int32_t a = 0; a + 1 < w; ++a) {
            gridLines_.push_back(at(a, b));
            gridLines_.push_back(at(a + 1, b));
        }
    }
    if (gridLines_.empty()) return;
    glColor4x(kFixedOne, kFixedOne, kFixedOne, kFixedOne);
    glVertexPointer(3, GL_FIXED, 0, gridLines_.data());
    glDepthFunc(GL_ALWAYS);
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(gridLines_.size()));
    glDepthFunc(GL_LEQUAL);
}
