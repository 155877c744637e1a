#ifndef ORLO_DIALOGPROFILE_H
#define ORLO_DIALOGPROFILE_H

#include <QMetaType>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <map>

class QGridLayout;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace KAVO {

class Profile;
class ProfileInfo;
class ProfileParameter;

} // namespace KAVO

Q_DECLARE_OPAQUE_POINTER(KAVO::ProfileParameter*)
Q_DECLARE_METATYPE(KAVO::ProfileParameter*)

namespace KAVO {

// The checkable tree of the profile's devices and parameters. A check box
// sets the parameter's selected flag at once; the displays are rebuilt only
// when the user confirms with the blinking button.
class DialogProfile : public QWidget
{
    Q_OBJECT
public:
    DialogProfile(QWidget* parent, KAVO::Profile& profile);
    ~DialogProfile() override;

    void updateList();
    void updateProfile(QTreeWidget* tree, KAVO::ProfileInfo& info);
    void addParameter(QTreeWidgetItem* device, KAVO::ProfileParameter& parameter);
    void updateProject();

    QTreeWidget* tree() const { return mTree; }
    QPushButton* confirmButton() const { return mConfirm; }
    QPushButton* clearButton() const { return mClear; }
    bool isBlinking() const;
    QTreeWidgetItem* item(const QString& fullName) const;

    static constexpr int BlinkMs = 250;

signals:
    void signalChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void slotItemChanged(QTreeWidgetItem* item, int column);
    void slotTimeout();
    void slotClear();
    void slotConfirm();

private:
    QPalette mPaletteNormal;
    QPalette mPaletteAlert;
    QTimer* mTimer = nullptr;
    QLabel* mCaption = nullptr;
    QPushButton* mClear = nullptr;
    QPushButton* mConfirm = nullptr;
    QTreeWidget* mTree = nullptr;
    QGridLayout* mLayout = nullptr;
    bool mUpdating = false;
    bool mBlink = false;
    Profile& mProfile;
    std::map<QString, QTreeWidgetItem*> mItems;
};

} // namespace KAVO

#endif
