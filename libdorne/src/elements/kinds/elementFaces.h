// What the image, button and slider kinds share: the attribute reset from a
// face colour, flat polygons and the designer's red dashes.
#ifndef DORNE_ELEMENT_FACES_H
#define DORNE_ELEMENT_FACES_H

#include "elements/elementKinds.h"

#include "dorneGl.h"

#include <GL/gl.h>

#include <initializer_list>

// Line style and width 0, line colour 0, the fill colour, visible, empty
// text, override flags cleared; the stipple pair, blink and running stay.
inline void vdiFaceAttr(ATTR_STRUCT& attr, const float (&fill)[4])
{
    attr.lineStyle = 0;
    attr.lineWidth = 0;
    vdiSetColor(attr.lineColor, 0, 0, 0, 0);
    vdiSetColor(attr.fillColor, fill[0], fill[1], fill[2], fill[3]);
    attr.visible = 1;
    attr.text[0] = '\0';
    vdiClearOverrides(&attr);
}

// Phase 1 of a geometry command on a record with cornerX and cornerY:
// each corner from the backed-up one.
template <typename T>
void vdiMoveRecordCorners(ELEMENT_STRUCT* element, const void* backup, int command, const EDIT_PARA_STRUCT* para)
{
    T* r = vdiRecord<T>(element);
    const auto* b = static_cast<const T*>(backup);
    vdiMoveCorners(element, command, para, b->cornerX, b->cornerY, r->cornerX, r->cornerY);
}

// The colour commands of buttons and sliders: 22 face, 23 light and dark
// (0.4 of the light), 25 face alpha, 26 light and dark alpha.
template <typename T>
void vdiEditFaceColors(T& r, int command, const EDIT_PARA_STRUCT* para)
{
    switch (command) {
    case 22:
        vdiSetColor(r.faceColor, para->r, para->g, para->b, r.faceColor[3]);
        break;
    case 23:
        vdiSetColor(r.lightColor, para->r, para->g, para->b, r.lightColor[3]);
        vdiSetColor(r.darkColor, 0.4f * para->r, 0.4f * para->g, 0.4f * para->b, r.darkColor[3]);
        break;
    case 25:
        r.faceColor[3] = para->r;
        break;
    case 26:
        r.lightColor[3] = r.darkColor[3] = para->r;
        break;
    default:
        break;
    }
}

struct VdiPoint
{
    float x, y;
};

// One GL_POLYGON through the points.
inline void vdiPolygon(std::initializer_list<VdiPoint> points)
{
    wtBegin(GL_POLYGON);
    for (const VdiPoint& p : points)
        glVertex2f(p.x, p.y);
    wtEnd();
}

// The red dashes of a selected element in edit mode through n points.
inline void vdiSelectionLoop(const float* x, const float* y, int n)
{
    wtLineStipple(1, 0xF0F0);
    wtLineWidth(1);
    vvColor4f(1, 0, 0, 1);
    wtBegin(GL_LINE_LOOP);
    for (int i = 0; i < n; ++i)
        glVertex2f(x[i], y[i]);
    wtEnd();
}

#endif
