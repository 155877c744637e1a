// Shared by the benchmarks that write files: a folder of their own under
// /tmp, removed at exit with everything a run left in it.
#ifndef DORNE_BENCH_FOLDER_H
#define DORNE_BENCH_FOLDER_H

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>

class BenchFolder
{
public:
    // A new folder "/tmp/<prefix>XXXXXX"; aborts the run when none can be made.
    explicit BenchFolder(const char* prefix)
    {
        std::string pattern = std::string("/tmp/") + prefix + "XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr)
            std::abort();
        path_ = pattern;
    }
    ~BenchFolder()
    {
        if (DIR* dir = opendir(path_.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    std::remove(file(name).c_str());
            }
            closedir(dir);
        }
        rmdir(path_.c_str());
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

#endif
