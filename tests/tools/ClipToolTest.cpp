// The aircraft clips of the data build: the tool gives the same bytes every time, and each
// clip is an "XVID" stream of 156 x 116 in the layout the game's player walks, small enough
// for the player's block, and in menu.zip.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "media/FSAviReader.h"
#include "media/FSVideoPlayer.h"
#include "resources/FSArchive.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const char* const kClips[] = {"Cessna172R", "Su29", "L29", "L13", "Fokker"};

TEST(ClipTool, DrawsAndEncodesTheSameBytesAgain) {
    TemporaryFolder folder(testing_support::MakeTempFolder("clips"));
    ASSERT_EQ(RunCommand(ShellQuote(AEROVANT_MAKE_CLIPS_TOOL) + " " + ShellQuote(MakeDataPath("data")) + " " +
                         ShellQuote(folder.path + "menu") + " >/dev/null"),
              0);
    for (const char* name : kClips) {
        for (const char* extension : {".avi", ".bmp"}) {
            const std::string member = std::string("video/") + name + extension;
            const std::vector<uint8_t> bytes = ReadBytes(folder.path + "menu/" + member);
            ASSERT_FALSE(bytes.empty()) << member;
            EXPECT_EQ(bytes, ReadBytes(std::string(AEROVANT_CLIP_FOLDER) + "/menu/" + member)) << member;
        }
    }
}

TEST(ClipTool, EveryClipIsAnXvidStreamInThePlayersLayoutAndFitsItsBlock) {
    for (const char* name : kClips) {
        const std::string member = std::string("video/") + name + ".avi";
        FSMemoryBlock clip = ReadArchiveMember(MakeDataPath("data/menu.zip"), member);
        ASSERT_TRUE(clip) << member;
        EXPECT_LE(clip.size, CFSVideoPlayer::kClipBlockSize) << member;
        CFSAviReader reader;
        ASSERT_TRUE(reader.Parse(clip.data.get(), clip.size)) << member;
        EXPECT_EQ(reader.Mismatches(), 0) << member;
        EXPECT_EQ(reader.Width(), 156);
        EXPECT_EQ(reader.Height(), 116);
        EXPECT_EQ(std::memcmp(reader.StreamHeader(), "vids", 4), 0);
        EXPECT_EQ(std::memcmp(reader.StreamHeader() + 4, "XVID", 4), 0);
        EXPECT_EQ(std::memcmp(reader.StreamFormat() + 16, "XVID", 4), 0);
        int frames = 0;
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        while (reader.NextChunk(data, size))
            ++frames;
        EXPECT_EQ(static_cast<uint32_t>(frames), reader.TotalFrames()) << member;
        EXPECT_GE(frames, 24) << member;
        EXPECT_TRUE(ReadArchiveMember(MakeDataPath("data/menu.zip"), std::string("video/") + name + ".bmp"));
    }
}

}  // namespace
