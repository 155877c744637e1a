#include "DialogHelp.h"

DialogHelp::DialogHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog)
{
}

void DialogHelp::slotClose()
{
    hide();
}
