#ifndef ORLO_WIDGETFAULTMATRIX_H
#define ORLO_WIDGETFAULTMATRIX_H

#include "FaultMatrix.h"

#include <QFrame>

class QLabel;
class QTableWidget;
class QVBoxLayout;
class WidgetErrorItem;

namespace KAVO {

class Record;
class WidgetErrorTime;

// One error matrix: its 32 bit cells at the current time (bit 31 in the
// first column) under the strip over the whole recording.
class WidgetFaultMatrix : public QFrame
{
    Q_OBJECT
public:
    explicit WidgetFaultMatrix(QWidget* parent);

    void setData(KAVO::FaultMatrix& matrix);
    void updateRecord(KAVO::Record* record);
    // Shows the status word in force at t: that of the last message up to
    // t + 0.01 s (the first message before it, the last one after the end).
    void setTime(double t);

    WidgetErrorItem* item(int bit) const { return mItems[bit]; }
    WidgetErrorTime* strip() const { return mStrip; }
    QTableWidget* table() const { return mTable; }
    QLabel* title() const { return mTitle; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FaultMatrix mMatrix;
    Record* mRecord = nullptr;
    WidgetErrorItem* mItems[32] = {};
    QLabel* mTitle = nullptr;
    WidgetErrorTime* mStrip = nullptr;
    QTableWidget* mTable = nullptr;
    QVBoxLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
