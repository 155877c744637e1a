#ifndef ORLO_GRAPHTICKS_H
#define ORLO_GRAPHTICKS_H

#include <QRectF>
#include <QString>

#include <functional>
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

    // "h:mm:ss" of a time in seconds, each part truncated. For a step below
    // a second the fraction its multiples need follows, rounded to it
    // ("0:19:48.2", "0:19:48.25"), so that no two ticks read the same.
    static QString timeLabel(double t, double step = 1.0);

    // Measures of the label font, in pixels.
    struct LabelFont
    {
        std::function<double(const QString&)> width;
        double ascent;
        double descent;
        double height;
    };

    // One axis label: the tick value, the text, the left end of its base
    // line and the box its text covers, in pixels from the bottom left
    // (the box's y() is its lower edge).
    struct Label
    {
        double value;
        QString text;
        double x;
        double baseline;
        QRectF box;
    };
    // The label whose text ends `align` of its width (0 left, 0.5 centre,
    // 1 right) at the anchor x.
    static Label label(double value, const QString& text, double anchor, double align, double baseline,
                       const LabelFont& font);

    // Room kept clear between two labels, so that neighbours never read as
    // one string.
    static constexpr double kLabelGap = 4.0;
    // True when the boxes lie closer than kLabelGap to each other.
    static bool crowded(const QRectF& a, const QRectF& b);

    // Of the labels of one axis (at major ticks `step` apart, in order
    // along the axis) those at every k-th tick, counted in whole steps from
    // 0 so that they stay put while the window moves, for the smallest k at
    // which no two are crowded; all of them when they fit.
    static std::vector<Label> thin(const std::vector<Label>& labels, double step);
    // Moves each label whose box runs past low..high along the axis back
    // inside; one that then crowds a neighbour, or that is wider than
    // low..high, is left out.
    static void keepInside(std::vector<Label>& labels, double low, double high);
    // Drops every label crowded by one of `taken`, then adds the boxes of
    // the rest to `taken`: labels of neighbouring axes never cover each other.
    static void dropCrowded(std::vector<Label>& labels, std::vector<QRectF>& taken);
};

} // namespace KAVO

#endif
