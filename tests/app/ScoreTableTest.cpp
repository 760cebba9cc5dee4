#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "app/FSApplicationContext.h"
#include "app/FSScoreTable.h"
#include "platform/FSPaths.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using image_test_files::ReadText;

namespace {

// A 32-byte name field: the text, then zeros (a 32-byte text has no terminator).
std::string NameField(std::string text) {
    text.resize(32, '\0');
    return text;
}

std::string Record(const std::string& player, int32_t score, int32_t seconds) {
    std::string unit = NameField(player);
    for (int32_t value : {score, seconds})
        for (int i = 0; i < 4; ++i)
            unit += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return unit + "\r\n";
}

class ScoreTable : public testing::Test {
protected:
    void SetUp() override { folder_ = testing_support::MakeTempFolder("scores"); }
    void TearDown() override { image_test_files::RemoveTempFolder(folder_); }

    static std::string Header(const std::string& route) { return "AIRWAY: " + NameField(route) + "\r\n"; }
    // The table as its file holds it, to compare whole tables at once.
    static std::string Encoded(const FSScoreTable& table) {
        const std::vector<uint8_t> bytes = EncodeScores(table);
        return std::string(bytes.begin(), bytes.end());
    }
    std::string Write(const std::string& bytes, const std::string& name = "scores.dat") {
        image_test_files::WriteText(folder_ + name, bytes);
        return folder_ + name;
    }

    std::string folder_;
};

TEST_F(ScoreTable, AMissingFileChangesNothing) {
    FSScoreTable table;
    EnsureRoute(table, "Kept");
    EXPECT_FALSE(LoadScores(table, folder_ + "missing.dat"));
    EXPECT_FALSE(LoadScores(table, folder_));  // a folder is no file
    EXPECT_EQ(Encoded(table), Header("Kept"));
}

TEST_F(ScoreTable, InsertKeepsTheBestFirstAndTheFileHoldsOneUnitEach) {
    FSScoreTable table;
    EnsureRoute(table, "Harbour");
    for (int32_t score : {300, 500, 400})
        EXPECT_TRUE(InsertScoreRecord(table, "Harbour", MakeScoreRecord("Eve", score, score / 10)));
    ASSERT_TRUE(SaveScores(table, folder_ + "scores.dat"));
    const std::string expected =
        Header("Harbour") + Record("Eve", 500, 50) + Record("Eve", 400, 40) + Record("Eve", 300, 30);
    ASSERT_EQ(expected.size(), 168u);
    EXPECT_EQ(ReadText(folder_ + "scores.dat"), expected);
}

TEST_F(ScoreTable, NamesThatDoNotFitAreCutOrRefused) {
    const std::string name31(31, 'p');
    EXPECT_EQ(std::string(MakeScoreRecord(name31, 1, 1).name), name31);
    EXPECT_EQ(std::string(MakeScoreRecord(name31 + "overflow", 1, 1).name), name31);

    // A route name keeps its terminator in the file's 32 bytes, or has no entry at all.
    FSScoreTable table;
    for (const std::string& route : {name31, std::string(32, 's'), std::string("in\0side", 7)}) {
        EnsureRoute(table, route);
        const bool fits = route == name31;
        EXPECT_EQ(FindRoute(table, route), fits ? FSFindRoute::Found : FSFindRoute::TooLong);
        EXPECT_EQ(InsertScoreRecord(table, route, MakeScoreRecord("p", 1, 1)), fits);
    }
    EXPECT_EQ(table.routes.size(), 1u);
}

TEST_F(ScoreTable, DamagedFilesAreReadAsFarAsTheyAreSound) {
    const std::string ridge = Header("Ridge"), ann = Record("Ann", 900, 120), bob = Record("Bob", 800, 130);
    std::string noLineEnd = ridge + ann + bob;
    noLineEnd.back() = 'X';
    const std::pair<std::string, std::string> cases[] = {
        // the file, the table loaded
        {"", ""},
        {ridge, ""},  // a route without records
        {(ridge + ann + bob).substr(0, 125), ridge + ann},
        {noLineEnd, ridge + ann},
        {ridge + ann + Record("Bob", 800, -1), ridge + ann},
        {Header(std::string(40, 'R')) + ann + Record(std::string(32, 'B'), 800, 130),
         Header(std::string(31, 'R')) + ann + Record(std::string(31, 'B'), 800, 130)},
        {ann + ridge + bob, Header("") + ann + ridge + bob},
        {ridge + bob + Header("Alpine") + Header("Bay") + Record("Cy", 5, 1) + ridge + ann,
         Header("Bay") + Record("Cy", 5, 1) + ridge + ann + bob},
    };
    for (const auto& [file, loaded] : cases) {
        FSScoreTable table;
        EnsureRoute(table, "Stale");
        EXPECT_TRUE(LoadScores(table, Write(file)));
        EXPECT_EQ(Encoded(table), loaded) << file.size();
    }
}

TEST_F(ScoreTable, ReadsAFileWrittenByTheShellsPrintf) {
    std::string zeros;
    for (int i = 0; i < 27; ++i)
        zeros += "\\000";
    // Zoe's score 0x12C (300) and 75 seconds as octal escapes.
    const std::string path = folder_ + "printf.dat";
    ASSERT_TRUE(
        image_test_files::Printf(path, "AIRWAY: Coast" + zeros + "\\r\\nZoe" + zeros +
                                           "\\000\\000\\054\\001\\000\\000\\113\\000\\000\\000\\r\\n"));
    FSScoreTable table;
    ASSERT_TRUE(LoadScores(table, path));
    EXPECT_EQ(Encoded(table), Header("Coast") + Record("Zoe", 300, 75));
}

TEST_F(ScoreTable, SaveAndLoadKeepEveryByte) {
    // Bytes after a name's terminator mean nothing, but a file read and saved again is
    // the same file.
    std::string stale = Record("Al", 40, 9), staleRoute = Header("Dune");
    stale[5] = 'z';
    staleRoute[8 + 30] = '#';
    const std::string file = Header("Bay") + Record("Cy", -3, 2) + staleRoute + Record("Bo", 70, 8) + stale +
                             Record(std::string(31, 'x'), 40, 7);
    FSScoreTable table;
    ASSERT_TRUE(LoadScores(table, Write(file)));
    ASSERT_TRUE(SaveScores(table, folder_ + "again.dat"));
    EXPECT_EQ(ReadText(folder_ + "again.dat"), file);
}

TEST_F(ScoreTable, AFailedSaveKeepsTheOldFileAndSaysSo) {
    const std::string old = Header("Old") + Record("Ann", 1, 1);
    FSScoreTable table;
    EnsureRoute(table, "New");
    for (int32_t score : {1, 2, 3})
        InsertScoreRecord(table, "New", MakeScoreRecord("Bob", score, 60));

    // The temporary file's name taken by a folder.
    const std::string path = Write(old);
    ASSERT_TRUE(std::filesystem::create_directory(path + ".tmp"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveScores(table, path));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
    EXPECT_EQ(ReadText(path), old);

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
    EXPECT_EQ(ReadText(limited), old);

    // And a save that works replaces it whole.
    ASSERT_TRUE(SaveScores(table, limited));
    EXPECT_EQ(ReadText(limited), Encoded(table));
}

TEST_F(ScoreTable, AFlightsScoreGoesUnderThePlayersNameIntoThePlayersFile) {
    ResetApplicationContext();
    platform::SetPlayerFolder(folder_);
    CFSApplicationContext& context = *GetApplicationContext();
    const std::string bay = Header("Bay") + Record("Ann", 500, 60);
    Write(bay);
    EXPECT_TRUE(LoadPlayerScores(context, {"Canyon", "Alpine", "Bay"}));

    context.currentPlayer = "Bob";
    // A score of 0 is never stored.
    EXPECT_EQ(StoreFlightScore(context, "Canyon", 0, 80), FSStoredScore::NotStored);
    EXPECT_EQ(StoreFlightScore(context, "Nowhere", 10, 80), FSStoredScore::NotStored);
    EXPECT_EQ(StoreFlightScore(context, "Canyon", 250, 80), FSStoredScore::Stored);
    EXPECT_EQ(ReadText(ScoresFilePath()), Header("Alpine") + bay + Header("Canyon") + Record("Bob", 250, 80));

    std::remove(ScoresFilePath().c_str());
    EXPECT_FALSE(LoadPlayerScores(context, {"Canyon"}));
    EXPECT_EQ(Encoded(context.scores), Header("Canyon"));
    ResetApplicationContext();
}

}  // namespace
