// The archive reader against archives written by Info-ZIP's zip, made fresh in a temporary
// folder: encrypted with the game's password, stored, plain, damaged on purpose.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ImageTestFiles.h"
#include "platform/FSPaths.h"
#include "resources/FSArchive.h"
#include "resources/FSDataPassword.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

std::string DataPassword() {
    char password[kDataPasswordLength + 1] = {};
    UnscrambleDataPassword(password);
    return password;
}

void MakeFolder(const std::string& path) {
    mkdir(path.c_str(), 0755);
}

// Runs zip in folder; options such as "-P pw" or "-0", then the archive and its members.
void Zip(const std::string& folder, const std::string& options, const std::string& archive,
         const std::string& members) {
    ASSERT_TRUE(RunShell("cd " + ShellQuote(folder) + " && zip -q " + options + " " + ShellQuote(archive) +
                         " " + members));
}

std::string Bytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string AsString(const FSMemoryBlock& block) {
    return std::string(block.Text(), block.size);
}

const char kLayout[] =
    "// portrait cockpit\r\n"
    "mask\tcocpit_mask.bmp\r\n"
    "src\tcocpit.bmp\r\n"
    "compass 10 20 30 40\r\n";

class Archive : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("archive");
        const std::string pw = "-P " + ShellQuote(DataPassword());
        MakeFolder(folder_ + "cocpits");
        WriteText(folder_ + "cocpits/cocpit_portrait.txt", kLayout);
        WriteText(folder_ + "empty.txt", "");
        WriteText(folder_ + "random.bin", Bytes(65536, 7));
        // A member name of exactly 255 characters, and one of 256.
        const std::string longFolder(200, 'd');
        MakeFolder(folder_ + longFolder);
        longest_ = longFolder + "/" + std::string(54, 'n');
        tooLong_ = longFolder + "/" + std::string(55, 'n');
        WriteText(folder_ + longest_, "longest");
        WriteText(folder_ + tooLong_, "too long");
        WriteText(folder_ + "\xC3\xA9t\xC3\xA9.txt", "summer");  // "été" in UTF-8

        const std::string members = "cocpits/cocpit_portrait.txt empty.txt random.bin " + longest_ + " " +
                                    tooLong_ + " " + ShellQuote("\xC3\xA9t\xC3\xA9.txt");
        Zip(folder_, pw, "huds.zip", members);
        Zip(folder_, pw + " -0", "stored.zip", members);
        Zip(folder_, "", "plain.zip", members);
        Zip(folder_, "-P " + ShellQuote("Wing&Gate#1Sky73"), "otherpassword.zip", members);

        const std::string good = ReadText(folder_ + "huds.zip");
        WriteText(folder_ + "truncated.zip", good.substr(0, good.size() / 2));
        WriteText(folder_ + "garbage.zip", Bytes(4096, 3));
    }

    static void TearDownTestSuite() { RemoveTempFolder(folder_); }

    static std::string Path(const std::string& name) { return folder_ + name; }

    static std::string folder_;
    static std::string longest_;
    static std::string tooLong_;
};

std::string Archive::folder_;
std::string Archive::longest_;
std::string Archive::tooLong_;

// Text blocks end with a zero, even when empty.
TEST_F(Archive, ReadsEncryptedStoredAndPlainMembersAlikeAndEndsTextWithAZero) {
    const std::string random = Bytes(65536, 7);
    for (const char* archive : {"huds.zip", "stored.zip", "plain.zip"}) {
        SCOPED_TRACE(archive);
        FSMemoryBlock layout = ReadArchiveText(Path(archive), "cocpits/cocpit_portrait.txt");
        ASSERT_TRUE(layout);
        EXPECT_EQ(AsString(layout), kLayout);
        EXPECT_EQ(layout.data[layout.size], 0);
        EXPECT_EQ(std::strlen(layout.Text()), layout.size);
        FSMemoryBlock raw = ReadArchiveMember(Path(archive), "random.bin");
        ASSERT_TRUE(raw);
        EXPECT_EQ(AsString(raw), random);
        FSMemoryBlock empty = ReadArchiveText(Path(archive), "empty.txt");
        ASSERT_TRUE(empty);
        EXPECT_EQ(empty.size, 0u);
        EXPECT_EQ(empty.data[0], 0);
        // A raw read of an empty member has nothing to give.
        EXPECT_FALSE(ReadArchiveMember(Path(archive), "empty.txt"));
    }
}

TEST_F(Archive, FindsMembersWhateverTheirCaseOfAsciiLetters) {
    for (const char* name :
         {"COCPITS/COCPIT_PORTRAIT.TXT", "Cocpits/Cocpit_Portrait.txt", "cOcPiTs/cocpit_PORTRAIT.txt"}) {
        SCOPED_TRACE(name);
        FSMemoryBlock layout = ReadArchiveText(Path("huds.zip"), name);
        ASSERT_TRUE(layout);
        EXPECT_EQ(AsString(layout), kLayout);
    }
    // Only a-z fold: "ÉTÉ" in UTF-8 differs from "été" in bytes that are not ASCII letters.
    EXPECT_TRUE(ReadArchiveText(Path("huds.zip"), "\xC3\xA9T\xC3\xA9.TXT"));
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), "\xC3\x89T\xC3\x89.TXT"));
    // The whole name must match, not a part of it.
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), "cocpits/cocpit_portrait"));
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), "cocpit_portrait.txt"));
}

TEST_F(Archive, MissingTruncatedOrForeignArchivesMembersAndWrongPasswordsGiveNothing) {
    EXPECT_FALSE(ReadArchiveMember(Path("nowhere.zip"), "random.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("nowhere.zip"), "empty.txt"));
    EXPECT_FALSE(ReadArchiveMember(Path("huds.zip"), "nothing.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), "nothing.txt"));
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), ""));
    EXPECT_FALSE(ReadArchiveMember(Path("otherpassword.zip"), "random.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("otherpassword.zip"), "cocpits/cocpit_portrait.txt"));
    // A folder and a file that is no zip at all.
    EXPECT_FALSE(ReadArchiveMember(folder_, "random.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("garbage.zip"), "random.bin"));
    size_t size = 99;
    uint8_t block[16] = {};
    EXPECT_FALSE(ReadArchiveMemberInto(block, sizeof(block), Path("nowhere.zip"), "empty.txt", size));
    EXPECT_EQ(size, 99u);
    // Half an archive: its directory at the end is gone.
    EXPECT_FALSE(ReadArchiveMember(Path("truncated.zip"), "random.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("truncated.zip"), "cocpits/cocpit_portrait.txt"));
    EXPECT_FALSE(ReadArchiveText(Path("truncated.zip"), "empty.txt"));
}

TEST_F(Archive, MemberFailingItsCrcGivesNothingFromEveryRead) {
    // Flip one byte in the middle of the stored, unencrypted copy of random.bin.
    std::string bytes = ReadText(Path("plain.zip"));
    const std::string random = Bytes(65536, 7);
    const size_t at = bytes.find(random.substr(0, 64));
    ASSERT_NE(at, std::string::npos) << "random.bin should be stored as it is";
    bytes[at + 30000] = static_cast<char>(bytes[at + 30000] ^ 0x10);
    WriteText(Path("flipped.zip"), bytes);

    EXPECT_FALSE(ReadArchiveMember(Path("flipped.zip"), "random.bin"));
    EXPECT_FALSE(ReadArchiveText(Path("flipped.zip"), "random.bin"));
    std::vector<uint8_t> block(65536);
    size_t size = 0;
    EXPECT_FALSE(ReadArchiveMemberInto(block.data(), block.size(), Path("flipped.zip"), "random.bin", size));
    // The other members are untouched.
    EXPECT_TRUE(ReadArchiveText(Path("flipped.zip"), "cocpits/cocpit_portrait.txt"));
}

TEST_F(Archive, MemberOfAnotherLengthThanItsDirectorySaysGivesNothing) {
    // The central directory's uncompressed size of the stored random.bin, made larger and smaller.
    const std::string original = ReadText(Path("plain.zip"));
    const std::string name = "random.bin";
    size_t entry = std::string::npos;
    for (size_t at = original.find("PK\x01\x02"); at != std::string::npos;
         at = original.find("PK\x01\x02", at + 1)) {
        if (original.compare(at + 46, name.size(), name) == 0) entry = at;
    }
    ASSERT_NE(entry, std::string::npos);
    for (uint32_t claimed : {65536u + 100u, 65535u, 1u << 31}) {
        SCOPED_TRACE(claimed);
        std::string bytes = original;
        for (int i = 0; i < 4; ++i)
            bytes[entry + 24 + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
        WriteText(Path("resized.zip"), bytes);
        EXPECT_FALSE(ReadArchiveMember(Path("resized.zip"), name));
        EXPECT_FALSE(ReadArchiveText(Path("resized.zip"), name));
    }
}

TEST_F(Archive, ReadsIntoTheCallersBlockOnlyWhenItFits) {
    const std::string random = Bytes(65536, 7);
    std::vector<uint8_t> small(65535, 0xAB);
    size_t size = 0;
    EXPECT_FALSE(ReadArchiveMemberInto(small.data(), small.size(), Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(size, 65536u);
    EXPECT_EQ(small, std::vector<uint8_t>(65535, 0xAB));

    std::vector<uint8_t> exact(65536 + 8, 0xAB);
    size = 0;
    ASSERT_TRUE(ReadArchiveMemberInto(exact.data(), 65536, Path("huds.zip"), "random.bin", size));
    EXPECT_EQ(size, 65536u);
    EXPECT_EQ(std::string(exact.begin(), exact.begin() + 65536), random);
    EXPECT_EQ(exact[65536], 0xAB);  // nothing beyond the member

    size = 99;
    EXPECT_TRUE(ReadArchiveMemberInto(exact.data(), exact.size(), Path("huds.zip"), "empty.txt", size));
    EXPECT_EQ(size, 0u);
}

TEST_F(Archive, MemberNamesOf256CharactersOrMoreAreRefused) {
    ASSERT_EQ(longest_.size(), 255u);
    ASSERT_EQ(tooLong_.size(), 256u);
    FSMemoryBlock longest = ReadArchiveText(Path("huds.zip"), longest_);
    ASSERT_TRUE(longest);
    EXPECT_EQ(AsString(longest), "longest");
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), tooLong_));
    EXPECT_FALSE(ReadArchiveMember(Path("huds.zip"), tooLong_));
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), std::string(5000, 'x')));
    // A name with a 0 inside would otherwise be taken for its first part.
    EXPECT_FALSE(ReadArchiveText(Path("huds.zip"), std::string("empty.txt\0.bak", 14)));
}

TEST_F(Archive, ArchivesDeepInLongPathsAreRead) {
    std::string deep = folder_;
    for (int i = 0; i < 6; ++i) {
        deep += std::string(60, static_cast<char>('a' + i)) + "/";
        MakeFolder(deep);
    }
    ASSERT_GT(deep.size(), 360u);
    const std::string copy = deep + "huds.zip";
    WriteText(copy, ReadText(Path("huds.zip")));
    FSMemoryBlock layout = ReadArchiveText(copy, "cocpits/cocpit_portrait.txt");
    ASSERT_TRUE(layout);
    EXPECT_EQ(AsString(layout), kLayout);
}

TEST(DataPath, PutsTheRelativePathInTheExecutablesFolder) {
    const std::string folder = platform::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(MakeDataPath("data\\menu.zip"), folder + "data/menu.zip");
    EXPECT_EQ(MakeDataPath("sounds\\explos.wav"), folder + "sounds/explos.wav");
    const std::string longName = std::string(300, 'x') + "\\" + std::string(300, 'y') + ".zip";
    EXPECT_EQ(MakeDataPath(longName), folder + std::string(300, 'x') + "/" + std::string(300, 'y') + ".zip");
}

TEST(PlainFiles, ReadsWholeFilesAsText) {
    const std::string folder = testing_support::MakeTempFolder("plainfiles");
    EXPECT_FALSE(ReadFileToBuffer(folder + "settings.bin"));
    EXPECT_FALSE(ReadFileToBuffer(folder));  // a folder is no file

    WriteText(folder + "settings.bin", "music_volume\t\t7\r\n");
    FSMemoryBlock text = ReadFileToBuffer(folder + "settings.bin");
    ASSERT_TRUE(text);
    EXPECT_EQ(text.size, 17u);
    EXPECT_STREQ(text.Text(), "music_volume\t\t7\r\n");

    WriteText(folder + "empty.bin", "");
    FSMemoryBlock empty = ReadFileToBuffer(folder + "empty.bin");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty.size, 0u);
    EXPECT_EQ(empty.data[0], 0);
    RemoveTempFolder(folder);
}

TEST(PlainFiles, WritesReplaceTheWholeFile) {
    const std::string folder = testing_support::MakeTempFolder("plainfiles");
    const std::string path = folder + "settings.bin";
    const std::string first = Bytes(5000, 11);
    ASSERT_TRUE(WriteBufferToFile(path, first.data(), first.size()));
    EXPECT_EQ(ReadText(path), first);
    ASSERT_TRUE(WriteBufferToFile(path, "short", 5));
    EXPECT_EQ(ReadText(path), "short");
    ASSERT_TRUE(WriteBufferToFile(path, nullptr, 0));
    EXPECT_EQ(ReadText(path), "");
    // No temporary file is left behind.
    EXPECT_FALSE(ReadFileToBuffer(path + ".tmp"));

    EXPECT_FALSE(WriteBufferToFile(folder + "missing/settings.bin", "x", 1));
    EXPECT_FALSE(WriteBufferToFile(path, nullptr, 3));
    RemoveTempFolder(folder);
}

}  // namespace
