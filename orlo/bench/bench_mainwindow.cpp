// From the selection of a card's files to the first painted table and graph,
// in the real main window: loads a generated card (default 10 million
// messages in 8 files) with 30 parameters of the default profile selected,
// as a user selecting the files in the card list does, and takes the times
// from the paint events of the table and of the graph. The load ends with
// its last progress report; the fill is what follows until both views have
// painted (the graph tab is brought to the front once the table painted).
// Each round runs in a fresh process; the figures are printed as min,
// median and max over the rounds, with the machine's load average.
//
//   xvfb-run -a bench_mainwindow [messages] [files] [rounds]   (default 10000000 8 5)
//
// Run it from the build folder: the window finds its default profile there.

#include "BenchSupport.h"
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogDataTable.h"
#include "DialogMain.h"
#include "Notifier.h"
#include "Profile.h"
#include "Property.h"
#include "Record.h"
#include "SampleCard.h"
#include "WidgetGraph.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <vector>

namespace {

constexpr int Selected = 30;

double ms(const QElapsedTimer& clock) { return clock.nsecsElapsed() * 1e-6; }

// The time of the first paint event of a widget after arm().
class PaintClock : public QObject
{
public:
    PaintClock(QWidget* widget, const QElapsedTimer& clock) : mClock(clock) { widget->installEventFilter(this); }
    void arm()
    {
        mAt = -1.0;
        mArmed = true;
    }
    double at() const { return mAt; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (mArmed && event->type() == QEvent::Paint) {
            mAt = ms(mClock);
            mArmed = false;
        }
        return false;
    }

private:
    const QElapsedTimer& mClock;
    double mAt = -1.0;
    bool mArmed = false;
};

int runWindow(const QString& folder)
{
    QTemporaryDir home;
    KAVO::Property::instance()->setConfigFile((home.path() + "/ORLO.ini").toStdString());

    KAVO::DialogMain window;
    window.resize(1600, 1000);
    window.show();
    for (int i = 0; i < 500 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    while (window.restoreTimer()->isActive())
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    // The first parameters of the profile, as a user selects them.
    int selected = 0;
    for (auto& device : KAVO::Profile::instance()->data().mDevices)
        for (auto& p : device.second.mParameters)
            p.second.mSelected = selected++ < Selected;
    if (selected < Selected) {
        printf("the default profile was not loaded (run from the build folder)\n");
        return 1;
    }
    window.dataArea()->updateProfile();
    window.loadRecords(folder);
    std::list<QString> files;
    for (const QString& name : QDir(folder).entryList({"*.CAN"}, QDir::Files, QDir::Name))
        files.push_back(folder + "/" + name);
    // Everything that waits to be painted before the selection is painted now.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    QElapsedTimer clock;
    clock.start();
    double lastProgress = -1.0;
    KAVO::Notifier::setProgressHandler([&](int percent) {
        window.setProgress(percent);
        lastProgress = ms(clock);
    });
    QTableView* table = window.dataArea()->findChild<KAVO::DialogDataTable*>()->findChild<QTableView*>();
    WidgetGraph* graph = window.dataArea()->findChild<WidgetGraph*>();
    QTabWidget* tabs = window.dataArea()->findChild<QTabWidget*>();
    tabs->setCurrentIndex(0);
    PaintClock tablePaint(table->viewport(), clock);
    PaintClock graphPaint(graph, clock);
    // The table counts once it holds the new recording.
    QObject::connect(table->model(), &QAbstractItemModel::modelReset, [&] { tablePaint.arm(); });

    double selection = 0.0;
    {
        const bench::QuietStdout quiet;
        clock.restart();
        selection = ms(clock);
        emit window.cardList()->signalLoadRecord(files);
        for (int i = 0; i < 60000 && tablePaint.at() < 0; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        graphPaint.arm();
        tabs->setCurrentWidget(graph->parentWidget());
        for (int i = 0; i < 60000 && graphPaint.at() < 0; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    KAVO::Notifier::setProgressHandler(nullptr);
    const int loaded = window.record().recordData().nrRecords;
    if (tablePaint.at() < 0 || graphPaint.at() < 0 || lastProgress < 0) {
        printf("the views did not paint\n");
        return 1;
    }
    const double load = lastProgress - selection;
    printf("RESULT load=%.1f table=%.1f graph=%.1f messages=%d\n", load, tablePaint.at() - selection,
           graphPaint.at() - selection, loaded);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--child") == 0) {
        setvbuf(stdout, nullptr, _IOLBF, 0);
        QApplication app(argc, argv);
        setlocale(LC_NUMERIC, "C");
        return runWindow(argv[2]);
    }
    QCoreApplication app(argc, argv);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    bench::Rounds setup;
    if (!bench::cardForRounds(argc, argv, dir, setup))
        return 1;

    std::vector<double> load, table, graph, fill, share;
    for (int r = 0; r < setup.rounds; ++r) {
        std::map<QString, double> v;
        for (const auto& field : bench::runChild({"--child", dir.path() + "/card"}))
            v[field.first] = field.second.toDouble();
        if (v.empty())
            return 1;
        const double f = std::max(v["table"], v["graph"]) - v["load"];
        printf("round %d  load %.0f ms, table painted at %.0f ms, graph painted at %.0f ms, fill %.0f ms (%d messages)\n",
               r + 1, v["load"], v["table"], v["graph"], f, static_cast<int>(v["messages"]));
        load.push_back(v["load"]);
        table.push_back(v["table"]);
        graph.push_back(v["graph"]);
        fill.push_back(f);
        share.push_back(f / v["load"]);
    }
    printf("load average after                %s\n", bench::loadAverage().toLocal8Bit().constData());
    printf("%d parameters selected, %d rounds, each in a fresh process\n", Selected, setup.rounds);
    bench::printSpread("load (selection to last progress)", load, "ms", "%.0f");
    bench::printSpread("table painted (from selection)", table, "ms", "%.0f");
    bench::printSpread("graph painted (from selection)", graph, "ms", "%.0f");
    bench::printSpread("fill (load to both painted)", fill, "ms", "%.0f");
    bench::printSpread("fill / load", share, "", "%.2f");
    printf("target                            fill at most a third of the load: %s\n",
           bench::median(share) <= 1.0 / 3.0 ? "met" : "MISSED");
    return 0;
}
