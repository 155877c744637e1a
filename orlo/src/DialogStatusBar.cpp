#include "DialogStatusBar.h"

#include "Revision.h"
#include "TimerClock.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace KAVO {

DialogStatusBar::DialogStatusBar(QWidget* parent)
    : QStatusBar(parent)
    , mParent(parent)
{
    mProgress = new QProgressBar(this);
    mProgress->hide();
    addWidget(mProgress, 0);

    const QString text = QString::asprintf("Tamsel    %s %s (%d)", Revision::getName().c_str(),
                                           Revision::getRevisionNumber().c_str(), Revision::YEAR);
    mLabel = new QLabel(text, this);
    mLabel->setFrameStyle(QFrame::NoFrame);
    mLabel->setAlignment(Qt::AlignCenter);
    mLabel->setMinimumWidth(60);
    mLabel->setToolTip(QString::fromStdString(Revision::getRevisionString()));
    QFont font = mLabel->font();
    font.setPixelSize(12);
    mLabel->setFont(font);
    addPermanentWidget(mLabel, 0);

    mTimer = new QTimer;
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &DialogStatusBar::slotTimeout);
}

DialogStatusBar::~DialogStatusBar()
{
    delete mTimer;
}

void DialogStatusBar::updateProgress(int percent)
{
    mProgress->setValue(percent);
    if (percent > 99)
        TimerClock::start(mTimer, HideMs);
    else
        mProgress->show();
}

void DialogStatusBar::slotTimeout()
{
    mProgress->hide();
}

void DialogStatusBar::slotAbout()
{
}

} // namespace KAVO
