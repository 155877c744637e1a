#ifndef ORLO_DIALOGMAIN_H
#define ORLO_DIALOGMAIN_H

#include <QMainWindow>

namespace KAVO {

// The application's main window.
class DialogMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit DialogMain(QWidget* parent = nullptr);
    ~DialogMain() override;

    void setProgress(int percent);
};

} // namespace KAVO

#endif
