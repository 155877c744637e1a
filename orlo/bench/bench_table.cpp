// The value table and the limit list over a long recording: loads a
// generated card, selects 30 parameters of the default profile and prints
// how long filling the table takes, the memory it keeps per table cell, how
// long a scrolled frame takes to paint, and how long the limit scan takes.
//
//   xvfb-run -a bench_table [messages] [files]     (default 10000000 messages in 3 files)
//
// Needs a display (the table is shown, so that scrolling paints for real).

#include "DialogDataLimit.h"
#include "DialogDataTable.h"
#include "DialogDataTableModel.h"
#include "Profile.h"
#include "Record.h"
#include "SampleCard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

long long heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks + m.hblkhd);
}

// Runs f with the program's own diagnostics (loader, profile) silenced.
template <typename F>
void quietly(F f)
{
    fflush(stdout);
    const int saved = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
        dup2(null, 1);
    f();
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    if (null >= 0)
        close(null);
}

double seconds(const QElapsedTimer& t) { return t.nsecsElapsed() * 1e-9; }

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    const long long messages = argc > 1 ? atoll(argv[1]) : 10000000LL;
    const int files = argc > 2 ? atoi(argv[2]) : 3;
    constexpr int Selected = 30;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        printf("could not create a temporary folder\n");
        return 1;
    }
    KAVO::SampleCard::Options options;
    options.folder = dir.path() + "/card";
    options.messages = messages;
    options.files = files;
    KAVO::SampleCard card(options);
    QElapsedTimer timer;
    timer.start();
    if (!card.write())
        return 1;
    printf("generated %lld messages in %d files in %.2f s\n", messages, files, seconds(timer));

    KAVO::Record record;
    bool profileLoaded = false;
    quietly([&] {
        profileLoaded = KAVO::Profile::instance()->loadProfile(QString(ORLO_BENCH_SOURCE_DIR) +
                                                                "/orlo/resources/Ostervan_Profile.xml");
        timer.restart();
        record.readRecordData(card.files());
    });
    if (!profileLoaded) {
        printf("could not load the default profile\n");
        return 1;
    }
    printf("loaded %d messages in %.2f s\n", record.recordData().nrRecords, seconds(timer));

    // The first parameters in profile order that have recorded values.
    int selected = 0;
    long long values = 0;
    for (auto& device : KAVO::Profile::instance()->data().mDevices) {
        for (auto& p : device.second.mParameters) {
            const KAVO::RecordIdList& list = record.recordData().idList(static_cast<uint32_t>(p.second.mChannel),
                                                                        static_cast<uint32_t>(p.second.mCanId));
            p.second.mSelected = selected < Selected && !list.empty();
            if (p.second.mSelected) {
                ++selected;
                values += static_cast<long long>(list.size());
            }
        }
    }
    printf("selected parameters    %d with %lld recorded values\n", selected, values);

    KAVO::DialogDataTable table(nullptr);
    table.resize(1400, 900);
    table.show();
    for (int i = 0; i < 500 && !(table.windowHandle() && table.windowHandle()->isExposed()); ++i) {
        app.processEvents();
        QThread::msleep(10);
    }
    if (!(table.windowHandle() && table.windowHandle()->isExposed()))
        printf("the table was not exposed: painting figures are not meaningful\n");
    QTableView* view = table.findChild<QTableView*>();
    auto* model = static_cast<KAVO::DialogDataTableModel*>(view->model());

    // The first fill builds the columns (updateProfile); a refill keeps them (updateRecord).
    table.updateRecord(&record);
    const long long heapBefore = heapInUse();
    timer.restart();
    table.updateProfile();
    const double fill = seconds(timer);
    app.processEvents();
    const long long heapAfter = heapInUse();
    timer.restart();
    table.updateRecord(&record);
    const double refill = seconds(timer);
    app.processEvents();

    const long long rows = model->rowCount();
    const long long cells = rows * model->columnCount();
    printf("table rows             %lld, columns %d, cells %lld\n", rows, model->columnCount(), cells);
    printf("table fill             %.3f s (updateProfile), refill %.3f s (updateRecord)\n", fill, refill);
    printf("table memory           %.2f bytes per cell kept by the model, %.2f bytes per cell heap growth\n",
           cells > 0 ? static_cast<double>(model->memoryUsed()) / cells : 0.0,
           cells > 0 ? static_cast<double>(heapAfter - heapBefore) / cells : 0.0);

    // Scrolling: page steps through the whole table, and jumps, each painted at once.
    QScrollBar* bar = view->verticalScrollBar();
    std::vector<double> frames;
    const int pages = 300;
    const int step = std::max(1, bar->maximum() / pages);
    for (int i = 0; i <= pages; ++i) {
        timer.restart();
        bar->setValue(std::min(bar->maximum(), i * step));
        view->viewport()->repaint();
        frames.push_back(seconds(timer) * 1000);
    }
    std::srand(7);
    for (int i = 0; i < 100; ++i) {
        timer.restart();
        table.setTime(record.recordInfo().startTime +
                      (record.recordInfo().stopTime - record.recordInfo().startTime) * (std::rand() % 1000) / 1000.0);
        view->viewport()->repaint();
        frames.push_back(seconds(timer) * 1000);
    }
    std::sort(frames.begin(), frames.end());
    {
        // The share of decoding: every visible cell asked for its text and colour.
        const int top = view->rowAt(0);
        int bottom = view->rowAt(view->viewport()->height() - 1);
        if (bottom < 0)
            bottom = model->rowCount() - 1;
        timer.restart();
        int asked = 0;
        for (int r = std::max(0, top); r <= bottom; ++r)
            for (int c = 0; c < model->columnCount(); ++c, ++asked) {
                model->data(model->index(r, c), Qt::DisplayRole);
                model->data(model->index(r, c), Qt::BackgroundRole);
            }
        printf("decoding one screen    %d cells in %.2f ms\n", asked, seconds(timer) * 1000);
    }
    double sum = 0;
    for (double f : frames)
        sum += f;
    printf("scrolled frames        %zu, mean %.2f ms, median %.2f ms, slowest %.2f ms\n", frames.size(),
           sum / frames.size(), frames[frames.size() / 2], frames.back());

    KAVO::DialogDataLimit limit(nullptr);
    timer.restart();
    limit.updateRecord(&record);
    const double scan = seconds(timer);
    printf("limit scan             %.3f s, %zu exceedances over %d messages\n", scan,
           record.recordData().limits.size(), record.recordData().nrRecords);

    printf("targets                fill < 2 s: %s, < 150 bytes per cell: %s, limit scan < 2 s: %s\n",
           fill < 2.0 ? "met" : "MISSED",
           cells > 0 && static_cast<double>(heapAfter - heapBefore) / cells < 150 ? "met" : "MISSED",
           scan < 2.0 ? "met" : "MISSED");
    return 0;
}
