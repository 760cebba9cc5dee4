// The walk through a clip's container on hand-made byte blocks: the fixed layout, pad bytes
// after odd chunks, the way back to the first frame, and blocks that lie or end early.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/FSAviReader.h"
#include "media/MediaTestClips.h"

namespace {

using media_testing::AviBytes;
using media_testing::AviParts;

TEST(AviReader, WalksTheLayoutAndPadsOddFramesAndComesBackToTheFirst) {
    AviParts parts;
    parts.frames = {{1, 2, 3}, {4, 5, 6, 7}, {8}};  // odd, even, odd
    const std::vector<uint8_t> block = AviBytes(parts);
    CFSAviReader reader;
    ASSERT_TRUE(reader.Parse(block.data(), block.size()));
    EXPECT_EQ(reader.Mismatches(), 0);
    EXPECT_EQ(reader.TotalFrames(), 3u);
    EXPECT_EQ(reader.Width(), 156);
    EXPECT_EQ(reader.Height(), 116);
    EXPECT_EQ(reader.FrameMicroseconds(), 83333u);
    for (int round = 0; round < 2; ++round) {
        // Sizes made even by the pad byte; the next chunk starts after the pad.
        const std::vector<std::vector<uint8_t>> expected = {{1, 2, 3, 0}, {4, 5, 6, 7}, {8, 0}};
        for (const auto& want : expected) {
            const uint8_t* data = nullptr;
            uint32_t size = 0;
            ASSERT_TRUE(reader.NextChunk(data, size)) << round;
            EXPECT_EQ(std::vector<uint8_t>(data, data + size), want) << round;
        }
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        EXPECT_FALSE(reader.NextChunk(data, size));  // the index follows the frames
        reader.Rewind();
    }
}

TEST(AviReader, BrokenBlocksStopCleanly) {
    using PartsEdit = void (*)(AviParts&);
    using BytesEdit = void (*)(const AviParts&, std::vector<uint8_t>&);
    struct Case {
        const char* what;
        PartsEdit parts;
        BytesEdit bytes;
        bool parses;
        int framesRead;
        int mismatches;
    };
    const Case cases[] = {
        {"intact", nullptr, nullptr, true, 3, 0},
        {"a header identifier differs", [](AviParts& p) { p.strlJunkId = "JUNQ"; }, nullptr, true, 3, 1},
        {"movi starts with audio", [](AviParts& p) { p.firstFrameId = "01wb"; }, nullptr, false, 0, 0},
        {"header chunk runs past the block", [](AviParts& p) { p.avihSize = 0x7FFFFFF0u; }, nullptr, false, 0,
         0},
        {"cut inside the second frame", nullptr,
         [](const AviParts& p, std::vector<uint8_t>& b) { b.resize(p.frameOffsets[1] + 10); }, true, 1, 0},
        {"cut inside the headers", nullptr, [](const AviParts&, std::vector<uint8_t>& b) { b.resize(100); },
         false, 0, 0},
        {"frame runs past the block", nullptr,
         [](const AviParts& p, std::vector<uint8_t>& b) {
             media_testing::Put32At(b, p.frameOffsets[1] + 4, 0xFFFFFFFFu);
         },
         true, 1, 0},
        {"empty", nullptr, [](const AviParts&, std::vector<uint8_t>& b) { b.clear(); }, false, 0, 0},
    };
    for (const Case& c : cases) {
        AviParts parts;
        parts.frames = {std::vector<uint8_t>(33, 1), std::vector<uint8_t>(40, 2), std::vector<uint8_t>(7, 3)};
        if (c.parts) c.parts(parts);
        std::vector<uint8_t> block = AviBytes(parts);
        if (c.bytes) c.bytes(parts, block);
        // Exactly the block: anything read past it would show under the sanitiser.
        block.shrink_to_fit();
        CFSAviReader reader;
        ASSERT_EQ(reader.Parse(block.data(), block.size()), c.parses) << c.what;
        EXPECT_EQ(reader.Mismatches(), c.mismatches) << c.what;
        int frames = 0;
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        while (c.parses && frames < 10 && reader.NextChunk(data, size)) {
            EXPECT_LE(data + size, block.data() + block.size()) << c.what;
            ++frames;
        }
        EXPECT_EQ(frames, c.framesRead) << c.what;
    }
}

}  // namespace
