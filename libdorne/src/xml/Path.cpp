// SVG path data to point lists. The text is split into tokens and taken one
// token at a time: a command letter starts a command, numbers fill its
// segment, and a full segment is executed (and the next numbers start a new
// one of the same command).
#include "xml/Path.h"

#include "dorneLog.h"

#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <utility>

namespace dorne {

namespace {

typedef Vector2<double> Point;

const char kCommandLetters[] = "MmZzLlHhVvCcSsQqTtAa";
const unsigned kMaxCurveCount = 999;        // + the end point: 1,000 points a curve segment
const size_t kMaxPathPoints = 1000000;
const double kArcDegree = 0.017453292;      // the format's own short constant
const double kArcFullTurn = 6.283185308;
const double kArcToDegrees = 57.29577951;
const int kArcSteps = 50;

inline bool isCommandChar(char c)
{
    return c != '\0' && std::strchr(kCommandLetters, c) != nullptr;
}

inline Point operator-(const Point& a, const Point& b)
{
    return Point(a.x() - b.x(), a.y() - b.y());
}

inline Point operator+(const Point& a, const Point& b)
{
    return Point(a.x() + b.x(), a.y() + b.y());
}

inline bool finite(const Point& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Path data comes from view files: a decimal point whatever the locale.
double readNumber(const char* text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const double v = cLocale != locale_t(0) ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
    return std::isfinite(v) ? v : 0.0;
}

bool readFlag(const char* text)
{
    return std::strtol(text, nullptr, 0) != 0;
}

int numbersPerSegment(char command)
{
    switch (command) {
    case 'M': case 'm': case 'L': case 'l': case 'T': case 't': return 2;
    case 'H': case 'h': case 'V': case 'v': return 1;
    case 'C': case 'c': return 6;
    case 'S': case 's': case 'Q': case 'q': return 4;
    case 'A': case 'a': return 7;
    default: return 0; // Z, z and no command: numbers are ignored
    }
}

// The state of one parse and the result it builds.
class Parser
{
public:
    explicit Parser(const Path& path) : path_(path) {}

    void command(char c);
    void number(const char* token);
    Path::Subpaths finish();

private:
    void segment();
    void append(const Point& p);
    unsigned curveCount(const Point& from, const Point& to);
    void quadratic(const Point& p0, const Point& p1, const Point& p2, unsigned count);
    void cubic(const Point& p0, const Point& p1, const Point& p2, const Point& p3);

    const Path& path_;
    char command_ = 0;
    int argIndex_ = 0;
    double args_[7] = {};
    bool firstPair_ = false;
    Point current_, start_;
    char lastCommand_ = 0; // upper case
    Point lastControl_;    // the previous curve's (second) control point
    Path::Points points_;
    Path::Subpaths result_;
    size_t total_ = 0;
    bool curveCut_ = false;
    bool pathCut_ = false;
};

void Parser::command(char c)
{
    command_ = c;
    argIndex_ = 0;
    switch (c) {
    case 'M':
    case 'm':
        if (!points_.empty()) {
            result_.push_back(std::move(points_));
            points_.clear();
        }
        firstPair_ = true;
        break;
    case 'Z':
    case 'z':
        append(start_);
        current_ = start_;
        lastCommand_ = 'Z';
        break;
    default:
        break;
    }
}

void Parser::number(const char* token)
{
    const int needed = numbersPerSegment(command_);
    if (needed == 0)
        return;
    const bool flag = (command_ == 'A' || command_ == 'a') && (argIndex_ == 3 || argIndex_ == 4);
    args_[argIndex_++] = flag ? (readFlag(token) ? 1.0 : 0.0) : readNumber(token);
    if (argIndex_ == needed) {
        segment();
        argIndex_ = 0;
    }
}

Path::Subpaths Parser::finish()
{
    if (!points_.empty())
        result_.push_back(std::move(points_));
    points_.clear();
    return std::move(result_);
}

void Parser::append(const Point& p)
{
    if (total_ >= kMaxPathPoints) {
        if (!pathCut_)
            logMsg(2, "Path: more than %zu points, the rest dropped\n", kMaxPathPoints);
        pathCut_ = true;
        return;
    }
    points_.push_back(p);
    ++total_;
}

unsigned Parser::curveCount(const Point& from, const Point& to)
{
    const double n = (to - from).abs() * 0.3;
    if (!(n >= 1.0)) // NaN too
        return 0;
    if (n >= double(kMaxCurveCount)) {
        if (n >= double(kMaxCurveCount) + 1.0 && !curveCut_) {
            logMsg(2, "Path: curve segment cut to %u points\n", kMaxCurveCount + 1);
            curveCut_ = true;
        }
        return kMaxCurveCount;
    }
    return unsigned(n);
}

void Parser::quadratic(const Point& p0, const Point& p1, const Point& p2, unsigned count)
{
    for (unsigned i = 0; i < count; ++i)
        append(path_.getQuadraticBezier((1.0 / count) * i, p0, p1, p2));
    append(p2);
}

void Parser::cubic(const Point& p0, const Point& p1, const Point& p2, const Point& p3)
{
    const unsigned count = curveCount(p0, p3);
    for (unsigned i = 0; i < count; ++i)
        append(path_.getCubicBezier((1.0 / count) * i, p0, p1, p2, p3));
    append(p3);
}

void Parser::segment()
{
    const double* a = args_;
    const bool relative = command_ >= 'a';
    const Point base = relative ? current_ : Point(0.0, 0.0);
    const char upper = relative ? char(command_ - 'a' + 'A') : command_;
    switch (upper) {
    case 'M':
    case 'L': {
        const Point p = base + Point(a[0], a[1]);
        if (upper == 'M' && firstPair_) {
            start_ = p;
            firstPair_ = false;
        }
        current_ = p;
        append(p);
        break;
    }
    case 'H':
        current_.setX(relative ? current_.x() + a[0] : a[0]);
        append(current_);
        break;
    case 'V':
        current_.setY(relative ? current_.y() + a[0] : a[0]);
        append(current_);
        break;
    case 'C': {
        const Point c1 = base + Point(a[0], a[1]), c2 = base + Point(a[2], a[3]), end = base + Point(a[4], a[5]);
        cubic(current_, c1, c2, end);
        lastControl_ = c2;
        current_ = end;
        break;
    }
    case 'S': {
        const Point c1 = (lastCommand_ == 'C' || lastCommand_ == 'S') ? current_ + (current_ - lastControl_) : current_;
        const Point c2 = base + Point(a[0], a[1]), end = base + Point(a[2], a[3]);
        cubic(current_, c1, c2, end);
        lastControl_ = c2;
        current_ = end;
        break;
    }
    case 'Q': {
        const Point c = base + Point(a[0], a[1]), end = base + Point(a[2], a[3]);
        quadratic(current_, c, end, curveCount(current_, end));
        lastControl_ = c;
        current_ = end;
        break;
    }
    case 'T': {
        const Point c = (lastCommand_ == 'Q' || lastCommand_ == 'T') ? current_ + (current_ - lastControl_) : current_;
        const Point end = base + Point(a[0], a[1]);
        const unsigned count = curveCount(current_, end);
        logMsg(3, "p0 %f %f\n", current_.x(), current_.y());
        logMsg(3, "p1 %f %f\n", c.x(), c.y());
        logMsg(3, "p2 %f %f\n", end.x(), end.y());
        logMsg(3, "nr %d\n", int(count));
        quadratic(current_, c, end, count);
        lastControl_ = c;
        current_ = end;
        break;
    }
    case 'A': {
        const Point end = base + Point(a[5], a[6]);
        for (const Point& p : path_.getEllipse(a[0], a[1], a[2], a[3] != 0.0, a[4] != 0.0, current_, end))
            append(p);
        current_ = end;
        break;
    }
    default:
        return;
    }
    lastCommand_ = upper;
}

double angle(const Point& u, const Point& v, bool traceCosine)
{
    double cosine = (u * v) / (u.abs() * v.abs());
    if (traceCosine)
        logMsg(3, "11 dtheta %f\n", cosine);
    if (!(cosine > -1.0)) // NaN reads as -1 too: no NaN leaves here
        cosine = -1.0;
    if (cosine > 1.0)
        cosine = 1.0;
    const double theta = std::acos(cosine);
    return u.x() * v.y() - u.y() * v.x() < 0 ? -theta : theta;
}

} // namespace

Path::Path()
{
    for (const char* c = kCommandLetters; *c != '\0'; ++c)
        commands_.insert(std::string(1, *c));
}

Path::~Path()
{
    commands_.clear();
}

bool Path::isCommand(const std::string& text) const
{
    return commands_.count(text) != 0;
}

Path::Subpaths Path::pointsFromString(const std::string& text) const
{
    Parser parser(*this);
    std::string token;
    auto take = [&]() {
        if (token.empty())
            return;
        logMsg(3, "Token <%s>\n", token.c_str());
        if (token.size() == 1 && isCommand(token))
            parser.command(token[0]);
        else
            parser.number(token.c_str());
        token.clear();
    };
    for (const char c : text) {
        if (isCommandChar(c)) {
            take();
            token.assign(1, c);
            take();
        } else if (c == ',' || c == ' ') {
            take();
        } else {
            token.push_back(c);
        }
    }
    take();
    return parser.finish();
}

Vector2<double> Path::getQuadraticBezier(double t, const Vector2<double>& p0, const Vector2<double>& p1,
                                         const Vector2<double>& p2) const
{
    const double s = 1.0 - t;
    const double a = s * s, b = 2.0 * t * s, c = t * t;
    return Point(a * p0.x() + b * p1.x() + c * p2.x(), a * p0.y() + b * p1.y() + c * p2.y());
}

Vector2<double> Path::getCubicBezier(double t, const Vector2<double>& p0, const Vector2<double>& p1,
                                     const Vector2<double>& p2, const Vector2<double>& p3) const
{
    const double s = 1.0 - t;
    const double a = s * s * s, b = 3.0 * t * s * s, c = 3.0 * t * t * s, d = t * t * t;
    return Point(a * p0.x() + b * p1.x() + c * p2.x() + d * p3.x(),
                 a * p0.y() + b * p1.y() + c * p2.y() + d * p3.y());
}

Path::Points Path::getEllipse(double rx, double ry, double rotation, bool largeArc, bool sweep,
                              const Vector2<double>& start, const Vector2<double>& end) const
{
    Points points;
    const double x1 = start.x(), y1 = start.y(), x2 = end.x(), y2 = end.y();
    // An arc that ends where it starts has no defined centre: SVG omits it.
    if (x1 == x2 && y1 == y2)
        return points;
    const Points line{start, end};
    const double phi = rotation * kArcDegree;
    if (std::fabs(rx) < 0.01 || std::fabs(ry) < 0.01)
        return line;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    const double cp = std::cos(phi), sp = std::sin(phi);

    const double x1i = cp * (x1 - x2) / 2.0 + sp * (y1 - y2) / 2.0;
    const double y1i = -sp * (x1 - x2) / 2.0 + cp * (y1 - y2) / 2.0;
    logMsg(3, "x1i %f y1i %f\n", x1i, y1i);

    const double lambda = x1i * x1i / (rx * rx) + y1i * y1i / (ry * ry);
    logMsg(3, "r %f\n", lambda);
    if (lambda > 1.0) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    logMsg(3, "rx %f ry %f\n", rx, ry);

    const double rx2 = rx * rx, ry2 = ry * ry;
    const double num = rx2 * ry2 - rx2 * y1i * y1i - ry2 * x1i * x1i;
    const double den = ry2 * x1i * x1i + rx2 * y1i * y1i;
    double coefficient = 0.0;
    if (!(num * den < 0.0)) {
        coefficient = std::sqrt(num / den);
        if (largeArc == sweep)
            coefficient = -coefficient;
    }
    const double cxi = coefficient * rx * y1i / ry;
    const double cyi = -coefficient * ry * x1i / rx;
    logMsg(3, "c1 %f c2 %f\n", cxi, cyi);
    const double cx = cp * cxi - sp * cyi + (x1 + x2) / 2.0;
    const double cy = sp * cxi + cp * cyi + (y1 + y2) / 2.0;
    logMsg(3, "cx %f cy %f\n", cx, cy);

    const Point u1(1.0, 0.0);
    const Point v1((x1i - cxi) / rx, (y1i - cyi) / ry);
    const double theta1 = angle(u1, v1, false);
    const Point v2((-x1i - cxi) / rx, (-y1i - cyi) / ry);
    double dtheta = angle(v1, v2, true);
    if (!sweep && dtheta > 0)
        dtheta -= kArcFullTurn;
    else if (sweep && dtheta < 0)
        dtheta += kArcFullTurn;
    logMsg(3, "Theta1 %f dtheta %f\n", theta1 * kArcToDegrees, dtheta * kArcToDegrees);

    points.reserve(kArcSteps + 1);
    for (int i = 0; i <= kArcSteps; ++i) {
        const double theta = theta1 + i * dtheta / kArcSteps;
        const Point p(cp * rx * std::cos(theta) - sp * ry * std::sin(theta) + cx,
                      sp * rx * std::cos(theta) + cp * ry * std::sin(theta) + cy);
        // Radii or coordinates near the double range overflow: no NaN or
        // infinity goes into a view, the arc becomes its chord.
        if (!finite(p))
            return line;
        points.push_back(p);
    }
    return points;
}

} // namespace dorne
