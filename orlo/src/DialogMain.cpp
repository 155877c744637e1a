#include "DialogMain.h"

#include "Notifier.h"
#include "Revision.h"

namespace KAVO {

DialogMain::DialogMain(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QString::fromStdString(Revision::getRevisionString()));
    resize(1024, 768);
    Notifier::setProgressHandler([this](int percent) { setProgress(percent); });
}

DialogMain::~DialogMain()
{
    Notifier::setProgressHandler(nullptr);
}

void DialogMain::setProgress(int)
{
}

} // namespace KAVO
