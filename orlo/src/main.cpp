#include "DialogMain.h"
#include "DialogSplash.h"
#include "Directory.h"
#include "Kernel.h"
#include "Property.h"
#include "Revision.h"

#include <QApplication>
#include <QHash>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void ensureFolder(const std::string& path, const char* label)
{
    if (Directory::exists(path))
        return;
    if (Directory::createDirectoryRecursive(path))
        printf("%s created <%s>\n", label, path.c_str());
    else
        printf("%s could not be created <%s>\n", label, path.c_str());
}

void loadTranslator(QTranslator& translator, const char* prefix, const char* label, const std::string& locale)
{
    const QString folder = QStringLiteral("orlo.app/Contents/Resources/");
    const bool ok = translator.load(QString::fromLatin1(prefix) + QString::fromStdString(locale), folder);
    printf("Translation %s <%s> %d\n", label, locale.c_str(), ok ? 1 : 0);
    if (ok)
        QCoreApplication::installTranslator(&translator);
}

} // namespace

int main(int argc, char** argv)
{
    // Line-buffered, so the banner and diagnostics survive a killed process.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // A write beyond the file-size limit must fail and be reported, not end
    // the program (the old file stays in place either way).
    signal(SIGXFSZ, SIG_IGN);
    // Attribute order of written XML files must not change from run to run.
    qSetGlobalQHashSeed(0);

    KAVO::Revision::printHeader();

    setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    QApplication app(argc, argv);
    // QApplication adopts the environment's locale; numbers must keep their decimal point.
    setlocale(LC_NUMERIC, "C");

    KAVO::DialogSplash::instance()->addEntry(QStringLiteral("Starting up ORLO..."));
    KAVO::DialogSplash::instance()->addEntry(
        QStringLiteral("Version %1").arg(QString::fromStdString(KAVO::Revision::getRevisionString())));

    KAVO::Kernel::instance()->mApplication = &app;

    std::string resourcePath = QCoreApplication::applicationDirPath().toStdString();
    const size_t slash = resourcePath.rfind('/');
    if (slash != std::string::npos)
        resourcePath.erase(slash);
    resourcePath += "/Resources/";

    std::string dataPath;
    std::string userDataPath;
    if (const char* home = getenv("HOME")) {
        printf("HOME: <%s>\n", home);
        dataPath = std::string(home) + "/Library/ORLO/";
        userDataPath = std::string(home) + "/ORLO/";
    }
    ensureFolder(dataPath, "DataPath");
    ensureFolder(userDataPath, "UserDataPath");

    printf("Data Path      : <%s>\n", dataPath.c_str());
    printf("User Data Path : <%s>\n", userDataPath.c_str());
    printf("Resource Path  : <%s>\n", resourcePath.c_str());

    KAVO::Property::instance()->setConfigFile(userDataPath + "ORLO.ini");
    KAVO::Property::instance()->readXmlFile();

    const std::string locale = KAVO::Property::instance()->getString("Locale", "us");
    static QTranslator qtTranslator;
    loadTranslator(qtTranslator, "qt_", "QT", locale);
    static QTranslator kavoTranslator;
    loadTranslator(kavoTranslator, "kavo_", "KAVO", locale);

    KAVO::DialogSplash* splash = KAVO::DialogSplash::instance();
    splash->addEntry(QStringLiteral("Creating Dialogs ..."));

    KAVO::DialogMain* mainWindow = new KAVO::DialogMain;
    KAVO::Kernel::instance()->mDialogMain = mainWindow;
    app.installEventFilter(mainWindow);
    splash->finish();

    return app.exec();
}
