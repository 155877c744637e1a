// The card list (selection debounce, detail rows, clock texts) and the
// parameter tree (check boxes, blinking confirmation, clear).
#include "DialogCard.h"
#include "DialogProfile.h"
#include "Images.h"
#include "ManualClock.h"
#include "Profile.h"
#include "Project.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <list>

using KAVO::DialogCard;
using KAVO::DialogProfile;

namespace {

using PathList = std::list<QString>;

QTreeWidgetItem* fileItem(QTreeWidget* tree, const QString& path)
{
    QTreeWidgetItem* item = new QTreeWidgetItem(tree);
    item->setText(0, path.section('/', -1));
    item->setData(0, Qt::UserRole, path);
    new QTreeWidgetItem(item, QStringList("Date: 1.2.2022 10:00:00"));
    return item;
}

struct Received
{
    QList<PathList> lists;
    QList<qint64> times;
};

} // namespace

TEST(CardListTest, ClockTextCutsFractionsAndWrapsAtMidnight)
{
    EXPECT_EQ(DialogCard::clockText(3661.9), "01:01:01");
    EXPECT_EQ(DialogCard::clockText(0.0), "00:00:00");
    EXPECT_EQ(DialogCard::clockText(90000.0), "01:00:00");
    EXPECT_EQ(DialogCard::clockText(86399.999), "23:59:59");
    // Far beyond an int of milliseconds (a recorder running for months).
    EXPECT_EQ(DialogCard::clockText(5.0e6 + 61.5), QTime(0, 0).addSecs((5000000 + 61) % 86400).toString("hh:mm:ss"));
    EXPECT_EQ(DialogCard::clockText(std::nan("")), "00:00:00");
}

TEST(CardListTest, FolderNameAndEmptyCard)
{
    DialogCard card(nullptr);
    KAVO::CardInfo info;
    info.path = "/media/user/CARD01";
    card.setCardInfo(info);
    EXPECT_EQ(card.folderField()->text(), "CARD01");
    EXPECT_TRUE(card.folderField()->isReadOnly());
    EXPECT_EQ(card.tree()->topLevelItemCount(), 0);
    EXPECT_EQ(card.tree()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(card.tree()->isHeaderHidden());
    // Handing the list its own contents keeps them.
    card.setCardInfo(card.cardInfo());
    EXPECT_EQ(card.cardInfo().path, "/media/user/CARD01");
}

namespace {

KAVO::RecordInfo recordInfo(const QString& path, const QDateTime& date, double start, double stop)
{
    KAVO::RecordInfo info;
    info.path = path;
    info.dateTime = date;
    info.startTime = start;
    info.stopTime = stop;
    info.samples = 123456;
    info.busType = 2;
    info.ecuSerialNumber = 4711;
    std::strcpy(info.swPartA, "SW-A-100");
    std::strcpy(info.swPartB, "SW-B-200");
    std::strcpy(info.ecuType, "ECU912");
    std::strcpy(info.emuSwVersion, "V3.1");
    std::strcpy(info.engineSerialNumber, "EN-77");
    std::strcpy(info.engineType, "R912");
    return info;
}

QStringList childTexts(QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

TEST(CardListTest, RecordItemsShowNameDateToolTipAndTwelveDetailRows)
{
    KAVO::CardInfo info;
    info.path = "/media/CARD";
    // Inserted out of order: the list follows the paths.
    info.records["/media/CARD/LOG_0002.can"] =
        recordInfo("/media/CARD/LOG_0002.can", QDateTime(QDate(2022, 3, 4), QTime(5, 6, 7)), 7200.0, 7260.5);
    info.records["/media/CARD/LOG_0001.CAN"] =
        recordInfo("/media/CARD/LOG_0001.CAN", QDateTime(QDate(2021, 12, 24), QTime(18, 0, 9)), 3661.9, 90061.999);
    // A full text buffer without a terminating zero stays inside its field.
    KAVO::RecordInfo full = recordInfo("/media/CARD/A.CAN", QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)), 0, 0);
    std::memset(full.engineType, 'E', sizeof full.engineType);
    info.records["/media/CARD/A.CAN"] = full;

    DialogCard card(nullptr);
    card.setCardInfo(info);
    QTreeWidget* tree = card.tree();
    EXPECT_EQ(card.folderField()->text(), "CARD");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "A.CAN   2.1.2020 3:04:05");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "LOG_0001.CAN   24.12.2021 18:00:09");
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "LOG_0002.can   4.3.2022 5:06:07");

    QTreeWidgetItem* item = tree->topLevelItem(1);
    EXPECT_EQ(item->data(0, Qt::UserRole).toString(), "/media/CARD/LOG_0001.CAN");
    // Fractions are cut; past midnight the clock starts again.
    EXPECT_EQ(item->toolTip(0), "Start Time: 01:01:01\nStop Time: 01:01:01");
    EXPECT_EQ(tree->topLevelItem(2)->toolTip(0), "Start Time: 02:00:00\nStop Time: 02:01:00");
    const QImage icon = item->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(icon, KAVO::Images::pixmap("canArincTx").toImage().convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(childTexts(item), (QStringList{ "Date: 24.12.2021 18:00:09", "Start Time: 01:01:01",
                                              "Stop Time: 01:01:01", "Bus Type: 2", "ECU Serial Number: 4711",
                                              "Software Part Nr. A: SW-A-100", "Software Part Nr. B: SW-B-200",
                                              "ECU Type: ECU912", "EMU SW Version: V3.1",
                                              "Engine Serial Nr.: EN-77", "Engine Type: R912",
                                              "Samples Total: 123456" }));
    EXPECT_EQ(tree->topLevelItem(0)->child(10)->text(0), "Engine Type: " + QString(32, 'E'));
    // Detail rows carry no path.
    EXPECT_FALSE(item->child(0)->data(0, Qt::UserRole).isValid());

    // A new card replaces the list.
    KAVO::CardInfo other;
    other.path = "/media/EMPTY";
    card.setCardInfo(other);
    EXPECT_EQ(card.folderField()->text(), "EMPTY");
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST(CardListTest, SelectionIsSentOnceHalfASecondAfterTheLastChange)
{
    testsupport::ManualClock clock;
    DialogCard card(nullptr);
    card.show();
    QTreeWidget* tree = card.tree();
    QTreeWidgetItem* a = fileItem(tree, "/card/A.CAN");
    QTreeWidgetItem* b = fileItem(tree, "/card/B.can");
    QTreeWidgetItem* c = fileItem(tree, "/card/C.CAN");

    Received got;
    QObject::connect(&card, &DialogCard::signalLoadRecord, [&](PathList list) {
        got.lists.append(list);
        got.times.append(clock.now());
    });

    // Three changes 150 ms apart: each one starts the half second anew.
    a->setSelected(true);
    clock.advance(150);
    b->setSelected(true);
    clock.advance(150);
    c->setSelected(true);
    const qint64 lastChange = clock.now();
    EXPECT_EQ(clock.remaining(card.debounceTimer()), 500);
    clock.advance(499);
    EXPECT_TRUE(got.lists.isEmpty()) << "sent before the selection rested";
    clock.advance(1);
    ASSERT_EQ(got.lists.size(), 1);
    EXPECT_EQ(got.times.at(0) - lastChange, 500);
    PathList sent = got.lists.at(0);
    sent.sort();
    EXPECT_EQ(sent, (PathList{ "/card/A.CAN", "/card/B.can", "/card/C.CAN" }));
    clock.advance(5000);
    EXPECT_EQ(got.lists.size(), 1);

    // Clearing the selection sends an empty list, also half a second later.
    tree->clearSelection();
    clock.advance(499);
    EXPECT_EQ(got.lists.size(), 1);
    clock.advance(1);
    ASSERT_EQ(got.lists.size(), 2);
    EXPECT_TRUE(got.lists.at(1).empty());
}

TEST(CardListTest, SelectedDetailRowsAreIgnored)
{
    qRegisterMetaType<PathList>("std::list<QString>");
    testsupport::ManualClock clock;
    DialogCard card(nullptr);
    QTreeWidget* tree = card.tree();
    QTreeWidgetItem* a = fileItem(tree, "/card/A.CAN");
    QTreeWidgetItem* b = fileItem(tree, "/card/B.CAN");
    QSignalSpy spy(&card, &DialogCard::signalLoadRecord);

    // A detail row alone: an empty list, never an empty path.
    b->child(0)->setSelected(true);
    clock.advance(DialogCard::DebounceMs);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<PathList>(), PathList{});

    // A file and detail rows (of it and of another file): the file's path alone.
    tree->clearSelection();
    a->setSelected(true);
    a->child(0)->setSelected(true);
    b->child(0)->setSelected(true);
    clock.advance(DialogCard::DebounceMs);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).value<PathList>(), PathList{ "/card/A.CAN" });
}

namespace {

// The tree over the profile singleton, loaded with the export tests' profile:
// device "Dev" with A, B, Speed [rpm], Mode; device "GPS" with Latitude,
// Longitude, Altitude.
struct Tree
{
    testsupport::TempDir dir;
    DialogProfile widget{ nullptr, *KAVO::Profile::instance() };
    QTreeWidgetItem* dev = nullptr;
    QTreeWidgetItem* a = nullptr;
    QTreeWidgetItem* speed = nullptr;
    QTreeWidgetItem* latitude = nullptr;

    Tree()
    {
        EXPECT_TRUE(testsupport::loadExportProfile(dir.path()));
        widget.updateList();
        dev = widget.tree()->topLevelItem(0);
        a = widget.item("Dev/A");
        speed = widget.item("Dev/Speed");
        latitude = widget.item("GPS/Latitude");
    }
    ~Tree() { KAVO::Profile::instance()->clear(); }

    static KAVO::ProfileParameter& parameter(const QString& fullName)
    {
        for (auto& d : KAVO::Profile::instance()->data().mDevices)
            for (auto& p : d.second.mParameters)
                if (p.second.mFullName == fullName)
                    return p.second;
        static KAVO::ProfileParameter none;
        ADD_FAILURE() << "no parameter " << fullName.toStdString();
        return none;
    }
};

QColor buttonText(QPushButton* b)
{
    return b->palette().color(QPalette::Active, QPalette::ButtonText);
}

// The blinking of the confirmation as it happens, whenever the event loop
// gets to it: "t" for each tick of the blink timer, then "R" or "N" when
// the button's text turns red or back to normal.
class BlinkTrace : public QObject
{
public:
    BlinkTrace(QPushButton* button, const QColor& normal)
        : mButton(button)
        , mNormal(normal)
    {
        qApp->installEventFilter(this);
    }
    ~BlinkTrace() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) {
            const QTimer* timer = qobject_cast<QTimer*>(watched);
            if (timer != nullptr && timer != beside && !timer->isSingleShot() &&
                timer->interval() == DialogProfile::BlinkMs &&
                static_cast<QTimerEvent*>(event)->timerId() == timer->timerId())
                trace += 't';
        } else if (watched == mButton && event->type() == QEvent::PaletteChange) {
            const QColor c = buttonText(mButton);
            trace += c == QColor(255, 0, 0) ? 'R' : c == mNormal ? 'N' : '?';
        }
        return false;
    }
    int ticks() const { return static_cast<int>(trace.count('t')); }

    QString trace;
    const QTimer* beside = nullptr;  // a timer of the same interval that is not the blink

private:
    QPushButton* mButton;
    QColor mNormal;
};

} // namespace

TEST(ParameterTreeTest, RowsFollowTheProfileInOrderWithUnitsIconsAndCheckBoxes)
{
    Tree t;
    QTreeWidget* tree = t.widget.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    const int devId = KAVO::Profile::instance()->data().mDevices.begin()->second.mId;
    EXPECT_EQ(t.dev->text(0), QString("%1 Dev").arg(devId));
    EXPECT_TRUE(tree->topLevelItem(1)->text(0).endsWith(" GPS"));
    ASSERT_EQ(t.dev->childCount(), 4);
    EXPECT_EQ(t.dev->child(0)->text(0), "A");
    EXPECT_EQ(t.dev->child(1)->text(0), "B");
    EXPECT_EQ(t.dev->child(2)->text(0), "Speed [rpm]");
    EXPECT_EQ(t.dev->child(3)->text(0), "Mode");
    EXPECT_EQ(t.speed, t.dev->child(2));
    EXPECT_EQ(t.latitude->text(0), "Latitude [deg]");
    EXPECT_EQ(int(t.speed->flags()), 49);
    EXPECT_EQ(t.speed->checkState(0), Qt::Unchecked);
    EXPECT_EQ(t.speed->data(0, Qt::UserRole).value<KAVO::ProfileParameter*>(), &Tree::parameter("Dev/Speed"));
    EXPECT_EQ(QMetaType::type("KAVO::ProfileParameter*"), qMetaTypeId<KAVO::ProfileParameter*>());
    EXPECT_EQ(t.widget.item("Dev/None"), nullptr);
    const QImage icon = t.speed->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(icon, KAVO::Images::pixmap("canParameter").toImage().convertToFormat(QImage::Format_ARGB32));
    EXPECT_FALSE(t.dev->icon(0).isNull());
    EXPECT_TRUE(tree->isHeaderHidden());
    EXPECT_EQ(t.widget.confirmButton()->text(), "Confirm Selection");
    EXPECT_EQ(t.widget.confirmButton()->font().weight(), 75);
    EXPECT_EQ(t.widget.clearButton()->text(), "Clear");

    // Rebuilding replaces the rows; none of the old ones is reachable any more.
    t.widget.updateList();
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(t.widget.item("Dev/Speed"), tree->topLevelItem(0)->child(2));
}

TEST(ParameterTreeTest, ChecksWriteSelectedFlagsAndBlinkUntilConfirmed)
{
    Tree t;
    QSignalSpy changed(&t.widget, &DialogProfile::signalChanged);
    QPushButton* confirm = t.widget.confirmButton();
    const QColor normal = buttonText(confirm);
    ASSERT_NE(normal, QColor(255, 0, 0));

    // Three checks select at once; the window hears of it only on confirmation.
    t.a->setCheckState(0, Qt::Checked);
    t.speed->setCheckState(0, Qt::Checked);
    t.latitude->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(Tree::parameter("Dev/A").mSelected);
    EXPECT_TRUE(Tree::parameter("Dev/Speed").mSelected);
    EXPECT_TRUE(Tree::parameter("GPS/Latitude").mSelected);
    EXPECT_FALSE(Tree::parameter("Dev/B").mSelected);
    EXPECT_TRUE(t.widget.isBlinking());
    EXPECT_EQ(changed.count(), 0);

    // Unchecking clears the flag just as soon.
    t.speed->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(Tree::parameter("Dev/Speed").mSelected);

    // Red at the first tick, then normal, then red: one change per tick of
    // the 250 ms timer, however late the loaded machine delivers them.
    BlinkTrace blink(confirm, normal);
    ASSERT_TRUE(QTest::qWaitFor([&] { return blink.ticks() >= 3; }, 30000)) << blink.trace.toStdString();
    EXPECT_TRUE(blink.trace.startsWith("tRtNtR")) << blink.trace.toStdString();

    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(t.widget.isBlinking());
    EXPECT_EQ(buttonText(confirm), normal);
    // Confirmed, it stays normal: no tick while a timer of the same
    // interval, started now, ticks three times.
    blink.trace.clear();
    QTimer beside;
    blink.beside = &beside;
    QSignalSpy besideTicks(&beside, &QTimer::timeout);
    beside.start(DialogProfile::BlinkMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return besideTicks.count() >= 3; }, 30000));
    beside.stop();
    EXPECT_EQ(blink.trace, QString()) << blink.trace.toStdString();
    EXPECT_EQ(buttonText(confirm), normal);

    // The next change blinks red first again.
    t.a->setCheckState(0, Qt::Unchecked);
    ASSERT_TRUE(QTest::qWaitFor([&] { return blink.ticks() >= 1; }, 30000));
    EXPECT_TRUE(blink.trace.startsWith("tR")) << blink.trace.toStdString();
}

TEST(ParameterTreeTest, ProjectSelectionIsShownWithoutBlinking)
{
    Tree t;
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("p.xml"), "<Other><Parameters><Parameter name=\"Dev/B\"/>"
                                              "<Parameter name=\"GPS/Altitude\"/><Parameter name=\"X/Gone\"/>"
                                              "</Parameters></Other>");
    ASSERT_TRUE(KAVO::Project::instance()->readProject(dir.file("p.xml")));
    t.widget.updateProject();
    EXPECT_EQ(t.widget.item("Dev/B")->checkState(0), Qt::Checked);
    EXPECT_EQ(t.widget.item("GPS/Altitude")->checkState(0), Qt::Checked);
    EXPECT_EQ(t.a->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(t.widget.isBlinking());
    // Showing the flags wrote none.
    EXPECT_TRUE(Tree::parameter("Dev/B").mSelected);
    EXPECT_FALSE(Tree::parameter("Dev/A").mSelected);
    KAVO::Project::instance()->clear();
}

TEST(ParameterTreeTest, ClearUnselectsEverythingAndEmitsOnce)
{
    Tree t;
    t.a->setCheckState(0, Qt::Checked);
    t.latitude->setCheckState(0, Qt::Checked);
    QSignalSpy changed(&t.widget, &DialogProfile::signalChanged);
    QTest::mouseClick(t.widget.clearButton(), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(t.a->checkState(0), Qt::Unchecked);
    EXPECT_EQ(t.latitude->checkState(0), Qt::Unchecked);
    for (auto& d : KAVO::Profile::instance()->data().mDevices)
        for (auto& p : d.second.mParameters)
            EXPECT_FALSE(p.second.mSelected) << p.second.mFullName.toStdString();
    // Clear leaves the blinking as it was.
    EXPECT_TRUE(t.widget.isBlinking());
}
