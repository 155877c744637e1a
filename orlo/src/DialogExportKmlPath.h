#ifndef ORLO_DIALOGEXPORTKMLPATH_H
#define ORLO_DIALOGEXPORTKMLPATH_H

#include "WizardPathPage.h"

namespace KAVO {

struct KmlExportOptions;

// First page of the KML wizard: output folder and file name.
class DialogExportKmlPath : public WizardPathPage
{
    Q_OBJECT
public:
    DialogExportKmlPath(QWidget* parent, KmlExportOptions& options);

    void initializePage() override;
};

} // namespace KAVO

#endif
