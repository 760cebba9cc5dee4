#include "media/FSVideoPlayer.h"

#include <algorithm>
#include <cstdio>

#include "resources/FSArchive.h"

uint16_t YuvTo565(int y, int u, int v) {
    const int luma = 298 * y + 112;
    const int blue = std::clamp((luma + 516 * (u - 128)) >> 11, 0, 31);
    const int green = std::clamp((luma - 100 * (u - 128) - 208 * (v - 128)) >> 10, 0, 63);
    const int red = std::clamp((luma + 409 * (v - 128)) >> 11, 0, 31);
    return static_cast<uint16_t>(red << 11 | green << 5 | blue);
}

void ConvertYuvPicture(const uint8_t* y, const uint8_t* u, const uint8_t* v, int32_t rowLength, int32_t width,
                       int32_t height, uint16_t* out) {
    const int32_t chromaRow = rowLength / 2;
    for (int32_t r = height - 1; r >= 0; --r) {
        const uint8_t* yRow = y + static_cast<size_t>(r) * rowLength;
        const uint8_t* uRow = u + static_cast<size_t>(r / 2) * chromaRow;
        const uint8_t* vRow = v + static_cast<size_t>(r / 2) * chromaRow;
        uint16_t* outRow = out + static_cast<size_t>(r) * width;
        for (int32_t c = 0; c < width; ++c)
            outRow[c] = YuvTo565(yRow[c], uRow[c / 2], vRow[c / 2]);
    }
}

std::unique_ptr<CFSVideoPlayer> CFSVideoPlayer::Create(const FSDecoderTable* table, int32_t width,
                                                       int32_t height, size_t blockSize) {
    if (!table || !table->initCodec || !table->closeCodec || !table->decodeFrame || width <= 0 ||
        height <= 0 || width > 4096 || height > 4096)
        return nullptr;
    std::unique_ptr<CFSVideoPlayer> player(new CFSVideoPlayer(*table, width, height));
    player->decoder_ = table->initCodec(width, height, FS_DECODER_FOURCC_XVID, table);
    if (!player->decoder_) return nullptr;
    if (blockSize != 0) player->block_.resize(blockSize);
    return player;
}

CFSVideoPlayer::CFSVideoPlayer(const FSDecoderTable& table, int32_t width, int32_t height)
    : table_(table), width_(width), height_(height), frame_(static_cast<size_t>(height + 1) * width) {}

CFSVideoPlayer::~CFSVideoPlayer() {
    Close(1);
    if (decoder_) table_.closeCodec(decoder_);
}

bool CFSVideoPlayer::Open(const std::string& archivePath, const std::string& member, int mode) {
    open_ = false;
    frameCounter_ = 0;
    if (mode == 1) {
        FSMemoryBlock file = ReadArchiveMember(archivePath, member);
        if (!file) return false;
        block_.assign(file.data.get(), file.data.get() + file.size);
        fileSize_ = file.size;
    } else {
        size_t size = 0;
        if (block_.empty() ||
            !ReadArchiveMemberInto(block_.data(), block_.size(), archivePath, member, size)) {
            std::fprintf(stderr, "AVI reading error: cannot read %s into the clip block\n", member.c_str());
            return false;
        }
        fileSize_ = size;
    }
    if (!reader_.Parse(block_.data(), fileSize_)) return false;
    if (reader_.Width() != width_ || reader_.Height() != height_) {
        std::fprintf(stderr, "AVI reading error: %s is %d x %d, the player shows %d x %d\n", member.c_str(),
                     reader_.Width(), reader_.Height(), width_, height_);
        return false;
    }
    // The first frame primes the decoder; its picture is not shown.
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!reader_.NextChunk(data, size)) return false;
    Decode(data, size, false);
    open_ = true;
    return true;
}

int CFSVideoPlayer::Decode(const uint8_t* data, uint32_t size, bool convert) {
    const uint8_t *y = nullptr, *u = nullptr, *v = nullptr;
    int32_t rowLength = 0;
    const int result = table_.decodeFrame(decoder_, data, static_cast<int32_t>(size), &y, &u, &v, &rowLength);
    if (result != FS_DECODE_PICTURE || !convert) return result;
    // A picture whose rows are shorter than the frame is not the clip's: it is not converted.
    if (!y || !u || !v || rowLength < width_) return -1;
    ConvertYuvPicture(y, u, v, rowLength, width_, height_, frame_.data());
    return result;
}

int CFSVideoPlayer::NextFrame() {
    if (!open_) return -1;
    if (frameCounter_ < 0 || static_cast<uint32_t>(frameCounter_) >= reader_.TotalFrames()) return -1;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!reader_.NextChunk(data, size)) return -1;
    const int result = Decode(data, size, true);
    if (result != FS_DECODE_PICTURE && result != FS_DECODE_NO_PICTURE) return 0;
    ++frameCounter_;
    return 1;
}

void CFSVideoPlayer::Rewind() {
    frameCounter_ = 0;
    reader_.Rewind();
}

void CFSVideoPlayer::Close(int mode) {
    if (mode == 1) {
        block_.clear();
        block_.shrink_to_fit();
    }
    reader_.Reset();
    fileSize_ = 0;
    frameCounter_ = 0;
    open_ = false;
}
