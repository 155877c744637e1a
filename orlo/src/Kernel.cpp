#include "Kernel.h"

#include <QStyle>
#include <QStyleFactory>
#include <QCommonStyle>

namespace KAVO {

namespace {

// The classic styles are gone from Qt 5; Fusion stands in for them.
QStyle* createStyle(const char* preferred)
{
    QStyle* s = QStyleFactory::create(QString::fromLatin1(preferred));
    if (s == nullptr)
        s = QStyleFactory::create(QStringLiteral("Fusion"));
    if (s == nullptr)
        s = new QCommonStyle;
    return s;
}

} // namespace

Kernel::Kernel()
    : mStyle(createStyle("Plastique"))
    , mStyle2(createStyle("Cleanlooks"))
{
}

Kernel* Kernel::instance()
{
    static Kernel* kernel = new Kernel; // lives to the end of the process
    return kernel;
}

QStyle* Kernel::getStyle()
{
    return mStyle;
}

QStyle* Kernel::getStyle2()
{
    return mStyle2;
}

} // namespace KAVO
