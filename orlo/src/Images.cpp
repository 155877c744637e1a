#include "Images.h"

#include <cstdio>

// The XPM sources are drawn by resources/images/generate/make_images.cpp.
#include "../resources/images/Corvane_Logo.xpm"
#include "../resources/images/ataChapter.xpm"
#include "../resources/images/canArincTx.xpm"
#include "../resources/images/canDial.xpm"
#include "../resources/images/canParameter.xpm"
#include "../resources/images/csv.xpm"
#include "../resources/images/emuMain.xpm"
#include "../resources/images/filenew.xpm"
#include "../resources/images/fileopen.xpm"
#include "../resources/images/filesave.xpm"
#include "../resources/images/filesaveas.xpm"
#include "../resources/images/googleEarth.xpm"
#include "../resources/images/help.xpm"
#include "../resources/images/info.xpm"
#include "../resources/images/kavo.xpm"
#include "../resources/images/quit.xpm"
#include "../resources/images/sdCard.xpm"
#include "../resources/images/tamsel_logo.xpm"

namespace KAVO {

namespace {

struct ImageEntry
{
    const char* name;
    const char* const* xpm;
};

const ImageEntry kImages[] = {
    { "Corvane_Logo", Corvane_Logo_xpm },
    { "ataChapter", ataChapter_xpm },
    { "canArincTx", canArincTx_xpm },
    { "canDial", canDial_xpm },
    { "canParameter", canParameter_xpm },
    { "csv", csv_xpm },
    { "emuMain", emuMain_xpm },
    { "filenew", filenew_xpm },
    { "fileopen", fileopen_xpm },
    { "filesave", filesave_xpm },
    { "filesaveas", filesaveas_xpm },
    { "googleEarth", googleEarth_xpm },
    { "help", help_xpm },
    { "info", info_xpm },
    { "kavo", kavo_xpm },
    { "quit", quit_xpm },
    { "sdCard", sdCard_xpm },
    { "tamsel_logo", tamsel_logo_xpm },
};

} // namespace

QPixmap Images::pixmap(const QString& name)
{
    for (const ImageEntry& e : kImages) {
        if (name == QLatin1String(e.name))
            return QPixmap(e.xpm);
    }
    printf("unknown image <%s>\n", qPrintable(name));
    return QPixmap();
}

QIcon Images::icon(const QString& name)
{
    return QIcon(pixmap(name));
}

QStringList Images::names()
{
    QStringList list;
    for (const ImageEntry& e : kImages)
        list << QString::fromLatin1(e.name);
    return list;
}

} // namespace KAVO
