#pragma once
// Where a clip's bytes come from. The clip owns its source, and its worker thread is the only caller
// once the clip is made.

#include "vessot/File.h"
#include "vessot/String.h"

#include <cstdint>

class TheoraDataSource {
public:
    virtual ~TheoraDataSource() = default;
    // Reads up to nBytes; answers how many were read (0 at the end).
    virtual int read(void* output, int nBytes) = 0;
    // A name for log lines.
    virtual vessot::String repr() = 0;
    // To an absolute byte position.
    virtual void seek(uint64_t byteIndex) = 0;
    virtual uint64_t size() = 0;
    virtual uint64_t tell() = 0;
};

// A game resource file, read as the clip plays.
class TheoraFileDataSource : public TheoraDataSource {
public:
    // Throws vessot::exception (naming the file) when it cannot be opened.
    explicit TheoraFileDataSource(const vessot::String& filename);
    int read(void* output, int nBytes) override;
    vessot::String repr() override { return filename; }
    void seek(uint64_t byteIndex) override;
    uint64_t size() override { return length; }
    uint64_t tell() override;

private:
    vessot::Resource resource;
    vessot::String filename;
    uint64_t length;
};

// A whole file in memory. Owns the buffer, which must come from new[].
class TheoraMemoryFileDataSource : public TheoraDataSource {
public:
    TheoraMemoryFileDataSource(unsigned char* buffer, uint64_t size, const vessot::String& name);
    ~TheoraMemoryFileDataSource() override;
    TheoraMemoryFileDataSource(const TheoraMemoryFileDataSource&) = delete;
    TheoraMemoryFileDataSource& operator=(const TheoraMemoryFileDataSource&) = delete;

    int read(void* output, int nBytes) override;
    vessot::String repr() override { return "MEM:" + name; }
    void seek(uint64_t byteIndex) override { position = byteIndex < length ? byteIndex : length; }
    uint64_t size() override { return length; }
    uint64_t tell() override { return position; }

private:
    unsigned char* data;
    uint64_t length;
    uint64_t position = 0;
    vessot::String name;
};
