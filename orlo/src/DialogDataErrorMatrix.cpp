#include "DialogDataErrorMatrix.h"

#include "Profile.h"
#include "WidgetFaultMatrix.h"

#include <QGridLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace KAVO {

DialogDataErrorMatrix::DialogDataErrorMatrix(QWidget* parent)
    : QWidget(parent)
{
    mScroll = new QScrollArea(this);
    mScroll->setWidgetResizable(true);
    mContent = new QWidget(mScroll);
    mContentLayout = new QVBoxLayout(mContent);
    mScroll->setWidget(mContent);
    mGrid = new QGridLayout(this);
    mGrid->addWidget(mScroll, 0, 0);
}

void DialogDataErrorMatrix::loadProfile()
{
    for (auto& m : mMatrices)
        delete m.second;
    mMatrices.clear();
    for (FaultMatrix& matrix : Profile::instance()->data().mFaultMatrices) {
        WidgetFaultMatrix* w = new WidgetFaultMatrix(mContent);
        w->setData(matrix);
        mContentLayout->addWidget(w);
        mMatrices.emplace(matrix.mId, w);
    }
}

void DialogDataErrorMatrix::updateRecord(KAVO::Record* record)
{
    for (auto& m : mMatrices)
        m.second->updateRecord(record);
}

void DialogDataErrorMatrix::setTime(double t)
{
    for (auto& m : mMatrices)
        m.second->setTime(t);
}

void DialogDataErrorMatrix::updateProfile()
{
}

void DialogDataErrorMatrix::fillColumn(int, KAVO::ProfileParameter&)
{
}

void DialogDataErrorMatrix::fillTime()
{
}

void DialogDataErrorMatrix::calcTime()
{
}

void DialogDataErrorMatrix::slotSelect()
{
}

} // namespace KAVO
