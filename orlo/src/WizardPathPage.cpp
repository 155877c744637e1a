#include "WizardPathPage.h"

#include "DialogPrompt.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "../resources/images/folderSelect.xpm"

namespace KAVO {

WizardPathPage::WizardPathPage(QWidget* parent, QByteArray& exportDir, QByteArray& fileName,
                               const QString& pathLabel, const QString& fileLabel, const QString& chooserTitle,
                               int fileRow)
    : QWizardPage(parent)
    , mExportDir(exportDir)
    , mFileName(fileName)
    , mChooserTitle(chooserTitle)
{
    mGrid = new QGridLayout(this);
    mGrid->setColumnStretch(1, 1);
    mPath = new QLineEdit(this);
    mPath->setObjectName("exportDir");
    mFile = new QLineEdit(this);
    mFile->setObjectName("fileName");
    mPathSelect = new QPushButton(QIcon(QPixmap(folderSelect_xpm)), QString(), this);
    mPathSelect->setObjectName("folderButton");

    mGrid->addWidget(new QLabel(pathLabel, this), 0, 0);
    mGrid->addWidget(mPath, 0, 1);
    mGrid->addWidget(mPathSelect, 0, 2);
    mGrid->addWidget(new QLabel(fileLabel, this), fileRow, 0);
    mGrid->addWidget(mFile, fileRow, 1, 1, 2);

    connect(mPath, &QLineEdit::textChanged, this, &WizardPathPage::slotPath);
    connect(mFile, &QLineEdit::textChanged, this, &WizardPathPage::slotFile);
    connect(mPathSelect, &QPushButton::clicked, this, &WizardPathPage::slotPathSelect);
}

void WizardPathPage::showPath()
{
    mUpdating = true;
    mPath->setText(QString::fromLocal8Bit(mExportDir));
    mFile->setText(QString::fromLocal8Bit(mFileName));
    mUpdating = false;
}

void WizardPathPage::slotPath(const QString& text)
{
    if (!mUpdating)
        mExportDir = text.toLocal8Bit();
}

void WizardPathPage::slotFile(const QString& text)
{
    if (!mUpdating)
        mFileName = text.toLocal8Bit();
}

void WizardPathPage::slotPathSelect()
{
    // A cancelled chooser changes nothing.
    const QString folder = DialogPrompt::getExistingDirectory(this, mChooserTitle, QString::fromLocal8Bit(mExportDir));
    if (folder.isEmpty())
        return;
    mExportDir = folder.toLocal8Bit();
    mUpdating = true;
    mPath->setText(folder);
    mUpdating = false;
}

} // namespace KAVO
