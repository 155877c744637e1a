// The offscreen test context. Why EGL on the surfaceless platform: Debian's
// libGL is a dispatcher (glvnd), and the libraries' own GL calls go through
// it; an EGL context made current is what the dispatcher forwards to. An
// OSMesa context is reached only when OSMesa's symbols come before libGL's in
// the process, which a shared library's calls cannot rely on.
#include "orloGlContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace orlo_gl {

struct GlContext::Egl
{
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

std::string eglFailure(const char* what)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04x)", what, unsigned(eglGetError()));
    return text;
}

// One display for the process, initialised at the first context and never
// terminated (contexts kept for the process live until exit).
EGLDisplay surfacelessDisplay(std::string& error)
{
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string failure;
    if (display != EGL_NO_DISPLAY || !failure.empty()) {
        error = failure;
        return display;
    }
    // Pixels must not depend on the machine's GPU: the software renderer.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    EGLDisplay d = EGL_NO_DISPLAY;
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (clientExtensions && std::string(clientExtensions).find("EGL_MESA_platform_surfaceless") != std::string::npos &&
        getPlatformDisplay) {
        d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    } else {
        setenv("EGL_PLATFORM", "surfaceless", 1);
        d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    }
    EGLint major = 0, minor = 0;
    if (d == EGL_NO_DISPLAY)
        failure = "no EGL display on the surfaceless platform (install libegl1 and libegl-mesa0)";
    else if (!eglInitialize(d, &major, &minor))
        failure = eglFailure("eglInitialize");
    else if (!eglBindAPI(EGL_OPENGL_API))
        failure = eglFailure("eglBindAPI(EGL_OPENGL_API)");
    if (failure.empty())
        display = d;
    error = failure;
    return display;
}

} // namespace

std::unique_ptr<GlContext> GlContext::create(int width, int height, std::string& error)
{
    if (width < 1 || height < 1) {
        error = "context size below 1 x 1";
        return nullptr;
    }
    const EGLDisplay display = surfacelessDisplay(error);
    if (display == EGL_NO_DISPLAY)
        return nullptr;

    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                       EGL_DEPTH_SIZE, 24, EGL_STENCIL_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        error = "no EGL configuration with RGBA8, depth 24 and stencil 8 for a desktop GL pbuffer";
        return nullptr;
    }
    std::unique_ptr<GlContext> made(new GlContext);
    made->mEgl = std::make_unique<Egl>();
    made->mEgl->display = display;
    made->mWidth = width;
    made->mHeight = height;

    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    made->mEgl->surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (made->mEgl->surface == EGL_NO_SURFACE) {
        error = eglFailure("eglCreatePbufferSurface");
        return nullptr;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    // The bound API is the calling thread's: a thread other than the one
    // that set up the display starts with OpenGL ES.
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = eglFailure("eglBindAPI(EGL_OPENGL_API)");
        return nullptr;
    }
    made->mEgl->context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (made->mEgl->context == EGL_NO_CONTEXT) {
        error = eglFailure("eglCreateContext (compatibility profile)");
        return nullptr;
    }
    if (!made->makeCurrent()) {
        error = eglFailure("eglMakeCurrent");
        return nullptr;
    }
    // The dispatcher must reach the context: a renderer string proves it.
    if (glGetString(GL_RENDERER) == nullptr) {
        error = "glGetString(GL_RENDERER) is null: GL calls do not reach the EGL context";
        return nullptr;
    }
    GLint stencil = 0, depth = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    if (stencil < 8 || depth < 16) {
        error = "context has " + std::to_string(depth) + " depth and " + std::to_string(stencil) + " stencil bits";
        return nullptr;
    }
    static bool printed = false;
    if (!printed) {
        printed = true;
        std::printf("GL context: %s (depth %d, stencil %d)\n", rendererText().c_str(), int(depth), int(stencil));
        std::fflush(stdout);
    }
    glViewport(0, 0, width, height);
    return made;
}

bool GlContext::makeCurrentForPixels()
{
    if (!makeCurrent())
        return false;
    glViewport(0, 0, mWidth, mHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, mWidth, 0, mHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return true;
}

GlContext* GlContext::shared(int width, int height, std::string& error)
{
    // Kept until exit on purpose: tearing contexts down in static
    // destructors races with the driver's own exit handlers.
    static auto* contexts = new std::map<std::pair<int, int>, GlContext*>;
    static auto* failures = new std::map<std::pair<int, int>, std::string>;
    const auto key = std::make_pair(width, height);
    auto found = contexts->find(key);
    if (found != contexts->end()) {
        if (!found->second->makeCurrent()) {
            error = eglFailure("eglMakeCurrent");
            return nullptr;
        }
        return found->second;
    }
    auto failed = failures->find(key);
    if (failed != failures->end()) {
        error = failed->second;
        return nullptr;
    }
    std::unique_ptr<GlContext> made = create(width, height, error);
    if (!made) {
        (*failures)[key] = error;
        return nullptr;
    }
    GlContext* context = made.release();
    (*contexts)[key] = context;
    return context;
}

GlContext::~GlContext()
{
    if (!mEgl)
        return;
    if (eglGetCurrentContext() == mEgl->context)
        eglMakeCurrent(mEgl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (mEgl->context != EGL_NO_CONTEXT)
        eglDestroyContext(mEgl->display, mEgl->context);
    if (mEgl->surface != EGL_NO_SURFACE)
        eglDestroySurface(mEgl->display, mEgl->surface);
}

bool GlContext::makeCurrent()
{
    return mEgl && eglMakeCurrent(mEgl->display, mEgl->surface, mEgl->surface, mEgl->context) == EGL_TRUE;
}

void GlContext::releaseCurrent()
{
    const EGLDisplay display = eglGetCurrentDisplay();
    if (display != EGL_NO_DISPLAY)
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::string GlContext::rendererText()
{
    const GLubyte* renderer = glGetString(GL_RENDERER);
    const GLubyte* version = glGetString(GL_VERSION);
    std::string text = renderer ? reinterpret_cast<const char*>(renderer) : "(no renderer)";
    text += " | ";
    text += version ? reinterpret_cast<const char*>(version) : "(no version)";
    return text;
}

std::vector<uint8_t> GlContext::readPixels(int x, int y, int w, int h)
{
    if (w < 1 || h < 1)
        return {};
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4u, 0);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
    return pixels;
}

std::array<uint8_t, 4> GlContext::pixel(int x, int y)
{
    const std::vector<uint8_t> p = readPixels(x, y, 1, 1);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace orlo_gl
