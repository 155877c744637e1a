// The translation catalogues against the sources: every text the code marks
// for translation is listed in every catalogue, finished, with the same
// placeholders, accelerator, line breaks, outer blanks and closing mark as
// its source; nothing obsolete is left behind. Then the compiled German and
// French catalogues translate what the window shows, and Qt's own catalogue
// of every offered locale loads under the name start-up gives it.
#include "TestSupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

using testsupport::TempDir;

namespace {

const char* const Languages[] = { "de", "es", "fr", "pt", "cz" };

using MessageKey = std::pair<QString, QString>; // context, source text

struct Message
{
    QString state;         // the translation's type: empty when finished
    QStringList forms;     // the translation, or each plural form
};

// Every message of a catalogue.
std::map<MessageKey, Message> readTs(const QString& path)
{
    std::map<MessageKey, Message> messages;
    QXmlStreamReader xml(testsupport::readFile(path));
    QString context;
    QString source;
    bool plural = false;
    Message* current = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            plural = xml.attributes().value("numerus") == QLatin1String("yes");
            current = nullptr;
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            current = &messages[{ context, source }];
            current->state = xml.attributes().value("type").toString();
            if (!plural)
                current->forms << xml.readElementText();
        } else if (xml.name() == QLatin1String("numerusform") && current != nullptr) {
            current->forms << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

// What must survive translation: placeholders, the accelerator count, line
// breaks, the blanks at both ends and a closing punctuation mark.
QString shape(const QString& text)
{
    QStringList marks;
    QRegularExpressionMatchIterator it = QRegularExpression("%(L?\\d+|n)").globalMatch(text);
    while (it.hasNext())
        marks << it.next().captured(0);
    marks.sort();
    int leading = 0;
    while (leading < text.size() && text.at(leading) == ' ')
        ++leading;
    int trailing = 0;
    while (trailing < text.size() - leading && text.at(text.size() - 1 - trailing) == ' ')
        ++trailing;
    const QString trimmed = text.trimmed();
    const QChar last = trimmed.isEmpty() ? QChar() : trimmed.back();
    const QString closing = QStringLiteral(":!?;,").contains(last) ? QString(last) : QString();
    return QString("placeholders [%1] accelerators %2 breaks %3 blanks %4/%5 closing '%6'")
        .arg(marks.join(' '))
        .arg(text.count('&') - 2 * text.count("&&"))
        .arg(text.count('\n'))
        .arg(leading)
        .arg(trailing)
        .arg(closing);
}

QString lupdate()
{
#ifdef ORLO_LUPDATE
    if (QFileInfo(QStringLiteral(ORLO_LUPDATE)).isExecutable())
        return QStringLiteral(ORLO_LUPDATE);
#endif
    return QStandardPaths::findExecutable("lupdate");
}

} // namespace

TEST(TranslationTest, EveryCatalogueTranslatesEveryTextOfTheSourcesAndNothingElse)
{
    // The texts the sources mark today, as lupdate finds them.
    const QString tool = lupdate();
    ASSERT_FALSE(tool.isEmpty()) << "lupdate is missing: run scripts/install-deps.sh";
    TempDir tmp;
    const QString fresh = tmp.file("fresh.ts");
    const testsupport::ProcessResult r =
        testsupport::runProcess(tool, { testsupport::sourceDir() + "/orlo/src", "-ts", fresh, "-no-obsolete",
                                        "-locations", "none" },
                                {}, tmp.path(), 60000);
    ASSERT_TRUE(r.finished && r.exitCode == 0) << r.output.toStdString();
    const std::map<MessageKey, Message> wanted = readTs(fresh);
    ASSERT_GT(wanted.size(), 100u);

    for (const char* language : Languages) {
        SCOPED_TRACE(language);
        const QString path = testsupport::sourceDir() + "/orlo/resources/translations/kavo_" + language + ".ts";
        const std::map<MessageKey, Message> listed = readTs(path);
        for (const auto& m : wanted)
            EXPECT_EQ(listed.count(m.first), 1u) << "missing (run scripts/update-translations.sh) <"
                                                 << m.first.first.toStdString() << "> <"
                                                 << m.first.second.toStdString() << ">";
        for (const auto& m : listed) {
            const std::string where = "<" + m.first.first.toStdString() + "> <" + m.first.second.toStdString() + ">";
            EXPECT_EQ(wanted.count(m.first), 1u) << "no longer in the sources " << where;
            EXPECT_TRUE(m.second.state.isEmpty()) << m.second.state.toStdString() << " " << where;
            EXPECT_FALSE(m.second.forms.isEmpty()) << "no translation " << where;
            for (const QString& form : m.second.forms) {
                EXPECT_FALSE(form.isEmpty()) << "empty translation " << where;
                EXPECT_EQ(shape(form).toStdString(), shape(m.first.second).toStdString())
                    << where << " as <" << form.toStdString() << ">";
            }
        }
        EXPECT_TRUE(QFileInfo::exists(testsupport::bundleResources() + "/kavo_" + language + ".qm"));
    }
}

TEST(TranslationTest, TheShapeOfATextSeesWhatATranslationMustKeep)
{
    EXPECT_EQ(shape("Saving the project failed !\n%1"), shape("Das Speichern ist fehlgeschlagen!\n%1"));
    EXPECT_NE(shape("Saving failed !\n%1"), shape("Speichern fehlgeschlagen!\n"));
    EXPECT_NE(shape("&Quit"), shape("Beenden"));
    EXPECT_EQ(shape("&Quit"), shape("&Beenden"));
    EXPECT_NE(shape(" samples"), shape("Messwerte"));
    EXPECT_NE(shape("Language :"), shape("Sprache"));
    EXPECT_NE(shape("Save it now ?"), shape("Jetzt speichern."));
    EXPECT_EQ(shape("Save it now ?"), shape("Jetzt speichern?"));
}

TEST(TranslationTest, GermanAndFrenchTranslateMenusDialogsAndDataArea)
{
    QTranslator de;
    ASSERT_TRUE(de.load("kavo_de", testsupport::bundleResources()));
    QTranslator fr;
    ASSERT_TRUE(fr.load("kavo_fr", testsupport::bundleResources()));
    const auto tr = [](const QTranslator& t, const char* context, const char* text) {
        return t.translate(context, text).toStdString();
    };
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "&File"), "&Datei");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "&Extras"), "&Extras");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "&Help"), "&Hilfe");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "&New Project"), "&Neues Projekt");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "Open SD Card"), "SD-Karte öffnen");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "Quit Application"), "Anwendung beenden");
    EXPECT_EQ(tr(de, "KAVO::DialogData", "Data"), "Daten");
    EXPECT_EQ(tr(de, "KAVO::DialogData", "Graph"), "Grafik");
    EXPECT_EQ(tr(de, "KAVO::DialogData", "Offset:"), "Versatz:");
    EXPECT_EQ(tr(de, "KAVO::DialogDataLimit", "Warning/Limit Exceed"), "Warnungs-/Grenzwertüberschreitung");
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "KAVO Warning"), "KAVO-Warnung");
    EXPECT_EQ(tr(de, "KAVO::DialogPreferences", "Preferences"), "Einstellungen");
    EXPECT_EQ(tr(de, "KAVO::DialogGraphSetup", "Close"), "Schließen");
    EXPECT_EQ(tr(fr, "KAVO::DialogMain", "&File"), "&Fichier");
    EXPECT_EQ(tr(fr, "KAVO::DialogData", "Limit/Warning Exceed"), "Dépassement limite/avertissement");
    EXPECT_EQ(tr(fr, "KAVO::DialogExportKmlPlacemark", " samples"), " échantillons");
    // Shortcuts stay as they are in every language.
    EXPECT_EQ(tr(de, "KAVO::DialogMain", "Ctrl+N"), "Ctrl+N");
    EXPECT_EQ(tr(fr, "KAVO::DialogMain", "F1"), "F1");
}

TEST(TranslationTest, QtsOwnCatalogueOfEveryLocaleLoadsUnderItsStartUpName)
{
    // The wizard's buttons as Qt's catalogues translate them; Portuguese is
    // the European variant, and what that lacks ("Go Back") the Brazilian.
    struct Expected
    {
        const char* locale;
        const char* back;
        const char* next;
        const char* cancel;
        const char* finish;
        const char* goBack;
    };
    const Expected table[] = {
        { "de", "< &Zurück", "&Weiter >", "Abbrechen", "Ab&schließen", "Zurück" },
        { "es", "< &Atrás", "Siguie&nte >", "Cancelar", "&Finalizar", "Ir atrás" },
        { "fr", "< &Précédent", "&Suivant >", "Annuler", "&Terminer", "Aller au précédent" },
        { "pt", "< &Recuar", "&Avançar >", "Cancelar", "&Terminar", "Voltar" },
        { "cz", "< &Zpět", "&Další >", "Zrušit", "Do&končit", "Jít zpět" },
        // English is Qt's own language: the catalogue loads and changes nothing.
        { "us", "< &Back", "&Next >", "Cancel", "&Finish", "Go Back" },
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.locale);
        QTranslator qt;
        ASSERT_TRUE(qt.load(QString("qt_") + e.locale, testsupport::bundleResources()));
        const auto tr = [&qt](const char* source) {
            const QString t = qt.translate("QWizard", source);
            return (t.isEmpty() ? QString::fromUtf8(source) : t).toStdString();
        };
        EXPECT_EQ(tr("< &Back"), e.back);
        EXPECT_EQ(tr("&Next >"), e.next);
        EXPECT_EQ(tr("Cancel"), e.cancel);
        EXPECT_EQ(tr("&Finish"), e.finish);
        EXPECT_EQ(tr("Go Back"), e.goBack);
    }
}
