// The real program started from a folder that lacks what ./run.sh makes: the data folder,
// one of its archives or the clip decoder library. Windowed and headless, it must say in
// one message what is missing, where, and how to make it, and stop with a failure.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/FSPaths.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// What the folder beside the program copy holds.
enum class Data { Linked, Missing, AFile, ADanglingLink, WithoutMenu };
enum class Library { Linked, Missing, Foreign };

struct GameFolder {
    const char* name;
    Data data;
    Library library;
    const char* said;  // the problem the message must name, after the full path
    // For a piece found nowhere: where an installation would have put it, from the
    // program's folder, which the message names after that folder.
    const char* installed;
};

const GameFolder kGameFolders[] = {
    {"no data folder", Data::Missing, Library::Linked, "data is missing", AEROVANT_DATA_FROM_PROGRAM},
    {"a data folder that is a file", Data::AFile, Library::Linked, "data is not a folder", nullptr},
    {"a data link that leads nowhere", Data::ADanglingLink, Library::Linked, "data is missing",
     AEROVANT_DATA_FROM_PROGRAM},
    {"an archive missing", Data::WithoutMenu, Library::Linked, "data/menu.zip is missing", nullptr},
    {"no decoder library", Data::Linked, Library::Missing, "xvid_ppc.so is missing",
     AEROVANT_LIBRARY_FROM_PROGRAM},
    {"a library without the entry points", Data::Linked, Library::Foreign,
     "xvid_ppc.so cannot be used (InitCodec", nullptr},
};

std::string ForeignLibrary() {
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/libxvidcore.so.4", "/usr/lib/aarch64-linux-gnu/libxvidcore.so.4"})
        if (fs::exists(path)) return path;
    return "";
}

// A folder with the program (a hard link, so that it finds its files beside the link) and
// what the setup gives it.
std::string MakeGameFolder(const GameFolder& setup) {
    const std::string built = platform::ExecutableFolder();
    const std::string folder = testing_support::MakeTempFolder("startup");
    std::error_code error;
    fs::create_hard_link(built + "aerovant", folder + "aerovant", error);
    if (error) fs::copy_file(built + "aerovant", folder + "aerovant", error);
    switch (setup.data) {
        case Data::Linked:
            fs::create_directory_symlink(built + "data", folder + "data", error);
            break;
        case Data::Missing:
            break;
        case Data::AFile:
            image_test_files::WriteText(folder + "data", "not a folder");
            break;
        case Data::ADanglingLink:
            fs::create_directory_symlink(folder + "gone", folder + "data", error);
            break;
        case Data::WithoutMenu:
            fs::create_directory(folder + "data", error);
            for (const fs::directory_entry& archive : fs::directory_iterator(built + "data"))
                if (archive.path().filename() != "menu.zip")
                    fs::create_symlink(archive.path(), folder + "data/" + archive.path().filename().string(),
                                       error);
            break;
    }
    if (setup.library == Library::Linked)
        fs::create_symlink(built + "xvid_ppc.so", folder + "xvid_ppc.so", error);
    if (setup.library == Library::Foreign)
        fs::create_symlink(ForeignLibrary(), folder + "xvid_ppc.so", error);
    return folder;
}

TEST(StartupCheck, WithoutItsDataOrDecoderTheProgramSaysWhatIsMissingAndHowToMakeItThenFails) {
    for (const GameFolder& setup : kGameFolders) {
        SCOPED_TRACE(setup.name);
        if (setup.library == Library::Foreign && ForeignLibrary().empty()) continue;
        const std::string folder = MakeGameFolder(setup);
        // No desktop to open a dialog on: the message goes to stderr alone. The timeout
        // stops a program that would run on.
        const std::string program =
            "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 " +
            folder + "aerovant";
        for (const std::string& mode : {std::string(" --headless --route 1 --frames 1"), std::string()}) {
            SCOPED_TRACE(mode.empty() ? "windowed" : "headless");
            int status = 0;
            const std::string output = testing_support::RunCommand(program + mode, status);
            ASSERT_TRUE(WIFEXITED(status)) << output;
            EXPECT_EQ(WEXITSTATUS(status), 1) << output;
            EXPECT_EQ(testing_support::CountOf(output, "Aerovant: The game cannot start:"), 1) << output;
            EXPECT_NE(output.find(folder + setup.said), std::string::npos) << output;
            if (setup.installed) {
                const std::string installed =
                    (fs::path(folder) / setup.installed).lexically_normal().string();
                const std::string looked = "(looked in " + folder + " and " + installed + "/)";
                EXPECT_EQ(testing_support::CountOf(output, looked), 1) << output;
            }
            EXPECT_NE(output.find("Run ./run.sh"), std::string::npos) << output;
            EXPECT_EQ(testing_support::CountOf(output, "DLL Error"), 0) << output;
        }
        image_test_files::RemoveTempFolder(folder);
    }
}

}  // namespace
