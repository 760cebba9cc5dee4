// Where the game looks for its data and its clip decoder library: beside the executable
// (a build tree, a portable copy) first, else the folders an installation puts them in,
// relative to the executable's folder so that any prefix works.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FSPaths.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Where a layout puts a piece: DanglingBeside is an installed piece with a link beside the
// program that leads nowhere.
enum class At { Nowhere, Beside, Installed, Both, DanglingBeside };

struct Layout {
    const char* name;
    At data;
    At library;
    bool dataInstalled;     // the data is found in the installed folder, not beside
    bool libraryInstalled;  // likewise the library
};

const Layout kLayouts[] = {
    {"a build tree", At::Beside, At::Beside, false, false},
    {"an installed copy", At::Installed, At::Installed, true, true},
    {"a portable copy over an installed one", At::Both, At::Both, false, false},
    {"nothing anywhere: looked for beside", At::Nowhere, At::Nowhere, false, false},
    {"a data link beside that leads nowhere", At::DanglingBeside, At::Beside, true, false},
    {"installed data with a library beside", At::Installed, At::Beside, true, false},
};

// Makes "data" (a folder) or "xvid_ppc.so" (a file) where the layout says.
void Place(At at, const std::string& beside, const std::string& installed, const std::string& entry) {
    std::error_code error;
    auto make = [&](const std::string& folder) {
        fs::create_directories(folder, error);
        if (entry == "data")
            fs::create_directory(folder + entry, error);
        else
            image_test_files::WriteText(folder + entry, "library");
    };
    if (at == At::Beside || at == At::Both) make(beside);
    if (at == At::Installed || at == At::Both || at == At::DanglingBeside) make(installed);
    if (at == At::DanglingBeside) fs::create_directory_symlink(beside + "gone", beside + entry, error);
}

TEST(InstallPaths, DataAndLibraryAreFoundBesideTheProgramFirstThenWhereAnInstallationPutsThem) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        const std::string prefix = testing_support::MakeTempFolder("layout");
        const std::string bin = prefix + "bin/";
        const std::string share =
            (fs::path(bin) / AEROVANT_DATA_FROM_PROGRAM).lexically_normal().string() + "/";
        const std::string lib =
            (fs::path(bin) / AEROVANT_LIBRARY_FROM_PROGRAM).lexically_normal().string() + "/";
        fs::create_directories(bin);
        Place(layout.data, bin, share, "data");
        Place(layout.library, bin, lib, "xvid_ppc.so");

        const std::vector<std::string> data = platform::DataFolderCandidates(bin);
        const std::vector<std::string> library = platform::LibraryFolderCandidates(bin);
        EXPECT_EQ(data, (std::vector<std::string>{bin, share}));
        EXPECT_EQ(library, (std::vector<std::string>{bin, lib}));
        EXPECT_EQ(platform::FirstFolderHolding(data, "data"), layout.dataInstalled ? share : bin);
        EXPECT_EQ(platform::FirstFolderHolding(library, "xvid_ppc.so"), layout.libraryInstalled ? lib : bin);
        image_test_files::RemoveTempFolder(prefix);
    }
}

TEST(InstallPaths, TheInstalledFoldersAreNamedWithoutDotsWhereverTheProgramLies) {
    const struct {
        std::string exeFolder;
        std::string installedData;
    } kFolders[] = {
        {"/usr/bin/", "/usr/share/aerovant/"},
        {"/home/pilot/.local/bin/", "/home/pilot/.local/share/aerovant/"},
        {"/opt/aerovant/bin/", "/opt/aerovant/share/aerovant/"},
    };
    for (const auto& folders : kFolders) {
        SCOPED_TRACE(folders.exeFolder);
        if (std::string(AEROVANT_DATA_FROM_PROGRAM) != "../share/aerovant")
            GTEST_SKIP() << "other install folders";
        EXPECT_EQ(platform::DataFolderCandidates(folders.exeFolder).back(), folders.installedData);
        EXPECT_EQ(
            platform::FirstFolderHolding(platform::DataFolderCandidates(folders.exeFolder), "no-such-entry"),
            folders.exeFolder);
    }
    // The running test program lies in the build tree with its data: found beside it, and
    // the player's files stay there too.
    EXPECT_EQ(platform::DataFolder(), platform::ExecutableFolder());
    EXPECT_EQ(platform::LibraryPath("xvid_ppc.so"), platform::ExecutableFolder() + "xvid_ppc.so");
}

}  // namespace
