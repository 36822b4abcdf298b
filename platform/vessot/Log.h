#pragma once
// The game's log: one entry per call, written whole and flushed at once, so a crash loses nothing
// and a copy taken while the game runs is complete. Entries logged before the file is known are kept
// and written into it when it is set. Thread-safe.

#include "vessot/Format.h"
#include "vessot/String.h"

namespace vessot {

class Log {
public:
    // "[channel] text"; the empty channel writes the text alone.
    static void write(const String& channel, const String& text);
    static void warn(const String& channel, const String& text);
    template <class... Args> static void errorf(const String& channel, const String& format, const Args&... args) {
        write(channel, "ERROR: " + jsprintf(format, args...));
    }
    // Directs the log to a file; newFile truncates it, otherwise entries are appended. When the file
    // cannot be opened, entries go on to standard error only (none are kept for later).
    static void setFilename(const String& path, bool newFile);
    static String getFilename();
    // Whether entries are also echoed to standard error (on by default).
    static void setEcho(bool echo);
    // Closes the file; later entries are kept in memory again until a file is set.
    static void reset();
    // Closes the file and drops later entries (echo aside) until a file is set: for runs whose log no
    // one reads.
    static void discard();
};

} // namespace vessot
