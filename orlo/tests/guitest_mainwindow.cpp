// The main window driven for real: commands, menus, toolbar, enable rules,
// title, project save questions, card folder, Ctrl+Z filter and closing.
#include "DialogAbout.h"
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogHelp.h"
#include "DialogMain.h"
#include "DialogPreferences.h"
#include "DialogProfile.h"
#include "DialogStatusBar.h"
#include "Images.h"
#include "Property.h"
#include "TestSupport.h"
#include "gui/ScriptedPrompt.h"

#if __has_include("Profile.h")
#include "Profile.h"
#endif
#if __has_include("Project.h")
#include "Project.h"
#endif

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

using KAVO::DialogMain;
using testsupport::TempDir;

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        KAVO::Property::instance()->setConfigFile(mHome.fileStr("ORLO.ini"));
        DialogMain::setExitHook([this](int code) { mExitCodes.append(code); });
    }

    void TearDown() override
    {
        mWindow.reset();
        DialogMain::setExitHook(nullptr);
        KAVO::Property::instance()->clear();
    }

    // Builds the window and lets its start-up restore run.
    DialogMain& start()
    {
        mWindow = std::make_unique<DialogMain>();
        QTest::qWait(60);
        EXPECT_FALSE(mWindow->restoreTimer()->isActive());
        return *mWindow;
    }

    // Changes a check box in the parameter tree and confirms it, as a user would.
    void editSelection()
    {
        KAVO::DialogProfile* tree = mWindow->profileTree();
        QTreeWidgetItem* device = tree->addDeviceItem(tree->tree(), 90, "Test");
        QTreeWidgetItem* row = tree->addParameterItem(device, "p", "", "Test/p", nullptr);
        row->setCheckState(0, row->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        QTest::mouseClick(tree->confirmButton(), Qt::LeftButton);
    }

    std::string setting(const char* key) { return KAVO::Property::instance()->getString(key, "<none>"); }

    TempDir mHome;
    QList<int> mExitCodes;
    std::unique_ptr<DialogMain> mWindow;
};

QList<int> actionValues(const QList<QAction*>& actions)
{
    QList<int> values;
    for (QAction* a : actions)
        values.append(a->isSeparator() ? -1 : a->data().toInt());
    return values;
}

} // namespace

TEST_F(MainWindowTest, CommandsCarryTheirTextsShortcutsTipsAndIcons)
{
    DialogMain& w = start();
    struct Expected
    {
        int value;
        const char* text;
        const char* image;
        const char* shortcut;
        const char* tip;
        const char* iconText;
    };
    const Expected expected[] = {
        { 0, "&New Project", "filenew", "Ctrl+N", "Create new Project", nullptr },
        { 1, "&Open Project", "fileopen", "Ctrl+O", "Open Project", "Open Project File" },
        { 4, "&Save Project", "filesave", "Ctrl+S", "Save Project", "Save Project File" },
        { 5, "&Save Project as", "filesaveas", "", "Save Project as", "Save Project File as" },
        { 2, "&Open Card", "sdCard", "Ctrl+C", "Open Card", "Open SD Card" },
        { 14, "Preferences", nullptr, "", "Open Preferences Dialog", nullptr },
        { 16, "Export Google KML File", "googleEarth", "", "Export Google Earth KML File", nullptr },
        { 17, "Export CSV/CAN File", "csv", "", "Export CSV/CAN File", nullptr },
        { 6, "&Quit", "quit", "Ctrl+Q", "Quit Application", nullptr },
        { 8, "About", "info", "", "Show License Information", nullptr },
        { 9, "Help", "help", "F1", "Help Window", nullptr },
    };
    const QList<QAction*> group = w.action(DialogMain::ActionNewProject)->actionGroup()->actions();
    ASSERT_EQ(group.size(), 11);
    for (int i = 0; i < 11; ++i) {
        const Expected& e = expected[i];
        QAction* a = group.at(i);
        SCOPED_TRACE(e.text);
        EXPECT_EQ(a->data().toInt(), e.value);
        EXPECT_EQ(w.action(DialogMain::ActionType(e.value)), a);
        EXPECT_EQ(a->text(), e.text);
        EXPECT_EQ(a->shortcut(), QKeySequence(e.shortcut));
        EXPECT_EQ(a->statusTip(), e.tip);
        if (e.iconText != nullptr) {
            EXPECT_EQ(a->iconText(), e.iconText);
        }
        EXPECT_EQ(a->icon().isNull(), e.image == nullptr);
        if (e.image != nullptr) {
            const QImage shown = a->icon().pixmap(64, 64).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage drawn = KAVO::Images::pixmap(e.image).toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(shown, drawn);
        }
    }
    EXPECT_FALSE(w.action(DialogMain::ActionNewProject)->actionGroup()->isExclusive());
}

TEST_F(MainWindowTest, MenusToolbarLayoutAndSize)
{
    DialogMain& w = start();
    EXPECT_EQ(w.size(), QSize(1000, 800));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.fileMenu()->title(), "&File");
    EXPECT_EQ(w.extrasMenu()->title(), "&Extras");
    EXPECT_EQ(w.helpMenu()->title(), "&Help");
    EXPECT_EQ(actionValues(w.fileMenu()->actions()), (QList<int>{ 0, 1, 4, 5, -1, 2, -1, 6 }));
    EXPECT_EQ(actionValues(w.extrasMenu()->actions()), (QList<int>{ 14, 16, 17 }));
    EXPECT_EQ(actionValues(w.helpMenu()->actions()), (QList<int>{ 8 }));
    EXPECT_EQ(w.toolbar()->windowTitle(), "Main Toolbar");
    EXPECT_EQ(actionValues(w.toolbar()->actions()), (QList<int>{ 0, 1, 4, -1, 2, -1, 16, 17 }));

    // Card list above the parameter tree on the left, the data area right of them.
    QSplitter* splitter = qobject_cast<QSplitter*>(w.centralWidget());
    ASSERT_NE(splitter, nullptr);
    ASSERT_EQ(splitter->count(), 2);
    EXPECT_EQ(splitter->widget(1), w.dataArea());
    EXPECT_EQ(w.cardList()->parentWidget(), splitter->widget(0));
    EXPECT_EQ(w.profileTree()->parentWidget(), splitter->widget(0));
    EXPECT_LT(w.cardList()->geometry().bottom(), w.profileTree()->geometry().top());
    EXPECT_LT(splitter->widget(0)->width(), w.dataArea()->width());
    EXPECT_EQ(w.statusBar(), w.statusBarWidget());
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(MainWindowTest, EnableRulesFollowEditedStateAndMessages)
{
    DialogMain& w = start();
    auto enabled = [&](DialogMain::ActionType t) { return w.action(t)->isEnabled(); };
    // Right after start: nothing edited, nothing loaded.
    EXPECT_FALSE(enabled(DialogMain::ActionSaveProject));
    EXPECT_FALSE(enabled(DialogMain::ActionExportKml));
    EXPECT_FALSE(enabled(DialogMain::ActionExportCsv));
    for (auto t : { DialogMain::ActionNewProject, DialogMain::ActionOpenProject, DialogMain::ActionSaveProjectAs,
                    DialogMain::ActionOpenCard, DialogMain::ActionPreferences, DialogMain::ActionQuit,
                    DialogMain::ActionAbout, DialogMain::ActionHelp })
        EXPECT_TRUE(enabled(t)) << t;
    // The toolbar shows the same actions, so it follows too.
    EXPECT_FALSE(w.toolbar()->actions().at(6)->isEnabled());

    editSelection();
    EXPECT_TRUE(w.isEdited());
    EXPECT_TRUE(enabled(DialogMain::ActionSaveProject));
    EXPECT_FALSE(enabled(DialogMain::ActionExportKml));

    // An empty selection from the card list changes nothing, nor does a list of empty paths.
    emit w.cardList()->signalLoadRecord({});
    emit w.cardList()->signalLoadRecord({ QString() });
    EXPECT_FALSE(w.statusBarWidget()->progressBar()->isVisible());
    EXPECT_FALSE(enabled(DialogMain::ActionExportKml));
    EXPECT_FALSE(enabled(DialogMain::ActionExportCsv));

    // Opening the Extras menu re-applies the rules.
    w.action(DialogMain::ActionSaveProject)->setEnabled(false);
    emit w.extrasMenu()->aboutToShow();
    EXPECT_TRUE(enabled(DialogMain::ActionSaveProject));
}

TEST_F(MainWindowTest, TitleShowsProjectNameAndEditedMark)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    EXPECT_EQ(w.windowTitle(), "ORLO ");
    editSelection();
    EXPECT_EQ(w.windowTitle(), "ORLO [edited]");

    // The name part is the last path section up to its first point.
    prompt.files.enqueue(mHome.file("flight.v2.xml"));
    w.saveProject(true);
    EXPECT_EQ(w.projectPath(), mHome.file("flight.v2.xml"));
    EXPECT_TRUE(w.windowTitle() == "ORLO flight" || w.windowTitle() == "ORLO flight[edited]")
        << w.windowTitle().toStdString();
    EXPECT_EQ(w.windowTitle().endsWith("[edited]"), w.isEdited());
}

TEST_F(MainWindowTest, SaveAsAddsXmlOnlyToNamesWithoutPoint)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    KAVO::Property::instance()->setString("LastProjectPath", mHome.str());

    prompt.files.enqueue(mHome.file("flight"));
    w.action(DialogMain::ActionSaveProjectAs)->trigger();
    ASSERT_EQ(prompt.count("save"), 1);
    EXPECT_EQ(prompt.asked.at(0).title, "Save KAVO Project");
    EXPECT_EQ(prompt.asked.at(0).text, mHome.path());
    EXPECT_EQ(prompt.asked.at(0).filter, "Project Files (*.xml)");
    EXPECT_EQ(w.projectPath(), mHome.file("flight.xml"));

    prompt.files.enqueue(mHome.file("flight.old"));
    w.action(DialogMain::ActionSaveProjectAs)->trigger();
    EXPECT_EQ(w.projectPath(), mHome.file("flight.old"));
}

TEST_F(MainWindowTest, CancelledSaveDialogKeepsProjectPath)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    editSelection();

    // From a new project: cancelling leaves the path empty, the next Save asks again.
    prompt.files.enqueue(QString());
    EXPECT_FALSE(w.saveProject(true));
    EXPECT_TRUE(w.projectPath().isEmpty());
    EXPECT_TRUE(w.isEdited());
    prompt.files.enqueue(QString());
    w.action(DialogMain::ActionSaveProject)->trigger();
    EXPECT_EQ(prompt.count("save"), 2);

    // With a project path: a cancelled Save As keeps it.
    prompt.files.enqueue(mHome.file("kept.xml"));
    w.saveProject(true);
    const QString kept = w.projectPath();
    EXPECT_EQ(kept, mHome.file("kept.xml"));
    prompt.files.enqueue(QString());
    EXPECT_FALSE(w.saveProject(true));
    EXPECT_EQ(w.projectPath(), kept);
    EXPECT_TRUE(prompt.files.isEmpty());
}

#if !__has_include("Project.h")
TEST_F(MainWindowTest, FailedSaveIsReportedAndKeepsEditedState)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    editSelection();
    prompt.files.enqueue(mHome.file("p.xml"));
    EXPECT_FALSE(w.saveProject(false));
    ASSERT_EQ(prompt.count("critical"), 1);
    EXPECT_EQ(prompt.asked.last().title, "KAVO Warning");
    EXPECT_TRUE(w.isEdited());
    EXPECT_EQ(w.windowTitle(), "ORLO p[edited]");
    EXPECT_EQ(setting("LastProjectPath"), "<none>");
    EXPECT_TRUE(w.action(DialogMain::ActionSaveProject)->isEnabled());
}
#endif

TEST_F(MainWindowTest, SaveQuestionAnswersDecideWhetherNewProjectGoesOn)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();

    // Not edited: no question.
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_EQ(prompt.count("warning"), 0);

    // Give the project a name, then edit.
    prompt.files.enqueue(mHome.file("named.xml"));
    w.saveProject(true);
    editSelection();
    ASSERT_EQ(w.projectPath(), mHome.file("named.xml"));
    prompt.asked.clear();

    // Cancel, and a box closed without an answer: New does not go on.
    for (int answer : { 2, -1 }) {
        prompt.buttons.enqueue(answer);
        w.action(DialogMain::ActionNewProject)->trigger();
        EXPECT_EQ(w.projectPath(), mHome.file("named.xml")) << answer;
        EXPECT_TRUE(w.isEdited()) << answer;
    }
    ASSERT_EQ(prompt.count("warning"), 2);
    EXPECT_EQ(prompt.asked.at(0).title, "KAVO Warning");
    EXPECT_EQ(prompt.asked.at(0).text, "Current Project not saved !\nSave it now ?");
    EXPECT_EQ(prompt.asked.at(0).filter, "Yes|No|Cancel");
    EXPECT_EQ(prompt.count("save"), 0);

#if !__has_include("Project.h")
    // Yes, and the save fails: New does not go on.
    prompt.buttons.enqueue(0);
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_EQ(prompt.count("critical"), 1);
    EXPECT_EQ(w.projectPath(), mHome.file("named.xml"));
    EXPECT_TRUE(w.isEdited());
#endif

    // No: New goes on without saving.
    prompt.asked.clear();
    prompt.buttons.enqueue(1);
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_EQ(prompt.count("warning"), 1);
    EXPECT_EQ(prompt.count("save"), 0);
    EXPECT_EQ(prompt.count("critical"), 0);
    EXPECT_TRUE(w.projectPath().isEmpty());
    EXPECT_FALSE(w.isEdited());
    EXPECT_EQ(w.windowTitle(), "ORLO ");
}

TEST_F(MainWindowTest, YesWithCancelledSaveDialogStopsOpenProject)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    editSelection();
    // Yes, then the save dialog of the unnamed project is cancelled: no open dialog follows.
    prompt.buttons.enqueue(0);
    prompt.files.enqueue(QString());
    w.action(DialogMain::ActionOpenProject)->trigger();
    EXPECT_EQ(prompt.count("save"), 1);
    EXPECT_EQ(prompt.count("open"), 0);
    EXPECT_TRUE(w.isEdited());
    EXPECT_TRUE(prompt.files.isEmpty());
}

TEST_F(MainWindowTest, UnreadableProjectIsReportedAndChangesNothing)
{
    ScriptedPrompt prompt;
    KAVO::Property::instance()->setString("LastProjectPath", "/nowhere/last.xml");
    DialogMain& w = start();
    const QString before = w.projectPath();
    const bool editedBefore = w.isEdited();

    // A cancelled open dialog does nothing at all.
    prompt.files.enqueue(QString());
    w.action(DialogMain::ActionOpenProject)->trigger();
    EXPECT_EQ(prompt.count("critical"), 0);

    TempDir dir;
    testsupport::writeFile(dir.file("broken.xml"), "<KavoProject><Parameters>");
    prompt.files.enqueue(dir.file("broken.xml"));
    w.action(DialogMain::ActionOpenProject)->trigger();
    ASSERT_EQ(prompt.count("open"), 2);
    EXPECT_EQ(prompt.asked.at(0).title, "Open KAVO Project");
    EXPECT_EQ(prompt.asked.at(0).text, "/nowhere/last.xml");
    EXPECT_EQ(prompt.asked.at(0).filter, "Project Files (*.xml)");
    EXPECT_EQ(prompt.count("critical"), 1);
    EXPECT_EQ(w.projectPath(), before);
    EXPECT_EQ(w.isEdited(), editedBefore);
    EXPECT_EQ(setting("LastProjectPath"), "/nowhere/last.xml");
}

#if __has_include("Project.h") && __has_include("Profile.h")
TEST_F(MainWindowTest, SavedAndReopenedProjectClearsEditedStateAndIsRestored)
{
    ScriptedPrompt prompt;
    {
        DialogMain& w = start();
        editSelection();
        prompt.files.enqueue(mHome.file("flight"));
        EXPECT_TRUE(w.saveProject(false));
        EXPECT_EQ(w.projectPath(), mHome.file("flight.xml"));
        EXPECT_FALSE(w.isEdited());
        EXPECT_EQ(w.windowTitle(), "ORLO flight");
        EXPECT_FALSE(w.action(DialogMain::ActionSaveProject)->isEnabled());
        EXPECT_EQ(setting("LastProjectPath"), mHome.fileStr("flight.xml"));

        // Yes with a successful save lets New go on.
        editSelection();
        prompt.buttons.enqueue(0);
        w.action(DialogMain::ActionNewProject)->trigger();
        EXPECT_TRUE(w.projectPath().isEmpty());
        EXPECT_FALSE(w.isEdited());
    }
    // The next start finds the last project again.
    KAVO::Property::instance()->readXmlFile();
    DialogMain& w2 = start();
    EXPECT_EQ(w2.projectPath(), mHome.file("flight.xml"));
    EXPECT_FALSE(w2.isEdited());
    EXPECT_EQ(w2.windowTitle(), "ORLO flight");
}
#endif

TEST_F(MainWindowTest, QuitAsksOnceAndCloseEndsTheProcess)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    editSelection();

    // Cancel: the window stays.
    prompt.buttons.enqueue(2);
    w.action(DialogMain::ActionQuit)->trigger();
    EXPECT_TRUE(mExitCodes.isEmpty());
    EXPECT_TRUE(w.isVisible());

    // No: the process ends, and the close does not ask a second time.
    prompt.buttons.enqueue(1);
    w.action(DialogMain::ActionQuit)->trigger();
    EXPECT_EQ(prompt.count("warning"), 2);
    EXPECT_EQ(mExitCodes, QList<int>{ 0 });

    // A close event after the accepted one passes untouched.
    w.close();
    EXPECT_EQ(mExitCodes, QList<int>{ 0 });
    EXPECT_EQ(prompt.count("warning"), 2);
}

TEST_F(MainWindowTest, ClosingTheWindowAsksOnlyWhenEdited)
{
    ScriptedPrompt prompt;
    {
        DialogMain& w = start();
        editSelection();
        prompt.buttons.enqueue(-1); // box closed: counts as Cancel
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(mExitCodes.isEmpty());
        EXPECT_TRUE(w.isVisible());
    }
    mWindow.reset();
    DialogMain& w = start();
    w.close();
    EXPECT_EQ(prompt.count("warning"), 1);
    EXPECT_EQ(mExitCodes, QList<int>{ 0 });
}

TEST_F(MainWindowTest, CtrlZNeverReachesAWidget)
{
    DialogMain& w = start();
    qApp->installEventFilter(&w);
    QLineEdit edit;
    edit.show();
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Z);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), "z");

    // The filter itself: only a first Ctrl(+Shift)+Z press is consumed.
    QKeyEvent ctrlZ(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QKeyEvent ctrlShiftZ(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QKeyEvent plainZ(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QString(), true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
    QKeyEvent ctrlY(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(w.eventFilter(&edit, &ctrlZ));
    EXPECT_TRUE(w.eventFilter(&edit, &ctrlShiftZ));
    EXPECT_FALSE(w.eventFilter(&edit, &plainZ));
    EXPECT_FALSE(w.eventFilter(&edit, &repeated));
    EXPECT_FALSE(w.eventFilter(&edit, &release));
    EXPECT_FALSE(w.eventFilter(&edit, &ctrlY));
    qApp->removeEventFilter(&w);
}

TEST_F(MainWindowTest, RecordFileNamesEndInCanOnly)
{
    EXPECT_TRUE(DialogMain::isRecordFileName("x.CAN"));
    EXPECT_TRUE(DialogMain::isRecordFileName("x.can"));
    EXPECT_TRUE(DialogMain::isRecordFileName("LOG.0001.can"));
    EXPECT_FALSE(DialogMain::isRecordFileName("x.CAN.bak"));
    EXPECT_FALSE(DialogMain::isRecordFileName("x.Can"));
    EXPECT_FALSE(DialogMain::isRecordFileName("CAN"));
    EXPECT_FALSE(DialogMain::isRecordFileName("xcan"));
    EXPECT_FALSE(DialogMain::isRecordFileName("x.cans"));
}

TEST_F(MainWindowTest, OpenCardRemembersTheFolderAndRestartFindsIt)
{
    ScriptedPrompt prompt;
    TempDir card;
    QDir(card.path()).mkdir("CARD7");
    const QString folder = card.file("CARD7");
    {
        DialogMain& w = start();
        // Nothing saved yet: the working folder was listed.
        EXPECT_EQ(w.cardInfo().path, ".");

        prompt.files.enqueue(QString());
        w.action(DialogMain::ActionOpenCard)->trigger();
        EXPECT_EQ(w.cardInfo().path, ".");
        EXPECT_EQ(setting("LastPath"), "<none>");

        prompt.files.enqueue(folder);
        w.action(DialogMain::ActionOpenCard)->trigger();
        ASSERT_EQ(prompt.count("folder"), 2);
        EXPECT_EQ(prompt.asked.at(1).title, "Open SD Card");
        EXPECT_EQ(prompt.asked.at(1).text, ".");
        EXPECT_EQ(w.cardInfo().path, folder);
        EXPECT_EQ(w.cardList()->folderField()->text(), "CARD7");
        EXPECT_EQ(w.cardList()->tree()->topLevelItemCount(), 0);
        EXPECT_EQ(setting("LastPath"), folder.toStdString());
    }
    // The settings file holds it, and the next start lists that folder again.
    KAVO::Property::instance()->clear();
    ASSERT_TRUE(KAVO::Property::instance()->readXmlFile());
    DialogMain& w = start();
    EXPECT_EQ(w.cardInfo().path, folder);
    EXPECT_EQ(w.cardList()->folderField()->text(), "CARD7");
}

TEST_F(MainWindowTest, ProgressAndNonModalBoxes)
{
    DialogMain& w = start();
    w.setProgress(40);
    EXPECT_TRUE(w.statusBarWidget()->progressBar()->isVisible());
    EXPECT_EQ(w.statusBarWidget()->progressBar()->value(), 40);

    w.action(DialogMain::ActionAbout)->trigger();
    EXPECT_TRUE(w.aboutBox()->isVisible());
    EXPECT_FALSE(w.aboutBox()->isModal());
    w.action(DialogMain::ActionPreferences)->trigger();
    EXPECT_TRUE(w.preferences()->isVisible());
    EXPECT_FALSE(w.preferences()->isModal());
    // Help has no menu entry; F1 reaches it.
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_TRUE(w.helpBox()->isVisible());
    EXPECT_FALSE(w.helpBox()->isModal());
}

TEST_F(MainWindowTest, ScreenshotArtifact)
{
    DialogMain& w = start();
    KAVO::DialogProfile* tree = w.profileTree();
#if !__has_include("Profile.h")
    // Without a profile in this build, a few rows show what the tree looks like.
    QTreeWidgetItem* engine = tree->addDeviceItem(tree->tree(), 1, "Engine");
    tree->addParameterItem(engine, "Speed", "rpm", "Engine/Speed", nullptr)->setCheckState(0, Qt::Checked);
    tree->addParameterItem(engine, "Oil Temperature", "degC", "Engine/Oil Temperature", nullptr);
    tree->addParameterItem(engine, "Fuel Flow", "l/h", "Engine/Fuel Flow", nullptr);
    QTreeWidgetItem* gps = tree->addDeviceItem(tree->tree(), 2, "GPS");
    tree->addParameterItem(gps, "Latitude", "deg", "GPS/Latitude", nullptr);
    tree->tree()->expandAll();
#endif
    w.setProgress(60);
    QTest::qWait(50);
    const QString dir = testsupport::binaryDir() + "/artifacts";
    QDir().mkpath(dir);
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.size(), w.size() * w.devicePixelRatioF());
    EXPECT_TRUE(shot.save(dir + "/mainwindow.png"));
}
