#include "common/HeadlessGame.h"

#include "app/FSApplicationContext.h"
#include "app/FSGameController.h"
#include "game/CSPGameController.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"
#include "testflight/CSPPlaceholderController.h"

HeadlessGame::HeadlessGame(const std::string& playerFolder, uint32_t clockStart, HeadlessFlights flights) {
    ResetApplicationContext();
    platform::SetPlayerFolder(playerFolder);
    platform::UseVirtualClock(clockStart);
    shell = std::make_unique<CFSShell>(
        display, FSShellParts{[this] {
                                  auto made = std::make_unique<CSPMenu>();
                                  menu = made.get();
                                  return std::unique_ptr<MFSMenu>(std::move(made));
                              },
                              [this, flights]() -> std::unique_ptr<MFSGameController> {
                                  if (flights == HeadlessFlights::Routes) {
                                      auto made = std::make_unique<CSPGameController>(CountRouteFiles());
                                      game = made.get();
                                      return made;
                                  }
                                  auto made = std::make_unique<CSPPlaceholderController>();
                                  controller = made.get();
                                  return made;
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
    if (MFSGameController* game = shell->Context().gameController.get()) game->RunFlightStart();
    Pass(2);
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
