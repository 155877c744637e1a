// Shared by the view file tests: views holding elements of every kind,
// built through the public element model as a view designer builds them;
// file contents built field by field; the sample view block; writes under a
// file size limit and the names a folder holds after them.
#ifndef DORNE_VIEW_FILE_SUPPORT_H
#define DORNE_VIEW_FILE_SUPPORT_H

#include "dorneElements.h"
#include "dorneFiles.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace viewfile {

// File contents field by field, numbers most significant byte first; Self
// adds the records of its own files.
template <typename Self>
struct FieldBuilder
{
    std::vector<unsigned char> b;
    Self& i(int32_t v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(u >> shift));
        return self();
    }
    Self& f(float v)
    {
        int32_t bits;
        std::memcpy(&bits, &v, 4);
        return i(bits);
    }
    // text, then zeros up to n bytes
    Self& text(const std::string& s, size_t n)
    {
        std::vector<unsigned char> field(n, 0);
        std::memcpy(field.data(), s.data(), std::min(s.size(), n));
        b.insert(b.end(), field.begin(), field.end());
        return self();
    }

private:
    Self& self() { return static_cast<Self&>(*this); }
};

using Bytes = std::vector<unsigned char>;

// A file's whole contents; empty when it cannot be read.
inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes readBytes(const std::string& path)
{
    const std::string text = readText(path);
    return Bytes(text.begin(), text.end());
}

// Replaces a file's contents.
inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline void writeBytes(const std::string& path, const Bytes& bytes)
{
    writeText(path, std::string(bytes.begin(), bytes.end()));
}

// The view block the file tests save: x, y, width, height, red, green, blue.
inline CONFIG_STRUCT sampleConfig()
{
    CONFIG_STRUCT c{};
    c.x = 10;
    c.y = -20;
    c.width = 800;
    c.height = 600;
    c.r = 0.25f;
    c.g = 0.5f;
    c.b = 1;
    return c;
}

inline int countSources(const DD_DATA_TYPE_STRUCT* s)
{
    int n = 0;
    for (; s != nullptr; s = s->next)
        ++n;
    return n;
}

// While it lives, files grow to at most bytes (SIGXFSZ ignored): a longer
// write fails as on a full disk. active() tells whether the limit was set.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return;
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        if (active_)
            setrlimit(RLIMIT_FSIZE, &saved_);
        if (previous_ != SIG_ERR)
            std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    struct rlimit saved_;
    void (*previous_)(int) = SIG_ERR;
    bool active_ = false;
};

// The names of the entries of folder, sorted.
inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The five threshold groups in their stored order.
inline TH_BLOCK* thresholdGroup(ACTION_STRUCT* a, int k)
{
    TH_BLOCK* groups[] = {&a->thColor, &a->thWidth, &a->thStyle, &a->thVisibility, &a->thBlink};
    return groups[k];
}

// An action with a value of its own in every stored field (seed varies
// them) and k + 1 entries in threshold group k; line-style entries hold
// style 4.
inline ACTION_STRUCT* fullAction(int seed)
{
    ACTION_STRUCT* a = createAction();
    const float s = float(seed);
    a->id = 1000 + seed;
    a->type = 12;
    std::snprintf(a->var, sizeof a->var, "speed%d", seed);
    std::strcpy(a->secondVar, "x");
    a->a0 = -1 - s, a->a1 = 2, a->b0 = 3, a->b1 = 4;
    a->limit = 1;
    a->secondA0 = 5, a->secondA1 = 6, a->secondB0 = 7, a->secondB1 = 8;
    a->offset = 9, a->slope = 10, a->secondOffset = 11, a->secondSlope = 12;
    a->pivot = 3;
    std::strcpy(a->format, "%5.1f");
    a->filter = 2;
    a->filterTime = 0.5f;
    a->mouseButton = 2, a->mouseAction = 6, a->mouseMode = 1, a->mouseClamp = 1;
    a->mouseInc = 0.25f, a->mouseMin = -5, a->mouseMax = 5;
    a->mouseHiddenActive = 0;
    std::strcpy(a->polyName, "path");
    a->visibleMode = 1;
    a->visibleValue = 7;
    for (int k = 0; k < 5; ++k) {
        TH_BLOCK* group = thresholdGroup(a, k);
        group->min = float(-k);
        group->max = float(100 + k);
        for (int e = 0; e <= k; ++e) {
            TH_STRUCT* th = createTh();
            th->level = float(10 * k + e);
            th->upperLevel = th->level + 0.5f;
            th->intValue = k == 2 ? 4 : k + e;
            th->r = 0.125f * float(e), th->g = 0.25f, th->b = 1;
            appendTh(&group->list, th);
        }
    }
    return a;
}

inline void rename(ELEMENT_STRUCT* e, const char* name)
{
    std::snprintf(e->name, sizeof e->name, "%s", name);
    std::snprintf(e->id, sizeof e->id, "%s-ID", name);
}

// A new element of the kind named name, appended to *list with an action.
inline ELEMENT_STRUCT* add(ELEMENT_STRUCT** list, int kind, const char* name, int seed)
{
    ELEMENT_STRUCT* e = elementCreate(kind);
    rename(e, name);
    appendAction(&e->actions, fullAction(seed));
    elementAppend(e, list);
    return e;
}

// Deletes the actions of every element of the list, groups searched
// through, except those of keep.
inline void dropActions(ELEMENT_STRUCT* list, const ELEMENT_STRUCT* keep)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        dropActions(e->children, keep);
        while (e != keep && e->actions != nullptr)
            delAction(&e->actions, e->actions);
    }
}

inline void corners(float* x, float* y, float x0, float y0, float x1, float y1)
{
    const float xs[4] = {x0, x0, x1, x1}, ys[4] = {y0, y1, y1, y0};
    for (int i = 0; i < 4; ++i)
        x[i] = xs[i], y[i] = ys[i];
}

// One element of every kind the writer stores (0 to 8, 9, 11 to 14), a
// group inside a group; every element with a full action, or (compact) the
// outer group only. The circle's radii are 50 and 25, the texture holds
// 2 x 3 pixels.
inline ELEMENT_STRUCT* everyKindView(bool compact = false)
{
    ELEMENT_STRUCT* list = nullptr;
    add(&list, VD_GRAPH, "graph", 0);
    auto* r = static_cast<RECT_STRUCT*>(add(&list, VD_RECTANGLE, "rect", 1)->data);
    corners(r->x, r->y, 10, 20, 110, 70);
    r->lineStyle = 3;
    r->pattern = 12;
    for (int kind : {VD_POLYGON, VD_CPOLYGON}) {
        auto* p = static_cast<POLY_STRUCT*>(add(&list, kind, kind == VD_POLYGON ? "open" : "closed", kind)->data);
        for (int k = 0; k < 3; ++k) {
            COORD_STRUCT* c = createCoord();
            c->id = uint32_t(100 + k); // not the running number: the bytes stay the same
            c->x = float(10 * k), c->y = float(5 * k * k);
            appendCoord(&p->coords, c);
        }
        p->pattern = 7;
    }
    auto* c = static_cast<CIRCLE_STRUCT*>(add(&list, VD_CIRCLE, "circle", 3)->data);
    c->x = 200, c->y = 150, c->rx = 50, c->ry = 25;
    c->matrix[0] = c->matrix[3] = 1;
    auto* t = static_cast<TEXT_STRUCT*>(add(&list, VD_TEXT, "text", 4)->data);
    std::strcpy(t->text, "Hello");
    auto* l = static_cast<LINE_STRUCT*>(add(&list, VD_LINE, "line", 5)->data);
    l->x1 = 1, l->y1 = 2, l->x2 = 300, l->y2 = 40, l->lineStyle = 2;
    auto* arc = static_cast<CIRCLE_STRUCT*>(add(&list, VD_ARC, "arc", 6)->data);
    arc->x = 50, arc->y = 60, arc->rx = arc->ry = 100;
    arc->matrix[0] = 0.5f, arc->matrix[1] = 0.25f, arc->matrix[2] = -0.25f, arc->matrix[3] = 0.5f;
    auto* image = static_cast<IMAGE_STRUCT*>(add(&list, VD_TEXTURE, "texture", 7)->data);
    corners(image->cornerX, image->cornerY, 0, 0, 20, 30);
    image->pixelWidth = 2, image->pixelHeight = 3;
    unsigned char pixels[2 * 3 * 4];
    for (int i = 0; i < 24; ++i)
        pixels[i] = static_cast<unsigned char>(10 * i + 1);
    loadTextureFromData(pixels, image);

    // A group holding a group, a scissor, a button and a slider; the inner
    // group an element without kind record (9).
    ELEMENT_STRUCT* outer = add(&list, VD_GROUP, "outer", 8);
    ELEMENT_STRUCT* inner = add(&outer->children, VD_GROUP, "inner", 9);
    add(&inner->children, 9, "nine", 10)->parent = inner;
    inner->parent = outer;
    auto* s = static_cast<SCISSOR_STRUCT*>(add(&outer->children, VD_SCISSOR, "scissor", 11)->data);
    corners(s->cornerX, s->cornerY, 0, 0, 400, 300);
    auto* b = static_cast<BUTTON_STRUCT*>(add(&outer->children, VD_BUTTON, "button", 12)->data);
    corners(b->cornerX, b->cornerY, 5, 5, 45, 25);
    b->pressed = 1;
    auto* slider = static_cast<SLIDER_STRUCT*>(add(&outer->children, VD_SLIDER, "slider", 13)->data);
    slider->x = 100, slider->y = 100, slider->width = 20, slider->height = 80;
    slider->sliderInt = 3, slider->sliderFloat = 0.75f;
    for (ELEMENT_STRUCT* child = outer->children; child != nullptr; child = child->next)
        child->parent = outer;
    if (compact)
        dropActions(list, outer);
    setElementAttr(list);
    return list;
}

} // namespace viewfile

#endif
