#pragma once
// Files, the game's read-only resources, folders and the byte streams over them.
// Binary numbers are little-endian. A relative path resolves against the resource root (the
// working directory, or $ZEPH_DATA_DIR); user-folder paths are absolute.

#include "vessot/Array.h"
#include "vessot/String.h"

#include <cstdint>
#include <cstdio>
#include <functional>

namespace vessot {

// The folder relative paths resolve against; read from $ZEPH_DATA_DIR on first use.
String resourceRoot();
void setResourceRoot(const String& path);
// The path as the operating system sees it: absolute paths unchanged, relative ones under the root.
String resolvePath(const String& path);

class StreamBase {
public:
    enum class SeekOrigin { Start, Current, End };

    virtual ~StreamBase();
    StreamBase(const StreamBase&) = delete;
    StreamBase& operator=(const StreamBase&) = delete;

    // Reads up to the delimiter (consumed, not returned) or to the end; the empty delimiter reads
    // everything that is left.
    String read(const String& delimiter = "");
    // One line without its "\n".
    String read_line();
    void write(const String& text);
    void write_line(const String& text);
    int32_t load_int();
    int16_t load_short();
    uint8_t load_uchar();
    float load_float();
    void dump_int(int32_t value);
    void dump_short(int16_t value);
    // Raw bytes; answers how many were read.
    int read_raw(void* buffer, int count);
    void write_raw(const void* buffer, int count);

    int64_t size() const;
    int64_t position() const;
    void seek(int64_t offset, SeekOrigin origin = SeekOrigin::Start);
    // True as soon as no byte is left to read.
    bool eof() const;
    bool isOpen() const { return handle != nullptr; }
    const String& getFilename() const { return filename; }
    // Flushes and closes; a failed flush or close throws naming the file.
    void close();

protected:
    StreamBase() = default;
    void openHandle(const String& shownName, const String& osPath, const char* mode);

    FILE* handle = nullptr;
    String filename;

private:
    void requireOpen() const;
    int peekByte();
};

class File : public StreamBase {
public:
    enum AccessMode { READ, WRITE, APPEND, READ_WRITE };

    File() = default;
    // Opening a missing file for reading throws _file_not_found.
    File(const String& path, AccessMode mode = READ);
    void open(const String& path, AccessMode mode = READ);

    static bool exists(const String& path);
    // Makes an empty file (and every missing folder on its path); false on failure, never throws.
    static bool create(const String& path);
    static bool copy(const String& source, const String& destination, bool overwrite = false);
    static bool remove(const String& path);
    // Never replaces an existing file.
    static bool rename(const String& oldPath, const String& newPath);
    static String hread(const String& path);
    using StreamBase::size;
    static int64_t size(const String& path);
};

// A read-only game file under the resource root.
class Resource : public StreamBase {
public:
    Resource() = default;
    explicit Resource(const String& path);
    void open(const String& path);

    // With filesOnly, a folder of that name does not count.
    static bool exists(const String& path, bool filesOnly = false);
    static String hread(const String& path);
};

// Writes a file so that a failure never leaves it half written: the text goes to a temporary file
// in the same folder, which is flushed, synced and renamed into place. On failure the temporary
// file is removed, the old file stays whole, and a vessot::exception naming the target is thrown.
void writeFileAtomically(const String& path, const std::function<void(StreamBase&)>& writer);
void writeFileAtomically(const String& path, const String& content);
// Removes what writeFileAtomically leaves behind when the process ends during a write (the target's
// name + ".tmp-" + six letters or digits) in the folder and the folders below it, and nothing
// else; answers how many files went. Call it only while nothing else writes there.
int removeAtomicWriteLeftovers(const String& folder);

class DirBase {
public:
    // The non-empty components of a path: "a/b//c.txt" gives "a", "b", "c.txt".
    static Array<String> split_path(const String& path);
    // The folder part of a path ("" when it has none) and the last component.
    static String dirname(const String& path);
    static String basename(const String& path);
    // Joins with exactly one "/".
    static String join(const String& a, const String& b);
    // Whether a name from data or configuration stays inside the folder it is joined to: it is not
    // absolute and none of its segments (a "/" or a backslash separates them) is "..".
    static bool staysInside(const String& path);
};

// Folders in the file system. Listings are sorted by name and never hold "." or "..".
class Dir : public DirBase {
public:
    static Array<String> contents(const String& path, bool fullPaths = false);
    static Array<String> files(const String& path, bool fullPaths = false);
    static Array<String> directories(const String& path, bool fullPaths = false);
    // Makes the folder and every missing parent; false on failure, with the system's reason in
    // *reason when one is given.
    static bool create(const String& path, String* reason = nullptr);
    // Removes the folder and everything in it; false on failure. Where that fails, the folder and
    // the folders in it that the process's user owns get their owner's read, write and search
    // permission, and the removal is tried again.
    static bool remove(const String& path);
    static bool exists(const String& path);
    // Renames a folder, never over anything that stands under the new name; false on failure, with
    // the system's reason in *reason when one is given.
    static bool rename(const String& oldPath, const String& newPath, String* reason = nullptr);
    // Swaps two folders in one step, so that neither name is ever missing; false on failure and
    // where the file system cannot swap.
    static bool exchange(const String& a, const String& b);
    // Writes the folder's own entries to disk, so that the names renamed in it keep their new places
    // through a power cut; false on failure.
    static bool sync(const String& path);
    // Whether the path names a folder itself, not a link to one.
    static bool isFolder(const String& path);
};

// Folders of the game's resources (read-only), listed like Dir.
class ResourceDir : public DirBase {
public:
    static Array<String> contents(const String& path, bool fullPaths = false);
    static Array<String> files(const String& path, bool fullPaths = false);
    static Array<String> directories(const String& path, bool fullPaths = false);
    static bool exists(const String& path);
};

} // namespace vessot
