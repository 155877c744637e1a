#ifndef ORLO_REVISION_H
#define ORLO_REVISION_H

#include <string>

namespace KAVO {

// Program name, revision number and build time shown by the banner, the
// splash, the about box and the status bar.
class Revision
{
public:
    static constexpr const char* PRG = "ORLO";
    static constexpr int MAJOR = 1;
    static constexpr int MINOR = 2;
    static constexpr int RELEASE = 21;
    static constexpr int YEAR = 2022;

    static std::string getName();
    static std::string getRevisionNumber();
    static std::string getRevisionString();
    static std::string compileTime();
    static void printHeader();
};

} // namespace KAVO

#endif
