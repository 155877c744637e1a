#ifndef ORLO_DIALOGDATAGRAPH_H
#define ORLO_DIALOGDATAGRAPH_H

#include <QWidget>

namespace KAVO {

class Record;

// The graph tab of the data area. Until the strip chart is in place it
// keeps the tab's calls: the recording, the cursor time and the two marker
// times (0 until markers are set, as on a cleared graph).
class DialogDataGraph : public QWidget
{
    Q_OBJECT
public:
    explicit DialogDataGraph(QWidget* parent);

    // The first and second marker times: the export window.
    double markStart();
    double markStop();
    void updateProfile();
    void updateRecord(KAVO::Record* record, bool newWindow);
    // Moves the cursor without emitting.
    void setTime(double t);

signals:
    // The user moved the cursor.
    void signalCursor(float t, double value);

private:
    Record* mRecord = nullptr;
    double mCursor = 0.0;
    double mMarker1 = 0.0;
    double mMarker2 = 0.0;
};

} // namespace KAVO

#endif
