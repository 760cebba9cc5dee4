#pragma once
// The call shapes of the clip decoder library ("xvid_ppc.dll" in the game's terms; on Linux
// the shared library xvid_ppc.so beside the executable). The game loads it at start-up and
// looks the three entry points up by name; the library and the game both include this
// header, so the two sides cannot drift apart.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The four-character code of the clips' video stream, the bytes "XVID".
#define FS_DECODER_FOURCC_XVID 0x44495658u

// DecodeFrame results.
#define FS_DECODE_PICTURE 1     // a picture was produced: the planes are valid
#define FS_DECODE_NO_PICTURE 2  // the frame produced no picture (the previous one stays)

// The host's table of the three entry points, in the order InitCodec, CloseCodec, DecodeFrame.
typedef struct FSDecoderTable FSDecoderTable;

// A decoder for width x height frames of the given code; null when none can be made.
typedef void* (*FSInitCodecFunction)(int32_t width, int32_t height, uint32_t fourcc,
                                     const FSDecoderTable* table);
// Decodes size bytes of one compressed frame. On FS_DECODE_PICTURE, y, u and v point at the
// decoder's planes (valid until the next call): Y with rowLength bytes per row, U and V at
// half resolution with rowLength / 2. Anything but 1 and 2 is an error.
typedef int32_t (*FSDecodeFrameFunction)(void* handle, const uint8_t* data, int32_t size, const uint8_t** y,
                                         const uint8_t** u, const uint8_t** v, int32_t* rowLength);
typedef void (*FSCloseCodecFunction)(void* handle);

struct FSDecoderTable {
    FSInitCodecFunction initCodec;
    FSCloseCodecFunction closeCodec;
    FSDecodeFrameFunction decodeFrame;
};

#ifdef __cplusplus
}
#endif
