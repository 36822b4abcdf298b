#include "nimbo/InstanceRecord.h"

#include "vessot/Exception.h"
#include "vessot/File.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbo {

namespace {

vessot::String recordFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        return vessot::String(runtime) + "/zeph";
    }
    return "/tmp/zeph-" + vessot::String((unsigned)getuid());
}

// The process's start time in clock ticks since boot (field 22 of /proc/PID/stat); "" when the
// process does not exist.
vessot::String processStartTime(int pid) {
    vessot::String path = "/proc/" + vessot::String(pid) + "/stat";
    if (!vessot::File::exists(path)) {
        return "";
    }
    vessot::String stat;
    try {
        stat = vessot::File::hread(path);
    } catch (const vessot::exception&) {
        return ""; // ended while being read
    }
    // The command name in field 2 may hold blanks and parentheses: count from its closing one.
    size_t close = stat.rfind(')');
    if (close == vessot::String::npos) {
        return "";
    }
    vessot::Array<vessot::String> fields = stat.substr(close + 2).split(" ");
    return fields.size() > 19 ? fields[19] : "";
}

void removeOwnRecord() {
    removeWindowTitleRecord((int)getpid());
}

// Whether the record of a process was made by the process that now runs under its id; its title
// comes with it.
bool isCurrentRecord(int pid, vessot::String& title) {
    vessot::String path = windowTitleRecordPath(pid);
    vessot::String started;
    try {
        if (!vessot::File::exists(path) || !vessot::File::hread(path).split("\n", started, title)) {
            return false;
        }
    } catch (const vessot::exception&) {
        return false; // removed while being read
    }
    return !started.empty() && started == processStartTime(pid);
}

// Removes the records of processes that have ended (killed ones never remove their own).
void removeEndedRecords(const vessot::String& folder) {
    const vessot::String prefix = "window-";
    for (const vessot::String& name : vessot::Dir::files(folder)) {
        vessot::String number = name.substr(prefix.size());
        int pid = number.toInt();
        vessot::String title;
        if (name.startsWith(prefix) && pid > 0 && vessot::String(pid) == number && !isCurrentRecord(pid, title)) {
            removeWindowTitleRecord(pid);
        }
    }
}

} // namespace

vessot::String windowTitleRecordPath(int pid) {
    return recordFolder() + "/window-" + vessot::String(pid);
}

bool recordWindowTitle(int pid, const vessot::String& title) {
    vessot::String started = processStartTime(pid);
    vessot::String folder = recordFolder();
    mkdir(folder.c_str(), 0700);
    if (started.empty() || !vessot::Dir::exists(folder)) {
        return false;
    }
    try {
        vessot::writeFileAtomically(windowTitleRecordPath(pid), started + "\n" + title);
    } catch (const vessot::exception&) {
        return false;
    }
    if (pid == (int)getpid()) {
        static bool registered = std::atexit(removeOwnRecord) == 0 && std::at_quick_exit(removeOwnRecord) == 0;
        (void)registered;
        removeEndedRecords(folder);
    }
    return true;
}

void removeWindowTitleRecord(int pid) {
    vessot::File::remove(windowTitleRecordPath(pid));
}

vessot::String getWindowTitle(unsigned long handle) {
    vessot::String title;
    return isCurrentRecord((int)handle, title) ? title : "";
}

} // namespace nimbo
