// The data build as a program: repeatable, readable by the game, and refusing bad input
// archive by archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;
namespace fs = std::filesystem;

// The build's own archives, beside the test programs.
const std::string kData = MakeDataPath("data/");
const std::set<std::string> kArchives = {"textures.zip", "models.zip",   "aircrafts.zip",
                                         "routes.zip",   "terrains.zip", "huds.zip",
                                         "fonts.zip",    "menu.zip",     "help.zip"};

// Runs the data build into dataFolder; its exit status. Its complaints go to errors.
int RunDataBuild(const std::string& assets, const std::string& dataFolder,
                 const std::string& errors = "/dev/null", const std::string& boldFont = AEROVANT_BOLD_FONT) {
    return RunCommand(ShellQuote(AEROVANT_DATABUILD_TOOL) + " " + ShellQuote(assets) + " " +
                      ShellQuote(dataFolder) + " " + ShellQuote(boldFont) + " " +
                      ShellQuote(AEROVANT_REGULAR_FONT) + " 2>" + ShellQuote(errors));
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The second pass that adds the aircraft clips the build made to menu.zip.
int AddClips(const std::string& dataFolder) {
    return RunCommand(ShellQuote(AEROVANT_DATABUILD_TOOL) + " " + ShellQuote(AEROVANT_ASSETS_DIR) + " " +
                      ShellQuote(dataFolder) + " " + ShellQuote(AEROVANT_BOLD_FONT) + " " +
                      ShellQuote(AEROVANT_REGULAR_FONT) + " --extras " + ShellQuote(AEROVANT_CLIP_FOLDER) +
                      " menu.zip 2>/dev/null");
}

TEST(DataBuild, TwoBuildsGiveIdenticalBytesAndNothingButTheArchives) {
    TemporaryFolder first(testing_support::MakeTempFolder("databuild"));
    TemporaryFolder second(testing_support::MakeTempFolder("databuild"));
    ASSERT_EQ(RunDataBuild(AEROVANT_ASSETS_DIR, first.path), 0);
    ASSERT_EQ(RunDataBuild(AEROVANT_ASSETS_DIR, second.path + "made/by/the/tool"), 0);
    ASSERT_EQ(AddClips(first.path), 0);
    ASSERT_EQ(AddClips(second.path + "made/by/the/tool"), 0);
    for (const std::string& name : kArchives) {
        const std::vector<uint8_t> bytes = ReadBytes(first.path + name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(ReadBytes(second.path + "made/by/the/tool/" + name), bytes) << name;
        EXPECT_EQ(ReadBytes(kData + name), bytes) << name;  // and the same as the build's own
    }
    EXPECT_EQ(FilesIn(first.path), kArchives);
}

TEST(DataBuild, TheSoundsComeOutTheSameOnEveryBuild) {
    TemporaryFolder first(testing_support::MakeTempFolder("soundbuild"));
    TemporaryFolder second(testing_support::MakeTempFolder("soundbuild"));
    const std::set<std::string> sounds = {"menu_m.wav", "wind.wav", "explos.wav", "wasp.wav", "whine.wav"};
    for (const std::string* folder : {&first.path, &second.path}) {
        ASSERT_EQ(RunCommand(ShellQuote(AEROVANT_SOUNDBUILD_TOOL) + " " + ShellQuote(*folder + "sounds")), 0);
        EXPECT_EQ(FilesIn(*folder + "sounds"), sounds);
    }
    for (const std::string& name : sounds) {
        const std::vector<uint8_t> bytes = ReadBytes(first.path + "sounds/" + name);
        ASSERT_GT(bytes.size(), 44u) << name;
        EXPECT_EQ(ReadBytes(second.path + "sounds/" + name), bytes) << name;
        EXPECT_EQ(ReadBytes(MakeDataPath("sounds/" + name)), bytes) << name;  // the build's own
    }
}

TEST(DataBuild, TheGameReadsEveryMemberAndNothingOpensWithoutThePassword) {
    for (const std::string& archive : kArchives) {
        const std::vector<std::string> members = MemberNames(kData + archive);
        EXPECT_FALSE(members.empty()) << archive;
        for (const std::string& member : members) {
            EXPECT_TRUE(ReadArchiveText(kData + archive, member)) << archive << ": " << member;
            EXPECT_FALSE(ReadsWith(kData + archive, member, nullptr)) << archive << ": " << member;
        }
    }
}

TEST(DataBuild, HandMadeFilesJoinTheirArchiveAndBadInputStopsOnlyWhatItSpoils) {
    TemporaryFolder folder(testing_support::MakeTempFolder("databuild"));
    const std::string assets = folder.path + "assets/", data = folder.path + "data/";
    fs::copy(AEROVANT_ASSETS_DIR, assets, fs::copy_options::recursive);
    fs::create_directories(assets + "help/pages");
    std::ofstream(assets + "help/help.txt", std::ios::binary) << "Fly through the gates.\r\n";
    std::ofstream(assets + "help/pages/two.txt", std::ios::binary) << "Land on the runway.\r\n";
    std::ofstream(assets + "help/.editor-backup", std::ios::binary) << "not data";
    ASSERT_EQ(RunDataBuild(assets, data), 0);
    EXPECT_EQ(MemberNames(data + "help.zip"),
              (std::vector<std::string>{"help.txt", "pages/two.txt", "readme.txt"}));
    EXPECT_EQ(MemberText(data + "help.zip", "pages/two.txt"), "Land on the runway.\r\n");
    // Hand-made and generated members share an archive.
    const std::vector<uint8_t> cube = ReadBytes(assets + "models/cube.obj");
    EXPECT_EQ(MemberText(data + "models.zip", "cube.obj"), std::string(cube.begin(), cube.end()));

    // The textures generator makes "particle.png" itself; a hand-made one in any case clashes.
    fs::create_directories(assets + "textures");
    std::ofstream(assets + "textures/Particle.png", std::ios::binary) << "not a picture";
    const std::string errors = folder.path + "errors.txt";
    EXPECT_EQ(RunDataBuild(assets, folder.path + "clash", errors), 1);
    std::set<std::string> others = kArchives;
    others.erase("textures.zip");
    EXPECT_EQ(FilesIn(folder.path + "clash"), others);  // no half-written textures.zip, no leftovers
    const std::vector<uint8_t> message = ReadBytes(errors);
    EXPECT_NE(std::string(message.begin(), message.end()).find("particle.png"), std::string::npos);

    // No arguments, no assets folder, a missing font.
    EXPECT_EQ(RunCommand(ShellQuote(AEROVANT_DATABUILD_TOOL) + " 2>/dev/null"), 2);
    EXPECT_EQ(RunDataBuild(folder.path + "no-assets", folder.path + "d2"), 1);
    EXPECT_EQ(RunDataBuild(assets, folder.path + "d3", "/dev/null", folder.path + "none.ttf"), 1);
    EXPECT_FALSE(fs::exists(folder.path + "d3/fonts.zip"));
}

}  // namespace
