#pragma once
// What the game needs of the desktop: its per-user writable folder and opening a web address.

#include "vessot/String.h"

namespace tulm {

// The per-user folder for the game's files: $XDG_DATA_HOME (default ~/.local/share) + "/" + maker +
// "/" + title + "/", or $ZEPH_USER_DIR made absolute when set. Created when missing; always ends with
// "/". kind names the sort of folder; Linux has one. Throws a vessot::exception when the folder
// cannot be created.
vessot::String createSystemPath(const vessot::String& maker, const vessot::String& title, int kind);

// Takes an exclusive advisory lock on the file (created when missing) and holds it until the process
// ends; the system releases it then, also when the process is killed. When the file cannot serve (a
// folder or another non-regular file in its place, no permission, a read-only folder) the folder that
// holds it is locked instead, and the reason logged. False only when another process holds the lock;
// when neither can be locked at all, that is logged and the answer is true.
bool holdExclusiveLock(const vessot::String& path);

// Opens the address with the desktop's handler (xdg-open), without a shell and without waiting for
// it. Answers whether the handler was started; headless runs only log the address and answer false.
bool openUrl(const vessot::String& url);

} // namespace tulm
