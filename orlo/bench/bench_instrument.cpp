// Instrument page figures on the benchmark card (by default 10 million
// messages in 8 files): updateRecord over the whole recording beside the
// card's own load, and setTime with one paint of both views at 800 x 480
// beside a paint that only clears. Run from the build folder (the page
// loads its views from orlo.app there) under an X server, e.g.:
// xvfb-run -a -s "-screen 0 1600x1200x24" ./bench_instrument [messages] [files] [rounds]
#include "BenchSupport.h"
#include "DialogDataView.h"
#include "Profile.h"
#include "Record.h"

#include <QApplication>
#include <QDir>
#include <QThread>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The page with its paint callable in place: one frame, finished by the GPU.
class Page : public KAVO::DialogDataView
{
public:
    Page()
        : KAVO::DialogDataView(nullptr)
    {
    }
    void paintNow()
    {
        makeCurrent();
        paintGL();
        glFinish();
        doneCurrent();
    }
    void clearNow()
    {
        makeCurrent();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glFinish();
        doneCurrent();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QTemporaryDir dir;
    bench::Rounds setup;
    if (!bench::cardForRounds(argc, argv, dir, setup))
        return 1;
    {
        const bench::QuietStdout quiet;
        if (!KAVO::Profile::instance()->loadProfile("orlo.app/Contents/Resources/Ostervan_Profile.xml")) {
            fprintf(stderr, "could not load the default profile from orlo.app\n");
            return 1;
        }
    }
    QStringList files = QDir(dir.path() + "/card").entryList({"*.CAN"}, QDir::Files, QDir::Name);
    for (QString& f : files)
        f = dir.path() + "/card/" + f;

    KAVO::Record record;
    std::vector<double> load, feed, perLoad;
    for (int r = 0; r < setup.rounds; ++r) {
        const Clock::time_point t0 = Clock::now();
        {
            const bench::QuietStdout quiet;
            record = KAVO::Record();
            if (!record.readRecordData(files)) {
                fprintf(stderr, "could not read the card\n");
                return 1;
            }
        }
        load.push_back(msSince(t0) / 1000.0);
    }

    Page page;
    page.resize(800, 480);
    page.show();
    for (int i = 0; i < 500 && !page.isValid(); ++i) {
        app.processEvents();
        QThread::msleep(10);
    }
    if (!page.isValid()) {
        fprintf(stderr, "no OpenGL context for the page\n");
        return 1;
    }
    page.paintNow();
    std::size_t values = 0;
    for (int r = 0; r < setup.rounds; ++r) {
        const Clock::time_point t0 = Clock::now();
        page.updateRecord(&record);
        feed.push_back(msSince(t0) / 1000.0);
        perLoad.push_back(feed.back() / load[static_cast<std::size_t>(r)]);
        values = 0;
        for (const auto& p : page.parameters())
            values += p.values.size();
    }

    // Times across the whole recording, so the needles move at every frame.
    const KAVO::RecordInfo& info = record.recordInfo();
    const int frames = 200;
    std::vector<double> paint, clear;
    for (int i = 0; i < frames; ++i) {
        const double t = info.startTime + (info.stopTime - info.startTime) * i / (frames - 1);
        Clock::time_point t0 = Clock::now();
        page.setTime(t);
        page.paintNow();
        paint.push_back(msSince(t0));
        t0 = Clock::now();
        page.clearNow();
        clear.push_back(msSince(t0));
    }

    printf("load average after     %s\n", bench::loadAverage().toLocal8Bit().constData());
    printf("messages               %d, %zu fed values (tenths) in %zu view variables\n",
           record.recordData().nrRecords, values, page.parameters().size());
    bench::printSpread("readRecordData (reference)", load, "s");
    bench::printSpread("updateRecord", feed, "s");
    bench::printSpread("updateRecord / readRecordData", perLoad, "", "%.2f");
    bench::printSpread("clear-only paint (reference)", clear, "ms");
    bench::printSpread("setTime + paint, 800 x 480", paint, "ms");
    printf("targets                updateRecord < 1 s: %s; setTime + paint < 20 ms: %s\n",
           bench::median(feed) < 1.0 ? "met" : "MISSED", bench::median(paint) < 20.0 ? "met" : "MISSED");
    return 0;
}
