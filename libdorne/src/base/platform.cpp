// Platform layer: modules, folder listing, the clock, the GL context and the
// engine's version texts.
#include "dornePlatform.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sys/time.h>

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

// Folders are listed by the font library's platform layer, so that a listing
// opened by either library is the same record.
API_DIR* apiOpenDir(const char* path)
{
    return ftApiOpenDir(path);
}

int apiReadDir(API_DIR* dir, API_FILE* file)
{
    return ftApiReadDir(dir, file);
}

int apiCloseDir(API_DIR* dir)
{
    return ftApiCloseDir(dir);
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
