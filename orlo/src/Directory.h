#ifndef ORLO_DIRECTORY_H
#define ORLO_DIRECTORY_H

#include <string>
#include <vector>

// A folder path with folder tests, creation and listing.
class Directory
{
public:
    explicit Directory(const std::string& path);

    static bool exists(const std::string& path);
    bool exists() const;

    // Creates every missing level; true when the whole path exists afterwards.
    static bool createDirectoryRecursive(const std::string& path);

    std::vector<std::string> entryList(bool descend);

    // The path itself when it is a folder, else the text before its last "/".
    static std::string extractPathFomFile(const std::string& path);

private:
    void readDirectory(const std::string& path, bool descend);

    std::string mPath;
    std::vector<std::string> mEntries;
};

#endif
