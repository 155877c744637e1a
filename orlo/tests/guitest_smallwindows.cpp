// Splash, status bar, about box, preferences and the combo box with ids.
#include "DialogAbout.h"
#include "DialogHelp.h"
#include "DialogPreferences.h"
#include "DialogSplash.h"
#include "DialogStatusBar.h"
#include "Images.h"
#include "ManualClock.h"
#include "Property.h"
#include "QwtComboBox.h"
#include "Revision.h"
#include "TestSupport.h"
#include "gui/ScriptedPrompt.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using testsupport::TempDir;

namespace {

QString artifacts()
{
    const QString dir = testsupport::binaryDir() + "/artifacts";
    QDir().mkpath(dir);
    return dir;
}

// Counts pixels of the splash's text colour in a grabbed region.
int textPixels(const QImage& image, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += (c.blue() > 120 && c.red() < 90 && c.green() < 90) ? 1 : 0;
        }
    return n;
}

} // namespace

TEST(ImagesTest, EveryImageHasItsSize)
{
    const struct
    {
        const char* name;
        int w;
        int h;
    } sizes[] = {
        { "filenew", 24, 24 },      { "fileopen", 24, 24 },     { "filesave", 24, 24 },
        { "filesaveas", 22, 22 },   { "sdCard", 32, 32 },       { "googleEarth", 32, 32 },
        { "csv", 32, 32 },          { "quit", 22, 22 },         { "info", 16, 16 },
        { "help", 16, 16 },         { "Corvane_Logo", 150, 74 }, { "emuMain", 536, 403 },
        { "kavo", 320, 312 },       { "tamsel_logo", 150, 184 }, { "canArincTx", 16, 16 },
        { "ataChapter", 16, 16 },   { "canParameter", 16, 16 }, { "canDial", 16, 16 },
        { "canStatistic", 16, 16 }, { "limit", 16, 16 },        { "graphSingle", 32, 32 },
        { "graphSplit", 32, 32 },   { "zoomin", 32, 32 },       { "zoomout", 32, 32 },
        { "zoom1", 32, 32 },        { "zoomrect", 32, 32 },     { "fail", 32, 32 },
        { "undo", 32, 32 },         { "configure2", 32, 32 },   { "frame_image", 32, 32 },
        { "canGraph", 32, 32 },
    };
    for (const auto& s : sizes)
        EXPECT_EQ(KAVO::Images::pixmap(s.name).size(), QSize(s.w, s.h)) << s.name;
    EXPECT_EQ(KAVO::Images::names().size(), int(sizeof(sizes) / sizeof(sizes[0])));
    EXPECT_TRUE(KAVO::Images::pixmap("no such image").isNull());
}

TEST(SplashTest, KeepsFifteenLinesAndDrawsThemInBlue)
{
    testsupport::ManualClock clock;
    KAVO::DialogSplash* splash = KAVO::DialogSplash::instance();
    EXPECT_EQ(KAVO::DialogSplash::instance(), splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->pixmap().size(), QSize(536, 403));
    for (int i = 1; i <= 16; ++i)
        splash->addEntry(QString("line %1").arg(i));
    ASSERT_EQ(splash->lines().size(), 15);
    EXPECT_EQ(splash->lines().first(), "line 2");
    EXPECT_EQ(splash->lines().last(), "line 16");

    const QImage shot = splash->grab().toImage();
    shot.save(artifacts() + "/splash.png");
    // Line i sits on the base line 30 + 15 i at the left edge.
    EXPECT_GT(textPixels(shot, QRect(5, 18, 60, 14)), 10);
    EXPECT_GT(textPixels(shot, QRect(5, 30 + 15 * 14 - 12, 60, 14)), 10);
    EXPECT_EQ(textPixels(shot, QRect(5, 30 + 15 * 15 - 12 + 4, 60, 10)), 0);

    // A click closes it at once, also before finish.
    QTest::mouseClick(splash, Qt::LeftButton);
    EXPECT_FALSE(splash->isVisible());
    // The singleton is still the same object until finish drops it.
    EXPECT_EQ(KAVO::DialogSplash::instance(), splash);
    splash->show();
    splash->finish();
    KAVO::DialogSplash* next = KAVO::DialogSplash::instance();
    EXPECT_NE(next, splash);
    EXPECT_TRUE(splash->isVisible());
    // The close timer runs three seconds.
    EXPECT_EQ(clock.remaining(splash->closeTimer()), 3000);
    clock.advance(2999);
    EXPECT_TRUE(splash->isVisible());
    clock.advance(1);
    EXPECT_FALSE(splash->isVisible());
    next->close();
    delete splash;
}

TEST(StatusBarTest, ProgressBarHidesOneSecondAfterFull)
{
    testsupport::ManualClock clock;
    QWidget window;
    KAVO::DialogStatusBar bar(&window);
    window.resize(600, 40);
    window.show();
    QProgressBar* progress = bar.progressBar();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(bar.revisionLabel()->text(), QString("Tamsel    ORLO 1.2.21 (2022)"));
    EXPECT_EQ(bar.revisionLabel()->toolTip(), "ORLO 1.2.21");
    EXPECT_EQ(bar.revisionLabel()->font().pixelSize(), 12);
    EXPECT_EQ(bar.revisionLabel()->alignment(), Qt::AlignCenter);

    bar.updateProgress(0);
    EXPECT_TRUE(progress->isVisible());
    bar.updateProgress(100);
    EXPECT_EQ(progress->value(), 100);
    EXPECT_EQ(clock.remaining(bar.hideTimer()), 1000);
    clock.advance(600);
    EXPECT_TRUE(progress->isVisible());
    // Shown again within the second, but the running timer still hides it.
    bar.updateProgress(50);
    EXPECT_TRUE(progress->isVisible());
    clock.advance(399);
    EXPECT_TRUE(progress->isVisible());
    clock.advance(1);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->value(), 50);
    // A bar that stays below 100 stays.
    bar.updateProgress(30);
    clock.advance(5000);
    EXPECT_TRUE(progress->isVisible());
}

TEST(AboutBoxTest, ShowsRevisionAndClosesByItsButton)
{
    QWidget parent;
    DialogAbout about(&parent);
    EXPECT_EQ(about.windowTitle(), "ORLO");
    EXPECT_EQ(about.titleLabel()->text(), "ORLO 1.2.21\nOrlo Station");
    // Plain centred text in the box's own font.
    EXPECT_EQ(about.titleLabel()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(about.titleLabel()->font(), about.font());
    EXPECT_FALSE(about.windowIcon().isNull());
    about.show();
    QTest::qWait(20);
    about.grab().save(artifacts() + "/about.png");
    // No real contact data: only example.invalid addresses.
    for (QLabel* l : about.findChildren<QLabel*>()) {
        const QString t = l->text();
        if (t.contains('@') || t.contains("www.")) {
            EXPECT_TRUE(t.contains(".example.invalid")) << t.toStdString();
        }
    }
    QPushButton* close = about.findChild<QPushButton*>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());

    DialogHelp help(&parent);
    EXPECT_TRUE(help.children().isEmpty() || help.findChildren<QWidget*>().isEmpty());
}

class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KAVO::Property::instance()->clear();
        KAVO::Property::instance()->setConfigFile(mDir.fileStr("ORLO.ini"));
    }
    void TearDown() override { KAVO::Property::instance()->clear(); }

    std::string stored(const char* key) { return KAVO::Property::instance()->getString(key, "<none>"); }
    bool fileWritten() { return QFile::exists(mDir.file("ORLO.ini")); }

    TempDir mDir;
    // Any dialog a test does not expect fails it instead of blocking.
    ScriptedPrompt mPrompt;
};

TEST_F(PreferencesTest, OpeningShowsSettingsWithoutWritingOrReloading)
{
    KAVO::DialogPreferences prefs(nullptr);
    QSignalSpy changed(&prefs, &KAVO::DialogPreferences::signalProfileFileChanged);
    prefs.show();
    QTest::qWait(20);
    EXPECT_EQ(prefs.windowTitle(), "Preferences");
    EXPECT_EQ(prefs.profileField()->text(), "orlo.app/Contents/Resources/Ostervan_Profile.xml");
    EXPECT_EQ(prefs.languageBox()->currentText(), "english");
    EXPECT_EQ(prefs.languageBox()->id(), 0);
    QStringList texts;
    for (int i = 0; i < prefs.languageBox()->count(); ++i) {
        texts << prefs.languageBox()->itemText(i);
        EXPECT_EQ(prefs.languageBox()->itemData(i).toInt(), i);
    }
    EXPECT_EQ(texts, QString::fromUtf8("deutsch|español|français|english|português|česky").split('|'));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(fileWritten());
    prefs.grab().save(artifacts() + "/preferences.png");
}

TEST_F(PreferencesTest, StoredLocalesSelectTheirEntryAndUnknownShowsFrancais)
{
    const char* codes[] = { "de", "es", "fr", "us", "pt", "cz" };
    for (int id = 0; id < 6; ++id) {
        KAVO::Property::instance()->setString("Locale", codes[id]);
        KAVO::DialogPreferences prefs(nullptr);
        EXPECT_EQ(prefs.languageBox()->currentData().toInt(), id) << codes[id];
    }
    KAVO::Property::instance()->setString("Locale", "it");
    KAVO::DialogPreferences prefs(nullptr);
    EXPECT_EQ(prefs.languageBox()->currentText(), QString::fromUtf8("français"));
    EXPECT_EQ(stored("Locale"), "it");
    EXPECT_FALSE(fileWritten());
}

TEST_F(PreferencesTest, TypedProfilePathIsAppliedWhenCommitted)
{
    KAVO::DialogPreferences prefs(nullptr);
    QSignalSpy changed(&prefs, &KAVO::DialogPreferences::signalProfileFileChanged);
    prefs.show();
    QLineEdit* field = prefs.profileField();
    field->selectAll();
    QTest::keyClicks(field, "/tmp/p.xml");
    // Typing alone applies nothing.
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(stored("Profile"), "<none>");
    EXPECT_FALSE(fileWritten());

    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(stored("Profile"), "/tmp/p.xml");
    EXPECT_TRUE(prefs.isVisible());
    EXPECT_TRUE(fileWritten());

    // Enter on the unchanged path does not reload again.
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(changed.count(), 1);

    // Leaving the field commits too.
    QTest::keyClicks(field, "2");
    EXPECT_EQ(changed.count(), 1);
    // (Without a window manager the dialog never gets the keyboard focus,
    // so the focus loss is delivered directly.)
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &leave);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(stored("Profile"), "/tmp/p.xml2");
}

TEST_F(PreferencesTest, BrowseReloadsOnceAndCancelNothing)
{
    ScriptedPrompt& prompt = mPrompt;
    KAVO::DialogPreferences prefs(nullptr);
    QSignalSpy changed(&prefs, &KAVO::DialogPreferences::signalProfileFileChanged);
    prompt.files.enqueue(QString());
    prefs.browseButton()->click();
    EXPECT_EQ(changed.count(), 0);

    prompt.files.enqueue("/data/profiles/other.xml");
    prefs.browseButton()->click();
    ASSERT_EQ(prompt.count("open"), 2);
    EXPECT_EQ(prompt.asked.at(1).title, "Profile");
    EXPECT_EQ(prompt.asked.at(1).text, "orlo.app/Contents/Resources");
    EXPECT_EQ(prompt.asked.at(1).filter, "ORLO Profile (*.xml);;All files (*.*)");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(prefs.profileField()->text(), "/data/profiles/other.xml");
    EXPECT_EQ(stored("Profile"), "/data/profiles/other.xml");
}

TEST_F(PreferencesTest, PickingALanguageStoresItAndAsksForRestart)
{
    ScriptedPrompt& prompt = mPrompt;
    KAVO::DialogPreferences prefs(nullptr);
    QSignalSpy language(&prefs, &KAVO::DialogPreferences::signalLanguageChanged);
    QSignalSpy profile(&prefs, &KAVO::DialogPreferences::signalProfileFileChanged);
    KAVO::QwtComboBox* box = prefs.languageBox();
    // The entry already shown still writes and asks.
    emit box->activated(box->currentIndex());
    EXPECT_EQ(stored("Locale"), "us");
    emit box->activated(0);
    EXPECT_EQ(stored("Locale"), "de");
    EXPECT_EQ(language.count(), 2);
    EXPECT_EQ(profile.count(), 0);
    ASSERT_EQ(prompt.count("information"), 2);
    EXPECT_EQ(prompt.asked.at(1).title, "KAVO Info");
    EXPECT_EQ(prompt.asked.at(1).text, "Please restart KAVO to load new language !");
    EXPECT_EQ(prompt.asked.at(1).filter, "Ok");

    KAVO::Property::instance()->clear();
    ASSERT_TRUE(KAVO::Property::instance()->readXmlFile());
    EXPECT_EQ(stored("Locale"), "de");
}

TEST(ComboBoxTest, SelectsByValueAndReportsIdAndValue)
{
    KAVO::QwtComboBox box(nullptr, 7);
    box.addItem("ten", 10);
    box.addItem("twenty", 20);
    box.addItem("thirty", 30);
    QSignalSpy both(&box, QOverload<int, int>::of(&KAVO::QwtComboBox::signalActivated));
    QSignalSpy value(&box, QOverload<int>::of(&KAVO::QwtComboBox::signalActivated));
    QSignalSpy activated(&box, QOverload<int>::of(&QComboBox::activated));

    box.setData(20);
    EXPECT_EQ(box.currentIndex(), 1);
    box.setData(25);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_TRUE(box.currentText().isEmpty());
    EXPECT_EQ(activated.count(), 0);
    EXPECT_EQ(both.count(), 0);

    box.setData(30);
    emit box.activated(2);
    emit box.activated(2);
    ASSERT_EQ(both.count(), 2);
    EXPECT_EQ(both.at(1).at(0).toInt(), 7);
    EXPECT_EQ(both.at(1).at(1).toInt(), 30);
    ASSERT_EQ(value.count(), 2);
    EXPECT_EQ(value.at(0).at(0).toInt(), 30);

    // A real pick by the user.
    box.show();
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Up);
    ASSERT_EQ(value.count(), 3);
    EXPECT_EQ(value.at(2).at(0).toInt(), 20);
}
