#include "TestRecords.h"

#include "KmlExportOptions.h"
#include "Profile.h"
#include "Record.h"
#include "StdoutCapture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace testsupport {

namespace {

const char* const ExportProfile = R"(<BrevantoProfile name="export tests">
  <EnumList>
    <Enum name="Mode">
      <Value val="1" label="on; off, &quot;x&quot;"/>
      <Value val="2" label="plain"/>
    </Enum>
  </EnumList>
  <Device name="Dev">
    <Parameter name="A" id="0x10" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="B" id="0x11" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="Speed" unit="rpm" id="0x12" channel="0" startByte="4" dataType="FLOAT"/>
    <Parameter name="Mode" id="0x13" channel="0" startByte="4" startBit="0" endBit="7" dataType="BLONG" enumId="Mode"/>
  </Device>
  <Device name="GPS">
    <Parameter name="Latitude" unit="deg" id="0x300" channel="1" startByte="4" dataType="FLOAT" kmlId="Latitude"/>
    <Parameter name="Longitude" unit="deg" id="0x301" channel="1" startByte="4" dataType="FLOAT" kmlId="Longitude"/>
    <Parameter name="Altitude" unit="m" id="0x302" channel="1" startByte="4" dataType="FLOAT" kmlId="Altitude"/>
  </Device>
</BrevantoProfile>)";

} // namespace

bool loadRecording(KAVO::Record& record, const QString& folder, const std::vector<TestFile>& files, bool bigEndian,
                   const TestHeader& header)
{
    QStringList paths;
    for (const TestFile& f : files) {
        const QString path = folder + "/" + f.first;
        if (!writeFile(path, recordFileBytes(f.second, bigEndian, header)))
            return false;
        paths << path;
    }
    return record.readRecordData(paths);
}

void fileEntry(KAVO::Record& record, const KAVO::RecordEntry& e)
{
    KAVO::RecordIdList& list = record.recordData().channels[e.channel][e.canId];
    list.entries.push_back(e);
    list.highFile = e.highFile;
    record.rawData().entries.push_back(e);
    KAVO::RecordInfo& info = record.recordInfo();
    if (record.recordData().nrRecords++ == 0) {
        info.startTime = info.stopTime = e.time;
    } else {
        info.startTime = std::min(info.startTime, e.time);
        info.stopTime = std::max(info.stopTime, e.time);
    }
}

void expectDefaultKmlLook(const KAVO::KmlExportOptions& o)
{
    EXPECT_EQ(o.exportDir, ".");
    EXPECT_EQ(o.timeStamp, 100);
    EXPECT_EQ(o.lineWidth, 1);
    EXPECT_EQ(o.lineColor, "ff0000");
    EXPECT_EQ(o.lineAlpha, 255);
    EXPECT_TRUE(o.polygonOn);
    EXPECT_EQ(o.polygonColor, "0000ff");
    EXPECT_EQ(o.polygonAlpha, 100);
    EXPECT_EQ(o.placeMarkColor, "ffcc00");
    EXPECT_TRUE(o.placeMarkOn && o.errorMarkOn && o.showLimit && o.showWarning);
    EXPECT_EQ(o.errorMarkColor, "ff0000");
}

bool loadProfileText(const QString& folder, const QByteArray& xml, const QString& name)
{
    const QString path = folder + "/" + name;
    if (!writeFile(path, xml))
        return false;
    StdoutCapture quiet;
    return KAVO::Profile::instance()->loadProfile(path);
}

bool loadExportProfile(const QString& folder)
{
    return loadProfileText(folder, ExportProfile, "export-profile.xml");
}

void selectParameters(const std::vector<QString>& names)
{
    for (auto& device : KAVO::Profile::instance()->data().mDevices) {
        for (auto& item : device.second.mParameters) {
            KAVO::ProfileParameter& p = item.second;
            p.mSelected = false;
            for (const QString& n : names)
                p.mSelected = p.mSelected || p.mName == n;
        }
    }
}

} // namespace testsupport
