#include "DialogCard.h"

#include "Images.h"
#include "RecordData.h"
#include "TimerClock.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace KAVO {

namespace {

// A header text buffer; a full buffer need not end in a zero.
QString text(const char (&buffer)[RecordInfo::TextSize])
{
    return QString::fromLatin1(buffer, int(qstrnlen(buffer, RecordInfo::TextSize)));
}

} // namespace

DialogCard::DialogCard(QWidget* parent)
    : QWidget(parent)
{
    mTimer = new QTimer;
    mTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the selection must rest the full interval.
    mTimer->setTimerType(Qt::PreciseTimer);
    connect(mTimer, &QTimer::timeout, this, &DialogCard::slotTimeout);

    mFolder = new QLineEdit(this);
    mFolder->setReadOnly(true);

    mTree = new QTreeWidget(this);
    mTree->setColumnCount(1);
    mTree->header()->hide();
    QFont headerFont = mTree->header()->font();
    headerFont.setPixelSize(8);
    mTree->header()->setFont(headerFont);
    mTree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(mTree, &QTreeWidget::itemSelectionChanged, this, QOverload<>::of(&DialogCard::slotSelect));

    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(3, 3, 3, 3);
    mLayout->addWidget(mFolder);
    mLayout->addWidget(mTree);
}

DialogCard::~DialogCard()
{
    delete mTimer;
}

void DialogCard::setCardInfo(const CardInfo& info)
{
    if (&info != &mCardInfo)
        mCardInfo = info;
    updateInfo();
}

void DialogCard::updateInfo()
{
    mFolder->setText(mCardInfo.path.section('/', -1));
    mTree->clear();
    for (const auto& kv : mCardInfo.records)
        addRecordItem(kv.first, kv.second);
}

QString DialogCard::clockText(double seconds)
{
    // Far outside any recorder's range (or not a number): shown as midnight.
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15)
        seconds = 0.0;
    return RecordData::timeOfDay(RecordData::clockMs(seconds)).toString(QStringLiteral("hh:mm:ss"));
}

void DialogCard::addRecordItem(const QString& path, const RecordInfo& info)
{
    const QString dateFormat = QStringLiteral("d.M.yyyy h:mm:ss");
    const QString date = info.dateTime.toString(dateFormat);
    const QString start = clockText(info.startTime);
    const QString stop = clockText(info.stopTime);

    QTreeWidgetItem* item = new QTreeWidgetItem(mTree);
    item->setText(0, path.section('/', -1) + QStringLiteral("   ") + date);
    item->setIcon(0, Images::icon(QStringLiteral("canArincTx")));
    item->setData(0, Qt::UserRole, path);
    item->setToolTip(0, QStringLiteral("Start Time: ") + start + QStringLiteral("\nStop Time: ") + stop);

    auto row = [item](const QString& label, const QString& value) {
        QTreeWidgetItem* child = new QTreeWidgetItem(item);
        child->setText(0, QStringLiteral("%1: %2").arg(label, value));
    };
    auto number = [](qint64 n) { return QString::number(n); };
    row(tr("Date"), date);
    row(tr("Start Time"), start);
    row(tr("Stop Time"), stop);
    row(tr("Bus Type"), number(qint64(info.busType)));
    row(tr("ECU Serial Number"), number(qint64(info.ecuSerialNumber)));
    row(tr("Software Part Nr. A"), text(info.swPartA));
    row(tr("Software Part Nr. B"), text(info.swPartB));
    row(tr("ECU Type"), text(info.ecuType));
    row(tr("EMU SW Version"), text(info.emuSwVersion));
    row(tr("Engine Serial Nr."), text(info.engineSerialNumber));
    row(tr("Engine Type"), text(info.engineType));
    row(tr("Samples Total"), number(qint64(info.samples)));
}

void DialogCard::slotSelect()
{
    mSelected.clear();
    // A selected detail row carries no path and is passed over: an empty
    // "file" in the list would make the reader stop there.
    for (QTreeWidgetItem* item : mTree->selectedItems()) {
        const QString path = item->data(0, Qt::UserRole).toString();
        if (!path.isEmpty())
            mSelected.push_back(path);
    }
    TimerClock::start(mTimer, DebounceMs);
}

void DialogCard::slotTimeout()
{
    emit signalLoadRecord(mSelected);
}

void DialogCard::slotSelect(QTreeWidgetItem*, QTreeWidgetItem*)
{
}

} // namespace KAVO
