// Loading a view: the record with its defaults, the font library's set-up
// at the first load of the process, the view file read from a path or from
// memory, and the data sources merged with the registered source kinds.
// A whole load runs under the library lock (the font library, the texture
// registry and the element names it touches have no lock of their own); it
// takes no view mutex.
#include "view/viewInternal.h"

#include "base/libraryLock.h"
#include "files/viewFile.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dorneView.h"
#include "sartoLibrary.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dorne {

namespace {

// Adds "<value of the environment variable>/fonts" when it is set.
void addFontFolderOf(const char* variable)
{
    const char* root = std::getenv(variable);
    if (root == nullptr)
        return;
    char folder[1024];
    std::snprintf(folder, sizeof folder, "%s/fonts", root);
    ftLibraryAddPath(folder);
}

// The font library is set up by the first load of the process only; a
// library initialised before, or one that cannot start, adds no folders.
void setUpFonts(bool fromMemory)
{
    ftSetDebugLevel(1);
    if (ftLibraryInit() != 1)
        return;
    if (!fromMemory)
        ftLibraryAddPath(".");
    ftLibraryAddPath("../fonts");
    ftLibraryAddPath("../../fonts");
    addFontFolderOf("NALVO_HOME");
    if (fromMemory)
        addFontFolderOf("windir");
    ftLibraryParseFonts();
}

// A record as a load starts it; null when memory runs out.
vdView_Struct* newView()
{
    auto* view = static_cast<vdView_Struct*>(std::calloc(1, sizeof(vdView_Struct)));
    if (view == nullptr)
        return nullptr;
    view->variables = mpiHashCreate(50);
    if (view->variables == nullptr || pthread_mutex_init(&view->mutex, nullptr) != 0) {
        mpiHashRemove(view->variables);
        std::free(view);
        return nullptr;
    }
    view->magic = VD_VIEW_MAGIC;
    for (float& f : view->colorFactor)
        f = 1.0f;
    view->backgroundMode = 1;
    view->drawScale = 1.0f;
    return view;
}

// After the file was read: the registry built, merged into the view's
// sources and deleted again; the write flags from the mouse actions.
void mergeSources(vdView_Struct* view)
{
    vdiLoadStaticDataSources(&view->registry);
    vdiLoadDataSources(&view->registry);
    updateDataTypes(view->registry, &view->dataSources);
    while (view->registry != nullptr)
        delDataType(&view->registry, view->registry, 1);
    assignVariablesReadWrite(view->elements, view->dataSources);
}

// Reads a view file image from the stream through the checked reader, as
// loadFile reads a file: the caller's lists and block change only when the
// whole image was read.
bool readImage(FILE* stream, int64_t size, vdView_Struct* view)
{
    ViewReader in(stream, "vdViewLoadData", "(memory)", size);
    return readView(in, "(memory)", &view->elements, &view->dataSources, &view->config);
}

} // namespace

void releaseView(vdView_Struct* view)
{
    LibraryLockGuard lock(libraryLock());
    elementDeleteAll(&view->elements);
    while (view->dataSources != nullptr)
        delDataType(&view->dataSources, view->dataSources, 0);
    while (view->registry != nullptr)
        delDataType(&view->registry, view->registry, 1);
    mpiHashRemove(view->variables);
    view->variables = nullptr;
    if (view->renderTexture != 0) {
        const GLuint name = view->renderTexture;
        glDeleteTextures(1, &name);
        view->renderTexture = 0;
    }
    view->magic = 0;
    pthread_mutex_destroy(&view->mutex);
    std::free(view);
}

} // namespace dorne

using dorne::LibraryLockGuard;

vdView_Struct* vdViewLoad(const char* path)
{
    if (path == nullptr)
        return nullptr;
    LibraryLockGuard lock(dorne::libraryLock());
    vdView_Struct* view = dorne::newView();
    if (view == nullptr)
        return nullptr;
    dorne::setUpFonts(false);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const int read = loadFile(path, &view->elements, &view->dataSources, &view->config);
    dorne::setViewState(view, 0);
    if (read != 0) {
        dorne::releaseView(view);
        return nullptr;
    }
    dorne::mergeSources(view);
    return view;
}

vdView_Struct* vdViewLoadData(const void* image, uint32_t size)
{
    if (image == nullptr || size == 0)
        return nullptr;
    LibraryLockGuard lock(dorne::libraryLock());
    vdView_Struct* view = dorne::newView();
    if (view == nullptr)
        return nullptr;
    dorne::setUpFonts(true);
    // Read in place: the stream never writes to the image.
    FILE* stream = fmemopen(const_cast<void*>(image), size, "rb");
    if (stream == nullptr) {
        perror("open fd");
        dorne::releaseView(view);
        return nullptr;
    }
    const bool read = dorne::readImage(stream, size, view);
    std::fclose(stream);
    if (!read) {
        dorne::releaseView(view);
        return nullptr;
    }
    dorne::mergeSources(view);
    return view;
}
