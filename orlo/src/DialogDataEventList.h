#ifndef ORLO_DIALOGDATAEVENTLIST_H
#define ORLO_DIALOGDATAEVENTLIST_H

#include "DialogDataTable.h"
#include "Profile.h"
#include "ProfileParameter.h"
#include "RecordData.h"

#include <QColor>
#include <QString>
#include <QTableWidget>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

class QGridLayout;

namespace KAVO {

class Record;

// What the limit list and the warning list share: a table of events of the
// recording, one row each, sorted by time, with the time in column 0 and
// the event's text in its colour in column 1.
class DialogDataEventList : public QWidget
{
    Q_OBJECT
public:
    // Selects the row of time t without emitting; of rows in the same tenth
    // of a second the later one.
    void setTime(double t);

signals:
    // A row was chosen by the user; t in seconds.
    void signalTime(double t);

protected:
    // The two header labels come translated in the list's own context.
    DialogDataEventList(QWidget* parent, const QString& timeTitle, const QString& eventTitle);

    template <typename Event>
    void fillTimeColumn(const std::vector<Event>& events)
    {
        mKeyMap.clear();
        mTimeItems.clear();
        mTable->setRowCount(static_cast<int>(events.size()));
        for (int r = 0; r < static_cast<int>(events.size()); ++r) {
            const Event& e = events[static_cast<std::size_t>(r)];
            auto* item = new QTableWidgetItem(RecordData::clockText(e.time));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setData(Qt::UserRole, e.time * 1000.0);
            item->setBackground(QColor(230, 230, 230));
            mTable->setItem(r, 0, item);
            mTimeItems[r] = item;
            mKeyMap[RecordData::timeKey(e.time)] = r;
        }
    }

    template <typename Event>
    void fillTextColumn(const std::vector<Event>& events)
    {
        for (int r = 0; r < static_cast<int>(events.size()); ++r) {
            const Event& e = events[static_cast<std::size_t>(r)];
            auto* item = new QTableWidgetItem(e.text);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setBackground(e.color);
            mTable->setItem(r, 1, item);
        }
    }

    // Calls f(device name, parameter, its id list) for every parameter of
    // the profile, selected or not, in profile order.
    template <typename F>
    static void forEachParameter(const RecordData& data, F f)
    {
        for (const auto& device : Profile::instance()->data().mDevices)
            for (const auto& parameter : device.second.mParameters)
                f(device.second.mName, parameter.second,
                  data.idList(static_cast<uint32_t>(parameter.second.mChannel),
                              static_cast<uint32_t>(parameter.second.mCanId)));
    }

    // Sorts events by time; events of equal time keep the profile order.
    template <typename Event>
    static void sortByTime(std::vector<Event>& events)
    {
        std::stable_sort(events.begin(), events.end(),
                         [](const Event& a, const Event& b) { return a.time < b.time; });
    }

    std::map<int64_t, int> mKeyMap;                 // time key in tenths -> row
    std::map<int, QTableWidgetItem*> mTimeItems;    // row -> its time item
    Record* mRecord = nullptr;
    bool mUpdating = false;
    QTableWidget* mTable = nullptr;
    QGridLayout* mLayout = nullptr;

private slots:
    void slotSelect();
};

} // namespace KAVO

#endif
