#ifndef ORLO_DIALOGHELP_H
#define ORLO_DIALOGHELP_H

#include <QDialog>

// The help box; it has no contents yet.
class DialogHelp : public QDialog
{
    Q_OBJECT
public:
    explicit DialogHelp(QWidget* parent);

private slots:
    void slotClose();
};

#endif
