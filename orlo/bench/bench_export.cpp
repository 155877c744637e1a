// Exports one hour of a generated sample card with 30 selected parameters
// as CSV at 10 ms and at 1 ms, as KML at a 1 s step and as a CAN record
// file, and prints the time and the peak memory each export adds.
//
//   bench_export [profile]   (default: the bundle's or the source tree's Ostervan_Profile.xml)

#include "BenchSupport.h"
#include "CsvExportOptions.h"
#include "ExportCan.h"
#include "ExportCsv.h"
#include "ExportKml.h"
#include "KmlExportOptions.h"
#include "Profile.h"
#include "Record.h"
#include "SampleCard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <malloc.h>

namespace {

struct Figures
{
    double seconds = 0.0;
    long long peak = 0;   // bytes above the memory in use before the export
    bool ok = false;
};

Figures measure(const std::function<bool()>& run)
{
    Figures f;
    // Memory freed by the export before goes back first, so that each
    // figure shows what its own export needs.
    malloc_trim(0);
    const bool reset = bench::resetPeak();
    const long long before = reset ? bench::statusValue("VmRSS:") : bench::statusValue("VmHWM:");
    QElapsedTimer timer;
    timer.start();
    {
        const bench::QuietStdout quiet;
        f.ok = run();
    }
    f.seconds = timer.nsecsElapsed() * 1e-9;
    f.peak = bench::statusValue("VmHWM:") - before;
    return f;
}

void print(const char* what, const Figures& f, const QString& path)
{
    printf("%-22s %7.3f s   peak +%7.1f MB   file %8.1f MB%s\n", what, f.seconds, f.peak / 1e6,
           QFileInfo(path).size() / 1e6, f.ok ? "" : "   FAILED");
}

QString findProfile(int argc, char** argv)
{
    if (argc > 1)
        return QString::fromLocal8Bit(argv[1]);
    const QString bundle = "orlo.app/Contents/Resources/Ostervan_Profile.xml";
    if (QFileInfo::exists(bundle))
        return bundle;
    return QStringLiteral(ORLO_BENCH_SOURCE_DIR "/orlo/resources/Ostervan_Profile.xml");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    KAVO::Profile* profile = KAVO::Profile::instance();
    const QString profilePath = findProfile(argc, argv);
    if (!profile->loadProfile(profilePath)) {
        printf("could not load the profile <%s>\n", profilePath.toLocal8Bit().constData());
        return 1;
    }

    QTemporaryDir dir;
    const auto card = bench::sampleCard(dir, 3600LL * KAVO::SampleCard::messagesPerSecond(), 1);
    if (!card)
        return 1;
    KAVO::Record record;
    {
        const bench::QuietStdout quiet;
        record.readRecordData(card->files());
    }
    const KAVO::RecordInfo& info = record.recordInfo();
    printf("recording              %d messages, %.1f s\n", record.recordData().nrRecords,
           info.stopTime - info.startTime);

    // The first 30 parameters of the profile.
    int selected = 0;
    for (auto& device : profile->data().mDevices)
        for (auto& item : device.second.mParameters)
            item.second.mSelected = selected++ < 30;
    printf("selected parameters    %d\n", selected < 30 ? selected : 30);

    KAVO::CsvExportOptions csvOptions;
    csvOptions.exportDir = dir.path().toLocal8Bit();
    csvOptions.allParameter = false;
    csvOptions.startTime = info.startTime;
    csvOptions.stopTime = info.stopTime;
    int result = 0;
    for (const int resolution : {100, 10, 1}) {
        csvOptions.resolution = resolution;
        csvOptions.fileName = "out.csv";
        KAVO::ExportCsv csv;
        const Figures f = measure([&] { return csv.exportData(record, csvOptions); });
        char what[32];
        snprintf(what, sizeof what, "CSV at %d ms", resolution);
        print(what, f, dir.path() + "/out.csv");
        result |= f.ok ? 0 : 1;
    }

    KAVO::KmlExportOptions kmlOptions;
    kmlOptions.exportDir = dir.path().toLocal8Bit();
    kmlOptions.fileName = "out.kml";
    kmlOptions.timeStamp = 1000;
    kmlOptions.placeMarkInterval = 10;
    kmlOptions.startTime = info.startTime;
    kmlOptions.stopTime = info.stopTime;
    KAVO::ExportKml kml;
    const Figures k = measure([&] { return kml.exportData(record, kmlOptions); });
    print("KML at 1 s", k, dir.path() + "/out.kml");
    printf("                       %d track points, %d value placemarks\n", static_cast<int>(kml.track().size()),
           static_cast<int>(kml.placemarks().size()));
    result |= k.ok ? 0 : 1;

    csvOptions.fileName = "out.CAN";
    KAVO::ExportCan can;
    const Figures c = measure([&] { return can.exportData(record, csvOptions); });
    print("CAN record file", c, dir.path() + "/out.CAN");
    result |= c.ok ? 0 : 1;
    return result;
}
