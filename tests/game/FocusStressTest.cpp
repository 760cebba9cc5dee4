// The window's focus lost and regained a thousand times at random moments while the whole
// game runs headless through the menus, the aircraft clip, the loading screen, flights and
// the paused map, with keys and buttons pressed at random: no pass may hang, a flight left
// by the focus must be there to resume, no key held as the focus went may still be pressed
// once it is back, and the loading and video threads must stop every time.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "base/FSActions.h"
#include "game/CSPGameController.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateMain.h"
#include "menu/CSPMenuStatePlane.h"
#include "menu/CSPMenuStateRouteInfo.h"
#include "platform/FSThread.h"
#include "support/HeadlessTestGame.h"

namespace {

using testing_support::HeadlessTestGame;

// Aborts the test program, saying so, when one pass of the main loop runs longer than ten
// seconds: the game has deadlocked, and waiting for ctest's timeout would tell nothing.
class PassWatchdog {
public:
    PassWatchdog() : thread_([this] { Watch(); }) {}
    ~PassWatchdog() {
        {
            std::lock_guard<std::mutex> hold(lock_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Begin(int pass) {
        std::lock_guard<std::mutex> hold(lock_);
        pass_ = pass;
        started_ = std::chrono::steady_clock::now();
        busy_ = true;
    }
    void End() {
        std::lock_guard<std::mutex> hold(lock_);
        busy_ = false;
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> hold(lock_);
        while (!stop_) {
            wake_.wait_for(hold, std::chrono::milliseconds(200));
            if (busy_ && std::chrono::steady_clock::now() - started_ > std::chrono::seconds(10)) {
                std::fprintf(stderr, "FocusStress: pass %d has run for more than 10 s; the game hangs\n",
                             pass_);
                std::abort();
            }
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool busy_ = false;
    int pass_ = 0;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_;
};

enum Pad { kAction = 0, kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };

// A player who keeps losing the window: taps through the menu to a flight (resuming a
// left flight three times in four), presses keys and buttons at random in flight, pauses
// and goes back to the menu now and then, while the focus goes and comes back at random.
class FocusTour {
public:
    explicit FocusTour(HeadlessTestGame& game) : game_(game), context_(game.shell->Context()) {}

    void Run(int losses, int maxPasses) {
        while (losses_ < losses && passes_ < maxPasses && !::testing::Test::HasFatalFailure()) {
            ChangeFocus();
            if (focused_) Play();
            Pass();
        }
    }

    int losses_ = 0;
    int passes_ = 0;
    int flightsBuilt_ = 0;
    int flightsResumed_ = 0;
    int flyingPasses_ = 0;
    int pausedPasses_ = 0;
    int menuReturns_ = 0;
    int lossesByState_[7] = {};
    int lossesOnClipScreen_ = 0;
    int lossesOnLoadingScreen_ = 0;
    int lossesWhileHeld_ = 0;

private:
    CFSEngine& Engine() const { return *context_.engine; }
    CSPGameController& Game() const { return *game_.game; }
    int Screen() const {
        const MSPMenuState* screen = game_.menu->CurrentScreen();
        return screen ? screen->ScreenNumber() : -1;
    }
    bool Holding() const {
        for (bool down : pads_)
            if (down) return true;
        for (int code : buttons_)
            if (code) return true;
        return false;
    }

    void Pass() {
        const int before = Engine().State();
        const int screenBefore = Screen();
        watchdog_.Begin(passes_);
        game_.Pass();
        watchdog_.End();
        ++passes_;
        After(before, screenBefore);
    }

    // What each pass must leave behind.
    void After(int before, int screenBefore) {
        const int state = Engine().State();
        const bool flight = state == Flying || state == Paused;
        flyingPasses_ += state == Flying;
        pausedPasses_ += state == Paused;
        if ((before == Flying || before == Paused) && state == Menu) {
            ++menuReturns_;
            if (Game().IsResumable()) leftAircraft_ = Game().AircraftNode();
            resumeWanted_ = Between(0, 2) != 0;
        }
        if (before == Menu && flight) {
            // Built by the loading screen, or the flight left before taken up again.
            flightsBuilt_ += screenBefore == 5;
            if (screenBefore != 5) {
                ASSERT_EQ(Game().AircraftNode(), leftAircraft_);
                ++flightsResumed_;
            }
        }
        // The loading thread has stopped once the flight is built.
        ASSERT_EQ(context_.loadingThread, nullptr);
        ASSERT_EQ(context_.loadingThreadRunning, 0);
        // The clip plays only while the aircraft choice is shown with the focus.
        const bool clip = focused_ && Screen() == 4 && state == Menu;
        ASSERT_EQ(game_.menu->VideoThread().Suspended(), !clip)
            << "screen " << Screen() << " pass " << passes_;
        ASSERT_TRUE(game_.menu->VideoThread().Running());
        if (lostFlight_ && !focused_) {
            // Leaving by losing the focus keeps the flight, to be taken up again.
            ASSERT_EQ(state, Menu);
            ASSERT_EQ(Game().IsResumable(), 1);
            ASSERT_EQ(Game().AircraftNode(), leftAircraft_);
        }
        if (focused_ && handsOffSinceFocus_) {
            // Nothing the hand held as the focus went is pressed now it is back.
            for (int key = 0; key < 10; ++key)
                ASSERT_EQ(context_.input->KeyState(key), 0) << "key state " << key << " pass " << passes_;
        }
    }

    void ChangeFocus() {
        if (--untilChange_ > 0) return;
        focused_ = !focused_;
        if (!focused_) {
            ++losses_;
            const int state = Engine().State();
            lossesByState_[state] += 1;
            lossesOnClipScreen_ += state == Menu && Screen() == 4;
            lossesOnLoadingScreen_ += state == Menu && Screen() == 5;
            lostFlight_ = (state == Flying || state == Paused) && Game().Finish() == SPFinish::None;
            // Now and then a pad key goes down in the very moment the focus goes.
            if (Between(0, 3) == 0) HoldPad(Between(0, 4), true);
            lossesWhileHeld_ += Holding();
            game_.display.SetFocus(false);
            // The platform lets go of the buttons as the window loses the keyboard; the pad
            // keys the hand still holds are the game's to forget.
            for (int& code : buttons_) {
                if (code) game_.display.PostEvent({FSEventType::HotKey, 0, 0, code});
                code = 0;
            }
            for (bool& down : pads_)
                down = false;
            untilChange_ = Between(1, 6);
        } else {
            game_.display.SetFocus(true);
            handsOffSinceFocus_ = true;
            untilChange_ = Between(2, 40);
        }
    }

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void HoldPad(int pad, bool down) {
        pads_[pad] = down;
        game_.display.SetPadKey(pad, down);
        if (down) handsOffSinceFocus_ = false;
    }
    // A button goes down or comes up (one message each); the code is the one it had when
    // it went down, as the keyboard keeps its key.
    void ToggleButton(int state) {
        int& code = buttons_[state - 5];
        if (code) {
            game_.display.PostEvent({FSEventType::HotKey, 0, 0, code});
            code = 0;
        } else {
            code = game_.display.HotKeyOfState(state);
            game_.display.PostEvent({FSEventType::HotKey, 0, 0, code});
            handsOffSinceFocus_ = false;
        }
    }
    void PressChord(int action, bool down) {
        for (int32_t key : context_.input->KeysOf(action)) {
            if (key >= 0 && key < 5) HoldPad(key, down);
            if (key >= 5 && key < 10 && (buttons_[key - 5] != 0) != down) ToggleButton(key);
        }
    }
    void LetGoOfEverything() {
        for (int pad = 0; pad < 5; ++pad)
            if (pads_[pad]) HoldPad(pad, false);
        for (int state = 5; state < 10; ++state)
            if (buttons_[state - 5]) ToggleButton(state);
    }

    void Play() {
        if (--untilMove_ > 0) return;
        untilMove_ = 1;
        // What was tapped last pass comes up first.
        if (tapped_ >= 0) {
            HoldPad(tapped_, false);
            tapped_ = -1;
            untilMove_ = Between(12, 24);  // the menu's repeat rule
            return;
        }
        const int state = Engine().State();
        if (state == Menu) {
            LetGoOfEverything();
            MenuMove();
        } else if (state == Flying || state == Paused) {
            FlightMove(state);
        }
    }

    void Tap(int pad) {
        HoldPad(pad, true);
        tapped_ = pad;
    }

    void MenuMove() {
        MSPMenuState* screen = game_.menu->CurrentScreen();
        if (const auto* main = dynamic_cast<CSPMenuStateMain*>(screen)) {
            const int wanted =
                Game().IsResumable() && resumeWanted_ ? CSPMenuStateMain::kResume : CSPMenuStateMain::kFly;
            Tap(main->Asking() || main->SelectedItem() == wanted ? kAction
                : main->SelectedItem() > wanted                  ? kUp
                                                                 : kDown);
        } else if (const auto* routes = dynamic_cast<CSPMenuStateRouteInfo*>(screen)) {
            Tap(routes->SelectedItem() == CSPMenuStateRouteInfo::kGoOn ? kAction : kUp);
        } else if (dynamic_cast<CSPMenuStatePlane*>(screen)) {
            // A look at the clip (the video thread plays it meanwhile), then on.
            Tap(Between(0, 5) == 0 ? kAction : Between(0, 1) ? kLeft : kRight);
        } else if (Screen() != 5) {
            ToggleButton(8);  // back
            untilMove_ = 2;
        }
    }

    void FlightMove(int state) {
        if (state == Flying && ++flown_ > Between(300, 900)) {
            // Back to the menu: the back button (state 8) with nothing else held.
            flown_ = 0;
            LetGoOfEverything();
            ToggleButton(8);
            untilMove_ = 1;
            backPending_ = true;
            return;
        }
        if (backPending_) {
            ToggleButton(8);
            backPending_ = false;
            return;
        }
        if (mapHeld_) {
            PressChord(kActionMap, false);
            mapHeld_ = false;
        }
        const int choice = Between(0, 40);
        if (choice < 5) {
            HoldPad(choice, !pads_[choice]);
        } else if (choice < 10 && choice != 8) {
            ToggleButton(choice);  // buttons as key states 5-9, but not back
        } else if (choice == 10 && !Holding()) {
            // The map (pauses, or flies on): its chord pressed, and let go at the next move.
            PressChord(kActionMap, true);
            mapHeld_ = true;
            untilMove_ = 2;
            return;
        }
        untilMove_ = Between(1, 10);
    }

    HeadlessTestGame& game_;
    CFSApplicationContext& context_;
    PassWatchdog watchdog_;
    std::mt19937 random_{20261207};
    bool focused_ = true;
    int untilChange_ = 30;
    int untilMove_ = 1;
    int tapped_ = -1;
    bool pads_[5] = {};
    int buttons_[5] = {};  // the hot key each held button sent, 0 when up
    bool handsOffSinceFocus_ = false;
    bool lostFlight_ = false;
    const MFSSceneNode* leftAircraft_ = nullptr;
    bool resumeWanted_ = true;
    bool backPending_ = false;
    bool mapHeld_ = false;
    int flown_ = 0;
};

TEST(FocusStress, AThousandFocusLossesNeitherHangNorLoseAFlightNorLeaveAKeyPressed) {
    HeadlessTestGame game(HeadlessFlights::Routes);
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.video.resolution = 0;
    DeriveRenderSize(context.video);
    FocusTour tour(game);
    tour.Run(1000, 60000);
    std::printf(
        "%d passes, %d losses (in the menu %d, on the clip screen %d, loading %d, flying %d, paused %d, "
        "with keys held %d); %d flights built, %d resumed, %d passes flown, %d paused, %d returns to the "
        "menu\n",
        tour.passes_, tour.losses_, tour.lossesByState_[Menu], tour.lossesOnClipScreen_,
        tour.lossesOnLoadingScreen_, tour.lossesByState_[Flying], tour.lossesByState_[Paused],
        tour.lossesWhileHeld_, tour.flightsBuilt_, tour.flightsResumed_, tour.flyingPasses_,
        tour.pausedPasses_, tour.menuReturns_);
    EXPECT_EQ(tour.losses_, 1000);
    // Every state had its share of lost focus, and the game got on regardless.
    EXPECT_GT(tour.lossesByState_[Menu], 50);
    EXPECT_GT(tour.lossesOnClipScreen_, 10);
    EXPECT_GT(tour.lossesOnLoadingScreen_, 5);
    EXPECT_GT(tour.lossesByState_[Flying], 50);
    EXPECT_GT(tour.lossesByState_[Paused], 5);
    EXPECT_GT(tour.lossesWhileHeld_, 50);
    EXPECT_GE(tour.flightsBuilt_, 3);
    EXPECT_GE(tour.flightsResumed_, 10);
    EXPECT_GT(tour.flyingPasses_, 2000);
    EXPECT_GE(tour.menuReturns_, 20);
}

}  // namespace
