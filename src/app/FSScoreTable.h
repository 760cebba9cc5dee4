#pragma once
// The best flights of every route, and their file "scores.dat".
//
// The file is a sequence of 42-byte units and nothing else: a route header unit
// ("AIRWAY: ", the 32-byte route name, CR LF) followed by one record unit per score
// (the 40-byte record, CR LF). Every number is little-endian whatever the host.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One flight's result, 40 bytes in the file: the name (zero-terminated, bytes after the
// terminator carry no meaning and are kept as read), the score and the flight time.
struct FSScoreRecord {
    static constexpr size_t kNameBytes = 32;  // with the terminator: at most 31 of text
    static constexpr size_t kSize = 40;       // bytes in the file

    char name[kNameBytes] = {};
    int32_t score = 0;
    int32_t seconds = 0;  // the flight clock when the flight ended, whole seconds
};

// The records of one route, best score first (equal scores in no defined order).
struct FSRouteScores {
    char name[FSScoreRecord::kNameBytes] = {};  // the route's name, zero-terminated
    std::vector<FSScoreRecord> records;
};

// Every route's records, kept sorted by route name (byte-wise ascending). No limit on
// the number of records per route.
struct FSScoreTable {
    static constexpr size_t kUnitSize = 42;  // bytes of one header or record unit

    std::vector<FSRouteScores> routes;
};

enum class FSFindRoute { Found, NotFound, TooLong };

// A record of the player's name (cut to 31 bytes when longer), the score and the flight
// time in whole seconds.
FSScoreRecord MakeScoreRecord(const std::string& player, int32_t score, int32_t seconds);

// Looks a route up by its exact name. A name that does not fit the file's 32-byte field
// with its terminator (32 bytes or more) is too long and never found. index is set only
// when found.
FSFindRoute FindRoute(const FSScoreTable& table, const std::string& route, size_t* index = nullptr);

// Adds an empty entry for the route when there is none and keeps the table sorted.
// Names too long for the file are ignored.
void EnsureRoute(FSScoreTable& table, const std::string& route);

// Adds the record to the route's records, best first. False, with nothing added, when
// the route has no entry (a missing route is not created).
bool InsertScoreRecord(FSScoreTable& table, const std::string& route, const FSScoreRecord& record);

// Reads a file into the table. False, with the table unchanged, when the file cannot be
// opened or read. An empty file is an empty table. A damaged file is read as far as it is
// sound: a partial last unit is ignored, reading stops at a unit that does not end in
// CR LF or a record with a negative time, and unterminated names are cut to 31
// bytes. Routes without records are not added; records before the first header belong
// to a route of empty name.
bool LoadScores(FSScoreTable& table, const std::string& path);

// The table as the file holds it: 42 bytes per route plus 42 per record.
std::vector<uint8_t> EncodeScores(const FSScoreTable& table);

// Writes the whole table through a temporary file in the same folder, flushed and then
// renamed over the old file, so a failed save leaves the old file as it was. A failure
// is reported on standard error and returned as false; the table is never changed.
bool SaveScores(const FSScoreTable& table, const std::string& path);

// "scores.dat" in the player's folder.
std::string ScoresFilePath();

class CFSApplicationContext;

// Start-up: the context's table read from ScoresFilePath() (a missing or unreadable file
// leaves it empty), then an entry ensured for every route name given. False when the
// file could not be read.
bool LoadPlayerScores(CFSApplicationContext& context, const std::vector<std::string>& routes);

// What became of a flight's score.
enum class FSStoredScore {
    Stored,     // in the table and in the file
    NotStored,  // a score of 0, or a route the table does not hold
    NotSaved,   // in the table, but the file could not be written (the old file is kept)
};

// The end of a successful flight: a record of the current player, the score and the
// flight time inserted under the flown route, then the table saved to ScoresFilePath().
// A score of 0 is never stored.
FSStoredScore StoreFlightScore(CFSApplicationContext& context, const std::string& route, int32_t score,
                               int32_t seconds);
