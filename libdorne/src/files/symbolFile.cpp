// The symbol file import: text files of an older drawing tool whose symbols
// (numbered groups of lines, rectangles, texts, circles and polygons in
// integer coordinates, with German keywords) become GROUP elements. A state
// machine over the trimmed lines: a keyword line names the primitive that
// the next matching line describes.
#include "base/libraryLock.h"
#include "base/linkedList.h"
#include "elements/elementKinds.h"
#include "files/fileAccess.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// fgets hands out at most this many characters minus one per call; the rest
// of a longer line comes as the next line.
const int kLineBuffer = 1024;
// The text field of a TEXT record holds 255 characters and a zero.
const size_t kWordBuffer = sizeof(TEXT_STRUCT::text);
const float kRadiansPerDegree = 0.017453292f;
const float kFullCircle = 6.2831853f;

enum State
{
    BeforeSymbol = 0,
    ExpectReference = 1,
    ExpectKeyword = 2,
    Vector = 3,
    FilledRect = 4,
    Text = 5,
    Circle = 6,
    Polygon = 7,
    CircleArc = 8,
    Rect = 9
};

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

const char* skipBlanks(const char* s)
{
    while (isBlank(*s))
        ++s;
    return s;
}

// A decimal int with an optional sign after any blanks; false for no digit
// or a value outside the int range.
bool scanInt(const char*& s, int& value)
{
    const char* p = skipBlanks(s);
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (std::isdigit(static_cast<unsigned char>(*p)) == 0)
        return false;
    long long v = 0;
    bool outside = false;
    for (; std::isdigit(static_cast<unsigned char>(*p)) != 0; ++p) { // bounded by the line
        if (!outside)
            v = v * 10 + (*p - '0');
        outside = outside || v > static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        v = -v;
    if (outside || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    s = p;
    return true;
}

// Matches the line against a format as the C scanner does: a blank in the
// format takes any run of white space (none too), "%d" an int (numbers in
// turn), "%s" one word after any blanks, cut to fit word (at most wordSize
// - 1 characters); any other character must be the line's next one. What
// follows the format's end is not looked at. The number of items stored.
int scanLine(const char* line, const char* format, int* numbers, char* word = nullptr, size_t wordSize = 0)
{
    const char* s = line;
    int items = 0;
    int n = 0;
    for (const char* f = format; *f != '\0'; ++f) {
        if (isBlank(*f)) {
            s = skipBlanks(s);
        } else if (f[0] == '%' && f[1] == 'd') {
            if (!scanInt(s, numbers[n]))
                return items;
            ++n;
            ++items;
            ++f;
        } else if (f[0] == '%' && f[1] == 's') {
            s = skipBlanks(s);
            if (*s == '\0' || word == nullptr || wordSize == 0)
                return items;
            size_t length = 0;
            for (; *s != '\0' && !isBlank(*s); ++s) // the rest of a long word is dropped
                if (length + 1 < wordSize)
                    word[length++] = *s;
            word[length] = '\0';
            ++items;
            ++f;
        } else {
            if (*s != *f)
                return items;
            ++s;
        }
    }
    return items;
}

// Line style numbers of the style words; other words are solid.
int lineStyleOf(const char* word)
{
    static const struct
    {
        const char* word;
        int style;
    } styles[] = {{"DURCHGEZOGEN", 0}, {"GESTRICHELT", 4}, {"GEPUNKTET", 1}, {"STRICHPUNKT", 9}};
    for (const auto& s : styles)
        if (std::strcmp(word, s.word) == 0)
            return s.style;
    return 0;
}

struct Colour
{
    float r, g, b;
};

Colour colourOf(int r, int g, int b)
{
    return {float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f};
}

// The state a keyword line selects; ExpectKeyword for any other line.
State keywordState(const char* line)
{
    static const struct
    {
        const char* keyword;
        State state;
    } keywords[] = {{"VEKTOR", Vector}, {"GEF. RECHTECK", FilledRect}, {"RECHTECK", Rect},
                    {"TEXT", Text},     {"KREIS", Circle},             {"KREIS_BOGEN", CircleArc},
                    {"POLYGON", Polygon}};
    for (const auto& k : keywords)
        if (std::strcmp(line, k.keyword) == 0)
            return k.state;
    return ExpectKeyword;
}

// Links the element behind last in *head (last null: the list is empty),
// without walking the list.
void linkBehind(ELEMENT_STRUCT** head, ELEMENT_STRUCT*& last, ELEMENT_STRUCT* element)
{
    dorne::listInsertAfter(head, element, last);
    last = element;
}

// What the reader holds between lines.
class SymbolReader
{
public:
    ~SymbolReader() { elementDeleteAll(&groups_); }

    // One trimmed line; false when memory ran out (also for an update
    // hook before it).
    bool line(const char* text) { return parse(text) && !outOfMemory_; }
    // After the last line: the open group's update. False when memory ran
    // out for it.
    bool finish()
    {
        endPolygon();
        update(group_);
        return !outOfMemory_;
    }
    // Hands the groups to the end of *list.
    void adopt(ELEMENT_STRUCT** list);

private:
    // The running polygon's update, run once when it ends rather than after
    // every edge: each update walks all its vertices, so a long chain would
    // cost the cube of its length. Its group's update needs its box.
    void endPolygon()
    {
        update(polygon_);
        polygon_ = nullptr;
    }
    bool parse(const char* text);
    // The element's update hook; a hook that runs out of memory for its
    // grab handles fails the read.
    void update(ELEMENT_STRUCT* element)
    {
        if (element != nullptr && element->update != nullptr && element->update(element) != 0)
            outOfMemory_ = true;
    }
    bool primitive(const char* text);
    // A new element of the kind as the open group's last child; null when
    // memory ran out.
    ELEMENT_STRUCT* child(int kind);
    bool vector(const int* v, const char* word);
    bool rectangle(const int* v, const char* word, bool filled);
    bool text(const int* v, const char* word);
    bool circle(const int* v, int style, float start, float end);
    bool polygonEdge(const int* v);

    ELEMENT_STRUCT* groups_ = nullptr; // built so far, the caller's when all was read
    ELEMENT_STRUCT* lastGroup_ = nullptr;
    ELEMENT_STRUCT* group_ = nullptr;  // the open symbol
    ELEMENT_STRUCT* lastChild_ = nullptr;
    ELEMENT_STRUCT* polygon_ = nullptr; // the running polygon
    COORD_STRUCT* lastPoint_ = nullptr; // its last vertex
    int endX_ = 0, endY_ = 0;          // where its last edge ended
    State state_ = BeforeSymbol;
    bool outOfMemory_ = false;
};

bool SymbolReader::parse(const char* text)
{
    int number = 0;
    if (scanLine(text, "SYMBOL-NR. %d", &number) == 1) {
        // A polygon does not run on into the next symbol's group.
        endPolygon();
        update(group_);
        ELEMENT_STRUCT* g = elementCreate(VD_GROUP);
        if (g == nullptr)
            return false;
        linkBehind(&groups_, lastGroup_, g);
        std::snprintf(g->name, sizeof g->name, "SYMBOL %d", number);
        group_ = g;
        lastChild_ = nullptr;
        state_ = ExpectReference;
    }
    switch (state_) {
    case BeforeSymbol:
        return true;
    case ExpectReference: {
        int point[2];
        if (scanLine(text, "BEZUGSPUNKT_X %d BEZUGSPUNK_Y %d", point) == 2 && group_ != nullptr) {
            group_->x = float(point[0]);
            group_->y = float(point[1]);
            state_ = ExpectKeyword;
        }
        return true;
    }
    case ExpectKeyword:
        state_ = keywordState(text);
        if (state_ != Polygon)
            endPolygon(); // it stays in its group as it is
        return true;
    default:
        return primitive(text);
    }
}

bool SymbolReader::primitive(const char* text)
{
    // The line each keyword announces, and the items it must give.
    static const char kTwoPoints[] = "X1 %d Y1 %d X2 %d Y2 %d RGB-Farbe %d %d %d %s";
    static const char kText[] = "X1 %d Y1 %d Font %d RGB-Farbe %d %d %d CHARACTER %s";
    static const char kCircle[] = "X1 %d Y1 %d RADIUS %d RGB-Farbe %d %d %d %s";
    static const char kArc[] =
        "X1 %d Y1 %d RADIUS %d Winkelanfang[Grad] %d Winkelende[GRAD] %d RGB-Farbe %d %d %d";
    const char* format = kTwoPoints;
    int items = 8;
    if (state_ == Text || state_ == Circle) {
        format = state_ == Text ? kText : kCircle;
        items = 7;
    } else if (state_ == CircleArc) {
        format = kArc;
    }
    int v[8] = {};
    char word[kWordBuffer] = {};
    if (group_ == nullptr || scanLine(text, format, v, word, sizeof word) != items)
        return true; // ignored: still expecting the primitive
    bool built = false;
    switch (state_) {
    case Vector:
        built = vector(v, word);
        break;
    case FilledRect:
    case Rect:
        built = rectangle(v, word, state_ == FilledRect);
        break;
    case Polygon:
        built = polygonEdge(v);
        break;
    case Text:
        built = this->text(v, word);
        break;
    case Circle:
        built = circle(v, lineStyleOf(word), 0.0f, kFullCircle);
        break;
    case CircleArc: {
        // The end after the start; the file counts from a quarter turn further on.
        const double start = v[3];
        const double end = v[3] > v[4] ? double(v[4]) + 360 : double(v[4]);
        const int centre[6] = {v[0], v[1], v[2], v[5], v[6], v[7]};
        built = circle(centre, 0, float((start - 90) * kRadiansPerDegree), float((end - 90) * kRadiansPerDegree));
        break;
    }
    default:
        return true;
    }
    if (built)
        state_ = ExpectKeyword;
    return built;
}

ELEMENT_STRUCT* SymbolReader::child(int kind)
{
    ELEMENT_STRUCT* e = elementCreate(kind);
    if (e == nullptr)
        return nullptr;
    linkBehind(&group_->children, lastChild_, e);
    e->parent = group_;
    return e;
}

bool SymbolReader::vector(const int* v, const char* word)
{
    ELEMENT_STRUCT* e = child(VD_LINE);
    if (e == nullptr)
        return false;
    auto* l = static_cast<LINE_STRUCT*>(e->data);
    l->x1 = float(v[0]);
    l->y1 = float(v[1]);
    l->x2 = float(v[2]);
    l->y2 = float(v[3]);
    l->lineStyle = lineStyleOf(word);
    vdiLineStipple(l->lineStyle, l->stippleFactor, l->stipplePattern);
    const Colour c = colourOf(v[4], v[5], v[6]);
    vdiSetColor(&l->lineR, c.r, c.g, c.b, 1.0f);
    update(e);
    return true;
}

bool SymbolReader::rectangle(const int* v, const char* word, bool filled)
{
    ELEMENT_STRUCT* e = child(VD_RECTANGLE);
    if (e == nullptr)
        return false;
    auto* r = static_cast<RECT_STRUCT*>(e->data);
    const float xs[4] = {float(v[0]), float(v[0]), float(v[2]), float(v[2])};
    const float ys[4] = {float(v[1]), float(v[3]), float(v[3]), float(v[1])};
    std::memcpy(r->x, xs, sizeof xs);
    std::memcpy(r->y, ys, sizeof ys);
    const Colour c = colourOf(v[4], v[5], v[6]);
    r->lineWidth = 1.0f;
    vdiSetColor(&r->fillR, c.r, c.g, c.b, 1.0f);
    if (filled) { // the style word is not used
        r->outline = 0;
        r->lineStyle = 0;
        vdiSetColor(&r->lineR, 1, 1, 1, 1);
        r->fill = 1;
        r->antialias = 1;
    } else {
        r->outline = 1;
        r->lineStyle = lineStyleOf(word);
        vdiSetColor(&r->lineR, c.r, c.g, c.b, 1.0f);
        r->fill = 0;
        r->antialias = 0;
    }
    vdiLineStipple(r->lineStyle, r->stippleFactor, r->stipplePattern);
    vdiPatternBits(r->pattern, r->patternBits);
    update(e);
    return true;
}

bool SymbolReader::text(const int* v, const char* word)
{
    ELEMENT_STRUCT* e = child(VD_TEXT);
    if (e == nullptr)
        return false;
    auto* t = static_cast<TEXT_STRUCT*>(e->data);
    vdiCopyName(t->text, sizeof t->text, word);
    t->align = 7;
    t->outline = 1;
    t->lineWidth = 1.0f;
    t->lineStyle = 0;
    vdiLineStipple(t->lineStyle, t->stippleFactor, t->stipplePattern);
    t->antialias = 0;
    const float identity[4] = {1, 0, 0, 1};
    std::memcpy(t->matrix, identity, sizeof identity);
    std::snprintf(t->family, sizeof t->family, "%s", "Arial");
    t->style = 1;
    t->underline = 0;
    t->size = v[2] == 2 ? 15 : v[2] == 3 ? 18 : 12;
    t->displaySize = t->size;
    const Colour c = colourOf(v[3], v[4], v[5]);
    vdiSetColor(t->color, c.r, c.g, c.b, 1.0f);
    vdiFontRelease(t->font);
    t->font = vdiFontCreate(t->family, t->style, t->size);
    t->scalable = vdiFontScalable(t->font);
    int width = 0, height = 0; // 0 x 0 without a font
    vdiFontMetric(t->font, t->text, width, height);
    t->x = float(v[0]) + float(width) / 2;
    t->y = float(v[1]) + float(height) / 2;
    update(e);
    return true;
}

// v holds x, y, radius and the colour's red, green and blue.
bool SymbolReader::circle(const int* v, int style, float start, float end)
{
    ELEMENT_STRUCT* e = child(VD_CIRCLE);
    if (e == nullptr)
        return false;
    auto* c = static_cast<CIRCLE_STRUCT*>(e->data);
    c->x = float(v[0]);
    c->y = float(v[1]);
    c->start = start;
    c->end = end;
    // The radius lives in the transform, over radii of 100.
    const float scale = std::fabs(float(v[2]) / 100.0f);
    const float matrix[4] = {scale, 0, 0, scale};
    std::memcpy(c->matrix, matrix, sizeof matrix);
    c->rx = c->ry = 100.0f;
    const Colour colour = colourOf(v[3], v[4], v[5]);
    c->outline = 1;
    c->lineWidth = 1.0f;
    c->lineStyle = style;
    vdiLineStipple(c->lineStyle, c->stippleFactor, c->stipplePattern);
    vdiSetColor(&c->lineR, colour.r, colour.g, colour.b, 1.0f);
    c->fill = 0;
    vdiSetColor(&c->fillR, colour.r, colour.g, colour.b, 1.0f);
    vdiPatternBits(c->pattern, c->patternBits);
    c->antialias = 1;
    update(e);
    return true;
}

bool SymbolReader::polygonEdge(const int* v)
{
    if (polygon_ == nullptr || v[0] != endX_ || v[1] != endY_) {
        endPolygon();
        ELEMENT_STRUCT* e = child(VD_CPOLYGON);
        if (e == nullptr)
            return false;
        auto* p = static_cast<POLY_STRUCT*>(e->data);
        const Colour c = colourOf(v[4], v[5], v[6]);
        p->closed = 1;
        p->outline = 1;
        p->lineWidth = 3.0f;
        p->lineStyle = 0;
        vdiLineStipple(p->lineStyle, p->stippleFactor, p->stipplePattern);
        vdiSetColor(&p->lineR, c.r, c.g, c.b, 1.0f);
        p->fill = 1;
        vdiSetColor(&p->fillR, c.r, c.g, c.b, 1.0f);
        vdiPatternBits(p->pattern, p->patternBits);
        p->antialias = 1;
        polygon_ = e;
        lastPoint_ = nullptr;
    }
    COORD_STRUCT* point = createCoord();
    if (point == nullptr)
        return false;
    point->id = 0;
    point->x = float(v[0]);
    point->y = float(v[1]);
    // Linked behind the last vertex: a long chain does not walk its list.
    dorne::listInsertAfter(&static_cast<POLY_STRUCT*>(polygon_->data)->coords, point, lastPoint_);
    lastPoint_ = point;
    endX_ = v[2];
    endY_ = v[3];
    return true;
}

void SymbolReader::adopt(ELEMENT_STRUCT** list)
{
    if (groups_ == nullptr)
        return;
    ELEMENT_STRUCT* last = *list;
    while (last != nullptr && last->next != nullptr) // bounded by the caller's list
        last = last->next;
    if (last == nullptr)
        *list = groups_;
    else
        last->next = groups_;
    groups_->prev = last;
    groups_ = nullptr;
}

} // namespace

int rmBlanks(char* line)
{
    if (line == nullptr)
        return -1;
    size_t start = 0;
    while (line[start] == ' ' || line[start] == '\t')
        ++start;
    size_t end = std::strlen(line);
    while (end > start && std::strchr(" \t\r\n", line[end - 1]) != nullptr)
        --end;
    std::memmove(line, line + start, end - start);
    line[end - start] = '\0';
    return 0;
}

int loadSymbolFile(const char* path, ELEMENT_STRUCT** list, void*, void*)
{
    if (path == nullptr || list == nullptr) {
        logMsg(1, "loadSymbolFile: null argument\n");
        return -1;
    }
    // Texts make fonts; what a refused read frees goes back under the lock too.
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    dorne::OpenedFile opened(path);
    if (opened.file() == nullptr) {
        logMsg(1, "cannot open file %s\n", path);
        return -1;
    }
    SymbolReader reader;
    char line[kLineBuffer];
    while (std::fgets(line, sizeof line, opened.file()) != nullptr) { // bounded by the file
        rmBlanks(line);
        if (!reader.line(line)) {
            logMsg(1, "loadSymbolFile: %s: out of memory\n", path);
            return -1;
        }
    }
    if (std::ferror(opened.file()) != 0) {
        logMsg(1, "loadSymbolFile: %s: cannot read\n", path);
        return -1;
    }
    if (!reader.finish()) {
        logMsg(1, "loadSymbolFile: %s: out of memory\n", path);
        return -1;
    }
    reader.adopt(list);
    return 0;
}
