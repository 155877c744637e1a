#ifndef ORLO_SCRIPTEDPROMPT_H
#define ORLO_SCRIPTEDPROMPT_H

// Answers the windows' file dialogs and message boxes from queues that a
// test fills, and records what was asked, so that no test blocks on a modal
// dialog. An unexpected question fails the test and is answered with
// "cancel" (a null text, or -1).
#include "DialogPrompt.h"

#include <QQueue>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class ScriptedPrompt : public KAVO::DialogPrompt::Handler
{
public:
    struct Asked
    {
        QString kind;
        QString title;
        QString text;   // message text, or the start folder of a file dialog
        QString filter; // file filter, or the button texts joined by "|"
    };

    ScriptedPrompt() { KAVO::DialogPrompt::setHandler(this); }
    ~ScriptedPrompt() override { KAVO::DialogPrompt::setHandler(nullptr); }

    QQueue<QString> files;  // answers of the file dialogs
    QQueue<int> buttons;    // answers of the warning boxes
    QList<Asked> asked;

    QString getOpenFileName(QWidget*, const QString& title, const QString& folder, const QString& filter) override
    {
        return file("open", title, folder, filter);
    }
    QString getSaveFileName(QWidget*, const QString& title, const QString& folder, const QString& filter) override
    {
        return file("save", title, folder, filter);
    }
    QString getExistingDirectory(QWidget*, const QString& title, const QString& folder) override
    {
        return file("folder", title, folder, QString());
    }
    int warning(QWidget*, const QString& title, const QString& text, const QStringList& b, int) override
    {
        asked.append({ "warning", title, text, b.join('|') });
        if (buttons.isEmpty()) {
            ADD_FAILURE() << "unexpected warning box: " << text.toStdString();
            return -1;
        }
        return buttons.dequeue();
    }
    void information(QWidget*, const QString& title, const QString& text, const QString& button) override
    {
        asked.append({ "information", title, text, button });
    }
    void critical(QWidget*, const QString& title, const QString& text, const QString& button) override
    {
        asked.append({ "critical", title, text, button });
    }

    int count(const QString& kind) const
    {
        int n = 0;
        for (const Asked& a : asked)
            n += a.kind == kind ? 1 : 0;
        return n;
    }

private:
    QString file(const char* kind, const QString& title, const QString& folder, const QString& filter)
    {
        asked.append({ kind, title, folder, filter });
        if (files.isEmpty()) {
            ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
            return QString();
        }
        return files.dequeue();
    }
};

#endif
