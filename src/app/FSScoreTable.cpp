#include "app/FSScoreTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/FSApplicationContext.h"
#include "platform/FSPaths.h"
#include "resources/FSArchive.h"

namespace {

constexpr char kHeaderTag[] = "AIRWAY: ";
constexpr size_t kHeaderTagBytes = 8;
constexpr size_t kNameBytes = FSScoreRecord::kNameBytes;
constexpr size_t kUnit = FSScoreTable::kUnitSize;

int32_t ReadLE32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void WriteLE32(uint8_t* p, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// A 32-byte name field copied as read; one without a terminator is cut to 31 bytes so
// that every name in memory is a C string.
void CopyNameField(char (&to)[kNameBytes], const uint8_t* from) {
    std::memcpy(to, from, kNameBytes);
    if (std::memchr(to, 0, kNameBytes) == nullptr) to[kNameBytes - 1] = 0;
}

// text cut to 31 bytes, zero-filled behind.
void SetName(char (&to)[kNameBytes], const std::string& text) {
    std::memset(to, 0, kNameBytes);
    std::memcpy(to, text.data(), std::min(text.size(), kNameBytes - 1));
}

void SortByScore(std::vector<FSScoreRecord>& records) {
    // Stable, so records of equal score keep the order they came in.
    std::stable_sort(records.begin(), records.end(),
                     [](const FSScoreRecord& a, const FSScoreRecord& b) { return a.score > b.score; });
}

void SortByName(std::vector<FSRouteScores>& routes) {
    std::stable_sort(routes.begin(), routes.end(), [](const FSRouteScores& a, const FSRouteScores& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
}

// Adds a loaded route with records to the table; a name that came twice gets one entry.
void AddLoadedRoute(std::vector<FSRouteScores>& routes, FSRouteScores& route) {
    if (route.records.empty()) return;
    auto same = std::find_if(routes.begin(), routes.end(),
                             [&](const FSRouteScores& r) { return std::strcmp(r.name, route.name) == 0; });
    if (same == routes.end()) {
        routes.push_back(route);
    } else {
        same->records.insert(same->records.end(), route.records.begin(), route.records.end());
    }
    route.records.clear();
}

// One whole unit read into the current route; false when the unit is not sound and
// reading must stop.
bool ReadUnit(const uint8_t* unit, std::vector<FSRouteScores>& routes, FSRouteScores& current) {
    if (unit[kUnit - 2] != '\r' || unit[kUnit - 1] != '\n') return false;
    if (std::memcmp(unit, kHeaderTag, kHeaderTagBytes) == 0) {
        AddLoadedRoute(routes, current);
        CopyNameField(current.name, unit + kHeaderTagBytes);
        return true;
    }
    FSScoreRecord record;
    CopyNameField(record.name, unit);
    record.score = ReadLE32(unit + 32);
    record.seconds = ReadLE32(unit + 36);
    // The flight clock counts up from 0. (A score may be below 0: a route's aircraft factor
    // is whatever its file says.)
    if (record.seconds < 0) return false;
    current.records.push_back(record);
    return true;
}

}  // namespace

FSScoreRecord MakeScoreRecord(const std::string& player, int32_t score, int32_t seconds) {
    FSScoreRecord record;
    SetName(record.name, player);
    record.score = score;
    record.seconds = seconds;
    return record;
}

FSFindRoute FindRoute(const FSScoreTable& table, const std::string& route, size_t* index) {
    // A name with a zero inside could never be matched byte for byte against a C string.
    if (route.size() >= kNameBytes || route.find('\0') != std::string::npos) return FSFindRoute::TooLong;
    for (size_t i = 0; i < table.routes.size(); ++i) {
        if (std::strcmp(table.routes[i].name, route.c_str()) == 0) {
            if (index) *index = i;
            return FSFindRoute::Found;
        }
    }
    return FSFindRoute::NotFound;
}

void EnsureRoute(FSScoreTable& table, const std::string& route) {
    if (FindRoute(table, route) != FSFindRoute::NotFound) return;
    FSRouteScores entry;
    SetName(entry.name, route);
    table.routes.push_back(std::move(entry));
    SortByName(table.routes);
}

bool InsertScoreRecord(FSScoreTable& table, const std::string& route, const FSScoreRecord& record) {
    size_t index = 0;
    if (FindRoute(table, route, &index) != FSFindRoute::Found) return false;
    std::vector<FSScoreRecord>& records = table.routes[index].records;
    records.push_back(record);
    SortByScore(records);
    return true;
}

bool LoadScores(FSScoreTable& table, const std::string& path) {
    const FSMemoryBlock file = ReadFileToBuffer(path);
    if (!file) return false;
    std::vector<FSRouteScores> routes;
    FSRouteScores current;  // records before any header belong to the empty name
    // A partial last unit is left out: only whole units are read.
    const size_t units = file.size / kUnit;
    for (size_t u = 0; u < units; ++u) {
        if (!ReadUnit(file.data.get() + u * kUnit, routes, current)) break;
    }
    AddLoadedRoute(routes, current);
    // A file written by hand or damaged may be out of order; the table never is.
    for (FSRouteScores& route : routes)
        SortByScore(route.records);
    SortByName(routes);
    table.routes = std::move(routes);
    return true;
}

std::vector<uint8_t> EncodeScores(const FSScoreTable& table) {
    size_t units = 0;
    for (const FSRouteScores& route : table.routes)
        units += 1 + route.records.size();
    std::vector<uint8_t> bytes(units * kUnit);
    uint8_t* out = bytes.data();
    auto endUnit = [&out]() {
        out[kUnit - 2] = '\r';
        out[kUnit - 1] = '\n';
        out += kUnit;
    };
    for (const FSRouteScores& route : table.routes) {
        std::memcpy(out, kHeaderTag, kHeaderTagBytes);
        std::memcpy(out + kHeaderTagBytes, route.name, kNameBytes);
        endUnit();
        for (const FSScoreRecord& record : route.records) {
            std::memcpy(out, record.name, kNameBytes);
            WriteLE32(out + 32, record.score);
            WriteLE32(out + 36, record.seconds);
            endUnit();
        }
    }
    return bytes;
}

bool SaveScores(const FSScoreTable& table, const std::string& path) {
    const std::vector<uint8_t> bytes = EncodeScores(table);
    if (WriteBufferToFile(path, bytes.data(), bytes.size())) return true;
    std::fprintf(stderr, "Aerovant: could not save the scores to %s (%s); the old file is kept\n",
                 path.c_str(), std::strerror(errno));
    return false;
}

std::string ScoresFilePath() {
    return platform::PlayerFolder() + "scores.dat";
}

bool LoadPlayerScores(CFSApplicationContext& context, const std::vector<std::string>& routes) {
    const bool loaded = LoadScores(context.scores, ScoresFilePath());
    if (!loaded) context.scores.routes.clear();
    for (const std::string& route : routes)
        EnsureRoute(context.scores, route);
    return loaded;
}

FSStoredScore StoreFlightScore(CFSApplicationContext& context, const std::string& route, int32_t score,
                               int32_t seconds) {
    if (score == 0) return FSStoredScore::NotStored;
    const FSScoreRecord record = MakeScoreRecord(context.currentPlayer, score, seconds);
    if (!InsertScoreRecord(context.scores, route, record)) return FSStoredScore::NotStored;
    return SaveScores(context.scores, ScoresFilePath()) ? FSStoredScore::Stored : FSStoredScore::NotSaved;
}
