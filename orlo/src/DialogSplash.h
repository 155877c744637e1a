#ifndef ORLO_DIALOGSPLASH_H
#define ORLO_DIALOGSPLASH_H

#include <QList>
#include <QSplashScreen>
#include <QString>

class QTimer;

namespace KAVO {

// Start-up splash that shows the progress lines of start-up.
class DialogSplash : public QSplashScreen
{
    Q_OBJECT
public:
    static DialogSplash* instance();

    void addEntry(const QString& line);
    void finish();

    const QList<QString>& lines() const { return mLines; }
    QTimer* closeTimer() const { return mTimer; }
    // How long the splash stays after finish().
    static constexpr int CloseMs = 3000;
    ~DialogSplash() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void slotTimeout();

private:
    DialogSplash();

    static DialogSplash* mpSplash;
    QTimer* mTimer = nullptr;
    QList<QString> mLines;
    QPixmap* mImage = nullptr;
};

} // namespace KAVO

#endif
