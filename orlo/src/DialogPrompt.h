#ifndef ORLO_DIALOGPROMPT_H
#define ORLO_DIALOGPROMPT_H

#include <QString>
#include <QStringList>

class QWidget;

namespace KAVO {

// Every file dialog and message box of the windows goes through here, so
// that a test can install its own answers instead of a blocking modal box.
class DialogPrompt
{
public:
    // The answering side. The default one shows the real Qt dialogs.
    class Handler
    {
    public:
        virtual ~Handler() = default;
        // A null text when the user cancelled.
        virtual QString getOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                        const QString& filter) = 0;
        virtual QString getSaveFileName(QWidget* parent, const QString& title, const QString& folder,
                                        const QString& filter) = 0;
        virtual QString getExistingDirectory(QWidget* parent, const QString& title, const QString& folder) = 0;
        // The index of the pressed button, -1 when the box was closed otherwise.
        virtual int warning(QWidget* parent, const QString& title, const QString& text,
                            const QStringList& buttons, int defaultButton) = 0;
        virtual void information(QWidget* parent, const QString& title, const QString& text,
                                 const QString& button) = 0;
        virtual void critical(QWidget* parent, const QString& title, const QString& text,
                              const QString& button) = 0;
    };

    // Installs a handler (not owned); null restores the real dialogs.
    static void setHandler(Handler* handler);
    static Handler* handler();

    static QString getOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                   const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& title, const QString& folder,
                                   const QString& filter);
    static QString getExistingDirectory(QWidget* parent, const QString& title, const QString& folder);
    static int warning(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
                       int defaultButton);
    static void information(QWidget* parent, const QString& title, const QString& text, const QString& button);
    static void critical(QWidget* parent, const QString& title, const QString& text, const QString& button);
};

} // namespace KAVO

#endif
