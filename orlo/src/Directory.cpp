#include "Directory.h"

#include "Api.h"

#include <sys/stat.h>
#include <unistd.h>

Directory::Directory(const std::string& path)
    : mPath(path)
{
}

bool Directory::exists(const std::string& path)
{
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode);
}

bool Directory::exists() const
{
    return exists(mPath);
}

bool Directory::createDirectoryRecursive(const std::string& path)
{
    if (path.empty())
        return false;
    if (access(path.c_str(), F_OK) == 0 && exists(path))
        return true;

    for (size_t pos = path.find_first_of("/\\", 1); pos != std::string::npos;
         pos = path.find_first_of("/\\", pos + 1)) {
        mkdir(path.substr(0, pos).c_str(), 0777); // an existing level is fine
    }
    mkdir(path.c_str(), 0777);
    return exists(path);
}

std::vector<std::string> Directory::entryList(bool descend)
{
    mEntries.clear();
    readDirectory(mPath, descend);
    return mEntries;
}

void Directory::readDirectory(const std::string& path, bool descend)
{
    void* h = apiOpenDir(path.c_str());
    if (h == nullptr)
        return;
    char name[256];
    while (apiReadDir(h, name)) {
        const std::string n(name);
        if (n == "." || n == "..")
            continue;
        const std::string full = path + "/" + n;
        if (descend && exists(full))
            readDirectory(full, descend);
        else
            mEntries.push_back(full);
    }
    apiCloseDir(h);
}

std::string Directory::extractPathFomFile(const std::string& path)
{
    if (exists(path))
        return path;
    const size_t pos = path.rfind('/');
    if (pos == std::string::npos)
        return std::string();
    return path.substr(0, pos);
}
