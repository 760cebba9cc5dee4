// The data build as a program: repeatable, complete, and refusing bad input as a whole.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;
namespace fs = std::filesystem;

// The build's own archives, beside the test programs.
const std::string kData = MakeDataPath("data/");

TEST(DataBuild, TwoBuildsGiveIdenticalBytes) {
    TemporaryFolder first(testing_support::MakeTempFolder("databuild"));
    TemporaryFolder second(testing_support::MakeTempFolder("databuild"));
    ASSERT_EQ(RunDataBuild(AEROVANT_ASSETS_DIR, first.path), 0);
    ASSERT_EQ(RunDataBuild(AEROVANT_ASSETS_DIR, second.path + "made/by/the/tool"), 0);
    for (const std::string& name : ArchiveNames()) {
        const std::vector<uint8_t> bytes = FileBytes(first.path + name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(FileBytes(second.path + "made/by/the/tool/" + name), bytes) << name;
        // The archives the build made from the same sources are the same too.
        EXPECT_EQ(FileBytes(kData + name), bytes) << name;
    }
    // Nothing but the archives is left in the data folder.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(first.path)) {
        EXPECT_EQ(entry.path().extension(), ".zip") << entry.path();
        ++files;
    }
    EXPECT_EQ(files, ArchiveNames().size());
}

TEST(DataBuild, EveryMemberIsDeflatedEncryptedAndIntact) {
    for (const std::string& name : ArchiveNames()) {
        const std::string path = kData + name;
        int error = 0;
        zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
        ASSERT_NE(zip, nullptr) << name << ": libzip error " << error;
        const zip_int64_t count = zip_get_num_entries(zip, 0);
        EXPECT_GT(count, 0) << name;
        std::string previous;
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            ASSERT_EQ(zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat), 0);
            const std::string member = stat.name;
            EXPECT_EQ(stat.encryption_method, ZIP_EM_TRAD_PKWARE) << name << ": " << member;
            EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE) << name << ": " << member;
            EXPECT_LT(member.size(), 256u);
            EXPECT_LT(previous, member) << name << ": members sorted by name";
            previous = member;
            const MemberRead read = ReadMember(path, member, DataPassword().c_str());
            EXPECT_TRUE(read.complete) << name << ": " << member;
            EXPECT_EQ(read.data.size(), stat.size) << name << ": " << member;
            EXPECT_FALSE(ReadMember(path, member, "not the password").complete) << name << ": " << member;
        }
        zip_discard(zip);
    }
}

TEST(DataBuild, InfoZipTestsEveryArchive) {
    if (!HaveProgram("unzip")) GTEST_SKIP() << "Info-ZIP unzip is not installed";
    for (const std::string& name : ArchiveNames()) {
        const std::string command = "unzip -tqq -P " + Quote(DataPassword()) + " " + Quote(kData + name);
        EXPECT_EQ(RunCommand(command + " >/dev/null"), 0) << name;
    }
}

TEST(DataBuild, AssetFilesBecomeMembersOfTheirArchive) {
    TemporaryFolder folder(testing_support::MakeTempFolder("databuild"));
    const std::string assets = folder.path + "assets/";
    fs::copy(AEROVANT_ASSETS_DIR, assets, fs::copy_options::recursive);
    fs::create_directories(assets + "help/pages");
    std::ofstream(assets + "help/help.txt", std::ios::binary) << "Fly through the gates.\r\n";
    std::ofstream(assets + "help/pages/two.txt", std::ios::binary) << "Land on the runway.\r\n";
    std::ofstream(assets + "help/.editor-backup", std::ios::binary) << "not data";
    const std::string data = folder.path + "data/";
    ASSERT_EQ(RunDataBuild(assets, data), 0);

    EXPECT_EQ(MemberNames(data + "help.zip"),
              (std::vector<std::string>{"help.txt", "pages/two.txt", "readme.txt"}));
    EXPECT_EQ(MemberText(data + "help.zip", "pages/two.txt"), "Land on the runway.\r\n");
    // Hand-made and generated members share an archive.
    const std::vector<uint8_t> cube = FileBytes(assets + "models/cube.obj");
    ASSERT_FALSE(cube.empty());
    EXPECT_EQ(MemberBytes(data + "models.zip", "cube.obj"), cube);
}

TEST(DataBuild, AClashOrAMissingInputStopsTheBuildWithoutHalfArchives) {
    TemporaryFolder folder(testing_support::MakeTempFolder("databuild"));
    const std::string assets = folder.path + "assets/";
    fs::copy(AEROVANT_ASSETS_DIR, assets, fs::copy_options::recursive);
    fs::create_directories(assets + "textures");
    // The textures generator makes "particle.png" itself; a hand-made one in any case clashes.
    std::ofstream(assets + "textures/Particle.png", std::ios::binary) << "not a picture";
    const std::string data = folder.path + "data/";
    const std::string errors = folder.path + "errors.txt";
    EXPECT_EQ(RunDataBuild(assets, data, errors), 1);
    EXPECT_FALSE(fs::exists(data + "textures.zip"));
    EXPECT_TRUE(fs::exists(data + "fonts.zip"));  // the other archives are still made
    for (const auto& entry : fs::directory_iterator(data))
        EXPECT_EQ(entry.path().extension(), ".zip");
    const std::vector<uint8_t> message = FileBytes(errors);
    EXPECT_NE(std::string(message.begin(), message.end()).find("particle.png"), std::string::npos);

    // No arguments, no assets folder, a missing font.
    EXPECT_EQ(RunCommand(Quote(AEROVANT_DATABUILD_TOOL) + " 2>/dev/null"), 2);
    EXPECT_EQ(RunDataBuild(folder.path + "no-assets", folder.path + "d2"), 1);
    EXPECT_EQ(RunDataBuild(assets, folder.path + "d3", "/dev/null", folder.path + "none.ttf"), 1);
    EXPECT_FALSE(fs::exists(folder.path + "d3/fonts.zip"));
}

}  // namespace
