#include "DialogMain.h"

#include <QCoreApplication>

#include "Api.h"
#include "DialogAbout.h"
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogExportCsv.h"
#include "DialogExportKml.h"
#include "DialogHelp.h"
#include "DialogPreferences.h"
#include "DialogProfile.h"
#include "DialogPrompt.h"
#include "DialogStatusBar.h"
#include "Images.h"
#include "Kernel.h"
#include "Notifier.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "TimerClock.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace KAVO {

namespace {

const char* const kDefaultProfile = "orlo.app/Contents/Resources/Ostervan_Profile.xml";

DialogMain::ExitHook& exitHook()
{
    static DialogMain::ExitHook hook;
    return hook;
}

QString setting(const char* key, const char* defaultValue)
{
    return QString::fromStdString(Property::instance()->getString(key, defaultValue));
}

} // namespace

void DialogMain::setExitHook(ExitHook hook)
{
    exitHook() = std::move(hook);
}

DialogMain::DialogMain()
    : QMainWindow(nullptr)
{
    mSplitter = new QSplitter(this);
    mSplitter->setStyle(Kernel::instance()->getStyle2());
    setCentralWidget(mSplitter);

    mLeft = new QWidget;
    mLeftLayout = new QVBoxLayout(mLeft);
    mCard = new DialogCard(mLeft);
    mLeftLayout->addWidget(mCard);
    connect(mCard, &DialogCard::signalLoadRecord, this, &DialogMain::slotLoadRecord);

    mKmlWizard = new DialogExportKml(this);
    mKmlWizard->hide();
    mCsvWizard = new DialogExportCsv(this);
    mCsvWizard->hide();

    mProfileTree = new DialogProfile(mLeft, *Profile::instance());
    connect(mProfileTree, &DialogProfile::signalChanged, this, &DialogMain::slotProfileChanged);
    mLeftLayout->addWidget(mProfileTree);

    mSplitter->addWidget(mLeft);
    mData = new DialogData(mSplitter);
    mSplitter->addWidget(mData);
    mSplitter->setStretchFactor(0, 1);
    mSplitter->setStretchFactor(1, 2);

    // Failures of the data core that lose or withhold data reach the user
    // from here on, the profile's among the first.
    Notifier::setReportHandler([this](const Notifier::Report& report) { showReport(report); });

    loadProfile();
    createActions();
    createMenu();
    createToolbar();

    mStatusBar = new DialogStatusBar(this);
    setStatusBar(mStatusBar);

    mAbout = new DialogAbout(this);
    mHelp = new DialogHelp(this);
    mPreferences = new DialogPreferences(this);
    connect(mPreferences, &DialogPreferences::signalProfileFileChanged, this,
            &DialogMain::slotProfileFileChanged);

    setWindowIcon(Images::icon(QStringLiteral("Corvane_Logo")));

    mRestoreTimer = new QTimer;
    mRestoreTimer->setSingleShot(true);
    mRestoreTimer->start(20);
    connect(mRestoreTimer, &QTimer::timeout, this, &DialogMain::slotTimeout);

    mProgressTimer = new QTimer(this);
    mProgressTimer->setSingleShot(true);
    connect(mProgressTimer, &QTimer::timeout, this, &DialogMain::slotProgressTimeout);
    // The record reader reports its progress through the notifier.
    Notifier::setProgressHandler([this](int percent) { setProgress(percent); });

    resize(1000, 800);
    // Start in the proportion of the stretch factors rather than of the
    // panes' size hints, so that the card list shows its dates.
    mSplitter->setSizes({ 300, 600 });
    updateEnabled();
    updateTitle();
    show();
}

DialogMain::~DialogMain()
{
    Notifier::setProgressHandler(nullptr);
    Notifier::setReportHandler(nullptr);
    mRestoreTimer->stop();
    delete mRestoreTimer;
}

QAction* DialogMain::addCommand(ActionType type, const QString& text, const char* image, const QString& shortcut,
                                const QString& statusTip, const QString& iconText)
{
    QAction* a = new QAction(text, this);
    if (image != nullptr)
        a->setIcon(Images::icon(QString::fromLatin1(image)));
    if (!shortcut.isEmpty())
        a->setShortcut(QKeySequence(shortcut));
    a->setStatusTip(statusTip);
    if (!iconText.isEmpty())
        a->setIconText(iconText);
    a->setData(int(type));
    mCommands->addAction(a);
    mActions[type] = a;
    return a;
}

void DialogMain::createActions()
{
    mCommands = new QActionGroup(this);
    mCommands->setExclusive(false);
    mRecent = new QActionGroup(this);
    mRecent->setExclusive(false);

    addCommand(ActionNewProject, tr("&New Project"), "filenew", tr("Ctrl+N"), tr("Create new Project"), QString());
    addCommand(ActionOpenProject, tr("&Open Project"), "fileopen", tr("Ctrl+O"), tr("Open Project"),
               tr("Open Project File"));
    addCommand(ActionSaveProject, tr("&Save Project"), "filesave", tr("Ctrl+S"), tr("Save Project"),
               tr("Save Project File"));
    addCommand(ActionSaveProjectAs, tr("&Save Project as"), "filesaveas", QString(), tr("Save Project as"),
               tr("Save Project File as"));
    addCommand(ActionOpenCard, tr("&Open Card"), "sdCard", tr("Ctrl+C"), tr("Open Card"), tr("Open SD Card"));
    addCommand(ActionPreferences, tr("Preferences"), nullptr, QString(), tr("Open Preferences Dialog"), QString());
    addCommand(ActionExportKml, tr("Export Google KML File"), "googleEarth", QString(),
               tr("Export Google Earth KML File"), QString());
    addCommand(ActionExportCsv, tr("Export CSV/CAN File"), "csv", QString(), tr("Export CSV/CAN File"), QString());
    addCommand(ActionQuit, tr("&Quit"), "quit", tr("Ctrl+Q"), tr("Quit Application"), QString());
    addCommand(ActionAbout, tr("About"), "info", QString(), tr("Show License Information"), QString());
    // Help is reached by its shortcut only, so the window carries it.
    QAction* help = addCommand(ActionHelp, tr("Help"), "help", tr("F1"), tr("Help Window"), QString());
    addAction(help);

    connect(mCommands, &QActionGroup::triggered, this, &DialogMain::slotMenu);
    connect(mRecent, &QActionGroup::triggered, this, &DialogMain::slotMenuRecent);
}

void DialogMain::createMenu()
{
    mMenuFile = menuBar()->addMenu(tr("&File"));
    mMenuFile->addAction(mActions[ActionNewProject]);
    mMenuFile->addAction(mActions[ActionOpenProject]);
    mMenuFile->addAction(mActions[ActionSaveProject]);
    mMenuFile->addAction(mActions[ActionSaveProjectAs]);
    mMenuFile->addSeparator();
    mMenuFile->addAction(mActions[ActionOpenCard]);
    mMenuFile->addSeparator();
    mMenuFile->addAction(mActions[ActionQuit]);

    mMenuExtras = menuBar()->addMenu(tr("&Extras"));
    mMenuExtras->addAction(mActions[ActionPreferences]);
    mMenuExtras->addAction(mActions[ActionExportKml]);
    mMenuExtras->addAction(mActions[ActionExportCsv]);
    mActions[ActionPreferences]->setEnabled(true);
    connect(mMenuExtras, &QMenu::aboutToShow, this, &DialogMain::slotMenuPrefAbout);

    mMenuHelp = menuBar()->addMenu(tr("&Help"));
    mMenuHelp->addAction(mActions[ActionAbout]);
}

void DialogMain::createToolbar()
{
    mToolbar = addToolBar(tr("Main Toolbar"));
    mToolbar->setObjectName(QStringLiteral("Main Toolbar"));
    mToolbar->addAction(mActions[ActionNewProject]);
    mToolbar->addAction(mActions[ActionOpenProject]);
    mToolbar->addAction(mActions[ActionSaveProject]);
    mToolbar->addSeparator();
    mToolbar->addAction(mActions[ActionOpenCard]);
    mToolbar->addSeparator();
    mToolbar->addAction(mActions[ActionExportKml]);
    mToolbar->addAction(mActions[ActionExportCsv]);
}

QAction* DialogMain::action(ActionType type) const
{
    const auto it = mActions.find(type);
    return it != mActions.end() ? it->second : nullptr;
}

void DialogMain::setProgress(int percent)
{
    // A load reports up to a hundred steps per file, and the bar paints
    // itself at each new value: painting them all would cost more than the
    // reading. The bar takes a value at most every 40 ms; a value within
    // that is held, and shown when the interval ends unless a newer one
    // replaces it first. 100 ends the bar and is shown at once.
    const qint64 now = TimerClock::now();
    if (percent >= 100 || mProgressPainted < 0 || now - mProgressPainted >= ProgressPaintMs) {
        paintProgress(percent);
        return;
    }
    if (mHeldProgress < 0)
        TimerClock::start(mProgressTimer, int(mProgressPainted + ProgressPaintMs - now));
    mHeldProgress = percent;
}

void DialogMain::slotProgressTimeout()
{
    // While a load blocks the event loop this comes only after it; by then
    // the load's own end has shown its value and dropped the held one.
    if (mHeldProgress >= 0)
        paintProgress(mHeldProgress);
}

void DialogMain::paintProgress(int percent)
{
    mHeldProgress = -1;
    TimerClock::stop(mProgressTimer);
    mProgressPainted = TimerClock::now();
    mStatusBar->updateProgress(percent);
    // Reading blocks the event loop: lay the bar out and paint it now, so the
    // user sees it move during the load (no other events are delivered here).
    QCoreApplication::sendPostedEvents(mStatusBar, QEvent::LayoutRequest);
    mStatusBar->repaint();
}

bool DialogMain::cleanup()
{
    return !mEdited || askSaveProject();
}

void DialogMain::writeSettings()
{
    // A failed write comes back as a report.
    Property::instance()->writeXmlFile();
}

namespace {

QString dataSize(int64_t bytes)
{
    return QLocale().formattedDataSize(bytes, 1);
}

bool isFileProblem(Notifier::Problem problem)
{
    return problem == Notifier::Problem::FileNotOpened || problem == Notifier::Problem::FileNotRegular ||
           problem == Notifier::Problem::FileTooBig;
}

} // namespace

QString DialogMain::skippedFile(const Notifier::Report& report) const
{
    switch (report.problem) {
    case Notifier::Problem::FileNotRegular:
        return report.path + ": " + tr("not a regular file");
    case Notifier::Problem::FileTooBig:
        return report.path + ": " +
               tr("needs %1 of memory, %2 are available").arg(dataSize(report.bytes), dataSize(report.available));
    default:
        return report.path + ": " + tr("cannot be opened (%1)").arg(report.detail);
    }
}

void DialogMain::showReport(const Notifier::Report& report)
{
    ++mReportCount;
    if (mHoldReports) {
        mHeldReports.push_back(report);
        return;
    }
    QString text;
    switch (report.problem) {
    case Notifier::Problem::SettingsNotSaved:
        text = tr("The settings could not be saved in\n%1").arg(report.path);
        break;
    case Notifier::Problem::OffsetNotSaved:
        text = tr("The time offset could not be saved in\n%1\nIt stays at %2 s.")
                   .arg(report.path)
                   .arg(report.value, 0, 'f', 2);
        break;
    case Notifier::Problem::OffsetRefused:
        text = tr("The time offset of %1 s in\n%2\nlies outside -10000 to 10000 s; 0 s is used.")
                   .arg(report.value, 0, 'g', 6)
                   .arg(report.path);
        break;
    case Notifier::Problem::FileNotOpened:
    case Notifier::Problem::FileNotRegular:
    case Notifier::Problem::FileTooBig:
        text = tr("These files were not loaded:\n%1").arg(skippedFile(report));
        break;
    case Notifier::Problem::ProfileNotRead:
        if (report.line > 0)
            text = tr("The profile cannot be read:\n%1\nLine %2, column %3: %4")
                       .arg(report.path)
                       .arg(report.line)
                       .arg(report.column)
                       .arg(report.detail);
        else
            text = tr("The profile cannot be read:\n%1\n%2").arg(report.path, report.detail);
        break;
    case Notifier::Problem::ExportTooBig:
        text = tr("The CSV export needs %1 rows, at least %2, but only %3 are free for\n%4\nNothing was written.")
                   .arg(report.count)
                   .arg(dataSize(report.bytes), dataSize(report.available), report.path);
        break;
    }
    DialogPrompt::critical(this, tr("KAVO Warning"), text, tr("Ok"));
}

void DialogMain::showHeldReports()
{
    std::vector<Notifier::Report> held;
    held.swap(mHeldReports);
    QStringList skipped;
    for (const Notifier::Report& r : held) {
        if (isFileProblem(r.problem))
            skipped.append(skippedFile(r));
    }
    if (!skipped.isEmpty())
        DialogPrompt::critical(this, tr("KAVO Warning"), tr("These files were not loaded:\n%1").arg(skipped.join('\n')),
                               tr("Ok"));
    for (const Notifier::Report& r : held) {
        if (!isFileProblem(r.problem))
            showReport(r);
    }
}

void DialogMain::loadProfile()
{
    const QString path = setting("Profile", kDefaultProfile);
    // A profile that cannot be read leaves an empty model and reports why;
    // the displays are rebuilt on it all the same.
    Profile::instance()->loadProfile(path);
    mData->loadProfile();
    mProfileTree->updateList();
}

bool DialogMain::isRecordFileName(const QString& name)
{
    const int dot = name.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QString ending = name.mid(dot);
    return ending == QLatin1String(".CAN") || ending == QLatin1String(".can");
}

void DialogMain::loadRecords(const QString& folder)
{
    mCardInfo.records.clear();
    void* dir = apiOpenDir(folder.toLocal8Bit().constData());
    if (dir == nullptr)
        return;
    char name[256];
    while (apiReadDir(dir, name) != 0) {
        const QString fileName = QString::fromLocal8Bit(name);
        if (!isRecordFileName(fileName))
            continue;
        const QString path = folder + "/" + fileName;
        // A header that cannot be read is listed with what the reader left.
        Record header;
        header.readRecordInfo(path);
        mCardInfo.records[path] = header.recordInfo();
    }
    apiCloseDir(dir);
}

bool DialogMain::hasMessages() const
{
    return !mRecord.recordData().channels.empty();
}

void DialogMain::slotTimeout()
{
    mCardInfo.path = setting("LastPath", ".");
    loadRecords(mCardInfo.path);
    mCard->setCardInfo(mCardInfo);

    const QString lastProject = setting("LastProjectPath", ".");
    if (Project::instance()->readProject(lastProject)) {
        mProjectPath = lastProject;
        mProfileTree->updateProject();
    }

    slotProfileChanged();
    mEdited = false;
    updateTitle();
    updateEnabled();
}

void DialogMain::slotLoadRecord(std::list<QString> fileList)
{
    // An empty path is no file; the reader would stop at it and drop every
    // file after it.
    fileList.remove(QString());
    if (fileList.empty())
        return;
    QStringList paths;
    for (const QString& path : fileList)
        paths.append(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    paintProgress(0);
    // A file that cannot be read is skipped and reported by the reader; the
    // others are shown, and one message names every skipped file.
    mHoldReports = true;
    mRecord.readRecordData(paths);
    mHoldReports = false;
    mData->updateRecord(&mRecord);
    paintProgress(100);
    QApplication::restoreOverrideCursor();
    mFirstRecordPath = fileList.front();
    updateEnabled();
    showHeldReports();
}

void DialogMain::slotProfileChanged()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mData->updateProfile();
    QApplication::restoreOverrideCursor();
    mEdited = true;
    updateEnabled();
    updateTitle();
}

void DialogMain::slotProfileFileChanged()
{
    loadProfile();
    slotProfileChanged();
    updateEnabled();
    updateTitle();
}

void DialogMain::updateTitle()
{
    const QString name = mProjectPath.section('/', -1).section('.', 0, 0);
    QString title = QStringLiteral("ORLO %1").arg(name);
    if (mEdited)
        title += tr("[edited]");
    setWindowTitle(title);
}

void DialogMain::updateEnabled()
{
    const bool messages = hasMessages();
    for (auto& kv : mActions) {
        switch (kv.first) {
        case ActionExportKml:
        case ActionExportCsv:
            kv.second->setEnabled(messages);
            break;
        case ActionSaveProject:
            kv.second->setEnabled(mEdited);
            break;
        default:
            kv.second->setEnabled(true);
            break;
        }
    }
}

bool DialogMain::askSaveProject()
{
    const int answer = DialogPrompt::warning(this, tr("KAVO Warning"), tr("Current Project not saved !\nSave it now ?"),
                                             { tr("Yes"), tr("No"), tr("Cancel") }, 0);
    switch (answer) {
    case 0:
        // Going on is only safe when the project really was written.
        return saveProject(false);
    case 1:
        return true;
    default:
        // "Cancel", or the box closed without an answer.
        return false;
    }
}

bool DialogMain::saveProject(bool saveAs)
{
    if (mProjectPath.isEmpty() || saveAs) {
        const QString answer = DialogPrompt::getSaveFileName(this, tr("Save KAVO Project"),
                                                             setting("LastProjectPath", "."),
                                                             tr("Project Files (*.xml)"));
        // A cancelled dialog keeps the project path as it was.
        if (answer.isEmpty())
            return false;
        QString name = answer.section('/', -1);
        if (!name.contains('.'))
            name += QStringLiteral(".xml");
        mProjectPath = answer.contains('/') ? answer.section('/', 0, -2) + "/" + name : name;
    }
    if (mProjectPath.isEmpty())
        return false;

    if (!Project::instance()->saveProject(mProjectPath)) {
        // The edited state stays, so nothing pretends the selection is safe.
        DialogPrompt::critical(this, tr("KAVO Warning"), tr("Saving the project failed !\n%1").arg(mProjectPath),
                               tr("Ok"));
        updateTitle();
        return false;
    }
    Property::instance()->setString("LastProjectPath", mProjectPath.toStdString());
    writeSettings();
    mEdited = false;
    updateTitle();
    updateEnabled();
    return true;
}

void DialogMain::newProject()
{
    if (mEdited && !askSaveProject())
        return;
    mProjectPath = QString();
    Project::instance()->clear();
    mProfileTree->updateProject();
    slotProfileChanged();
    mEdited = false;
    updateTitle();
}

void DialogMain::openProject()
{
    if (mEdited && !askSaveProject())
        return;
    const QString path = DialogPrompt::getOpenFileName(this, tr("Open KAVO Project"), setting("LastProjectPath", "."),
                                                       tr("Project Files (*.xml)"));
    if (path.isEmpty())
        return;
    if (!Project::instance()->readProject(path)) {
        // The previous project, its selection and "LastProjectPath" stay.
        DialogPrompt::critical(this, tr("KAVO Warning"), tr("Reading the project failed !\n%1").arg(path), tr("Ok"));
        return;
    }
    mProjectPath = path;
    Property::instance()->setString("LastProjectPath", path.toStdString());
    writeSettings();
    mProfileTree->updateProject();
    slotProfileChanged();
    mEdited = false;
    updateTitle();
}

void DialogMain::openCard()
{
    const QString folder = DialogPrompt::getExistingDirectory(this, tr("Open SD Card"), setting("LastPath", "."));
    if (folder.isEmpty())
        return;
    mCardInfo.path = folder;
    loadRecords(folder);
    mCard->setCardInfo(mCardInfo);
    Property::instance()->setString("LastPath", folder.toStdString());
    writeSettings();
}

void DialogMain::exportKml()
{
    mKmlOptions.fileName = (mFirstRecordPath.section('/', -1).section('.', 0, 0) + ".kml").toLocal8Bit();
    mKmlOptions.cursorTime = mData->time();
    mKmlOptions.startTime = mData->markStart();
    mKmlOptions.stopTime = mData->markStop();
    mKmlOptions.recordInfo = mRecord.recordInfo();
    if (!mKmlWizard->getOptions(mKmlOptions))
        return;

    QApplication::setOverrideCursor(Qt::BusyCursor);
    paintProgress(0);
    const bool written = mKml.exportData(mRecord, mKmlOptions);
    paintProgress(100);
    QApplication::restoreOverrideCursor();
    if (!written)
        DialogPrompt::critical(this, "ORLO Warning", "Exporting KML file failed !", "Ok");
}

void DialogMain::exportCsv()
{
    mCsvOptions.exportDir = setting("CsvExportDir", ".").toLocal8Bit();
    mCsvOptions.cursorTime = mData->time();
    mCsvOptions.startTime = mData->markStart();
    mCsvOptions.stopTime = mData->markStop();
    mCsvOptions.recordInfo = mRecord.recordInfo();
    if (!mCsvWizard->getOptions(mCsvOptions))
        return;

    QApplication::setOverrideCursor(Qt::BusyCursor);
    paintProgress(0);
    const int reports = mReportCount;
    const bool written =
        mCsvOptions.can != 0 ? mCan.exportData(mRecord, mCsvOptions) : mCsv.exportData(mRecord, mCsvOptions);
    paintProgress(100);
    QApplication::restoreOverrideCursor();
    // A refused export has told the user why already.
    if (!written && reports == mReportCount)
        DialogPrompt::critical(this, "ORLO Viewer Warning", "Exporting CSV/CAN file failed !", "Ok");
}

void DialogMain::slotMenu(QAction* action)
{
    switch (action->data().toInt()) {
    case ActionNewProject:
        newProject();
        break;
    case ActionOpenProject:
        openProject();
        break;
    case ActionOpenCard:
        openCard();
        break;
    case ActionSaveProject:
        saveProject(false);
        break;
    case ActionSaveProjectAs:
        saveProject(true);
        break;
    case ActionQuit:
        if (mEdited && !askSaveProject())
            break;
        mQuitAnswered = true;
        mRestoreTimer->stop();
        close();
        break;
    case ActionAbout:
        mAbout->show();
        break;
    case ActionHelp:
        mHelp->show();
        break;
    case ActionPreferences:
        mPreferences->show();
        break;
    case ActionExportKml:
        exportKml();
        break;
    case ActionExportCsv:
        exportCsv();
        break;
    default:
        break;
    }
    updateEnabled();
}

void DialogMain::slotMenuRecent(QAction*)
{
}

void DialogMain::slotMenuPrefAbout()
{
    updateEnabled();
}

void DialogMain::closeEvent(QCloseEvent* event)
{
    if (mClosing)
        return;
    if (!mEdited || mQuitAnswered || askSaveProject()) {
        mClosing = true;
        event->accept();
        // Settings are on disk already; nothing else needs to run.
        if (exitHook())
            exitHook()(0);
        else
            exit(0);
        return;
    }
    mQuitAnswered = false;
    event->ignore();
}

bool DialogMain::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QKeyEvent* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Z && !key->isAutoRepeat() && (key->modifiers() & Qt::ControlModifier))
            return true;
    }
    return QObject::eventFilter(object, event);
}

} // namespace KAVO
