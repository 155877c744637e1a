#ifndef ORLO_DIALOGGRAPHSETUP_H
#define ORLO_DIALOGGRAPHSETUP_H

#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace KAVO {

struct GraphData;
class QwtComboBox;

// "Oscilloscope Setup": edits the graph tab's settings in place and tells
// the tab after every change, so that the graph follows each keystroke.
class DialogGraphSetup : public QDialog
{
    Q_OBJECT
public:
    DialogGraphSetup(QWidget* parent, GraphData& data);

    // Shows the settings in the widgets without reporting a change.
    void updateDialog();

    // Chooses a colour, starting from the current one; an invalid colour
    // when the user cancelled. Tests install their own chooser instead of
    // the modal colour dialog; an empty function restores the dialog.
    using ColorChooser = std::function<QColor(const QColor& current)>;
    static void setColorChooser(ColorChooser chooser);

signals:
    void signalChanged();

private slots:
    void slotBackgroundColor();
    void slotGridOn(int state);
    void slotGridColor();
    void slotLabelColor();
    void slotLabelBackColor();
    void slotCursorOn(int state);
    void slotCursorMode(int mode);
    void slotLegendOn(int state);
    void slotAutoscaleOn(int state);
    void slotYmin(QString text);
    void slotYmax(QString text);
    void slotClose();

private:
    QPushButton* selectButton();
    void chooseColor(QString& name);
    void storeFlag(bool& flag, int state);
    void storeNumber(double& number, const QString& text);
    static void showColor(QPushButton* button, const QString& name);

    GraphData& mData;
    QGridLayout* mGrid = nullptr;
    QVBoxLayout* mLayout = nullptr;
    QPushButton* mBackColor = nullptr;
    QPushButton* mGridColor = nullptr;
    QCheckBox* mGridOn = nullptr;
    QPushButton* mLabelColor = nullptr;
    QPushButton* mLabelBackColor = nullptr;
    QCheckBox* mCursorOn = nullptr;
    QwtComboBox* mCursorMode = nullptr;
    QCheckBox* mLegendOn = nullptr;
    QCheckBox* mAutoscaleOn = nullptr;
    QLineEdit* mYmin = nullptr;
    QLineEdit* mYmax = nullptr;
    QPushButton* mClose = nullptr;
};

} // namespace KAVO

#endif
