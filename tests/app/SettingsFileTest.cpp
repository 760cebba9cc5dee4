#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSInput.h"
#include "app/FSSettingsFile.h"
#include "app/FSSettingsPresets.h"
#include "platform/FSPaths.h"
#include "support/HeadlessTestGame.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using image_test_files::ReadText;
using image_test_files::WriteText;
using testing_support::MakeTempFolder;

namespace {

// Every key set away from its default, so that a field the writer or the reader drops shows.
FSSettings FullSettings() {
    FSSettings s;
    s.musicVolume = 200;
    s.soundVolume = 17;
    s.video.resolution = 2;
    s.video.screenAspect = 0.7f;
    s.video.visibilityRange = 49;
    s.video.terrainQuality = 1;
    s.video.sky = 1;
    s.video.lightingQuality = 2;
    s.video.shadowsQuality = 1;
    s.video.texturesQuality = 1;
    s.video.effectsQuality = 2;
    s.video.objectsQuality = 0;
    s.bindings = {{0, 1, 300, {0}}, {16, 0, 0, {1, 9}}, {37, 1, 0, {12}}};
    s.game.joystickSensitivity = 0.15f;
    s.game.xySensitivity = -1.5f;
    s.game.touchscreenScheme = 3;
    s.game.touchscreenSensitivity = 0.075f;
    s.game.screenAlign = 1;
    s.route = {3, 40, 5, 8, 4, 25};
    s.fullScreen = 1;
    s.currentPlayer = "Zoe";
    s.players = {"Anna", "Zoe"};
    return s;
}

const char kFullFile[] =
    "// AUDIO\r\nmusic_volume\t\t200\r\nsound_volume\t\t17\r\n"
    "\r\n\r\n// VIDEO\r\nresolution\t\t2\r\nscreen_aspect\t\t0.700\r\nvisibility_range\t\t49\r\n"
    "terrein_quality\t\t1\r\nsky\t\t1\r\nlighting_quality\t\t2\r\nshadows_quality\t\t1\r\n"
    "textures_quality\t\t1\r\neffects_quality\t\t2\r\nobjects_quality\t\t0\r\nfull_screen\t\t1\r\n"
    "\r\n\r\n// CONTROLS\r\nkeys\t\t0 1 300 0 \r\nkeys\t\t16 0 0 1 9 \r\nkeys\t\t37 1 0 12 \r\n"
    "\r\n\r\n// GAME\r\njoystick_sensetivity\t\t0.150\r\nxy_sensetivity\t\t-1.500\r\n"
    "touchscreen_scheme\t\t3\r\ntouchscreen_sensitivity\t\t0.075\r\nscreengame_align\t\t1\r\n"
    "\r\n\r\n// ROUTE\r\nday_time\t\t3\r\ncloudiness\t\t40.000\r\nwind_strength\t\t5\r\n"
    "wind_direction\t\t8\r\nweather_type\t\t4\r\nprecipitations\t\t25.000\r\n"
    "\r\n\r\n// PLAYERS\r\ncurrent_player\t\tZoe\r\nplayer\t\tAnna\r\nplayer\t\tZoe\r\n";

FSSettings Parsed(const std::string& text) {
    FSSettings settings;
    ParseSettings(text, settings);
    return settings;
}

TEST(SettingsFile, WritesEveryKeyByteForByteAndReadsItBack) {
    EXPECT_EQ(FormatSettings(FullSettings()), kFullFile);
    const FSSettings read = Parsed(kFullFile);
    EXPECT_EQ(FormatSettings(read), kFullFile);
    EXPECT_EQ(read.bindings, FullSettings().bindings);
    EXPECT_EQ(read.video, FullSettings().video);
}

TEST(SettingsFile, ReadsTheDocumentedEdgeCases) {
    const FSSettings sky = Parsed("sky\t\t5\r\n");
    EXPECT_EQ(sky.video.sky, 1);
    EXPECT_NE(FormatSettings(sky).find("\r\nsky\t\t1\r\n"), std::string::npos);
    EXPECT_EQ(Parsed("player\t\tZoe\r\nplayer\t\tAnna\r\n").players,
              (std::vector<std::string>{"Anna", "Zoe"}));
    EXPECT_EQ(Parsed("cloudiness\t\t40.9\r\n").route.cloudiness, 40);
}

TEST(SettingsFile, RenderSizeFollowsTheScreenAspect) {
    const struct {
        const char* aspect;
        int width, height;
    } cases[] = {{"0.7", 168, 224}, {"0.75", 180, 240}, {"0.5", 120, 160}};
    for (const auto& c : cases) {
        CFSApplicationContext context;
        ApplySettings(Parsed(std::string("resolution\t\t2\r\nscreen_aspect\t\t") + c.aspect + "\r\n"),
                      context);
        EXPECT_EQ(context.video.renderWidth, c.width) << c.aspect;
        EXPECT_EQ(context.video.renderHeight, c.height) << c.aspect;
    }
}

TEST(SettingsFile, AppliesSensitivitiesButKeepsTheAircraftsCentres) {
    CFSApplicationContext context;
    context.game.joystickCentre = 0.08f;
    ApplySettings(Parsed("joystick_sensetivity\t\t0.15\r\nxy_sensetivity\t\t0\r\n"), context);
    EXPECT_FLOAT_EQ(context.game.joystickCentre, 0.08f);
    // The top of the range maps to the top, whatever the centre.
    EXPECT_NEAR(context.game.keyPitchRate, 0.15f, 1e-6f);
    EXPECT_NEAR(context.game.keyRollRate, 0.15f, 1e-6f);
}

TEST(SettingsFile, VideoPresetsAreMatchedByTheirFields) {
    for (int preset = 0; preset < kVideoPresetCount; ++preset) {
        FSVideoBlock video;
        video.shadowsQuality = 2;  // not part of a preset
        ASSERT_TRUE(ApplyVideoPreset(video, preset));
        EXPECT_EQ(MatchVideoPreset(video), preset);
        // Through the file and back, the preset is still recognised.
        FSSettings settings;
        settings.video = video;
        EXPECT_EQ(MatchVideoPreset(Parsed(FormatSettings(settings)).video), preset);
        video.effectsQuality = (video.effectsQuality + 1) % 3;
        EXPECT_EQ(MatchVideoPreset(video), -1) << preset;
    }
    FSVideoBlock video;
    const FSVideoBlock before = video;
    for (int bad : {-1, kVideoPresetCount}) {
        EXPECT_FALSE(ApplyVideoPreset(video, bad));
        EXPECT_EQ(video, before);
    }
}

TEST(SettingsFile, SensitivitySlidersCoverTheirRanges) {
    const struct {
        float slider, joystick, xy, touch;
    } cases[] = {{0.5f, 0.1f, 0.0f, 0.05f}, {2.0f, 0.15f, 3.0f, 0.1f}, {NAN, 0.05f, -3.0f, 0.0f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(SensitivityFromSlider(kJoystickSensitivityRange, c.slider), c.joystick, 1e-6f);
        EXPECT_NEAR(SensitivityFromSlider(kXySensitivityRange, c.slider), c.xy, 1e-6f);
        EXPECT_NEAR(SensitivityFromSlider(kTouchscreenSensitivityRange, c.slider), c.touch, 1e-6f);
    }
    EXPECT_NEAR(SliderFromSensitivity(kXySensitivityRange, 1.5f), 0.75f, 1e-6f);
    EXPECT_EQ(SliderFromSensitivity(kXySensitivityRange, NAN), 0.0f);
}

// A damaged line changes nothing that an intact file without it would have given.
TEST(SettingsFile, SkipsLinesNoSettingsScreenCouldHaveWritten) {
    const std::string base = kFullFile;
    const char* bad[] = {"music_volume\t\t99999999999999999999",
                         "music_volume\t\t-1",
                         "sound_volume\t\t256",
                         "screen_aspect\t\tnan",
                         "cloudiness\t\tinf",
                         "keys\t\t38 1 0 1 ",
                         "keys\t\t3 1 0 13 ",
                         "keys\t\t3 1 0 ",
                         "keys\t\t3 1 0 1 2 3 4 5 6 7 8 9 10 11 12 0 5",
                         "music_volume\t\t1\t\t2",
                         "\x01\x02\xff garbage \x7f",
                         "player\t\tAVeryLongNameThatDoesNotFitAScoreRecord",
                         "current_player\t\tAVeryLongNameThatDoesNotFitAScoreRecord"};
    const std::string expected = FormatSettings(Parsed(base));
    for (const char* line : bad) {
        EXPECT_EQ(FormatSettings(Parsed(base + line + "\r\n")), expected) << line;
        // At the start of the file, before the intact lines, too.
        EXPECT_EQ(FormatSettings(Parsed(std::string(line) + "\r\n" + base)), expected) << line;
    }
}

// Cut anywhere, a file gives every key whose line was complete and never crashes.
TEST(SettingsFile, ReadsATruncatedFileAsFarAsItGoes) {
    const std::string full = kFullFile;
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        const std::string head = full.substr(0, cut);
        const std::string written = FormatSettings(Parsed(head));
        for (size_t start = 0, end; (end = head.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = head.substr(start, end - start + 2);
            if (line.rfind("//", 0) == 0 || line == "\r\n") continue;
            EXPECT_NE(written.find(line), std::string::npos) << "cut " << cut << ": " << line;
        }
    }
}

TEST(SettingsFile, ReadsAFileWrittenByTheShellsPrintf) {
    const std::string path = MakeTempFolder("settings-printf") + "settings.bin";
    // A byte-order mark, mixed line ends and separators and no last line end, as a hand edit
    // leaves them.
    ASSERT_TRUE(image_test_files::Printf(path,
                                         "\\357\\273\\277music_volume 7\\nsky\\t\\t3\\r\\n"
                                         "keys\\t\\t5 0 250 4 9\\rplayer Bob\\r\\nplayer Al"));
    FSSettings settings;
    ASSERT_TRUE(ReadSettingsFile(path, settings));
    EXPECT_EQ(settings.musicVolume, 7);
    EXPECT_EQ(settings.video.sky, 1);
    EXPECT_EQ(settings.bindings, (std::vector<FSBindingRecord>{{5, 0, 250, {4, 9}}}));
    EXPECT_EQ(settings.players, (std::vector<std::string>{"Al", "Bob"}));
}

// Whatever bytes a file holds, what the reader takes is written and read back unchanged.
TEST(SettingsFile, AcceptsOnlyWhatItWritesBackUnchangedFromRandomBytes) {
    const std::string keys =
        "music_volume resolution screen_aspect keys cloudiness player sky 1 0.5 -3 \r\n\t";
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::string text = image_test_files::RandomBytes(2048, seed);
        // Sprinkle real keys in so that some lines get past the key comparison.
        for (size_t at = 0; at + keys.size() < text.size(); at += 97 + seed)
            text.replace(at, 12, keys, (at / 7) % (keys.size() - 12), 12);
        const std::string once = FormatSettings(Parsed(text));
        EXPECT_EQ(FormatSettings(Parsed(once)), once) << seed;
    }
}

TEST(SettingsFile, WritesAndReadsPointDecimalsInACommaLocale) {
    image_test_files::CommaDecimalLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_EQ(FormatSettings(FullSettings()), kFullFile);
    EXPECT_EQ(FormatSettings(Parsed(kFullFile)), kFullFile);
}

TEST(SettingsFile, ReadsOnlyTheHeadOfAnOverlongFile) {
    const std::string path = MakeTempFolder("settings-long") + "settings.bin";
    std::string text = "music_volume\t\t12\r\n";
    while (text.size() < kMaxSettingsFileBytes + 1000)
        text += "// filler filler filler filler filler filler filler\r\n";
    WriteText(path, text + "sound_volume\t\t34\r\n");
    FSSettings settings;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(ReadSettingsFile(path, settings));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("settings.bin"), std::string::npos);
    EXPECT_EQ(settings.musicVolume, 12);
    EXPECT_EQ(settings.soundVolume, FSSettings().soundVolume);
}

TEST(SettingsFile, AMissingFileKeepsTheDefaultsAndIsMadeByTheNextSave) {
    const std::string folder = MakeTempFolder("settings-missing");
    platform::SetPlayerFolder(folder);
    ResetApplicationContext();
    CFSApplicationContext& context = *GetApplicationContext();
    const FSVideoBlock video = context.video;
    CFSInput factory(kActionCount);
    factory.ResetToDefaults();

    EXPECT_FALSE(ReadSettings());
    EXPECT_EQ(context.video, video);
    EXPECT_EQ(context.route.weatherType, FSRouteBlock().weatherType);
    EXPECT_EQ(context.input->ExportBindings(), factory.ExportBindings());
    EXPECT_EQ(context.currentPlayer, "Pilot");
    EXPECT_EQ(context.players, std::vector<std::string>{"Pilot"});

    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(ReadText(folder + "settings.bin"), FormatSettings(CaptureSettings(context)));
    EXPECT_NE(access((folder + "settings.bin.tmp").c_str(), F_OK), 0);
    ResetApplicationContext();
}

TEST(SettingsFile, AFailedSaveKeepsTheOldFileAndSaysSo) {
    const std::string folder = MakeTempFolder("settings-save");
    const std::string path = folder + "settings.bin";
    FSSettings old;
    old.musicVolume = 100;
    ASSERT_TRUE(WriteSettingsFile(path, old));
    const std::string oldText = ReadText(path);
    FSSettings changed;
    changed.musicVolume = 5;

    // The temporary file's name taken by a folder: the write cannot even start.
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0755), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteSettingsFile(path, changed));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
    EXPECT_EQ(ReadText(path), oldText);
    rmdir((path + ".tmp").c_str());

    // A folder nobody may write to (the owner of every file is not stopped by this).
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(WriteSettingsFile(path, changed));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadText(path), oldText);
        chmod(folder.c_str(), 0755);
    }
    EXPECT_TRUE(WriteSettingsFile(path, changed));
    EXPECT_EQ(Parsed(ReadText(path)).musicVolume, 5);
}

// Engine volumes and input bindings reach the file only through the live objects, so
// saving straight after start-up gives the file back only when every key was applied.
TEST(SettingsFile, StartUpReadsTheFileIntoContextEngineAndInput) {
    testing_support::HeadlessTestGame game;
    WriteText(SettingsFilePath(), kFullFile);
    ASSERT_EQ(game.Start(), 0);
    ASSERT_TRUE(WriteSettings());
    EXPECT_EQ(ReadText(SettingsFilePath()), kFullFile);
}

}  // namespace
