// The KML and the CSV/CAN export wizards driven page by page inside their
// modal loops: what they show, what they hand back to the caller and what
// they leave in "ORLO.ini".
#include "DialogExportCsv.h"
#include "DialogExportKml.h"
#include "Property.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"
#include "WizardColorButton.h"
#include "WizardTimeEdit.h"
#include "gui/ScriptedPrompt.h"
#include "gui/WizardDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QLabel>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace KAVO;
using testsupport::TempDir;
using Step = WizardDriver::Step;
using wizardsteps::choose;
using wizardsteps::click;
using wizardsteps::typeInto;
using wizardsteps::widget;

namespace {

// Answers the colour dialogs too, and records whether the opacity was offered.
class ColourPrompt : public ScriptedPrompt
{
public:
    QList<QColor> colours;   // an invalid colour answers "cancel"
    QList<bool> alphaAsked;
    QStringList colourTitles;

    QColor getColor(QWidget*, const QColor&, const QString& title, bool alpha) override
    {
        alphaAsked.append(alpha);
        colourTitles.append(title);
        if (colours.isEmpty()) {
            ADD_FAILURE() << "unexpected colour dialog: " << title.toStdString();
            return QColor();
        }
        return colours.takeFirst();
    }
};

// The user sets a time field to a time of day "hh:mm:ss.zzz".
Step setTime(const char* name, const QString& text)
{
    return wizardsteps::setTime(name, QTime::fromString(text, "hh:mm:ss.zzz"));
}

Step check(std::function<void(QWizard*)> f)
{
    return f;
}

QString shownTime(QWizard* w, const char* name)
{
    return widget<QTimeEdit>(w, name)->time().toString("hh:mm:ss.zzz");
}

// Both time fields of the page show this window.
Step expectWindow(const char* start, const char* stop)
{
    return [start, stop](QWizard* w) {
        EXPECT_EQ(shownTime(w, "startTime"), start);
        EXPECT_EQ(shownTime(w, "stopTime"), stop);
    };
}

std::string setting(const char* key)
{
    return Property::instance()->getString(key, "<unset>");
}

class WizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Property::instance()->clear();
        Property::instance()->setConfigFile(mHome.fileStr("ORLO.ini"));
    }
    void TearDown() override { Property::instance()->clear(); }

    // Reads "ORLO.ini" back into a fresh store.
    void reload()
    {
        Property::instance()->clear();
        testsupport::StdoutCapture quiet;
        ASSERT_TRUE(testsupport::readFile(mHome.file("ORLO.ini")).contains("<KAVO>"));
        Property::instance()->readXmlFile();
    }

    // Options as the caller fills them: the recording's span, the window and the cursor.
    template <typename Options>
    static Options exportOptions(double first, double last, double start, double stop, double cursor)
    {
        Options o;
        o.recordInfo.startTime = first;
        o.recordInfo.stopTime = last;
        o.startTime = start;
        o.stopTime = stop;
        o.cursorTime = cursor;
        return o;
    }
    static KmlExportOptions kmlOptions(double first, double last, double start, double stop, double cursor)
    {
        KmlExportOptions o = exportOptions<KmlExportOptions>(first, last, start, stop, cursor);
        o.fileName = "LOG_0001.kml";
        return o;
    }
    static CsvExportOptions csvOptions(double first, double last, double start, double stop, double cursor)
    {
        return exportOptions<CsvExportOptions>(first, last, start, stop, cursor);
    }

    template <typename Wizard, typename Options>
    bool run(Wizard& wizard, Options& o, std::vector<Step> steps)
    {
        WizardDriver driver(std::move(steps));
        testsupport::StdoutCapture quiet;   // the time fields print what they store
        const bool result = wizard.getOptions(o);
        EXPECT_TRUE(driver.finishedSteps()) << "ran " << driver.ran() << " steps";
        return result;
    }

    // Reads "ORLO.ini" back and compares each key with its expected text.
    void expectSettings(const std::vector<std::pair<const char*, std::string>>& expected)
    {
        reload();
        for (const auto& e : expected)
            EXPECT_EQ(setting(e.first), e.second) << e.first;
    }
    static std::string flag(bool on) { return on ? "true" : "false"; }

    // Every KML setting holds what the wizard handed back.
    void expectStored(const KmlExportOptions& o)
    {
        expectSettings({{"KmlExportDir", o.exportDir.toStdString()},
                        {"KmlTimeStamp", std::to_string(o.timeStamp)},
                        {"KmlLineWidth", std::to_string(o.lineWidth)},
                        {"KmlLineColor", o.lineColor.toStdString()},
                        {"KmlLineAlpha", std::to_string(o.lineAlpha)},
                        {"KmlPolygonOn", flag(o.polygonOn)},
                        {"KmlPolygonColor", o.polygonColor.toStdString()},
                        {"KmlPolygonAlpha", std::to_string(o.polygonAlpha)},
                        {"KmlPlaceMarkOn", flag(o.placeMarkOn)},
                        {"KmlPlaceMarkIntervall", std::to_string(o.placeMarkInterval)},
                        {"KmlPlaceMarkColor", o.placeMarkColor.toStdString()},
                        {"KmlErrorMarkOn", flag(o.errorMarkOn)},
                        {"KmlShowLimit", flag(o.showLimit)},
                        {"KmlShowWarning", flag(o.showWarning)},
                        {"KmlErrorMarkColor", o.errorMarkColor.toStdString()}});
    }
    // Every CSV setting holds what the wizard handed back (the separator as its character code).
    void expectStored(const CsvExportOptions& o)
    {
        expectSettings({{"CsvExportDir", o.exportDir.toStdString()},
                        {"CsvLimiter", std::to_string(static_cast<int>(o.limiter))},
                        {"CsvCan", std::to_string(o.can)},
                        {"CsvResolution", std::to_string(o.resolution)},
                        {"CsvAllParameter", flag(o.allParameter)}});
    }

    TempDir mHome;
    ColourPrompt mPrompt;
};

// Translates a text only in the context of one class.
class ContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        return QString::fromLatin1(context) + "|" + QString::fromLatin1(source);
    }
    bool isEmpty() const override { return false; }
};

QStringList labels(QWidget* page)
{
    QStringList texts;
    for (QLabel* l : page->findChildren<QLabel*>())
        texts << l->text();
    return texts;
}

// ------------------------------------------------------------------ KML

TEST_F(WizardTest, KmlDefaultsShownAndStoredWholeRecordingForNoWindow)
{
    DialogExportKml wizard(nullptr);
    EXPECT_EQ(wizard.windowTitle(), "Google Earth KML Export");
    EXPECT_EQ(wizard.windowModality(), Qt::WindowModal);
    // No markers set: a window of 5 ms is no window.
    KmlExportOptions o = kmlOptions(100.0, 400.5, 12.0, 12.005, 150.0);
    o.placeMarkInterval = 500; // the constructed value; the setting wins
    const bool finished = run(wizard, o, {
        check([](QWizard* w) {
            EXPECT_EQ(w->currentId(), 0);
            EXPECT_EQ(widget<QLineEdit>(w, "exportDir")->text(), ".");
            EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "LOG_0001.kml");
        }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_EQ(widget<QSpinBox>(w, "timeStamp")->value(), 100);
            EXPECT_EQ(widget<QSpinBox>(w, "timeStamp")->suffix(), " ms");
            EXPECT_EQ(widget<QSpinBox>(w, "lineWidth")->value(), 1);
            EXPECT_TRUE(widget<QGroupBox>(w, "polygon")->isChecked());
            EXPECT_EQ(shownTime(w, "startTime"), "00:01:40.000");
            EXPECT_EQ(shownTime(w, "stopTime"), "00:06:40.500");
            EXPECT_EQ(widget<WizardColorButton>(w, "lineColor")->color(), QColor(255, 0, 0, 255));
            EXPECT_EQ(widget<WizardColorButton>(w, "polygonColor")->color(), QColor(0, 0, 255, 100));
        }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_TRUE(widget<QGroupBox>(w, "placeMark")->isChecked());
            EXPECT_EQ(widget<QSpinBox>(w, "placeMarkInterval")->value(), 10);
            EXPECT_TRUE(widget<QGroupBox>(w, "errorMark")->isChecked());
            EXPECT_TRUE(widget<QCheckBox>(w, "showLimit")->isChecked());
            EXPECT_TRUE(widget<QCheckBox>(w, "showWarning")->isChecked());
            EXPECT_EQ(widget<WizardColorButton>(w, "placeMarkColor")->color(), QColor(255, 204, 0));
            EXPECT_EQ(widget<WizardColorButton>(w, "errorMarkColor")->color(), QColor(255, 0, 0));
        }),
        WizardDriver::finish(),
    });
    EXPECT_TRUE(finished);
    testsupport::expectDefaultKmlLook(o);
    EXPECT_EQ(o.fileName, "LOG_0001.kml");
    EXPECT_EQ(o.placeMarkInterval, 10);
    EXPECT_DOUBLE_EQ(o.startTime, 100.0);
    EXPECT_DOUBLE_EQ(o.stopTime, 400.5);
    EXPECT_DOUBLE_EQ(o.cursorTime, 150.0);
    EXPECT_DOUBLE_EQ(o.recordInfo.stopTime, 400.5);

    expectStored(o);
}

TEST_F(WizardTest, KmlChoicesPersistAndComeBackOnTheNextRun)
{
    Property::instance()->setString("KmlExportDir", "/data");
    DialogExportKml wizard(nullptr);
    KmlExportOptions o = kmlOptions(0.0, 1000.0, 10.0, 20.0, 0.0);
    mPrompt.files.enqueue(QString());          // chooser cancelled: nothing changes
    mPrompt.files.enqueue(mHome.path());
    ASSERT_TRUE(run(wizard, o, {
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "exportDir")->text(), "/data"); }),
        click("folderButton"),
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "exportDir")->text(), "/data"); }),
        click("folderButton"),
        typeInto("fileName", "tour.kml"),
        WizardDriver::next(),
        [](QWizard* w) {
            QSpinBox* step = widget<QSpinBox>(w, "timeStamp");
            step->setFocus();
            QTest::keyClick(step, Qt::Key_Up);     // one step of 100 ms
            QTest::keyClick(widget<QSpinBox>(w, "lineWidth"), Qt::Key_Up);
            widget<QGroupBox>(w, "polygon")->setChecked(false);
        },
        WizardDriver::next(),
        [](QWizard* w) {
            QSpinBox* interval = widget<QSpinBox>(w, "placeMarkInterval");
            interval->setFocus();
            QTest::keyClick(interval, Qt::Key_Up);  // one step of 5
            widget<QGroupBox>(w, "placeMark")->setChecked(false);
            QCheckBox* warning = widget<QCheckBox>(w, "showWarning");
            warning->setFocus();
            QTest::keyClick(warning, Qt::Key_Space);
        },
        WizardDriver::finish(),
    }));
    EXPECT_EQ(mPrompt.asked.size(), 2);
    EXPECT_EQ(mPrompt.asked.value(0).title, "Save KML Export");
    EXPECT_EQ(mPrompt.asked.value(0).text, "/data");
    EXPECT_EQ(o.exportDir, mHome.path().toLocal8Bit());
    EXPECT_EQ(o.fileName, "tour.kml");
    EXPECT_EQ(o.timeStamp, 200);
    EXPECT_EQ(o.lineWidth, 2);
    EXPECT_FALSE(o.polygonOn);
    EXPECT_FALSE(o.placeMarkOn);
    EXPECT_EQ(o.placeMarkInterval, 15);
    EXPECT_TRUE(o.showLimit);
    EXPECT_FALSE(o.showWarning);

    expectStored(o);

    // The next run starts on page 1 again with the stored choices; the file
    // name is the caller's.
    KmlExportOptions again = kmlOptions(0.0, 1000.0, 10.0, 20.0, 0.0);
    ASSERT_TRUE(run(wizard, again, {
        check([this](QWizard* w) {
            EXPECT_EQ(w->currentId(), 0);
            EXPECT_EQ(widget<QLineEdit>(w, "exportDir")->text(), mHome.path());
            EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "LOG_0001.kml");
        }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_EQ(widget<QSpinBox>(w, "timeStamp")->value(), 200);
            EXPECT_FALSE(widget<QGroupBox>(w, "polygon")->isChecked());
        }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_FALSE(widget<QCheckBox>(w, "showWarning")->isChecked());
            EXPECT_EQ(widget<QSpinBox>(w, "placeMarkInterval")->value(), 15);
        }),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(again.placeMarkInterval, 15);
    EXPECT_EQ(again.fileName, "LOG_0001.kml");
}

TEST_F(WizardTest, KmlColoursAreSixLowerCaseDigitsWithTheirOpacity)
{
    DialogExportKml wizard(nullptr);
    KmlExportOptions o = kmlOptions(0.0, 100.0, 0.0, 50.0, 0.0);
    mPrompt.colours = {QColor(0x12, 0xAB, 0xCD, 0x40), QColor(),    // line; polygon cancelled
                       QColor(0xFE, 0xDC, 0xBA, 0x11),             // polygon
                       QColor(0x0A, 0x0B, 0x0C), QColor(0xA0, 0xB0, 0xC0)};
    ASSERT_TRUE(run(wizard, o, {
        WizardDriver::next(),
        click("lineColor"),
        click("polygonColor"),
        check([](QWizard* w) {
            EXPECT_EQ(widget<WizardColorButton>(w, "lineColor")->color(), QColor(0x12, 0xAB, 0xCD, 0x40));
            // Cancelled: the old colour stays.
            EXPECT_EQ(widget<WizardColorButton>(w, "polygonColor")->color(), QColor(0, 0, 255, 100));
        }),
        click("polygonColor"),
        WizardDriver::next(),
        click("placeMarkColor"),
        click("errorMarkColor"),
        check([](QWizard* w) {
            EXPECT_EQ(widget<WizardColorButton>(w, "placeMarkColor")->color(), QColor(0x0A, 0x0B, 0x0C));
        }),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(mPrompt.colourTitles, QStringList({"Select Line Color", "Select Polygon Color", "Select Polygon Color",
                                                 "Select Placemark Color", "Select Exceedance Color"}));
    EXPECT_EQ(mPrompt.alphaAsked, QList<bool>({true, true, true, false, false}));
    EXPECT_EQ(o.lineColor, "12abcd");
    EXPECT_EQ(o.lineAlpha, 0x40);
    EXPECT_EQ(o.polygonColor, "fedcba");
    EXPECT_EQ(o.polygonAlpha, 0x11);
    EXPECT_EQ(o.placeMarkColor, "0a0b0c");
    EXPECT_EQ(o.errorMarkColor, "a0b0c0");
    expectStored(o);
}

TEST_F(WizardTest, KmlWindowIsLimitedToTheRecordingAndCursorPosTakesWholeSeconds)
{
    DialogExportKml wizard(nullptr);
    KmlExportOptions o = kmlOptions(100.0, 400.0, 150.25, 300.75, 222.875);
    ASSERT_TRUE(run(wizard, o, {
        WizardDriver::next(),
        expectWindow("00:02:30.250", "00:05:00.750"),
        setTime("startTime", "00:01:00.000"),   // before the recording
        setTime("stopTime", "00:10:00.000"),    // after it
        click("cursorStop"),
        // Both fields in whole seconds: the stop at the cursor, the start
        // at what was stored for it (the recording's start).
        expectWindow("00:01:40.000", "00:03:42.000"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(o.startTime, 100.0);
    EXPECT_DOUBLE_EQ(o.stopTime, 222.0);

    KmlExportOptions typed = kmlOptions(100.0, 400.0, 150.25, 300.75, 222.875);
    ASSERT_TRUE(run(wizard, typed, {
        WizardDriver::next(),
        setTime("startTime", "00:01:00.000"),
        setTime("stopTime", "00:10:00.000"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(typed.startTime, 100.0);
    EXPECT_DOUBLE_EQ(typed.stopTime, 400.0);

    KmlExportOptions cursor = kmlOptions(100.0, 400.0, 150.25, 300.75, 222.875);
    ASSERT_TRUE(run(wizard, cursor, {
        WizardDriver::next(),
        click("cursorStart"),
        expectWindow("00:03:42.000", "00:05:00.000"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(cursor.startTime, 222.0);
    EXPECT_DOUBLE_EQ(cursor.stopTime, 300.0);
}

TEST_F(WizardTest, KmlCancelKeepsTheChoicesButGivesFalse)
{
    DialogExportKml wizard(nullptr);
    KmlExportOptions o = kmlOptions(0.0, 100.0, 10.0, 20.0, 0.0);
    EXPECT_FALSE(run(wizard, o, {
        WizardDriver::next(),
        [](QWizard* w) {
            QSpinBox* step = widget<QSpinBox>(w, "timeStamp");
            step->setFocus();
            QTest::keyClick(step, Qt::Key_PageUp);   // ten steps
        },
        setTime("startTime", "00:00:15.500"),
        WizardDriver::cancel(),
    }));
    EXPECT_EQ(o.timeStamp, 1100);
    EXPECT_DOUBLE_EQ(o.startTime, 15.5);
    expectStored(o);
}

TEST_F(WizardTest, KmlRecordingPastOneDayKeepsItsDays)
{
    DialogExportKml wizard(nullptr);
    // Recorder time 25 h after power-up.
    KmlExportOptions o = kmlOptions(90000.0, 90600.0, 90100.25, 90200.5, 90150.9);
    ASSERT_TRUE(run(wizard, o, {
        WizardDriver::next(),
        expectWindow("01:01:40.250", "01:03:20.500"),
        setTime("stopTime", "01:05:00.125"),
        click("cursorStart"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(o.startTime, 90150.0);
    EXPECT_DOUBLE_EQ(o.stopTime, 90300.0);   // whole seconds after Cursor Pos

    KmlExportOptions whole = kmlOptions(90000.0, 90600.0, 0.0, 0.0, 0.0);
    ASSERT_TRUE(run(wizard, whole, {
        WizardDriver::next(),
        setTime("stopTime", "01:05:00.125"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(whole.startTime, 90000.0);
    EXPECT_DOUBLE_EQ(whole.stopTime, 90300.125);
}

TEST_F(WizardTest, KmlButtonsSpeakCzechAndPortuguese)
{
    // Qt's own catalogue and the program's, loaded as start-up loads them;
    // the wizard's page in the middle and its last page go to the artifacts.
    struct Language
    {
        const char* locale;
        const char* back;
        const char* next;
        const char* cancel;
        const char* finish;
    };
    const Language languages[] = {
        { "cz", "< &Zpět", "&Další >", "Zrušit", "Do&končit" },
        { "pt", "< &Recuar", "&Avançar >", "Cancelar", "&Terminar" },
    };
    const QString out = testsupport::binaryDir() + "/artifacts";
    ASSERT_TRUE(QDir().mkpath(out));
    for (const Language& l : languages) {
        SCOPED_TRACE(l.locale);
        QTranslator qt;
        QTranslator kavo;
        ASSERT_TRUE(qt.load(QString("qt_") + l.locale, testsupport::bundleResources()));
        ASSERT_TRUE(kavo.load(QString("kavo_") + l.locale, testsupport::bundleResources()));
        QCoreApplication::installTranslator(&qt);
        QCoreApplication::installTranslator(&kavo);
        {
            const auto shown = [](QWizard* w, QWizard::WizardButton b) {
                return w->button(b)->isVisible() ? w->button(b)->text().toStdString() : std::string("<hidden>");
            };
            const auto shoot = [&out, &l](QWizard* w, const char* page) {
                // The layout the translated texts asked for comes first.
                QCoreApplication::sendPostedEvents();
                EXPECT_TRUE(w->grab().save(QString("%1/wizard-kml-%2-%3.png").arg(out, l.locale, page)));
            };
            DialogExportKml wizard(nullptr);
            KmlExportOptions o = kmlOptions(0.0, 100.0, 10.0, 20.0, 0.0);
            EXPECT_TRUE(run(wizard, o, {
                WizardDriver::next(),
                check([&](QWizard* w) {
                    EXPECT_EQ(shown(w, QWizard::BackButton), l.back);
                    EXPECT_EQ(shown(w, QWizard::NextButton), l.next);
                    EXPECT_EQ(shown(w, QWizard::CancelButton), l.cancel);
                    EXPECT_EQ(shown(w, QWizard::FinishButton), "<hidden>");
                    shoot(w, "options");
                }),
                WizardDriver::next(),
                check([&](QWizard* w) {
                    EXPECT_EQ(shown(w, QWizard::BackButton), l.back);
                    EXPECT_EQ(shown(w, QWizard::FinishButton), l.finish);
                    EXPECT_EQ(shown(w, QWizard::CancelButton), l.cancel);
                    shoot(w, "last");
                }),
                WizardDriver::finish(),
            }));
        }
        QCoreApplication::removeTranslator(&kavo);
        QCoreApplication::removeTranslator(&qt);
    }
}

// ------------------------------------------------------------------ CSV

TEST_F(WizardTest, CsvDefaultsShownAndStored)
{
    DialogExportCsv wizard(nullptr);
    EXPECT_EQ(wizard.windowTitle(), "CSV Export");
    CsvExportOptions o = csvOptions(10.0, 70.5, 0.0, 0.0, 20.0);
    o.limiter = ',';
    o.allParameter = false;   // the constructed values; the settings win
    EXPECT_TRUE(run(wizard, o, {
        check([](QWizard* w) {
            EXPECT_EQ(widget<QLineEdit>(w, "exportDir")->text(), ".");
            EXPECT_EQ(widget<QComboBox>(w, "exportType")->currentText(), ".CSV Export");
            EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "ExportOrlo.csv");
        }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_EQ(widget<QComboBox>(w, "limiter")->currentText(), "Semikolon ;");
            EXPECT_EQ(widget<QComboBox>(w, "resolution")->currentText(), "100 ms");
            EXPECT_EQ(widget<QComboBox>(w, "parameter")->currentText(), "All Parameter");
            EXPECT_TRUE(widget<QComboBox>(w, "limiter")->isEnabled());
            EXPECT_TRUE(widget<QComboBox>(w, "parameter")->isEnabled());
            EXPECT_EQ(shownTime(w, "startTime"), "00:00:10.000");
            EXPECT_EQ(shownTime(w, "stopTime"), "00:01:10.500");
        }),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(o.exportDir, ".");
    EXPECT_EQ(o.fileName, "ExportOrlo.csv");
    EXPECT_EQ(o.can, 0);
    EXPECT_EQ(o.limiter, ';');
    EXPECT_EQ(o.resolution, 100);
    EXPECT_TRUE(o.allParameter);
    EXPECT_DOUBLE_EQ(o.startTime, 10.0);
    EXPECT_DOUBLE_EQ(o.stopTime, 70.5);
    expectStored(o);
}

TEST_F(WizardTest, CsvTypeChoiceSetsTheNameAndTheListsOfPageTwo)
{
    Property::instance()->setInt("CsvLimiter", 9);
    DialogExportCsv wizard(nullptr);
    CsvExportOptions o = csvOptions(0.0, 100.0, 5.0, 50.0, 0.0);
    ASSERT_TRUE(run(wizard, o, {
        choose("exportType", ".CAN Export"),
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "ExportOrlo.CAN"); }),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_FALSE(widget<QComboBox>(w, "limiter")->isEnabled());
            EXPECT_FALSE(widget<QComboBox>(w, "parameter")->isEnabled());
            EXPECT_TRUE(widget<QComboBox>(w, "resolution")->isEnabled());
            EXPECT_EQ(widget<QComboBox>(w, "limiter")->currentText(), "Tabstop");
        }),
        WizardDriver::back(),
        choose("exportType", ".CSV Export"),
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "ExportOrlo.csv"); }),
        typeInto("fileName", "cut.csv"),
        WizardDriver::next(),
        check([](QWizard* w) {
            EXPECT_TRUE(widget<QComboBox>(w, "limiter")->isEnabled());
            EXPECT_TRUE(widget<QComboBox>(w, "parameter")->isEnabled());
        }),
        choose("limiter", "Comma ,"),
        choose("resolution", "10 ms"),
        choose("parameter", "Selected Parameter only"),
        WizardDriver::back(),
        // Back on page 1 the typed name stays.
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "cut.csv"); }),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(o.fileName, "cut.csv");
    EXPECT_EQ(o.can, 0);
    EXPECT_EQ(o.limiter, ',');
    EXPECT_EQ(o.resolution, 10);
    EXPECT_FALSE(o.allParameter);

    // A new run starts from the default name of the stored type.
    CsvExportOptions again = csvOptions(0.0, 100.0, 5.0, 50.0, 0.0);
    ASSERT_TRUE(run(wizard, again, {
        check([](QWizard* w) { EXPECT_EQ(widget<QLineEdit>(w, "fileName")->text(), "ExportOrlo.csv"); }),
        choose("exportType", ".CAN Export"),
        WizardDriver::next(),
        WizardDriver::finish(),
    }));
    EXPECT_EQ(again.can, 1);
    EXPECT_EQ(again.fileName, "ExportOrlo.CAN");
    EXPECT_EQ(again.limiter, ',');
    EXPECT_EQ(again.resolution, 10);
    EXPECT_FALSE(again.allParameter);
    expectStored(again);
}

TEST_F(WizardTest, CsvCancelStoresTheSettingsAndGivesFalse)
{
    DialogExportCsv wizard(nullptr);
    CsvExportOptions o = csvOptions(0.0, 100.0, 5.0, 50.0, 0.0);
    mPrompt.files.enqueue(mHome.path());
    EXPECT_FALSE(run(wizard, o, {
        click("folderButton"),
        choose("exportType", ".CAN Export"),
        WizardDriver::next(),
        choose("resolution", "1 ms"),
        WizardDriver::cancel(),
    }));
    EXPECT_EQ(mPrompt.asked.value(0).title, "Save CSV/CAN Export");
    EXPECT_EQ(o.exportDir, mHome.path().toLocal8Bit());
    EXPECT_EQ(o.can, 1);
    EXPECT_EQ(o.resolution, 1);
    EXPECT_EQ(o.limiter, ';');
    EXPECT_TRUE(o.allParameter);
    expectStored(o);
}

TEST_F(WizardTest, CsvWindowLimitedCursorPosKeepsMillisecondsAndDays)
{
    DialogExportCsv wizard(nullptr);
    CsvExportOptions o = csvOptions(90000.0, 90600.0, 90100.25, 90200.5, 90150.875);
    ASSERT_TRUE(run(wizard, o, {
        WizardDriver::next(),
        expectWindow("01:01:40.250", "01:03:20.500"),
        click("cursorStop"),
        check([](QWizard* w) { EXPECT_EQ(shownTime(w, "stopTime"), "01:02:30.875"); }),
        setTime("startTime", "00:59:00.000"),   // before the recording
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(o.startTime, 90000.0);
    EXPECT_DOUBLE_EQ(o.stopTime, 90150.875);

    CsvExportOptions late = csvOptions(90000.0, 90600.0, 90100.25, 90200.5, 90999.0);
    ASSERT_TRUE(run(wizard, late, {
        WizardDriver::next(),
        click("cursorStop"),      // a cursor after the recording: its stop
        setTime("startTime", "01:01:40.000"),
        WizardDriver::finish(),
    }));
    EXPECT_DOUBLE_EQ(late.startTime, 90100.0);
    EXPECT_DOUBLE_EQ(late.stopTime, 90600.0);
}

TEST(WizardTimeEditTest, WholeDaysSurviveReadingBack)
{
    WizardTimeEdit field(nullptr);
    const double times[] = {0.0, 12.345, 86399.999, 86400.0, 90000.25, 200000.5, 30.0 * 86400 + 1.5};
    for (double t : times) {
        field.setSeconds(t);
        EXPECT_NEAR(field.seconds(), t, 1e-9) << t;
    }
    field.setSeconds(90061.5);
    EXPECT_EQ(field.time().toString("hh:mm:ss.zzz"), "01:01:01.500");
    // Sub-millisecond parts are cut, not rounded.
    field.setSeconds(1.2349);
    EXPECT_EQ(field.time().toString("hh:mm:ss.zzz"), "00:00:01.234");
    field.setSeconds(-0.5);   // before power-up: the day before
    EXPECT_NEAR(field.seconds(), -0.5, 1e-9);
}

TEST(WizardTranslationTest, PathPagesTranslateTheirTextsInTheirOwnContext)
{
    ContextTranslator translator;
    QCoreApplication::installTranslator(&translator);
    {
        DialogExportKml kml(nullptr);
        DialogExportCsv csv(nullptr);
        const QStringList kmlLabels = labels(kml.page(0));
        EXPECT_TRUE(kmlLabels.contains("KAVO::DialogExportKmlPath|Export Path")) << kmlLabels.join(", ").toStdString();
        EXPECT_TRUE(kmlLabels.contains("KAVO::DialogExportKmlPath|Export Filename"));
        EXPECT_EQ(kml.page(0)->title(), "KAVO::DialogExportKmlPath|KML Export");
        const QStringList csvLabels = labels(csv.page(0));
        EXPECT_TRUE(csvLabels.contains("KAVO::DialogExportCsvPath|Export Path")) << csvLabels.join(", ").toStdString();
        EXPECT_TRUE(csvLabels.contains("KAVO::DialogExportCsvPath|Export Filename"));
        EXPECT_TRUE(csvLabels.contains("KAVO::DialogExportCsvPath|Export Type"));
    }
    QCoreApplication::removeTranslator(&translator);
}

} // namespace
