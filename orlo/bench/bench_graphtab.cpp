// Graph tab figures: the time to fill the strip chart from a recording of
// 30 selected parameters (decoding, ordering by time, feeding the store,
// setting the window), for lists in time order and for lists whose files
// were read in reverse order. Run under an X server, e.g.:
// xvfb-run -a -s "-screen 0 1600x1200x24" ./bench_graphtab [messages per parameter]
#include "DialogDataGraph.h"
#include "Profile.h"
#include "Record.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace KAVO;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

constexpr int kParameters = 30;

bool loadProfile(const QString& folder)
{
    QByteArray xml = "<BrevantoProfile name=\"bench\">\n  <Device name=\"Dev\">\n";
    for (int i = 0; i < kParameters; ++i)
        xml += QString("    <Parameter name=\"P%1\" id=\"0x%2\" channel=\"0\" startByte=\"4\" dataType=\"FLOAT\"/>\n")
                   .arg(i, 2, 10, QChar('0'))
                   .arg(0x100 + i, 0, 16)
                   .toUtf8();
    xml += "  </Device>\n</BrevantoProfile>\n";
    const QString path = folder + "/profile.xml";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size())
        return false;
    f.close();
    if (!Profile::instance()->loadProfile(path))
        return false;
    for (auto& device : Profile::instance()->data().mDevices)
        for (auto& p : device.second.mParameters)
            p.second.mSelected = true;
    return true;
}

// Messages at 10 per second; `reversed` files the second half first, as a
// selection read out of time order does.
void fill(Record& record, int perParameter, bool reversed)
{
    record = Record();
    for (int i = 0; i < kParameters; ++i) {
        RecordIdList& list = record.recordData().channels[0][0x100u + i];
        list.entries.reserve(static_cast<std::size_t>(perParameter));
        for (int k = 0; k < perParameter; ++k) {
            const int at = reversed ? (k + perParameter / 2) % perParameter : k;
            RecordEntry e;
            e.canId = 0x100u + i;
            e.data[1] = Profile::TYPE_FLOAT;
            const float v = static_cast<float>(std::sin(at * 0.01 + i));
            uint32_t bits;
            std::memcpy(&bits, &v, 4);
            qToBigEndian(bits, e.data + 4);
            e.time = at * 0.1;
            list.entries.push_back(e);
        }
    }
    record.recordInfo().startTime = 0.0;
    record.recordInfo().stopTime = (perParameter - 1) * 0.1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int perParameter = argc > 1 ? std::atoi(argv[1]) : 200000;
    QTemporaryDir dir;
    if (!dir.isValid() || !loadProfile(dir.path())) {
        printf("could not set up the profile\n");
        return 1;
    }
    DialogDataGraph tab(nullptr);
    tab.resize(1200, 800);
    tab.updateProfile();

    Record record;
    for (bool reversed : {false, true}) {
        fill(record, perParameter, reversed);
        double best = 1e300;
        for (int round = 0; round < 3; ++round) {
            const Clock::time_point t0 = Clock::now();
            tab.updateRecord(&record, true);
            best = std::min(best, msSince(t0));
        }
        printf("fill %d parameters x %d messages (%s): %.1f ms\n", kParameters, perParameter,
               reversed ? "files out of time order" : "in time order", best);
    }
    return 0;
}
