// The main window driven for real: commands, menus, toolbar, enable rules,
// title, project save questions, card folder and record loading, start-up
// restore, Ctrl+Z filter and closing.
#include "DialogAbout.h"
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogDataGraph.h"
#include "DialogGraphSetup.h"
#include "DialogHelp.h"
#include "DialogMain.h"
#include "DialogPreferences.h"
#include "DialogProfile.h"
#include "DialogStatusBar.h"
#include "Images.h"
#include "ManualClock.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "Record.h"
#include "SampleCard.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WidgetGraph.h"
#include "gui/ScriptedPrompt.h"
#include "gui/WizardDriver.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QOpenGLWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

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
        KAVO::Project::instance()->clear();
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
        // The restore runs 20 ms after start; a loaded machine may take longer.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !mWindow->restoreTimer()->isActive(); }, 10000));
        return *mWindow;
    }

    // Changes a check box of the parameter tree (over the default profile)
    // and confirms it, as a user would.
    void editSelection(int device = 0, int parameter = 0)
    {
        KAVO::DialogProfile* tree = mWindow->profileTree();
        QTreeWidgetItem* deviceItem = tree->tree()->topLevelItem(device);
        ASSERT_NE(deviceItem, nullptr) << "the default profile was not loaded";
        QTreeWidgetItem* row = deviceItem->child(parameter);
        ASSERT_NE(row, nullptr);
        row->setCheckState(0, row->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        QTest::mouseClick(tree->confirmButton(), Qt::LeftButton);
    }

    // Writes a small sample card (two flights, the second going on in a high file).
    QString writeSampleCard(const QString& folder, int64_t messages = 30000)
    {
        KAVO::SampleCard::Options options;
        options.folder = folder;
        options.messages = messages;
        options.files = 3;
        KAVO::SampleCard card(options);
        EXPECT_TRUE(card.write());
        return folder;
    }

    std::string setting(const char* key) { return KAVO::Property::instance()->getString(key, "<none>"); }

    // The window with recordings of a sample card loaded (the first one
    // unless told) and three parameters shown, after the progress bar has gone.
    DialogMain& startWithLoadedCard(const TempDir& dir, int64_t messages = 60000, std::vector<int> recordings = {0})
    {
        const QString folder = writeSampleCard(dir.file("SampleCard"), messages);
        KAVO::Property::instance()->setString("LastPath", folder.toStdString());
        DialogMain& w = start();
        QTreeWidget* cards = w.cardList()->tree();
        EXPECT_EQ(cards->topLevelItemCount(), 3);
        if (cards->topLevelItemCount() == 0)
            return w;
        for (int i : recordings) {
            cards->topLevelItem(i)->setExpanded(true);
            cards->topLevelItem(i)->setSelected(true);
        }
        QTreeWidget* params = w.profileTree()->tree();
        params->topLevelItem(0)->setExpanded(true);
        for (int i : { 0, 2, 3 })
            params->topLevelItem(0)->child(i)->setCheckState(0, Qt::Checked);
        QTest::mouseClick(w.profileTree()->confirmButton(), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&w] { return w.record().recordData().nrRecords > 0; }, 30000));
        // The steady picture: the progress bar gone a second after the load
        // (however late a loaded machine delivers that timer).
        EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.statusBarWidget()->progressBar()->isVisible(); }, 30000));
        return w;
    }

    // The whole window once per tab (table, limit list, graph), each saved
    // and all stacked in one sheet among the test artifacts.
    void shootEveryTab(DialogMain& w, const QString& name)
    {
        QTabWidget* tabs = w.dataArea()->findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 3);
        const QSize size = w.size() * w.devicePixelRatioF();
        QOpenGLWidget* graph = w.dataArea()->findChild<QOpenGLWidget*>();
        ASSERT_NE(graph, nullptr);
        QList<QImage> shots;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QTest::qWait(50);
            QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (graph->isVisible()) {
                // A window grab leaves out the text that the graph paints over
                // its OpenGL picture; a fresh frame of the graph has it.
                QPainter painter(&shot);
                painter.drawImage(QRectF(QPointF(graph->mapTo(&w, QPoint(0, 0))) * w.devicePixelRatioF(),
                                         QSizeF(graph->size()) * w.devicePixelRatioF()),
                                  graph->grabFramebuffer());
            }
            EXPECT_EQ(shot.size(), size);
            shots.append(shot);
        }
        tabs->setCurrentIndex(0);
        // Each tab shows something of its own.
        EXPECT_NE(shots.at(0), shots.at(1));
        EXPECT_NE(shots.at(1), shots.at(2));

        QImage sheet(size.width(), size.height() * shots.size(), QImage::Format_RGB32);
        QPainter painter(&sheet);
        for (int i = 0; i < shots.size(); ++i)
            painter.drawImage(0, i * size.height(), shots.at(i));
        painter.end();
        const QString out = testsupport::binaryDir() + "/artifacts";
        QDir().mkpath(out);
        EXPECT_TRUE(sheet.save(out + "/" + name + "-loaded.png"));
        const char* tabNames[] = { "-data.png", "-limits.png", "-graph.png" };
        for (int i = 0; i < shots.size(); ++i)
            EXPECT_TRUE(shots.at(i).save(out + "/" + name + tabNames[i]));
    }

    // Every visible text of the window fits its widget: labels, buttons,
    // check boxes and tab titles are shown whole, not cut or elided.
    static void expectWholeTexts(QWidget& w)
    {
        for (QLabel* label : w.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty() || label->wordWrap() ||
                !label->pixmap(Qt::ReturnByValue).isNull())
                continue;
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
        }
        for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || button->text().isEmpty())
                continue;
            EXPECT_GE(button->width(), button->minimumSizeHint().width()) << button->text().toStdString();
        }
        for (QTabBar* bar : w.findChildren<QTabBar*>()) {
            if (!bar->isVisible())
                continue;
            for (int i = 0; i < bar->count(); ++i) {
                const QRect tab = bar->tabRect(i);
                const int text = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
                EXPECT_GE(tab.width(), text + bar->iconSize().width()) << bar->tabText(i).toStdString();
                // Not scrolled out of the bar either.
                EXPECT_TRUE(bar->rect().contains(tab)) << bar->tabText(i).toStdString();
            }
        }
    }

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

TEST_F(MainWindowTest, FailedSaveIsReportedAndKeepsEditedState)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();
    editSelection();
    // A folder that does not exist: the project file cannot be written.
    prompt.files.enqueue(mHome.file("missing/p.xml"));
    EXPECT_FALSE(w.saveProject(false));
    EXPECT_FALSE(QFile::exists(mHome.file("missing/p.xml")));
    ASSERT_EQ(prompt.count("critical"), 1);
    EXPECT_EQ(prompt.asked.last().title, "KAVO Warning");
    EXPECT_TRUE(w.isEdited());
    EXPECT_EQ(w.windowTitle(), "ORLO p[edited]");
    EXPECT_EQ(setting("LastProjectPath"), "<none>");
    EXPECT_TRUE(w.action(DialogMain::ActionSaveProject)->isEnabled());
}

TEST_F(MainWindowTest, SaveQuestionAnswersDecideWhetherNewProjectGoesOn)
{
    ScriptedPrompt prompt;
    DialogMain& w = start();

    // Not edited: no question.
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_EQ(prompt.count("warning"), 0);

    // Give the project a name (in a folder that goes away later), then edit.
    QDir(mHome.path()).mkdir("sub");
    const QString named = mHome.file("sub/named.xml");
    prompt.files.enqueue(named);
    ASSERT_TRUE(w.saveProject(true));
    editSelection();
    ASSERT_EQ(w.projectPath(), named);
    prompt.asked.clear();

    // Cancel, and a box closed without an answer: New does not go on.
    for (int answer : { 2, -1 }) {
        prompt.buttons.enqueue(answer);
        w.action(DialogMain::ActionNewProject)->trigger();
        EXPECT_EQ(w.projectPath(), named) << answer;
        EXPECT_TRUE(w.isEdited()) << answer;
    }
    ASSERT_EQ(prompt.count("warning"), 2);
    EXPECT_EQ(prompt.asked.at(0).title, "KAVO Warning");
    EXPECT_EQ(prompt.asked.at(0).text, "Current Project not saved !\nSave it now ?");
    EXPECT_EQ(prompt.asked.at(0).filter, "Yes|No|Cancel");
    EXPECT_EQ(prompt.count("save"), 0);

    // Yes, and the save fails: New does not go on, the selection stays.
    const QByteArray saved = testsupport::readFile(named);
    ASSERT_TRUE(QDir(mHome.file("sub")).removeRecursively());
    prompt.buttons.enqueue(0);
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_EQ(prompt.count("critical"), 1);
    EXPECT_EQ(w.projectPath(), named);
    EXPECT_TRUE(w.isEdited());
    EXPECT_EQ(w.profileTree()->tree()->topLevelItem(0)->child(0)->checkState(0), Qt::Checked);

    // Yes with the folder back: saved, and New goes on.
    QDir(mHome.path()).mkdir("sub");
    prompt.buttons.enqueue(0);
    w.action(DialogMain::ActionNewProject)->trigger();
    EXPECT_NE(testsupport::readFile(named), saved);
    EXPECT_TRUE(w.projectPath().isEmpty());
    EXPECT_FALSE(w.isEdited());
    EXPECT_EQ(w.profileTree()->tree()->topLevelItem(0)->child(0)->checkState(0), Qt::Unchecked);
    editSelection();

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
    // The unreadable last project was not taken at start.
    const QString before = w.projectPath();
    EXPECT_TRUE(before.isEmpty());
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
        editSelection(0, 1);
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
    // The selection saved by the answer Yes is checked again.
    QTreeWidgetItem* device = w2.profileTree()->tree()->topLevelItem(0);
    EXPECT_EQ(device->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(device->child(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(device->child(2)->checkState(0), Qt::Unchecked);
}

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

namespace {

struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

} // namespace

TEST_F(MainWindowTest, ProgressAndNonModalBoxes)
{
    DialogMain& w = start();
    // A window the X server has not shown yet is not painted at all; the
    // window shows itself, and a loaded machine may take a while to map it.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w, 30000));
    QProgressBar* bar = w.statusBarWidget()->progressBar();
    ASSERT_FALSE(bar->isVisible());
    // The load blocks the event loop, so the bar must be painted within the call.
    PaintCounter paints(bar);
    w.setProgress(40);
    EXPECT_GE(paints.count, 1);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 40);

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

TEST_F(MainWindowTest, CardFolderListsOnlyCanFilesInPathOrder)
{
    using testsupport::floatMessage;
    TempDir card;
    const QByteArray file = testsupport::recordFileBytes(
        { floatMessage(0, 0x10, 3661.9, 1.0f), floatMessage(0, 0x11, 5000.0, 2.0f), floatMessage(0, 0x10, 7322.5, 3.0f) });
    // Written in an order unlike the path order; only ".CAN" and ".can" endings count.
    for (const char* name : { "f.can", "b.CAN", "a.can", "c.Can", "d.CAN.bak", "CAN", "e.txt", "g.cans" })
        ASSERT_TRUE(testsupport::writeFile(card.file(name), file));
    // A header cut short is listed all the same, with what could be read.
    ASSERT_TRUE(testsupport::writeFile(card.file("short.CAN"), file.left(10)));
    KAVO::Property::instance()->setString("LastPath", card.str());

    DialogMain& w = start();
    QStringList keys;
    for (const auto& kv : w.cardInfo().records)
        keys << kv.first;
    EXPECT_EQ(keys, (QStringList{ card.file("a.can"), card.file("b.CAN"), card.file("f.can"), card.file("short.CAN") }));

    QTreeWidget* tree = w.cardList()->tree();
    EXPECT_EQ(w.cardList()->folderField()->text(), card.path().section('/', -1));
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "a.can   14.7.2023 9:41:05");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "b.CAN   14.7.2023 9:41:05");
    EXPECT_EQ(tree->topLevelItem(2)->data(0, Qt::UserRole).toString(), card.file("f.can"));
    EXPECT_EQ(tree->topLevelItem(0)->toolTip(0), "Start Time: 01:01:01\nStop Time: 02:02:02");
    EXPECT_EQ(tree->topLevelItem(0)->child(11)->text(0), "Samples Total: 3");
    EXPECT_EQ(tree->topLevelItem(3)->childCount(), 12);
    EXPECT_EQ(tree->topLevelItem(3)->child(11)->text(0), "Samples Total: 0");

    // What the list shows is the header as the record reader reads it.
    KAVO::Record header;
    ASSERT_TRUE(header.readRecordInfo(card.file("a.can")));
    const KAVO::RecordInfo& listed = w.cardInfo().records.at(card.file("a.can"));
    EXPECT_EQ(listed.dateTime, header.recordInfo().dateTime);
    EXPECT_EQ(listed.samples, 3);
    EXPECT_STREQ(listed.engineType, header.recordInfo().engineType);

    // Loading a file of the list; the card list itself does not change.
    emit w.cardList()->signalLoadRecord({ card.file("b.CAN") });
    EXPECT_EQ(w.record().recordData().nrRecords, 3);
    EXPECT_EQ(tree->topLevelItemCount(), 4);
}

TEST_F(MainWindowTest, MissingCardFolderLeavesAnEmptyList)
{
    KAVO::Property::instance()->setString("LastPath", mHome.fileStr("gone"));
    DialogMain& w = start();
    EXPECT_EQ(w.cardInfo().path, mHome.file("gone"));
    EXPECT_TRUE(w.cardInfo().records.empty());
    EXPECT_EQ(w.cardList()->folderField()->text(), "gone");
    EXPECT_EQ(w.cardList()->tree()->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, SelectionLoadsOnceAfterTheDebounceWithProgress)
{
    testsupport::ManualClock clock;
    TempDir dir;
    const QString folder = writeSampleCard(dir.file("CARD"));
    KAVO::Property::instance()->setString("LastPath", folder.toStdString());
    DialogMain& w = start();
    QTreeWidget* tree = w.cardList()->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);

    qRegisterMetaType<std::list<QString>>("std::list<QString>");
    QSignalSpy sent(w.cardList(), &KAVO::DialogCard::signalLoadRecord);
    QList<int> progress;
    QProgressBar* bar = w.statusBarWidget()->progressBar();
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { progress.append(v); });

    // Two selection changes in quick succession: nothing loads until the
    // selection has rested for the whole interval after the second.
    tree->topLevelItem(0)->setSelected(true);
    clock.advance(100);
    tree->topLevelItem(1)->setSelected(true);
    clock.advance(KAVO::DialogCard::DebounceMs - 1);
    EXPECT_EQ(sent.count(), 0);
    EXPECT_EQ(w.record().recordData().nrRecords, 0) << "loaded before the selection rested";
    EXPECT_FALSE(w.action(DialogMain::ActionExportKml)->isEnabled());
    EXPECT_FALSE(w.action(DialogMain::ActionExportCsv)->isEnabled());

    // The load takes time: each look at the clock during it finds it a
    // progress interval later, so the reader's steps reach the bar.
    clock.setStep(DialogMain::ProgressPaintMs);
    clock.advance(1);
    clock.setStep(0);
    ASSERT_EQ(sent.count(), 1) << "one load for both changes";
    EXPECT_EQ(sent.last().at(0).value<std::list<QString>>().size(), 2u);
    clock.advance(5000);
    EXPECT_EQ(sent.count(), 1);
    const auto& records = w.cardInfo().records;
    const int32_t expected = records.at(folder + "/LOG_0001.CAN").samples + records.at(folder + "/LOG_0002.CAN").samples;
    EXPECT_EQ(w.record().recordData().nrRecords, expected);
    EXPECT_TRUE(w.firstRecordPath() == folder + "/LOG_0001.CAN" || w.firstRecordPath() == folder + "/LOG_0002.CAN");
    EXPECT_TRUE(w.action(DialogMain::ActionExportKml)->isEnabled());
    EXPECT_TRUE(w.action(DialogMain::ActionExportCsv)->isEnabled());
    EXPECT_TRUE(w.toolbar()->actions().at(7)->isEnabled());

    // The reader's progress reached the status bar: 0, steps, 100; the bar
    // went a second after 100 (the clock moved on by five).
    ASSERT_GE(progress.size(), 3);
    EXPECT_EQ(progress.first(), 0);
    EXPECT_EQ(progress.last(), 100);
    EXPECT_TRUE(std::any_of(progress.begin(), progress.end(), [](int v) { return v > 0 && v < 100; }));
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(MainWindowTest, ProgressValuesWithinTheIntervalAreHeldNeverLost)
{
    testsupport::ManualClock clock;
    DialogMain& w = start();
    QProgressBar* bar = w.statusBarWidget()->progressBar();
    QList<int> shown;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { shown.append(v); });

    // 100 twenty milliseconds after 40 ends the bar at once, and nothing
    // held comes after it.
    w.setProgress(40);
    EXPECT_EQ(bar->value(), 40);
    EXPECT_TRUE(bar->isVisible());
    clock.advance(20);
    w.setProgress(100);
    EXPECT_EQ(bar->value(), 100);
    clock.advance(999);
    EXPECT_TRUE(bar->isVisible());
    clock.advance(1);
    EXPECT_FALSE(bar->isVisible());
    clock.advance(1000);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(shown, (QList<int>{ 40, 100 }));

    // A value inside the interval is held until the interval ends; a newer
    // one replaces it meanwhile.
    shown.clear();
    w.setProgress(10);
    clock.advance(10);
    w.setProgress(20);
    clock.advance(10);
    w.setProgress(30);
    clock.advance(19);
    EXPECT_EQ(bar->value(), 10);
    clock.advance(1);
    EXPECT_EQ(bar->value(), 30);
    clock.advance(1000);
    EXPECT_EQ(shown, (QList<int>{ 10, 30 }));

    // A burst of a thousand values over 100 ms, 1 ms every ten values,
    // rising from 1 to 100 (value i is 1 + 99 i / 999 in whole numbers).
    // The bar takes value 0 (1) at once; when the interval ends at 40 ms
    // the one held then, value 399 (1 + 39501 / 999 = 40); at 80 ms value
    // 799 (1 + 79101 / 999 = 80); and the last (100) at 99 ms at once.
    shown.clear();
    clock.advance(1000);
    for (int i = 0; i < 1000; ++i) {
        if (i > 0 && i % 10 == 0)
            clock.advance(1);
        w.setProgress(1 + 99 * i / 999);
    }
    EXPECT_EQ(shown, (QList<int>{ 1, 40, 80, 100 }));
    clock.advance(5000);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(shown.size(), 4);
}

TEST_F(MainWindowTest, ExportsAreEnabledExactlyWhileTheRecordingHasMessages)
{
    TempDir card;
    ASSERT_TRUE(testsupport::writeFile(card.file("full.CAN"),
                                       testsupport::recordFileBytes({ testsupport::floatMessage(0, 0x10, 1.0, 1.0f) })));
    ASSERT_TRUE(testsupport::writeFile(card.file("empty.CAN"), testsupport::recordFileBytes({})));
    DialogMain& w = start();
    auto exportsEnabled = [&] {
        const bool kml = w.action(DialogMain::ActionExportKml)->isEnabled();
        EXPECT_EQ(w.action(DialogMain::ActionExportCsv)->isEnabled(), kml);
        return kml;
    };
    EXPECT_FALSE(exportsEnabled());
    emit w.cardList()->signalLoadRecord({ card.file("full.CAN") });
    EXPECT_TRUE(exportsEnabled());
    // Only detail rows selected: nothing is read, the recording stays.
    emit w.cardList()->signalLoadRecord({ QString() });
    EXPECT_TRUE(exportsEnabled());
    EXPECT_EQ(w.record().recordData().nrRecords, 1);
    // An empty path in between does not cut the files after it off.
    emit w.cardList()->signalLoadRecord({ QString(), card.file("empty.CAN"), QString(), card.file("full.CAN") });
    EXPECT_EQ(w.record().recordData().nrRecords, 1);
    EXPECT_EQ(w.firstRecordPath(), card.file("empty.CAN"));
    // A recording without messages.
    emit w.cardList()->signalLoadRecord({ card.file("empty.CAN") });
    EXPECT_FALSE(exportsEnabled());
    // A cancelled export keeps the rules.
    emit w.cardList()->signalLoadRecord({ card.file("full.CAN") });
    {
        WizardDriver driver({ WizardDriver::cancel() });
        w.action(DialogMain::ActionExportKml)->trigger();
        EXPECT_TRUE(driver.finishedSteps());
    }
    {
        WizardDriver driver({ WizardDriver::cancel() });
        w.action(DialogMain::ActionExportCsv)->trigger();
        EXPECT_TRUE(driver.finishedSteps());
    }
    EXPECT_TRUE(exportsEnabled());
}

TEST_F(MainWindowTest, StartRestoresLastCardAndLastProject)
{
    TempDir dir;
    const QString folder = writeSampleCard(dir.file("SampleCard"), 6000);
    // A project naming two parameters of the default profile.
    KAVO::Profile* profile = KAVO::Profile::instance();
    ASSERT_TRUE(profile->loadProfile(testsupport::bundleResources() + "/Ostervan_Profile.xml"));
    auto device = profile->data().mDevices.begin();
    auto parameter = device->second.mParameters.begin();
    const QString first = parameter->second.mFullName;
    const QString second = std::next(parameter)->second.mFullName;
    ASSERT_TRUE(testsupport::writeFile(
        mHome.file("night.flight.xml"),
        QString("<KavoProject><Parameters><Parameter name=\"%1\"/><Parameter name=\"%2\"/></Parameters></KavoProject>")
            .arg(first, second)
            .toUtf8()));
    KAVO::Property::instance()->setString("LastPath", folder.toStdString());
    KAVO::Property::instance()->setString("LastProjectPath", mHome.fileStr("night.flight.xml"));
    KAVO::Property::instance()->writeXmlFile();
    KAVO::Property::instance()->clear();
    ASSERT_TRUE(KAVO::Property::instance()->readXmlFile());

    mWindow = std::make_unique<DialogMain>();
    DialogMain& w = *mWindow;
    // Nothing is restored before the 20 ms have passed.
    EXPECT_TRUE(w.restoreTimer()->isActive());
    EXPECT_EQ(w.restoreTimer()->interval(), 20);
    EXPECT_TRUE(w.cardInfo().path.isEmpty());
    EXPECT_EQ(w.cardList()->tree()->topLevelItemCount(), 0);
    // Then it runs, however late the loaded machine gets to the timer.
    ASSERT_TRUE(QTest::qWaitFor([&w] { return !w.restoreTimer()->isActive(); }, 10000));

    EXPECT_EQ(w.cardInfo().path, folder);
    EXPECT_EQ(w.cardList()->folderField()->text(), "SampleCard");
    QTreeWidget* cards = w.cardList()->tree();
    ASSERT_EQ(cards->topLevelItemCount(), 3);
    EXPECT_TRUE(cards->topLevelItem(0)->text(0).startsWith("LOG_0001.CAN   "));
    EXPECT_TRUE(cards->topLevelItem(2)->text(0).startsWith("LOG_8001.CAN   "));

    EXPECT_EQ(w.projectPath(), mHome.file("night.flight.xml"));
    EXPECT_EQ(w.windowTitle(), "ORLO night");
    EXPECT_FALSE(w.isEdited());
    EXPECT_FALSE(w.action(DialogMain::ActionSaveProject)->isEnabled());
    EXPECT_EQ(w.profileTree()->item(first)->checkState(0), Qt::Checked);
    EXPECT_EQ(w.profileTree()->item(second)->checkState(0), Qt::Checked);
    int checked = 0;
    for (auto& d : KAVO::Profile::instance()->data().mDevices)
        for (auto& p : d.second.mParameters)
            checked += p.second.mSelected ? 1 : 0;
    EXPECT_EQ(checked, 2);
    EXPECT_FALSE(w.profileTree()->isBlinking());
    // Nothing is loaded until a file is selected.
    EXPECT_EQ(w.record().recordData().nrRecords, 0);
}

TEST_F(MainWindowTest, ProfileFileChangeReloadsTreeAndMarksEdited)
{
    TempDir dir;
    DialogMain& w = start();
    ASSERT_GT(w.profileTree()->tree()->topLevelItemCount(), 2);
    ASSERT_TRUE(testsupport::loadExportProfile(dir.path()));
    KAVO::Property::instance()->setString("Profile", dir.fileStr("export-profile.xml"));
    emit w.preferences()->signalProfileFileChanged();
    EXPECT_EQ(w.profileTree()->tree()->topLevelItemCount(), 2);
    EXPECT_NE(w.profileTree()->item("Dev/Speed"), nullptr);
    EXPECT_TRUE(w.isEdited());
    EXPECT_EQ(w.windowTitle(), "ORLO [edited]");
}

TEST_F(MainWindowTest, ScreenshotWithLoadedSampleCard)
{
    TempDir dir;
    DialogMain& w = startWithLoadedCard(dir);
    shootEveryTab(w, "mainwindow");
}

TEST_F(MainWindowTest, GraphKeepsTheSampleCardAfterASetupChange)
{
    // The demo's card: its second flight goes on for about twenty minutes
    // in the high file.
    TempDir dir;
    DialogMain& w = startWithLoadedCard(dir, 400000, {1, 2});
    const KAVO::RecordInfo& info = w.record().recordInfo();
    ASSERT_GT(info.stopTime - info.startTime, 1000.0);
    QTabWidget* tabs = w.dataArea()->findChild<QTabWidget*>();
    KAVO::DialogDataGraph* tab = w.dataArea()->findChild<KAVO::DialogDataGraph*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_NE(tab, nullptr);
    WidgetGraph* graph = tab->graph();
    tabs->setCurrentWidget(tab);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(graph));

    // A new background colour, chosen in the setup dialog.
    KAVO::DialogGraphSetup::setColorChooser([](const QColor&) { return QColor(0, 0, 96); });
    QTest::mouseClick(tab->button(KAVO::DialogDataGraph::CommandSetup), Qt::LeftButton);
    QPushButton* background = nullptr;
    for (QPushButton* b : tab->setupDialog()->findChildren<QPushButton*>())
        if (b->text() == "Select" && background == nullptr)
            background = b;
    ASSERT_NE(background, nullptr);
    QTest::mouseClick(background, Qt::LeftButton);
    KAVO::DialogGraphSetup::setColorChooser(nullptr);
    tab->setupDialog()->hide();
    EXPECT_EQ(tab->graphData().backColor, "#000060");

    // The window stays on the cursor, over the recording: curves and time
    // labels are drawn.
    const double t = graph->getCursorTime();
    EXPECT_GE(t, graph->getXmin());
    EXPECT_LE(t, graph->getXmax());
    EXPECT_LT(graph->getXmin(), info.stopTime);
    EXPECT_GT(graph->getXmax(), info.startTime);
    QImage shot;
    for (int k = 0; k < 3; ++k)
        shot = graph->grabGraph().convertToFormat(QImage::Format_RGB32);
    const KAVO::GraphModel& m = graph->model();
    int curve = 0;
    for (int y = shot.height() - static_cast<int>(m.plotBottom() + m.plotHeight()) + 1;
         y < shot.height() - static_cast<int>(m.plotBottom()); ++y)
        for (int x = static_cast<int>(m.plotLeft()) + 1; x < static_cast<int>(m.plotLeft() + m.plotWidth()); ++x) {
            const QColor c = shot.pixelColor(x, y);
            curve += c != QColor(0, 0, 96) && c.saturation() > 200 && c.value() > 200;
        }
    EXPECT_GT(curve, 200) << "no curve in the plot";
    int timeLabels = 0;
    for (const KAVO::GraphTicks::Label& l : graph->axisLabels())
        timeLabels += l.baseline < m.plotBottom() - 10.0;
    EXPECT_GE(timeLabels, 2);

    // The window as the user sees it, with the graph's own text.
    QImage window = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&window);
    painter.drawImage(QRectF(QPointF(graph->mapTo(&w, QPoint(0, 0))) * w.devicePixelRatioF(),
                             QSizeF(graph->size()) * w.devicePixelRatioF()),
                      graph->grabFramebuffer());
    painter.end();
    EXPECT_TRUE(window.save(testsupport::artifactsDir() + "/mainwindow-graph-after-colour-change.png"));
}

TEST_F(MainWindowTest, TranslatedWindowsWithALoadedCardShowWholeTexts)
{
    for (const char* language : { "de", "es", "fr", "pt", "cz" }) {
        SCOPED_TRACE(language);
        QTranslator qt;
        QTranslator kavo;
        // Qt's own texts where the system has them, as start-up loads them.
        if (qt.load(QString("qt_") + language, testsupport::bundleResources()))
            QCoreApplication::installTranslator(&qt);
        ASSERT_TRUE(kavo.load(QString("kavo_") + language, testsupport::bundleResources()));
        QCoreApplication::installTranslator(&kavo);
        {
            TempDir dir;
            DialogMain& w = startWithLoadedCard(dir);
            QTabWidget* tabs = w.dataArea()->findChild<QTabWidget*>();
            ASSERT_NE(tabs, nullptr);
            EXPECT_EQ(tabs->tabText(0), kavo.translate("KAVO::DialogData", "Data"));
            EXPECT_NE(tabs->tabText(1), "Limit/Warning Exceed");
            EXPECT_NE(w.menuBar()->actions().value(0)->text(), "&File");
            expectWholeTexts(w);
            // The recording's details in the card list are not cut either.
            QTreeWidget* cards = w.cardList()->tree();
            EXPECT_GE(cards->header()->sectionSize(0),
                      static_cast<QAbstractItemView*>(cards)->sizeHintForColumn(0));
            shootEveryTab(w, QString("mainwindow-") + language);
            // The dialogs of the window with the longest texts.
            for (QWidget* dialog : { static_cast<QWidget*>(w.preferences()),
                                     static_cast<QWidget*>(w.dataArea()->findChild<KAVO::DialogDataGraph*>()->setupDialog()) }) {
                dialog->show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
                expectWholeTexts(*dialog);
                dialog->hide();
            }
            mWindow.reset();
        }
        QCoreApplication::removeTranslator(&kavo);
        QCoreApplication::removeTranslator(&qt);
    }
}
