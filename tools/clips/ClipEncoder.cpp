#include "clips/ClipEncoder.h"

#include <xvid.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

uint8_t Level(double value) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 0, 255));
}

// The picture as planar 4:2:0 (Y, then U and V at half size), each chroma sample the mean
// of its four pixels.
std::vector<uint8_t> ToI420(const Canvas& picture) {
    const int w = picture.Width(), h = picture.Height();
    std::vector<uint8_t> planes(static_cast<size_t>(w) * h * 3 / 2);
    uint8_t* yPlane = planes.data();
    uint8_t* uPlane = yPlane + static_cast<size_t>(w) * h;
    uint8_t* vPlane = uPlane + static_cast<size_t>(w / 2) * (h / 2);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int luma = 0, u = 0, v = 0;
            RgbToYuv(picture.At(x, y), luma, u, v);
            yPlane[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(luma);
        }
    }
    for (int y = 0; y < h / 2; ++y) {
        for (int x = 0; x < w / 2; ++x) {
            int uSum = 0, vSum = 0;
            for (int k = 0; k < 4; ++k) {
                int luma = 0, u = 0, v = 0;
                RgbToYuv(picture.At(2 * x + (k & 1), 2 * y + (k >> 1)), luma, u, v);
                uSum += u;
                vSum += v;
            }
            uPlane[static_cast<size_t>(y) * (w / 2) + x] = static_cast<uint8_t>((uSum + 2) / 4);
            vPlane[static_cast<size_t>(y) * (w / 2) + x] = static_cast<uint8_t>((vSum + 2) / 4);
        }
    }
    return planes;
}

}  // namespace

void RgbToYuv(const Rgba& c, int& y, int& u, int& v) {
    // The player computes red = 1.164 Y + 1.596 (V - 128) and so on, without subtracting 16.
    const double luma = 0.257 * c.r + 0.504 * c.g + 0.098 * c.b;
    y = Level(luma);
    u = Level(-0.148 * c.r - 0.291 * c.g + 0.439 * c.b + 128);
    v = Level(0.439 * c.r - 0.368 * c.g - 0.071 * c.b + 128);
}

bool EncodeClip(const std::vector<Canvas>& frames, int quant, int framesPerSecond, AviClip& clip) {
    if (frames.empty()) return false;
    const int w = frames[0].Width(), h = frames[0].Height();
    xvid_gbl_init_t init;
    std::memset(&init, 0, sizeof init);
    init.version = XVID_VERSION;
    init.cpu_flags = XVID_CPU_FORCE;  // plain C code: the same bytes on every processor
    if (xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr) < 0) return false;
    xvid_enc_create_t create;
    std::memset(&create, 0, sizeof create);
    create.version = XVID_VERSION;
    create.width = w;
    create.height = h;
    create.num_threads = 0;
    create.max_bframes = 0;
    create.fincr = 1;
    create.fbase = framesPerSecond;
    create.max_key_interval = static_cast<int>(frames.size());
    for (int i = 0; i < 3; ++i) {
        create.min_quant[i] = 2;
        create.max_quant[i] = 31;
    }
    if (xvid_encore(nullptr, XVID_ENC_CREATE, &create, nullptr) < 0 || !create.handle) return false;
    clip = AviClip{};
    clip.width = w;
    clip.height = h;
    clip.framesPerSecond = framesPerSecond;
    std::vector<uint8_t> buffer(static_cast<size_t>(w) * h * 4 + 4096);
    bool ok = true;
    for (size_t i = 0; i < frames.size() && ok; ++i) {
        std::vector<uint8_t> planes = ToI420(frames[i]);
        xvid_enc_frame_t frame;
        std::memset(&frame, 0, sizeof frame);
        frame.version = XVID_VERSION;
        frame.bitstream = buffer.data();
        frame.length = static_cast<int>(buffer.size());
        frame.input.csp = XVID_CSP_I420;
        frame.input.plane[0] = planes.data();
        frame.input.stride[0] = w;
        frame.vop_flags = XVID_VOP_HALFPEL | XVID_VOP_INTER4V;
        frame.motion = XVID_ME_ADVANCEDDIAMOND16 | XVID_ME_HALFPELREFINE16 | XVID_ME_ADVANCEDDIAMOND8 |
                       XVID_ME_HALFPELREFINE8;
        frame.type = i == 0 ? XVID_TYPE_IVOP : XVID_TYPE_PVOP;
        frame.quant = quant;
        xvid_enc_stats_t stats;
        std::memset(&stats, 0, sizeof stats);
        stats.version = XVID_VERSION;
        const int length = xvid_encore(create.handle, XVID_ENC_ENCODE, &frame, &stats);
        if (length <= 0) {
            ok = false;
            break;
        }
        clip.frames.emplace_back(buffer.begin(), buffer.begin() + length);
        clip.keyFrames.push_back((frame.out_flags & XVID_KEYFRAME) != 0);
    }
    xvid_encore(create.handle, XVID_ENC_DESTROY, nullptr, nullptr);
    return ok;
}
