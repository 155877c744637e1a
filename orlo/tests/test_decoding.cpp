#include "Profile.h"
#include "RecordEntry.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QColor>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using KAVO::Profile;
using KAVO::ProfileParameter;
using KAVO::RecordEntry;

namespace {

const QColor White(255, 255, 255, 255);
const QColor Green("#00c000");
const QColor Yellow("#ffff00");
const QColor Red("#ff0000");
const QColor Orange("#ff8000");

// Enumerations: 1 "States" (0 Off, 10 Ready, 65535 All), 2 "Empty".
// Threshold sets: 1 "Levels" (0 OK, 100 WARNING, 120 LIMIT), 2 "Fine" (1.1 WARNING).
const char* const DecodeProfile = R"(<BrevantoProfile name="decode">
  <EnumList>
    <Enum name="States"><Value val="0" label="Off"/><Value val="10" label="Ready"/><Value val="65535" label="All"/></Enum>
    <Enum name="Empty"/>
  </EnumList>
  <ThresholdList>
    <Threshold name="Levels">
      <Value val="0" color="#00c000" state="OK"/>
      <Value val="100" color="#ffff00" state="WARNING"/>
      <Value val="120" color="#ff0000" state="LIMIT"/>
    </Threshold>
    <Threshold name="Fine"><Value val="1.1" color="#ff8000" state="WARNING"/></Threshold>
  </ThresholdList>
</BrevantoProfile>)";

class DecodingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        testsupport::TempDir dir;
        ASSERT_TRUE(testsupport::loadProfileText(dir.path(), DecodeProfile, "decode.xml"));
        ASSERT_EQ(Profile::instance()->data().mEnums.size(), 2u);
        ASSERT_EQ(Profile::instance()->data().mThresholds.size(), 2u);
    }
};

// A record whose bytes from `start` are `bytes`, with the message's own
// data-type byte set afterwards.
RecordEntry makeRecord(int start, const std::vector<uint8_t>& bytes, int messageType)
{
    RecordEntry e;
    auto* raw = reinterpret_cast<unsigned char*>(&e);
    std::memcpy(raw + start, bytes.data(), bytes.size());
    raw[1] = static_cast<unsigned char>(messageType);
    return e;
}

ProfileParameter makeParameter(int type, int start, double factor = 1.0, double offset = 0.0, int startBit = 0,
                               int endBit = 0, int enumId = 0, int thresholdId = 0)
{
    ProfileParameter p;
    p.mDataType = type;
    p.mStartByte = start;
    p.mFactor = factor;
    p.mOffset = offset;
    p.mStartBit = startBit;
    p.mEndBit = endBit;
    p.mEnumId = enumId;
    p.mThresholdId = thresholdId;
    return p;
}

struct ValueCase
{
    const char* what;
    int type;
    int start;
    std::vector<uint8_t> bytes;
    double factor;
    double offset;
    double raw;     // getDouble unscaled
    double scaled;  // getDouble scaled
    const char* text;
    int startBit = 0;
    int endBit = 0;
    int enumId = 0;
};

TEST_F(DecodingTest, EveryDecodedTypeGivesItsNumbersAndText)
{
    const std::vector<ValueCase> cases = {
        // FLOAT: the float, scaled in double; text in 12 significant digits of the single-precision value
        {"float 50 f2 o1", Profile::TYPE_FLOAT, 4, {0x42, 0x48, 0x00, 0x00}, 2, 1, 50, 101, "101"},
        {"float 1.1", Profile::TYPE_FLOAT, 4, {0x3F, 0x8C, 0xCC, 0xCD}, 1, 0, 1.100000023841858, 1.100000023841858,
         "1.10000002384"},
        {"float -50 f0.5", Profile::TYPE_FLOAT, 4, {0xC2, 0x48, 0x00, 0x00}, 0.5, 0, -50, -25, "-25"},
        {"float at last byte", Profile::TYPE_FLOAT, 24, {0x42, 0x48, 0x00, 0x00}, 1, 0, 50, 50, "50"},
        // NMEA: ddmm.mmmm to degrees; the text goes through single precision
        {"nmea north", Profile::TYPE_NMEA, 4, {0x45, 0x96, 0x38, 0x4E}, 1, 0, 48.117301432291669, 48.117301432291669,
         "48.1173019409"},
        {"nmea west", Profile::TYPE_NMEA, 4, {0xC6, 0x3F, 0x1A, 0x00}, 1, 0, -122.50833333333334,
         -122.50833333333334, "-122.508331299"},
        // LONG/ULONG: numbers pass through single precision, texts do not
        {"long max", Profile::TYPE_LONG, 4, {0x7F, 0xFF, 0xFF, 0xFF}, 1, 0, 2147483648.0, 2147483648.0,
         "2147483647"},
        {"long negative", Profile::TYPE_LONG, 4, {0xFF, 0xFF, 0xFF, 0xFE}, 1, 0, -2, -2, "-2"},
        {"long degrees", Profile::TYPE_LONG, 4, {0x1C, 0x40, 0x52, 0x4C}, 1e-7, 0, 473977408, 473977408 * 1e-7,
         "47.397742"},
        {"ulong all bits", Profile::TYPE_ULONG, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1, 0, 4294967296.0, 4294967296.0,
         "4294967295"},
        {"ulong hours", Profile::TYPE_ULONG, 4, {0x00, 0x00, 0x0E, 0x10}, 0.5, 10, 3600, 1810, "1810"},
        // SHORT/USHORT and their pairs: the same two bytes, both signs
        {"short -2 f0.5", Profile::TYPE_SHORT, 4, {0xFF, 0xFE}, 0.5, 0, -2, -1, "-1"},
        {"short positive", Profile::TYPE_SHORT, 4, {0x01, 0x2C}, 0.01, 0, 300, 3, "3"},
        {"ushort 65534", Profile::TYPE_USHORT, 4, {0xFF, 0xFE}, 1, 0, 65534, 65534, "65534"},
        {"ushort offset", Profile::TYPE_USHORT, 4, {0x03, 0xE8}, 0.1, -40, 1000, 60, "60"},
        {"short_2 second value", Profile::TYPE_SHORT_2, 6, {0x80, 0x00}, 1, 0, -32768, -32768, "-32768"},
        {"ushort_2 second value", Profile::TYPE_USHORT_2, 6, {0x80, 0x00}, 1, 0, 32768, 32768, "32768"},
        // CHAR/UCHAR families: scaled, truncated toward zero, then the low 8
        // bits (signed for CHAR); only the step to an integer is bounded
        {"char -128", Profile::TYPE_CHAR, 4, {0x80}, 1, 0, -128, -128, "-128"},
        {"char -256 keeps low byte", Profile::TYPE_CHAR, 4, {0x80}, 2, 0, -128, -256, "0"},
        {"char 254 wraps", Profile::TYPE_CHAR, 4, {0x7F}, 2, 0, 127, 254, "-2"},
        {"char 200 wraps", Profile::TYPE_CHAR, 4, {0x64}, 2, 0, 100, 200, "-56"},
        {"char truncated", Profile::TYPE_CHAR, 4, {0xFB}, 1, 0.5, -5, -4.5, "-4"},
        {"char_4 last byte", Profile::TYPE_CHAR_4, 7, {0xFF}, 1, 0, -1, -1, "-1"},
        {"char_2", Profile::TYPE_CHAR_2, 5, {0x05}, 3, 0, 5, 15, "15"},
        {"char_3", Profile::TYPE_CHAR_3, 6, {0xF6}, 1, 0, -10, -10, "-10"},
        {"uchar 200", Profile::TYPE_UCHAR, 4, {0xC8}, 1, 0, 200, 200, "200"},
        {"uchar 400 keeps low byte", Profile::TYPE_UCHAR, 4, {0xC8}, 2, 0, 200, 400, "144"},
        {"uchar -16 keeps low byte", Profile::TYPE_UCHAR, 4, {0x10}, -1, 0, 16, -16, "240"},
        {"uchar_3 599.9 truncated first", Profile::TYPE_UCHAR_3, 4, {0xC8}, 3, -0.1, 200, 599.9, "87"},
        // beyond 32 bits the integer step stops at its range: 0x7FFFFFFF, 0x80000000
        {"uchar beyond 32 bits", Profile::TYPE_UCHAR, 4, {0xFF}, 1e12, 0, 255, 255e12, "255"},
        {"char beyond 32 bits", Profile::TYPE_CHAR_2, 4, {0x80}, 1e12, 0, -128, -128e12, "0"},
        {"uchar truncated", Profile::TYPE_UCHAR, 4, {0xFA}, 0.4, 0, 250, 100.00000000000001, "100"},
        {"uchar_4", Profile::TYPE_UCHAR_4, 5, {0xFF}, 1, 0, 255, 255, "255"},
        {"uchar_2", Profile::TYPE_UCHAR_2, 4, {0x80}, 1, 0, 128, 128, "128"},
        {"uchar_3", Profile::TYPE_UCHAR_3, 6, {0x3B}, 1, 0, 59, 59, "59"},
        // LONG48: six bytes, exact in double; the text keeps 12 digits
        {"long48", Profile::TYPE_LONG48, 2, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, 1, 0, 1108152157446.0,
         1108152157446.0, "1.10815215745e+12"},
        {"long48 small scaled", Profile::TYPE_LONG48, 2, {0, 0, 0, 0, 0x03, 0xE8}, 0.5, 1, 1000, 501, "501"},
        {"long48 at last bytes", Profile::TYPE_LONG48, 22, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1, 0,
         281474976710655.0, 281474976710655.0, "2.81474976711e+14"},
        // Bit fields: never scaled
        {"blong 4..7", Profile::TYPE_BLONG, 4, {0x00, 0x00, 0x00, 0xA5}, 3, 7, 10, 10, "10: Ready", 4, 7, 1},
        {"blong value missing", Profile::TYPE_BLONG, 4, {0x00, 0x00, 0x00, 0xA5}, 1, 0, 5, 5,
         "5: Invalid ENUM Value", 0, 3, 1},
        {"blong enum empty", Profile::TYPE_BLONG, 4, {0x00, 0x00, 0x00, 0xA5}, 1, 0, 10, 10,
         "10: Invalid ENUM Value", 4, 7, 2},
        {"blong no enum", Profile::TYPE_BLONG, 4, {0x00, 0x00, 0x00, 0xA5}, 1, 0, 10, 10,
         "10: Invalid ENUM Type", 4, 7, 0},
        {"blong unknown enum", Profile::TYPE_BLONG, 4, {0x00, 0x00, 0x00, 0xA5}, 1, 0, 10, 10,
         "10: Invalid ENUM Type", 4, 7, 99},
        {"blong full width", Profile::TYPE_BLONG, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1, 0, 4294967295.0, 4294967295.0,
         "4294967295: Invalid ENUM Type", 0, 31, 0},
        {"blong bit 31", Profile::TYPE_BLONG, 4, {0x80, 0x00, 0x00, 0x00}, 1, 0, 1, 1, "1: Invalid ENUM Type", 31,
         31, 0},
        {"blong upper 31 bits", Profile::TYPE_BLONG, 4, {0xFF, 0xFF, 0xFF, 0xFE}, 1, 0, 2147483647.0,
         2147483647.0, "2147483647: Invalid ENUM Type", 1, 31, 0},
        {"blong empty range", Profile::TYPE_BLONG, 4, {0xFF, 0xFF, 0xFF, 0xFF}, 1, 0, 0, 0, "0: Off", 5, 4, 1},
        {"bshort 12..15", Profile::TYPE_BSHORT, 4, {0xA5, 0xF0}, 1, 0, 10, 10, "10: Ready", 12, 15, 1},
        {"bshort no enum", Profile::TYPE_BSHORT, 4, {0xA5, 0xF0}, 1, 0, 10, 10, "10", 12, 15, 0},
        {"bshort value missing", Profile::TYPE_BSHORT, 4, {0xA5, 0xF0}, 1, 0, 15, 15, "15", 4, 7, 1},
        {"bshort full width", Profile::TYPE_BSHORT, 4, {0xFF, 0xFF}, 1, 0, 65535, 65535, "65535: All", 0, 15, 1},
    };

    Profile* profile = Profile::instance();
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordEntry e = makeRecord(c.start, c.bytes, c.type);
        const ProfileParameter p =
            makeParameter(c.type, c.start, c.factor, c.offset, c.startBit, c.endBit, c.enumId, 0);
        EXPECT_DOUBLE_EQ(profile->getDouble(e, p, false), c.raw);
        EXPECT_DOUBLE_EQ(profile->getDouble(e, p, true), c.scaled);
        QColor colour(1, 2, 3);
        EXPECT_EQ(profile->getDataString(e, p, colour), QString::fromUtf8(c.text));
        EXPECT_EQ(colour, White) << "no threshold set means white";
    }
}

TEST_F(DecodingTest, TypesWithoutDecoderSayNotImplemented)
{
    const int types[] = {Profile::TYPE_NODATA, Profile::TYPE_ERROR,   Profile::TYPE_BCHAR,  Profile::TYPE_BSHORT_2,
                         Profile::TYPE_BCHAR_4, Profile::TYPE_BCHAR_2, Profile::TYPE_MEMID,  Profile::TYPE_CHKSUM,
                         Profile::TYPE_ACHAR,  Profile::TYPE_ACHAR_2, Profile::TYPE_ACHAR_4, Profile::TYPE_BCHAR_3,
                         Profile::TYPE_ACHAR_3, 31, 69, 255};
    Profile* profile = Profile::instance();
    for (int type : types) {
        SCOPED_TRACE(type);
        const ProfileParameter p = makeParameter(type, 4, 2, 1, 0, 7, 1, 1);
        // The text names the message's own data-type byte, not the parameter's type.
        const RecordEntry e = makeRecord(4, {0x42, 0x48, 0, 0}, 21);
        QColor colour(1, 2, 3);
        EXPECT_EQ(profile->getDataString(e, p, colour), "Datatype 21 not implemented");
        EXPECT_EQ(colour, White);
        EXPECT_EQ(profile->getDouble(e, p, true), 0.0);
        EXPECT_EQ(profile->getDouble(e, p, false), 0.0);
    }
    // The byte is shown unsigned.
    const RecordEntry e = makeRecord(4, {0, 0, 0, 0}, 0xFF);
    QColor colour;
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_MEMID, 4), colour),
              "Datatype 255 not implemented");
}

TEST_F(DecodingTest, EightBitValuesBeyondEveryNumberStayDefined)
{
    // A factor that is no number shows 0; an infinite one the low byte of
    // the largest or smallest 32-bit integer.
    Profile* profile = Profile::instance();
    const RecordEntry e = makeRecord(4, {0xC8}, Profile::TYPE_UCHAR);
    QColor colour;
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_UCHAR, 4, std::nan("")), colour), "0");
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_CHAR, 4, std::nan("")), colour), "0");
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_UCHAR, 4, INFINITY), colour), "255");
    // As a CHAR the byte is -56: -inf reaches 0x80000000, +inf 0x7FFFFFFF.
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_CHAR, 4, INFINITY), colour), "0");
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_CHAR, 4, -INFINITY), colour), "-1");
}

struct ThresholdCase
{
    const char* what;
    int type;
    std::vector<uint8_t> bytes; // at start byte 4
    double factor;
    double offset;
    QColor colour;
    const char* text;
};

TEST_F(DecodingTest, ThresholdColoursAtBelowAndAboveEachLimit)
{
    // Levels: 0 green, 100 yellow, 120 red (raw units, scaled with the parameter).
    const std::vector<ThresholdCase> cases = {
        {"float -5", Profile::TYPE_FLOAT, {0xC0, 0xA0, 0, 0}, 1, 0, White, "-5"},
        {"float 0", Profile::TYPE_FLOAT, {0, 0, 0, 0}, 1, 0, Green, "0"},
        {"float 99.5", Profile::TYPE_FLOAT, {0x42, 0xC7, 0, 0}, 1, 0, Green, "99.5"},
        {"float 100", Profile::TYPE_FLOAT, {0x42, 0xC8, 0, 0}, 1, 0, Yellow, "100"},
        {"float 110", Profile::TYPE_FLOAT, {0x42, 0xDC, 0, 0}, 1, 0, Yellow, "110"},
        {"float 119.5", Profile::TYPE_FLOAT, {0x42, 0xEF, 0, 0}, 1, 0, Yellow, "119.5"},
        {"float 120", Profile::TYPE_FLOAT, {0x42, 0xF0, 0, 0}, 1, 0, Red, "120"},
        {"float 130", Profile::TYPE_FLOAT, {0x43, 0x02, 0, 0}, 1, 0, Red, "130"},
        // Limits scale too: factor 2, offset 10 puts them at 10, 210 and 250.
        {"float scaled below first", Profile::TYPE_FLOAT, {0xBF, 0x80, 0, 0}, 2, 10, White, "8"},
        {"float scaled at first", Profile::TYPE_FLOAT, {0, 0, 0, 0}, 2, 10, Green, "10"},
        {"float scaled at warning", Profile::TYPE_FLOAT, {0x42, 0xC8, 0, 0}, 2, 10, Yellow, "210"},
        {"float scaled below limit", Profile::TYPE_FLOAT, {0x42, 0xEF, 0, 0}, 2, 10, Yellow, "249"},
        {"float scaled at limit", Profile::TYPE_FLOAT, {0x42, 0xF0, 0, 0}, 2, 10, Red, "250"},
        // Integer types colour on the scaled double
        {"short 0.99", Profile::TYPE_SHORT, {0x00, 0x63}, 0.01, 0, Green, "0.99"},
        {"short 1", Profile::TYPE_SHORT, {0x00, 0x64}, 0.01, 0, Yellow, "1"},
        {"short 1.2", Profile::TYPE_SHORT, {0x00, 0x78}, 0.01, 0, Red, "1.2"},
        {"short -1", Profile::TYPE_SHORT, {0xFF, 0xFF}, 1, 0, White, "-1"},
        {"ulong 120", Profile::TYPE_ULONG, {0, 0, 0, 120}, 1, 0, Red, "120"},
        {"long48 119", Profile::TYPE_LONG48, {0, 0, 0, 0, 0, 119}, 1, 0, Yellow, "119"},
        // CHAR and UCHAR colour on the narrowed number
        {"uchar 99 f1.01", Profile::TYPE_UCHAR, {99}, 1.01, 0, Green, "99"},
        {"uchar 100", Profile::TYPE_UCHAR, {100}, 1, 0, Yellow, "100"},
        // The levels scale too (factor 2: 0, 200, 240): the scaled 400 would
        // be red, the shown 144 is green.
        {"uchar 400 shown 144", Profile::TYPE_UCHAR, {200}, 2, 0, Green, "144"},
        // Factor 3: 0, 300, 360; the scaled 300 would be yellow, the shown 44 is green.
        {"uchar 300 shown 44", Profile::TYPE_UCHAR, {100}, 3, 0, Green, "44"},
        // Factor 2: the scaled 130 would be green; as a CHAR it shows -126, below every level.
        {"char 130 shown -126", Profile::TYPE_CHAR, {65}, 2, 0, White, "-126"},
        {"char -128", Profile::TYPE_CHAR, {0x80}, 1, 0, White, "-128"},
        {"char 119.9 truncated", Profile::TYPE_CHAR, {119}, 1, 0.9, Yellow, "119"},
    };
    Profile* profile = Profile::instance();
    for (const ThresholdCase& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordEntry e = makeRecord(4, c.bytes, c.type);
        const ProfileParameter p = makeParameter(c.type, 4, c.factor, c.offset, 0, 0, 0, 1);
        QColor colour;
        EXPECT_EQ(profile->getDataString(e, p, colour), c.text);
        EXPECT_EQ(colour, c.colour) << colour.name().toStdString();
    }
}

TEST_F(DecodingTest, ColourAndStateCompareInSinglePrecision)
{
    // The float 1.1 lies just above the double limit 1.1.
    Profile* profile = Profile::instance();
    const RecordEntry e = makeRecord(4, {0x3F, 0x8C, 0xCC, 0xCD}, Profile::TYPE_FLOAT);
    const ProfileParameter p = makeParameter(Profile::TYPE_FLOAT, 4, 1, 0, 0, 0, 0, 2);
    QColor colour;
    EXPECT_EQ(profile->getDataString(e, p, colour), "1.10000002384");
    EXPECT_EQ(colour, Orange);
    EXPECT_EQ(profile->getState(e, p), 1);
    // 1.0999999 in single precision stays below it.
    const RecordEntry below = makeRecord(4, {0x3F, 0x8C, 0xCC, 0xCC}, Profile::TYPE_FLOAT);
    EXPECT_EQ(profile->getDataString(below, p, colour), "1.09999990463");
    EXPECT_EQ(colour, White);
    EXPECT_EQ(profile->getState(below, p), 0);
}

TEST_F(DecodingTest, StateFollowsTheLevelsOfFloatMessages)
{
    struct StateCase
    {
        float value;
        double factor;
        double offset;
        int state;
    };
    const StateCase cases[] = {
        {-5, 1, 0, 0},  {0, 1, 0, 0},     {99.5f, 1, 0, 0},  {100, 1, 0, 1},    {110, 1, 0, 1},
        {119.9f, 1, 0, 1}, {120, 1, 0, 2}, {130, 1, 0, 2},   {100, 2, 10, 1},   {119.5f, 2, 10, 1},
        {120, 2, 10, 2}, {100, 2, -10, 1}, {99.5f, 2, -10, 0},
    };
    Profile* profile = Profile::instance();
    for (const StateCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " f" << c.factor << " o" << c.offset);
        uint8_t b[4];
        uint32_t u;
        std::memcpy(&u, &c.value, 4);
        for (int i = 0; i < 4; ++i)
            b[i] = static_cast<uint8_t>(u >> (24 - 8 * i));
        const RecordEntry e = makeRecord(4, {b[0], b[1], b[2], b[3]}, Profile::TYPE_FLOAT);
        // The start byte is not used: the state always reads the message data.
        const ProfileParameter p = makeParameter(Profile::TYPE_FLOAT, 12, c.factor, c.offset, 0, 0, 0, 1);
        EXPECT_EQ(profile->getState(e, p), c.state);
    }

    const RecordEntry e = makeRecord(4, {0x43, 0x02, 0, 0}, Profile::TYPE_FLOAT); // 130
    EXPECT_EQ(profile->getState(e, makeParameter(Profile::TYPE_FLOAT, 4, 1, 0, 0, 0, 0, 0)), 0) << "no set";
    EXPECT_EQ(profile->getState(e, makeParameter(Profile::TYPE_FLOAT, 4, 1, 0, 0, 0, 0, 77)), 0) << "unknown set";
    const RecordEntry notFloat = makeRecord(4, {0x43, 0x02, 0, 0}, Profile::TYPE_LONG);
    EXPECT_EQ(profile->getState(notFloat, makeParameter(Profile::TYPE_FLOAT, 4, 1, 0, 0, 0, 0, 1)), 0)
        << "only FLOAT messages have a state";
}

TEST_F(DecodingTest, IntegerChoosesByTheMessageTypeByte)
{
    struct IntCase
    {
        int messageType;
        std::vector<uint8_t> bytes;
        int startBit;
        int endBit;
        int expected;
    };
    const std::vector<IntCase> cases = {
        {3, {0xFF, 0xFF, 0xFF, 0xFE}, 0, 0, -2},   {4, {0xFF, 0xFF, 0xFF, 0xFE}, 0, 0, -2},
        {5, {0x00, 0x00, 0x00, 0xA5}, 4, 7, 10},   {5, {0xFF, 0xFF, 0xFF, 0xFF}, 0, 31, -1},
        {5, {0xFF, 0xFF, 0xFF, 0xFF}, 3, 2, 0},    {6, {0xFF, 0xFE}, 0, 0, -2},
        {12, {0xFF, 0xFE}, 0, 0, -2},              {7, {0xFF, 0xFE}, 0, 0, 65534},
        {13, {0xFF, 0xFE}, 0, 0, 65534},           {8, {0xA5, 0xF0}, 12, 15, 10},
        {8, {0xFF, 0xFF}, 0, 15, 65535},           {8, {0xFF, 0xFF}, 16, 20, 0},
        {9, {0x80}, 0, 0, -128},                   {15, {0x80}, 0, 0, -128},
        {18, {0x80}, 0, 0, -128},                  {26, {0x80}, 0, 0, -128},
        {10, {0x80}, 0, 0, 128},                   {16, {0x80}, 0, 0, 128},
        {19, {0x80}, 0, 0, 128},                   {27, {0x80}, 0, 0, 128},
        {2, {0x42, 0x48, 0, 0}, 0, 0, 0},          {30, {1, 2, 3, 4}, 0, 0, 0},
        {70, {0x45, 0x96, 0x3A, 0x4E}, 0, 0, 0},   {21, {1, 2, 3, 4}, 0, 0, 0},
    };
    Profile* profile = Profile::instance();
    for (const IntCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.messageType << " expected " << c.expected);
        const RecordEntry e = makeRecord(4, c.bytes, c.messageType);
        // The parameter's own data type does not matter.
        const ProfileParameter p = makeParameter(Profile::TYPE_FLOAT, 4, 100, 5, c.startBit, c.endBit);
        EXPECT_EQ(profile->getInt(e, p), c.expected);
    }
}

TEST_F(DecodingTest, NothingIsReadOutsideTheRecord)
{
    // Hand-built parameters that the loader would reject decode as 0 (ASan
    // reports any read past the 28-byte copy).
    Profile* profile = Profile::instance();
    RecordEntry e = makeRecord(4, {0xFF, 0xFF, 0xFF, 0xFF}, Profile::TYPE_LONG);
    QColor colour;
    const int types[] = {Profile::TYPE_FLOAT, Profile::TYPE_NMEA,  Profile::TYPE_LONG,   Profile::TYPE_ULONG,
                         Profile::TYPE_BLONG, Profile::TYPE_SHORT, Profile::TYPE_USHORT, Profile::TYPE_BSHORT,
                         Profile::TYPE_CHAR,  Profile::TYPE_UCHAR, Profile::TYPE_LONG48};
    for (int type : types) {
        for (int start : {-1, 28 - Profile::dataTypeWidth(type) + 1, 1000}) {
            SCOPED_TRACE(testing::Message() << "type " << type << " start " << start);
            const ProfileParameter p = makeParameter(type, start, 1, 0, 0, 31);
            EXPECT_EQ(profile->getDouble(e, p, true), 0.0);
            profile->getDataString(e, p, colour);
        }
    }
    // getInt reads by the message's type byte: a one-byte parameter at byte 27
    // must not read a 32-bit word.
    for (int messageType : {3, 4, 5, 6, 7, 8, 12, 13}) {
        SCOPED_TRACE(messageType);
        reinterpret_cast<unsigned char*>(&e)[1] = static_cast<unsigned char>(messageType);
        EXPECT_EQ(profile->getInt(e, makeParameter(Profile::TYPE_CHAR, 27, 1, 0, 0, 31)), 0);
    }
    // Bit ranges outside the word give 0 instead of shifting by 32 or more.
    const RecordEntry word = makeRecord(4, {0xFF, 0xFF, 0xFF, 0xFF}, Profile::TYPE_BLONG);
    for (auto bits : {std::pair<int, int>{32, 40}, {0, 32}, {-1, 3}, {10, 2}}) {
        SCOPED_TRACE(testing::Message() << bits.first << ".." << bits.second);
        const ProfileParameter p = makeParameter(Profile::TYPE_BLONG, 4, 1, 0, bits.first, bits.second);
        EXPECT_EQ(profile->getDouble(word, p, false), 0.0);
        EXPECT_EQ(profile->getInt(word, p), 0);
    }
}

TEST_F(DecodingTest, EntryFieldsBeyondThePayloadDecodeByPosition)
{
    // A pseudo-id copy holds channel and CAN id big-endian at bytes 10 and 12.
    RecordEntry e = makeRecord(10, {0x00, 0x01, 0x00, 0x00, 0x01, 0x00}, Profile::TYPE_FLOAT);
    Profile* profile = Profile::instance();
    QColor colour;
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_USHORT, 10), colour), "1");
    EXPECT_EQ(profile->getDataString(e, makeParameter(Profile::TYPE_ULONG, 12), colour), "256");
    const RecordEntry before = e;
    profile->getDouble(e, makeParameter(Profile::TYPE_ULONG, 12), true);
    EXPECT_EQ(std::memcmp(&before, &e, RecordEntry::RecordSize), 0) << "the entry stays as it was";
}

TEST_F(DecodingTest, EnumValueTextIsEmpty)
{
    EXPECT_EQ(Profile::instance()->getEnumValue(1, 10), QString());
}

} // namespace
