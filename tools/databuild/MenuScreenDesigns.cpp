#include "databuild/MenuScreenDesigns.h"

namespace menu_screens {

namespace {

std::vector<ScreenDesign> MakeDesigns() {
    std::vector<ScreenDesign> d;
    d.push_back({"states/state_main/main.bmp",
                 "AEROVANT",
                 {{{195, 78, 278, 89}, "Fly"},
                  {{195, 97, 254, 107}, "Resume"},
                  {{195, 115, 248, 125}, "Scores"},
                  {{195, 133, 258, 143}, "Pilots"},
                  {{195, 150, 264, 164}, "Settings"},
                  {{195, 168, 229, 182}, "Help"},
                  {{195, 187, 242, 197}, "About"},
                  {{195, 205, 226, 215}, "Exit"}},
                 {},
                 {},
                 {178},
                 {78, 96, 114, 132, 150, 168, 186, 204},
                 Scenery::kAircraft});
    d.push_back({"states/state_route_info/route_selection.bmp",
                 "Route",
                 {{{40, 50, 179, 59}, "Choose aircraft"},
                  {{40, 69, 209, 78}, "Weather and time"},
                  {{110, 105, 150, 112}, "Route", Align::kRight}},
                 {{{160, 98, 304, 119}}, {{20, 135, 300, 230}}},
                 {{23, 93, "Fly the gates of one of these:"}},
                 {23, 23, 93},
                 {48, 67, 102}});
    d.push_back({"states/state_route_parameters/route_parameters.bmp",
                 "Weather and time",
                 {{{21, 56, 110, 65}, "time of day", Align::kRight},
                  {{30, 76, 110, 85}, "cloudiness", Align::kRight},
                  {{77, 96, 110, 105}, "wind", Align::kRight},
                  {{53, 116, 110, 125}, "weather", Align::kRight},
                  {{53, 219, 110, 228}, "defaults", Align::kRight}},
                 {{{138, 48, 306, 136}}},
                 {{14, 210, "Press [ENTER] to set"},
                  {138, 150, "Random picks anew", false},
                  {138, 162, "for every flight.", false}},
                 {},
                 {}});
    d.push_back({"states/state_plane/plane.bmp",
                 "Aircraft",
                 {},
                 {{{14, 40, 173, 159}}, {{14, 166, 173, 188}}, {{180, 43, 310, 235}}},
                 {{16, 204, "Pick an aircraft, then"}, {16, 216, "press forward to fly."}},
                 {},
                 {}});
    d.push_back({"states/state_scores/scores.bmp",
                 "Best scores",
                 {{{114, 225, 188, 236}, "Clear all"}},
                 {{{26, 58, 300, 216}}},
                 {{36, 52, "Route / pilot"}, {220, 52, "Score"}},
                 {},
                 {}});
    d.push_back({"states/state_profiles/profiles.bmp",
                 "Pilots",
                 {{{25, 38, 280, 183}, "Who is flying?", Align::kLeft, 13},
                  {{25, 189, 134, 198}, "Add a pilot"},
                  {{25, 207, 164, 216}, "Remove the pilot"},
                  {{25, 225, 164, 234}, "Rename the pilot"}},
                 {{{26, 58, 300, 181}}},
                 {},
                 {8, 8, 8, 8},
                 {42, 187, 205, 223}});
    d.push_back({"states/state_settings/settings.bmp",
                 "Settings",
                 {{{54, 52, 106, 62}, "Audio"},
                  {{54, 96, 106, 106}, "Video"},
                  {{54, 140, 135, 150}, "Controls"},
                  {{54, 184, 95, 194}, "Game"}},
                 {},
                 {{54, 76, "music and sound volume"},
                  {54, 120, "picture quality and range"},
                  {54, 164, "keys and buttons"},
                  {54, 208, "screen, stick and touch"}},
                 {38, 38, 38, 38},
                 {50, 94, 138, 182}});
    d.push_back({"states/state_audio/audio.bmp",
                 "Audio",
                 {{{51, 73, 152, 84}, "Music volume"}, {{51, 117, 152, 128}, "Sound volume"}},
                 {{{40, 88, 290, 104}}, {{40, 132, 290, 148}}},
                 {},
                 {},
                 {}});
    d.push_back({"states/state_video/video.bmp",
                 "Video",
                 {{{26, 68, 150, 77}, "Picture quality"},
                  {{26, 100, 168, 110}, "Advanced settings"},
                  {{26, 119, 126, 128}, "Defaults"}},
                 {{{156, 62, 306, 84}}},
                 {{26, 150, "Low, medium and high set every"},
                  {26, 162, "quality at once; advanced"},
                  {26, 174, "settings set them one by one."}},
                 {9, 9, 9},
                 {66, 98, 117}});
    d.push_back(
        {"states/state_video/advanced_video.bmp", "Advanced video", {}, {{{8, 32, 312, 234}}}, {}, {}, {}});
    d.push_back({"states/state_controls/controls.bmp",
                 "Controls",
                 {{{25, 224, 184, 233}, "Restore default keys"}},
                 {{{26, 56, 300, 216}}},
                 {{30, 50, "Action"}, {170, 50, "Keys"}},
                 {},
                 {}});
    d.push_back({"states/state_game/game.bmp", "Game", {}, {{{8, 44, 312, 218}}}, {}, {}, {}});
    d.push_back({"states/state_about/about.bmp",
                 "About",
                 {},
                 {},
                 {{16, 118, "AEROVANT", true, 28.0f},
                  {16, 150, "A small flying game: take off,", false, 10.0f},
                  {16, 164, "fly the gates, land, and beat", false, 10.0f},
                  {16, 178, "your best score.", false, 10.0f},
                  {16, 202, "Made with free software"},
                  {16, 214, "and the DejaVu fonts."}},
                 {},
                 {},
                 Scenery::kAircraftRight});
    d.push_back({"states/state_help/help.bmp", "Help", {}, {{{10, 40, 310, 230}}}, {}, {}, {}});
    return d;
}

}  // namespace

const std::vector<ScreenDesign>& ScreenDesigns() {
    static const std::vector<ScreenDesign> designs = MakeDesigns();
    return designs;
}

}  // namespace menu_screens
