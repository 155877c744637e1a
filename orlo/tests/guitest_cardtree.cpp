// The card list (selection debounce, detail rows, clock texts) and the
// parameter tree (check boxes, blinking confirmation, clear).
#include "DialogCard.h"
#include "DialogProfile.h"
#include "Images.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cmath>
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

TEST(CardListTest, SelectionIsSentOnceHalfASecondAfterTheLastChange)
{
    DialogCard card(nullptr);
    card.show();
    QTreeWidget* tree = card.tree();
    QTreeWidgetItem* a = fileItem(tree, "/card/A.CAN");
    QTreeWidgetItem* b = fileItem(tree, "/card/B.can");
    QTreeWidgetItem* c = fileItem(tree, "/card/C.CAN");

    Received got;
    QElapsedTimer clock;
    QObject::connect(&card, &DialogCard::signalLoadRecord, [&](PathList list) {
        got.lists.append(list);
        got.times.append(clock.elapsed());
    });

    clock.start();
    a->setSelected(true);
    QTest::qWait(150);
    b->setSelected(true);
    QTest::qWait(150);
    c->setSelected(true);
    const qint64 lastChange = clock.elapsed();
    QTest::qWait(300);
    EXPECT_TRUE(got.lists.isEmpty()) << "sent before the interval";
    QTRY_COMPARE_WITH_TIMEOUT(got.lists.size(), 1, 1500);
    QTest::qWait(600);
    ASSERT_EQ(got.lists.size(), 1);
    EXPECT_GE(got.times.at(0) - lastChange, DialogCard::DebounceMs - 20);
    PathList sent = got.lists.at(0);
    sent.sort();
    EXPECT_EQ(sent, (PathList{ "/card/A.CAN", "/card/B.can", "/card/C.CAN" }));

    // Clearing the selection sends an empty list.
    tree->clearSelection();
    QTRY_COMPARE_WITH_TIMEOUT(got.lists.size(), 2, 1500);
    EXPECT_TRUE(got.lists.at(1).empty());
}

TEST(CardListTest, DetailRowStandsForItsFileAndNeverSendsAnEmptyPath)
{
    qRegisterMetaType<PathList>("std::list<QString>");
    DialogCard card(nullptr);
    QTreeWidget* tree = card.tree();
    QTreeWidgetItem* a = fileItem(tree, "/card/A.CAN");
    QTreeWidgetItem* b = fileItem(tree, "/card/B.CAN");
    QSignalSpy spy(&card, &DialogCard::signalLoadRecord);

    // A detail row of B alone: B is sent.
    b->child(0)->setSelected(true);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 1500);
    EXPECT_EQ(spy.at(0).at(0).value<PathList>(), PathList{ "/card/B.CAN" });

    // A file and its own detail row: the file once.
    tree->clearSelection();
    a->setSelected(true);
    a->child(0)->setSelected(true);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 1500);
    EXPECT_EQ(spy.at(1).at(0).value<PathList>(), PathList{ "/card/A.CAN" });

    // A top-level row without a path contributes nothing.
    tree->clearSelection();
    QTreeWidgetItem* stray = new QTreeWidgetItem(tree, QStringList("stray"));
    stray->setSelected(true);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, 1500);
    EXPECT_TRUE(spy.at(2).at(0).value<PathList>().empty());
}

namespace {

struct Tree
{
    DialogProfile widget{ nullptr, nullptr };
    QTreeWidgetItem* engine = nullptr;
    QTreeWidgetItem* speed = nullptr;
    QTreeWidgetItem* temp = nullptr;
    QTreeWidgetItem* flow = nullptr;

    Tree()
    {
        engine = widget.addDeviceItem(widget.tree(), 3, "Engine");
        speed = widget.addParameterItem(engine, "Speed", "rpm", "Engine/Speed", nullptr);
        temp = widget.addParameterItem(engine, "Temperature", "", "Engine/Temperature", nullptr);
        flow = widget.addParameterItem(engine, "Flow", "l/h", "Engine/Flow", nullptr);
    }
};

QColor buttonText(QPushButton* b)
{
    return b->palette().color(QPalette::Active, QPalette::ButtonText);
}

} // namespace

TEST(ParameterTreeTest, RowsShowNameUnitIconAndCheckBox)
{
    Tree t;
    EXPECT_EQ(t.engine->text(0), "3 Engine");
    EXPECT_EQ(t.speed->text(0), "Speed [rpm]");
    EXPECT_EQ(t.temp->text(0), "Temperature");
    EXPECT_EQ(int(t.speed->flags()), 49);
    EXPECT_EQ(t.speed->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(t.speed->data(0, Qt::UserRole).canConvert<KAVO::ProfileParameter*>());
    EXPECT_EQ(QMetaType::type("KAVO::ProfileParameter*"), qMetaTypeId<KAVO::ProfileParameter*>());
    EXPECT_EQ(t.widget.item("Engine/Speed"), t.speed);
    EXPECT_EQ(t.widget.item("Engine/None"), nullptr);
    EXPECT_FALSE(t.speed->icon(0).isNull());
    EXPECT_TRUE(t.widget.tree()->isHeaderHidden());
    EXPECT_EQ(t.widget.confirmButton()->text(), "Confirm Selection");
    EXPECT_EQ(t.widget.confirmButton()->font().weight(), 75);
    EXPECT_EQ(t.widget.clearButton()->text(), "Clear");
    // Building rows and applying a project are not user changes.
    t.widget.updateProject();
    EXPECT_FALSE(t.widget.isBlinking());
}

TEST(ParameterTreeTest, ChecksBlinkTheConfirmButtonUntilConfirmed)
{
    Tree t;
    QSignalSpy changed(&t.widget, &DialogProfile::signalChanged);
    QPushButton* confirm = t.widget.confirmButton();
    const QColor normal = buttonText(confirm);
    ASSERT_NE(normal, QColor(255, 0, 0));

    t.speed->setCheckState(0, Qt::Checked);
    t.temp->setCheckState(0, Qt::Checked);
    t.flow->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(t.widget.isBlinking());
    EXPECT_EQ(changed.count(), 0);

    // Red first, then normal, every 250 ms.
    QTRY_COMPARE_WITH_TIMEOUT(buttonText(confirm), QColor(255, 0, 0), 600);
    QTRY_COMPARE_WITH_TIMEOUT(buttonText(confirm), normal, 600);
    QTRY_COMPARE_WITH_TIMEOUT(buttonText(confirm), QColor(255, 0, 0), 600);

    QTest::mouseClick(confirm, Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(t.widget.isBlinking());
    EXPECT_EQ(buttonText(confirm), normal);
    QTest::qWait(600);
    EXPECT_EQ(buttonText(confirm), normal);

    // The next change blinks red first again.
    t.speed->setCheckState(0, Qt::Unchecked);
    QTRY_COMPARE_WITH_TIMEOUT(buttonText(confirm), QColor(255, 0, 0), 400);
}

TEST(ParameterTreeTest, ClearUnchecksEverythingAndEmitsOnce)
{
    Tree t;
    t.speed->setCheckState(0, Qt::Checked);
    t.flow->setCheckState(0, Qt::Checked);
    QSignalSpy changed(&t.widget, &DialogProfile::signalChanged);
    QTest::mouseClick(t.widget.clearButton(), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(t.speed->checkState(0), Qt::Unchecked);
    EXPECT_EQ(t.flow->checkState(0), Qt::Unchecked);
    // Clear leaves the blinking as it was.
    EXPECT_TRUE(t.widget.isBlinking());
}
