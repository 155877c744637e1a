#ifndef ORLO_GRAPHTICKS_H
#define ORLO_GRAPHTICKS_H

#include <QString>

#include <vector>

namespace KAVO {

// Axis arithmetic of the strip chart: tick steps of 1, 2 or 5 times a power
// of ten, the label format that fits a step, and the tick positions. Every
// range gives a bounded number of ticks; an empty, inverted or non-finite
// range gives none.
class GraphTicks
{
public:
    // Never more major ticks than this, whatever the range.
    static constexpr int kMaxTicks = 4096;

    // The step for ticks at least `spacing` pixels apart over `pixels`;
    // false when not even one tick fits or the range is unusable.
    static bool autoPara(double low, double high, double pixels, double spacing, double* step,
                         int* subdivisions);

    // Decimals of the labels for a step: |log10(step)| + 1, truncated, for
    // steps below 10, else none.
    static int autoDecimals(double step);
    // The printf format of the labels, e.g. "%.1f".
    static QString autoFormat(double step);
    static QString formatValue(double value, double step);

    // Major tick values k * step from trunc(first / step) to
    // trunc(last / step); empty when the count would exceed kMaxTicks.
    static std::vector<double> majors(double first, double last, double step);
    // Minor ticks between each major and the next that lie in low..high.
    static std::vector<double> minors(const std::vector<double>& majors, double step, int subdivisions,
                                      double low, double high);

    // "h:mm:ss" of a time in seconds, each part truncated.
    static QString timeLabel(double t);
};

} // namespace KAVO

#endif
