#ifndef ORLO_DIALOGDATA_H
#define ORLO_DIALOGDATA_H

#include <QWidget>

class QTabWidget;
class QVBoxLayout;

namespace KAVO {

class Record;

// The main window's data area: the review views of the loaded recording on
// one time cursor. For now a pane with the tabs and the calls the main
// window makes; the views themselves come with the value table, the limit
// list and the graph tab.
class DialogData : public QWidget
{
    Q_OBJECT
public:
    explicit DialogData(QWidget* parent);

    double time();
    double markStart();
    double markStop();
    void updateRecord(KAVO::Record* record);
    void updateProfile();
    void loadProfile();
    void updateDisplay();

private:
    QTabWidget* mTabs = nullptr;
    QVBoxLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
