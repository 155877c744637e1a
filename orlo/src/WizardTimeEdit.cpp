#include "WizardTimeEdit.h"

#include <algorithm>
#include <cmath>

namespace KAVO {

namespace {

constexpr int64_t MSecsPerDay = 24 * 3600 * 1000;
// Milliseconds beyond this are no longer whole numbers in a double.
constexpr double MaxMSecs = 9007199254740992.0;

} // namespace

WizardTimeEdit::WizardTimeEdit(QWidget* parent)
    : QTimeEdit(parent)
{
    setDisplayFormat("hh:mm:ss.zzz");
}

void WizardTimeEdit::setSeconds(double t)
{
    double ms = std::trunc(t * 1000.0);
    if (!(ms == ms))
        ms = 0.0;
    ms = std::max(-MaxMSecs, std::min(MaxMSecs, ms));
    const int64_t whole = static_cast<int64_t>(ms);
    int64_t days = whole / MSecsPerDay;
    int64_t ofDay = whole % MSecsPerDay;
    if (ofDay < 0) {
        ofDay += MSecsPerDay;
        --days;
    }
    // The days first: setting the time emits, and its readers want them.
    mDays = days;
    setTime(QTime::fromMSecsSinceStartOfDay(static_cast<int>(ofDay)));
}

double WizardTimeEdit::seconds() const
{
    return static_cast<double>(mDays) * 86400.0 + time().msecsSinceStartOfDay() / 1000.0;
}

void WizardTimeEdit::proposeWindow(double& start, double& stop, double first, double last)
{
    if (std::fabs(stop - start) < 0.01) {
        start = first;
        stop = last;
    }
}

double WizardTimeEdit::limited(double t, double first, double last)
{
    if (t < first)
        return first;
    if (t > last)
        return last;
    return t;
}

} // namespace KAVO
