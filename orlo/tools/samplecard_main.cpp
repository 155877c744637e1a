// Writes a sample card folder of record files (see SampleCard.h).
#include "SampleCard.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void usage()
{
    printf("usage: orlo_samplecard [--output FOLDER] [--messages N] [--files N] [--little-endian]\n"
           "  --output FOLDER   card folder to write (default sample-card)\n"
           "  --messages N      messages over all files (default 400000)\n"
           "  --files N         record files; with 2 or more the last one is the high file\n"
           "                    LOG_8001.CAN with an Offset.xml beside it (default 3)\n"
           "  --little-endian   write little-endian files (the recorder writes big-endian)\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    KAVO::SampleCard::Options options;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == "--output" && hasValue) {
            options.folder = args[++i];
        } else if (a == "--messages" && hasValue) {
            options.messages = args[++i].toLongLong(&ok);
            ok = ok && options.messages >= 0;
        } else if (a == "--files" && hasValue) {
            options.files = args[++i].toInt(&ok);
            ok = ok && options.files >= 1 && options.files <= 7000;
        } else if (a == "--little-endian") {
            options.littleEndian = true;
        } else if (a == "--help" || a == "-h") {
            usage();
            return 0;
        } else {
            ok = false;
        }
        if (!ok) {
            printf("bad argument <%s>\n", a.toLocal8Bit().constData());
            usage();
            return 2;
        }
    }

    KAVO::SampleCard card(options);
    if (!card.write())
        return 1;
    for (const QString& f : card.files())
        printf("wrote <%s>\n", f.toLocal8Bit().constData());
    if (card.offset() != 0.0)
        printf("offset %.3f s in <%s/Offset.xml>\n", card.offset(), options.folder.toLocal8Bit().constData());
    return 0;
}
