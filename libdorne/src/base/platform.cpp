// Platform layer: modules, folder listing, the clock, the GL context and the
// engine's version texts.
#include "dornePlatform.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <new>
#include <sys/time.h>

struct API_DIR
{
    DIR* dir;
};

namespace {

const int kReleaseMajor = 3;
const int kReleaseMinor = 3;
const int kReleasePatch = 20;

// VGet_releaseshort and VGet_release share one buffer; each call rewrites it.
char releaseText[128];
char buildTime[64];

} // namespace

void* apiDllOpen(const char* path)
{
    if (path == nullptr)
        return nullptr;
    return dlopen(path, RTLD_NOW);
}

void* apiDllGetSymbol(void* handle, const char* name)
{
    if (handle == nullptr || name == nullptr)
        return nullptr;
    dlerror();
    void* symbol = dlsym(handle, name);
    if (dlerror() != nullptr)
        return nullptr;
    return symbol;
}

int apiDllClose(void* handle)
{
    if (handle != nullptr)
        dlclose(handle);
    return 0;
}

API_DIR* apiOpenDir(const char* path)
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

int apiReadDir(API_DIR* dir, API_FILE* file)
{
    if (dir == nullptr || file == nullptr)
        return 0;
    const dirent* entry = readdir(dir->dir);
    if (entry == nullptr)
        return 0;
    std::snprintf(file->name, sizeof file->name, "%s", entry->d_name);
    return 1;
}

int apiCloseDir(API_DIR* dir)
{
    if (dir == nullptr)
        return 0;
    closedir(dir->dir);
    delete dir;
    return 1;
}

double apiGetTime(void)
{
    timeval tv;
    gettimeofday(&tv, nullptr);
    return double(tv.tv_sec) + double(tv.tv_usec) * 1e-06;
}

int getGlContext(void)
{
    return 1;
}

int VGet_releasenr(void)
{
    return 303;
}

const char* VGet_releaseshort(void)
{
    std::snprintf(releaseText, sizeof releaseText, "%d.%d.%d", kReleaseMajor, kReleaseMinor, kReleasePatch);
    return releaseText;
}

const char* VGet_release(void)
{
    std::snprintf(releaseText, sizeof releaseText, "Nalvo2D Version %d.%d.%d (c) 2010, all rights reserved",
                  kReleaseMajor, kReleaseMinor, kReleasePatch);
    return releaseText;
}

const char* get_ctime(void)
{
    std::snprintf(buildTime, sizeof buildTime, "%s %s", __DATE__, __TIME__);
    return buildTime;
}
