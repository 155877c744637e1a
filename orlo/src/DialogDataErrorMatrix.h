#ifndef ORLO_DIALOGDATAERRORMATRIX_H
#define ORLO_DIALOGDATAERRORMATRIX_H

#include <QWidget>

#include <map>

class QGridLayout;
class QScrollArea;
class QVBoxLayout;

namespace KAVO {

class ProfileParameter;
class Record;
class WidgetFaultMatrix;

// A data-area pane with one matrix display per error matrix of the
// profile, stacked in a scrolling pane and fed like the other views.
class DialogDataErrorMatrix : public QWidget
{
    Q_OBJECT
public:
    explicit DialogDataErrorMatrix(QWidget* parent);

    // Rebuilds the matrix displays from the profile singleton.
    void loadProfile();
    void updateRecord(KAVO::Record* record);
    void setTime(double t);
    void updateProfile();
    void fillColumn(int column, KAVO::ProfileParameter& parameter);
    void fillTime();
    void calcTime();

    // The displays by matrix id; matrices that share an id each have one.
    const std::multimap<int, WidgetFaultMatrix*>& matrices() const { return mMatrices; }

signals:
    void signalTime(double t);

private slots:
    void slotSelect();

private:
    QScrollArea* mScroll = nullptr;
    QWidget* mContent = nullptr;
    QVBoxLayout* mContentLayout = nullptr;
    QGridLayout* mGrid = nullptr;
    std::multimap<int, WidgetFaultMatrix*> mMatrices;
};

} // namespace KAVO

#endif
