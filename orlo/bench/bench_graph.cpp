// Strip chart figures with a full store: 30 graph parameters of 1,000,000
// samples each. Prints the time to rebuild all buckets after a window
// change and the time of one repaint with an unchanged window.
// Run under an X server, e.g.: xvfb-run -a -s "-screen 0 1600x1200x24" ./bench_graph
#include "WidgetGraph.h"

#include <QApplication>
#include <QOpenGLContext>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Reaches the paint step itself, without the composition into the window.
class BenchGraph : public WidgetGraph
{
public:
    void paintOnly()
    {
        makeCurrent();
        paintGL();
        glFinish();
        doneCurrent();
    }
};

struct Stats
{
    double mean;
    double worst;
};

template <typename F>
Stats measure(int rounds, F f)
{
    std::vector<double> ms;
    for (int k = 0; k < rounds; ++k) {
        const Clock::time_point t0 = Clock::now();
        f(k);
        ms.push_back(msSince(t0));
    }
    double sum = 0;
    for (double v : ms)
        sum += v;
    return Stats{sum / ms.size(), *std::max_element(ms.begin(), ms.end())};
}

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    const unsigned kParameters = 30;
    const int kSamples = 1000000;
    const double kDt = 0.01; // 10,000 s of samples per parameter

    BenchGraph g;
    g.resize(1200, 800);
    g.setMaxParameters(kParameters);
    g.setGraphMode(WidgetGraph::GraphManual);
    for (unsigned i = 0; i < kParameters; ++i)
        g.setActive(i, true);
    g.show();
    app.processEvents();

    Clock::time_point t0 = Clock::now();
    for (unsigned i = 0; i < kParameters; ++i) {
        for (int k = 0; k < kSamples; ++k) {
            const double t = k * kDt;
            g.setTime(t);
            g.putValue(i, std::sin(t * (0.01 + 0.003 * i)) * (10 + i) + ((k * 7919LL) % 101) * 0.01);
        }
    }
    std::printf("feed %u x %d samples: %.0f ms\n", kParameters, kSamples, msSince(t0));

    // Window changes: whole recording, an hour, ten minutes, a minute, at
    // several places.
    const double last = (kSamples - 1) * kDt;
    const double windows[][2] = {
        {-0.1 * last, 1.1 * last}, {0.0, last}, {2000.0, 5600.0}, {7000.0, 7600.0},
        {4321.0, 4381.0}, {100.0, 160.0}, {9000.0, 9999.0}, {1234.5, 1235.5},
    };
    const int nWindows = sizeof(windows) / sizeof(windows[0]);
    const KAVO::GraphModel& model = g.model();
    for (int w = 0; w < nWindows; ++w) {
        g.setXmin(static_cast<float>(windows[w][0]));
        g.setXmax(static_cast<float>(windows[w][1]));
        const Stats s = measure(10, [&](int) { g.rebuild(); });
        std::size_t buckets = 0;
        for (unsigned i = 0; i < kParameters; ++i)
            buckets += model.parameter(i).frames.size();
        std::printf("rebuild all %u buffers, window %8.1f..%8.1f s (%zu buckets): mean %.2f ms, worst %.2f ms\n",
                    kParameters, windows[w][0], windows[w][1], buckets, s.mean, s.worst);
    }

    // One repaint, window unchanged, after the plot geometry has settled.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    g.setXmin(0.0f);
    g.setXmax(static_cast<float>(last));
    for (int mode = 0; mode < 2; ++mode) {
        g.setDisplayMode(mode == 0 ? WidgetGraph::DisplaySingle : WidgetGraph::DisplaySplit);
        for (int k = 0; k < 3; ++k)
            g.paintOnly();
        g.rebuild();
        g.paintOnly();
        const Stats paint = measure(20, [&](int) { g.paintOnly(); });
        const Stats shown = measure(20, [&](int) {
            g.repaint();
            app.processEvents();
        });
        const Stats grab = measure(10, [&](int) { g.grabGraph(); });
        // For comparison: a paint after the buckets changed draws every line.
        std::vector<double> full;
        for (int k = 0; k < 10; ++k) {
            g.rebuild();
            const Clock::time_point t1 = Clock::now();
            g.paintOnly();
            full.push_back(msSince(t1));
        }
        double fullSum = 0;
        for (double v : full)
            fullSum += v;
        std::printf("%s display, 30 parameters, 1200x800, window unchanged: paint mean %.2f ms (worst %.2f); "
                    "repaint into the window mean %.2f ms; paint and read back mean %.2f ms\n",
                    mode == 0 ? "single" : "split", paint.mean, paint.worst, shown.mean, grab.mean);
        std::printf("%s display, paint after the buckets changed (every line drawn): mean %.2f ms\n",
                    mode == 0 ? "single" : "split", fullSum / full.size());
    }
    g.makeCurrent();
    renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s\n", renderer ? renderer : "?");
    g.doneCurrent();
    return 0;
}
