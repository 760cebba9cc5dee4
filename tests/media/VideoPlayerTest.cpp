// The clip player: the picture conversion, playing hand-made clips through a stand-in
// decoder (lying frame counts, pictures that do not fit), the real decoder library on the
// data build's clips, and a clip made by ffmpeg.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "media/FSVideoPlayer.h"
#include "media/MediaTestClips.h"
#include "platform/FSLibrary.h"
#include "resources/FSArchive.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

using media_testing::AviBytes;
using media_testing::AviParts;
namespace files = image_test_files;

TEST(VideoPlayer, ConvertsYuvPixelsWithTheGamesIntegerFormulas) {
    struct Case {
        int y, u, v;
        uint16_t expected;
    };
    const Case cases[] = {
        {255, 128, 128, 0xFFFF},
        {0, 128, 128, 0x0000},
        {16, 128, 0, static_cast<uint16_t>(0 << 11 | 30 << 5 | 2)},  // red 0, not 31
        {128, 128, 128, static_cast<uint16_t>(18 << 11 | 37 << 5 | 18)},
        {100, 255, 128, static_cast<uint16_t>(14 << 11 | 16 << 5 | 31)},  // blue limited to 31
    };
    for (const Case& c : cases)
        EXPECT_EQ(YuvTo565(c.y, c.u, c.v), c.expected) << c.y << " " << c.u << " " << c.v;

    // Chroma at half resolution with half the row length; the rows end before the stride.
    const int32_t rowLength = 8, width = 4, height = 2;
    std::vector<uint8_t> y(rowLength * height, 255), u(rowLength / 2, 128), v(rowLength / 2, 128);
    u[1] = 255;  // the chroma of columns 2 and 3, both rows
    y[1] = 0;
    std::vector<uint16_t> out(width * height, 0x1234);
    ConvertYuvPicture(y.data(), u.data(), v.data(), rowLength, width, height, out.data());
    EXPECT_EQ(out[0], 0xFFFF);
    EXPECT_EQ(out[1], YuvTo565(0, 128, 128));
    EXPECT_EQ(out[2], YuvTo565(255, 255, 128));
    EXPECT_EQ(out[7], YuvTo565(255, 255, 128));
}

// A stand-in for the decoder library: the first byte of a frame is its grey level, 0xDD an
// error, 0xCC no picture, 0xEE a picture narrower than the frame.
struct FakeDecoder {
    std::vector<uint8_t> y = std::vector<uint8_t>(160 * 116), uv = std::vector<uint8_t>(80 * 58, 128);
    int decoded = 0;
    int closed = 0;
};
FakeDecoder fake;

void* FakeInit(int32_t, int32_t, uint32_t fourcc, const FSDecoderTable*) {
    return fourcc == FS_DECODER_FOURCC_XVID ? &fake : nullptr;
}
int32_t FakeDecode(void*, const uint8_t* data, int32_t size, const uint8_t** y, const uint8_t** u,
                   const uint8_t** v, int32_t* rowLength) {
    ++fake.decoded;
    if (size <= 0 || data[0] == 0xDD) return 7;
    if (data[0] == 0xCC) return FS_DECODE_NO_PICTURE;
    std::fill(fake.y.begin(), fake.y.end(), data[0]);
    *y = fake.y.data();
    *u = *v = fake.uv.data();
    *rowLength = data[0] == 0xEE ? 100 : 160;
    return FS_DECODE_PICTURE;
}
void FakeClose(void*) {
    ++fake.closed;
}
const FSDecoderTable kFakeTable{FakeInit, FakeClose, FakeDecode};

// An archive of one member "clip.avi" written by Info-ZIP's zip.
struct ClipArchive {
    explicit ClipArchive(const std::vector<uint8_t>& clip)
        : folder(testing_support::MakeTempFolder("clips")) {
        std::ofstream(folder + "clip.avi", std::ios::binary)
            .write(reinterpret_cast<const char*>(clip.data()), static_cast<std::streamsize>(clip.size()));
        made = files::Zip(folder, "-0", folder + "clips.zip", "clip.avi");
    }
    ~ClipArchive() { files::RemoveTempFolder(folder); }
    std::string Path() const { return folder + "clips.zip"; }
    std::string folder;
    bool made = false;
};

TEST(VideoPlayer, PlaysHandMadeClipsAndStopsCleanlyOnLiesAndMisfits) {
    AviParts parts;
    parts.frames = {{10}, {20, 1, 1}, {0xCC}, {0xDD}, {0xEE}, {40}};
    parts.totalFrames = 40;  // the header claims more frames than there are
    ClipArchive archive(AviBytes(parts));
    ASSERT_TRUE(archive.made) << "Info-ZIP's zip is needed";
    auto player = CFSVideoPlayer::Create(&kFakeTable, 156, 116, 4096);
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(player->Open(archive.Path(), "clip.avi", 0));
    EXPECT_EQ(player->FrameWidth(), 156);
    EXPECT_EQ(player->FrameHeight(), 116);
    // Frame 0 primed the decoder; then 20, no picture, an error, a misfit, 40, the end.
    const int expected[] = {1, 1, 0, 0, 1, -1, -1};
    const uint16_t grey20 = YuvTo565(20, 128, 128), grey40 = YuvTo565(40, 128, 128);
    const uint16_t expectedPixel[] = {grey20, grey20, grey20, grey20, grey40, grey40, grey40};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(player->NextFrame(), expected[i]) << i;
        EXPECT_EQ(player->FramePixels()[0], expectedPixel[i]) << i;
        EXPECT_EQ(player->FramePixels()[156 * 116 - 1], expectedPixel[i]) << i;
    }
    player->Rewind();
    EXPECT_EQ(player->NextFrame(), 1);  // the first frame again, now shown
    EXPECT_EQ(player->FramePixels()[0], YuvTo565(10, 128, 128));

    // A file larger than the player's block, a missing member and a picture of another size fail to open.
    auto small = CFSVideoPlayer::Create(&kFakeTable, 156, 116, 100);
    EXPECT_FALSE(small->Open(archive.Path(), "clip.avi", 0));
    EXPECT_EQ(small->NextFrame(), -1);
    EXPECT_FALSE(player->Open(archive.Path(), "missing.avi", 0));
    AviParts wide = parts;
    wide.width = 320;
    ClipArchive wideArchive(AviBytes(wide));
    EXPECT_FALSE(player->Open(wideArchive.Path(), "clip.avi", 1));
    EXPECT_EQ(player->NextFrame(), -1);
    // Mode 1 reads into a block of its own, whatever the reusable block's size.
    EXPECT_TRUE(small->Open(archive.Path(), "clip.avi", 1));
    small.reset();
    EXPECT_GE(fake.closed, 1);
    EXPECT_EQ(CFSVideoPlayer::Create(nullptr, 156, 116, 0), nullptr);
}

// The decoder library the build puts beside the programs, as the game loads it.
struct RealDecoder {
    RealDecoder() {
        if (!library.Open(MakeDataPath("xvid_ppc.dll"))) return;
        table.initCodec = reinterpret_cast<FSInitCodecFunction>(library.Symbol("InitCodec"));
        table.closeCodec = reinterpret_cast<FSCloseCodecFunction>(library.Symbol("CloseCodec"));
        table.decodeFrame = reinterpret_cast<FSDecodeFrameFunction>(library.Symbol("DecodeFrame"));
    }
    bool Ready() const { return table.initCodec && table.closeCodec && table.decodeFrame; }
    CFSLibrary library;
    FSDecoderTable table{};
};

TEST(VideoPlayer, TheDecoderLibraryPlaysEveryAircraftClipOfTheDataBuild) {
    RealDecoder decoder;
    ASSERT_TRUE(decoder.Ready()) << decoder.library.Error();
    auto player = CFSVideoPlayer::Create(&decoder.table, CFSVideoPlayer::kClipWidth,
                                         CFSVideoPlayer::kClipHeight, CFSVideoPlayer::kClipBlockSize);
    ASSERT_NE(player, nullptr);
    for (const char* name : {"Cessna172R", "Su29", "L29", "L13", "Fokker"}) {
        const std::string member = std::string("video/") + name + ".avi";
        ASSERT_TRUE(player->Open(MakeDataPath("data/menu.zip"), member, 0)) << member;
        int frames = 0;
        std::vector<uint16_t> first;
        while (player->NextFrame() == 1 && frames < 1000) {
            if (frames == 0) first.assign(player->FramePixels(), player->FramePixels() + 156 * 116);
            ++frames;
        }
        EXPECT_GE(frames, 24) << member;
        // A picture, not a blank: many colours, bright sky above, and it moves.
        const std::set<uint16_t> colours(first.begin(), first.end());
        EXPECT_GT(colours.size(), 200u) << member;
        EXPECT_GT(testing_support::Blue5(first[5 * 156 + 5]), 20) << member;
        const std::vector<uint16_t> last(player->FramePixels(), player->FramePixels() + 156 * 116);
        EXPECT_NE(first, last) << member;
        player->Rewind();
        EXPECT_EQ(player->NextFrame(), 1) << member;
        player->Close(0);
    }
}

TEST(VideoPlayer, AClipMadeByFfmpegIsPlayedOrRefusedButNeverCrashes) {
    RealDecoder decoder;
    ASSERT_TRUE(decoder.Ready());
    const std::string folder = testing_support::MakeTempFolder("ffmpeg");
    if (!files::RunShell(
            "cd " + files::ShellQuote(folder) +
            " && ffmpeg -loglevel error -f lavfi -i testsrc=size=156x116:rate=10 -t 1 -c:v mpeg4 "
            "-vtag XVID clip.avi")) {
        files::RemoveTempFolder(folder);
        GTEST_SKIP() << "ffmpeg is not installed";
    }
    ASSERT_TRUE(files::Zip(folder, "-0", folder + "clips.zip", "clip.avi"));
    auto player = CFSVideoPlayer::Create(&decoder.table, 156, 116, CFSVideoPlayer::kClipBlockSize);
    ASSERT_NE(player, nullptr);
    if (player->Open(folder + "clips.zip", "clip.avi", 0)) {
        int results = 0;
        for (int i = 0; i < 30; ++i) {
            const int result = player->NextFrame();
            EXPECT_TRUE(result == 1 || result == 0 || result == -1);
            if (result == -1) player->Rewind();
            ++results;
        }
        EXPECT_EQ(results, 30);
    } else {
        EXPECT_EQ(player->NextFrame(), -1);
    }
    files::RemoveTempFolder(folder);
}

}  // namespace
