// The archive reader against archives written by Info-ZIP's zip, made fresh in a temporary
// folder: encrypted with the game's password, stored, plain, damaged on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ImageTestFiles.h"
#include "resources/FSArchive.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

const char kLayout[] =
    "// portrait cockpit\r\nmask\tcocpit_mask.bmp\r\nsrc\tcocpit.bmp\r\ncompass 10 20 30 40\r\n";
const std::string kRandom = RandomBytes(65536, 7);

std::string AsString(const FSMemoryBlock& block) {
    return block ? std::string(block.Text(), block.size) : "(nothing)";
}

// A copy of plain.zip whose central directory claims another uncompressed size for random.bin.
std::string WithClaimedSize(std::string zip, uint32_t claimed) {
    for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 1)) {
        if (zip.compare(at + 46, 10, "random.bin") != 0) continue;
        for (int i = 0; i < 4; ++i)
            zip[at + 24 + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
    }
    return zip;
}

class Archive : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("archive");
        longest_ = std::string(200, 'd') + "/" + std::string(54, 'n');  // 255 characters
        tooLong_ = longest_ + "n";
        deep_ = folder_;
        for (int i = 0; i < 6; ++i)
            deep_ += std::string(60, static_cast<char>('a' + i)) + "/";
        std::filesystem::create_directories(folder_ + "cocpits");
        std::filesystem::create_directories(folder_ + std::string(200, 'd'));
        std::filesystem::create_directories(deep_);
        // Two members whose names differ only in case; "été" in UTF-8.
        const std::string members = "cocpits/cocpit_portrait.txt empty.txt random.bin case.txt Case.txt " +
                                    longest_ + " " + tooLong_ + " " + ShellQuote("\xC3\xA9t\xC3\xA9.txt");
        const std::string password = "-P " + ShellQuote(DataPassword());
        ready_ = WriteText(Path("cocpits/cocpit_portrait.txt"), kLayout) &&
                 WriteText(Path("empty.txt"), "") && WriteText(Path("random.bin"), kRandom) &&
                 WriteText(Path("case.txt"), "lower") && WriteText(Path("Case.txt"), "upper") &&
                 WriteText(Path(longest_), "longest") && WriteText(Path(tooLong_), "too long") &&
                 WriteText(Path("\xC3\xA9t\xC3\xA9.txt"), "summer") &&
                 Zip(folder_, password, Path("huds.zip"), members) &&
                 Zip(folder_, password + " -0", Path("stored.zip"), members) &&
                 Zip(folder_, "", Path("plain.zip"), members) &&
                 Zip(folder_, "-P " + ShellQuote("Wing&Gate#1Sky73"), Path("otherpassword.zip"), members) &&
                 WriteText(deep_ + "huds.zip", ReadText(Path("huds.zip")));
        const std::string good = ReadText(Path("huds.zip"));
        WriteText(Path("truncated.zip"), good.substr(0, good.size() / 2));  // its directory is gone
        WriteText(Path("garbage.zip"), RandomBytes(4096, 3));
        // One byte flipped in the middle of the stored random.bin: its CRC fails.
        std::string flipped = ReadText(Path("plain.zip"));
        const size_t at = flipped.find(kRandom.substr(0, 64));
        ready_ = ready_ && at != std::string::npos;
        if (ready_) flipped[at + 30000] = static_cast<char>(flipped[at + 30000] ^ 0x10);
        WriteText(Path("flipped.zip"), flipped);
        for (uint32_t claimed : {65536u + 100u, 65535u, 1u << 31}) {
            WriteText(Path("claims" + std::to_string(claimed) + ".zip"),
                      WithClaimedSize(ReadText(Path("plain.zip")), claimed));
        }
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "zip failed in " << folder_; }

    static std::string Path(const std::string& name) { return folder_ + name; }

    static std::string folder_, deep_, longest_, tooLong_;
    static bool ready_;
};
std::string Archive::folder_, Archive::deep_, Archive::longest_, Archive::tooLong_;
bool Archive::ready_ = false;

TEST_F(Archive, ReadsEncryptedStoredAndPlainMembersAlikeAndEndsTextWithAZero) {
    for (const std::string& archive :
         {Path("huds.zip"), Path("stored.zip"), Path("plain.zip"), deep_ + "huds.zip"}) {
        SCOPED_TRACE(archive);
        FSMemoryBlock layout = ReadArchiveText(archive, "cocpits/cocpit_portrait.txt");
        EXPECT_EQ(AsString(layout), kLayout);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout.data[layout.size], 0);
        EXPECT_EQ(AsString(ReadArchiveMember(archive, "random.bin")), kRandom);
        FSMemoryBlock empty = ReadArchiveText(archive, "empty.txt");
        ASSERT_TRUE(empty);
        EXPECT_EQ(empty.size, 0u);
        EXPECT_EQ(empty.data[0], 0);
        // A raw read of an empty member has nothing to give.
        EXPECT_FALSE(ReadArchiveMember(archive, "empty.txt"));
    }
}

TEST_F(Archive, FindsTheExactNameFirstThenAnyCaseOfAsciiLetters) {
    const struct {
        std::string name;
        std::string text;
    } lookups[] = {
        {"COCPITS/COCPIT_PORTRAIT.TXT", kLayout},
        {"cOcPiTs/cocpit_PORTRAIT.txt", kLayout},
        {"case.txt", "lower"},
        {"Case.txt", "upper"},
        {"\xC3\xA9T\xC3\xA9.TXT", "summer"},
        // Only a-z fold: "ÉTÉ" differs from "été" in bytes that are not ASCII letters.
        {"\xC3\x89T\xC3\x89.TXT", "(nothing)"},
        // The whole name must match, not a part of it.
        {"cocpits/cocpit_portrait", "(nothing)"},
        {"cocpit_portrait.txt", "(nothing)"},
        {"", "(nothing)"},
        {longest_, "longest"},
        {tooLong_, "(nothing)"},  // names of 256 characters or more are refused
        {std::string(5000, 'x'), "(nothing)"},
        // A name with a 0 inside would otherwise be taken for its first part.
        {std::string("empty.txt\0.bak", 14), "(nothing)"},
    };
    for (const auto& lookup : lookups)
        EXPECT_EQ(AsString(ReadArchiveText(Path("huds.zip"), lookup.name)), lookup.text) << lookup.name;
    const std::string either = AsString(ReadArchiveText(Path("huds.zip"), "CASE.TXT"));
    EXPECT_TRUE(either == "lower" || either == "upper") << either;
}

TEST_F(Archive, MissingDamagedOrForeignMembersGiveNothingAndLeaveTheCallersBlock) {
    const std::pair<std::string, std::string> failures[] = {
        {Path("nowhere.zip"), "random.bin"},
        {Path("huds.zip"), "nothing.bin"},
        {Path("otherpassword.zip"), "random.bin"},
        {Path("otherpassword.zip"), "cocpits/cocpit_portrait.txt"},
        {folder_, "random.bin"},  // a folder
        {Path("garbage.zip"), "random.bin"},
        {Path("truncated.zip"), "random.bin"},
        {Path("truncated.zip"), "empty.txt"},
        {Path("flipped.zip"), "random.bin"},
        // The member is longer, shorter or far larger than the directory says.
        {Path("claims65636.zip"), "random.bin"},
        {Path("claims65535.zip"), "random.bin"},
        {Path("claims2147483648.zip"), "random.bin"},
    };
    for (const auto& [archive, member] : failures) {
        SCOPED_TRACE(archive + " " + member);
        EXPECT_FALSE(ReadArchiveMember(archive, member));
        EXPECT_FALSE(ReadArchiveText(archive, member));
        std::vector<uint8_t> block(70000, 0xAB);
        size_t size = 0;
        EXPECT_FALSE(ReadArchiveMemberInto(block.data(), block.size(), archive, member, size));
        EXPECT_EQ(std::count(block.begin(), block.end(), 0xAB), 70000);
    }
    EXPECT_TRUE(ReadArchiveText(Path("flipped.zip"), "cocpits/cocpit_portrait.txt"));  // the others are sound
}

TEST_F(Archive, ReadsIntoTheCallersBlockOnlyWhenItFits) {
    std::vector<uint8_t> small(65535, 0xAB);
    size_t size = 0;
    EXPECT_FALSE(ReadArchiveMemberInto(small.data(), small.size(), Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(size, 65536u);
    EXPECT_EQ(small, std::vector<uint8_t>(65535, 0xAB));

    std::vector<uint8_t> exact(65536 + 8, 0xAB);
    size = 0;
    ASSERT_TRUE(ReadArchiveMemberInto(exact.data(), 65536, Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(size, 65536u);
    EXPECT_EQ(std::string(exact.begin(), exact.begin() + 65536), kRandom);
    EXPECT_EQ(exact[65536], 0xAB);  // nothing beyond the member

    size = 99;
    EXPECT_FALSE(ReadArchiveMemberInto(exact.data(), exact.size(), Path("nowhere.zip"), "empty.txt", size));
    EXPECT_EQ(size, 99u);  // untouched when the member is not found
    EXPECT_TRUE(ReadArchiveMemberInto(exact.data(), exact.size(), Path("huds.zip"), "empty.txt", size));
    EXPECT_EQ(size, 0u);
}

TEST(DataPath, FindsTheGamesOwnArchivesBesideTheExecutable) {
    const FSMemoryBlock cube = ReadArchiveText(MakeDataPath("data\\models.zip"), "cube.obj");
    ASSERT_TRUE(cube);
    EXPECT_NE(std::strstr(cube.Text(), "\nv "), nullptr);
}

TEST(PlainFiles, ReadsBackWhatWasWrittenAndNothingFromWhatIsNoFile) {
    const std::string folder = testing_support::MakeTempFolder("plainfiles");
    const std::string path = folder + "settings.bin";
    EXPECT_FALSE(ReadFileToBuffer(path));
    EXPECT_FALSE(ReadFileToBuffer(folder));
    for (const std::string& text :
         {std::string("music_volume\t\t7\r\n"), RandomBytes(5000, 11), std::string()}) {
        ASSERT_TRUE(WriteBufferToFile(path, text.data(), text.size()));
        FSMemoryBlock block = ReadFileToBuffer(path);
        EXPECT_EQ(AsString(block), text);
        ASSERT_TRUE(block);
        EXPECT_EQ(block.data[block.size], 0);
    }
    EXPECT_FALSE(WriteBufferToFile(path, nullptr, 3));
    EXPECT_FALSE(WriteBufferToFile(folder + "missing/settings.bin", "x", 1));
    RemoveTempFolder(folder);
}

}  // namespace
