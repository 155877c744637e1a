// SVG path data to point lists: one list per subpath, with quadratic and
// cubic Bezier curves and elliptical arcs flattened into straight segments.
// Never rejects text: unreadable or non-finite numbers read as 0, numbers
// before the first command and incomplete segments are dropped. A curve
// segment gives at most 1,000 points and a path at most 1,000,000 (level-2
// message); trace lines go to the library log at level 3.
#ifndef DORNE_XML_PATH_H
#define DORNE_XML_PATH_H

#include "xml/Vector2.h"

#include <set>
#include <string>
#include <vector>

namespace dorne {

class Path
{
public:
    typedef std::vector<Vector2<double>> Points;
    typedef std::vector<Points> Subpaths;

    Path();
    ~Path();

    // True for exactly one of the twenty command letters.
    bool isCommand(const std::string& text) const;

    // The subpaths in the order they were completed, each in drawing order.
    Subpaths pointsFromString(const std::string& text) const;

    // The curve points at t (w = 1).
    Vector2<double> getQuadraticBezier(double t, const Vector2<double>& p0, const Vector2<double>& p1,
                                       const Vector2<double>& p2) const;
    Vector2<double> getCubicBezier(double t, const Vector2<double>& p0, const Vector2<double>& p1,
                                   const Vector2<double>& p2, const Vector2<double>& p3) const;

    // The arc from start to end flattened into 51 points (rotation in
    // degrees); start and end alone when a radius is below 0.01 or the
    // arc cannot be computed in finite numbers; nothing when end equals
    // start.
    Points getEllipse(double rx, double ry, double rotation, bool largeArc, bool sweep,
                      const Vector2<double>& start, const Vector2<double>& end) const;

private:
    std::set<std::string> commands_;
};

} // namespace dorne

#endif
