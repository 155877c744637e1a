#ifndef ORLO_DIALOGDATAGRAPH_H
#define ORLO_DIALOGDATAGRAPH_H

#include "GraphData.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QGridLayout;
class QHBoxLayout;
class QTimer;
class QToolButton;
class WidgetGraph;

namespace KAVO {

class DialogGraphSetup;
class ProfileParameter;
class Record;

// The "Graph" tab of the data area: the selected parameters of the loaded
// recording in a strip chart, under a row of command buttons (zoom, modes,
// setup, snapshot). The graph's cursor moves are passed on to the data
// area; a time set from elsewhere moves the cursor and, near an edge, the
// window.
class DialogDataGraph : public QWidget
{
    Q_OBJECT
public:
    // The commands, by button id.
    enum Command {
        CommandZoomIn = 0,
        CommandZoomOut = 1,
        CommandZoom1 = 2,
        CommandZoomMarker = 3,
        CommandClear = 4,
        CommandAutomatic = 5,
        CommandSplit = 6,
        CommandSingle = 7,
        CommandReset = 8,
        CommandSetup = 9,
        CommandSnapshot = 10,
        CommandCount = 11,
        CommandNone = 99
    };

    explicit DialogDataGraph(QWidget* parent);

    // The graph's marker times: the export window.
    double markStart();
    double markStop();
    // Gives the graph parameters to the selected parameters and refills.
    void updateProfile();
    // Refills the graph from the recording (not owned); with newWindow the
    // window shows the whole recording and the cursor sits at its start.
    void updateRecord(KAVO::Record* record, bool newWindow);
    // Puts one parameter's values into one graph parameter, in time order.
    void fillIndex(unsigned index, const ProfileParameter& parameter);
    // Moves the cursor, and the window when the cursor would leave its
    // middle part; emits nothing.
    void setTime(double t);
    // Saves a picture of the tab under a name the user chooses.
    void saveSnapshot();
    // Sets the split and single buttons from the graph's display mode.
    void updateControls();

    WidgetGraph* graph() const { return mGraph; }
    GraphData& graphData() { return mData; }
    DialogGraphSetup* setupDialog() const { return mSetup; }
    QToolButton* button(int id) const;
    // The picture that saveSnapshot writes.
    QImage snapshot();

signals:
    // The user moved the graph's cursor.
    void signalCursor(float t, double value);

private slots:
    void slotCommandPress(int id);
    void slotCommandRelease(int id);
    void slotManMode();
    void slotTimeout();
    void slotGraphSetup();

private:
    // Feeds parameters[from...] into graph parameters from...; the same as
    // fillIndex for each of them in turn.
    void fill(const std::vector<ProfileParameter>& parameters, unsigned from = 0);

    // The span of the zoom commands, kept in the record.
    void setSpan(float span);
    // True when the cursor's time lies in the window.
    bool cursorInWindow() const;

    int mPressed = CommandNone;
    QTimer* mZoomTimer = nullptr;
    GraphData mData;
    Record* mRecord = nullptr;
    DialogGraphSetup* mSetup = nullptr;
    QHBoxLayout* mButtonRow = nullptr;
    QButtonGroup* mButtons = nullptr;
    QToolButton* mButton[CommandCount] = {};
    WidgetGraph* mGraph = nullptr;
    QGridLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
