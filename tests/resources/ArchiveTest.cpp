// The archive reader against archives written by Info-ZIP's zip, made fresh in a temporary
// folder: encrypted with the game's password, stored, plain, damaged on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSArchive.h"
#include "support/FileSuite.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

const char kLayout[] =
    "// portrait cockpit\r\nmask\tcocpit_mask.bmp\r\nsrc\tcocpit.bmp\r\ncompass 10 20 30 40\r\n";
const std::string kRandom = RandomBytes(65536, 7);
const std::string kLongest = std::string(200, 'd') + "/" + std::string(54, 'n');  // 255 characters

std::string AsString(const FSMemoryBlock& block) {
    return block ? std::string(block.Text(), block.size) : "(nothing)";
}

// The zip with edit(zip, at) applied to the central directory entry of random.bin at offset at.
template <typename Edit>
std::string WithRandomEntry(std::string zip, Edit edit) {
    for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 1)) {
        if (zip.compare(at + 46, 10, "random.bin") == 0) edit(zip, at);
    }
    return zip;
}

class Archive : public testing_support::FileSuite<Archive> {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("archive");
        deep_ =
            folder_ + std::string(120, 'a') + "/" + std::string(120, 'b') + "/" + std::string(120, 'c') + "/";
        // Two members whose names differ only in case, and "été" in UTF-8.
        const std::pair<std::string, std::string> files[] = {{"cocpits/cocpit_portrait.txt", kLayout},
                                                             {"empty.txt", ""},
                                                             {"random.bin", kRandom},
                                                             {"case.txt", "lower"},
                                                             {"Case.txt", "upper"},
                                                             {kLongest, "longest"},
                                                             {kLongest + "n", "too long"},
                                                             {"\xC3\xA9t\xC3\xA9.txt", "summer"}};
        std::string members;
        ready_ = std::filesystem::create_directories(deep_);
        for (const auto& [name, text] : files) {
            std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
            ready_ = WriteText(Path(name), text) && ready_;
            members += " " + ShellQuote(name);
        }
        const std::string password = "-P " + ShellQuote(DataPassword());
        ready_ = ready_ && Zip(folder_, password, Path("huds.zip"), members) &&
                 Zip(folder_, password + " -0", Path("stored.zip"), members) &&
                 Zip(folder_, "", Path("plain.zip"), members) &&
                 Zip(folder_, "-P " + ShellQuote("Wing&Gate#1Sky73"), Path("otherpassword.zip"), members) &&
                 WriteText(deep_ + "huds.zip", ReadText(Path("huds.zip")));
        const std::string good = ReadText(Path("huds.zip")), plain = ReadText(Path("plain.zip"));
        WriteText(Path("truncated.zip"), good.substr(0, good.size() / 2));  // its directory is gone
        WriteText(Path("garbage.zip"), RandomBytes(4096, 3));
        // One byte flipped in the middle of the stored random.bin: its CRC fails.
        std::string flipped = plain;
        const size_t at = flipped.find(kRandom.substr(0, 64));
        if (at != std::string::npos) flipped[at + 30000] = static_cast<char>(flipped[at + 30000] ^ 0x10);
        ready_ = ready_ && at != std::string::npos && WriteText(Path("flipped.zip"), flipped);
        for (uint32_t claimed : {65536u + 100u, 65535u, 1u << 31}) {
            WriteText(Path("claims" + std::to_string(claimed) + ".zip"),
                      WithRandomEntry(plain, [claimed](std::string& zip, size_t at) {
                          for (int i = 0; i < 4; ++i)
                              zip[at + 24 + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
                      }));
        }
        // Flag 6 of an encrypted member: a strong encryption that libzip cannot read.
        WriteText(Path("strong.zip"),
                  WithRandomEntry(good, [](std::string& zip, size_t at) { zip[at + 8] |= 0x40; }));
    }
    static std::string Path(const std::string& name) { return folder_ + name; }

    static inline std::string deep_;
};

TEST_F(Archive, ReadsEncryptedStoredAndPlainMembersAlikeAndEndsTextWithAZero) {
    for (const std::string& archive :
         {Path("huds.zip"), Path("stored.zip"), Path("plain.zip"), deep_ + "huds.zip"}) {
        SCOPED_TRACE(archive);
        FSMemoryBlock layout = ReadArchiveText(archive, "cocpits/cocpit_portrait.txt");
        EXPECT_EQ(AsString(layout), kLayout);
        EXPECT_EQ(AsString(ReadArchiveMember(archive, "random.bin")), kRandom);
        FSMemoryBlock empty = ReadArchiveText(archive, "empty.txt");
        ASSERT_TRUE(layout && empty);
        EXPECT_EQ(std::make_tuple(layout.data[layout.size], empty.size, empty.data[0]),
                  std::make_tuple(0, size_t{0}, 0));
        EXPECT_FALSE(ReadArchiveMember(archive, "empty.txt"));  // a raw read of it has nothing to give
    }
}

TEST_F(Archive, FindsTheExactNameFirstThenAnyCaseOfAsciiLetters) {
    // Only a-z fold ("ÉTÉ" differs from "été" in bytes that are not ASCII letters); the whole
    // name must match; names of 256 characters or more are refused, and so is a name with a 0
    // inside, which would otherwise be taken for its first part.
    const std::pair<std::string, std::string> found[] = {{"COCPITS/COCPIT_PORTRAIT.TXT", kLayout},
                                                         {"cOcPiTs/cocpit_PORTRAIT.txt", kLayout},
                                                         {"case.txt", "lower"},
                                                         {"Case.txt", "upper"},
                                                         {"\xC3\xA9T\xC3\xA9.TXT", "summer"},
                                                         {kLongest, "longest"}};
    for (const auto& [name, text] : found)
        EXPECT_EQ(AsString(ReadArchiveText(Path("huds.zip"), name)), text) << name;
    for (const std::string& name :
         {std::string("\xC3\x89T\xC3\x89.TXT"), std::string("cocpits/cocpit_portrait"),
          std::string("cocpit_portrait.txt"), std::string(), kLongest + "n", std::string(5000, 'x'),
          std::string("empty.txt\0.bak", 14)}) {
        EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), name)) << name;
    }
    const std::string either = AsString(ReadArchiveText(Path("huds.zip"), "CASE.TXT"));
    EXPECT_TRUE(either == "lower" || either == "upper") << either;
}

TEST_F(Archive, MissingDamagedOrForeignMembersGiveNothingAndLeaveTheCallersBlock) {
    // Besides the plainly broken: a wrong password, a folder, a CRC failure, members longer,
    // shorter or far larger than their directory says, and an encryption the game does not use
    // (which libzip would leak memory for).
    std::vector<std::pair<std::string, std::string>> failures = {
        {Path("huds.zip"), "nothing.bin"},
        {Path("otherpassword.zip"), "cocpits/cocpit_portrait.txt"},
        {Path("truncated.zip"), "empty.txt"}};
    for (const char* archive :
         {"nowhere.zip", "otherpassword.zip", "", "garbage.zip", "truncated.zip", "flipped.zip",
          "claims65636.zip", "claims65535.zip", "claims2147483648.zip", "strong.zip"}) {
        failures.emplace_back(Path(archive), "random.bin");
    }
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
    std::vector<uint8_t> block(65536 + 8, 0xAB);
    size_t size = 99;
    EXPECT_FALSE(ReadArchiveMemberInto(block.data(), 65536, Path("nowhere.zip"), "random.bin", size));
    EXPECT_EQ(size, 99u);  // untouched when the member is not found
    EXPECT_FALSE(ReadArchiveMemberInto(block.data(), 65535, Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(size, 65536u);
    EXPECT_EQ(std::count(block.begin(), block.end(), 0xAB), 65536 + 8);
    ASSERT_TRUE(ReadArchiveMemberInto(block.data(), 65536, Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(std::string(block.begin(), block.begin() + 65536), kRandom);
    EXPECT_EQ(block[65536], 0xAB);  // nothing beyond the member
    EXPECT_TRUE(ReadArchiveMemberInto(block.data(), block.size(), Path("huds.zip"), "empty.txt", size));
    EXPECT_EQ(size, 0u);
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
        EXPECT_EQ(block ? block.data[block.size] : 1, 0);
    }
    EXPECT_FALSE(WriteBufferToFile(path, nullptr, 3));
    EXPECT_FALSE(WriteBufferToFile(folder + "missing/settings.bin", "x", 1));
    RemoveTempFolder(folder);
}

}  // namespace
