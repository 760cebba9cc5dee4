#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "app/FSShell.h"
#include "app/FSSplash.h"
#include "hud/FSFont.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"
#include "resources/FSTextureCache.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"

using testing_support::HeadlessTestGame;

namespace {

// A controller that records what the shell and the engine ask of it.
class RecordingController : public CSPPlaceholderController {
public:
    std::vector<std::string>* log = nullptr;
    int HandleAction(int action) override {
        log->push_back("action " + std::to_string(action));
        return CSPPlaceholderController::HandleAction(action);
    }
    void ResumeSounds() override { log->push_back("resume sounds"); }
    void Initialise(int* word) override {
        log->push_back("initialise");
        CSPPlaceholderController::Initialise(word);
    }
};

class RecordingMenu : public CSPMenu {
public:
    std::vector<std::string>* log = nullptr;
    void Enter() override {
        log->push_back("menu enter");
        CSPMenu::Enter();
    }
    void UpdateAndDraw(int redraw) override {
        if (redraw) log->push_back("menu redraw");
        CSPMenu::UpdateAndDraw(redraw);
    }
};

TEST(Shell, StartsWithTheSplashAndEndsInTheMenuState) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    ASSERT_NE(context.engine, nullptr);
    EXPECT_EQ(context.engine->State(), Menu);
    EXPECT_EQ(context.engine->PreviousState(), Starting);
    EXPECT_EQ(context.display, &game.display);
    // Splash, then the first menu frame with the redraw flag.
    EXPECT_EQ(game.display.FrameCount(), 2u);
    // The input follows the menu orientation with the factory bindings.
    EXPECT_EQ(context.input->CurrentKeyTable(), CFSInput::KeyTable(2));
    EXPECT_EQ(context.input->BindingCount(), kActionCount);
    // The engine made the texture cache over the textures archive and loaded its fonts.
    ASSERT_NE(context.textureCache, nullptr);
    EXPECT_NE(context.texturesArchive.find("data/textures.zip"), std::string::npos);
    ASSERT_NE(context.mainFont, nullptr);
    EXPECT_TRUE(context.mainFont->CanDraw());
    EXPECT_TRUE(context.engine->GameFont().CanDraw());

    game.shell->Shutdown();
    EXPECT_EQ(context.engine, nullptr);
    EXPECT_EQ(context.textureCache, nullptr);
    EXPECT_EQ(context.gameController, nullptr);
    EXPECT_EQ(context.input, nullptr);
    EXPECT_EQ(context.mainFont, nullptr);
}

TEST(Shell, SplashIsCopiedToTheScreenAsStored) {
    CFSNullDisplay display;
    ResetApplicationContext();
    platform::SetPlayerFolder(testing_support::MakeTempFolder("splash"));
    // A shell with no menu: the splash stays the last frame shown.
    CFSShell shell(display, {nullptr, [] { return std::make_unique<CSPPlaceholderController>(); }});
    ASSERT_EQ(shell.Start(), 0);
    ASSERT_GE(kSplashBitmapSize, 54u + MFSDisplay::kPixels * 2u);
    const uint32_t offset = kSplashBitmap[10] | (kSplashBitmap[11] << 8);
    const std::vector<uint16_t> frame = display.LastFrame();
    EXPECT_EQ(std::memcmp(frame.data(), kSplashBitmap + offset, MFSDisplay::kPixels * 2u), 0);
    shell.Shutdown();
    ResetApplicationContext();
}

TEST(Shell, StylusPointsTurnWithTheOrientationInForce) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    const int expected[3][2] = {{10, 20}, {300, 10}, {20, 230}};
    for (int orientation = 0; orientation < 3; ++orientation) {
        context.menuOrientation = orientation;  // the menu state uses the menu orientation
        game.shell->HandleEvent({FSEventType::StylusDown, 10, 20, 0});
        EXPECT_EQ(context.frame.stylusX, expected[orientation][0]) << "orientation " << orientation;
        EXPECT_EQ(context.frame.stylusY, expected[orientation][1]) << "orientation " << orientation;
    }
    context.menuOrientation = 2;
    // In a flight the flight orientation holds.
    game.StartFlight();
    context.game.screenAlign = 1;
    game.shell->HandleEvent({FSEventType::StylusMove, 10, 20, 0});
    EXPECT_EQ(context.frame.stylusX, 300);
    EXPECT_EQ(context.frame.stylusY, 10);
}

TEST(Shell, EachButtonPressGivesOneThenZeroAndLosingTheForegroundLetsGo) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSInput& input = *game.shell->Context().input;
    // Hot key 193 (button 1) feeds key state 8 ("back") in orientation 2: the state after
    // one more press (each HotKey event is one press of the button) and a poll.
    const auto press = [&] {
        game.shell->HandleEvent({FSEventType::HotKey, 0, 0, 193});
        input.Poll();
        return input.KeyState(8);
    };
    EXPECT_EQ(press(), 1);
    EXPECT_EQ(press(), 0);
    EXPECT_EQ(press(), 1);
    game.shell->HandleEvent({FSEventType::HotKey, 0, 0, 198});  // not a button: ignored
    // Held as the window loses the foreground: the release comes while it is away and is
    // dropped. Back in the foreground the button reads released, and a press reads pressed.
    game.display.SetFocus(false);
    game.shell->HandleEvent({FSEventType::HotKey, 0, 0, 193});
    game.Pass();
    game.display.SetFocus(true);
    game.Pass();
    input.Poll();
    EXPECT_EQ(input.KeyState(8), 0);
    EXPECT_EQ(press(), 1);
    EXPECT_EQ(press(), 0);
}

TEST(Shell, LosingTheForegroundLeavesTheFlightAndRegainingItRedrawsTheMenu) {
    std::vector<std::string> log;
    HeadlessTestGame game;
    game.shell = std::make_unique<CFSShell>(
        game.display, FSShellParts{[&log] {
                                       auto m = std::make_unique<RecordingMenu>();
                                       m->log = &log;
                                       return std::unique_ptr<MFSMenu>(std::move(m));
                                   },
                                   [&log, &game] {
                                       auto c = std::make_unique<RecordingController>();
                                       c->log = &log;
                                       game.controller = c.get();
                                       return std::unique_ptr<MFSGameController>(std::move(c));
                                   }});
    ASSERT_EQ(game.Start(), 0);
    CFSEngine& engine = *game.shell->Context().engine;
    game.StartFlight();
    ASSERT_EQ(engine.State(), Flying);
    log.clear();

    game.display.SetFocus(false);
    game.Pass();
    EXPECT_TRUE(game.shell->Suspended());
    EXPECT_EQ(engine.State(), Menu);
    EXPECT_EQ(game.controller->IsResumable(), 1);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "action 30");
    // While suspended nothing is drawn.
    const uint64_t frames = game.display.FrameCount();
    game.Pass(5);
    EXPECT_EQ(game.display.FrameCount(), frames);

    log.clear();
    game.display.SetFocus(true);
    game.Pass();
    EXPECT_FALSE(game.shell->Suspended());
    const std::vector<std::string> expected = {"resume sounds", "menu redraw"};
    EXPECT_EQ(log, expected);
}

TEST(Shell, HandlesOneMessagePerPassAndEndsOnQuitOrOnBackInTheMenu) {
    {
        HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        game.display.PostEvent({FSEventType::StylusDown, 10, 20, 0});
        game.display.PostEvent({FSEventType::StylusUp, 10, 20, 0});
        game.Pass();
        EXPECT_TRUE(game.display.PeekEvent());
        game.Pass();
        EXPECT_FALSE(game.display.PeekEvent());
        game.PressButton(193);  // button 1 is "back" in the landscape menu: it asks first
        EXPECT_EQ(game.shell->Context().engine->State(), Menu);
        game.Tap(0);  // "Yes"
        EXPECT_EQ(game.shell->Context().engine->State(), Quit);
        EXPECT_FALSE(game.Pass());
        EXPECT_EQ(game.shell->Run(), 0);
    }
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.StartFlight();
    ASSERT_EQ(game.shell->Context().engine->State(), Flying);
    game.display.PostEvent({FSEventType::Quit, 0, 0, 0});  // the window closes mid-flight
    EXPECT_FALSE(game.Pass());
    EXPECT_FALSE(game.shell->RunPass());
}

TEST(Shell, AnIdleMenuDrawsNothingNew) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.Pass(2);
    const uint64_t frames = game.display.FrameCount();
    game.Pass(120);
    EXPECT_EQ(game.display.FrameCount(), frames);
    // A tap redraws it.
    game.display.PostEvent({FSEventType::StylusDown, 100, 100, 0});
    game.Pass();
    EXPECT_GT(game.display.FrameCount(), frames);
}

// A test flight that asks to quit once it has flown for a given time.
class TimedController : public CSPPlaceholderController {
public:
    uint32_t startTick = 0;
    uint32_t flightMs = 0;
    float lastTimeScale = 0.0f;  // as the flight saw it
    float largestTimeScale = 0.0f;
    void Update() override {
        CSPPlaceholderController::Update();
        lastTimeScale = GetApplicationContext()->frame.timeScale;
        largestTimeScale = std::max(largestTimeScale, lastTimeScale);
        if (platform::TickCount() - startTick >= flightMs) GetApplicationContext()->engine->SetState(Quit);
    }
};

TEST(Shell, RunPacesTheLoopToSixtyPassesASecond) {
    HeadlessTestGame game;
    TimedController* timed = nullptr;
    game.shell = std::make_unique<CFSShell>(
        game.display, FSShellParts{[] { return std::make_unique<CSPMenu>(); },
                                   [&timed] {
                                       auto c = std::make_unique<TimedController>();
                                       timed = c.get();
                                       return std::unique_ptr<MFSGameController>(std::move(c));
                                   }});
    ASSERT_EQ(game.Start(), 0);
    timed->startTick = platform::TickCount();
    timed->flightMs = 3000;
    game.StartFlight();
    EXPECT_EQ(game.shell->Run(), 0);
    EXPECT_NEAR(timed->Frames(), 181, 3);
    // At 60 frames per second the simulation steps 18/60 of a nominal frame, also while
    // the frame rate is still being measured after the flight started.
    EXPECT_NEAR(game.shell->Context().engine->Meter().CurrentRate(), 60.0f, 2.0f);
    EXPECT_NEAR(timed->lastTimeScale, 0.3f, 0.01f);
    EXPECT_NEAR(timed->largestTimeScale, 0.3f, 0.01f);
}

}  // namespace
