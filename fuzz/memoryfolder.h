#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// A template for QTemporaryDir in memory where the system has one: every execution writes files,
// and a disk's file system makes that the fuzzer's slowest step.
inline QString memoryFolderTemplate(const char *target)
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString parent = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return parent + QLatin1Char('/') + QLatin1String(target) + QStringLiteral("-XXXXXX");
}
