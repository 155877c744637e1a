// Failures that lose or withhold data reach the user: the main window shows
// what the data core reports (settings and offsets that cannot be saved,
// files of a selection that cannot be read, a profile that cannot be read),
// each through the message-box seam.
#include "DialogCard.h"
#include "DialogData.h"
#include "DialogMain.h"
#include "DialogProfile.h"
#include "Profile.h"
#include "Project.h"
#include "Property.h"
#include "Record.h"
#include "SampleCard.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WriteLimits.h"
#include "gui/ScriptedPrompt.h"

#include <QAction>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using KAVO::DialogMain;
using testsupport::StdoutCapture;
using testsupport::TempDir;

namespace {

class FailureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        KAVO::Property::instance()->setConfigFile(mHome.fileStr("ORLO.ini"));
        KAVO::Property::instance()->setString("LastPath", mHome.fileStr("none"));
        KAVO::Property::instance()->setString("LastProjectPath", mHome.fileStr("none.xml"));
        DialogMain::setExitHook([](int) {});
    }

    void TearDown() override
    {
        mWindow.reset();
        DialogMain::setExitHook(nullptr);
        KAVO::Property::instance()->clear();
    }

    void start()
    {
        StdoutCapture quiet;
        mWindow = std::make_unique<DialogMain>();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !mWindow->restoreTimer()->isActive(); }, 10000));
    }

    QList<ScriptedPrompt::Asked> criticals() const
    {
        QList<ScriptedPrompt::Asked> found;
        for (const ScriptedPrompt::Asked& a : mPrompt.asked)
            if (a.kind == "critical")
                found.append(a);
        return found;
    }

    // Loads the files as the card list hands a selection over.
    void select(const std::list<QString>& files)
    {
        StdoutCapture quiet;
        emit mWindow->cardList()->signalLoadRecord(files);
    }

    TempDir mHome;
    ScriptedPrompt mPrompt;
    std::unique_ptr<DialogMain> mWindow;
};

TEST_F(FailureTest, SettingsThatCannotBeSavedAreReported)
{
    // A folder where the settings file should be: it can never be replaced.
    ASSERT_TRUE(QDir().mkpath(mHome.file("ORLO.ini")));
    start();
    ASSERT_TRUE(criticals().isEmpty());
    mPrompt.files.enqueue(mHome.path());
    {
        StdoutCapture quiet;
        mWindow->action(DialogMain::ActionOpenCard)->trigger();
    }
    ASSERT_EQ(criticals().size(), 1);
    EXPECT_EQ(criticals()[0].title, "KAVO Warning");
    EXPECT_EQ(criticals()[0].text, "The settings could not be saved in\n" + mHome.file("ORLO.ini"));
    EXPECT_EQ(criticals()[0].filter, "Ok");
}

TEST_F(FailureTest, AnOffsetThatCannotBeSavedIsReportedAndTheFieldKeepsTheFilesValue)
{
    // A write-protected card where the rights allow one; otherwise a card
    // that takes no more bytes.
    testsupport::SmallFileSystem fs(8 * 1024 * 1024);
    const QString folder = fs.mounted() ? fs.path() + "/CARD" : mHome.file("CARD");
    KAVO::SampleCard::Options options;
    options.folder = folder;
    options.messages = 3000;
    options.files = 3;
    KAVO::SampleCard card(options);
    ASSERT_TRUE(card.write());
    const QString offsetFile = folder + "/Offset.xml";
    const QByteArray before = testsupport::readFile(offsetFile);
    ASSERT_FALSE(before.isEmpty());
    const bool readOnly = fs.makeReadOnly();
    if (!readOnly)
        std::printf("no write-protected card (%s): a file-size limit stands in\n",
                    fs.whyNot().toLocal8Bit().constData());

    start();
    select({folder + "/LOG_8001.CAN"});
    ASSERT_DOUBLE_EQ(mWindow->record().recordData().offset, card.offset());
    QDoubleSpinBox* field = mWindow->dataArea()->findChild<QDoubleSpinBox*>();
    ASSERT_NE(field, nullptr);
    ASSERT_DOUBLE_EQ(field->value(), std::round(card.offset() * 100) / 100);
    {
        std::unique_ptr<testsupport::FileSizeLimit> cap;
        if (!readOnly)
            cap = std::make_unique<testsupport::FileSizeLimit>(10);
        StdoutCapture quiet;
        field->setValue(card.offset() + 50.0);
    }
    ASSERT_EQ(criticals().size(), 1);
    EXPECT_EQ(criticals()[0].text, QString("The time offset could not be saved in\n%1\nIt stays at %2 s.")
                                       .arg(offsetFile)
                                       .arg(card.offset(), 0, 'f', 2));
    // The field, the recording and the file agree on the old value.
    EXPECT_DOUBLE_EQ(field->value(), std::round(card.offset() * 100) / 100);
    EXPECT_DOUBLE_EQ(mWindow->record().recordData().offset, card.offset());
    EXPECT_EQ(testsupport::readFile(offsetFile), before);
}

TEST_F(FailureTest, OneMessageNamesEverySkippedFileAndTheOthersLoad)
{
    TempDir card;
    const QString a = card.file("LOG_0001.CAN");
    const QString b = card.file("LOG_8001.CAN");
    ASSERT_TRUE(testsupport::writeFile(a, testsupport::recordFileBytes({testsupport::floatMessage(0, 0x10, 1.0, 1.0f)})));
    ASSERT_TRUE(testsupport::writeFile(b, testsupport::recordFileBytes({testsupport::floatMessage(0, 0x10, 2.0, 1.0f)})));
    ASSERT_TRUE(QDir(card.path()).mkdir("DIR.CAN"));
    // An offset no card can have: refused, and said so.
    ASSERT_TRUE(testsupport::writeFile(card.file("Offset.xml"), "<KavoOffset><Offset value=\"1e16\"/></KavoOffset>"));
    start();
    select({a, card.file("DIR.CAN"), card.file("MISSING.CAN"), b});

    EXPECT_EQ(mWindow->record().rawData().entries.size(), 2u);
    EXPECT_EQ(mWindow->record().recordData().offset, 0.0);
    ASSERT_EQ(criticals().size(), 2);
    EXPECT_EQ(criticals()[0].title, "KAVO Warning");
    EXPECT_EQ(criticals()[0].text, "These files were not loaded:\n" + card.file("DIR.CAN") + ": not a regular file\n" +
                                       card.file("MISSING.CAN") + ": cannot be opened (No such file or directory)");
    EXPECT_EQ(criticals()[1].text, "The time offset of 1e+16 s in\n" + card.file("Offset.xml") +
                                       "\nlies outside -10000 to 10000 s; 0 s is used.");
    // The exports take what was loaded.
    EXPECT_TRUE(mWindow->action(DialogMain::ActionExportCsv)->isEnabled());
}

TEST_F(FailureTest, AProfileThatCannotBeReadIsReportedWithTheErrorsPlace)
{
    struct Case
    {
        const char* what;
        QByteArray text;  // empty: no file at all
        QString detail;   // what follows the path in the message
    };
    const Case cases[] = {
        {"broken", "<BrevantoProfile name=\"x\">\n  <Device name=\"D\">\n  </Devise>\n</BrevantoProfile>\n",
         "Line 3, column 11: Opening and ending tag mismatch."},
        {"too deep", "<BrevantoProfile>" + QByteArray(300 * 3, 'x').replace("xxx", "<a>"),
         "Line 1, column 785: elements nest deeper than 256 levels"},
        {"another root", "<KavoProject/>", "Line 1, column 13: the root element <KavoProject> is not <BrevantoProfile>"},
        {"missing", QByteArray(), "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = mHome.file(QString("profile-%1.xml").arg(c.what));
        if (!c.text.isEmpty()) {
            ASSERT_TRUE(testsupport::writeFile(path, c.text));
        }
        KAVO::Property::instance()->setString("Profile", path.toStdString());
        mPrompt.asked.clear();
        start();
        ASSERT_EQ(criticals().size(), 1);
        EXPECT_EQ(criticals()[0].title, "KAVO Warning");
        EXPECT_EQ(criticals()[0].text.toStdString(), ("The profile cannot be read:\n" + path + "\n" + c.detail).toStdString());
        EXPECT_EQ(mWindow->profileTree()->tree()->topLevelItemCount(), 0);
        mWindow.reset();
    }
}

} // namespace
