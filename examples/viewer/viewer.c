/* viewer: shows a view file of the view engine (libdorne) in a window.

     viewer [options] VIEWFILE

     --size WxH       window size in pixels (default: the view's own size)
     --set NAME=VALUE write a variable of the view after it started
     --print NAME     print the variable's value after every frame
     --frames N       headless: draw N frames in an invisible window ...
     --png FILE       ... and write the last one to FILE as a PNG

   VIEWFILE is a binary view file or an XML view file (name ending ".xml").

   In a window the view runs animated: its data thread exchanges data with
   the view's sources every 10 ms while the window draws as often as the
   display takes frames. The mouse goes to the view, so buttons, sliders and
   knobs work (the engine takes no keyboard input; Escape closes the
   window).

   Headless (--frames) the view runs without its data thread: every draw
   exchanges data once, and the viewer moves the view's clock on by 10 ms a
   frame, as one tick of the data thread would. So frame N shows what the
   animated view shows after N ticks, the same on every run. */

#define _POSIX_C_SOURCE 200809L /* mkstemp, fdopen, fsync, getpid */

#include <dorneFiles.h>     /* loadFileXml, saveFile */
#include <dorneLog.h>       /* getLogMsg */
#include <dorneVariables.h> /* vdVarGetStr, vdVarSetStr */
#include <dorneView.h>      /* vdViewLoad, vdViewStart..., vdViewDraw, vdViewEvent */
#include <sartoLibrary.h>   /* ftSetDebugLevel */

#include <GLFW/glfw3.h> /* includes GL/gl.h */
#include <png.h>

#include <fcntl.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define MAX_NAMES 16

typedef struct Options
{
    const char* viewFile;
    int width, height; /* 0: the view's size */
    int frames;        /* 0: interactive */
    const char* png;
    const char* print[MAX_NAMES];
    int printCount;
    const char* set[MAX_NAMES];
    int setCount;
} Options;

/* What the GLFW callbacks need. */
typedef struct App
{
    GLFWwindow* glfw;
    vdView_Struct* view;
    vdWindow_Struct* window; /* the engine's record of the target: size and zoom */
    int held[3];             /* mouse buttons held, in the engine's numbering */
} App;

/* ---- Loading ------------------------------------------------------------ */

/* Prints what the engine logged (and empties its log). */
static void printEngineLog(void)
{
    char text[16384];
    if (getLogMsg(text, sizeof text) == 0 && text[0] != '\0')
        fprintf(stderr, "%s", text);
}

/* vdViewLoad reads binary view files. An XML view file is read into
   element and source lists, written as a binary view file and loaded from
   there. The font library is set up by the first vdViewLoad, so the XML
   reader cannot make the texts' fonts yet: the binary file names them by
   family and size, and the view makes them when it loads. Null when the
   file cannot be read. */
static vdView_Struct* loadXmlView(const char* path)
{
    ELEMENT_STRUCT* elements = NULL;
    DD_DATA_TYPE_STRUCT* sources = NULL;
    CONFIG_STRUCT config;
    memset(&config, 0, sizeof config);

    ftSetDebugLevel(0); /* quiet about the fonts; vdViewLoad sets level 1 again */
    if (loadFileXml(path, &elements, &sources, &config) != 0)
        return NULL; /* the lists are as they were: empty */

    vdView_Struct* view = NULL;
    char binary[] = "/tmp/viewer-XXXXXX";
    const int fd = mkstemp(binary);
    if (fd >= 0) {
        close(fd);
        if (saveFile(binary, elements, sources, &config) == 0)
            view = vdViewLoad(binary);
        unlink(binary);
    }
    /* The lists are the caller's: free them with the engine's functions. */
    elementDeleteAll(&elements);
    while (sources != NULL)
        delDataType(&sources, sources, 1);
    return view;
}

static vdView_Struct* loadView(const char* path)
{
    const size_t n = strlen(path);
    if (n > 4 && strcmp(path + n - 4, ".xml") == 0)
        return loadXmlView(path);
    return vdViewLoad(path);
}

/* ---- Drawing ------------------------------------------------------------ */

/* Clears the window to the view's page colour and draws the view as large
   as it fits, centred. */
static void drawFrame(App* app)
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(app->glfw, &width, &height);
    vdWindowInit(app->window, width, height); /* viewport and projection: one unit a pixel */

    const float viewWidth = (float)vdViewWidth(app->view);
    const float viewHeight = (float)vdViewHeight(app->view);
    float scale = 1.0f; /* a view without a size is drawn as it is */
    if (viewWidth >= 1.0f && viewHeight >= 1.0f) {
        scale = (float)width / viewWidth;
        if ((float)height / viewHeight < scale)
            scale = (float)height / viewHeight;
    }

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    vdWindowClear(app->window, app->view);
    /* The view's lower-left corner at (x, y) pixels, y up. */
    vdViewDraw(app->window, app->view, ((float)width - viewWidth * scale) / 2.0f,
               ((float)height - viewHeight * scale) / 2.0f, scale);
}

/* Writes the frame in the back buffer as an RGB PNG, through a temporary
   file that replaces path when complete. 0, or -1 with a message. */
static int writePng(const char* path, int width, int height)
{
    unsigned char* pixels = malloc((size_t)width * (size_t)height * 3);
    char* temp = malloc(strlen(path) + 24);
    if (pixels == NULL || temp == NULL) {
        free(pixels);
        free(temp);
        fprintf(stderr, "viewer: out of memory\n");
        return -1;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);

    sprintf(temp, "%s.%ld", path, (long)getpid());
    const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL, 0666); /* the umask applies */
    FILE* file = fd >= 0 ? fdopen(fd, "wb") : NULL;
    png_structp png = file != NULL ? png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL) : NULL;
    png_infop info = png != NULL ? png_create_info_struct(png) : NULL;
    int result = -1;
    if (info != NULL && setjmp(png_jmpbuf(png)) == 0) { /* libpng jumps back here on an error */
        png_init_io(png, file);
        png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = height - 1; y >= 0; --y) /* GL rows run bottom-up, PNG rows top-down */
            png_write_row(png, pixels + (size_t)y * (size_t)width * 3);
        png_write_end(png, NULL);
        result = 0;
    }
    png_destroy_write_struct(png != NULL ? &png : NULL, info != NULL ? &info : NULL);
    if (file != NULL && (fflush(file) != 0 || fsync(fileno(file)) != 0))
        result = -1;
    if (file != NULL && fclose(file) != 0)
        result = -1;
    if (result == 0 && rename(temp, path) != 0)
        result = -1;
    if (result != 0) {
        fprintf(stderr, "viewer: cannot write <%s>\n", path);
        if (fd >= 0)
            unlink(temp);
    }
    free(pixels);
    free(temp);
    return result;
}

/* ---- Mouse -------------------------------------------------------------- */

/* vdViewEvent takes window pixels with y from the top; GLFW reports the
   cursor in screen coordinates, which differ from pixels on scaled screens. */
static void sendEvent(App* app, int button, int type)
{
    double x = 0, y = 0;
    int windowWidth = 1, windowHeight = 1, width = 1, height = 1;
    glfwGetCursorPos(app->glfw, &x, &y);
    glfwGetWindowSize(app->glfw, &windowWidth, &windowHeight);
    glfwGetFramebufferSize(app->glfw, &width, &height);
    x *= (double)width / (windowWidth > 0 ? windowWidth : 1);
    y *= (double)height / (windowHeight > 0 ? windowHeight : 1);
    vdViewEvent(app->window, app->view, button, type, (float)x, (float)y);
}

static void onMouseButton(GLFWwindow* glfw, int glfwButton, int action, int mods)
{
    (void)mods;
    App* app = glfwGetWindowUserPointer(glfw);
    /* The engine's buttons: 0 left, 1 centre, 2 right. */
    const int button = glfwButton == GLFW_MOUSE_BUTTON_LEFT     ? 0
                       : glfwButton == GLFW_MOUSE_BUTTON_MIDDLE ? 1
                       : glfwButton == GLFW_MOUSE_BUTTON_RIGHT  ? 2
                                                                : -1;
    if (button < 0)
        return;
    app->held[button] = action == GLFW_PRESS;
    sendEvent(app, button, action == GLFW_PRESS ? 0 : 1); /* 0 press, 1 release */
}

static void onCursorMove(GLFWwindow* glfw, double x, double y)
{
    (void)x;
    (void)y;
    App* app = glfwGetWindowUserPointer(glfw);
    for (int button = 0; button < 3; ++button) {
        if (app->held[button]) {
            sendEvent(app, button, 7); /* 7: a move with the button held */
            return;
        }
    }
}

static void onKey(GLFWwindow* glfw, int key, int scancode, int action, int mods)
{
    (void)scancode;
    (void)mods;
    if (key == GLFW_KEY_ESCAPE && action == GLFW_PRESS)
        glfwSetWindowShouldClose(glfw, GLFW_TRUE);
}

static void onGlfwError(int code, const char* text)
{
    fprintf(stderr, "viewer: GLFW error %d: %s\n", code, text);
}

/* ---- Main --------------------------------------------------------------- */

static void usage(void)
{
    fprintf(stderr, "usage: viewer [--size WxH] [--set NAME=VALUE]... [--print NAME]...\n"
                    "              [--frames N [--png FILE]] VIEWFILE\n");
}

static int parseOptions(int argc, char** argv, Options* o)
{
    memset(o, 0, sizeof *o);
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : NULL;
        if (strcmp(arg, "--size") == 0 && value != NULL) {
            if (sscanf(value, "%dx%d", &o->width, &o->height) != 2 || o->width < 1 || o->height < 1)
                return -1;
        } else if (strcmp(arg, "--frames") == 0 && value != NULL) {
            o->frames = atoi(value);
            if (o->frames < 1)
                return -1;
        } else if (strcmp(arg, "--png") == 0 && value != NULL) {
            o->png = value;
        } else if (strcmp(arg, "--print") == 0 && value != NULL && o->printCount < MAX_NAMES) {
            o->print[o->printCount++] = value;
        } else if (strcmp(arg, "--set") == 0 && value != NULL && strchr(value, '=') != NULL &&
                   o->setCount < MAX_NAMES) {
            o->set[o->setCount++] = value;
        } else if (arg[0] != '-' && o->viewFile == NULL) {
            o->viewFile = arg;
            continue;
        } else {
            return -1;
        }
        ++i; /* the option's value */
    }
    return o->viewFile != NULL && (o->png == NULL || o->frames > 0) ? 0 : -1;
}

/* Writes NAME=VALUE into the started view; 0, or -1 with a message. */
static int setVariable(vdView_Struct* view, const char* assignment)
{
    char name[64];
    const size_t length = (size_t)(strchr(assignment, '=') - assignment);
    snprintf(name, sizeof name, "%.*s", (int)length, assignment);
    if (vdVarSetStr(view, name, assignment + length + 1) != 1) {
        fprintf(stderr, "viewer: the view has no variable <%s>\n", name);
        return -1;
    }
    return 0;
}

static void printVariables(App* app, const Options* o, int frame)
{
    if (o->printCount == 0)
        return;
    printf("frame %d", frame);
    for (int i = 0; i < o->printCount; ++i) {
        char value[256];
        if (vdVarGetStr(app->view, o->print[i], value) < 0)
            snprintf(value, sizeof value, "?");
        printf(" %s=%s", o->print[i], value);
    }
    printf("\n");
    fflush(stdout);
}

int main(int argc, char** argv)
{
    Options o;
    if (parseOptions(argc, argv, &o) != 0) {
        usage();
        return 2;
    }
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit())
        return 1;

    /* The window stays hidden until the view's size is known (and for
       good when headless). The engine draws with OpenGL 1.x: any context
       of the compatibility kind serves; groups may clip with the stencil. */
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_STENCIL_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    App app;
    memset(&app, 0, sizeof app);
    app.glfw = glfwCreateWindow(o.width > 0 ? o.width : 640, o.height > 0 ? o.height : 480, "viewer", NULL, NULL);
    if (app.glfw == NULL) {
        glfwTerminate();
        return 1;
    }
    /* A view is loaded, drawn and freed with its GL context current. */
    glfwMakeContextCurrent(app.glfw);

    app.view = loadView(o.viewFile);
    if (app.view == NULL) {
        fprintf(stderr, "viewer: cannot load the view file <%s>:\n", o.viewFile);
        printEngineLog();
        glfwDestroyWindow(app.glfw);
        glfwTerminate();
        return 1;
    }
    /* Every load sets the font library's message level to 1; from here on
       its messages (and terminal colour codes) would only clutter the output. */
    ftSetDebugLevel(0);
    app.window = vdWindowCreate();
    const int started = app.window == NULL ? -1 : o.frames > 0 ? vdViewStart(app.view) : vdViewStartAnim(app.view);
    int status = started == 0 ? 0 : 1;
    if (started != 0) {
        fprintf(stderr, "viewer: the view does not start (%d):\n", started);
        printEngineLog();
    }
    for (int i = 0; status == 0 && i < o.setCount; ++i)
        status = setVariable(app.view, o.set[i]);

    if (status == 0 && o.width == 0 && vdViewWidth(app.view) >= 1 && vdViewHeight(app.view) >= 1)
        glfwSetWindowSize(app.glfw, vdViewWidth(app.view), vdViewHeight(app.view));

    if (status == 0 && o.frames > 0) {
        int width = 0, height = 0;
        glfwGetFramebufferSize(app.glfw, &width, &height);
        for (int frame = 1; frame <= o.frames; ++frame) {
            drawFrame(&app);                /* exchanges data once, then draws */
            vdViewPutData(app.view, 0.010); /* the view clock moves on; graphs take their samples */
            printVariables(&app, &o, frame);
            if (frame == o.frames && o.png != NULL && writePng(o.png, width, height) != 0)
                status = 1;
            glfwSwapBuffers(app.glfw);
        }
    } else if (status == 0) {
        glfwSetWindowUserPointer(app.glfw, &app);
        glfwSetMouseButtonCallback(app.glfw, onMouseButton);
        glfwSetCursorPosCallback(app.glfw, onCursorMove);
        glfwSetKeyCallback(app.glfw, onKey);
        glfwSetWindowTitle(app.glfw, o.viewFile);
        glfwShowWindow(app.glfw);
        glfwSwapInterval(1);
        for (int frame = 1; !glfwWindowShouldClose(app.glfw); ++frame) {
            drawFrame(&app);
            printVariables(&app, &o, frame);
            glfwSwapBuffers(app.glfw);
            glfwPollEvents();
        }
    }

    vdViewFree(app.view); /* stops the view (and its data thread) first */
    free(app.window);
    glfwDestroyWindow(app.glfw);
    glfwTerminate();
    return status;
}
