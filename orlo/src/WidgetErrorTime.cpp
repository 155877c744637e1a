#include "WidgetErrorTime.h"

#include "Record.h"

#include <QPainter>
#include <QtEndian>

#include <cmath>

namespace KAVO {

WidgetErrorTime::WidgetErrorTime(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setFixedHeight(30);
}

void WidgetErrorTime::setData(KAVO::FaultMatrix& matrix)
{
    mMatrix = matrix;
}

uint32_t WidgetErrorTime::statusWord(const RecordEntry& entry)
{
    return qFromBigEndian<uint32_t>(entry.data + 4);
}

void WidgetErrorTime::updateRecord(KAVO::Record* record)
{
    mRecord = record;
    mInfo.clear();
    mWarning.clear();
    mFault.clear();
    const RecordIdList& list =
        record != nullptr ? record->recordData().idList(0, static_cast<uint32_t>(mMatrix.mId)) : RecordIdList::emptyList();
    if (!list.empty()) {
        bool previous[3] = {false, false, false};
        std::list<Point>* lists[3] = {&mInfo, &mWarning, &mFault};
        for (std::size_t n = 0; n < list.entries.size(); ++n) {
            const RecordEntry& e = list.entries[n];
            const float t = static_cast<float>(record->recordData().timeOf(e));
            const uint32_t word = statusWord(e);
            bool flags[3] = {false, false, false};
            for (const auto& bit : mMatrix.mParameters) {
                const int type = bit.second.mErrorType;
                if (bit.first >= 0 && bit.first < 32 && (word >> bit.first & 1u) != 0 && type >= 1 && type <= 3)
                    flags[type - 1] = true;
            }
            for (int k = 0; k < 3; ++k) {
                if (n == 0 || flags[k] != previous[k])
                    lists[k]->push_back({t, flags[k]});
                previous[k] = flags[k];
            }
        }
        const float last = static_cast<float>(record->recordData().timeOf(list.entries.back()));
        for (int k = 0; k < 3; ++k)
            lists[k]->push_back({last, previous[k]});
    }
    update();
}

void WidgetErrorTime::setTime(double t)
{
    mTime = t;
    update();
}

int WidgetErrorTime::getX(float t)
{
    if (mRecord == nullptr)
        return 0;
    const RecordInfo& info = mRecord->recordInfo();
    const double span = info.stopTime - info.startTime;
    // A recording of one instant has no length to divide by.
    if (!(span > 0))
        return 0;
    // The nearest column: times read from ticks carry noise (a start of
    // 10.000000000000002 s) that must not cost a pixel.
    const double x = std::floor((t - info.startTime) * width() / span + 0.5);
    if (!(x > -1e6))
        return -1000000;
    return x < 1e6 ? static_cast<int>(x) : 1000000;
}

void WidgetErrorTime::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const int b = h / 3;
    painter.fillRect(QRect(QPoint(1, 1), QPoint(w - 2, h - 2)), Qt::white);

    if (mRecord != nullptr) {
        const std::list<Point>* lists[3] = {&mInfo, &mWarning, &mFault};
        const QColor colours[3] = {QColor(150, 150, 255), QColor(255, 200, 150), QColor(255, 150, 150)};
        for (int k = 0; k < 3; ++k) {
            const std::list<Point>& points = *lists[k];
            if (points.empty())
                continue;
            const int top = k * b;
            const int bottom = top + b - 1;
            for (auto p = points.begin(), q = std::next(p); q != points.end(); ++p, ++q) {
                const QRect span(QPoint(getX(p->time), top), QPoint(getX(q->time) - 1, bottom));
                if (span.isValid())
                    painter.fillRect(span, p->state ? colours[k] : QColor(Qt::white));
            }
            // The last status word stays in force to the end of the recording.
            const Point& last = points.back();
            const QRect rest(QPoint(getX(last.time), top), QPoint(w - 1, bottom));
            if (last.state && rest.isValid())
                painter.fillRect(rest, colours[k]);
        }
    }

    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(0, b, w, b);
    painter.drawLine(0, 2 * b, w, 2 * b);
    // Corners at (0, 0) and (w - 2, h - 2): the outline leaves the last column and row.
    painter.drawRect(0, 0, w - 2, h - 2);

    if (mRecord != nullptr) {
        painter.setPen(Qt::black);
        const int x = getX(static_cast<float>(mTime));
        painter.drawLine(x, 0, x, h);
    }
}

} // namespace KAVO
