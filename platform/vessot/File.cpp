#include "vessot/File.h"

#include "vessot/Log.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace vessot {

namespace {

std::mutex rootMutex;
String root;
bool rootRead = false;

String errnoText() {
    return String(std::strerror(errno));
}

// The most File::hread takes: far beyond any file of the game's or the player's, so a larger one is
// damage (or a device that never ends) rather than text to hold in memory.
const int64_t MAX_WHOLE_READ = (int64_t)64 << 20;

// The atomic writer's temporary files are the target's name, this, and six letters or digits.
const char TEMP_SUFFIX[] = ".tmp-";
const int TEMP_RANDOM = 6;

bool isAtomicWriteTemporary(const String& name) {
    size_t at = name.size() >= sizeof TEMP_SUFFIX + TEMP_RANDOM ? name.size() - TEMP_RANDOM - (sizeof TEMP_SUFFIX - 1)
                                                                : String::npos;
    return at != String::npos && name.compare(at, sizeof TEMP_SUFFIX - 1, TEMP_SUFFIX) == 0 &&
           std::all_of(name.end() - TEMP_RANDOM, name.end(), [](char c) { return std::isalnum((unsigned char)c); });
}

// The mode an ordinary create gives a new file: 0666 less the umask. The mask is read by setting it,
// so that happens once as the process starts, before a thread could create a file while it is 0.
const mode_t NEW_FILE_MODE = [] {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return (mode_t)(0666 & ~mask);
}();

// The mode the atomic writer gives its file: a file it replaces keeps its own.
mode_t modeForWriting(const String& target) {
    struct stat st;
    return ::stat(target.c_str(), &st) == 0 ? (mode_t)(st.st_mode & 07777) : NEW_FILE_MODE;
}

// Opens an existing file for reading ("r" modes) without waiting on a pipe: a pipe or a device in a
// file's place would block the reader or never end, so only a regular file (or a folder, which the
// caller refuses) opens. Null with errno set when the file cannot be opened.
FILE* openForReading(const String& shownName, const String& osPath, const char* mode) {
    int fd = ::open(osPath.c_str(), (std::strchr(mode, '+') ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))) {
        ::close(fd);
        throw exception("Cannot open " + shownName + ": it is not a regular file", __FILE__, __LINE__, "IOError");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* f = ::fdopen(fd, mode);
    if (!f) {
        int error = errno;
        ::close(fd);
        errno = error;
    }
    return f;
}

} // namespace

String resourceRoot() {
    std::lock_guard<std::mutex> lock(rootMutex);
    if (!rootRead) {
        const char* env = std::getenv("ZEPH_DATA_DIR");
        root = env ? String(env) : String();
        rootRead = true;
    }
    return root;
}

void setResourceRoot(const String& path) {
    std::lock_guard<std::mutex> lock(rootMutex);
    root = path;
    rootRead = true;
}

String resolvePath(const String& path) {
    if (path.startsWith("/")) {
        return path;
    }
    String base = resourceRoot();
    if (base.empty()) {
        return path;
    }
    return DirBase::join(base, path);
}

// ---------------------------------------------------------------- streams

StreamBase::~StreamBase() {
    if (handle) {
        // A destructor must not throw; a close that fails here is logged instead.
        if (std::fclose(handle) != 0) {
            Log::write("vessot", "ERROR: closing " + filename + " failed: " + errnoText());
        }
        handle = nullptr;
    }
}

void StreamBase::openHandle(const String& shownName, const String& osPath, const char* mode) {
    close();
    FILE* f = mode[0] == 'r' ? openForReading(shownName, osPath, mode) : std::fopen(osPath.c_str(), mode);
    if (!f) {
        if (errno == ENOENT && mode[0] == 'r') {
            throw _file_not_found(shownName, __FILE__, __LINE__);
        }
        throw exception("Cannot open " + shownName + ": " + errnoText(), __FILE__, __LINE__, "IOError");
    }
    struct stat st;
    if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        throw exception("Cannot open " + shownName + ": it is a folder", __FILE__, __LINE__, "IOError");
    }
    handle = f;
    filename = shownName;
}

void StreamBase::requireOpen() const {
    if (!handle) {
        throw exception("Stream is not open: " + filename, __FILE__, __LINE__, "IOError");
    }
}

void StreamBase::close() {
    if (!handle) {
        return;
    }
    FILE* f = handle;
    handle = nullptr;
    bool flushed = std::fflush(f) == 0;
    bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) {
        throw exception("Writing " + filename + " failed: " + errnoText(), __FILE__, __LINE__, "IOError");
    }
}

int StreamBase::peekByte() {
    int c = std::fgetc(handle);
    if (c != EOF) {
        std::ungetc(c, handle);
    }
    return c;
}

bool StreamBase::eof() const {
    if (!handle) {
        return true;
    }
    return const_cast<StreamBase*>(this)->peekByte() == EOF;
}

String StreamBase::read(const String& delimiter) {
    requireOpen();
    String result;
    if (delimiter.empty()) {
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof(buf), handle)) > 0) {
            result.append(buf, n);
        }
        return result;
    }
    int c;
    while ((c = std::fgetc(handle)) != EOF) {
        result.push_back((char)c);
        if (result.endsWith(delimiter)) {
            result.resize(result.size() - delimiter.size());
            break;
        }
    }
    return result;
}

String StreamBase::read_line() {
    return read("\n");
}

void StreamBase::write_raw(const void* buffer, int count) {
    requireOpen();
    if (count > 0 && std::fwrite(buffer, 1, (size_t)count, handle) != (size_t)count) {
        throw exception("Writing " + filename + " failed: " + errnoText(), __FILE__, __LINE__, "IOError");
    }
}

void StreamBase::write(const String& text) {
    write_raw(text.data(), (int)text.size());
}

void StreamBase::write_line(const String& text) {
    write(text);
    write("\n");
}

int StreamBase::read_raw(void* buffer, int count) {
    requireOpen();
    if (count <= 0) {
        return 0;
    }
    return (int)std::fread(buffer, 1, (size_t)count, handle);
}

namespace {

template <class T> T fromLittleEndian(const unsigned char* b) {
    std::make_unsigned_t<T> v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        v = (std::make_unsigned_t<T>)(v | ((std::make_unsigned_t<T>)b[i] << (8 * i)));
    }
    return (T)v;
}

} // namespace

int32_t StreamBase::load_int() {
    unsigned char b[4];
    if (read_raw(b, 4) != 4) {
        throw exception("Unexpected end of " + filename, __FILE__, __LINE__, "IOError");
    }
    return fromLittleEndian<int32_t>(b);
}

int16_t StreamBase::load_short() {
    unsigned char b[2];
    if (read_raw(b, 2) != 2) {
        throw exception("Unexpected end of " + filename, __FILE__, __LINE__, "IOError");
    }
    return fromLittleEndian<int16_t>(b);
}

uint8_t StreamBase::load_uchar() {
    unsigned char b;
    if (read_raw(&b, 1) != 1) {
        throw exception("Unexpected end of " + filename, __FILE__, __LINE__, "IOError");
    }
    return b;
}

float StreamBase::load_float() {
    uint32_t bits = (uint32_t)load_int();
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void StreamBase::dump_int(int32_t value) {
    unsigned char b[4];
    for (int i = 0; i < 4; ++i) {
        b[i] = (unsigned char)(((uint32_t)value >> (8 * i)) & 0xFF);
    }
    write_raw(b, 4);
}

void StreamBase::dump_short(int16_t value) {
    unsigned char b[2] = {(unsigned char)((uint16_t)value & 0xFF), (unsigned char)((uint16_t)value >> 8)};
    write_raw(b, 2);
}

int64_t StreamBase::size() const {
    requireOpen();
    struct stat st;
    std::fflush(handle);
    if (fstat(fileno(handle), &st) != 0) {
        return 0;
    }
    return (int64_t)st.st_size;
}

int64_t StreamBase::position() const {
    requireOpen();
    return (int64_t)ftello(handle);
}

void StreamBase::seek(int64_t offset, SeekOrigin origin) {
    requireOpen();
    int whence = origin == SeekOrigin::Start ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (fseeko(handle, (off_t)offset, whence) != 0) {
        throw exception("Cannot seek in " + filename, __FILE__, __LINE__, "IOError");
    }
}

// ---------------------------------------------------------------- files

File::File(const String& path, AccessMode mode) {
    open(path, mode);
}

void File::open(const String& path, AccessMode mode) {
    const char* modes[] = {"rb", "wb", "ab", "r+b"};
    openHandle(path, resolvePath(path), modes[mode]);
}

bool File::exists(const String& path) {
    struct stat st;
    return ::stat(resolvePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool File::create(const String& path) {
    String osPath = resolvePath(path);
    String folder = DirBase::dirname(osPath);
    if (!folder.empty() && !Dir::create(folder)) {
        return false;
    }
    int fd = ::open(osPath.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

bool File::copy(const String& source, const String& destination, bool overwrite) {
    std::error_code ec;
    auto options = overwrite ? std::filesystem::copy_options::overwrite_existing : std::filesystem::copy_options::none;
    return std::filesystem::copy_file(resolvePath(source).c_str(), resolvePath(destination).c_str(), options, ec) &&
           !ec;
}

bool File::remove(const String& path) {
    return ::unlink(resolvePath(path).c_str()) == 0;
}

bool File::rename(const String& oldPath, const String& newPath) {
    String from = resolvePath(oldPath);
    String to = resolvePath(newPath);
    // link + unlink refuses an existing target atomically, where rename would replace it.
    if (::link(from.c_str(), to.c_str()) == 0) {
        return ::unlink(from.c_str()) == 0;
    }
    struct stat st;
    if (errno == EEXIST || ::stat(to.c_str(), &st) == 0) {
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

String File::hread(const String& path) {
    File f(path, READ);
    String text;
    char buffer[65536];
    size_t n;
    bool tooLarge = f.size() > MAX_WHOLE_READ;
    while (!tooLarge && (n = std::fread(buffer, 1, sizeof buffer, f.handle)) > 0) {
        text.append(buffer, n);
        tooLarge = (int64_t)text.size() > MAX_WHOLE_READ;
    }
    if (tooLarge) {
        throw exception("Cannot read " + path + ": it is larger than 64 MB", __FILE__, __LINE__, "IOError");
    }
    f.close();
    return text;
}

int64_t File::size(const String& path) {
    struct stat st;
    if (::stat(resolvePath(path).c_str(), &st) != 0) {
        return -1;
    }
    return (int64_t)st.st_size;
}

// ---------------------------------------------------------------- resources

Resource::Resource(const String& path) {
    open(path);
}

void Resource::open(const String& path) {
    openHandle(path, resolvePath(path), "rb");
}

bool Resource::exists(const String& path, bool filesOnly) {
    struct stat st;
    if (::stat(resolvePath(path).c_str(), &st) != 0) {
        return false;
    }
    return !filesOnly || !S_ISDIR(st.st_mode);
}

String Resource::hread(const String& path) {
    Resource r(path);
    String text = r.read();
    r.close();
    return text;
}

// ---------------------------------------------------------------- atomic writes

namespace {

// The folder's entries on disk; the path is the system's.
bool syncFolder(const String& osPath) {
    int fd = ::open(osPath.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

void writeFileAtomically(const String& path, const std::function<void(StreamBase&)>& writer) {
    String target = resolvePath(path);
    String folder = DirBase::dirname(target);
    String pattern = target + TEMP_SUFFIX + String(std::string(TEMP_RANDOM, 'X'));
    std::string name(pattern);
    int fd = mkstemp(name.data());
    if (fd < 0) {
        throw exception("Cannot write " + path + ": " + errnoText(), __FILE__, __LINE__, "IOError");
    }
    // mkstemp makes the file readable by its owner alone.
    if (::fchmod(fd, modeForWriting(target)) != 0) {
        String reason = errnoText();
        ::close(fd);
        ::unlink(name.c_str());
        throw exception("Cannot write " + path + ": " + reason, __FILE__, __LINE__, "IOError");
    }
    ::close(fd);
    String tmp(name);
    try {
        File out(tmp, File::WRITE);
        writer(out);
        out.close();
        int sync = ::open(tmp.c_str(), O_RDONLY);
        if (sync < 0 || ::fsync(sync) != 0) {
            if (sync >= 0) {
                ::close(sync);
            }
            throw exception("Cannot sync " + path, __FILE__, __LINE__, "IOError");
        }
        ::close(sync);
        if (::rename(tmp.c_str(), target.c_str()) != 0) {
            throw exception("Cannot replace " + path + ": " + errnoText(), __FILE__, __LINE__, "IOError");
        }
    } catch (const exception& e) {
        ::unlink(tmp.c_str());
        // Named by the target: the temporary file is gone and no one knows its name.
        String message = e.message().replaced(tmp, path);
        if (message.find(path) == std::string::npos) {
            message = "Writing " + path + " failed: " + message;
        }
        throw exception(message, __FILE__, __LINE__, "IOError");
    } catch (...) {
        ::unlink(tmp.c_str());
        throw;
    }
    syncFolder(folder.empty() ? "." : folder);
}

void writeFileAtomically(const String& path, const String& content) {
    writeFileAtomically(path, [&](StreamBase& out) { out.write(content); });
}

int removeAtomicWriteLeftovers(const String& folder) {
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(resolvePath(folder).c_str(), fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && !it->is_symlink(ec) && isAtomicWriteTemporary(it->path().filename().string()) &&
            ::unlink(it->path().c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

// ---------------------------------------------------------------- folders

Array<String> DirBase::split_path(const String& path) {
    return path.split("/", -1, true);
}

bool DirBase::staysInside(const String& path) {
    if (path.startsWith("/") || path.startsWith("\\")) {
        return false;
    }
    for (const String& segment : path.replaced("\\", "/").split("/")) {
        if (segment == "..") {
            return false;
        }
    }
    return true;
}

String DirBase::dirname(const String& path) {
    size_t pos = path.rfind('/');
    if (pos == String::npos) {
        return "";
    }
    if (pos == 0) {
        return "/";
    }
    return path.substr(0, pos);
}

String DirBase::basename(const String& path) {
    size_t pos = path.rfind('/');
    return pos == String::npos ? path : path.substr(pos + 1);
}

String DirBase::join(const String& a, const String& b) {
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    String left = a;
    while (left.size() > 1 && left.endsWith("/")) {
        left.pop_back();
    }
    size_t start = b.find_first_not_of('/');
    String right = start == String::npos ? String() : b.substr(start);
    return left == "/" ? left + right : left + "/" + right;
}

namespace {

enum class Kind { Any, Files, Folders };

Array<String> listFolder(const String& path, bool fullPaths, Kind kind) {
    Array<String> names;
    String osPath = resolvePath(path);
    DIR* dir = ::opendir(osPath.c_str());
    if (!dir) {
        return names;
    }
    while (struct dirent* entry = ::readdir(dir)) {
        String name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        if (kind != Kind::Any) {
            struct stat st;
            bool isDir = ::stat(DirBase::join(osPath, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            if (isDir != (kind == Kind::Folders)) {
                continue;
            }
        }
        names.add(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    if (fullPaths) {
        for (String& name : names) {
            name = DirBase::join(path, name);
        }
    }
    return names;
}

} // namespace

Array<String> Dir::contents(const String& path, bool fullPaths) {
    return listFolder(path, fullPaths, Kind::Any);
}
Array<String> Dir::files(const String& path, bool fullPaths) {
    return listFolder(path, fullPaths, Kind::Files);
}
Array<String> Dir::directories(const String& path, bool fullPaths) {
    return listFolder(path, fullPaths, Kind::Folders);
}

bool Dir::create(const String& path, String* reason) {
    std::error_code ec;
    std::filesystem::create_directories(resolvePath(path).c_str(), ec);
    bool made = exists(path);
    if (!made && reason) {
        *reason = ec.message();
    }
    return made;
}

namespace {

// Gives the owner read, write and search permission on the folder and the folders below it where
// one is missing: without them a folder cannot be emptied. Links are not followed, and a folder of
// another owner keeps its mode.
void letOwnerEmpty(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return;
    }
    if ((st.st_mode & S_IRWXU) != S_IRWXU) {
        ::chmod(path.c_str(), st.st_mode | S_IRWXU);
    }
    std::error_code ec;
    for (std::filesystem::directory_iterator entry(path, ec), end; !ec && entry != end; entry.increment(ec)) {
        letOwnerEmpty(entry->path().string());
    }
}

} // namespace

bool Dir::remove(const String& path) {
    std::string osPath = resolvePath(path).c_str();
    std::error_code ec;
    std::filesystem::remove_all(osPath, ec);
    if (ec) {
        letOwnerEmpty(osPath);
        ec.clear();
        std::filesystem::remove_all(osPath, ec);
    }
    return !ec && !exists(path);
}

bool Dir::exists(const String& path) {
    struct stat st;
    return ::stat(resolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Dir::rename(const String& oldPath, const String& newPath, String* reason) {
    bool taken = exists(newPath) || File::exists(newPath);
    if (!taken && ::rename(resolvePath(oldPath).c_str(), resolvePath(newPath).c_str()) == 0) {
        return true;
    }
    if (reason) {
        *reason = taken ? String(std::strerror(EEXIST)) : errnoText();
    }
    return false;
}

bool Dir::exchange(const String& a, const String& b) {
    return ::renameat2(AT_FDCWD, resolvePath(a).c_str(), AT_FDCWD, resolvePath(b).c_str(), RENAME_EXCHANGE) == 0;
}

bool Dir::sync(const String& path) {
    return syncFolder(resolvePath(path));
}

bool Dir::isFolder(const String& path) {
    struct stat st;
    return ::lstat(resolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Array<String> ResourceDir::contents(const String& path, bool fullPaths) {
    return Dir::contents(path, fullPaths);
}
Array<String> ResourceDir::files(const String& path, bool fullPaths) {
    return Dir::files(path, fullPaths);
}
Array<String> ResourceDir::directories(const String& path, bool fullPaths) {
    return Dir::directories(path, fullPaths);
}
bool ResourceDir::exists(const String& path) {
    return Dir::exists(path);
}

} // namespace vessot
