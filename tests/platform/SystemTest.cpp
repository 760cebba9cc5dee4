#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/FSClock.h"
#include "platform/FSInstanceLock.h"
#include "platform/FSLibrary.h"
#include "platform/FSPaths.h"
#include "platform/FSThread.h"
#include "support/TestSupport.h"

namespace {

TEST(Paths, DataPathsSitBesideTheExecutableWithSlashes) {
    const std::string folder = platform::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(platform::DataPath("sounds\\explos.wav"), folder + "sounds/explos.wav");
    // Far beyond the old 127-character limit.
    const std::string deep(600, 'a');
    EXPECT_EQ(platform::DataPath(deep + "\\data\\" + deep), folder + deep + "/data/" + deep);
}

TEST(Paths, WritesFilesWholeOrNotAtAll) {
    const std::string folder = testing_support::MakeTempFolder("paths");
    const std::string path = folder + "settings.bin";
    // Each write replaces the whole file, a shorter one too.
    for (const std::string& text : {std::string(5000, 'x'), std::string("second"), std::string()}) {
        ASSERT_TRUE(platform::WriteFileAtomically(path, text.data(), text.size()));
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), text);
    }
    struct stat info;
    EXPECT_NE(stat((path + ".tmp").c_str(), &info), 0);  // no temporary left behind
    EXPECT_FALSE(platform::WriteFileAtomically(folder + "missing/settings.bin", "x", 1));
}

TEST(Paths, PlayerFolderCanBeMovedAndIsMade) {
    const std::string folder = testing_support::MakeTempFolder("players") + "deeper/still";
    platform::SetPlayerFolder(folder);
    EXPECT_EQ(platform::PlayerFolder(), folder + "/");
    struct stat info;
    EXPECT_EQ(stat(folder.c_str(), &info), 0);
}

TEST(InstanceLock, ASecondCopyFindsTheLockBusy) {
    const std::string file = testing_support::MakeTempFolder("lock") + "aerovant.lock";
    CFSInstanceLock first, second, nowhere;
    EXPECT_EQ(first.Acquire(file), CFSInstanceLock::Result::Acquired);
    EXPECT_EQ(second.Acquire(file), CFSInstanceLock::Result::Busy);
    first.Release();
    EXPECT_EQ(second.Acquire(file), CFSInstanceLock::Result::Acquired);
    EXPECT_EQ(nowhere.Acquire("/nonexistent-folder/aerovant.lock"), CFSInstanceLock::Result::Unavailable);
}

TEST(Library, LoadsASharedLibraryAndFindsItsSymbols) {
    CFSLibrary library, missing;
    ASSERT_TRUE(library.Open("libz.so.1")) << library.Error();
    EXPECT_NE(library.Symbol("zlibVersion"), nullptr);
    EXPECT_EQ(library.Symbol("NoSuchSymbolHere"), nullptr);
    EXPECT_FALSE(missing.Open("/nonexistent/xvid_ppc.so"));
    EXPECT_FALSE(missing.Error().empty());
    EXPECT_EQ(missing.Symbol("InitCodec"), nullptr);
}

TEST(Thread, StopsAtTheGateWhileSuspendedAndEndsOnItsFlag) {
    CFSThread thread;
    std::atomic<int> passes{0};
    ASSERT_TRUE(thread.Start([&passes](CFSThread& self) {
        while (self.Pass()) {
            ++passes;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }));
    EXPECT_FALSE(thread.Start([](CFSThread&) {}));  // one body at a time
    while (passes.load() < 3)
        std::this_thread::yield();
    thread.Suspend();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int frozen = passes.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_LE(passes.load(), frozen + 1);  // at most the pass already under way
    EXPECT_TRUE(thread.Suspended());
    thread.Resume();
    while (passes.load() < frozen + 3)
        std::this_thread::yield();
    // A stop request also opens the gate of a suspended thread.
    thread.Suspend();
    thread.RequestStop();
    thread.Join();
    EXPECT_FALSE(thread.Running());
}

TEST(Clock, VirtualTimeMovesOnlyWhenTheOwnerSleeps) {
    platform::UseVirtualClock(1000);
    EXPECT_TRUE(platform::IsVirtualClock());
    EXPECT_EQ(platform::TickCount(), 1000u);
    platform::Sleep(16);
    EXPECT_EQ(platform::TickCount(), 1016u);
    std::thread other([] { platform::Sleep(500); });  // another thread's sleep is real and brief
    other.join();
    EXPECT_EQ(platform::TickCount(), 1016u);
    platform::AdvanceVirtualClock(4);
    EXPECT_EQ(platform::TickCount(), 1020u);
    platform::UseRealClock();
    const uint32_t before = platform::TickCount();
    platform::Sleep(5);
    EXPECT_GE(platform::TickCount() - before, 5u);
}

}  // namespace
