#ifndef ORLO_DIALOGABOUT_H
#define ORLO_DIALOGABOUT_H

#include <QDialog>

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The about box: revision, the two distributors' logos and addresses.
class DialogAbout : public QDialog
{
    Q_OBJECT
public:
    explicit DialogAbout(QWidget* parent);

    QLabel* titleLabel() const { return mTitle; }

private slots:
    void slotClose();

private:
    QVBoxLayout* mLayout = nullptr;
    QGridLayout* mGrid = nullptr;
    QLabel* mTitle = nullptr;
    QFrame* mLine1 = nullptr;
    QFrame* mLine2 = nullptr;
    QFrame* mLine3 = nullptr;
    QLabel* mLogo1 = nullptr;
    QLabel* mLogo2 = nullptr;
    QLabel* mAddress1 = nullptr;
    QLabel* mAddress2 = nullptr;
    QPushButton* mClose = nullptr;
};

#endif
