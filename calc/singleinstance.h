#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Whether this calculator is the only one started from its program file. Copies in other
// skin folders are other programs and run side by side. The lock is a file in the runtime
// folder that names the holder's process, so a copy that crashed blocks no later start.
//
// Returns the held lock, to keep for the whole run, or nothing when another copy holds it.
// Where no lock can be made at all, the calculator starts rather than refuse.
std::unique_ptr<QLockFile> claimSingleInstance(const QString &programFile);

// The lock file's path for a program file: one per canonical program path.
QString singleInstanceLockPath(const QString &programFile);
