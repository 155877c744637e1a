#include "Revision.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace KAVO {

std::string Revision::getName()
{
    return PRG;
}

std::string Revision::getRevisionNumber()
{
    return std::to_string(MAJOR) + "." + std::to_string(MINOR) + "." + std::to_string(RELEASE);
}

std::string Revision::getRevisionString()
{
    return getName() + " " + getRevisionNumber();
}

std::string Revision::compileTime()
{
    return std::string(__DATE__) + " " + __TIME__;
}

void Revision::printHeader()
{
    char cwd[256];
    if (getcwd(cwd, sizeof(cwd)) == nullptr)
        cwd[0] = '\0';

    const char* rule = "-------------------------------------------------";
    printf("%s\n\n", rule);
    printf("      ####   #####   #        ####\n");
    printf("     #    #  #    #  #       #    #\n");
    printf("     #    #  #####   #       #    #\n");
    printf("     #    #  #   #   #       #    #\n");
    printf("      ####   #    #  ######   ####\n\n");
    printf("     Flight and engine data review station\n\n");
    printf("                Version  : %s\n", getRevisionString().c_str());
    printf("                Compiled : %s\n", compileTime().c_str());
    printf("                CWD      : %s\n", cwd);
    printf("%s\n", rule);
}

} // namespace KAVO
