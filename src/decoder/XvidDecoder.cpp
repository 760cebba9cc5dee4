// The clip decoder library: InitCodec, DecodeFrame and CloseCodec over libxvidcore's MPEG-4
// part 2 decoder, single-threaded, handing out the decoder's own 4:2:0 planes.
#include <xvid.h>

#include <cstring>
#include <memory>
#include <new>

#include "decoder/FSDecoderApi.h"

#define FS_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct XvidDecoder {
    void* handle = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

bool InitialiseXvid() {
    static const bool done = [] {
        xvid_gbl_init_t init;
        std::memset(&init, 0, sizeof init);
        init.version = XVID_VERSION;
        return xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr) >= 0;
    }();
    return done;
}

}  // namespace

FS_EXPORT void* InitCodec(int32_t width, int32_t height, uint32_t fourcc, const FSDecoderTable* /*table*/) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || fourcc != FS_DECODER_FOURCC_XVID)
        return nullptr;
    if (!InitialiseXvid()) return nullptr;
    xvid_dec_create_t create;
    std::memset(&create, 0, sizeof create);
    create.version = XVID_VERSION;
    create.width = width;
    create.height = height;
    create.fourcc = static_cast<int>(fourcc);
    create.num_threads = 0;  // decode on the calling thread
    if (xvid_decore(nullptr, XVID_DEC_CREATE, &create, nullptr) < 0 || !create.handle) return nullptr;
    std::unique_ptr<XvidDecoder> decoder(new (std::nothrow) XvidDecoder);
    if (!decoder) {
        xvid_decore(create.handle, XVID_DEC_DESTROY, nullptr, nullptr);
        return nullptr;
    }
    decoder->handle = create.handle;
    decoder->width = width;
    decoder->height = height;
    return decoder.release();
}

FS_EXPORT int32_t DecodeFrame(void* handle, const uint8_t* data, int32_t size, const uint8_t** y,
                              const uint8_t** u, const uint8_t** v, int32_t* rowLength) {
    auto* decoder = static_cast<XvidDecoder*>(handle);
    if (!decoder || !data || size <= 0 || !y || !u || !v || !rowLength) return -1;
    // A chunk may hold the stream header before the picture: decode until a picture comes
    // out or the bytes are used up.
    int32_t left = size;
    const uint8_t* at = data;
    while (left > 0) {
        xvid_dec_frame_t frame;
        std::memset(&frame, 0, sizeof frame);
        frame.version = XVID_VERSION;
        frame.bitstream = const_cast<uint8_t*>(at);
        frame.length = left;
        frame.output.csp = XVID_CSP_INTERNAL;
        xvid_dec_stats_t stats;
        std::memset(&stats, 0, sizeof stats);
        stats.version = XVID_VERSION;
        const int used = xvid_decore(decoder->handle, XVID_DEC_DECODE, &frame, &stats);
        if (used < 0) return -1;
        if (stats.type > 0) {
            const int stride = frame.output.stride[0];
            if (!frame.output.plane[0] || !frame.output.plane[1] || !frame.output.plane[2] || stride <= 0 ||
                frame.output.stride[1] != stride / 2 || frame.output.stride[2] != stride / 2)
                return -1;
            *y = static_cast<const uint8_t*>(frame.output.plane[0]);
            *u = static_cast<const uint8_t*>(frame.output.plane[1]);
            *v = static_cast<const uint8_t*>(frame.output.plane[2]);
            *rowLength = stride;
            return FS_DECODE_PICTURE;
        }
        if (stats.type == XVID_TYPE_VOL &&
            (stats.data.vol.width != decoder->width || stats.data.vol.height != decoder->height))
            return -1;  // a stream of another size than the player's frame
        if (used == 0) break;
        at += used;
        left -= used;
    }
    return FS_DECODE_NO_PICTURE;
}

FS_EXPORT void CloseCodec(void* handle) {
    std::unique_ptr<XvidDecoder> decoder(static_cast<XvidDecoder*>(handle));
    if (decoder && decoder->handle) xvid_decore(decoder->handle, XVID_DEC_DESTROY, nullptr, nullptr);
}
