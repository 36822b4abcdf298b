#include "vessot/Log.h"

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace vessot {

namespace {

struct LogState {
    std::mutex mutex;
    FILE* file = nullptr;
    String path;
    String pending;
    // Set when the file could not be opened, or the log is discarded: entries then only go to
    // standard error, rather than piling up in memory for a file that will not come.
    bool unavailable = false;
    bool echo = true;

    ~LogState() {
        if (file) {
            std::fclose(file);
        }
    }
};

LogState& state() {
    static LogState s;
    return s;
}

// The log file opened for writing. Only a regular file (made when missing) serves: a pipe in its
// place would hold the game until something reads it, a device would take the log.
FILE* openLogFile(const String& path, bool newFile) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (newFile ? O_TRUNC : O_APPEND), 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st;
    FILE* f = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        f = ::fdopen(fd, newFile ? "wb" : "ab");
    }
    if (!f) {
        ::close(fd);
    }
    return f;
}

// Closes the file and forgets what waits for one; later entries wait for the next file, or are dropped.
void closeFile(bool dropLater) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.file) {
        std::fclose(s.file);
        s.file = nullptr;
    }
    s.path.clear();
    s.pending.clear();
    s.unavailable = dropLater;
}

} // namespace

void Log::write(const String& channel, const String& text) {
    String entry = channel.empty() ? text : "[" + channel + "] " + text;
    entry.push_back('\n');
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.file) {
        std::fwrite(entry.data(), 1, entry.size(), s.file);
        std::fflush(s.file);
    } else if (!s.unavailable) {
        s.pending += entry;
    }
    if (s.echo) {
        std::fwrite(entry.data(), 1, entry.size(), stderr);
    }
}

void Log::warn(const String& channel, const String& text) {
    write(channel, "WARNING: " + text);
}

void Log::setFilename(const String& path, bool newFile) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    FILE* f = openLogFile(path, newFile);
    if (!f) {
        // Without a file the log still works in memory; the caller's own checks report the folder.
        std::fprintf(stderr, "[vessot] ERROR: cannot open log file %s\n", path.c_str());
        s.pending.clear();
        s.unavailable = true;
        return;
    }
    if (s.file) {
        std::fclose(s.file);
    }
    s.file = f;
    s.path = path;
    s.unavailable = false;
    std::fwrite(s.pending.data(), 1, s.pending.size(), s.file);
    std::fflush(s.file);
    s.pending.clear();
}

String Log::getFilename() {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.path;
}

void Log::setEcho(bool echo) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.echo = echo;
}

void Log::reset() {
    closeFile(false);
}

void Log::discard() {
    closeFile(true);
}

} // namespace vessot
