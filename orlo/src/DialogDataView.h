#ifndef ORLO_DIALOGDATAVIEW_H
#define ORLO_DIALOGDATAVIEW_H

#include "InstrumentPage.h"
#include "NalvoView.h"

#include <QColor>
#include <QOpenGLWidget>

#include <list>
#include <map>
#include <string>

class QTimer;

namespace KAVO {

class Record;

// The instrument page: a cockpit instrument drawn by the view engine. The
// instrument view ("instruments.v") shows the recording's values at the
// current time; the frame view ("frame.v") over it holds the bezel, the
// line-select keys that step the instrument's pages and the knob that dims
// it. The page is fed like the other displays, through updateRecord and
// setTime.
class DialogDataView : public QOpenGLWidget
{
    Q_OBJECT

public:
    // One fed view variable: a profile parameter's values by time key
    // (tenths of a second on the timeline).
    struct ViewParameter
    {
        QString name;
        std::map<int, double> values;
    };

    explicit DialogDataView(QWidget* parent);
    // Frees both views (their data threads end) in the page's context.
    ~DialogDataView() override;

    // Rebuilds the fed variables from the recording's messages of every
    // profile parameter with a view id; null leaves none.
    void updateRecord(KAVO::Record* record);
    // Sets the current time (seconds) and shows the values there.
    void setTime(double seconds);
    // Writes every fed variable's value at the current time, then repaints.
    void updateView();
    // Stores the name; the page always loads its two fixed view files.
    void loadView(const std::string& name);
    void setBackgroundColor(const QColor& colour);
    void setViewColor(const QColor& colour);
    double scale() const { return mScale; }

    // The instrument view's variables (false before the views started or
    // for a name the view does not hold).
    bool setVar(const std::string& name, long value);
    bool setVar(const std::string& name, double value);
    bool setVar(const std::string& name, const std::string& value);
    bool getVar(const std::string& name, long& value);
    bool getVar(const std::string& name, double& value);
    bool getVar(const std::string& name, std::string& value);

    // Loads and starts both views; the first paint calls it.
    void init();
    // The page machine: command 0 knob press, 1 to 3 the line-select keys.
    void calcPage(int command);

    const std::list<ViewParameter>& parameters() const { return mParameters; }

signals:
    void signalEvent();
    void signalEventRelease();
    void signalObjectPick(std::string name);

public slots:
    void slotTimeout();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    // Stores the event's position in view units; false while the page has
    // no size to map it with.
    bool storePosition(const QMouseEvent* event);
    // A frame view variable as long; one that cannot be read counts as 0.
    long frameLong(const char* name);

    std::list<ViewParameter> mParameters;
    Nalvo2D::NalvoView mInstrumentView;
    Nalvo2D::NalvoView mFrameView;
    double mScale = 1.0;
    double mXOffset = 0.0;
    double mYOffset = 0.0;
    double mBackgroundRed = 0.0;
    double mBackgroundGreen = 0.0;
    double mBackgroundBlue = 0.0;
    std::string mViewFileName;
    bool mInitialised = false;
    int mStartCountdown = 5;
    double mLastKnob = 0.0;
    double mBrightness = 1.0;
    InstrumentPage::Pages mPages;
    double mCurrentTime = 0.0;
    QTimer* mRepaintTimer;
    bool mLeftHeld = false;
    bool mMiddleHeld = false;
    bool mRightHeld = false;
    float mViewX = 0.0f;
    float mViewY = 0.0f;
};

} // namespace KAVO

#endif
