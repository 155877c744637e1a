// Internal: the GL wrappers' change tracking. vdiUpdateAttr marks every
// attribute for sending again, and the wrappers note the last antialias
// flag, alpha and line width they sent; the wrappers send their state on
// every call, so none of it changes what is drawn.
#ifndef DORNE_GL_ATTRIBUTES_H
#define DORNE_GL_ATTRIBUTES_H

struct GlAttributeTracking
{
    // Set by vdiUpdateAttr; 0 at load.
    int lineStippleChanged;
    int lineWidthChanged;
    int blendChanged;
    int colorChanged;
    int clearColorChanged;
    // The last values sent by wtAliasBlend and wtLineWidth; 0 at load.
    int lastAntialias;
    float lastAlpha;
    float lastLineWidth; // as sent to GL: line scale x width
};

// The library's one tracking record (read-only view).
const GlAttributeTracking& glAttributeTracking();

#endif
