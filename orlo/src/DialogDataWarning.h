#ifndef ORLO_DIALOGDATAWARNING_H
#define ORLO_DIALOGDATAWARNING_H

#include "DialogDataEventList.h"

namespace KAVO {

// The warning-lamp list: every change of a parameter of the enumeration
// "WarningLamp" to a lit lamp, stored in the recording's warning list and
// listed by time. The data area does not show it.
class DialogDataWarning : public DialogDataEventList
{
    Q_OBJECT
public:
    explicit DialogDataWarning(QWidget* parent);

    // Rebuilds the recording's warning list and the view; null keeps the view.
    void updateRecord(KAVO::Record* record);
    // The list depends on the recording only.
    void updateProfile();

    void fillTime();
    void fillWarnings();
};

} // namespace KAVO

#endif
