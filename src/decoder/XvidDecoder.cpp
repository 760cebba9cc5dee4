// The clip decoder library: InitCodec, DecodeFrame and CloseCodec over libxvidcore's MPEG-4
// part 2 decoder, single-threaded, writing each picture as 4:2:0 planes of its own.
#include <xvid.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "decoder/FSDecoderApi.h"

#define FS_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct XvidDecoder {
    void* handle = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowLength = 0;  // the width rounded up to 16
    std::vector<uint8_t> y, u, v;
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
    decoder->rowLength = (width + 15) & ~15;
    const size_t rows = static_cast<size_t>(height + 1) & ~size_t{1};
    decoder->y.assign(static_cast<size_t>(decoder->rowLength) * rows, 0);
    decoder->u.assign(static_cast<size_t>(decoder->rowLength / 2) * (rows / 2), 128);
    decoder->v.assign(decoder->u.size(), 128);
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
        frame.output.csp = XVID_CSP_PLANAR;
        frame.output.plane[0] = decoder->y.data();
        frame.output.plane[1] = decoder->u.data();
        frame.output.plane[2] = decoder->v.data();
        frame.output.stride[0] = decoder->rowLength;
        frame.output.stride[1] = frame.output.stride[2] = decoder->rowLength / 2;
        xvid_dec_stats_t stats;
        std::memset(&stats, 0, sizeof stats);
        stats.version = XVID_VERSION;
        const int used = xvid_decore(decoder->handle, XVID_DEC_DECODE, &frame, &stats);
        if (used < 0) return -1;
        if (stats.type > 0) {
            *y = decoder->y.data();
            *u = decoder->u.data();
            *v = decoder->v.data();
            *rowLength = decoder->rowLength;
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
