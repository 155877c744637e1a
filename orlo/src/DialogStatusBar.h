#ifndef ORLO_DIALOGSTATUSBAR_H
#define ORLO_DIALOGSTATUSBAR_H

#include <QStatusBar>

class QLabel;
class QProgressBar;
class QTimer;

namespace KAVO {

// The main window's status bar: the load progress bar, which hides itself
// a second after reaching 100 %, and the revision label.
class DialogStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit DialogStatusBar(QWidget* parent);
    ~DialogStatusBar() override;

    void updateProgress(int percent);

    QProgressBar* progressBar() const { return mProgress; }
    QLabel* revisionLabel() const { return mLabel; }
    QTimer* hideTimer() const { return mTimer; }
    // How long a full bar stays before it hides.
    static constexpr int HideMs = 1000;

private slots:
    void slotTimeout();
    void slotAbout();

private:
    QWidget* mParent;
    QTimer* mTimer = nullptr;
    QLabel* mLabel = nullptr;
    QProgressBar* mProgress = nullptr;
};

} // namespace KAVO

#endif
