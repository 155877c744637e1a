// The instrument page on the sample card: values at their timeline times,
// the needle between two times, the line-select keys stepping the pages,
// the knob dimming the instrument, a working folder without the view
// files, and the engine's threads gone with the page.
#include "DialogDataView.h"
#include "gui/GuiInput.h"
#include "Profile.h"
#include "Record.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <memory>
#include <pthread.h>

Q_DECLARE_METATYPE(std::string)

namespace {

// While set, the view engine cannot start a thread.
std::atomic<bool> refuseEngineThreads{false};

} // namespace

// Stands in for the C library's thread start: refuses the threads that run
// code of the view engine while a test asks for it, and starts every other.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg)
{
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const Create next = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    Dl_info info;
    if (refuseEngineThreads && dladdr(reinterpret_cast<void*>(start), &info) != 0 && info.dli_fname != nullptr &&
        std::strstr(info.dli_fname, "libdorne") != nullptr)
        return EAGAIN;
    return next(thread, attr, start, arg);
}

using KAVO::DialogDataView;
using testsupport::StdoutCapture;
using testsupport::TempDir;

namespace {

// Both views are 800 x 480 view units; a page of that size shows them at
// scale 1, so a view point (x, y) is the pixel (x, 480 - y).
constexpr int Width = 800;
constexpr int Height = 480;
QPoint pixel(double x, double y)
{
    return QPoint(static_cast<int>(x), Height - static_cast<int>(y));
}
const QPoint Lsk1 = pixel(760, 380), Lsk2 = pixel(760, 240), Lsk3 = pixel(760, 100);
const QPoint KnobPush = pixel(40, 100), KnobRing = pixel(40, 126);
// The instrument's glass, in pixels.
const QRect Glass(80, Height - 460, 640, 440);

int threadCount()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.' ? 1 : 0;
        closedir(d);
    }
    return n;
}

double meanLevel(const QImage& image, const QRect& area)
{
    double sum = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += qRed(p) + qGreen(p) + qBlue(p);
        }
    return sum / (3.0 * area.width() * area.height());
}

// Pixels of a that differ from b, inside and outside an area.
std::pair<int, int> differences(const QImage& a, const QImage& b, const QRect& area)
{
    std::pair<int, int> n{0, 0};
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++(area.contains(x, y) ? n.first : n.second);
    return n;
}

class InstrumentPageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        StdoutCapture quiet;
        ASSERT_TRUE(KAVO::Profile::instance()->loadProfile(testsupport::bundleResources() + "/Ostervan_Profile.xml"));
    }

    // The sample card's last flight, its low and its high file.
    void readCard()
    {
        KAVO::SampleCard::Options o;
        o.folder = mDir.file("card");
        o.messages = 60000;
        mCard = std::make_unique<KAVO::SampleCard>(o);
        StdoutCapture quiet;
        ASSERT_TRUE(mCard->write());
        ASSERT_TRUE(mRecord.readRecordData({o.folder + "/LOG_0002.CAN", o.folder + "/LOG_8001.CAN"}));
        ASSERT_GT(mCard->offset(), 0.0);
    }

    DialogDataView& show()
    {
        mPage = std::make_unique<DialogDataView>(nullptr);
        mPage->resize(Width, Height);
        mPage->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(mPage.get()));
        frame();
        return *mPage;
    }

    // A page started in another working folder on a blue background: its
    // first frame, and what it printed.
    QImage showIn(const QString& folder, QString& printed)
    {
        const QString home = QDir::currentPath();
        EXPECT_TRUE(QDir::setCurrent(folder));
        StdoutCapture output;
        show().setBackgroundColor(QColor(0, 0, 255));
        const QImage shot = frame();
        printed = output.text();
        QDir::setCurrent(home);
        return shot;
    }

    QImage frame() { return mPage->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

    void click(const QPoint& at)
    {
        QTest::mousePress(mPage.get(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(mPage.get(), Qt::LeftButton, Qt::NoModifier, at);
    }

    long page()
    {
        long value = -1;
        EXPECT_TRUE(mPage->getVar("PAGE", value));
        return value;
    }

    void saveShot(const QString& name)
    {
        const QString out = testsupport::binaryDir() + "/artifacts";
        QDir().mkpath(out);
        EXPECT_TRUE(frame().save(out + "/" + name));
    }

    TempDir mDir;
    std::unique_ptr<KAVO::SampleCard> mCard;
    KAVO::Record mRecord;
    std::unique_ptr<DialogDataView> mPage;
};

TEST_F(InstrumentPageTest, HighFileValuesShowAtTheirTimelineTimesAndMoveTheNeedle)
{
    readCard();
    DialogDataView& w = show();
    w.updateRecord(&mRecord);
    std::vector<QString> names;
    for (const DialogDataView::ViewParameter& p : w.parameters())
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<QString>{"rpm", "egt1", "egt2", "coolant", "oilPressure", "oilTemperature",
                                           "fuelFlow", "fuelLevel", "altitude", "groundSpeed"}));

    // A tenth inside the high file: its rpm messages sit at their recorded
    // time plus the folder's offset, and the last of them is the value
    // shown at the start of that tenth.
    const KAVO::ProfileParameter* rpm = nullptr;
    for (auto& d : KAVO::Profile::instance()->data().mDevices)
        for (auto& p : d.second.mParameters)
            if (p.second.mViewId == "rpm")
                rpm = &p.second;
    ASSERT_NE(rpm, nullptr);
    const KAVO::RecordIdList& list = mRecord.recordData().idList(0, 0x100);
    KAVO::RecordEntry scratch;
    double expected = std::nan("");
    int tenth = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const KAVO::RecordEntry& e = list.entries.at(static_cast<uint32_t>(i), scratch);
        if (!e.highFile || e.time < 1.0)
            continue;
        const int key = static_cast<int>(std::floor((e.time + mCard->offset()) * 10.0 + 1e-5));
        if (tenth < 0) {
            tenth = key + 1;  // a tenth whose messages all lie after this one
            continue;
        }
        if (std::isnan(expected) && key > tenth)
            tenth = key;
        if (key == tenth)
            expected = KAVO::Profile::instance()->getDouble(e, *rpm, true);
        else if (key > tenth)
            break;
    }
    ASSERT_FALSE(std::isnan(expected));
    w.setTime(tenth / 10.0);
    double shown = 0.0;
    ASSERT_TRUE(w.getVar("rpm", shown));
    EXPECT_DOUBLE_EQ(shown, expected);

    // The needle between two times of different speed; the bezel stays.
    w.setTime(3.0);
    const QImage slow = frame();
    w.setTime(mCard->offset() + 20.0);
    double fast = 0.0;
    ASSERT_TRUE(w.getVar("rpm", fast));
    const QImage later = frame();
    const auto [inside, outside] = differences(slow, later, Glass);
    EXPECT_GT(inside, 50) << "rpm " << fast;
    EXPECT_EQ(outside, 0);
    saveShot("instrument-page-0.png");

    // A time after every message writes nothing: the values stay.
    w.setTime(1e7);
    ASSERT_TRUE(w.getVar("rpm", shown));
    EXPECT_EQ(shown, fast);
    w.updateRecord(nullptr);
    EXPECT_TRUE(w.parameters().empty());
}

TEST_F(InstrumentPageTest, AValueThatIsNotANumberLeavesTheNeedleWhereItWas)
{
    // rpm is a big-endian FLOAT at byte 4 of id 0x100 on channel 0.
    const auto add = [&](double time, float value) {
        KAVO::RecordEntry e;
        e.canId = 0x100;
        e.data[1] = KAVO::Profile::TYPE_FLOAT;
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        for (int i = 0; i < 4; ++i)
            e.data[4 + i] = static_cast<uint8_t>(bits >> (24 - 8 * i));
        e.time = time;
        testsupport::fileEntry(mRecord, e);
    };
    add(1.0, 1000.0f);
    add(2.0, std::nanf(""));
    add(3.0, 3000.0f);
    DialogDataView& w = show();
    w.updateRecord(&mRecord);
    const struct
    {
        double t;
        double rpm;
    } steps[] = {{0.5, 1000.0}, {1.5, 1000.0}, {2.5, 1000.0}, {3.0, 1000.0}, {-4.0, 1000.0}};
    for (const auto& s : steps) {
        w.setTime(s.t);
        double rpm = 0.0;
        ASSERT_TRUE(w.getVar("rpm", rpm));
        EXPECT_EQ(rpm, s.rpm) << "at " << s.t;
    }
}

TEST_F(InstrumentPageTest, KeysStepThePagesAndTheKnobDimsTheInstrument)
{
    DialogDataView& w = show();
    qRegisterMetaType<std::string>("std::string");
    QSignalSpy events(&w, &DialogDataView::signalEvent);
    QSignalSpy releases(&w, &DialogDataView::signalEventRelease);
    QSignalSpy picks(&w, &DialogDataView::signalObjectPick);
    EXPECT_EQ(page(), 0);
    const struct
    {
        QPoint key;
        long page;
    } steps[] = {
        {Lsk1, 1}, {Lsk1, 2}, {Lsk1, 3}, {Lsk1, 4}, {Lsk1, 5}, {KnobPush, 0}, {Lsk1, 5}, {Lsk1, 6}, {Lsk1, 6},
        {Lsk2, 5}, {KnobPush, 0}, {Lsk2, 7}, {Lsk2, 7}, {Lsk1, 8}, {KnobPush, 0}, {Lsk2, 8}, {KnobPush, 0},
        {Lsk3, 13}, {Lsk1, 13}, {Lsk3, 14}, {Lsk3, 13},
    };
    for (const auto& s : steps) {
        click(s.key);
        EXPECT_EQ(page(), s.page) << "after a click at " << s.key.x() << "," << s.key.y();
    }
    long selection = -1;
    ASSERT_TRUE(w.getVar("CONFIG_SELECT", selection));
    EXPECT_EQ(selection, 1);
    saveShot("instrument-page-13.png");
    const int clicks = static_cast<int>(sizeof steps / sizeof steps[0]);
    EXPECT_EQ(events.count(), 2 * clicks);
    EXPECT_EQ(releases.count(), clicks);
    ASSERT_FALSE(picks.isEmpty());
    EXPECT_EQ(picks.last().at(0).value<std::string>(), "LSK3");

    // Dragging the knob's ring down darkens the glass; far down it stops at
    // a tenth of the brightness, so the picture stays the same.
    click(KnobPush);
    const QImage bright = frame();
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, KnobRing);
    for (int dy = 10; dy <= 300; dy += 10)
        testsupport::dragTo(&w, KnobRing + QPoint(0, dy), Qt::LeftButton);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, KnobRing + QPoint(0, 300));
    const QImage dark = frame();
    EXPECT_EQ(page(), 0) << "the ring is not the knob's push";
    EXPECT_LT(meanLevel(dark, Glass), 0.2 * meanLevel(bright, Glass));
    EXPECT_EQ(meanLevel(dark, QRect(Width - 80, 0, 80, Height)), meanLevel(bright, QRect(Width - 80, 0, 80, Height)))
        << "the keys are not dimmed";
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, KnobRing);
    testsupport::dragTo(&w, KnobRing + QPoint(0, 200), Qt::LeftButton);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, KnobRing + QPoint(0, 200));
    EXPECT_EQ(frame(), dark);
    // Back up brightens it again.
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, KnobRing);
    testsupport::dragTo(&w, KnobRing - QPoint(0, 300), Qt::LeftButton);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, KnobRing - QPoint(0, 300));
    EXPECT_GT(meanLevel(frame(), Glass), 4.0 * meanLevel(dark, Glass));
}

TEST_F(InstrumentPageTest, WithoutViewFilesThePageSaysSoAndDrawsItsBackground)
{
    TempDir elsewhere;
    QString text;
    const QImage shot = showIn(elsewhere.path(), text);
    DialogDataView& w = *mPage;
    EXPECT_TRUE(text.contains("could not load view file <orlo.app/Contents/Resources/instruments.v>\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("could not load view file <orlo.app/Contents/Resources/frame.v>\n"));
    EXPECT_FALSE(text.contains("could not start")) << "a view that did not load is named once";
    EXPECT_DOUBLE_EQ(w.scale(), 1.0);
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(Width / 2, Height / 2), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(Width - 1, Height - 1), qRgb(0, 0, 255));
    // The mouse and the feed find no views and change nothing.
    click(Lsk1);
    testsupport::dragTo(&w, Lsk2, Qt::LeftButton);
    long value = 0;
    EXPECT_FALSE(w.getVar("PAGE", value));
    w.setTime(1.0);
    EXPECT_EQ(frame().pixel(Width / 2, Height / 2), qRgb(0, 0, 255));
}

TEST_F(InstrumentPageTest, ACutInstrumentFileLeavesTheFrameWorking)
{
    TempDir elsewhere;
    const QString resources = "orlo.app/Contents/Resources/";
    const QByteArray instrument = testsupport::readFile(testsupport::bundleResources() + "/instruments.v");
    ASSERT_GT(instrument.size(), 1000);
    ASSERT_TRUE(QDir(elsewhere.path()).mkpath(resources));
    ASSERT_TRUE(testsupport::writeFile(elsewhere.file(resources + "instruments.v"), instrument.left(instrument.size() / 2)));
    ASSERT_TRUE(QFile::copy(testsupport::bundleResources() + "/frame.v", elsewhere.file(resources + "frame.v")));
    QString text;
    const QImage shot = showIn(elsewhere.path(), text);
    DialogDataView& w = *mPage;
    EXPECT_TRUE(text.contains("could not load view file <orlo.app/Contents/Resources/instruments.v>\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("frame.v"));
    EXPECT_FALSE(text.contains("could not start"));
    // The frame at scale 1 (the instrument has no size) around the empty glass.
    EXPECT_DOUBLE_EQ(w.scale(), 1.0);
    EXPECT_EQ(shot.pixel(Width / 2, Height / 2), qRgb(0, 0, 255));
    EXPECT_NE(shot.pixel(20, Height / 2), qRgb(0, 0, 255)) << "the bezel";
    qRegisterMetaType<std::string>("std::string");
    QSignalSpy picks(&w, &DialogDataView::signalObjectPick);
    click(Lsk2);
    ASSERT_EQ(picks.count(), 1);
    EXPECT_EQ(picks.last().at(0).value<std::string>(), "LSK2");
    long value = 0;
    EXPECT_FALSE(w.getVar("PAGE", value));
}

TEST_F(InstrumentPageTest, AViewThatCannotStartIsNamedOnTheConsole)
{
    // Both views load, and neither gets its data thread.
    QString text;
    refuseEngineThreads = true;
    const QImage shot = showIn(QDir::currentPath(), text);
    refuseEngineThreads = false;
    EXPECT_TRUE(text.contains("could not start view file <orlo.app/Contents/Resources/instruments.v>\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("could not start view file <orlo.app/Contents/Resources/frame.v>\n"));
    EXPECT_FALSE(text.contains("could not load"));
    EXPECT_FALSE(shot.isNull());
    long value = 0;
    EXPECT_FALSE(mPage->getVar("PAGE", value));
}

TEST_F(InstrumentPageTest, APageAtThreeTimesTheWidthFitsItsHeightAndLeavesNoEngineThread)
{
    // A first page brings up what the display keeps for the process.
    show();
    mPage.reset();
    const int before = threadCount();
    // Half the view's height, three times its aspect: scale 0.5, the view
    // 400 pixels wide in the middle of 1200.
    mPage = std::make_unique<DialogDataView>(nullptr);
    mPage->resize(3 * Width / 2, Height / 2);
    mPage->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mPage.get()));
    const QImage shot = frame();
    EXPECT_DOUBLE_EQ(mPage->scale(), 0.5);
    EXPECT_GE(threadCount(), before + 2) << "each view animates on its own thread";
    QTest::mouseClick(mPage.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400 + 760 / 2, Height / 2 - 380 / 2));
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(meanLevel(shot, QRect(0, 0, 398, Height / 2)), 0.0) << "nothing left of the view";
    EXPECT_EQ(meanLevel(shot, QRect(802, 0, 398, Height / 2)), 0.0) << "nothing right of it";
    EXPECT_GT(meanLevel(shot, QRect(400, 0, 400, Height / 2)), 0.0);
    mPage.reset();
    EXPECT_EQ(threadCount(), before);
}

} // namespace
