#pragma once
// The single-instance record: at window creation each process records its window's title in a
// small file of a per-user folder ($XDG_RUNTIME_DIR/zeph, else /tmp/zeph-UID), together with the
// process's start time, so that a later start can ask whether that window still exists.

#include "vessot/String.h"

namespace nimbo {

// The title the live process `handle` (a process id, Window::getNativeHandle) recorded; "" when
// there is no record, the process has ended, or its id now belongs to a process started later.
vessot::String getWindowTitle(unsigned long handle);

// Records the title for a running process (replacing an earlier record); the record of the
// calling process is also removed when it exits. False when the process or the folder is missing.
bool recordWindowTitle(int pid, const vessot::String& title);
void removeWindowTitleRecord(int pid);
// The file holding a process's record: its start time on the first line, the title on the second.
vessot::String windowTitleRecordPath(int pid);

} // namespace nimbo
