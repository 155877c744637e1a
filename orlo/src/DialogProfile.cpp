#include "DialogProfile.h"

#include "Images.h"

#if __has_include("Profile.h")
#include "Profile.h"
#endif

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace KAVO {

DialogProfile::DialogProfile(QWidget* parent, Profile* profile)
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
#if __has_include("Profile.h")
    if (mProfile != nullptr)
        updateProfile(mTree, mProfile->data());
#endif
}

void DialogProfile::updateProfile(QTreeWidget* tree, ProfileInfo& info)
{
    mUpdating = true;
    // Clearing the tree deletes its items, so the map must not keep them.
    tree->clear();
    if (tree == mTree)
        mItems.clear();
#if __has_include("Profile.h")
    for (auto& d : info.devices) {
        ProfileDevice& device = d.second;
        QTreeWidgetItem* deviceItem = addDeviceItem(tree, device.id, device.name);
        for (auto& p : device.parameters)
            addParameter(deviceItem, p.second);
    }
#else
    (void)info;
#endif
    mUpdating = false;
}

QTreeWidgetItem* DialogProfile::addDeviceItem(QTreeWidget* tree, int id, const QString& name)
{
    const bool updating = mUpdating;
    mUpdating = true;
    QTreeWidgetItem* item = new QTreeWidgetItem(tree);
    item->setText(0, QStringLiteral("%1 %2").arg(id).arg(name));
    item->setIcon(0, Images::icon(QStringLiteral("ataChapter")));
    mUpdating = updating;
    return item;
}

void DialogProfile::addParameter(QTreeWidgetItem* device, ProfileParameter& parameter)
{
#if __has_include("Profile.h")
    addParameterItem(device, parameter.name, parameter.unit, parameter.fullName, &parameter);
#else
    (void)device;
    (void)parameter;
#endif
}

QTreeWidgetItem* DialogProfile::addParameterItem(QTreeWidgetItem* device, const QString& name, const QString& unit,
                                                 const QString& fullName, ProfileParameter* parameter)
{
    const bool updating = mUpdating;
    mUpdating = true;
    QTreeWidgetItem* item = new QTreeWidgetItem(device);
    item->setText(0, unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit));
    item->setIcon(0, Images::icon(QStringLiteral("canParameter")));
    item->setData(0, Qt::UserRole, QVariant::fromValue(parameter));
    item->setData(0, Qt::CheckStateRole, Qt::Unchecked);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    mItems[fullName] = item;
    mUpdating = updating;
    return item;
}

void DialogProfile::updateProject()
{
    mUpdating = true;
#if __has_include("Profile.h")
    if (mProfile != nullptr) {
        for (auto& d : mProfile->data().devices) {
            for (auto& p : d.second.parameters) {
                QTreeWidgetItem* row = item(p.second.fullName);
                if (row != nullptr)
                    row->setData(0, Qt::CheckStateRole, p.second.selected ? Qt::Checked : Qt::Unchecked);
            }
        }
    }
#endif
    mUpdating = false;
}

void DialogProfile::slotItemChanged(QTreeWidgetItem* item, int)
{
    if (item == nullptr || mUpdating)
        return;
    ProfileParameter* parameter = item->data(0, Qt::UserRole).value<ProfileParameter*>();
    if (parameter != nullptr) {
#if __has_include("Profile.h")
        parameter->selected = item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
#endif
    }
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
#if __has_include("Profile.h")
    if (mProfile != nullptr) {
        for (auto& d : mProfile->data().devices)
            for (auto& p : d.second.parameters)
                p.second.selected = false;
    }
#endif
    updateProject();
    mUpdating = true;
    for (auto& kv : mItems)
        kv.second->setData(0, Qt::CheckStateRole, Qt::Unchecked);
    mUpdating = false;
    emit signalChanged();
}

} // namespace KAVO
