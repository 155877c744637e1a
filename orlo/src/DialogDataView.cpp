#include "DialogDataView.h"

#include "Profile.h"
#include "Record.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QTimer>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

namespace KAVO {

namespace {

const char* const InstrumentFile = "orlo.app/Contents/Resources/instruments.v";
const char* const FrameFile = "orlo.app/Contents/Resources/frame.v";

// The facade's button for a Qt button; -1 for any other.
int facadeButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return Nalvo2D::MOUSE_LEFT;
    case Qt::MiddleButton:
        return Nalvo2D::MOUSE_MIDDLE;
    case Qt::RightButton:
        return Nalvo2D::MOUSE_RIGHT;
    default:
        return -1;
    }
}

} // namespace

DialogDataView::DialogDataView(QWidget* parent)
    : QOpenGLWidget(parent)
{
    // The engine draws with the fixed pipeline and clips groups with the
    // stencil buffer.
    QSurfaceFormat fmt = format();
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    fmt.setStencilBufferSize(8);
    setFormat(fmt);

    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    mRepaintTimer = new QTimer();
    mRepaintTimer->setInterval(200);
    connect(mRepaintTimer, &QTimer::timeout, this, &DialogDataView::slotTimeout);
    mRepaintTimer->start();
}

DialogDataView::~DialogDataView()
{
    delete mRepaintTimer;
    // The views' textures and fonts live in this page's context: the
    // facades free them when the members go, right after this body.
    makeCurrent();
}

void DialogDataView::updateRecord(KAVO::Record* record)
{
    mParameters.clear();
    if (record == nullptr)
        return;
    for (auto& fed : InstrumentPage::feed(record->recordData(), *Profile::instance()))
        mParameters.push_back(ViewParameter{std::move(fed.first), std::move(fed.second)});
}

void DialogDataView::setTime(double seconds)
{
    mCurrentTime = seconds;
    updateView();
}

void DialogDataView::updateView()
{
    for (const ViewParameter& p : mParameters) {
        double value = 0.0;
        // A value that is not a number never reaches a needle: the view
        // keeps its last value, as after the last message.
        if (InstrumentPage::valueAt(p.values, mCurrentTime, value) && std::isfinite(value))
            mInstrumentView.setVar(p.name.toStdString(), value);
    }
    update();
}

void DialogDataView::loadView(const std::string& name)
{
    mViewFileName = name;
}

void DialogDataView::setBackgroundColor(const QColor& colour)
{
    mBackgroundRed = colour.red() / 255.0;
    mBackgroundGreen = colour.green() / 255.0;
    mBackgroundBlue = colour.blue() / 255.0;
    mInstrumentView.setBackgroundMode(false);
    update();
}

void DialogDataView::setViewColor(const QColor& colour)
{
    mInstrumentView.setColor(colour.red() / 255.0f, colour.green() / 255.0f, colour.blue() / 255.0f,
                             colour.alpha() / 255.0f);
    update();
}

bool DialogDataView::setVar(const std::string& name, long value)
{
    return mInstrumentView.setVar(name, value);
}

bool DialogDataView::setVar(const std::string& name, double value)
{
    return mInstrumentView.setVar(name, value);
}

bool DialogDataView::setVar(const std::string& name, const std::string& value)
{
    return mInstrumentView.setVar(name, value);
}

bool DialogDataView::getVar(const std::string& name, long& value)
{
    return mInstrumentView.getVar(name, value);
}

bool DialogDataView::getVar(const std::string& name, double& value)
{
    return mInstrumentView.getVar(name, value);
}

bool DialogDataView::getVar(const std::string& name, std::string& value)
{
    return mInstrumentView.getVar(name, value);
}

void DialogDataView::init()
{
    makeCurrent();
    const bool instrumentLoaded = mInstrumentView.load(InstrumentFile);
    if (!instrumentLoaded)
        printf("could not load view file <%s>\n", InstrumentFile);
    const bool frameLoaded = mFrameView.load(FrameFile);
    if (!frameLoaded)
        printf("could not load view file <%s>\n", FrameFile);
    // A view that loaded but does not run shows no values and takes no
    // clicks; a view that did not load was named above already.
    if (!mInstrumentView.startView(true) && instrumentLoaded)
        printf("could not start view file <%s>\n", InstrumentFile);
    if (!mFrameView.startView(true) && frameLoaded)
        printf("could not start view file <%s>\n", FrameFile);
    fflush(stdout);
    mInstrumentView.setBackgroundMode(false);
    mFrameView.setBackgroundMode(false);
    resizeGL(width(), height());
    mInitialised = true;
}

void DialogDataView::calcPage(int command)
{
    InstrumentPage::calcPage(mPages, command);
    mInstrumentView.setVar("PAGE", static_cast<long>(mPages.page));
    mInstrumentView.setVar("CONFIG_SELECT", static_cast<long>(mPages.config));
    mInstrumentView.setVar("UNIT_SELECT", static_cast<long>(mPages.unit));
}

void DialogDataView::slotTimeout()
{
    if (mStartCountdown > 0) {
        --mStartCountdown;
        update();
    }
    mRepaintTimer->start(200);
}

bool DialogDataView::storePosition(const QMouseEvent* event)
{
    const InstrumentPage::Fit fit{mScale, mXOffset, mYOffset};
    return InstrumentPage::toView(fit, height(), event->x(), event->y(), mViewX, mViewY);
}

long DialogDataView::frameLong(const char* name)
{
    long value = 0;
    return mFrameView.getVar(name, value) ? value : 0;
}

void DialogDataView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const int button = facadeButton(event->button());
    if (button < 0 || !storePosition(event)) {
        update();
        return;
    }
    if (button == Nalvo2D::MOUSE_LEFT) {
        mLeftHeld = true;
        mFrameView.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, mViewX, mViewY);
        mInstrumentView.setVar("CARD", frameLong("CARD"));
        // Each key the press set steps the page, in key order.
        const char* const keys[] = {"LSK_POTI", "LSK1", "LSK2", "LSK3"};
        for (int command = 0; command < 4; ++command)
            if (frameLong(keys[command]) != 0)
                calcPage(command);
    } else {
        (button == Nalvo2D::MOUSE_MIDDLE ? mMiddleHeld : mRightHeld) = true;
        mFrameView.setEvent(static_cast<Nalvo2D::eMouseButton>(button), Nalvo2D::EVENT_PRESS, mViewX, mViewY);
    }
    update();
    emit signalEvent();
}

void DialogDataView::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void DialogDataView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const int button = facadeButton(event->button());
    if (storePosition(event)) {
        if (button >= 0) {
            (button == Nalvo2D::MOUSE_LEFT ? mLeftHeld : button == Nalvo2D::MOUSE_MIDDLE ? mMiddleHeld : mRightHeld) =
                false;
            mFrameView.setEvent(static_cast<Nalvo2D::eMouseButton>(button), Nalvo2D::EVENT_RELEASE, mViewX, mViewY);
        }
        std::string name;
        if (mFrameView.getObject(mViewX, mViewY, name))
            emit signalObjectPick(name);
    }
    update();
    if (button >= 0)
        emit signalEvent();
    emit signalEventRelease();
}

void DialogDataView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!storePosition(event))
        return;
    if (mLeftHeld) {
        mFrameView.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_MOVE, mViewX, mViewY);
        double knob = 0.0;
        if (mFrameView.getVar("POTI", knob)) {
            mBrightness = InstrumentPage::dim(mBrightness, knob, mLastKnob);
            const float b = static_cast<float>(mBrightness);
            mInstrumentView.setColor(b, b, b, 1.0f);
            mLastKnob = knob;
        }
    }
    if (mMiddleHeld)
        mFrameView.setEvent(Nalvo2D::MOUSE_MIDDLE, Nalvo2D::EVENT_MOVE, mViewX, mViewY);
    if (mRightHeld)
        mFrameView.setEvent(Nalvo2D::MOUSE_RIGHT, Nalvo2D::EVENT_MOVE, mViewX, mViewY);
    update();
    if (mLeftHeld || mMiddleHeld || mRightHeld)
        emit signalEvent();
}

void DialogDataView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void DialogDataView::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void DialogDataView::initializeGL()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, static_cast<GLsizei>(std::lround(width() * ratio)),
               static_cast<GLsizei>(std::lround(height() * ratio)));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width(), 0.0, height(), -7000.0, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void DialogDataView::resizeGL(int, int)
{
    // The widget's own size: init() calls this before any resize event.
    const InstrumentPage::Fit fit =
        InstrumentPage::fit(width(), height(), mInstrumentView.width(), mInstrumentView.height());
    mScale = fit.scale;
    mXOffset = fit.xOffset;
    mYOffset = fit.yOffset;
    initializeGL();
}

void DialogDataView::paintGL()
{
    if (!mInitialised)
        init();
    glClearColor(static_cast<GLfloat>(mBackgroundRed), static_cast<GLfloat>(mBackgroundGreen),
                 static_cast<GLfloat>(mBackgroundBlue), 1.0f);
    // Depth and stencil too: the engine clips groups with the stencil, and
    // a mark left from the frame before must not clip this one.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glPushMatrix();
    glTranslated(mXOffset, mYOffset, 0.0);
    glScaled(mScale, mScale, 1.0);
    mInstrumentView.draw(true);
    mFrameView.draw(true);
    glPopMatrix();
}

} // namespace KAVO
