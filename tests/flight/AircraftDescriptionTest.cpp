// The description reader: unit conversions, the near-zero rule, odd lines, damaged and
// missing files. Descriptions are written here and packed by Info-ZIP's zip with the
// game's password, as the data build packs the real ones.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FlightTestSupport.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using flight_test::LoadedAircraft;
using flight_test::Near;

namespace {

constexpr float kRad = 0.017453292f;

// "Aircraft3.txt" random bytes and "Aircraft4.txt" empty, packed with the game's password;
// the path of the archive, or empty without Info-ZIP's zip.
const std::string& TestArchive() {
    static const std::string archive = [] {
        using namespace image_test_files;
        const std::string folder = testing_support::MakeTempFolder("aircrafts");
        const bool made = WriteText(folder + "Aircraft3.txt", RandomBytes(5000, 7)) &&
                          WriteText(folder + "Aircraft4.txt", "") &&
                          ZipWithPassword(folder, folder + "aircrafts.zip", "Aircraft3.txt Aircraft4.txt");
        return made ? folder + "aircrafts.zip" : std::string();
    }();
    return archive;
}

// An aircraft at altitude 1 km loaded with Load from the test archive.
struct Loaded : LoadedAircraft {
    explicit Loaded(const std::string& member) : LoadedAircraft("", 1.0f) {
        aircraft->SetDescriptionArchive(TestArchive());
        aircraft->Load(member);
    }
};

TEST(AircraftArchive, MissingEmptyAndDamagedFilesLoadIntoAnAircraftThatStaysFinite) {
    ASSERT_FALSE(TestArchive().empty()) << "Info-ZIP zip is needed";
    for (const std::string member : {"Aircraft9.txt", "Aircraft4.txt", "Aircraft3.txt"}) {
        testing::internal::CaptureStderr();
        Loaded loaded(member);
        // Only the missing file is reported; an empty one just describes nothing.
        const bool reported = testing::internal::GetCapturedStderr().find(
                                  "buffer is NULL! (File not found)") != std::string::npos;
        EXPECT_EQ(reported, member == "Aircraft9.txt");
        const FSFixedVector at = loaded.node->GetPosition();
        const FSQuaternion facing = loaded.node->GetOrientation();
        for (int i = 0; i < 20; ++i)
            loaded->Integrate(0.2f);
        const FSVector v = loaded->GetVelocity();
        EXPECT_TRUE(std::isfinite(v.x + v.y + v.z + loaded->GetMass())) << member;
        // No mass, inertia or plates: it neither flies nor turns.
        if (member == "Aircraft3.txt") continue;
        EXPECT_EQ(loaded->GetMass() + loaded->Surface(kLeftWing).area, 0.0f);
        EXPECT_EQ(loaded->GetInertia(), FSVector());
        EXPECT_EQ(loaded.node->GetPosition(), at);
        EXPECT_EQ(loaded.node->GetOrientation(), facing);
    }
}

TEST(AircraftDescription, NumbersBeyondSinglePrecisionReadAsZeroAndTheAircraftStaysFinite) {
    LoadedAircraft a(
        "Mass nan\nInertia inf -inf 1e400\nFuel 1e39 -1e39 1e-400\nCG 1e300 2 3\nLeftWing 0 0 -3 -4 0 nan\n"
        "RightWing 0 0 3 -4 0 7\nPitch -20 20 inf\nThrottle 1e38 3e38 10\nThrottle 0 2000 0.1" +
            std::string(100000, ' ') + "junk",
        1.0f);
    EXPECT_EQ(a->GetInertia(), FSVector());
    EXPECT_EQ(a->FuelReserve() + a->FuelCapacity() + a->GetMass() + a->PitchRate(), 0.0f);
    EXPECT_EQ(a->Surface(kLeftWing).area, 0.0f);
    EXPECT_TRUE(Near(a->GetCG(), FSVector(0.003f, 0.0f, 0.002f)));
    // The last "Throttle" line counts, whatever follows its values.
    EXPECT_FLOAT_EQ(a->ThrottleMax(), 2.0f);
    for (int i = 0; i < 20; ++i)
        a->Integrate(0.2f);
    const FSVector v = a->GetVelocity();
    const FSQuaternion q = a.node->GetOrientation();
    EXPECT_TRUE(std::isfinite(v.x + v.y + v.z + q.w + q.x + q.y + q.z));
}

TEST(AircraftDescription, ConvertsToModelUnitsRelativeToTheCentreOfGravityAndFillsTheTank) {
    // At altitude 0 nothing trims it.
    LoadedAircraft a(
        "Pitch -20 25 1\nRoll -15 10 2\nYaw -16 16 0\nThrottle 500 2000 0.1\nCG 1000 0 0\n"
        "LeftWing 1000 500 -2000 -4 1.5 7\nElevator -4000 200 0 0 0 1\nInertia 1825 1285 2667\nMass 767\n"
        "Fuel 10 150 0.02\n",
        0.0f);
    EXPECT_FLOAT_EQ(a->PitchMin(), -20.0f * kRad);
    EXPECT_FLOAT_EQ(a->PitchMax(), 25.0f * kRad);
    EXPECT_FLOAT_EQ(a->RollMin(), -15.0f * kRad);
    EXPECT_FLOAT_EQ(a->RollMax(), 10.0f * kRad);
    EXPECT_GT(a->PitchRate(), 0.0f);
    EXPECT_EQ(a->YawRate(), 0.0f);  // a rate factor of 0: the keys do not move the rudder
    EXPECT_FLOAT_EQ(a->ThrottleMin(), 0.5f);
    EXPECT_FLOAT_EQ(a->ThrottleMax(), 2.0f);
    // (longitudinal, vertical, lateral) metres → body (x lateral, y forward, z up) km,
    // relative to the centre of gravity.
    EXPECT_TRUE(Near(a->GetCG(), FSVector(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(Near(a->Surface(kLeftWing).position, FSVector(-2.0f, 0.0f, 0.5f)));
    EXPECT_TRUE(Near(a->Surface(kElevator).position, FSVector(0.0f, -5.0f, 0.2f)));
    EXPECT_FLOAT_EQ(a->Surface(kLeftWing).incidence, -4.0f * kRad);
    EXPECT_FLOAT_EQ(a->Surface(kLeftWing).dihedral, 1.5f * kRad);
    EXPECT_FLOAT_EQ(a->Surface(kLeftWing).area, 7e-6f);
    // Inertia is written in body axis order already.
    EXPECT_TRUE(Near(a->GetInertia(), FSVector(1825e-6f, 1285e-6f, 2667e-6f), 1e-9f));
    EXPECT_EQ(a->GetMass(), 767.0f + 150.0f);
    EXPECT_EQ(a->Fuel(), 150.0f);
    EXPECT_EQ(a->FuelReserve(), 10.0f);
    EXPECT_FLOAT_EQ(a->FuelFlow(), 0.02f);
    // A second "CG" line replaces the first, as a second plate line does, rather than
    // adding its metres to the first line's kilometres.
    a->ParseText("CG 1000 0 0\nCG 2000 100 -50\n");
    EXPECT_TRUE(Near(a->GetCG(), FSVector(-0.05f, 2.0f, 0.1f)));
}

TEST(AircraftDescription, ShortCommentedAndUnknownLines) {
    LoadedAircraft a("", 0.0f);
    a->ParseText("RightWing 1000 2000 3000 4\nLeftWing 1 1 1 1 1 1\nLeftWing 0 0 -3000 -2 0 6\n");
    // Four values: no dihedral and no area, so the plate gives no force. A second line for
    // a plate replaces the whole record.
    EXPECT_FLOAT_EQ(a->Surface(kRightWing).incidence, 4.0f * kRad);
    EXPECT_EQ(a->Surface(kRightWing).dihedral + a->Surface(kRightWing).area, 0.0f);
    EXPECT_TRUE(Near(a->Surface(kLeftWing).position, FSVector(-3.0f, 0.0f, 0.0f)));
    EXPECT_FLOAT_EQ(a->Surface(kLeftWing).area, 6e-6f);
    // "//" joined to a keyword is an unknown keyword; keywords are case-sensitive; missing
    // values read as 0.
    for (const char* known :
         {"// FuselageNose 1000 0 0 0 0 5", "#FuselageNose is the nose", "Mass 500", "Fuel 5"})
        EXPECT_TRUE(a->ParseLine(known)) << known;
    for (const char* unknown :
         {"//FuselageNose 1000 0 0 0 0 5", "mass 900", "FuselageNoseX 1 0 0 0 0 5", "Propeller 2.6 0 0", ""})
        EXPECT_FALSE(a->ParseLine(unknown)) << unknown;
    EXPECT_EQ(a->Surface(kFuselageNose).area, 0.0f);
    EXPECT_EQ(a->GetMass(), 500.0f);
    EXPECT_EQ(a->FuelReserve(), 5.0f);
    EXPECT_EQ(a->FuelCapacity(), 0.0f);
    // A null text block is a missing file; an empty one describes nothing.
    testing::internal::CaptureStderr();
    a->Parse(FSMemoryBlock());
    a->Parse(flight_test::TextBlock(""));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("buffer is NULL! (File not found)"), std::string::npos);
    EXPECT_EQ(said.find("buffer is NULL!"), said.rfind("buffer is NULL!"));
}

TEST(AircraftDescription, TinyValuesAreZeroAsReadAndAfterConversion) {
    LoadedAircraft a("", 0.0f);
    a->ParseText(
        "Mass 0.000001\nFuel 0.00000099 -0.0000005 0.0000011\n"
        "Elevator 0.0009 2000 0 0.00005 0.00006 0.5\nInertia 0.5 1000 1000\nPitch 0 0.00005 1\n");
    // The test is made on the double as read: 0.000001 lies just above 1e-6 in single
    // precision widened, so it stays; the values below do not.
    EXPECT_EQ(a->GetMass(), 1e-6f);
    EXPECT_EQ(a->FuelReserve() + a->FuelCapacity(), 0.0f);
    EXPECT_FLOAT_EQ(a->FuelFlow(), 1.1e-6f);
    // 0.0009 m = 9e-7 km, 0.00005 degrees = 8.7e-7 rad: zero after conversion. A small
    // plate keeps its area (areas are plain products, 0.5 m² = 5e-7 km²).
    const AircraftSurface& elevator = a->Surface(kElevator);
    EXPECT_EQ(elevator.position, FSVector(0.0f, 0.0f, 2.0f));
    EXPECT_EQ(elevator.incidence, 0.0f);
    EXPECT_FLOAT_EQ(elevator.dihedral, 0.00006f * kRad);
    EXPECT_FLOAT_EQ(elevator.area, 5e-7f);
    // 0.5 kg·m² is below the rule in km²: that axis has no inertia, so nothing turns.
    EXPECT_EQ(a->GetInertia().x, 0.0f);
    EXPECT_EQ(a->PitchMax() + a->PitchRate(), 0.0f);
}

}  // namespace
