// The data build's zip writer against libzip and Info-ZIP, and its archive builder's names.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "databuild/ArchiveBuilder.h"
#include "databuild/ZipWriter.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const char kPassword[] = "Wing&Gate#1Sky72";
const std::vector<std::string> kSortedNames = {"deep/folder/noise.bin", "empty.bin", "readme.txt",
                                               "runs.txt"};

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Members that exercise the writer: text, nothing at all, incompressible noise, a long run
// that deflates to almost nothing, and a nested folder.
std::vector<ZipMember> SampleMembers() {
    std::vector<uint8_t> noise(100000);
    uint32_t state = 12345;
    for (uint8_t& b : noise) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    std::string runs;
    for (int i = 0; i < 20000; ++i)
        runs += "gate " + std::to_string(i % 7) + "\n";
    return {{"readme.txt", Bytes("Gates are red and blue.\r\n")},
            {"empty.bin", {}},
            {"deep/folder/noise.bin", noise},
            {"runs.txt", Bytes(runs)}};
}

std::string WriteSample(const std::string& folder) {
    const std::string path = folder + "sample.zip";
    const std::vector<uint8_t> zip = WriteEncryptedZip(SampleMembers(), kPassword);
    EXPECT_FALSE(zip.empty());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(zip.data()), static_cast<std::streamsize>(zip.size()));
    return path;
}

TEST(ZipWriter, LibzipReadsEveryMemberBackWithThePassword) {
    TemporaryFolder folder(testing_support::MakeTempFolder("zipwriter"));
    const std::string path = WriteSample(folder.path);

    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(zip, nullptr) << "libzip error " << error;
    const std::vector<ZipMember> members = SampleMembers();
    ASSERT_EQ(zip_get_num_entries(zip, 0), static_cast<zip_int64_t>(members.size()));
    for (const ZipMember& member : members) {
        zip_stat_t stat;
        ASSERT_EQ(zip_stat(zip, member.name.c_str(), 0, &stat), 0) << member.name;
        EXPECT_EQ(stat.encryption_method, ZIP_EM_TRAD_PKWARE) << member.name;
        EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE) << member.name;
        EXPECT_EQ(stat.size, member.data.size()) << member.name;
        EXPECT_EQ(stat.crc, ZipCrc32(member.data)) << member.name;
        // Every member carries the same fixed time stamp (local time, as zip stores it).
        std::tm when{};
        localtime_r(&stat.mtime, &when);
        EXPECT_EQ(when.tm_year + 1900, 2024);
        EXPECT_EQ(when.tm_mon, 0);
        EXPECT_EQ(when.tm_mday, 1);
        EXPECT_EQ(when.tm_hour, 12);
    }
    zip_discard(zip);

    for (const ZipMember& member : members) {
        const MemberRead read = ReadMember(path, member.name, kPassword);
        EXPECT_TRUE(read.opened) << member.name;
        EXPECT_TRUE(read.complete) << member.name;
        EXPECT_EQ(read.data, member.data) << member.name;
    }
    // Members are stored sorted by name, whatever order they were given in.
    EXPECT_EQ(MemberNames(path), kSortedNames);
}

TEST(ZipWriter, AWrongOrMissingPasswordNeverYieldsTheContents) {
    TemporaryFolder folder(testing_support::MakeTempFolder("zipwriter"));
    const std::string path = WriteSample(folder.path);
    // Enough wrong passwords that some pass the one-byte check of the encryption header by
    // chance (about one in 256); inflate or the CRC must catch those.
    std::vector<std::string> wrong = {"", "wing&gate#1sky72", "Wing&Gate#1Sky7", "Wing&Gate#1Sky722"};
    for (int i = 0; i < 600; ++i)
        wrong.push_back("guess" + std::to_string(i));
    int passedTheHeaderCheck = 0;
    for (const ZipMember& member : SampleMembers()) {
        EXPECT_FALSE(ReadMember(path, member.name, nullptr).opened) << member.name;
        // An empty member has nothing to give away; the others must fail to read.
        if (member.data.empty()) continue;
        for (const std::string& password : wrong) {
            const MemberRead read = ReadMember(path, member.name, password.c_str());
            EXPECT_FALSE(read.complete) << member.name << " with " << password;
            passedTheHeaderCheck += read.opened;
        }
    }
    EXPECT_GT(passedTheHeaderCheck, 0);
}

TEST(ZipWriter, InfoZipListsTestsAndExtractsTheArchive) {
    if (!HaveProgram("unzip")) GTEST_SKIP() << "Info-ZIP unzip is not installed";
    TemporaryFolder folder(testing_support::MakeTempFolder("zipwriter"));
    const std::string path = WriteSample(folder.path);
    const std::string list = folder.path + "list.txt";
    ASSERT_EQ(RunCommand("unzip -Z1 " + Quote(path) + " >" + Quote(list)), 0);
    std::ifstream listed(list);
    std::vector<std::string> names;
    for (std::string line; std::getline(listed, line);)
        names.push_back(line);
    EXPECT_EQ(names, kSortedNames);
    const std::string withPassword = "unzip -qq -P " + Quote(kPassword) + " ";
    EXPECT_EQ(RunCommand(withPassword + "-t " + Quote(path) + " >/dev/null"), 0);
    const std::string out = folder.path + "out/";
    ASSERT_EQ(RunCommand(withPassword + "-o " + Quote(path) + " -d " + Quote(out)), 0);
    for (const ZipMember& member : SampleMembers())
        EXPECT_EQ(FileBytes(out + member.name), member.data) << member.name;

    const std::string refused = folder.path + "refused/";
    EXPECT_NE(
        RunCommand("unzip -qq -o -P wrong " + Quote(path) + " -d " + Quote(refused) + " >/dev/null 2>&1"), 0);
    EXPECT_NE(FileBytes(refused + "readme.txt"), SampleMembers()[0].data);
}

TEST(ZipWriter, TheSameMembersGiveTheSameBytesInAnyOrder) {
    std::vector<ZipMember> members = SampleMembers();
    const std::vector<uint8_t> first = WriteEncryptedZip(members, kPassword);
    std::reverse(members.begin(), members.end());
    EXPECT_EQ(WriteEncryptedZip(members, kPassword), first);
    // The password changes every encrypted byte, not the layout.
    const std::vector<uint8_t> other = WriteEncryptedZip(members, "another");
    ASSERT_EQ(other.size(), first.size());
    EXPECT_NE(other, first);
}

TEST(ZipWriter, RefusesMoreMembersThanAPlainZipCanCount) {
    std::vector<ZipMember> members(0x10000);
    for (size_t i = 0; i < members.size(); ++i)
        members[i].name = "m" + std::to_string(i);
    EXPECT_TRUE(WriteEncryptedZip(std::move(members), "x").empty());
}

TEST(ArchiveBuilder, RefusesNamesTheGameCannotFind) {
    const std::vector<std::string> bad = {
        "",          "/red.png",  "textures/",       "skyboxes\\back.png", "a//b.png",           "../up.txt",
        "a/./b.txt", "c:red.png", "caf\xc3\xa9.txt", "tab\tname",          std::string(256, 'n')};
    for (const std::string& name : bad) {
        ArchiveBuilder archive("test.zip");
        EXPECT_FALSE(archive.Add(name, {1})) << name;
        EXPECT_TRUE(archive.Failed()) << name;
        EXPECT_EQ(archive.MemberCount(), 0u) << name;
    }
    ArchiveBuilder archive("test.zip");
    EXPECT_TRUE(archive.Add("skyboxes/skybox1/morning/back.png", {1}));
    EXPECT_TRUE(archive.Add(std::string(255, 'n'), {2}));
    EXPECT_TRUE(archive.AddText("cocpits/cocpit_portrait.txt", "aviahorizont 1 2 3 4\r\n"));
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(archive.MemberCount(), 3u);
    EXPECT_EQ(*archive.Find("cocpits/cocpit_portrait.txt"), Bytes("aviahorizont 1 2 3 4\r\n"));
}

TEST(ArchiveBuilder, RefusesNamesTheReaderWouldConfuse) {
    ArchiveBuilder archive("textures.zip");
    EXPECT_EQ(archive.Stem(), "textures");
    ASSERT_TRUE(archive.Add("red.png", {1}));
    // The game finds members case-insensitively: one of these would be unreachable.
    EXPECT_FALSE(archive.Add("Red.PNG", {2}));
    EXPECT_FALSE(archive.Add("red.png", {3}));
    EXPECT_TRUE(archive.Failed());
    ASSERT_NE(archive.Find("red.png"), nullptr);
    EXPECT_EQ(*archive.Find("red.png"), std::vector<uint8_t>{1});
}

}  // namespace
