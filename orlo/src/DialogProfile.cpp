#include "DialogProfile.h"

#include "Images.h"

#include "Profile.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace KAVO {

DialogProfile::DialogProfile(QWidget* parent, Profile& profile)
    : QWidget(parent)
    , mProfile(profile)
{
    qRegisterMetaType<KAVO::ProfileParameter*>("KAVO::ProfileParameter*");

    mTimer = new QTimer;
    connect(mTimer, &QTimer::timeout, this, &DialogProfile::slotTimeout);

    mCaption = new QLabel(tr("Selected Parameters"), this);
    mClear = new QPushButton(tr("Clear"), this);
    mConfirm = new QPushButton(tr("Confirm Selection"), this);
    QFont bold = mConfirm->font();
    bold.setWeight(75);
    mConfirm->setFont(bold);
    mConfirm->setAutoFillBackground(true);
    mPaletteNormal = mConfirm->palette();
    mPaletteAlert = mPaletteNormal;
    mPaletteAlert.setColor(QPalette::All, QPalette::ButtonText, QColor(255, 0, 0, 255));

    mTree = new QTreeWidget(this);
    mTree->setColumnCount(1);
    mTree->setHeaderHidden(true);
    mTree->setEditTriggers(QAbstractItemView::SelectedClicked);

    mLayout = new QGridLayout(this);
    mLayout->setContentsMargins(3, 3, 3, 3);
    mLayout->addWidget(mCaption, 0, 0);
    mLayout->addWidget(mClear, 0, 1);
    mLayout->addWidget(mConfirm, 1, 0, 1, 2);
    mLayout->addWidget(mTree, 2, 0, 1, 2);

    connect(mTree, &QTreeWidget::itemChanged, this, &DialogProfile::slotItemChanged);
    connect(mClear, &QPushButton::clicked, this, &DialogProfile::slotClear);
    connect(mConfirm, &QPushButton::clicked, this, &DialogProfile::slotConfirm);
}

DialogProfile::~DialogProfile()
{
    delete mTimer;
}

void DialogProfile::contextMenuEvent(QContextMenuEvent*)
{
}

bool DialogProfile::isBlinking() const
{
    return mTimer->isActive();
}

QTreeWidgetItem* DialogProfile::item(const QString& fullName) const
{
    const auto it = mItems.find(fullName);
    return it != mItems.end() ? it->second : nullptr;
}

void DialogProfile::updateList()
{
    updateProfile(mTree, mProfile.data());
}

void DialogProfile::updateProfile(QTreeWidget* tree, ProfileInfo& info)
{
    mUpdating = true;
    // Clearing the tree deletes its items, so the map must not keep them.
    tree->clear();
    if (tree == mTree)
        mItems.clear();
    for (auto& d : info.mDevices) {
        ProfileDevice& device = d.second;
        QTreeWidgetItem* deviceItem = new QTreeWidgetItem(tree);
        deviceItem->setText(0, QStringLiteral("%1 %2").arg(device.mId).arg(device.mName));
        deviceItem->setIcon(0, Images::icon(QStringLiteral("ataChapter")));
        for (auto& p : device.mParameters)
            addParameter(deviceItem, p.second);
    }
    mUpdating = false;
}

void DialogProfile::addParameter(QTreeWidgetItem* device, ProfileParameter& parameter)
{
    const bool updating = mUpdating;
    mUpdating = true;
    QTreeWidgetItem* item = new QTreeWidgetItem(device);
    item->setText(0, parameter.mUnit.isEmpty() ? parameter.mName
                                               : QStringLiteral("%1 [%2]").arg(parameter.mName, parameter.mUnit));
    item->setIcon(0, Images::icon(QStringLiteral("canParameter")));
    item->setData(0, Qt::UserRole, QVariant::fromValue(&parameter));
    item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    mItems[parameter.mFullName] = item;
    mUpdating = updating;
}

void DialogProfile::updateProject()
{
    mUpdating = true;
    for (auto& d : mProfile.data().mDevices) {
        for (auto& p : d.second.mParameters) {
            QTreeWidgetItem* row = item(p.second.mFullName);
            if (row != nullptr)
                row->setData(0, Qt::CheckStateRole, p.second.mSelected ? Qt::Checked : Qt::Unchecked);
        }
    }
    mUpdating = false;
}

void DialogProfile::slotItemChanged(QTreeWidgetItem* item, int)
{
    if (item == nullptr || mUpdating)
        return;
    ProfileParameter* parameter = item->data(0, Qt::UserRole).value<ProfileParameter*>();
    if (parameter != nullptr)
        parameter->mSelected = item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
    mTimer->start(BlinkMs);
}

void DialogProfile::slotTimeout()
{
    const bool wasOff = !mBlink;
    mBlink = !mBlink;
    mConfirm->setPalette(wasOff ? mPaletteAlert : mPaletteNormal);
}

void DialogProfile::slotConfirm()
{
    emit signalChanged();
    mConfirm->setPalette(mPaletteNormal);
    mTimer->stop();
    // The next blinking starts red again.
    mBlink = false;
}

void DialogProfile::slotClear()
{
    for (auto& d : mProfile.data().mDevices)
        for (auto& p : d.second.mParameters)
            p.second.mSelected = false;
    updateProject();
    emit signalChanged();
}

} // namespace KAVO
