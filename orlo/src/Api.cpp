#include "Api.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <new>
#include <sys/time.h>

namespace {

struct DirHandle
{
    DIR* dir = nullptr;
};

} // namespace

void* apiOpenDir(const char* path)
{
    if (path == nullptr)
        return nullptr;
    DIR* dir = opendir(path);
    if (dir == nullptr)
        return nullptr;
    DirHandle* h = new (std::nothrow) DirHandle;
    if (h == nullptr) {
        closedir(dir);
        return nullptr;
    }
    h->dir = dir;
    return h;
}

int apiReadDir(void* handle, char* buffer)
{
    if (handle == nullptr || buffer == nullptr)
        return 0;
    DirHandle* h = static_cast<DirHandle*>(handle);
    struct dirent* e = readdir(h->dir);
    if (e == nullptr)
        return 0;
    std::strncpy(buffer, e->d_name, 255);
    buffer[255] = '\0';
    return 1;
}

int apiCloseDir(void* handle)
{
    if (handle == nullptr)
        return 0;
    DirHandle* h = static_cast<DirHandle*>(handle);
    closedir(h->dir);
    delete h;
    return 1;
}

double apiGetTime()
{
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6;
}

void* apiDllOpen(const char* path)
{
    if (path == nullptr)
        return nullptr;
    void* h = dlopen(path, RTLD_NOW | RTLD_GLOBAL);
    if (h == nullptr) {
        const char* err = dlerror();
        printf("Error dlopen: %s\n", err ? err : "unknown error");
        return nullptr;
    }
    return h;
}

int apiDllClose(void* handle)
{
    if (handle != nullptr)
        dlclose(handle);
    return 0;
}

void* apiDllGetSymbol(void* handle, const char* name)
{
    if (handle == nullptr || name == nullptr)
        return nullptr;
    dlerror();
    void* sym = dlsym(handle, name);
    if (dlerror() != nullptr)
        return nullptr;
    return sym;
}
