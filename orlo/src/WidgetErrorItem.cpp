#include "WidgetErrorItem.h"

#include <QPainter>

WidgetErrorItem::WidgetErrorItem(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setMinimumWidth(15);
    setMinimumHeight(150);
}

void WidgetErrorItem::setType(int type)
{
    mType = type;
    update();
}

void WidgetErrorItem::setErrorState(bool state)
{
    if (state == mErrorState)
        return;
    mErrorState = state;
    repaint();
}

void WidgetErrorItem::setText(const QString& text)
{
    mText = text;
    update();
}

void WidgetErrorItem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor fill(255, 255, 255);
    if (mErrorState) {
        switch (mType) {
        case 1: fill = QColor(150, 150, 255); break;
        case 2: fill = QColor(255, 200, 150); break;
        case 3: fill = QColor(255, 150, 150); break;
        default: break;
        }
    } else if (mType != 0) {
        fill = QColor(220, 255, 220);
    }
    painter.fillRect(QRect(QPoint(1, 1), QPoint(width() - 2, height() - 2)), fill);

    if (mType == 0)
        return;
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    // Reading upward: the text starts 5 pixels above the bottom, its
    // baseline 4 pixels from the right edge.
    painter.translate(width() - 4, height() - 5);
    painter.rotate(-90);
    painter.drawText(0, 0, mText);
}
