// The data build's zip writer against libzip and Info-ZIP, and its archive builder's names.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "databuild/ArchiveBuilder.h"
#include "databuild/ZipWriter.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const char kPassword[] = "Wing&Gate#1Sky72";

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Members that exercise the writer: text, nothing at all, incompressible noise in a nested
// folder, and a long run that deflates to almost nothing; not in name order.
std::vector<ZipMember> SampleMembers() {
    std::vector<uint8_t> noise(100000);
    std::mt19937 random(12345);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(random());
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
    EXPECT_TRUE(image_test_files::WriteText(path, std::string(zip.begin(), zip.end())));
    return path;
}

TEST(ZipWriter, TheGameReadsEveryMemberBackSortedAndLibzipOnlyWithThePassword) {
    TemporaryFolder folder(testing_support::MakeTempFolder("zipwriter"));
    const std::string path = WriteSample(folder.path);
    EXPECT_EQ(MemberNames(path),
              (std::vector<std::string>{"deep/folder/noise.bin", "empty.bin", "readme.txt", "runs.txt"}));
    for (const ZipMember& member : SampleMembers()) {
        EXPECT_EQ(MemberText(path, member.name), std::string(member.data.begin(), member.data.end()))
            << member.name;
        EXPECT_FALSE(ReadsWith(path, member.name, nullptr)) << member.name;
        if (member.data.empty()) continue;  // nothing to give away
        // A wrong password passes the one-byte check of the encryption header one time in
        // 256; inflate or the CRC must catch it then.
        for (const char* wrong : {"", "wing&gate#1sky72", "Wing&Gate#1Sky7", "Wing&Gate#1Sky722", "guess5"})
            EXPECT_FALSE(ReadsWith(path, member.name, wrong)) << member.name << " with " << wrong;
    }
}

TEST(ZipWriter, InfoZipTestsAndExtractsTheArchiveOnlyWithThePassword) {
    if (RunCommand("command -v unzip >/dev/null") != 0) GTEST_SKIP() << "Info-ZIP unzip is not installed";
    TemporaryFolder folder(testing_support::MakeTempFolder("zipwriter"));
    const std::string path = WriteSample(folder.path);
    const std::string unzip = "unzip -qq -o -P ";
    EXPECT_EQ(RunCommand(unzip + ShellQuote(kPassword) + " -t " + ShellQuote(path) + " >/dev/null"), 0);
    ASSERT_EQ(RunCommand(unzip + ShellQuote(kPassword) + " " + ShellQuote(path) + " -d " +
                         ShellQuote(folder.path + "out")),
              0);
    for (const ZipMember& member : SampleMembers())
        EXPECT_EQ(ReadBytes(folder.path + "out/" + member.name), member.data) << member.name;
    const std::string refused = folder.path + "refused";
    EXPECT_NE(
        RunCommand(unzip + "wrong " + ShellQuote(path) + " -d " + ShellQuote(refused) + " >/dev/null 2>&1"),
        0);
    EXPECT_NE(ReadBytes(refused + "/readme.txt"), SampleMembers()[0].data);
}

TEST(ZipWriter, TheSameMembersGiveTheSameBytesInAnyOrder) {
    std::vector<ZipMember> members = SampleMembers();
    const std::vector<uint8_t> first = WriteEncryptedZip(members, kPassword);
    std::reverse(members.begin(), members.end());
    EXPECT_EQ(WriteEncryptedZip(members, kPassword), first);
    // More members than a plain zip can count are refused.
    std::vector<ZipMember> tooMany(0x10000);
    for (size_t i = 0; i < tooMany.size(); ++i)
        tooMany[i].name = "m" + std::to_string(i);
    EXPECT_TRUE(WriteEncryptedZip(std::move(tooMany), "x").empty());
}

TEST(ArchiveBuilder, RefusesNamesTheGameCannotFindOrWouldConfuse) {
    const std::vector<std::string> bad = {
        "",          "/red.png",  "textures/",       "skyboxes\\back.png", "a//b.png",           "../up.txt",
        "a/./b.txt", "c:red.png", "caf\xc3\xa9.txt", "tab\tname",          std::string(256, 'n')};
    for (const std::string& name : bad) {
        ArchiveBuilder archive("test.zip");
        EXPECT_FALSE(archive.Add(name, {1})) << name;
        EXPECT_TRUE(archive.Failed()) << name;
        EXPECT_EQ(archive.MemberCount(), 0u) << name;
    }
    ArchiveBuilder archive("textures.zip");
    EXPECT_EQ(archive.Stem(), "textures");
    EXPECT_TRUE(archive.Add("skyboxes/skybox1/morning/back.png", {1}));
    EXPECT_TRUE(archive.Add(std::string(255, 'n'), {2}));
    EXPECT_TRUE(archive.AddText("cocpits/cocpit_portrait.txt", "aviahorizont 1 2 3 4\r\n"));
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(*archive.Find("cocpits/cocpit_portrait.txt"), Bytes("aviahorizont 1 2 3 4\r\n"));
    // The game finds members case-insensitively: a second one of these would be unreachable.
    EXPECT_FALSE(archive.Add("Skyboxes/skybox1/MORNING/back.png", {3}));
    EXPECT_FALSE(archive.Add("skyboxes/skybox1/morning/back.png", {4}));
    EXPECT_TRUE(archive.Failed());
    EXPECT_EQ(archive.MemberCount(), 3u);
    EXPECT_EQ(*archive.Find("skyboxes/skybox1/morning/back.png"), std::vector<uint8_t>{1});
}

}  // namespace
