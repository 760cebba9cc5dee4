#include "support/TestSupport.h"

#include <unistd.h>

#include <cstdlib>

#include "app/FSApplicationContext.h"
#include "game/CSPPlaceholderController.h"
#include "menu/CSPPlaceholderMenu.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"

namespace testing_support {

std::string MakeTempFolder(const std::string& tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/aerovant-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made ? std::string(made) + "/" : std::string("/tmp/");
}

HeadlessGame::HeadlessGame() {
    ResetApplicationContext();
    platform::SetPlayerFolder(MakeTempFolder("player"));
    platform::UseVirtualClock(50000);
    shell = std::make_unique<CFSShell>(
        display, FSShellParts{[this] {
                                  auto m = std::make_unique<CSPPlaceholderMenu>();
                                  menu = m.get();
                                  return std::unique_ptr<MFSMenu>(std::move(m));
                              },
                              [this] {
                                  auto c = std::make_unique<CSPPlaceholderController>();
                                  controller = c.get();
                                  return std::unique_ptr<MFSGameController>(std::move(c));
                              }});
}

HeadlessGame::~HeadlessGame() {
    shell.reset();
    ResetApplicationContext();
    platform::UseRealClock();
}

int HeadlessGame::Start() {
    return shell->Start();
}

bool HeadlessGame::Pass(int count) {
    bool running = true;
    for (int i = 0; i < count && running; ++i) {
        platform::Sleep(1000 / CFSShell::kFramesPerSecond + 1);
        running = shell->RunPass();
    }
    return running;
}

void HeadlessGame::Tap(int padKey) {
    display.SetPadKey(padKey, true);
    Pass();
    display.SetPadKey(padKey, false);
    Pass();
}

void HeadlessGame::PressButton(int hotKey) {
    display.PostEvent({FSEventType::HotKey, 0, 0, hotKey});
    Pass();
    display.PostEvent({FSEventType::HotKey, 0, 0, hotKey});
    Pass();
}

void HeadlessGame::StartFlight() {
    Tap(0);
}

std::vector<uint16_t> HeadlessGame::Picture() const {
    const std::vector<uint16_t> frame = display.LastFrame();
    std::vector<uint16_t> picture(frame.size());
    platform::DeviceToPicture(display.Orientation(), frame.data(), picture.data());
    return picture;
}

int HeadlessGame::PictureWidth() const {
    return display.Orientation() == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
}

}  // namespace testing_support
