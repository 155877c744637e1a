// Platform layer of the font library: folder listing and the GL context.
#include "sartoPlatform.h"

#include <GL/gl.h>

#include <cstdio>
#include <dirent.h>
#include <new>

struct API_DIR
{
    DIR* dir;
};

API_DIR* ftApiOpenDir(const char* path)
{
    if (path == nullptr)
        return nullptr;
    DIR* dir = opendir(path);
    if (dir == nullptr)
        return nullptr;
    API_DIR* handle = new (std::nothrow) API_DIR{dir};
    if (handle == nullptr)
        closedir(dir);
    return handle;
}

int ftApiReadDir(API_DIR* dir, API_FILE* file)
{
    if (dir == nullptr || file == nullptr)
        return 0;
    const dirent* entry = readdir(dir->dir);
    if (entry == nullptr)
        return 0;
    std::snprintf(file->name, sizeof file->name, "%s", entry->d_name);
    return 1;
}

int ftApiCloseDir(API_DIR* dir)
{
    if (dir == nullptr)
        return 0;
    closedir(dir->dir);
    delete dir;
    return 1;
}

int64_t ftApiGetGlContext(void)
{
    // One identity for every context; without a current one OpenGL answers
    // nothing, and fonts must not be built against no context.
    return glGetString(GL_VERSION) != nullptr ? 1 : 0;
}
