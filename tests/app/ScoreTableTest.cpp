#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSScoreTable.h"
#include "platform/FSPaths.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using image_test_files::ReadBytes;

namespace {

using Bytes = std::vector<uint8_t>;

// A 32-byte name field: the text, then zeros (a 32-byte text has no terminator).
Bytes NameField(const std::string& text) {
    Bytes field(32, 0);
    std::memcpy(field.data(), text.data(), std::min<size_t>(text.size(), 32));
    return field;
}

void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

Bytes HeaderUnit(const std::string& route) {
    Bytes unit = {'A', 'I', 'R', 'W', 'A', 'Y', ':', ' '};
    Append(unit, NameField(route));
    Append(unit, {'\r', '\n'});
    return unit;
}

Bytes RecordUnit(const std::string& player, int32_t score, int32_t seconds) {
    Bytes unit = NameField(player);
    for (int32_t value : {score, seconds}) {
        const uint32_t bits = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            unit.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
    Append(unit, {'\r', '\n'});
    return unit;
}

Bytes Units(std::initializer_list<Bytes> units) {
    Bytes all;
    for (const Bytes& unit : units)
        Append(all, unit);
    return all;
}

// A table as (route, [(player, score)]) pairs, for comparing whole tables at once.
using Summary = std::vector<std::pair<std::string, std::vector<std::pair<std::string, int32_t>>>>;

Summary Summarise(const FSScoreTable& table) {
    Summary summary;
    for (const FSRouteScores& route : table.routes) {
        summary.push_back({route.name, {}});
        for (const FSScoreRecord& record : route.records)
            summary.back().second.push_back({record.name, record.score});
    }
    return summary;
}

class ScoreTable : public testing::Test {
protected:
    void SetUp() override { folder_ = testing_support::MakeTempFolder("scores"); }
    void TearDown() override { image_test_files::RemoveTempFolder(folder_); }

    std::string Write(const Bytes& bytes, const std::string& name = "scores.dat") {
        const std::string path = folder_ + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }

    std::string folder_;
};

TEST_F(ScoreTable, EmptyFileIsAnEmptyTableAndAMissingOneChangesNothing) {
    FSScoreTable table;
    EnsureRoute(table, "Kept");
    EXPECT_FALSE(LoadScores(table, folder_ + "missing.dat"));
    EXPECT_FALSE(LoadScores(table, folder_));  // a folder is no file
    ASSERT_EQ(table.routes.size(), 1u);

    EXPECT_TRUE(LoadScores(table, Write({})));
    EXPECT_TRUE(table.routes.empty());
}

TEST_F(ScoreTable, RoutesWithoutRecordsAreNotLoadedButEnsureAddsThemInNameOrder) {
    FSScoreTable table;
    EXPECT_TRUE(LoadScores(table, Write(HeaderUnit("Alpine"))));
    EXPECT_TRUE(table.routes.empty());

    const Bytes file = Units({HeaderUnit("Bay"), HeaderUnit("Canyon"), RecordUnit("Ann", 70, 95),
                              RecordUnit("Bob", 60, 99), HeaderUnit("Alpine")});
    ASSERT_TRUE(LoadScores(table, Write(file)));
    EXPECT_EQ(Summarise(table), (Summary{{"Canyon", {{"Ann", 70}, {"Bob", 60}}}}));

    for (const char* route : {"Canyon", "Bay", "Alpine", "Bay"})
        EnsureRoute(table, route);
    EXPECT_EQ(Summarise(table),
              (Summary{{"Alpine", {}}, {"Bay", {}}, {"Canyon", {{"Ann", 70}, {"Bob", 60}}}}));
}

TEST_F(ScoreTable, InsertKeepsTheBestFirstAndTheFileHoldsOneUnitEach) {
    FSScoreTable table;
    EnsureRoute(table, "Harbour");
    for (int32_t score : {300, 500, 400})
        EXPECT_TRUE(InsertScoreRecord(table, "Harbour", MakeScoreRecord("Eve", score, score / 10)));
    EXPECT_FALSE(InsertScoreRecord(table, "Elsewhere", MakeScoreRecord("Eve", 1, 1)));
    EXPECT_EQ(Summarise(table), (Summary{{"Harbour", {{"Eve", 500}, {"Eve", 400}, {"Eve", 300}}}}));

    const std::string path = folder_ + "scores.dat";
    ASSERT_TRUE(SaveScores(table, path));
    const Bytes expected = Units({HeaderUnit("Harbour"), RecordUnit("Eve", 500, 50),
                                  RecordUnit("Eve", 400, 40), RecordUnit("Eve", 300, 30)});
    ASSERT_EQ(expected.size(), 168u);
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(ScoreTable, NamesThatDoNotFitAreCutOrRefused) {
    const std::string name31(31, 'p');
    const std::string name40 = std::string(31, 'q') + "overflow!";
    const FSScoreRecord fits = MakeScoreRecord(name31, 1, 1);
    EXPECT_EQ(std::string(fits.name), name31);
    EXPECT_EQ(fits.name[31], 0);
    const FSScoreRecord cut = MakeScoreRecord(name40, 1, 1);
    EXPECT_EQ(std::string(cut.name), name40.substr(0, 31));

    // A route name keeps its terminator in the file's 32 bytes, or has no entry at all.
    FSScoreTable table;
    const struct {
        std::string route;
        FSFindRoute answer;
    } routes[] = {{std::string(31, 'r'), FSFindRoute::Found},
                  {std::string(32, 's'), FSFindRoute::TooLong},
                  {std::string(40, 't'), FSFindRoute::TooLong},
                  {std::string("in\0side", 7), FSFindRoute::TooLong}};
    for (const auto& row : routes) {
        EnsureRoute(table, row.route);
        EXPECT_EQ(FindRoute(table, row.route), row.answer) << row.route.size();
        EXPECT_EQ(InsertScoreRecord(table, row.route, fits), row.answer == FSFindRoute::Found);
    }
    EXPECT_EQ(table.routes.size(), 1u);
}

TEST_F(ScoreTable, DamagedFilesAreReadAsFarAsTheyAreSound) {
    const Bytes header = HeaderUnit("Ridge");
    const Bytes first = RecordUnit("Ann", 900, 120);
    const Bytes second = RecordUnit("Bob", 800, 130);
    const Bytes whole = Units({header, first, second});
    auto cut = [&](size_t size) { return Bytes(whole.begin(), whole.begin() + size); };
    Bytes noLineEnd = whole;
    noLineEnd[whole.size() - 1] = 'X';
    Bytes shifted = Units({header, first});  // a stray byte puts every later unit out of step
    shifted.push_back('?');
    Append(shifted, second);
    Bytes unterminatedPlayer = Units({header, first, RecordUnit(std::string(32, 'B'), 800, 130)});
    const Summary both = {{"Ridge", {{"Ann", 900}, {"Bob", 800}}}};
    const Summary one = {{"Ridge", {{"Ann", 900}}}};

    const struct {
        const char* what;
        Bytes file;
        Summary table;
    } cases[] = {
        {"a partial header", cut(20), {}},
        {"the header alone", cut(42), {}},
        {"cut inside the first record", cut(42 + 39), {}},
        {"cut inside the second record", cut(42 + 42 + 41), one},
        {"one byte too long", Units({whole, {'\r'}}), both},
        {"a record without its line end", noLineEnd, one},
        {"units out of step", shifted, one},
        {"a negative flight time", Units({header, first, RecordUnit("Bob", 800, -1)}), one},
        {"an unterminated route name",
         Units({HeaderUnit(std::string(40, 'R')), first}),
         {{std::string(31, 'R'), {{"Ann", 900}}}}},
        {"an unterminated player name",
         unterminatedPlayer,
         {{"Ridge", {{"Ann", 900}, {std::string(31, 'B'), 800}}}}},
        {"records before any header",
         Units({first, header, second}),
         {{"", {{"Ann", 900}}}, {"Ridge", {{"Bob", 800}}}}},
        {"a route twice, out of order",
         Units({HeaderUnit("Ridge"), RecordUnit("Bob", 800, 1), HeaderUnit("Bay"), RecordUnit("Cy", 5, 1),
                HeaderUnit("Ridge"), RecordUnit("Ann", 900, 1)}),
         {{"Bay", {{"Cy", 5}}}, {"Ridge", {{"Ann", 900}, {"Bob", 800}}}}},
        {"extreme scores",
         Units({header, RecordUnit("Lo", INT32_MIN, 0), RecordUnit("Hi", INT32_MAX, INT32_MAX)}),
         {{"Ridge", {{"Hi", INT32_MAX}, {"Lo", INT32_MIN}}}}},
    };
    for (const auto& c : cases) {
        FSScoreTable table;
        EXPECT_TRUE(LoadScores(table, Write(c.file))) << c.what;
        EXPECT_EQ(Summarise(table), c.table) << c.what;
    }
}

TEST_F(ScoreTable, ReadsAFileWrittenByTheShellsPrintf) {
    // Header and record written byte by byte by printf, numbers as octal escapes:
    // score 0x00012C (300), 75 seconds.
    const std::string zeros = [] {
        std::string z;
        for (int i = 0; i < 27; ++i)
            z += "\\000";
        return z;
    }();
    const std::string format = "AIRWAY: Coast" + zeros + "\\r\\n" + "Zoe" + zeros + "\\000\\000" +
                               "\\054\\001\\000\\000" + "\\113\\000\\000\\000\\r\\n";
    const std::string path = folder_ + "printf.dat";
    ASSERT_TRUE(image_test_files::Printf(path, format));
    ASSERT_EQ(ReadBytes(path).size(), 84u);

    FSScoreTable table;
    ASSERT_TRUE(LoadScores(table, path));
    EXPECT_EQ(Summarise(table), (Summary{{"Coast", {{"Zoe", 300}}}}));
    EXPECT_EQ(table.routes[0].records[0].seconds, 75);
}

TEST_F(ScoreTable, SaveAndLoadKeepEveryByte) {
    // Bytes after a name's terminator mean nothing, but a file read and saved again is
    // the same file.
    Bytes stale = RecordUnit("Al", 40, 9);
    stale[5] = 'z';
    Bytes staleRoute = HeaderUnit("Dune");
    staleRoute[8 + 30] = '#';
    const Bytes file = Units({HeaderUnit("Bay"), RecordUnit("Cy", -3, 2), staleRoute, RecordUnit("Bo", 70, 8),
                              stale, RecordUnit(std::string(31, 'x'), 40, 7)});
    FSScoreTable table;
    ASSERT_TRUE(LoadScores(table, Write(file)));
    const std::string path = folder_ + "again.dat";
    ASSERT_TRUE(SaveScores(table, path));
    EXPECT_EQ(ReadBytes(path), file);

    FSScoreTable reread;
    ASSERT_TRUE(LoadScores(reread, path));
    EXPECT_EQ(EncodeScores(reread), file);
}

TEST_F(ScoreTable, AFailedSaveKeepsTheOldFileAndSaysSo) {
    const Bytes old = Units({HeaderUnit("Old"), RecordUnit("Ann", 1, 1)});
    FSScoreTable table;
    EnsureRoute(table, "New");
    for (int i = 0; i < 20; ++i)
        InsertScoreRecord(table, "New", MakeScoreRecord("Bob", i + 1, 60));

    // The temporary file's name taken by a folder.
    const std::string path = Write(old);
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0755), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveScores(table, path));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
    EXPECT_EQ(ReadBytes(path), old);

    // The disk full half-way through: the file size limit stops the write at 100 bytes.
    const std::string limited = Write(old, "limited.dat");
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const sighandler_t handler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    testing::internal::CaptureStderr();
    const bool saved = SaveScores(table, limited);
    const std::string said = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, handler);
    EXPECT_FALSE(saved);
    EXPECT_NE(said.find(limited), std::string::npos);
    EXPECT_EQ(ReadBytes(limited), old);

    // And a save that works replaces it whole.
    ASSERT_TRUE(SaveScores(table, limited));
    EXPECT_EQ(ReadBytes(limited), EncodeScores(table));
}

TEST_F(ScoreTable, AFlightsScoreGoesUnderThePlayersNameIntoThePlayersFile) {
    ResetApplicationContext();
    platform::SetPlayerFolder(folder_);
    CFSApplicationContext& context = *GetApplicationContext();
    Write(Units({HeaderUnit("Bay"), RecordUnit("Ann", 500, 60)}));
    EXPECT_TRUE(LoadPlayerScores(context, {"Canyon", "Bay"}));
    EXPECT_EQ(Summarise(context.scores), (Summary{{"Bay", {{"Ann", 500}}}, {"Canyon", {}}}));

    context.currentPlayer = "Bob";
    EXPECT_FALSE(StoreFlightScore(context, "Canyon", 0, 80));  // a score of 0 is never stored
    EXPECT_FALSE(StoreFlightScore(context, "Nowhere", 10, 80));
    EXPECT_TRUE(StoreFlightScore(context, "Canyon", 250, 80));
    EXPECT_EQ(ReadBytes(ScoresFilePath()), Units({HeaderUnit("Bay"), RecordUnit("Ann", 500, 60),
                                                  HeaderUnit("Canyon"), RecordUnit("Bob", 250, 80)}));

    std::remove(ScoresFilePath().c_str());
    EXPECT_FALSE(LoadPlayerScores(context, {"Canyon"}));
    EXPECT_EQ(Summarise(context.scores), (Summary{{"Canyon", {}}}));
    ResetApplicationContext();
}

}  // namespace
