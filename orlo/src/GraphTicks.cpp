#include "GraphTicks.h"

#include <algorithm>
#include <cmath>

namespace KAVO {

namespace {

// Decimals that multiples of a step need: none from a second on. Steps are
// 1, 2 or 5 times a power of ten, so this ends at once; the bound keeps a
// stray step from looping.
int timeDecimals(double step)
{
    if (!(step > 0.0) || !(step < 1.0))
        return 0;
    int n = 0;
    for (double scaled = step; n < 9 && std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled; scaled *= 10.0)
        ++n;
    return n;
}

} // namespace

bool GraphTicks::autoPara(double low, double high, double pixels, double spacing, double* step,
                          int* subdivisions)
{
    *step = 0.0;
    *subdivisions = 0;
    const double r = high - low;
    if (!std::isfinite(r) || r <= 0.0 || !(pixels > 0.0) || !(spacing > 0.0))
        return false;
    const double raw = r / (pixels / spacing);
    if (!std::isfinite(raw) || raw <= 0.0 || raw > r)
        return false;
    const double e = std::log10(std::fabs(raw));
    double p;
    double m;
    if (e > 1.0) {
        p = std::pow(10.0, std::trunc(e));
        m = raw / p;
    } else if (e >= 0.0) {
        p = 1.0;
        m = raw;
    } else {
        p = std::pow(10.0, std::trunc(e - 1.0));
        m = raw / p;
    }
    if (m < 1.0) {
        *step = p;
        *subdivisions = 5;
    } else if (m < 2.0) {
        *step = 2.0 * p;
        *subdivisions = 4;
    } else if (m < 5.0) {
        *step = 5.0 * p;
        *subdivisions = 5;
    } else {
        *step = 10.0 * p;
        *subdivisions = 5;
    }
    return *step > 0.0 && std::isfinite(*step);
}

int GraphTicks::autoDecimals(double step)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return 0;
    const double d = std::log10(step);
    if (d >= 1.0)
        return 0;
    const int n = static_cast<int>(std::trunc(std::fabs(d) + 1.0));
    return n > 17 ? 17 : n;
}

QString GraphTicks::autoFormat(double step)
{
    return QString::asprintf("%%.%df", autoDecimals(step));
}

QString GraphTicks::formatValue(double value, double step)
{
    return QString::asprintf("%.*f", autoDecimals(step), value);
}

std::vector<double> GraphTicks::majors(double first, double last, double step)
{
    std::vector<double> out;
    if (!(step > 0.0) || !std::isfinite(first) || !std::isfinite(last))
        return out;
    const double k0 = std::trunc(first / step);
    const double k1 = std::trunc(last / step);
    if (!std::isfinite(k0) || !std::isfinite(k1) || k1 < k0 || k1 - k0 >= kMaxTicks)
        return out;
    // Counting whole steps keeps the values exact multiples and the loop
    // finite even where adding the step would not change a large value.
    const int n = static_cast<int>(k1 - k0);
    for (int i = 0; i <= n; ++i)
        out.push_back((k0 + i) * step);
    return out;
}

std::vector<double> GraphTicks::minors(const std::vector<double>& majors, double step, int subdivisions,
                                       double low, double high)
{
    std::vector<double> out;
    if (subdivisions < 2)
        return out;
    const double sub = step / subdivisions;
    for (double major : majors) {
        for (int j = 1; j < subdivisions; ++j) {
            const double v = major + j * sub;
            if (v >= low && v <= high)
                out.push_back(v);
        }
    }
    return out;
}

QString GraphTicks::timeLabel(double t, double step)
{
    if (!(std::fabs(t) < 9.0e15))
        return QString();
    const int n = timeDecimals(step);
    if (n == 0) {
        const long long s = static_cast<long long>(std::trunc(t));
        return QString::asprintf("%lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
    }
    // Rounded, not truncated: a tick at 48.2 s may be held as 48.1999...
    long long scale = 1;
    for (int k = 0; k < n; ++k)
        scale *= 10;
    const double units = std::round(t * static_cast<double>(scale));
    if (!(std::fabs(units) < 9.0e15))
        return QString();
    const long long u = static_cast<long long>(units);
    const long long s = u / scale;
    return QString::asprintf("%lld:%02lld:%02lld.%0*lld", s / 3600, (s / 60) % 60, s % 60, n, u % scale);
}

GraphTicks::Label GraphTicks::label(double value, const QString& text, double anchor, double align,
                                    double baseline, const LabelFont& font)
{
    const double w = font.width ? font.width(text) : 0.0;
    const double x = anchor - align * w;
    return Label{value, text, x, baseline, QRectF(x, baseline - font.descent, w, font.ascent + font.descent)};
}

bool GraphTicks::crowded(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() + kLabelGap && b.left() < a.right() + kLabelGap &&
           a.top() < b.bottom() + kLabelGap && b.top() < a.bottom() + kLabelGap;
}

std::vector<GraphTicks::Label> GraphTicks::thin(const std::vector<Label>& labels, double step)
{
    if (labels.size() < 2 || !(step > 0.0))
        return labels;
    std::vector<long long> index;
    for (const Label& l : labels)
        index.push_back(std::llround(l.value / step));
    const long long range = index.back() - index.front();
    std::vector<Label> kept;
    for (long long k = 1; k <= std::max(range, 1LL); ++k) {
        kept.clear();
        bool fits = true;
        for (std::size_t i = 0; i < labels.size() && fits; ++i) {
            if (index[i] % k != 0)
                continue;
            // In order along the axis, so neighbours are all that can meet.
            fits = kept.empty() || !crowded(kept.back().box, labels[i].box);
            kept.push_back(labels[i]);
        }
        if (fits)
            return kept;
    }
    // A range of labels no wider than one step: the first alone.
    return {labels.front()};
}

void GraphTicks::keepInside(std::vector<Label>& labels, double low, double high)
{
    std::vector<Label> kept;
    for (Label l : labels) {
        if (l.box.width() > high - low)
            continue;
        double shift = 0.0;
        if (l.box.left() < low)
            shift = low - l.box.left();
        else if (l.box.right() > high)
            shift = high - l.box.right();
        l.x += shift;
        l.box.translate(shift, 0.0);
        // Neighbours that did not move were apart already: of a crowded
        // pair the one that moved goes.
        bool keep = true;
        while (keep && !kept.empty() && crowded(kept.back().box, l.box)) {
            if (shift != 0.0)
                keep = false;
            else
                kept.pop_back();
        }
        if (keep)
            kept.push_back(l);
    }
    labels.swap(kept);
}

void GraphTicks::dropCrowded(std::vector<Label>& labels, std::vector<QRectF>& taken)
{
    const std::size_t before = taken.size();
    std::vector<Label> kept;
    for (const Label& l : labels) {
        bool free = true;
        for (std::size_t i = 0; i < before && free; ++i)
            free = !crowded(l.box, taken[i]);
        if (free)
            kept.push_back(l);
    }
    for (const Label& l : kept)
        taken.push_back(l.box);
    labels.swap(kept);
}

} // namespace KAVO
