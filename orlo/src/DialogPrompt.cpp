#include "DialogPrompt.h"

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

namespace KAVO {

namespace {

class QtHandler : public DialogPrompt::Handler
{
public:
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                            const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }

    QString getSaveFileName(QWidget* parent, const QString& title, const QString& folder,
                            const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, folder, filter);
    }

    QString getExistingDirectory(QWidget* parent, const QString& title, const QString& folder) override
    {
        return QFileDialog::getExistingDirectory(parent, title, folder);
    }

    int warning(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
                int defaultButton) override
    {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
        QList<QPushButton*> pushButtons;
        for (const QString& b : buttons)
            pushButtons.append(box.addButton(b, QMessageBox::ActionRole));
        if (defaultButton >= 0 && defaultButton < pushButtons.size())
            box.setDefaultButton(pushButtons.at(defaultButton));
        box.exec();
        // Closing the box any other way gives -1.
        return pushButtons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    }

    void information(QWidget* parent, const QString& title, const QString& text, const QString& button) override
    {
        QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
        box.addButton(button, QMessageBox::AcceptRole);
        box.exec();
    }

    void critical(QWidget* parent, const QString& title, const QString& text, const QString& button) override
    {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, parent);
        box.addButton(button, QMessageBox::AcceptRole);
        box.exec();
    }
};

DialogPrompt::Handler*& installed()
{
    static DialogPrompt::Handler* h = nullptr;
    return h;
}

} // namespace

void DialogPrompt::setHandler(Handler* handler)
{
    installed() = handler;
}

DialogPrompt::Handler* DialogPrompt::handler()
{
    static QtHandler qtHandler;
    return installed() != nullptr ? installed() : &qtHandler;
}

QString DialogPrompt::getOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                      const QString& filter)
{
    return handler()->getOpenFileName(parent, title, folder, filter);
}

QString DialogPrompt::getSaveFileName(QWidget* parent, const QString& title, const QString& folder,
                                      const QString& filter)
{
    return handler()->getSaveFileName(parent, title, folder, filter);
}

QString DialogPrompt::getExistingDirectory(QWidget* parent, const QString& title, const QString& folder)
{
    return handler()->getExistingDirectory(parent, title, folder);
}

int DialogPrompt::warning(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
                          int defaultButton)
{
    return handler()->warning(parent, title, text, buttons, defaultButton);
}

void DialogPrompt::information(QWidget* parent, const QString& title, const QString& text, const QString& button)
{
    handler()->information(parent, title, text, button);
}

void DialogPrompt::critical(QWidget* parent, const QString& title, const QString& text, const QString& button)
{
    handler()->critical(parent, title, text, button);
}

} // namespace KAVO
