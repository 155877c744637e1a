#include "DialogData.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace KAVO {

DialogData::DialogData(QWidget* parent)
    : QWidget(parent)
{
    mTabs = new QTabWidget(this);
    mTabs->addTab(new QWidget(mTabs), tr("Data"));
    mTabs->addTab(new QWidget(mTabs), tr("Limit/Warning Exceed"));
    mTabs->addTab(new QWidget(mTabs), tr("Graph"));
    mLayout = new QVBoxLayout(this);
    mLayout->addWidget(mTabs);
}

double DialogData::time()
{
    return 0.0;
}

double DialogData::markStart()
{
    return 0.0;
}

double DialogData::markStop()
{
    return 0.0;
}

void DialogData::updateRecord(KAVO::Record*)
{
}

void DialogData::updateProfile()
{
}

void DialogData::loadProfile()
{
}

void DialogData::updateDisplay()
{
}

} // namespace KAVO
