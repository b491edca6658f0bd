#pragma once

#include <QtGlobal>

// Whether the process of that id runs: also one of another user, which this one may not signal.
bool processRuns(qint64 pid);
