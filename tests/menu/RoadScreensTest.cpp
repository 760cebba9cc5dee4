// The screens on the way to a flight, driven through the menu as the player would: pad
// actions and stylus presses, with the pictures missing (the screens then draw on black).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSSettingsFile.h"
#include "base/FSActions.h"
#include "game/CSPGameController.h"
#include "game/CSPRoute.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateMain.h"
#include "menu/CSPMenuStatePlane.h"
#include "menu/CSPMenuStateProfiles.h"
#include "menu/CSPMenuStateRouteInfo.h"
#include "menu/CSPMenuStateRouteParameters.h"
#include "menu/CSPMenuStateScores.h"
#include "platform/FSClock.h"
#include "platform/FSDisplay.h"
#include "platform/FSPaths.h"
#include "support/TestSupport.h"

namespace {

// A menu of the road screens over a fresh context with the game's controller, its player
// files in a temporary folder and time that moves only when told.
struct RoadMenu {
    explicit RoadMenu(int routes = 3) {
        ResetApplicationContext();
        folder = testing_support::MakeTempFolder("roadscreens");
        platform::SetPlayerFolder(folder);
        platform::UseVirtualClock(10000);
        context = GetApplicationContext();
        auto game = std::make_unique<CSPGameController>(routes);
        controller = game.get();
        context->gameController = std::move(game);
        menu = std::make_unique<CSPMenu>("/nonexistent/menu.zip");
    }
    ~RoadMenu() {
        menu.reset();
        ResetApplicationContext();
        platform::UseRealClock();
        std::filesystem::remove_all(folder);
    }
    int Screen() const { return menu->CurrentScreen() ? menu->CurrentScreen()->ScreenNumber() : -1; }
    template <class T>
    T& Current() {
        T* screen = dynamic_cast<T*>(menu->CurrentScreen());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    void Act(std::initializer_list<int> actions) {
        for (int a : actions)
            menu->DispatchAction(a);
        menu->UpdateAndDraw(0);
    }
    void Press(int x, int y) {
        context->frame.stylusX = x;
        context->frame.stylusY = y;
        Act({kActionStylusPressed, kActionStylusReleased});
    }
    // Lets time pass (delayed activations, fades) and draws.
    void Wait(uint32_t ms) {
        platform::AdvanceVirtualClock(ms);
        menu->UpdateAndDraw(0);
    }
    FSSettings SavedSettings() const {
        FSSettings saved;
        saved.players = {"unread"};
        EXPECT_TRUE(ReadSettingsFile(SettingsFilePath(), saved));
        return saved;
    }

    std::string folder;
    CFSApplicationContext* context = nullptr;
    CSPGameController* controller = nullptr;
    std::unique_ptr<CSPMenu> menu;
};

// The words of a description, one blank apart, whatever its line breaks and blanks.
std::string Words(const std::string& text) {
    std::string words;
    bool gap = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r') {
            gap = true;
            continue;
        }
        if (gap && !words.empty()) words += ' ';
        gap = false;
        words += c;
    }
    return words;
}

// Every line of a box's text fits width pixels in the font (a single word may not).
void ExpectLinesFit(const CFSFont& font, const std::string& text, int width) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.find(' ') != std::string::npos) {
            EXPECT_LE(font.TextWidth(line), width) << line;
        }
        start = end + 1;
    }
}

TEST(RoadScreens, MainMenuSkipsResumeWithoutAFlightAndConfirmsFlyingAwayAndLeaving) {
    for (bool resumable : {false, true}) {
        RoadMenu m;
        m.controller->SetResumable(resumable);
        m.menu->SwitchScreen(8, 0);
        m.menu->SwitchScreen(0, 0);
        m.Act({kActionDown});
        EXPECT_EQ(m.Current<CSPMenuStateMain>().SelectedItem(), resumable ? 1 : 2) << resumable;
        m.Act({kActionUp, kActionUp});
        EXPECT_EQ(m.Current<CSPMenuStateMain>().SelectedItem(), 7);

        // Back asks before leaving; "No" keeps the menu.
        m.Act({kActionBack});
        EXPECT_TRUE(m.Current<CSPMenuStateMain>().Asking());
        m.Act({kActionRight, kActionSelect});
        EXPECT_FALSE(m.Current<CSPMenuStateMain>().Asking());
        EXPECT_EQ(m.Screen(), 0);

        // Fly: asked only over a resumable flight, which "Yes" ends.
        m.Act({kActionDown, kActionSelect});
        EXPECT_EQ(m.Screen() == 0 && m.Current<CSPMenuStateMain>().Asking(), resumable);
        if (resumable) m.Act({kActionSelect});
        EXPECT_EQ(m.Screen(), 2);
        EXPECT_FALSE(m.controller->IsResumable());

        // A press on "scores" activates it once 100 ms have passed.
        m.menu->SwitchScreen(0, 0);
        m.Press(200, 120);
        EXPECT_EQ(m.Screen(), 0);
        m.Wait(100);
        EXPECT_EQ(m.Screen(), 7);
    }
}

TEST(RoadScreens, RouteChoiceShowsTheChosenRouteAndKeepsItOnLeaving) {
    RoadMenu m;
    m.menu->SwitchScreen(2, 0);
    auto& screen = m.Current<CSPMenuStateRouteInfo>();
    // The description broken into lines that fit its box (280 wide, margins 5, bar 13).
    const CFSFont& font = m.menu->Resources().mainFont;
    EXPECT_EQ(Words(screen.Description()->Text()), Words(CSPRoute::GetRouteDescription(0)));
    ExpectLinesFit(font, screen.Description()->Text(), 280 - 13 - 10);
    // Right moves the list only while it is the selected item.
    m.Act({kActionRight});
    EXPECT_EQ(screen.SelectedRoute(), 0);
    m.Press(120, 108);
    EXPECT_EQ(screen.SelectedItem(), CSPMenuStateRouteInfo::kRouteList);
    m.Act({kActionRight, kActionRight, kActionRight, kActionRight});
    EXPECT_EQ(screen.SelectedRoute(), 2);  // no wrap past the last route
    EXPECT_EQ(Words(screen.Description()->Text()), Words(CSPRoute::GetRouteDescription(2)));
    m.Act({kActionBack});
    EXPECT_EQ(m.Screen(), 0);
    EXPECT_EQ(m.context->chosenRoute, 2);

    // Enter follows the parameters link from item 1 and goes on elsewhere.
    const struct {
        int downs;
        int screen;
    } exits[] = {{0, 4}, {1, 3}, {2, 4}, {3, 4}};
    for (const auto& e : exits) {
        m.menu->SwitchScreen(2, 0);
        for (int i = 0; i < e.downs; ++i)
            m.Act({kActionDown});
        m.Act({kActionSelect});
        EXPECT_EQ(m.Screen(), e.screen) << e.downs;
        if (e.screen == 3) {
            // Back from the weather page, the pointer is still on its link.
            m.Act({kActionBack});
            EXPECT_EQ(m.Current<CSPMenuStateRouteInfo>().SelectedItem(), CSPMenuStateRouteInfo::kParameters);
        }
        m.menu->SwitchScreen(0, 0);
    }
    EXPECT_EQ(m.context->chosenRoute, 2);
}

TEST(RoadScreens, AircraftChoiceDescribesTheAircraftAndKeepsItGoingForward) {
    RoadMenu m;
    m.menu->SwitchScreen(4, 0);
    auto& screen = m.Current<CSPMenuStatePlane>();
    for (int type = 0; type < CSPMenuStatePlane::kAircraftCount; ++type) {
        EXPECT_EQ(screen.SelectedAircraft(), type);
        EXPECT_FALSE(screen.Description()->Text().empty()) << type;
        const std::string text = screen.Description()->Text();
        EXPECT_EQ(Words(text), Words(CSPMenuStatePlane::AircraftDescription(type)));
        EXPECT_EQ(text.find('#'), std::string::npos);
        ExpectLinesFit(m.menu->Resources().mainFont, text, 130 - 13 - 10);
        m.Act({kActionRight});
    }
    EXPECT_EQ(screen.SelectedAircraft(), 4);  // no wrap
    m.Act({kActionLeft, kActionSelect});
    EXPECT_EQ(m.context->chosenAircraft, 3);
    EXPECT_EQ(m.Screen(), 5);  // the loading screen builds the flight
    m.menu->SwitchScreen(4, 0);
    m.Act({kActionBack});
    EXPECT_EQ(m.Screen(), 2);
}

TEST(RoadScreens, ScoresListEveryRouteAndClearingSavesTheEmptiedTable) {
    RoadMenu m;
    EnsureRoute(m.context->scores, "Alpha");
    EnsureRoute(m.context->scores, "Bravo");
    InsertScoreRecord(m.context->scores, "Alpha", MakeScoreRecord("Ann", 120, 40));
    InsertScoreRecord(m.context->scores, "Alpha", MakeScoreRecord("Bob", 300, 50));
    using Line = CSPMenuStateScores::Line;
    const std::vector<std::pair<int, std::string>> expected = {{36, "Alpha"},    {55, "Bob"},  {220, "300"},
                                                               {55, "Ann"},      {220, "120"}, {36, "Bravo"},
                                                               {55, "- empty -"}};
    std::vector<std::pair<int, std::string>> lines;
    for (const Line& line : CSPMenuStateScores::TableLines())
        lines.emplace_back(line.x, line.text);
    EXPECT_EQ(lines, expected);

    m.menu->SwitchScreen(7, 0);
    m.Press(113, 230);  // just beside the clear link
    EXPECT_EQ(m.context->scores.routes[0].records.size(), 2u);
    // A clearing that cannot be saved does not happen: the records stay on the screen.
    ASSERT_TRUE(std::filesystem::create_directory(ScoresFilePath() + ".tmp"));
    testing::internal::CaptureStderr();
    m.Press(114, 225);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not save the scores"), std::string::npos);
    EXPECT_EQ(m.context->scores.routes[0].records.size(), 2u);
    std::filesystem::remove(ScoresFilePath() + ".tmp");
    m.Press(114, 225);
    ASSERT_EQ(m.context->scores.routes.size(), 2u);
    for (const FSRouteScores& route : m.context->scores.routes)
        EXPECT_TRUE(route.records.empty());
    EXPECT_EQ(std::filesystem::file_size(ScoresFilePath()), 2 * FSScoreTable::kUnitSize);
    EXPECT_EQ(CSPMenuStateScores::TableLines().back().text, "- empty -");
}

TEST(RoadScreens, ProfilesAddRemoveAndRenamePilotsAndSaveThemOnLeaving) {
    RoadMenu m;
    m.context->players = {"Anna", "Boris", "Chen"};
    m.context->currentPlayer = "Anna";
    m.menu->SwitchScreen(8, 0);
    auto& screen = m.Current<CSPMenuStateProfiles>();
    // Names are typed on the PC keyboard, which types only while the field is open.
    bool typing = false;
    m.menu->Resources().textInput = [&](bool on) { typing = on; };
    auto type = [&](const std::string& text) {
        EXPECT_TRUE(typing);
        for (char c : text)
            m.menu->TypeCharacter(c);
    };

    // The list: up from the first pilot wraps to the last and makes it the current one.
    m.Act({kActionSelect, kActionUp});
    EXPECT_EQ(m.context->currentPlayer, "Chen");
    m.Act({kActionSelect, kActionDown, kActionDown});  // out of the list, down to remove
    EXPECT_EQ(screen.SelectedItem(), CSPMenuStateProfiles::kRemove);
    // Removing the last pilot moves the selection up; the current player stays.
    m.Act({kActionSelect});
    EXPECT_EQ(m.context->players, (std::vector<std::string>{"Anna", "Boris"}));
    EXPECT_EQ(screen.SelectedPilot(), 1);
    EXPECT_EQ(m.context->currentPlayer, "Chen");

    // Added names: empty and known ones are refused, one typed to the field's limit is
    // kept as long as the settings file holds names.
    const struct {
        std::string typed;
        int accept;  // the action that accepts, or the keyboard's back
        std::vector<std::string> players;
    } adds[] = {
        {"", kActionSelect, {"Anna", "Boris"}},
        {"Boris", kActionSelect, {"Anna", "Boris"}},
        {"Aaron", kActionBack, {"Anna", "Boris"}},
        {"Aaron", kActionSelect, {"Aaron", "Anna", "Boris"}},
        {std::string(CSPEditCtrl::kMaxLength + 5, 'z'),
         kActionSelect,
         {"Aaron", "Anna", "Boris", std::string(kMaxPlayerNameBytes, 'z')}},
    };
    for (const auto& add : adds) {
        m.Press(30, 192);
        ASSERT_TRUE(screen.Typing());
        type(add.typed);
        m.Act({add.accept});
        m.Wait(600);
        EXPECT_FALSE(screen.Typing());
        EXPECT_EQ(m.context->players, add.players) << add.typed;
    }
    EXPECT_EQ(m.context->currentPlayer, std::string(kMaxPlayerNameBytes, 'z'));
    EXPECT_EQ(screen.SelectedPilot(), 3);

    // Renaming to a known name is refused; a new name is sorted in and made current.
    m.Press(30, 228);
    EXPECT_EQ(screen.Keyboard()->Text(), std::string(kMaxPlayerNameBytes, 'z'));
    screen.Keyboard()->SetText("");
    type("Anna");
    m.Act({kActionSelect});
    m.Wait(600);
    EXPECT_EQ(m.context->players.back(), std::string(kMaxPlayerNameBytes, 'z'));
    m.Press(30, 228);
    screen.Keyboard()->SetText("");
    type("Adam");
    m.menu->TypeKey(kTextBackspace);
    m.menu->TypeKey(kTextEnter);
    m.Wait(600);
    EXPECT_FALSE(typing);
    EXPECT_EQ(m.context->players, (std::vector<std::string>{"Aaron", "Ada", "Anna", "Boris"}));
    EXPECT_EQ(m.context->currentPlayer, "Ada");

    m.Act({kActionBack});
    EXPECT_EQ(m.Screen(), 0);
    const FSSettings saved = m.SavedSettings();
    EXPECT_EQ(saved.players, m.context->players);
    EXPECT_EQ(saved.currentPlayer, "Ada");
}

TEST(RoadScreens, ProfilesWithoutPilotsOrWithNamesTheFontsLackStillWork) {
    RoadMenu m;
    m.context->players = {"Zo\xC3\xAB"};
    m.context->currentPlayer = "Zo\xC3\xAB";
    m.menu->SwitchScreen(8, 0);
    auto& screen = m.Current<CSPMenuStateProfiles>();
    m.Press(30, 210);  // remove the only pilot
    EXPECT_TRUE(m.context->players.empty());
    EXPECT_EQ(screen.SelectedPilot(), 0);
    // Nothing to remove, rename or move through.
    m.Press(30, 210);
    m.Press(30, 228);
    EXPECT_FALSE(screen.Typing());
    m.Press(30, 100);
    EXPECT_TRUE(screen.ListActive());
    m.Act({kActionDown, kActionUp});
    m.menu->UpdateAndDraw(1);
    EXPECT_TRUE(m.context->players.empty());
    m.Act({kActionBack});
    EXPECT_TRUE(m.SavedSettings().players.size() <= 1);
}

TEST(RoadScreens, TheKeyboardFadesTheProfilesInAndOutOverHalfASecond) {
    RoadMenu m;
    m.context->players = {"Anna"};
    m.menu->SwitchScreen(8, 0);
    m.menu->UpdateAndDraw(1);
    const std::vector<uint16_t>& screen = m.menu->Resources().screen;
    // A fully lit pixel of the first name.
    size_t at = 0;
    for (int y = 68; y < 80 && !at; ++y)
        for (int x = 41; x < 90 && !at; ++x)
            if (testing_support::Green6(screen[y * 320 + x]) == 63) at = y * 320 + x;
    ASSERT_NE(at, 0u);
    auto brightness = [&] { return testing_support::Green6(screen[at]) / 63.0; };

    m.Press(30, 192);  // add
    const struct {
        int action;  // -1: none
        uint32_t wait;
        double brightness;
    } steps[] = {{-1, 250, 0.7},        {-1, 250, 0.4}, {-1, 1000, 0.4},
                 {kActionBack, 0, 0.4}, {-1, 250, 0.7}, {-1, 250, 1.0}};
    for (const auto& step : steps) {
        if (step.action >= 0) m.Act({step.action});
        m.Wait(step.wait);
        EXPECT_NEAR(brightness(), step.brightness, 0.04) << step.wait;
    }
    EXPECT_FALSE(m.Current<CSPMenuStateProfiles>().Typing());
}

TEST(RoadScreens, RouteParametersFollowTheControlsAndRestoreTheDefaults) {
    RoadMenu m;
    m.context->chosenRoute = 2;
    m.menu->SwitchScreen(3, 0);
    auto& screen = m.Current<CSPMenuStateRouteParameters>();
    // Time of day: right goes into the list, right again steps it.
    m.Act({kActionRight, kActionRight});
    EXPECT_TRUE(screen.Editing());
    EXPECT_EQ(m.context->route.dayTime, 3);
    // Weather: "none" hides the precipitation slider.
    m.Act({kActionSelect, kActionDown, kActionDown, kActionDown, kActionSelect});
    EXPECT_EQ(screen.SelectedPage(), CSPMenuStateRouteParameters::kWeather);
    EXPECT_FALSE(screen.PrecipitationShown());
    m.Act({kActionRight});
    EXPECT_EQ(m.context->route.weatherType, 2);
    EXPECT_TRUE(screen.PrecipitationShown());
    m.Act({kActionDown, kActionRightHeld});
    EXPECT_EQ(screen.FocusedControl(), 1);
    m.Act({kActionUp, kActionLeft});
    EXPECT_FALSE(screen.PrecipitationShown());
    m.Act({kActionBack});
    const FSSettings saved = m.SavedSettings();
    EXPECT_EQ(saved.route.dayTime, 3);
    EXPECT_EQ(saved.route.weatherType, 1);

    // The default page restores the route block and the first route.
    m.menu->SwitchScreen(3, 0);
    m.Press(60, 222);
    m.Act({kActionSelect});
    EXPECT_EQ(m.context->route.dayTime, FSRouteBlock{}.dayTime);
    EXPECT_EQ(m.context->route.weatherType, FSRouteBlock{}.weatherType);
    EXPECT_EQ(m.context->chosenRoute, 0);
}

}  // namespace
