// The GL wrappers: colour factor, line scale, stipples, antialiasing and
// blending over the fixed pipeline. Each call sends its state to GL every
// time, so the change-tracking flags and the last values sent are kept but
// never decide what is sent.
#include "dorneGl.h"

#include "gl/glAttributes.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

namespace {

// Colour factor and line scale: 0 at load, set by the view runtime per draw.
float fr = 0.0f, fg = 0.0f, fb = 0.0f, fa = 0.0f;
float lineScale = 0.0f;
int rgbMode = 0;

// The block opened by wtBegin and not yet ended, in the GL context current
// on this thread: a thread of its own may fill a polygon in its context
// while another draws in another.
thread_local bool beginOpen = false;

const uint32_t* rgbTable = nullptr;

GlAttributeTracking tracking = {};

// Both blending decisions compare the float alpha as a double against 0.98.
bool translucent(float alpha)
{
    return double(alpha) < 0.98;
}

float clampUnit(float v)
{
    if (!(v > 0.0f)) // below 0, and NaN
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

} // namespace

int vvSetColorFactor(float r, float g, float b, float a)
{
    fr = clampUnit(r);
    fg = clampUnit(g);
    fb = clampUnit(b);
    fa = clampUnit(a);
    if (translucent(fa))
        glEnable(GL_BLEND);
    return 0;
}

void vvColor4f(float r, float g, float b, float a)
{
    glColor4f(r * fr, g * fg, b * fb, a * fa);
}

int wtClearColor(float r, float g, float b, float /*a*/)
{
    glClearColor(r, g, b, 0.0f);
    return 0;
}

void vvSetLineScale(float scale)
{
    lineScale = scale;
}

void wtLineWidth(int width)
{
    tracking.lastLineWidth = lineScale * float(width);
    glLineWidth(tracking.lastLineWidth);
}

void wtLineStipple(int factor, unsigned short pattern)
{
    if (factor == 1 && pattern == 0xFFFF) {
        glDisable(GL_LINE_STIPPLE);
    } else {
        glLineStipple(factor, pattern);
        glEnable(GL_LINE_STIPPLE);
    }
}

void wtAliasBlend(int antialias, float alpha)
{
    tracking.lastAntialias = antialias;
    tracking.lastAlpha = alpha;
    if (antialias) {
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_BLEND);
    } else {
        if (translucent(alpha) || translucent(fa))
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
    }
}

int wtSetRgbMode(int flag)
{
    rgbMode = flag;
    return 0;
}

void vdiUpdateAttr(void)
{
    tracking.lineStippleChanged = 1;
    tracking.lineWidthChanged = 1;
    tracking.blendChanged = 1;
    tracking.colorChanged = 1;
    tracking.clearColorChanged = 1;
}

const GlAttributeTracking& glAttributeTracking()
{
    return tracking;
}

void wtBegin(unsigned int mode)
{
    glBegin(mode);
    beginOpen = true;
}

void wtEnd(void)
{
    glEnd();
    beginOpen = false;
}

void wtPushMatrix(void)
{
    glPushMatrix();
}

void wtPopMatrix(void)
{
    glPopMatrix();
}

void wtFinish(void)
{
    // Only a block still open is ended: a glEnd outside glBegin is a GL error.
    if (beginOpen) {
        glEnd();
        beginOpen = false;
    }
}

int checkError(const char* where)
{
    // Bounded: a lost context may report an error on every call.
    for (int i = 0; i < 32; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        const GLubyte* text = gluErrorString(error);
        std::printf("%s: failed with error: %s\n", where ? where : "(null)",
                    text ? reinterpret_cast<const char*>(text) : "unknown error");
    }
    return 0;
}

int setRgbColorIndex(const uint32_t* table)
{
    rgbTable = table;
    return 0;
}

uint32_t getFastRGBcolor(float r, float g, float b)
{
    if (rgbTable == nullptr)
        return 0;
    // Components outside 0..1 would index beyond the table's 9261 entries.
    const int ri = int(20.0f * clampUnit(r));
    const int gi = int(20.0f * clampUnit(g));
    const int bi = int(20.0f * clampUnit(b));
    return rgbTable[ri * 441 + gi * 21 + bi];
}

int setStipple(int on, const unsigned char* mask)
{
    if (!on) {
        glDisable(GL_POLYGON_STIPPLE);
        return 0;
    }
    if (mask == nullptr)
        return -1;
    glEnable(GL_POLYGON_STIPPLE);
    glPolygonStipple(mask);
    return 0;
}
