// GRAPH elements: the kind record with its defaults, its label font and the
// printf formats of its axis labels.
#include "elementKinds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Label formats stay within what a float can show and the format field
// holds: at most 40 integer digits and 20 decimals.
const double maxDigits = 40;
const double maxDecimals = 20;

// "%w.df" for an axis from lo to hi with the given tick spacing: decimals
// from the spacing's order of magnitude, integer digits from the larger end.
void setLabelFormat(char (&format)[32], float spacing, float lo, float hi)
{
    const double e = std::log10(std::fabs(double(spacing)));
    double decimals = e >= 0 ? 0 : std::trunc(std::fabs(e) + 1);
    const double m = std::fabs(hi) > std::fabs(lo) ? std::log10(std::fabs(double(hi)))
                                                    : std::log10(std::fabs(double(lo)));
    double digits = m < 1 ? 1 : std::trunc(m + 1);
    // A zero or non-finite spacing or range would give no sensible width.
    decimals = std::isnan(decimals) ? 0 : std::clamp(decimals, 0.0, maxDecimals);
    digits = std::isnan(digits) ? 1 : std::clamp(digits, 1.0, maxDigits);
    const int d = int(decimals);
    const int n = int(digits);
    std::snprintf(format, sizeof format, "%%%d.%df", d == 0 ? n : d + n + 1, d);
}

void setGraphDefaults(GRAPH_STRUCT& g)
{
    g.type = 0;
    g.x = 200;
    g.y = 600;
    g.width = 500;
    g.height = 200;
    g.ymin = -100;
    g.ymax = 100;
    g.xmin = 0;
    g.xmax = 100;
    g.rate = 10;
    g.autoscale = 1;
    g.autoscaleX = 1;
    g.samples = 500;
    vdiSetColor(g.outlineColor, 1, 1, 1, 1);
    vdiSetColor(g.backgroundColor, 0, 0, 0, 0);
    g.outlineWidth = 1;
    g.gridX = g.gridY = 1;
    g.gridXAuto = g.gridYAuto = 1;
    g.gridXSpace = 10;
    g.gridYSpace = 1;
    g.gridStippleFactor = 1;
    g.gridStipplePattern = 0xFFFF;
    g.gridStyleIndex = 1;
    vdiSetColor(g.gridColor, 0.5f, 0.25f, 0.25f, 1.0f);
    g.labelX = g.labelY = 1;
    g.labelXMax = 100;
    g.labelYMax = 100;
    g.tickX = g.tickY = 1;
    g.tickXAuto = g.tickYAuto = 1;
    g.tickXSpace = g.tickYSpace = 2;
    g.tickXSub = g.tickYSub = 5;
    std::snprintf(g.family, sizeof g.family, "%s", "Helvetica [fixed]");
    g.style = 1;
    g.size = 10;
    g.lagYMin = -100;
    g.lagYMax = 100;
    g.lagXMax = 100;
    VGraphSetXLabel(&g, 0, 100);
    VGraphSetYLabel(&g, -100, 100);
}

void releaseGraph(void* record)
{
    auto* graph = static_cast<GRAPH_STRUCT*>(record);
    vdiFontRelease(graph->font);
    graph->font = nullptr;
}

} // namespace

GRAPH_STRUCT* createGraph(const GRAPH_STRUCT* templ, int)
{
    GRAPH_STRUCT* graph = vdiNewRecord(templ, "createGraph", setGraphDefaults);
    // A copy makes its own font: two records never release one handle.
    if (graph != nullptr)
        graph->font = vdiFontCreate(graph->family, graph->style, graph->size);
    return graph;
}

int VGraphSetXLabel(GRAPH_STRUCT* graph, float lo, float hi)
{
    if (graph == nullptr)
        return -1;
    setLabelFormat(graph->xLabelFormat, graph->tickXSpace, lo, hi);
    return 0;
}

int VGraphSetYLabel(GRAPH_STRUCT* graph, float lo, float hi)
{
    if (graph == nullptr)
        return -1;
    setLabelFormat(graph->yLabelFormat, graph->tickYSpace, lo, hi);
    return 0;
}

const ElementKind vdiKindGraph = [] {
    ElementKind k = vdiDescribeKind("GRAPH", sizeof(GRAPH_STRUCT),
                                    [] { return static_cast<void*>(createGraph(nullptr, 8)); });
    k.releaseRecord = releaseGraph;
    return k;
}();
