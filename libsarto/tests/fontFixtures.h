// Helpers of the font library's tests: temporary folders, small bitmap
// fonts written on the fly, captured standard output, watched pipes.
#ifndef SARTO_FONT_FIXTURES_H
#define SARTO_FONT_FIXTURES_H

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace sartotest {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "sarto_XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            mPath = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return mPath; }
    std::string file(const std::string& name) const { return mPath + "/" + name; }

    // A sub-folder (made if missing), by its path.
    std::string folder(const std::string& name) const
    {
        std::filesystem::create_directories(file(name));
        return file(name);
    }

private:
    std::string mPath;
};

// Writes a one-glyph BDF bitmap font. FreeType opens it by its content
// whatever the file is called; its strike width is averageWidth / 10
// (rounded), its style comes from the weight ("Bold" or "Medium") and the
// slant ("R", "I" or "O").
inline void writeBdf(const std::string& path, const std::string& family, int averageWidth,
                     const std::string& weight = "Medium", const std::string& slant = "R")
{
    std::ofstream out(path, std::ios::binary);
    out << "STARTFONT 2.1\n"
        << "FONT -test-" << family << "-" << weight << "-" << slant << "-normal--10-100-75-75-p-"
        << averageWidth << "-ISO8859-1\n"
        << "SIZE 10 75 75\nFONTBOUNDINGBOX 6 10 0 -2\nSTARTPROPERTIES 6\n"
        << "FAMILY_NAME \"" << family << "\"\n"
        << "WEIGHT_NAME \"" << weight << "\"\n"
        << "SLANT \"" << slant << "\"\n"
        << "PIXEL_SIZE 10\n"
        << "AVERAGE_WIDTH " << averageWidth << "\n"
        << "SPACING \"P\"\nENDPROPERTIES\nCHARS 1\n"
        << "STARTCHAR A\nENCODING 65\nSWIDTH 600 0\nDWIDTH 6 0\nBBX 6 10 0 -2\nBITMAP\n"
        << "00\n30\n48\n84\n84\nFC\n84\n84\n00\n00\nENDCHAR\nENDFONT\n";
}

// What the call writes to standard output.
inline std::string captureStdout(const std::function<void()>& call)
{
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}

// A message as the library shows it: colour, label, text, reset.
inline std::string shown(int colour, const std::string& label, const std::string& text)
{
    return "\033[" + std::to_string(colour) + "mlibft " + label + " -> " + text + "\033[0m";
}

inline std::string error(const std::string& text) { return shown(31, "ERROR", text); }
inline std::string warning(const std::string& text) { return shown(34, "WARNING", text); }
inline std::string info(const std::string& text) { return shown(32, "INFO", text); }

// A named pipe at path for the scope of the object. Should the code under
// test open it for reading, it would wait for a writer for ever: after ten
// seconds, and then every second, a writer comes and goes so that the wait
// ends, and opened() tells that it happened.
class PipeWatch
{
public:
    explicit PipeWatch(const std::string& path)
        : mPath(path)
    {
        mMade = mkfifo(path.c_str(), 0600) == 0;
        mThread = std::thread([this] {
            std::unique_lock<std::mutex> lock(mMutex);
            auto wait = std::chrono::seconds(10);
            while (!mDone.wait_for(lock, wait, [this] { return mFinished; })) {
                const int fd = open(mPath.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) { // a reader is there
                    mOpened = true;
                    close(fd);
                }
                wait = std::chrono::seconds(1);
            }
        });
    }
    ~PipeWatch() { stop(); }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;

    bool made() const { return mMade; }

    // Ends the watch; whether the pipe was opened for reading meanwhile.
    bool opened()
    {
        stop();
        return mOpened;
    }

private:
    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mFinished = true;
        }
        mDone.notify_one();
        if (mThread.joinable())
            mThread.join();
    }

    std::string mPath;
    bool mMade = false;
    std::mutex mMutex;
    std::condition_variable mDone;
    bool mFinished = false;
    bool mOpened = false;
    std::thread mThread;
};

} // namespace sartotest

#endif
