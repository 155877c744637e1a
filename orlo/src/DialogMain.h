#ifndef ORLO_DIALOGMAIN_H
#define ORLO_DIALOGMAIN_H

#include "CardInfo.h"
#include "CsvExportOptions.h"
#include "ExportCan.h"
#include "ExportCsv.h"
#include "ExportKml.h"
#include "KmlExportOptions.h"
#include "Notifier.h"
#include "Record.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <list>
#include <map>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class QVBoxLayout;

class DialogAbout;
class DialogHelp;

namespace KAVO {

class DialogCard;
class DialogData;
class DialogExportCsv;
class DialogExportKml;
class DialogPreferences;
class DialogProfile;
class DialogStatusBar;

// The application's only top-level window: card list and parameter tree on
// the left, the data area on the right, the commands in menus and toolbar.
class DialogMain : public QMainWindow
{
    Q_OBJECT
public:
    // The value of each command, kept in its action's data.
    enum ActionType {
        ActionNewProject = 0,
        ActionOpenProject = 1,
        ActionOpenCard = 2,
        ActionSaveProject = 4,
        ActionSaveProjectAs = 5,
        ActionQuit = 6,
        ActionAbout = 8,
        ActionHelp = 9,
        ActionPreferences = 14,
        ActionExportKml = 16,
        ActionExportCsv = 17
    };

    DialogMain();
    ~DialogMain() override;

    void setProgress(int percent);
    bool cleanup();
    void loadProfile();
    void loadRecords(const QString& folder);
    // True only when the project was saved or the user chose not to save.
    bool askSaveProject();
    // True when the project file was written.
    bool saveProject(bool saveAs);
    void updateTitle();
    void updateEnabled();
    void createActions();
    void createMenu();
    void createToolbar();

    bool eventFilter(QObject* object, QEvent* event) override;

    // Names that the card folder listing takes: ".CAN" or ".can" after the last ".".
    static bool isRecordFileName(const QString& name);

    // How the process ends once a close was accepted; tests replace it.
    using ExitHook = std::function<void(int code)>;
    static void setExitHook(ExitHook hook);

    QAction* action(ActionType type) const;
    const QString& projectPath() const { return mProjectPath; }
    bool isEdited() const { return mEdited; }
    const CardInfo& cardInfo() const { return mCardInfo; }
    const Record& record() const { return mRecord; }
    const QString& firstRecordPath() const { return mFirstRecordPath; }
    DialogCard* cardList() const { return mCard; }
    DialogProfile* profileTree() const { return mProfileTree; }
    DialogData* dataArea() const { return mData; }
    DialogStatusBar* statusBarWidget() const { return mStatusBar; }
    DialogAbout* aboutBox() const { return mAbout; }
    DialogHelp* helpBox() const { return mHelp; }
    DialogPreferences* preferences() const { return mPreferences; }
    QToolBar* toolbar() const { return mToolbar; }
    QMenu* fileMenu() const { return mMenuFile; }
    QMenu* extrasMenu() const { return mMenuExtras; }
    QMenu* helpMenu() const { return mMenuHelp; }
    QTimer* restoreTimer() const { return mRestoreTimer; }
    // The bar takes at most one progress value per interval.
    static constexpr int ProgressPaintMs = 40;
    DialogExportKml* kmlWizard() const { return mKmlWizard; }
    DialogExportCsv* csvWizard() const { return mCsvWizard; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void slotTimeout();
    void slotMenu(QAction* action);
    void slotMenuRecent(QAction* action);
    void slotMenuPrefAbout();
    void slotProfileChanged();
    void slotLoadRecord(std::list<QString> fileList);
    void slotProfileFileChanged();

private:
    QAction* addCommand(ActionType type, const QString& text, const char* image, const QString& shortcut,
                        const QString& statusTip, const QString& iconText);
    bool hasMessages() const;
    void exportKml();
    void exportCsv();
    void newProject();
    void openProject();
    void openCard();
    void writeSettings();
    // Shows a failure of the data core (held back while records load, so
    // that one message names every skipped file).
    void showReport(const Notifier::Report& report);
    void showHeldReports();
    // One line of the message about skipped record files.
    QString skippedFile(const Notifier::Report& report) const;

    // Hands the value to the bar at once and paints it; a held value is dropped.
    void paintProgress(int percent);
    void slotProgressTimeout();

    QTimer* mProgressTimer = nullptr;  // delivers the held value when the interval ends
    qint64 mProgressPainted = -1;      // clock time the bar last took a value; -1 never
    int mHeldProgress = -1;            // the newest value not yet shown; -1 none
    bool mClosing = false;
    // Set once Quit has had its answer, so that the close does not ask again.
    bool mQuitAnswered = false;
    QTimer* mRestoreTimer = nullptr;
    CardInfo mCardInfo;
    Record mRecord;
    QString mFirstRecordPath;
    KmlExportOptions mKmlOptions;
    ExportKml mKml;
    QString mProjectPath;
    bool mEdited = false;
    CsvExportOptions mCsvOptions;
    ExportCsv mCsv;
    ExportCan mCan;
    QActionGroup* mCommands = nullptr;
    QActionGroup* mRecent = nullptr;
    std::map<ActionType, QAction*> mActions;
    DialogAbout* mAbout = nullptr;
    DialogHelp* mHelp = nullptr;
    DialogPreferences* mPreferences = nullptr;
    QSplitter* mSplitter = nullptr;
    QWidget* mLeft = nullptr;
    QVBoxLayout* mLeftLayout = nullptr;
    DialogCard* mCard = nullptr;
    DialogProfile* mProfileTree = nullptr;
    DialogData* mData = nullptr;
    DialogExportKml* mKmlWizard = nullptr;
    DialogExportCsv* mCsvWizard = nullptr;
    DialogStatusBar* mStatusBar = nullptr;
    QToolBar* mToolbar = nullptr;
    QMenu* mMenuFile = nullptr;
    QMenu* mMenuExtras = nullptr;
    QMenu* mMenuHelp = nullptr;
    bool mHoldReports = false;
    std::vector<Notifier::Report> mHeldReports;
    int mReportCount = 0;
};

} // namespace KAVO

#endif
