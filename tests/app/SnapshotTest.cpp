// The pictures of a flight stay the same pixel for pixel while the drawing gets faster:
// the program flies route 4 without a window and its pictures are compared with the ones
// kept in tests/data/snapshots, once with Mesa's rasterizer in the drawing thread (the
// game's choice) and once with two rasterizer threads of its own.
//
// The kept pictures come from this project's machines ("renderer.txt" names their GL);
// another rasterizer draws its own way, and the test is skipped there. To make them anew
// after a change meant to alter the picture: AEROVANT_UPDATE_SNAPSHOTS=1 test_app
// --gtest_filter='Snapshot.*'.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <GLES/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "platform/FSPaths.h"
#include "resources/FSPng.h"
#include "support/TestSupport.h"

namespace {

const std::string kKept = std::string(AEROVANT_TEST_DATA) + "/snapshots/";

std::string Renderer() {
    CFSGLSurface surface;
    if (!surface.Create(1, 1)) return "";
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name ? name : "";
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ReadPicture(const std::string& path, FSPngImage& image) {
    const std::vector<uint8_t> bytes = FileBytes(path);
    return !bytes.empty() && DecodePng(bytes.data(), bytes.size(), image);
}

// The pictures one headless flight writes into folder.
void Fly(const std::string& threads, const std::string& view, const std::string& folder) {
    int status = 0;
    const std::string output = testing_support::RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy LP_NUM_THREADS=" + threads + " " +
            platform::ExecutableFolder() + "aerovant --headless --route 4 --pilot instructor --frames 1200 " +
            "--shots-every 400 --view " + view + " --out " + folder + " --player " + folder + "/player",
        status);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
}

TEST(Snapshot, AFlightLooksTheSameAsTheKeptPictures) {
    const bool update = std::getenv("AEROVANT_UPDATE_SNAPSHOTS") != nullptr;
    const std::string renderer = Renderer();
    if (update) {
        std::filesystem::create_directories(kKept);
        std::ofstream(kKept + "renderer.txt") << renderer << "\n";
    }
    std::string kept;
    std::getline(std::ifstream(kKept + "renderer.txt"), kept);
    if (renderer != kept)
        GTEST_SKIP() << "GL here is \"" << renderer << "\", the kept pictures' is \"" << kept << "\"";

    for (const char* threads : {"0", "2"}) {
        for (const char* view : {"chase", "cockpit"}) {
            SCOPED_TRACE(std::string("rasterizer threads ") + threads + ", " + view + " view");
            const std::string folder = testing_support::MakeTempFolder(std::string("snap") + threads + view);
            Fly(threads, view, folder);
            for (const char* frame : {"frame000400.png", "frame000800.png", "frame001200.png"}) {
                const std::string keptName = kKept + view + "-" + frame;
                if (update)
                    std::filesystem::copy_file(folder + "/" + frame, keptName,
                                               std::filesystem::copy_options::overwrite_existing);
                FSPngImage now, before;
                ASSERT_TRUE(ReadPicture(folder + "/" + frame, now)) << frame;
                ASSERT_TRUE(ReadPicture(keptName, before)) << keptName;
                ASSERT_EQ(now.width, before.width);
                ASSERT_EQ(now.height, before.height);
                size_t differ = 0;
                for (size_t i = 0; i < now.pixels.size(); ++i)
                    differ += now.pixels[i] != before.pixels[i];
                EXPECT_EQ(differ, 0u) << frame << ": " << differ << " channel values differ";
            }
        }
    }
}

}  // namespace
