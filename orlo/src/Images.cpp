#include "Images.h"

#include <cstdio>

// The XPM sources are drawn by the programs in resources/images/generate/.
#include "../resources/images/Corvane_Logo.xpm"
#include "../resources/images/ataChapter.xpm"
#include "../resources/images/canArincTx.xpm"
#include "../resources/images/canDial.xpm"
#include "../resources/images/canGraph.xpm"
#include "../resources/images/canParameter.xpm"
#include "../resources/images/canStatistic.xpm"
#include "../resources/images/configure2.xpm"
#include "../resources/images/csv.xpm"
#include "../resources/images/emuMain.xpm"
#include "../resources/images/fail.xpm"
#include "../resources/images/filenew.xpm"
#include "../resources/images/fileopen.xpm"
#include "../resources/images/filesave.xpm"
#include "../resources/images/filesaveas.xpm"
#include "../resources/images/frame_image.xpm"
#include "../resources/images/googleEarth.xpm"
#include "../resources/images/graphSingle.xpm"
#include "../resources/images/graphSplit.xpm"
#include "../resources/images/help.xpm"
#include "../resources/images/info.xpm"
#include "../resources/images/kavo.xpm"
#include "../resources/images/limit.xpm"
#include "../resources/images/quit.xpm"
#include "../resources/images/sdCard.xpm"
#include "../resources/images/tamsel_logo.xpm"
#include "../resources/images/undo.xpm"
#include "../resources/images/zoom1.xpm"
#include "../resources/images/zoomin.xpm"
#include "../resources/images/zoomout.xpm"
#include "../resources/images/zoomrect.xpm"

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
    { "canGraph", canGraph_xpm },
    { "canParameter", canParameter_xpm },
    { "canStatistic", canStatistic_xpm },
    { "configure2", configure2_xpm },
    { "csv", csv_xpm },
    { "emuMain", emuMain_xpm },
    { "fail", fail_xpm },
    { "filenew", filenew_xpm },
    { "fileopen", fileopen_xpm },
    { "filesave", filesave_xpm },
    { "filesaveas", filesaveas_xpm },
    { "frame_image", frame_image_xpm },
    { "googleEarth", googleEarth_xpm },
    { "graphSingle", graphSingle_xpm },
    { "graphSplit", graphSplit_xpm },
    { "help", help_xpm },
    { "info", info_xpm },
    { "kavo", kavo_xpm },
    { "limit", limit_xpm },
    { "quit", quit_xpm },
    { "sdCard", sdCard_xpm },
    { "tamsel_logo", tamsel_logo_xpm },
    { "undo", undo_xpm },
    { "zoom1", zoom1_xpm },
    { "zoomin", zoomin_xpm },
    { "zoomout", zoomout_xpm },
    { "zoomrect", zoomrect_xpm },
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
