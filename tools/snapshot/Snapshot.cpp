// aerovant-snapshot: runs the game headless (null display, virtual clock, surfaceless
// EGL) and writes what it presents as PNG pictures, upright as the player would see them.
//
// usage: aerovant-snapshot [--frames N] [--every K] [--out DIR] [--align 0|1|2] [--touchpad]
//   Shows the menu, starts the test flight, then runs N flight frames at 60 passes per
//   second of virtual time, writing the menu picture and every K-th flight frame.
//   --touchpad flies with the stylus pad shown ("touchscreen_scheme" 1).
// usage: aerovant-snapshot --fonts FILE.png
//   Writes a sheet with a line of text in each of the game's fonts, at 1x.
// usage: aerovant-snapshot --world [--out DIR] [--align 0|1|2]
//   Flies the test world over each terrain at each time of day and writes a few views of
//   each (world_<terrain>_<time>_<view>.png), 3 km up and into a cloud among them.
// usage: aerovant-snapshot --aircraft [--out DIR]
//   Each aircraft 300 m over the valley's field at noon, level at four headings and
//   banked, seen by the chase camera (aircraft<N>_<heading>.png, aircraft<N>_bank.png).
// usage: aerovant-snapshot --takeoff [--out DIR]
//   The Cessna taken off by the instructor over the valley: takeoff_<seconds>.png.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSTouchpadSetup.h"
#include "common/HeadlessGame.h"
#include "common/ImageFiles.h"
#include "hud/FSFont.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestFlight.h"
#include "world/FSMeshedNode.h"

namespace {

bool SavePicture(const HeadlessGame& game, const std::string& path) {
    const std::vector<uint16_t> picture = game.Picture();
    const int w = game.PictureWidth();
    const int h = static_cast<int>(picture.size()) / w;
    if (!WriteFile(path, EncodePng(CanvasFrom565(picture.data(), w, h), false))) {
        std::fprintf(stderr, "aerovant-snapshot: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

// One sample line per font, each with its name, on a dark and a light band.
int WriteFontSheet(const std::string& path) {
    struct Sample {
        const char* folder;
        int space, spacing, lineSpacing;
        const char* text;
    };
    const Sample samples[] = {
        {"game_font", 5, 1, 0, "TIME 12:05  SCORE 1250"},
        {"main", 5, 1, 0, "V: 182kmH  H: 1200m  The quick brown fox (0-9)!"},
        {"listctrl_font", 9, -1, 0, "Cessna 172R  Su-29  L-29 Delfin  Blanik"},
        {"scores_font", 7, -1, 0, "1. Pilot    12:05    1250"},
        {"menu_links", 7, 0, -3, "Fly  Scores  Settings  Help"},
    };
    const int width = 320;
    const int rowHeight = 28;
    const int height = rowHeight * static_cast<int>(std::size(samples)) * 2;
    std::vector<uint16_t> sheet(static_cast<size_t>(width) * height, 0);
    int y = 0;
    for (const Sample& sample : samples) {
        CFSFont font;
        if (!font.LoadFont(sample.folder, sample.space, sample.spacing, sample.lineSpacing)) {
            std::fprintf(stderr, "aerovant-snapshot: cannot load font %s\n", sample.folder);
            return 1;
        }
        for (uint16_t background : {uint16_t{0x10A6}, uint16_t{0xDEFB}}) {
            std::fill(sheet.begin() + y * width, sheet.begin() + (y + rowHeight) * width, background);
            const uint16_t ink = background == 0x10A6 ? 0xFFFF : 0x0000;
            DrawTextRaw(font, sheet.data(), width, height, 0, kJustifyLeft,
                        {4, y + (rowHeight - font.LineHeight()) / 2}, ink, sample.text,
                        FSClipRect{0, 0, width, height});
            y += rowHeight;
        }
    }
    if (!WriteFile(path, EncodePng(CanvasFrom565(sheet.data(), width, height), false))) {
        std::fprintf(stderr, "aerovant-snapshot: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

// Each terrain at each time of day, from three places round the airfield.
int SweepWorld(HeadlessGame& game, const std::string& out) {
    CSPPlaceholderController& controller = *game.controller;
    struct View {
        const char* name;
        float heading, pitch, distance;
    };
    const View views[] = {{"field", 200.0f, 10.0f, 1.4f},
                          {"low", 120.0f, 4.0f, 0.3f},
                          {"high", 300.0f, 35.0f, 4.5f},
                          {"3km", 60.0f, 20.0f, 8.8f},
                          // From beyond the cloud over the field (0.8 km east, 2.5 km north, 1.6 km up),
                          // looking back through it at the field.
                          {"cloud", 162.3f, 30.6f, 3.6f}};
    const char* const terrains[] = {"valley.ter", "coast.ter", "farmland.ter"};
    const char* const times[] = {"", "morning", "noon", "evening", "night"};
    CFSApplicationContext& context = *GetApplicationContext();
    for (const char* terrain : terrains) {
        for (int time = 1; time <= 4; ++time) {
            context.route.dayTime = time;
            controller.LeaveGame();
            controller.SetTerrain(terrain);
            controller.SetAircraft(-1);  // the orbit camera round the field
            controller.RunFlightStart();
            for (const View& view : views) {
                controller.SetCameraPlacement(view.heading, view.pitch, view.distance);
                // A few frames, so smoke and sparks are under way.
                game.Pass(12);
                std::string name = terrain;
                name = name.substr(0, name.find('.'));
                if (!SavePicture(game,
                                 out + "/world_" + name + "_" + times[time] + "_" + view.name + ".png")) {
                    return 1;
                }
            }
        }
    }
    return 0;
}

// Starts the test flight of an aircraft (0-4) over the valley at noon.
void StartTestFlight(HeadlessGame& game, int aircraft) {
    GetApplicationContext()->route.dayTime = 2;
    game.controller->SetTerrain("valley.ter");
    game.controller->SetAircraft(aircraft);
    game.controller->RunFlightStart();
    game.Pass(3);
}

int SweepAircraft(HeadlessGame& game, const std::string& out) {
    CFSApplicationContext& context = *GetApplicationContext();
    for (int aircraft = 0; aircraft < 5; ++aircraft) {
        game.controller->LeaveGame();
        StartTestFlight(game, aircraft);
        CFSMeshedNode* node = game.controller->Flight() ? game.controller->Flight()->Node() : nullptr;
        if (!node) return 1;
        context.moveObjects = 0;  // held where it is put
        FSFixedVector at = node->GetPosition();
        at.y += FloatToFixed(0.3f);
        struct Pose {
            const char* name;
            float heading, bank;  // degrees
        };
        const Pose poses[] = {
            {"000", 0, 0}, {"090", 90, 0}, {"180", 180, 0}, {"270", 270, 0}, {"bank", 45, 40}};
        for (const Pose& pose : poses) {
            const float h = pose.heading * 3.14159265f / 180.0f, b = pose.bank * 3.14159265f / 180.0f;
            const FSVector nose(std::sin(h), 0.0f, std::cos(h));
            // Up leaned toward the right wing (nose × world up, y up) by the bank.
            const FSVector right(std::cos(h), 0.0f, -std::sin(h));
            const FSVector up(right.x * std::sin(b), std::cos(b), right.z * std::sin(b));
            node->Place(at);
            node->LookAlong(nose, up);
            game.Pass(3);
            const std::string name = "/aircraft" + std::to_string(aircraft + 1) + "_" + pose.name + ".png";
            if (!SavePicture(game, out + name)) return 1;
        }
        context.moveObjects = 1;
    }
    return 0;
}

int TakeOff(HeadlessGame& game, const std::string& out) {
    StartTestFlight(game, 0);
    // Button 2 (hot key 195 in the landscape flight) is "instructor on/off": on the ground
    // the instructor takes off by itself.
    game.PressButton(195);
    for (int second = 0; second <= 40; second += 5) {
        char name[40];
        std::snprintf(name, sizeof name, "/takeoff_%02d.png", second);
        if (!SavePicture(game, out + name)) return 1;
        game.Pass(5 * 60);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--fonts") return WriteFontSheet(argv[2]);
    int frames = 60;
    int every = 30;
    int align = 2;
    bool world = false, aircraft = false, takeOff = false, touchpad = false;
    std::string out = "snapshots";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            frames = std::atoi(argv[++i]);
        } else if (arg == "--every" && hasValue) {
            every = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--align" && hasValue) {
            align = std::atoi(argv[++i]);
        } else if (arg == "--world") {
            world = true;
        } else if (arg == "--aircraft") {
            aircraft = true;
        } else if (arg == "--takeoff") {
            takeOff = true;
        } else if (arg == "--touchpad") {
            touchpad = true;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--world | --aircraft | --takeoff] [--frames N] [--every K] [--out DIR] "
                         "[--align 0|1|2] [--touchpad]\n",
                         argv[0]);
            return 2;
        }
    }
    mkdir(out.c_str(), 0755);
    // Player files of a snapshot run never touch the real ones.
    HeadlessGame game(out + "/player", 100000);
    int status = game.Start();
    if (status != 0) return status;
    GetApplicationContext()->game.screenAlign = align;
    if (touchpad) {
        GetApplicationContext()->game.touchscreenScheme = 1;
        if (!PrepareTouchpad(*GetApplicationContext())) std::fprintf(stderr, "no touch-pad picture\n");
    }
    if (world) return SweepWorld(game, out);
    if (aircraft) return SweepAircraft(game, out);
    if (takeOff) return TakeOff(game, out);

    game.Pass();
    if (!SavePicture(game, out + "/menu.png")) status = 1;

    game.display.SetPadKey(0, true);  // the action key: select, which starts the flight
    game.Pass();
    game.display.SetPadKey(0, false);
    for (int frame = 1; frame <= frames && status == 0; ++frame) {
        if (!game.Pass()) break;
        if (frame % every == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%04d.png", frame);
            if (!SavePicture(game, out + name)) status = 1;
        }
    }
    std::printf("time scale %.3f, %.1f frames per second of virtual time\n",
                GetApplicationContext()->frame.timeScale,
                GetApplicationContext()->engine->Meter().CurrentRate());
    return status;
}
