// The clip decoder library as the game finds it beside the executable: present in the
// build, and when it or an entry point is missing the game says why in one line and goes on.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/FSApplicationContext.h"
#include "app/FSClipDecoder.h"
#include "platform/FSPaths.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(ClipDecoder, TheContextFindsTheLibraryBesideTheProgramWithItsThreeEntryPoints) {
    ResetApplicationContext();
    const CFSApplicationContext* context = GetApplicationContext();
    EXPECT_EQ(context->clipDecoderReady, 1) << ClipDecoderProblem();
    EXPECT_NE(context->clipDecoder.initCodec, nullptr);
    EXPECT_NE(context->clipDecoder.closeCodec, nullptr);
    EXPECT_NE(context->clipDecoder.decodeFrame, nullptr);
    // The table's order is InitCodec, CloseCodec, DecodeFrame.
    const void* const* table = reinterpret_cast<const void* const*>(&context->clipDecoder);
    EXPECT_EQ(table[0], reinterpret_cast<const void*>(context->clipDecoder.initCodec));
    EXPECT_EQ(table[1], reinterpret_cast<const void*>(context->clipDecoder.closeCodec));
    EXPECT_EQ(table[2], reinterpret_cast<const void*>(context->clipDecoder.decodeFrame));
    ResetApplicationContext();
}

// Runs a copy of the snapshot tool in a folder of its own (the data linked in) with the given
// file as its "xvid_ppc.so" (none when empty); what it printed, and "exit <status>" when it
// failed.
std::string RunWithLibrary(const std::string& library) {
    const std::string folder = testing_support::MakeTempFolder("nodecoder");
    std::error_code error;
    fs::copy_file(platform::ExecutableFolder() + "aerovant-snapshot", folder + "aerovant-snapshot", error);
    fs::create_directory_symlink(platform::ExecutableFolder() + "data", folder + "data", error);
    if (!library.empty()) fs::copy_file(library, folder + "xvid_ppc.so", error);
    int status = 0;
    std::string output =
        testing_support::RunCommand(folder + "aerovant-snapshot --out " + folder + " --frames 1", status);
    if (status != 0) output += "exit " + std::to_string(status);
    fs::remove_all(folder, error);
    return output;
}

TEST(ClipDecoder, AMissingLibraryOrEntryPointIsSaidOnceAndTheGameGoesOn) {
    const std::string missing = RunWithLibrary("");
    EXPECT_EQ(testing_support::CountOf(missing, "DLL Error: dll loading"), 1) << missing;
    EXPECT_EQ(testing_support::CountOf(missing, "DLL Error"), 1) << missing;
    EXPECT_EQ(testing_support::CountOf(missing, "exit "), 0) << missing;
    // A library without the entry points: libxvidcore itself.
    std::string other;
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/libxvidcore.so.4", "/usr/lib/aarch64-linux-gnu/libxvidcore.so.4"})
        if (fs::exists(path)) other = path;
    if (other.empty()) GTEST_SKIP() << "no libxvidcore.so.4 to stand in for a wrong library";
    const std::string wrong = RunWithLibrary(other);
    EXPECT_EQ(testing_support::CountOf(wrong, "DLL Error: InitCodec loading"), 1) << wrong;
    EXPECT_EQ(testing_support::CountOf(wrong, "DLL Error"), 1) << wrong;
    EXPECT_EQ(testing_support::CountOf(wrong, "exit "), 0) << wrong;
}

}  // namespace
