#ifndef ORLO_KERNEL_H
#define ORLO_KERNEL_H

class QApplication;
class QStyle;

namespace KAVO {

class DialogMain;

// Application singleton: the main window, the Qt application and the two
// shared widget styles.
class Kernel
{
public:
    static Kernel* instance();

    Kernel(const Kernel&) = delete;
    Kernel& operator=(const Kernel&) = delete;

    // Shared styles: widgets call setStyle with them and never delete them.
    QStyle* getStyle();
    QStyle* getStyle2();

    DialogMain* mDialogMain = nullptr;
    QApplication* mApplication = nullptr;

private:
    Kernel();

    QStyle* mStyle = nullptr;
    QStyle* mStyle2 = nullptr;
};

} // namespace KAVO

#endif
