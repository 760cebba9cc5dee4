#include "app/FSSettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSSettingsPresets.h"
#include "platform/FSPaths.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kSectionBreak = "\r\n\r\n";

// Where a key's value lives. Exactly one pointer is set.
struct FieldRef {
    int32_t* integer = nullptr;
    float* real = nullptr;
    uint8_t* flag = nullptr;
};

enum class ValueKind {
    Integer,    // "%d", read with atoi
    Real,       // "%.3f", read with atof
    Truncated,  // an integer field written as "%.3f" and read as a real, truncated
    Flag,       // "%d"; any non-zero value reads as 1
};

// One key of a section: how it is written and read, and the values a settings screen can
// make (anything else in a file is skipped as damage).
struct KeyEntry {
    const char* key;
    ValueKind kind;
    double low;
    double high;
    FieldRef (*field)(FSSettings&);
};

FieldRef Int(int32_t& value) {
    return {&value, nullptr, nullptr};
}
FieldRef Real(float& value) {
    return {nullptr, &value, nullptr};
}

const KeyEntry kAudioKeys[] = {
    {"music_volume", ValueKind::Integer, 0, 255, [](FSSettings& s) { return Int(s.musicVolume); }},
    {"sound_volume", ValueKind::Integer, 0, 255, [](FSSettings& s) { return Int(s.soundVolume); }},
};

// Qualities come in at most three steps; the visibility range is the terrain window the
// advanced video screen's slider gives (33 + 32 x 0..1).
const KeyEntry kVideoKeys[] = {
    {"resolution", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.video.resolution); }},
    {"screen_aspect", ValueKind::Real, 0.25, 1.0, [](FSSettings& s) { return Real(s.video.screenAspect); }},
    {"visibility_range", ValueKind::Integer, 33, 65,
     [](FSSettings& s) { return Int(s.video.visibilityRange); }},
    {"terrein_quality", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.video.terrainQuality); }},
    {"sky", ValueKind::Flag, 0, 0,
     [](FSSettings& s) {
         return FieldRef{nullptr, nullptr, &s.video.sky};
     }},
    {"lighting_quality", ValueKind::Integer, 0, 2,
     [](FSSettings& s) { return Int(s.video.lightingQuality); }},
    {"shadows_quality", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.video.shadowsQuality); }},
    {"textures_quality", ValueKind::Integer, 0, 2,
     [](FSSettings& s) { return Int(s.video.texturesQuality); }},
    {"effects_quality", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.video.effectsQuality); }},
    {"objects_quality", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.video.objectsQuality); }},
    // The window fills the screen (F11 or Alt+Enter), and opens that way next time.
    {"full_screen", ValueKind::Flag, 0, 0,
     [](FSSettings& s) {
         return FieldRef{nullptr, nullptr, &s.fullScreen};
     }},
};

const KeyEntry kGameKeys[] = {
    {"joystick_sensetivity", ValueKind::Real, kJoystickSensitivityRange.low, kJoystickSensitivityRange.high,
     [](FSSettings& s) { return Real(s.game.joystickSensitivity); }},
    {"xy_sensetivity", ValueKind::Real, kXySensitivityRange.low, kXySensitivityRange.high,
     [](FSSettings& s) { return Real(s.game.xySensitivity); }},
    // Scheme 3 is the stylus pad with the leveller on release.
    {"touchscreen_scheme", ValueKind::Integer, 0, 3,
     [](FSSettings& s) { return Int(s.game.touchscreenScheme); }},
    {"touchscreen_sensitivity", ValueKind::Real, kTouchscreenSensitivityRange.low,
     kTouchscreenSensitivityRange.high, [](FSSettings& s) { return Real(s.game.touchscreenSensitivity); }},
    {"screengame_align", ValueKind::Integer, 0, 2, [](FSSettings& s) { return Int(s.game.screenAlign); }},
};

// Cloudiness and precipitation are slider percentages; the lists of the route parameters
// screen give the others.
const KeyEntry kRouteKeys[] = {
    {"day_time", ValueKind::Integer, 0, 4, [](FSSettings& s) { return Int(s.route.dayTime); }},
    {"cloudiness", ValueKind::Truncated, 0, 100, [](FSSettings& s) { return Int(s.route.cloudiness); }},
    {"wind_strength", ValueKind::Integer, 0, 13, [](FSSettings& s) { return Int(s.route.windStrength); }},
    {"wind_direction", ValueKind::Integer, 0, 8, [](FSSettings& s) { return Int(s.route.windDirection); }},
    {"weather_type", ValueKind::Integer, 0, 4, [](FSSettings& s) { return Int(s.route.weatherType); }},
    {"precipitations", ValueKind::Truncated, 0, 100,
     [](FSSettings& s) { return Int(s.route.precipitations); }},
};

template <size_t N>
constexpr std::pair<const KeyEntry*, size_t> Keys(const KeyEntry (&table)[N]) {
    return {table, N};
}
const std::pair<const KeyEntry*, size_t> kKeyTables[] = {Keys(kAudioKeys), Keys(kVideoKeys), Keys(kGameKeys),
                                                         Keys(kRouteKeys)};

// Real settings are single precision: a value written as "0.150" reads back a hair away
// from the float 0.15 it came from, so the range ends get this much slack.
constexpr double kRangeSlack = 1e-4;
// Keys held at once can be no more than the key states; a repeat longer than a minute is
// no repeat anyone chose.
constexpr int32_t kMaxRepeatInterval = 60000;
// More bindings than this are no file the controls screen wrote (it keeps one per action).
constexpr size_t kMaxBindings = 4 * kActionCount;

void AppendReal(std::string& out, double value) {
    char buffer[64];
    // Fixed notation with three decimals, like "%.3f" in the "C" locale whatever the
    // process locale is.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec == std::errc()) {
        out.append(buffer, result.ptr);
    } else {
        out += "0.000";
    }
}

void AppendKeyLine(std::string& out, const KeyEntry& entry, FSSettings& settings) {
    out += entry.key;
    out += "\t\t";
    const FieldRef field = entry.field(settings);
    switch (entry.kind) {
        case ValueKind::Integer:
            out += std::to_string(*field.integer);
            break;
        case ValueKind::Real:
            AppendReal(out, *field.real);
            break;
        case ValueKind::Truncated:
            AppendReal(out, *field.integer);
            break;
        case ValueKind::Flag:
            out += *field.flag ? "1" : "0";
            break;
    }
    out += kLineEnd;
}

// A section's comment line; every section but the first is set off by an empty line pair.
void AppendComment(std::string& out, const char* comment) {
    if (!out.empty()) out += kSectionBreak;
    out += comment;
    out += kLineEnd;
}

template <size_t N>
void AppendSection(std::string& out, const char* comment, const KeyEntry (&keys)[N], FSSettings& settings) {
    AppendComment(out, comment);
    for (const KeyEntry& entry : keys)
        AppendKeyLine(out, entry, settings);
}

void AppendBindings(std::string& out, const std::vector<FSBindingRecord>& bindings) {
    for (const FSBindingRecord& record : bindings) {
        out += "keys\t\t";
        for (int32_t value : {record.action, record.mode, record.interval}) {
            out += std::to_string(value);
            out += ' ';
        }
        for (int32_t key : record.keys) {
            out += std::to_string(key);
            out += ' ';
        }
        out += kLineEnd;
    }
}

// A key's value token into its field; false (the field unchanged) for a value outside
// the key's range, not-a-number and infinities included.
bool ReadValue(const KeyEntry& entry, const std::string& token, FSSettings& settings) {
    const FieldRef field = entry.field(settings);
    if (entry.kind == ValueKind::Flag) {
        *field.flag = ToInt(token) != 0 ? 1 : 0;
        return true;
    }
    const double value = entry.kind == ValueKind::Integer ? ToInt(token) : ToFloat(token);
    if (!(value >= entry.low - kRangeSlack && value <= entry.high + kRangeSlack)) return false;
    if (entry.kind == ValueKind::Real) {
        *field.real = static_cast<float>(value);
    } else {
        *field.integer = static_cast<int32_t>(value);  // truncates "40.9" to 40
    }
    return true;
}

bool ReadKeyLine(const std::vector<std::string>& tokens, FSSettings& settings) {
    for (const auto& [keys, count] : kKeyTables) {
        for (size_t i = 0; i < count; ++i) {
            if (IsKeywordLine(tokens, keys[i].key, 2)) return ReadValue(keys[i], tokens[1], settings);
        }
    }
    return false;
}

// A "keys" line: action, mode, repeat interval, then one key-state index per key of the
// chord. Nothing when any number is one the input could not have made.
bool ReadBinding(const std::vector<std::string>& tokens, std::vector<FSBindingRecord>& bindings) {
    if (tokens.size() < 5 || tokens.size() > 4 + static_cast<size_t>(kKeyStateCount)) return false;
    if (bindings.size() >= kMaxBindings) return false;
    FSBindingRecord record;
    record.action = ToInt(tokens[1]);
    record.mode = ToInt(tokens[2]);
    record.interval = ToInt(tokens[3]);
    if (record.action < 0 || record.action >= kActionCount || record.mode < 0 || record.mode > 1 ||
        record.interval < 0 || record.interval > kMaxRepeatInterval) {
        return false;
    }
    for (size_t i = 4; i < tokens.size(); ++i) {
        const int32_t key = ToInt(tokens[i]);
        if (key < 0 || key >= kKeyStateCount) return false;
        record.keys.push_back(key);
    }
    bindings.push_back(std::move(record));
    return true;
}

bool IsPlayerName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxPlayerNameBytes;
}

void ReadLine(const std::vector<std::string>& tokens, FSSettings& settings) {
    if (tokens.empty()) return;
    if (tokens[0] == "keys") {
        ReadBinding(tokens, settings.bindings);
    } else if (IsKeywordLine(tokens, "current_player", 2)) {
        if (IsPlayerName(tokens[1])) settings.currentPlayer = tokens[1];
    } else if (IsKeywordLine(tokens, "player", 2)) {
        if (IsPlayerName(tokens[1]) && settings.players.size() < kMaxPlayers)
            settings.players.push_back(tokens[1]);
    } else {
        ReadKeyLine(tokens, settings);
    }
}

// At most kMaxSettingsFileBytes of the file, cut after the last line end when there was
// more. False when the file cannot be opened or read.
bool ReadBoundedText(const std::string& path, std::string& text) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return false;
    text.resize(kMaxSettingsFileBytes + 1);
    const size_t got = std::fread(text.data(), 1, text.size(), file.get());
    if (std::ferror(file.get())) return false;
    text.resize(got);
    if (got > kMaxSettingsFileBytes) {
        text.resize(kMaxSettingsFileBytes);
        const size_t end = text.find_last_of("\r\n");
        text.resize(end == std::string::npos ? 0 : end + 1);
        std::fprintf(stderr, "Aerovant: %s is longer than %zu bytes; the rest is ignored\n", path.c_str(),
                     kMaxSettingsFileBytes);
    }
    return true;
}

}  // namespace

std::string FormatSettings(const FSSettings& settings) {
    // The key table locates fields through a non-const record; the copy keeps the
    // caller's untouched.
    FSSettings values = settings;
    std::string out;
    AppendSection(out, "// AUDIO", kAudioKeys, values);
    AppendSection(out, "// VIDEO", kVideoKeys, values);
    AppendComment(out, "// CONTROLS");
    AppendBindings(out, values.bindings);
    AppendSection(out, "// GAME", kGameKeys, values);
    AppendSection(out, "// ROUTE", kRouteKeys, values);
    AppendComment(out, "// PLAYERS");
    out += "current_player\t\t" + values.currentPlayer + kLineEnd;
    for (const std::string& player : values.players)
        out += "player\t\t" + player + kLineEnd;
    return out;
}

void ParseSettings(std::string_view text, FSSettings& settings) {
    settings.players.clear();
    settings.currentPlayer = "Pilot";
    settings.bindings.clear();
    ForEachTokenLine(text,
                     [&settings](const std::vector<std::string>& tokens) { ReadLine(tokens, settings); });
    if (settings.players.empty()) {
        settings.players.push_back(settings.currentPlayer);
    } else {
        std::sort(settings.players.begin(), settings.players.end());
    }
}

bool ReadSettingsFile(const std::string& path, FSSettings& settings) {
    std::string text;
    if (!ReadBoundedText(path, text)) return false;
    ParseSettings(text, settings);
    return true;
}

bool WriteSettingsFile(const std::string& path, const FSSettings& settings) {
    const std::string text = FormatSettings(settings);
    if (WriteBufferToFile(path, text.data(), text.size())) return true;
    std::fprintf(stderr, "Aerovant: could not save the settings to %s (%s); the old file is kept\n",
                 path.c_str(), std::strerror(errno));
    return false;
}

FSSettings CaptureSettings(const CFSApplicationContext& context) {
    FSSettings settings;
    if (context.engine) {
        settings.musicVolume = context.engine->musicVolume;
        settings.soundVolume = context.engine->soundVolume;
    }
    settings.video = context.video;
    settings.game = context.game;
    settings.route = context.route;
    settings.fullScreen = context.fullScreen;
    if (context.input) settings.bindings = context.input->ExportBindings();
    settings.currentPlayer = context.currentPlayer;
    settings.players = context.players;
    return settings;
}

void ApplySettings(const FSSettings& settings, CFSApplicationContext& context) {
    if (context.engine) {
        context.engine->musicVolume = settings.musicVolume;
        context.engine->soundVolume = settings.soundVolume;
    }
    context.video = settings.video;
    DeriveRenderSize(context.video);
    // Only the sensitivities, the touch scheme and the alignment are the player's; the
    // centres belong to the aircraft and the gains are derived.
    context.game.joystickSensitivity = settings.game.joystickSensitivity;
    context.game.xySensitivity = settings.game.xySensitivity;
    context.game.touchscreenScheme = settings.game.touchscreenScheme;
    context.game.touchscreenSensitivity = settings.game.touchscreenSensitivity;
    context.game.screenAlign = settings.game.screenAlign;
    DeriveControlGains(context.game);
    context.route = settings.route;
    context.fullScreen = settings.fullScreen;
    if (context.input) context.input->ReplaceBindings(settings.bindings);
    context.currentPlayer = settings.currentPlayer;
    context.players = settings.players;
}

std::string SettingsFilePath() {
    return platform::PlayerFolder() + "settings.bin";
}

bool ReadSettings() {
    CFSApplicationContext& context = *GetApplicationContext();
    FSSettings settings = CaptureSettings(context);
    const bool found = ReadSettingsFile(SettingsFilePath(), settings);
    // Without a file the game starts as with one that sets nothing: the pilot "Pilot"
    // and the factory bindings.
    if (!found) ParseSettings({}, settings);
    ApplySettings(settings, context);
    return found;
}

bool WriteSettings() {
    return WriteSettingsFile(SettingsFilePath(), CaptureSettings(*GetApplicationContext()));
}
