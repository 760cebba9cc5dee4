// The description reader: unit conversions, the near-zero rule, odd lines, damaged and
// missing files. Descriptions are written here and packed by Info-ZIP's zip with the
// game's password, as the data build packs the real ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "FlightTestSupport.h"
#include "resources/FSDataPassword.h"
#include "support/TestSupport.h"

using flight_test::BareNode;
using flight_test::kTrainer;
using flight_test::LoadedAircraft;
using flight_test::PlaceLevel;
using flight_test::TextBlock;

namespace {

constexpr float kRad = 0.017453292f;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string Garbage(size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

class AircraftArchive : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("aircrafts");
        Write("Aircraft1.txt", kTrainer);
        Write("Aircraft2.txt", Replace(kTrainer, "\n", "\r\n"));
        Write("Aircraft3.txt", Garbage(5000));
        Write("Aircraft4.txt", "");
        Write("Aircraft5.txt",
              "Mass nan\nInertia inf -inf 1e400\nFuel 1e39 -1e39 1e-400\nCG 1e300 2 3\n"
              "LeftWing 0 0 -3 -4 0 nan\nRightWing 0 0 3 -4 0 7\nPitch -20 20 inf\n"
              "Throttle 1e38 3e38 10\nThrottle 0 2000 0.1" +
                  std::string(100000, ' ') + "junk");
        char password[kDataPasswordLength + 1];
        UnscrambleDataPassword(password);
        const std::string command = "cd '" + folder_ + "' && zip -q -P '" + password +
                                    "' aircrafts.zip Aircraft1.txt Aircraft2.txt Aircraft3.txt "
                                    "Aircraft4.txt Aircraft5.txt";
        zipped_ = std::system(command.c_str()) == 0;
    }
    void SetUp() override { ASSERT_TRUE(zipped_) << "Info-ZIP zip is needed"; }

    static void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ + name, std::ios::binary) << text;
    }

    // An aircraft at altitude 1 km loaded with Load from the test archive.
    struct Loaded {
        SineTable sine;
        BareNode node;
        std::unique_ptr<CFSAircraft> aircraft;
    };
    static std::unique_ptr<Loaded> LoadMember(const std::string& member) {
        auto loaded = std::make_unique<Loaded>();
        PlaceLevel(loaded->node, 1.0f);
        loaded->aircraft = std::make_unique<CFSAircraft>(loaded->node, FSVector(), loaded->sine);
        loaded->aircraft->SetDescriptionArchive(folder_ + "aircrafts.zip");
        loaded->aircraft->Load(member);
        return loaded;
    }

    static std::string folder_;
    static bool zipped_;
};
std::string AircraftArchive::folder_;
bool AircraftArchive::zipped_ = false;

// A parsed description before Load's last steps: positions as written, no fuel added.
struct Parsed {
    SineTable sine;
    BareNode node;
    CFSAircraft aircraft{node, FSVector(), sine};
    explicit Parsed(const std::string& text) { aircraft.ParseText(text); }
};

TEST_F(AircraftArchive, LoadsTheSameAircraftWhateverTheLineEnds) {
    const auto unix = LoadMember("Aircraft1.txt");
    const auto windows = LoadMember("Aircraft2.txt");
    LoadedAircraft direct(kTrainer, 1.0f);
    for (const CFSAircraft* a : {windows->aircraft.get(), direct.aircraft.get()}) {
        const CFSAircraft& b = *unix->aircraft;
        EXPECT_EQ(a->GetMass(), b.GetMass());
        EXPECT_EQ(a->GetInertia(), b.GetInertia());
        EXPECT_EQ(a->FuelFlow(), b.FuelFlow());
        EXPECT_EQ(a->GetVelocity(), b.GetVelocity());
        for (int i = 0; i < kBaseSurfaceCount; ++i) {
            EXPECT_EQ(a->Surface(i).position, b.Surface(i).position) << i;
            EXPECT_EQ(a->Surface(i).area, b.Surface(i).area) << i;
        }
    }
    EXPECT_EQ(unix->aircraft->GetMass(), 767.0f + 150.0f);
    EXPECT_GT(unix->aircraft->Airspeed(), 0.0f);  // trimmed
}

TEST_F(AircraftArchive, AMissingOrEmptyFileLeavesAnAircraftThatNeitherFliesNorTurns) {
    for (const char* member : {"Aircraft9.txt", "Aircraft4.txt"}) {
        testing::internal::CaptureStderr();
        const auto loaded = LoadMember(member);
        const std::string said = testing::internal::GetCapturedStderr();
        // Only the missing file is reported; an empty one just describes nothing.
        EXPECT_EQ(said.find("buffer is NULL! (File not found)") != std::string::npos,
                  std::string(member) == "Aircraft9.txt");
        CFSAircraft& aircraft = *loaded->aircraft;
        EXPECT_EQ(aircraft.GetMass(), 0.0f);
        EXPECT_EQ(aircraft.GetInertia(), FSVector());
        for (int i = 0; i < kBaseSurfaceCount; ++i)
            EXPECT_EQ(aircraft.Surface(i).area, 0.0f);
        const FSFixedVector at = loaded->node.GetPosition();
        const FSQuaternion facing = loaded->node.GetOrientation();
        aircraft.SetAngularVelocity(FSVector(0.0f, 0.0f, 0.0f));
        for (int i = 0; i < 10; ++i)
            aircraft.Integrate(0.2f);
        EXPECT_EQ(loaded->node.GetPosition(), at);
        EXPECT_EQ(loaded->node.GetOrientation(), facing);
    }
}

TEST_F(AircraftArchive, DamagedFilesLoadIntoFiniteValuesAndFlyWithoutNaN) {
    for (const char* member : {"Aircraft3.txt", "Aircraft5.txt"}) {
        const auto loaded = LoadMember(member);
        CFSAircraft& aircraft = *loaded->aircraft;
        for (int i = 0; i < 20; ++i)
            aircraft.Integrate(0.2f);
        const FSVector v = aircraft.GetVelocity();
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) << member;
        EXPECT_TRUE(std::isfinite(aircraft.GetMass())) << member;
        const FSQuaternion q = loaded->node.GetOrientation();
        EXPECT_TRUE(std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z));
    }
    // Not-a-number, infinities and numbers beyond single precision read as 0.
    const auto loaded = LoadMember("Aircraft5.txt");
    const CFSAircraft& aircraft = *loaded->aircraft;
    EXPECT_EQ(aircraft.GetInertia(), FSVector());
    EXPECT_EQ(aircraft.FuelReserve(), 0.0f);
    EXPECT_EQ(aircraft.FuelCapacity(), 0.0f);
    EXPECT_EQ(aircraft.GetMass(), 0.0f);
    EXPECT_EQ(aircraft.Surface(kLeftWing).area, 0.0f);
    EXPECT_EQ(aircraft.PitchRate(), 0.0f);
    EXPECT_FLOAT_EQ(aircraft.GetCG().y, 0.0f);
    EXPECT_FLOAT_EQ(aircraft.GetCG().z, 0.002f);
    // The last "Throttle" line counts, whatever follows its values.
    EXPECT_FLOAT_EQ(aircraft.ThrottleMax(), 2.0f);
}

TEST(AircraftDescription, ConvertsMetresDegreesAndNewtonsToModelUnits) {
    Parsed parsed(
        "Pitch -20 20 1\nRoll -15 10 2\nYaw -16 16 0.5\nThrottle 0 2000 0.1\n"
        "LeftWing 1000 500 -2000 -4 1.5 7\nInertia 1825 1285 2667\nMass 767\nFuel 10 150 0.02\n");
    const CFSAircraft& a = parsed.aircraft;
    EXPECT_FLOAT_EQ(a.PitchMin(), -20.0f * kRad);
    EXPECT_FLOAT_EQ(a.PitchMax(), 20.0f * kRad);
    // The travel (40 degrees) × k × 1.85.
    EXPECT_FLOAT_EQ(a.PitchRate(), 40.0f * kRad * 1.85f);
    EXPECT_FLOAT_EQ(a.RollRate(), 25.0f * kRad * 2.0f * 1.85f);
    EXPECT_FLOAT_EQ(a.YawRate(), 32.0f * kRad * 0.5f * 1.85f);
    EXPECT_EQ(a.ThrottleMin(), 0.0f);
    EXPECT_FLOAT_EQ(a.ThrottleMax(), 2.0f);
    EXPECT_FLOAT_EQ(a.ThrottleStep(), 0.2f);
    // (longitudinal, vertical, lateral) metres → body (x lateral, y forward, z up) km.
    const AircraftSurface& wing = a.Surface(kLeftWing);
    EXPECT_FLOAT_EQ(wing.position.x, -2.0f);
    EXPECT_FLOAT_EQ(wing.position.y, 1.0f);
    EXPECT_FLOAT_EQ(wing.position.z, 0.5f);
    EXPECT_FLOAT_EQ(wing.incidence, -4.0f * kRad);
    EXPECT_FLOAT_EQ(wing.dihedral, 1.5f * kRad);
    EXPECT_FLOAT_EQ(wing.area, 7e-6f);
    // Inertia is written in body axis order already.
    EXPECT_FLOAT_EQ(a.GetInertia().x, 1825e-6f);
    EXPECT_FLOAT_EQ(a.GetInertia().y, 1285e-6f);
    EXPECT_FLOAT_EQ(a.GetInertia().z, 2667e-6f);
    EXPECT_EQ(a.GetMass(), 767.0f);
    EXPECT_EQ(a.FuelReserve(), 10.0f);
    EXPECT_EQ(a.FuelCapacity(), 150.0f);
    EXPECT_FLOAT_EQ(a.FuelFlow(), 0.02f);
}

TEST(AircraftDescription, PositionsEndUpRelativeToTheCentreOfGravityAndTheTankFull) {
    LoadedAircraft loaded(
        "CG 1000 0 0\nRightWing 1000 0 3 0 0 7\nElevator -4000 200 0 0 0 1\n"
        "Mass 700\nFuel 10 120 0.02\n",
        0.0f);
    EXPECT_FLOAT_EQ(loaded->GetCG().y, 1.0f);
    EXPECT_EQ(loaded->Surface(kRightWing).position.y, 0.0f);
    EXPECT_FLOAT_EQ(loaded->Surface(kRightWing).position.x, 0.003f);
    EXPECT_FLOAT_EQ(loaded->Surface(kElevator).position.y, -5.0f);
    EXPECT_FLOAT_EQ(loaded->Surface(kElevator).position.z, 0.2f);
    EXPECT_EQ(loaded->GetMass(), 820.0f);
    EXPECT_EQ(loaded->Fuel(), 120.0f);
    // A second "CG" line replaces the first rather than scaling it twice.
    Parsed twice("CG 1000 0 0\nCG 2000 100 -50\n");
    EXPECT_FLOAT_EQ(twice.aircraft.GetCG().y, 2.0f);
    EXPECT_FLOAT_EQ(twice.aircraft.GetCG().z, 0.1f);
    EXPECT_FLOAT_EQ(twice.aircraft.GetCG().x, -0.05f);
}

TEST(AircraftDescription, ShortCommentedAndUnknownLines) {
    Parsed parsed("RightWing 1000 2000 3000 4\nLeftWing 1 1 1 1 1 1\nLeftWing 0 0 -3000 -2 0 6\n");
    CFSAircraft& a = parsed.aircraft;
    // Four values: no dihedral and no area, so the plate gives no force.
    EXPECT_FLOAT_EQ(a.Surface(kRightWing).incidence, 4.0f * kRad);
    EXPECT_EQ(a.Surface(kRightWing).dihedral, 0.0f);
    EXPECT_EQ(a.Surface(kRightWing).area, 0.0f);
    // A second line for a plate replaces the whole record.
    EXPECT_FLOAT_EQ(a.Surface(kLeftWing).position.x, -3.0f);
    EXPECT_EQ(a.Surface(kLeftWing).position.y, 0.0f);
    EXPECT_FLOAT_EQ(a.Surface(kLeftWing).area, 6e-6f);

    EXPECT_TRUE(a.ParseLine("// FuselageNose 1000 0 0 0 0 5"));
    EXPECT_TRUE(a.ParseLine("#FuselageNose is the front of the fuselage"));
    EXPECT_TRUE(a.ParseLine("Mass 500"));
    // "//" joined to a keyword is an unknown keyword; keywords are case-sensitive.
    EXPECT_FALSE(a.ParseLine("//FuselageNose 1000 0 0 0 0 5"));
    EXPECT_FALSE(a.ParseLine("mass 900"));
    EXPECT_FALSE(a.ParseLine("FuselageNoseX 1000 0 0 0 0 5"));
    EXPECT_FALSE(a.ParseLine("Propeller 2.6 0 0"));
    EXPECT_FALSE(a.ParseLine(""));
    EXPECT_EQ(a.Surface(kFuselageNose).area, 0.0f);
    EXPECT_EQ(a.GetMass(), 500.0f);
    // Missing values read as 0.
    EXPECT_TRUE(a.ParseLine("Fuel 5"));
    EXPECT_EQ(a.FuelReserve(), 5.0f);
    EXPECT_EQ(a.FuelCapacity(), 0.0f);
    // A CR before the LF is white space.
    a.ParseText("Mass 767\r\nFuel 10 150 0.02\r\n");
    EXPECT_EQ(a.GetMass(), 767.0f);
    EXPECT_EQ(a.FuelCapacity(), 150.0f);
    // A null text block is a missing file; an empty one describes nothing.
    testing::internal::CaptureStderr();
    a.Parse(FSMemoryBlock());
    a.Parse(TextBlock(""));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("buffer is NULL! (File not found)"), std::string::npos);
    EXPECT_EQ(said.find("buffer is NULL!"), said.rfind("buffer is NULL!"));
}

TEST(AircraftDescription, TinyValuesAreZeroAsReadAndAfterConversion) {
    Parsed parsed(
        "Mass 0.000001\nFuel 0.00000099 -0.0000005 0.0000011\n"
        "Elevator 0.0009 2000 0 0.00005 0.00006 0.5\nInertia 0.5 1000 1000\nPitch 0 0.00005 1\n");
    const CFSAircraft& a = parsed.aircraft;
    // The test is made on the double as read: 0.000001 lies just above 1e-6 in single
    // precision widened, so it stays; the values below do not.
    EXPECT_EQ(a.GetMass(), 1e-6f);
    EXPECT_EQ(a.FuelReserve(), 0.0f);
    EXPECT_EQ(a.FuelCapacity(), 0.0f);
    EXPECT_FLOAT_EQ(a.FuelFlow(), 1.1e-6f);
    const AircraftSurface& elevator = a.Surface(kElevator);
    // 0.0009 m = 9e-7 km, 0.00005 degrees = 8.7e-7 rad: zero after conversion.
    EXPECT_EQ(elevator.position.y, 0.0f);
    EXPECT_FLOAT_EQ(elevator.position.z, 2.0f);
    EXPECT_EQ(elevator.incidence, 0.0f);
    EXPECT_FLOAT_EQ(elevator.dihedral, 0.00006f * kRad);
    // A small plate keeps its area (areas are plain products, 0.5 m² = 5e-7 km²).
    EXPECT_FLOAT_EQ(elevator.area, 5e-7f);
    // 0.5 kg·m² is below the rule in km²: that axis has no inertia, so nothing turns.
    EXPECT_EQ(a.GetInertia().x, 0.0f);
    EXPECT_EQ(a.PitchMax(), 0.0f);
    EXPECT_EQ(a.PitchRate(), 0.0f);
}

}  // namespace
