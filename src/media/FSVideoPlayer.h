#pragma once
// The clip player of the aircraft choice: the whole AVI file in one block, its compressed
// frames handed one by one to the decoder library, each picture converted to 5-6-5 pixels,
// the clip started again at its end. Not thread-safe: the screen that shares a player with
// its video thread holds one lock around every call.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decoder/FSDecoderApi.h"
#include "media/FSAviReader.h"

// Converts a decoded 4:2:0 picture to 5-6-5 pixels, width x height into out (row r at
// out + r * width). The rows are worked from the last to the first, like the device did.
void ConvertYuvPicture(const uint8_t* y, const uint8_t* u, const uint8_t* v, int32_t rowLength, int32_t width,
                       int32_t height, uint16_t* out);
// One pixel of the conversion.
uint16_t YuvTo565(int y, int u, int v);

class CFSVideoPlayer {
public:
    // The size of the aircraft choice's clips and the block their files are read into.
    static constexpr int32_t kClipWidth = 156;
    static constexpr int32_t kClipHeight = 116;
    static constexpr size_t kClipBlockSize = 169178;

    // A player for width x height clips decoded by the library's entry points (table); with
    // a blockSize, a file block of that size is kept for reuse by Open with mode 0. Null
    // when the table is incomplete, the size is not positive or the decoder cannot be made.
    static std::unique_ptr<CFSVideoPlayer> Create(const FSDecoderTable* table, int32_t width, int32_t height,
                                                  size_t blockSize);
    ~CFSVideoPlayer();
    CFSVideoPlayer(const CFSVideoPlayer&) = delete;
    CFSVideoPlayer& operator=(const CFSVideoPlayer&) = delete;

    // Reads the member into a new block (mode 1) or into the player's own block (any other
    // mode), walks the container and primes the decoder with the first frame. False, and
    // nothing to play, when the member cannot be read or does not fit the block, the
    // container is broken, its picture is not the player's size, or it has no first frame.
    bool Open(const std::string& archivePath, const std::string& member, int mode);
    // 1 when a frame was taken, 0 on a decoder error (try again next time), -1 at the end of
    // the clip or at a chunk that is not a frame.
    int NextFrame();
    void Rewind();
    // Releases the file block when mode is 1 (else keeps it for the next Open) and forgets the clip.
    void Close(int mode);

    bool IsOpen() const { return open_; }
    // The last picture: FrameWidth() x FrameHeight() pixels, row by row (one spare row below).
    const uint16_t* FramePixels() const { return frame_.data(); }
    int32_t FrameWidth() const { return open_ ? reader_.Width() : width_; }
    int32_t FrameHeight() const { return open_ ? reader_.Height() : height_; }
    // Microseconds per frame from the main header (0 when the clip does not say).
    uint32_t FrameMicroseconds() const { return open_ ? reader_.FrameMicroseconds() : 0; }
    int32_t FrameCounter() const { return frameCounter_; }

private:
    CFSVideoPlayer(const FSDecoderTable& table, int32_t width, int32_t height);
    // Hands one chunk to the decoder and converts the picture when convert is set: the
    // decoder's result, or -1 for a picture that does not fit the frame buffer.
    int Decode(const uint8_t* data, uint32_t size, bool convert);

    FSDecoderTable table_;
    int32_t width_;
    int32_t height_;
    void* decoder_ = nullptr;
    std::vector<uint16_t> frame_;  // (height + 1) x width
    std::vector<uint8_t> block_;   // the whole file; its size is the capacity
    size_t fileSize_ = 0;
    CFSAviReader reader_;
    int32_t frameCounter_ = 0;
    bool open_ = false;
};
