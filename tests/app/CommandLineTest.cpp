// The program's command line: help, version, and a clear word for what it does not know.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "platform/FSPaths.h"
#include "support/TestSupport.h"

namespace {

std::string Program() {
    return "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " +
           platform::ExecutableFolder() + "aerovant";
}

TEST(CommandLine, HelpVersionAndWrongOptionsAreAnsweredBeforeAnythingStarts) {
    const struct {
        const char* arguments;
        int status;
        const char* said;
    } cases[] = {
        {"--help", 0, "--headless"},
        {"--route 2 --help", 0, "F11 or Alt+Enter"},
        {"--version", 0, "aerovant " AEROVANT_TEST_VERSION "\n"},
        {"--fly", 2, "unknown option '--fly'"},
        {"--route", 2, "--route needs a number from 1 to 999"},
        {"--aircraft 6", 2, "--aircraft needs a number from 1 to 5"},
        {"--headless --route 1 --bogus 3", 2, "unknown option '--bogus'"},
        {"--headless --route 1 --frames 0", 2, "--frames cannot take '0'"},
    };
    for (const auto& c : cases) {
        int status = 0;
        const std::string output = testing_support::RunCommand(Program() + " " + c.arguments, status);
        ASSERT_TRUE(WIFEXITED(status)) << c.arguments;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.arguments << "\n" << output;
        EXPECT_NE(output.find(c.said), std::string::npos) << c.arguments << "\n" << output;
        if (c.status != 0) EXPECT_NE(output.find("aerovant --help"), std::string::npos) << output;
    }
}

TEST(CommandLine, TerminateStopsAFlightWithoutAWindow) {
    // Three seconds into a flight of a million passes, SIGTERM: the program ends by it.
    int status = 0;
    const std::string player = testing_support::MakeTempFolder("term");
    const std::string output = testing_support::RunCommand(
        "timeout --preserve-status -s TERM -k 30 3 " + Program() +
            " --headless --route 1 --frames 1000000 --pilot autopilot --player " + player,
        status);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM) << output;
}

}  // namespace
