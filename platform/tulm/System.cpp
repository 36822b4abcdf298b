#include "tulm/System.h"

#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tulm {

namespace {

vessot::String environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? vessot::String(value) : vessot::String();
}

vessot::String homeFolder() {
    vessot::String home = environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid())) {
            home = entry->pw_dir;
        }
    }
    if (home.empty()) {
        throw vessot::exception("Cannot find the user's home folder", __FILE__, __LINE__);
    }
    return home;
}

// The first executable of that name on $PATH, "" when there is none.
vessot::String findProgram(const vessot::String& name) {
    vessot::String searchPath = environment("PATH");
    if (searchPath.empty()) {
        searchPath = "/usr/local/bin:/usr/bin:/bin";
    }
    for (const vessot::String& folder : searchPath.split(":", -1, true)) {
        vessot::String candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

// Runs the program with one argument in a grandchild process that is not ours to wait for; answers
// whether it could be started. A close-on-exec pipe reports a failed exec back to us.
bool launchDetached(const vessot::String& program, const vessot::String& argument) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return false;
    }
    // Everything the children need is prepared before fork: after it only async-signal-safe calls.
    vessot::String programCopy = program;
    vessot::String argumentCopy = argument;
    char* argv[] = {programCopy.data(), argumentCopy.data(), nullptr};
    pid_t child = fork();
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) {
            _exit(grandchild < 0 ? 1 : 0);
        }
        close(pipeEnds[0]);
        execv(argv[0], argv);
        int error = errno;
        (void)!write(pipeEnds[1], &error, sizeof error);
        _exit(127);
    }
    close(pipeEnds[1]);
    int status = 0;
    bool childExited =
        child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    int error = 0;
    ssize_t got;
    do {
        got = read(pipeEnds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(pipeEnds[0]);
    return childExited && got == 0;
}

// The lock file opened for locking, -1 with the reason when it cannot serve: only a regular file
// (made when missing) does, never a folder, a pipe or a device that stands in its place.
int openLockFile(const vessot::String& path, vessot::String& reason) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        reason = "not a regular file";
        return -1;
    }
    return fd;
}

// Takes an exclusive lock on the open descriptor without waiting: 0 when taken (the descriptor stays
// open, the lock lives with it), else the errno of the failure, and the descriptor is closed.
int lockExclusively(int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return 0;
    }
    int error = errno;
    close(fd);
    return error;
}

} // namespace

vessot::String createSystemPath(const vessot::String& maker, const vessot::String& title, int kind) {
    (void)kind;
    vessot::String folder = environment("ZEPH_USER_DIR");
    if (!folder.empty()) {
        folder = std::filesystem::absolute(std::filesystem::path(std::string(folder))).lexically_normal().string();
    } else {
        // The XDG rules ignore a relative $XDG_DATA_HOME.
        vessot::String base = environment("XDG_DATA_HOME");
        if (!base.startsWith("/")) {
            base = homeFolder() + "/.local/share";
        }
        folder = base + "/" + maker + "/" + title;
    }
    if (!folder.endsWith("/")) {
        folder += "/";
    }
    if (!vessot::Dir::exists(folder) && !vessot::Dir::create(folder)) {
        throw vessot::exception("Cannot create the user folder " + folder, __FILE__, __LINE__);
    }
    return folder;
}

bool holdExclusiveLock(const vessot::String& path) {
    // A second open description of the file would be refused by the lock of the first: the files this
    // process holds are answered from here.
    static std::set<vessot::String> held;
    if (held.count(path)) {
        return true;
    }
    vessot::String reason;
    int fd = openLockFile(path, reason);
    int error = fd < 0 ? -1 : lockExclusively(fd);
    if (error == 0) {
        held.insert(path);
        return true;
    }
    if (error == EWOULDBLOCK) {
        return false;
    }
    if (error > 0) {
        reason = std::strerror(error);
    }
    // Every copy meets the same file in the way, so every copy locks the folder instead.
    int folderFd = open(vessot::DirBase::dirname(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int folderError = folderFd < 0 ? errno : lockExclusively(folderFd);
    if (folderError == EWOULDBLOCK) {
        return false;
    }
    if (folderError == 0) {
        vessot::Log::warn("tulm", "Cannot lock " + path + " (" + reason + "): locking its folder instead");
        held.insert(path);
    } else {
        vessot::Log::warn("tulm", "Cannot lock " + path + " (" + reason + ") nor its folder (" +
                                      std::strerror(folderError) + "): going on without the lock");
    }
    return true;
}

bool openUrl(const vessot::String& url) {
    if (environment("ZEPH_HEADLESS") == "1") {
        vessot::Log::write("tulm", "Headless run, not opening " + url);
        return false;
    }
    vessot::String program = findProgram("xdg-open");
    if (program.empty()) {
        vessot::Log::warn("tulm", "Cannot open " + url + ": xdg-open is not installed");
        return false;
    }
    if (!launchDetached(program, url)) {
        vessot::Log::warn("tulm", "Cannot open " + url + ": " + program + " did not start");
        return false;
    }
    vessot::Log::write("tulm", "Opening " + url);
    return true;
}

} // namespace tulm
