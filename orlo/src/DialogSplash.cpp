#include "DialogSplash.h"

#include "Revision.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

namespace KAVO {

DialogSplash* DialogSplash::mpSplash = nullptr;

namespace {

QPixmap makeSplashImage()
{
    QPixmap pix(536, 403);
    QPainter p(&pix);
    QLinearGradient g(0, 0, 0, 403);
    g.setColorAt(0.0, QColor(232, 240, 250));
    g.setColorAt(1.0, QColor(160, 185, 215));
    p.fillRect(pix.rect(), g);
    p.setPen(QColor(40, 60, 110));
    QFont f = p.font();
    f.setPixelSize(64);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 250, 536, 90), Qt::AlignCenter, QString::fromLatin1(Revision::PRG));
    return pix;
}

} // namespace

DialogSplash* DialogSplash::instance()
{
    if (mpSplash == nullptr)
        mpSplash = new DialogSplash;
    return mpSplash;
}

DialogSplash::DialogSplash()
    : QSplashScreen(QPixmap())
{
    mImage = new QPixmap(makeSplashImage());
    setPixmap(*mImage);
    mTimer = new QTimer(this);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &DialogSplash::slotTimeout);
    mLines.clear();
    show();
    repaint();
}

DialogSplash::~DialogSplash()
{
    delete mTimer;
    delete mImage;
}

void DialogSplash::addEntry(const QString& line)
{
    mLines.append(line);
    while (mLines.size() >= 16)
        mLines.removeFirst();
    repaint();
}

void DialogSplash::finish()
{
    if (mpSplash == this)
        mpSplash = nullptr;
    mTimer->start(3000);
}

void DialogSplash::slotTimeout()
{
    close();
}

void DialogSplash::mousePressEvent(QMouseEvent*)
{
    close();
}

void DialogSplash::paintEvent(QPaintEvent* event)
{
    QSplashScreen::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0, 0, 200));
    for (int i = 0; i < mLines.size(); ++i)
        p.drawText(QPointF(5.0, 30 + 15 * i), mLines.at(i));
    // repaint() paints synchronously in Qt 5, so the lines reach the screen
    // during start-up without a flush.
}

} // namespace KAVO
