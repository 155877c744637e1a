#include "DialogPreferences.h"

#include "DialogPrompt.h"
#include "Images.h"
#include "Property.h"
#include "QwtComboBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace KAVO {

namespace {

const char* const kDefaultProfile = "orlo.app/Contents/Resources/Ostervan_Profile.xml";

} // namespace

DialogPreferences::DialogPreferences(QWidget* parent)
    : QDialog(parent, Qt::Dialog)
    , mProperty(Property::instance())
{
    mPageList = new QListWidget(this);
    mPageList->setMovement(QListView::Static);
    new QListWidgetItem(Images::icon(QStringLiteral("canParameter")), tr("General"), mPageList);

    mPages = new QStackedWidget(this);
    mApplicationPage = new QGroupBox(QStringLiteral("Application"), mPages);
    mGrid = new QGridLayout(mApplicationPage);

    mLabel = new QLabel(tr("Profile File :"), mApplicationPage);
    mGrid->addWidget(mLabel, 1, 0);
    mProfile = new QLineEdit(mApplicationPage);
    mGrid->addWidget(mProfile, 1, 1);
    mBrowse = new QPushButton(Images::icon(QStringLiteral("fileopen")), QString(), mApplicationPage);
    mGrid->addWidget(mBrowse, 1, 2);

    mLabel = new QLabel(tr("Language :"), mApplicationPage);
    mGrid->addWidget(mLabel, 2, 0);
    mLanguage = new QwtComboBox(mApplicationPage, 0);
    const struct
    {
        int id;
        const char* text;
        const char* code;
    } languages[] = {
        { 0, "deutsch", "de" },   { 1, "español", "es" },   { 2, "français", "fr" },
        { 3, "english", "us" },   { 4, "português", "pt" }, { 5, "česky", "cz" },
    };
    for (const auto& l : languages) {
        mLanguage->addItem(QString::fromUtf8(l.text), l.id);
        mLanguageCodes[l.id] = l.code;
    }
    mGrid->addWidget(mLanguage, 2, 1, 1, 2);
    mGrid->setRowStretch(2, 1);
    mGrid->setRowStretch(3, 1);
    mPages->addWidget(mApplicationPage);

    mOk = new QPushButton(tr("Ok"), this);
    // Enter in the profile field commits the path; it must not also press
    // a button (Browse would open the file dialog, Ok would close).
    mBrowse->setAutoDefault(false);
    mOk->setAutoDefault(false);

    mRowLayout = new QHBoxLayout;
    mRowLayout->addWidget(mPageList, 1);
    mRowLayout->addWidget(mPages, 2);
    mLayout = new QVBoxLayout(this);
    mLayout->addLayout(mRowLayout);
    mLayout->addWidget(mOk);

    setWindowTitle(tr("Preferences"));
    setWindowIcon(Images::icon(QStringLiteral("canDial")));

    connect(mPageList, &QListWidget::currentItemChanged, this, &DialogPreferences::slotChangePage);
    connect(mOk, &QPushButton::clicked, this, &DialogPreferences::slotClose);
    // A typed path is applied once the user commits it (Enter or leaving the
    // field); reloading the profile on every keystroke would try to load
    // every half-typed path on the way.
    connect(mProfile, &QLineEdit::editingFinished, this, &DialogPreferences::slotProfileEdited);
    connect(mBrowse, &QPushButton::clicked, this, &DialogPreferences::slotProfileSelect);
    connect(mLanguage, QOverload<int>::of(&QwtComboBox::signalActivated), this, &DialogPreferences::slotLanguage);

    fillDialog();
}

void DialogPreferences::fillDialog()
{
    mFilling = true;
    mProfile->setText(QString::fromStdString(mProperty->getString("Profile", kDefaultProfile)));
    const std::string locale = mProperty->getString("Locale", "us");
    int id = 2; // anything unknown shows "français"
    for (const auto& kv : mLanguageCodes) {
        if (kv.second == locale)
            id = kv.first;
    }
    mLanguage->setData(id);
    mFilling = false;
}

void DialogPreferences::slotChangePage(QListWidgetItem* current, QListWidgetItem* previous)
{
    QListWidgetItem* item = current != nullptr ? current : previous;
    if (item != nullptr)
        mPages->setCurrentIndex(mPageList->row(item));
}

void DialogPreferences::slotClose()
{
    hide();
}

void DialogPreferences::slotProfilePath(QString path)
{
    if (mFilling)
        return;
    mProperty->setString("Profile", path.toStdString());
    mProperty->writeXmlFile();
    emit signalProfileFileChanged();
}

void DialogPreferences::slotProfileEdited()
{
    if (mFilling)
        return;
    const QString path = mProfile->text();
    if (path.toStdString() == mProperty->getString("Profile", kDefaultProfile))
        return;
    slotProfilePath(path);
}

void DialogPreferences::slotProfileSelect()
{
    const QString file = DialogPrompt::getOpenFileName(this, tr("Profile"), QStringLiteral("orlo.app/Contents/Resources"),
                                                       tr("ORLO Profile (*.xml);;All files (*.*)"));
    if (file.isEmpty())
        return;
    slotProfilePath(file);
    fillDialog();
}

void DialogPreferences::slotLanguage(int id)
{
    if (mFilling)
        return;
    const auto it = mLanguageCodes.find(id);
    if (it == mLanguageCodes.end())
        return;
    mProperty->setString("Locale", it->second);
    mProperty->writeXmlFile();
    emit signalLanguageChanged();
    DialogPrompt::information(this, tr("KAVO Info"), tr("Please restart KAVO to load new language !"), tr("Ok"));
}

} // namespace KAVO
