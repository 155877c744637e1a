#include "Profile.h"
#include "ProfileUid.h"
#include "StdoutCapture.h"
#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using KAVO::FaultMatrix;
using KAVO::Profile;
using KAVO::ProfileDevice;
using KAVO::ProfileInfo;
using KAVO::ProfileParameter;
using KAVO::RecordEntry;
using testsupport::StdoutCapture;
using testsupport::TempDir;

namespace {

class ProfileTest : public ::testing::Test
{
protected:
    // Writes the text as a profile file and loads it; the load's output is kept.
    bool load(const QString& xml, const QString& name = "profile.xml")
    {
        const QString path = mDir.file(name);
        EXPECT_TRUE(testsupport::writeFile(path, xml.toUtf8()));
        StdoutCapture capture;
        const bool ok = Profile::instance()->loadProfile(path);
        mOutput = capture.text();
        return ok;
    }

    static ProfileInfo& info() { return Profile::instance()->data(); }

    static const ProfileDevice& device(int id)
    {
        static const ProfileDevice none;
        const auto it = info().mDevices.find(id);
        return it == info().mDevices.end() ? none : it->second;
    }

    // The device's parameters in their order.
    static std::vector<ProfileParameter> parameters(int deviceId)
    {
        std::vector<ProfileParameter> list;
        for (const auto& p : device(deviceId).mParameters)
            list.push_back(p.second);
        return list;
    }

    static bool isEmpty()
    {
        const ProfileInfo& i = info();
        const Profile::KmlInfo& k = Profile::instance()->kmlInfo();
        return i.mName.isEmpty() && i.mDevices.empty() && i.mEnums.empty() && i.mUnits.empty() &&
               i.mThresholds.empty() && i.mFaultMatrices.empty() && k.latitudeChannel == 0 && k.latitudeId == 0 &&
               k.longitudeChannel == 0 && k.longitudeId == 0 && k.altitudeChannel == 0 && k.altitudeId == 0 &&
               Profile::instance()->parameterByCanId(500) == nullptr;
    }

    TempDir mDir;
    QString mOutput;
};

const char* const FullProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<BrevantoProfile name="Test profile">
  <UnitList>
    <Unit code="1" acronym="rpm" name="Revolutions"/>
    <Unit code="0x2" acronym="bar" name="Bar"/>
    <Unit code="1" acronym="RPM" name="Later unit"/>
    <Unit acronym="none"/>
  </UnitList>
  <EnumList>
    <Enum name="Lamp"><Value val="0" label="Off"/><Value val="1" label="On"/><Value val="1" label="Lit"/></Enum>
  </EnumList>
  <ThresholdList>
    <Threshold name="Levels">
      <Value val="0" color="#00ff00" state="OK"/>
      <Value val="100" color="#ffff00" state="WARNING"/>
      <Value val="120.5" color="#ff0000" state="LIMIT"/>
      <Value val="200" color="" state="Limit"/>
      <Value/>
    </Threshold>
  </ThresholdList>
  <Device name="Engine">
    <Parameter name="Speed" unit="rpm" viewId="rpm" id="0x1F4" channel="1" startByte="4" offset="-5" factor="2"
               dataType="FLOAT" thresholdId="Levels" kmlId="Latitude"/>
    <Parameter name="Lamp" id="501" startByte="4" startBit="2" endBit="3" dataType="BLONG" enumId="Lamp"
               errorType="Fault"/>
    <Parameter name="Later names" id="502" dataType="USHORT" enumId="Later" thresholdId="Later Levels"
               errorType="fault"/>
    <Parameter name="Defaults" factor="" offset="" id="" dataType="NOSUCHTYPE"/>
    <Unknown name="ignored"/>
  </Device>
  <EnumList>
    <Enum name="Later"><Value val="7" label="Seven"/></Enum>
    <Enum name="Lamp"><Value val="2" label="Other"/></Enum>
  </EnumList>
  <ThresholdList><Threshold name="Later Levels"><Value val="1" color="#123456" state="LIMIT"/></Threshold></ThresholdList>
  <Device name="GPS">
    <Parameter name="Lat" id="0x300" channel="2" startByte="4" dataType="LONG" kmlId="Longitude" enumId="Later"
               errorType="Info"/>
    <Parameter name="Alt" id="0x302" channel="3" startByte="4" dataType="FLOAT" kmlId="Altitude" errorType="Warning"/>
    <Parameter name="Speed again" id="500" channel="4" startByte="4" dataType="SHORT" kmlId="Latitude"/>
    <Parameter name="Unknown role" id="0x303" dataType="SHORT" kmlId="latitude"/>
  </Device>
  <Unit code="9" acronym="misplaced"/>
  <Device/>
</BrevantoProfile>
)";

TEST_F(ProfileTest, LoadsEveryPartOfTheFileWithItsDefaults)
{
    ASSERT_TRUE(load(FullProfile));
    EXPECT_TRUE(mOutput.startsWith("Load profile <")) << mOutput.toStdString();
    EXPECT_TRUE(mOutput.contains("> 1\n"));
    EXPECT_EQ(mOutput.count('\n'), 1) << "nothing but the load line: " << mOutput.toStdString();

    const ProfileInfo& i = info();
    EXPECT_EQ(i.mName, "Test profile");

    // Units by code, later replacing, misplaced ones ignored.
    ASSERT_EQ(i.mUnits.size(), 3u);
    EXPECT_EQ(i.mUnits.at(1).mAcronym, "RPM");
    EXPECT_EQ(i.mUnits.at(1).mName, "Later unit");
    EXPECT_EQ(i.mUnits.at(2).mAcronym, "bar");
    EXPECT_EQ(i.mUnits.at(0).mAcronym, "none");

    // Enumerations numbered over the whole file; a later one takes the name over.
    ASSERT_EQ(i.mEnums.size(), 3u);
    EXPECT_EQ(i.mEnums.at(1).mName, "Lamp");
    EXPECT_EQ(i.mEnums.at(1).mValues.size(), 2u);
    EXPECT_EQ(i.mEnums.at(1).mValues.at(1).mLabel, "Lit");
    EXPECT_EQ(i.mEnums.at(2).mName, "Later");
    EXPECT_EQ(i.mEnums.at(3).mName, "Lamp");

    // Threshold levels in file order, states by exact keyword, colours by name.
    ASSERT_EQ(i.mThresholds.size(), 2u);
    const auto& levels = i.mThresholds.at(1).mValues;
    ASSERT_EQ(levels.size(), 5u);
    EXPECT_EQ(levels[0].mState, 0);
    EXPECT_EQ(levels[0].mColor, QColor(0, 255, 0));
    EXPECT_EQ(levels[1].mState, 1);
    EXPECT_DOUBLE_EQ(levels[2].mLimit, 120.5);
    EXPECT_EQ(levels[2].mState, 2);
    EXPECT_EQ(levels[3].mState, 0) << "\"Limit\" is not a state keyword";
    EXPECT_FALSE(levels[3].mColor.isValid());
    EXPECT_DOUBLE_EQ(levels[4].mLimit, 0.0);
    EXPECT_EQ(i.mThresholds.at(2).mName, "Later Levels");

    // Devices numbered 1, 2, 3 in file order, even without a name.
    ASSERT_EQ(i.mDevices.size(), 3u);
    EXPECT_EQ(device(1).mName, "Engine");
    EXPECT_EQ(device(2).mName, "GPS");
    EXPECT_EQ(device(3).mName, "");
    EXPECT_TRUE(device(3).mParameters.empty());

    const std::vector<ProfileParameter> engine = parameters(1);
    ASSERT_EQ(engine.size(), 4u);
    const ProfileParameter& speed = engine[0];
    EXPECT_EQ(speed.mName, "Speed");
    EXPECT_EQ(speed.mFullName, "Engine/Speed");
    EXPECT_EQ(speed.mUnit, "rpm");
    EXPECT_EQ(speed.mViewId, "rpm");
    EXPECT_EQ(speed.mCanId, 500) << "hexadecimal id";
    EXPECT_EQ(speed.mChannel, 1);
    EXPECT_EQ(speed.mStartByte, 4);
    EXPECT_DOUBLE_EQ(speed.mOffset, -5);
    EXPECT_DOUBLE_EQ(speed.mFactor, 2);
    EXPECT_EQ(speed.mDataType, Profile::TYPE_FLOAT);
    EXPECT_EQ(speed.mThresholdId, 1);
    EXPECT_EQ(speed.mEnumId, 0);
    EXPECT_FALSE(speed.mSelected);
    EXPECT_EQ(speed.mErrorType, 0);

    EXPECT_EQ(engine[1].mStartBit, 2);
    EXPECT_EQ(engine[1].mEndBit, 3);
    EXPECT_EQ(engine[1].mEnumId, 1);
    EXPECT_EQ(engine[1].mErrorType, ProfileParameter::ErrorFault);

    // Names are resolved backwards only.
    EXPECT_EQ(engine[2].mEnumId, 0) << "enumeration defined after the device";
    EXPECT_EQ(engine[2].mThresholdId, 0) << "threshold set defined after the device";
    EXPECT_EQ(engine[2].mErrorType, 0) << "\"fault\" is not an error type";

    const ProfileParameter& defaults = engine[3];
    EXPECT_DOUBLE_EQ(defaults.mFactor, 1.0) << "an empty factor takes the default";
    EXPECT_DOUBLE_EQ(defaults.mOffset, 0.0);
    EXPECT_EQ(defaults.mCanId, 0);
    EXPECT_EQ(defaults.mDataType, 0) << "unknown keyword";
    EXPECT_EQ(defaults.mUnit, "");

    // Parameters kept by uid stay in file order; uids grow.
    EXPECT_LT(engine[0].mUid, engine[1].mUid);
    EXPECT_LT(engine[2].mUid, engine[3].mUid);
    const std::vector<ProfileParameter> gps = parameters(2);
    ASSERT_EQ(gps.size(), 4u);
    EXPECT_LT(engine[3].mUid, gps[0].mUid);
    EXPECT_EQ(gps[0].mEnumId, 2) << "a later device sees the later enumeration";
    EXPECT_EQ(gps[0].mErrorType, ProfileParameter::ErrorInfo);
    EXPECT_EQ(gps[1].mErrorType, ProfileParameter::ErrorWarning);

    // KML roles: the last parameter of a role wins; unknown roles do nothing.
    const Profile::KmlInfo& kml = Profile::instance()->kmlInfo();
    EXPECT_EQ(kml.latitudeChannel, 4);
    EXPECT_EQ(kml.latitudeId, 500);
    EXPECT_EQ(kml.longitudeChannel, 2);
    EXPECT_EQ(kml.longitudeId, 0x300);
    EXPECT_EQ(kml.altitudeChannel, 3);
    EXPECT_EQ(kml.altitudeId, 0x302);

    // By CAN id the later parameter replaces the earlier one.
    const ProfileParameter* byId = Profile::instance()->parameterByCanId(500);
    ASSERT_NE(byId, nullptr);
    EXPECT_EQ(byId->mFullName, "GPS/Speed again");
}

TEST_F(ProfileTest, DecodersByCanIdUseTheLastParameterOfThatId)
{
    ASSERT_TRUE(load(FullProfile));
    Profile* profile = Profile::instance();
    RecordEntry e;
    e.canId = 500;
    e.data[1] = Profile::TYPE_SHORT;
    e.data[4] = 0xFF;
    e.data[5] = 0xFE;
    // "GPS/Speed again": SHORT at byte 4, factor 1 (the FLOAT "Engine/Speed" would read 0xFFFE0000).
    EXPECT_DOUBLE_EQ(profile->getDouble(e, true), -2.0);
    EXPECT_EQ(profile->getInt(e), -2);
    e.canId = 777;
    EXPECT_DOUBLE_EQ(profile->getDouble(e, true), 0.0) << "no parameter for the id";
    EXPECT_EQ(profile->getInt(e), 6) << "a zero parameter reads the 16 bits at byte 0: 0x00, 0x06";
}

TEST_F(ProfileTest, ErrorMatricesTakeTheParametersThatFollowThem)
{
    const char* xml = R"(<BrevantoProfile name="m">
      <Device name="A">
        <ErrorMatrix id="300" name="Early"/>
        <Parameter name="Early bit" id="300" startBit="5" endBit="5" dataType="BLONG" errorType="Info"/>
      </Device>
      <Device name="B">
        <ErrorMatrix id="0x12C" name="Before"/>
        <Parameter name="Bit 0" id="300" startByte="4" startBit="0" endBit="0" dataType="BLONG" errorType="Warning"/>
        <Parameter name="Bit 1" id="300" startByte="4" startBit="1" endBit="1" dataType="BLONG" errorType="Fault"/>
        <Parameter name="Other id" id="301" startBit="2" endBit="2" dataType="BLONG"/>
        <Parameter name="Bit 1 again" id="300" startByte="4" startBit="1" endBit="1" dataType="BLONG"/>
        <ErrorMatrix id="300" name="After"/>
        <ErrorMatrix name="No id"/>
      </Device>
    </BrevantoProfile>)";
    ASSERT_TRUE(load(xml));
    const std::vector<FaultMatrix>& m = info().mFaultMatrices;
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].mName, "Early");
    EXPECT_EQ(m[1].mName, "Before");
    EXPECT_EQ(m[1].mId, 300);
    EXPECT_EQ(m[2].mName, "After");
    EXPECT_EQ(m[3].mId, 0);

    // A matrix of an earlier device collects the later parameters of its id too.
    ASSERT_EQ(m[0].mParameters.size(), 3u);
    EXPECT_EQ(m[0].mParameters.at(5).mName, "Early bit");
    EXPECT_EQ(m[0].mParameters.at(0).mName, "Bit 0");
    EXPECT_EQ(m[0].mParameters.at(1).mName, "Bit 1 again");

    ASSERT_EQ(m[1].mParameters.size(), 2u);
    EXPECT_EQ(m[1].mParameters.at(0).mErrorType, ProfileParameter::ErrorWarning);
    EXPECT_EQ(m[1].mParameters.at(1).mName, "Bit 1 again") << "the later start bit replaces";
    EXPECT_TRUE(m[2].mParameters.empty()) << "a matrix after its parameters holds none";
    EXPECT_TRUE(m[3].mParameters.empty());
    EXPECT_EQ(device(2).mParameters.size(), 4u) << "the device keeps every parameter";
}

TEST_F(ProfileTest, AWrongRootLeavesAnEmptyProfile)
{
    ASSERT_TRUE(load(FullProfile));
    ASSERT_FALSE(isEmpty());
    EXPECT_FALSE(load(R"(<KavoProject name="x"><Device name="D"><Parameter name="P" id="500"/></Device></KavoProject>)"));
    EXPECT_TRUE(isEmpty());
    EXPECT_FALSE(mOutput.contains("Load profile")) << mOutput.toStdString();

    // The type keywords survive every load.
    EXPECT_EQ(Profile::instance()->dataType("LONG48"), Profile::TYPE_LONG48);
    EXPECT_EQ(Profile::instance()->dataTypeName(Profile::TYPE_NMEA), "NMEA");
}

TEST_F(ProfileTest, UnreadableOrMalformedFilesAreReportedAndLeaveItEmpty)
{
    struct Bad
    {
        const char* what;
        QByteArray content;
        const char* message;
    };
    const Bad cases[] = {
        {"unclosed element", "<BrevantoProfile name=\"x\"><Device name=\"D\">", "could not set content <"},
        {"garbage", QByteArray("\x00\x01\x02 not xml at all", 19), "could not set content <"},
        {"empty file", "", "could not set content <"},
        {"truncated attribute", "<BrevantoProfile name=\"x><Device/></BrevantoProfile>", "could not set content <"},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.what);
        ASSERT_TRUE(load(FullProfile));
        const QString path = mDir.file("bad.xml");
        ASSERT_TRUE(testsupport::writeFile(path, b.content));
        StdoutCapture capture;
        EXPECT_FALSE(Profile::instance()->loadProfile(path));
        const QString out = capture.text();
        EXPECT_TRUE(out.contains(b.message)) << out.toStdString();
        EXPECT_TRUE(out.contains(path)) << out.toStdString();
        EXPECT_TRUE(isEmpty());
    }

    ASSERT_TRUE(load(FullProfile));
    StdoutCapture capture;
    EXPECT_FALSE(Profile::instance()->loadProfile(mDir.file("missing.xml")));
    EXPECT_TRUE(capture.text().contains("could not open file <" + mDir.file("missing.xml") + ">"));
    EXPECT_TRUE(isEmpty());
}

TEST_F(ProfileTest, ReloadingClearsTheKmlRolesAndTheOldModel)
{
    ASSERT_TRUE(load(FullProfile));
    ASSERT_EQ(Profile::instance()->kmlInfo().latitudeId, 500);
    ASSERT_TRUE(load(R"(<BrevantoProfile name="second"><Device name="Only"><Parameter name="P" id="9"/></Device></BrevantoProfile>)"));
    const Profile::KmlInfo& kml = Profile::instance()->kmlInfo();
    EXPECT_EQ(kml.latitudeChannel + kml.latitudeId + kml.longitudeChannel + kml.longitudeId + kml.altitudeChannel +
                  kml.altitudeId,
              0);
    EXPECT_EQ(info().mName, "second");
    EXPECT_EQ(info().mDevices.size(), 1u);
    EXPECT_TRUE(info().mEnums.empty());
    EXPECT_TRUE(info().mThresholds.empty());
    EXPECT_EQ(Profile::instance()->parameterByCanId(500), nullptr);
    EXPECT_EQ(device(1).mName, "Only") << "device ids restart at 1";

    Profile::instance()->clear();
    EXPECT_TRUE(info().mDevices.empty());
    EXPECT_EQ(Profile::instance()->parameterByCanId(9), nullptr);
}

TEST_F(ProfileTest, ParametersOutsideTheRecordAreRejectedByName)
{
    const char* xml = R"(<BrevantoProfile name="bounds">
      <Device name="Dev">
        <ErrorMatrix id="40" name="Matrix"/>
        <Parameter name="float at 24" id="1" startByte="24" dataType="FLOAT"/>
        <Parameter name="float at 25" id="2" startByte="25" dataType="FLOAT" kmlId="Latitude"/>
        <Parameter name="negative start" id="3" startByte="-1" dataType="UCHAR"/>
        <Parameter name="uchar at 27" id="4" startByte="27" dataType="UCHAR_3"/>
        <Parameter name="short at 27" id="5" startByte="27" dataType="USHORT_2"/>
        <Parameter name="long48 at 22" id="6" startByte="22" dataType="LONG48"/>
        <Parameter name="long48 at 23" id="7" startByte="23" dataType="LONG48"/>
        <Parameter name="blong 0..31" id="40" startByte="4" startBit="0" endBit="31" dataType="BLONG"/>
        <Parameter name="blong 31..32" id="40" startByte="4" startBit="31" endBit="32" dataType="BLONG"/>
        <Parameter name="blong 32..32" id="40" startByte="4" startBit="32" endBit="32" dataType="BLONG"/>
        <Parameter name="blong empty" id="8" startByte="4" startBit="5" endBit="4" dataType="BLONG"/>
        <Parameter name="blong reversed" id="40" startByte="4" startBit="6" endBit="4" dataType="BLONG"/>
        <Parameter name="blong negative" id="40" startByte="4" startBit="-1" endBit="4" dataType="BLONG"/>
        <Parameter name="bshort 0..15" id="9" startByte="4" startBit="0" endBit="15" dataType="BSHORT"/>
        <Parameter name="bshort 8..16" id="10" startByte="4" startBit="8" endBit="16" dataType="BSHORT"/>
        <Parameter name="bshort at 27" id="11" startByte="27" startBit="0" endBit="3" dataType="BSHORT"/>
        <Parameter name="memid far away" id="12" startByte="100" dataType="MEMID"/>
        <Parameter name="huge start" id="13" startByte="0x7FFFFFFF" dataType="CHAR"/>
      </Device>
    </BrevantoProfile>)";
    ASSERT_TRUE(load(xml));

    std::set<QString> kept;
    for (const ProfileParameter& p : parameters(1))
        kept.insert(p.mName);
    const std::set<QString> expected = {"float at 24", "uchar at 27", "long48 at 22", "blong 0..31",
                                        "blong empty", "bshort 0..15"};
    EXPECT_EQ(kept, expected);

    const char* rejected[] = {"float at 25",    "negative start", "short at 27",  "long48 at 23",
                              "blong 31..32",   "blong 32..32",   "blong reversed", "blong negative",
                              "bshort 8..16",   "bshort at 27",   "memid far away", "huge start"};
    for (const char* name : rejected)
        EXPECT_TRUE(mOutput.contains(QString("Parameter <Dev/%1>").arg(name))) << name << "\n"
                                                                             << mOutput.toStdString();
    EXPECT_EQ(mOutput.count("ignored"), 12) << mOutput.toStdString();

    // A rejected parameter reaches no index and takes no KML role.
    EXPECT_EQ(Profile::instance()->parameterByCanId(2), nullptr);
    EXPECT_EQ(Profile::instance()->kmlInfo().latitudeId, 0);
    ASSERT_EQ(info().mFaultMatrices.size(), 1u);
    ASSERT_EQ(info().mFaultMatrices[0].mParameters.size(), 1u);
    EXPECT_EQ(info().mFaultMatrices[0].mParameters.begin()->second.mName, "blong 0..31");
}

TEST_F(ProfileTest, UidsComeFromOneCounterAndCopiesKeepThem)
{
    const int before = KAVO::ProfileUid::mUid;
    ProfileParameter a;
    ProfileParameter b;
    EXPECT_EQ(a.mUid, before);
    EXPECT_EQ(b.mUid, before + 1);
    const ProfileParameter copy = b;
    EXPECT_EQ(copy.mUid, b.mUid);
    EXPECT_EQ(KAVO::ProfileUid::mUid, before + 2);

    // A reload gives newer uids, never reused ones.
    ASSERT_TRUE(load(FullProfile));
    const int first = parameters(1).front().mUid;
    ASSERT_TRUE(load(FullProfile));
    EXPECT_GT(parameters(1).front().mUid, first);
}

QString defaultProfilePath()
{
    const QString bundled = testsupport::bundleResources() + "/Ostervan_Profile.xml";
    if (QFile::exists(bundled))
        return bundled;
    return testsupport::sourceDir() + "/orlo/resources/Ostervan_Profile.xml";
}

TEST_F(ProfileTest, TheDefaultProfileLoadsCleanlyAndCoversEveryType)
{
    const QString path = defaultProfilePath();
    StdoutCapture capture;
    ASSERT_TRUE(Profile::instance()->loadProfile(path));
    const QString out = capture.text();
    EXPECT_EQ(out, QString("Load profile <%1> 1\n").arg(path)) << "no diagnostic";

    const ProfileInfo& i = info();
    EXPECT_GE(i.mDevices.size(), 3u);
    EXPECT_FALSE(i.mUnits.empty());

    std::set<int> types;
    std::set<QString> fullNames;
    int parameterCount = 0;
    for (const auto& d : i.mDevices) {
        for (const auto& p : d.second.mParameters) {
            types.insert(p.second.mDataType);
            fullNames.insert(p.second.mFullName);
            ++parameterCount;
            if (p.second.mDataType == Profile::TYPE_BLONG || p.second.mDataType == Profile::TYPE_BSHORT) {
                if (p.second.mEnumId != 0) {
                    EXPECT_TRUE(i.mEnums.count(p.second.mEnumId)) << p.second.mFullName.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(static_cast<int>(fullNames.size()), parameterCount) << "full names are unique (project keys)";
    for (const char* keyword :
         {"NODATA", "ERROR",  "FLOAT",   "NMEA",     "LONG",    "ULONG",   "BLONG",   "SHORT",
          "USHORT", "BSHORT", "CHAR",    "UCHAR",    "BCHAR",   "SHORT_2", "USHORT_2", "BSHORT_2",
          "CHAR_4", "UCHAR_4", "BCHAR_4", "CHAR_2",  "UCHAR_2", "BCHAR_2", "MEMID",   "CHKSUM",
          "ACHAR",  "ACHAR_2", "ACHAR_4", "CHAR_3",  "UCHAR_3", "BCHAR_3", "ACHAR_3", "LONG48"}) {
        const int type = Profile::instance()->dataType(keyword);
        EXPECT_TRUE(types.count(type)) << "no parameter of type " << keyword;
    }

    // Enumerations, one of them for a warning lamp.
    bool lamp = false;
    for (const auto& e : i.mEnums)
        lamp = lamp || e.second.mName.contains("Lamp", Qt::CaseInsensitive);
    EXPECT_TRUE(lamp);

    // Threshold sets that use all three states.
    std::set<int> states;
    for (const auto& t : i.mThresholds)
        for (const auto& v : t.second.mValues) {
            states.insert(v.mState);
            EXPECT_TRUE(v.mColor.isValid()) << t.second.mName.toStdString();
        }
    EXPECT_EQ(states, (std::set<int>{0, 1, 2}));

    // KML roles on distinct messages whose by-id parameter is the role's own.
    const Profile::KmlInfo& kml = Profile::instance()->kmlInfo();
    for (int id : {kml.latitudeId, kml.longitudeId, kml.altitudeId}) {
        EXPECT_NE(id, 0);
        EXPECT_NE(Profile::instance()->parameterByCanId(id), nullptr);
    }
    EXPECT_EQ(std::set<int>({kml.latitudeId, kml.longitudeId, kml.altitudeId}).size(), 3u);

    // An error matrix whose bits carry parameters with error types.
    ASSERT_FALSE(i.mFaultMatrices.empty());
    std::set<int> errorTypes;
    for (const auto& m : i.mFaultMatrices)
        for (const auto& p : m.mParameters)
            errorTypes.insert(p.second.mErrorType);
    EXPECT_EQ(errorTypes, (std::set<int>{1, 2, 3}));
}

} // namespace
