#ifndef ORLO_DIALOGDATATABLE_H
#define ORLO_DIALOGDATATABLE_H

#include "ProfileParameter.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QGridLayout;
class QTableView;

namespace KAVO {

class DialogDataTableModel;
class Record;

// The "Data" tab: one row per tenth of a second at which a selected
// parameter has a recorded value, the time in column 0 and the decoded
// value of each selected parameter in its threshold colour.
class DialogDataTable : public QWidget
{
    Q_OBJECT
public:
    explicit DialogDataTable(QWidget* parent);

    // Rebuilds the columns from the parameter selection and refills.
    void updateProfile();
    // Keeps the recording and refills the rows.
    void updateRecord(KAVO::Record* record);
    // Selects the row of time t without emitting.
    void setTime(double t);

    // The selected parameters of the profile in profile order.
    static std::vector<ProfileParameter> selectedParameters();
    // A time of day from a count of milliseconds, wrapping at 24 hours
    // (also below zero): "hh:mm:ss.zzz".
    static QString timeText(int64_t ms);
    // The look and selection behaviour that the tables of the data area share.
    // Width of the time column: room for "hh:mm:ss.zzz" in the view's font.
    static int timeColumnWidth(const QTableView* view);
    static void setupView(QTableView* view);
    // Selects a whole row and scrolls it to the centre, as a program change.
    static void showRow(QTableView* view, int row);

signals:
    // A row was chosen by the user; t in seconds.
    void signalTime(double t);

private slots:
    void slotSelect();

private:
    Record* mRecord = nullptr;
    bool mUpdating = false;
    QTableView* mTable = nullptr;
    DialogDataTableModel* mModel = nullptr;
    QGridLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
