#ifndef ORLO_DIALOGDATALIMIT_H
#define ORLO_DIALOGDATALIMIT_H

#include "DialogDataEventList.h"

namespace KAVO {

// The "Limit/Warning Exceed" tab: every rise of a profile parameter into
// its warning or limit range, found over the whole recording, stored in the
// recording's limit list (the KML export marks them) and listed by time.
class DialogDataLimit : public DialogDataEventList
{
    Q_OBJECT
public:
    explicit DialogDataLimit(QWidget* parent);

    // Rebuilds the recording's limit list and the view; null keeps the view.
    void updateRecord(KAVO::Record* record);
    // The list depends on the recording only.
    void updateProfile();

    void fillTime();
    void fillLimit();
};

} // namespace KAVO

#endif
