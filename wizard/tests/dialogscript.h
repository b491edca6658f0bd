#pragma once

#include "dialogs.h"

#include <QStringList>
#include <QTest>

// Answers the wizard's message boxes and choosers for one test: messages are recorded, each
// chooser takes the next queued answer. A chooser nobody queued an answer for fails the test
// instead of waiting for a person.
struct DialogScript
{
    struct ChooserCall
    {
        QList<dialogs::FileFilter> filters;
        QString initialFolder;
        QString title;
    };

    QList<dialogs::Message> messages;
    QStringList answers;
    QList<ChooserCall> chooserCalls;

    DialogScript()
    {
        dialogs::setMessageAnswerer([this](const dialogs::Message &m) { messages << m; });
        dialogs::setFileAnswerer([this](const QList<dialogs::FileFilter> &filters,
                                        const QString &initialFolder, const QString &title) {
            chooserCalls << ChooserCall{filters, initialFolder, title};
            if (answers.isEmpty()) {
                QTest::qFail("an unexpected file chooser opened", __FILE__, __LINE__);
                return QString();
            }
            return answers.takeFirst();
        });
    }
    ~DialogScript()
    {
        dialogs::setMessageAnswerer({});
        dialogs::setFileAnswerer({});
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const dialogs::Message &message : messages)
            texts << message.text;
        return texts;
    }
};

// The focus as the window sees it, by control name.
inline QString focusedName(QWidget *page)
{
    QWidget *focused = page->focusWidget();
    return focused ? focused->objectName() : QString();
}

// Presses key in the focused control n times and names the controls the focus visits.
inline QStringList focusTrail(QWidget *page, Qt::Key key, int presses)
{
    QStringList trail{focusedName(page)};
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(page->focusWidget(), key);
        QCoreApplication::processEvents(); // the Tab that Enter posts
        trail << focusedName(page);
    }
    return trail;
}
