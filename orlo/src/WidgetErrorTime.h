#ifndef ORLO_WIDGETERRORTIME_H
#define ORLO_WIDGETERRORTIME_H

#include "FaultMatrix.h"

#include <QWidget>

#include <cstdint>
#include <list>

namespace KAVO {

class Record;
struct RecordEntry;

// The strip of an error matrix over the whole recording: three bands that
// mark when an info, a warning or a fault bit of the matrix was set, and a
// line at the current time.
class WidgetErrorTime : public QWidget
{
    Q_OBJECT
public:
    // A change point of one band: from this time on the band is set or clear.
    struct Point
    {
        float time;
        bool state;
    };

    explicit WidgetErrorTime(QWidget* parent);

    void setData(KAVO::FaultMatrix& matrix);
    // Builds the change points of the three bands from the matrix's status messages.
    void updateRecord(KAVO::Record* record);
    void setTime(double t);
    // The strip column of a time, rounded to the nearest; 0 without a recording, or when the
    // recording has no length.
    int getX(float t);

    // The status word of a matrix message: data bytes 4 to 7, big-endian.
    static uint32_t statusWord(const RecordEntry& entry);

    const std::list<Point>& infoPoints() const { return mInfo; }
    const std::list<Point>& warningPoints() const { return mWarning; }
    const std::list<Point>& faultPoints() const { return mFault; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FaultMatrix mMatrix;
    Record* mRecord = nullptr;
    double mTime = 0.0;
    std::list<Point> mInfo;
    std::list<Point> mWarning;
    std::list<Point> mFault;
};

} // namespace KAVO

#endif
