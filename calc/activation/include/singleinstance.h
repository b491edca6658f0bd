#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QStandardPaths>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// Where this user's running calculators keep their claims and places: the session's runtime
// folder, else a folder of the user's own in the cache. Never the shared temporary folder, where
// another user could put a lock that keeps the calculator from starting.
QString runtimeFolder(const QString &sessionFolder =
                          QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));

// This calculator's claim to be the only one started from its program file, held for the whole
// run. Copies in other skin folders are other programs and run side by side. The lock is a file
// in the runtime folder that names the holder's process, so a copy that crashed blocks no later
// start; beside it the holder listens on a local socket named alike, so that a later start can
// ask it to come to the front, and the shelf can ask it to end before its skin is removed.
class SingleInstance
{
public:
    // The claim, or nothing when another copy holds it. Where no lock can be made at all, the
    // calculator starts rather than refuse.
    static std::unique_ptr<SingleInstance> claim(const QString &programFile);

    // comeForward runs whenever a later start of the same program asks for this copy, with
    // the proof that lets it take the focus (see activation.h).
    void onLaterStart(std::function<void(const QByteArray &proof)> comeForward);
    // end runs whenever this copy is asked to end; it ends as closing its window ends it.
    void onEndRequest(std::function<void()> end);

private:
    explicit SingleInstance(const QString &programFile);
    void answer(const QByteArray &request) const;

    QLockFile m_lock;
    QLocalServer m_server;
    std::function<void(const QByteArray &proof)> m_comeForward;
    std::function<void()> m_end;
};

// The process of the copy holding the claim, if one does and still runs.
std::optional<qint64> claimHolder(const QString &programFile);

// Asks the copy holding the claim to come to the front; nothing happens where none listens.
void askRunningCopyForward(const QString &programFile, const QByteArray &proof);

// Asks the copy holding the claim to end; its claim is free once it has.
void askRunningCopyToEnd(const QString &programFile);
