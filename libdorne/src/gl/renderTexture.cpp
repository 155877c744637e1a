// The render texture: a view drawn once into the frame buffer, copied into a
// 1024 x 1024 texture and shown again as one quad. The pixel-buffer calls are
// empty and kept for callers: the view renders into the caller's current
// frame buffer.
#include "dorneTextures.h"

#include "gl/glExtensions.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <climits>

namespace {

const int kRenderSize = 1024;

// Initial contents of every render texture (zero pages until read).
unsigned char zeroPixels[kRenderSize * kRenderSize * 4];

// One saved viewport for the library: saves and restores of different views
// must not interleave.
GLint savedViewport[4] = {0, 0, 0, 0};

// (int)value truncated toward zero, within [low, high] (NaN gives low): a
// view size from a file must not overflow the conversion.
int truncated(float value, int low, int high)
{
    if (!(value > float(low)))
        return low;
    if (value >= float(high))
        return high;
    return int(value);
}

} // namespace

int createRenderTexture(vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (view->renderTexture != 0) {
        const GLuint old = view->renderTexture;
        glDeleteTextures(1, &old);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    view->renderTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kRenderSize, kRenderSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeroPixels);
    glPopClientAttrib();
    // Querying the maximum anisotropy is an error where it is not offered.
    if (glHasExtension("GL_EXT_texture_filter_anisotropic")) {
        GLfloat maxAnisotropy = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    return 0;
}

int renderSaveViewport(vdView_Struct* /*view*/)
{
    glGetIntegerv(GL_VIEWPORT, savedViewport);
    return 0;
}

int renderSetViewport(vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    const CONFIG_STRUCT& c = view->config;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(c.x, double(c.x) + c.width, c.y, double(c.y) + c.height, -1.0, 1.0);
    // A negative size is a GL error; keep it at 0.
    glViewport(0, 0, truncated(c.width - 1.0f, 0, INT_MAX), truncated(c.height - 1.0f, 0, INT_MAX));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return 0;
}

int fillRenderTexture(vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    if (view->renderTexture == 0)
        return -3;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, view->renderTexture);
    // The texture holds 1024 x 1024 pixels: a larger view copies that much.
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, truncated(view->config.width, 0, kRenderSize),
                        truncated(view->config.height, 0, kRenderSize));
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    return 0;
}

int restoreViewPort(vdView_Struct* /*view*/)
{
    glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
    return 0;
}

int drawRenderTexture(vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    const CONFIG_STRUCT& c = view->config;
    const float u = c.width / float(kRenderSize);
    const float v = c.height / float(kRenderSize);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, view->renderTexture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(c.x, c.y);
    glTexCoord2f(0.0f, v);
    glVertex2f(c.x, c.y + c.height);
    glTexCoord2f(u, v);
    glVertex2f(c.x + c.width, c.y + c.height);
    glTexCoord2f(u, 0.0f);
    glVertex2f(c.x + c.width, c.y);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    return 0;
}

int drawListTexture(vdView_Struct* view)
{
    if (view == nullptr)
        return -1;
    glCallList(view->displayList);
    return 0;
}

int pbufferInit(int /*width*/, int /*height*/)
{
    return 0;
}

void pbufferEnable(void)
{
}

void pbufferDisable(void)
{
}

void pbufferDestroy(void)
{
}
