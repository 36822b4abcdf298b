#include "reelix/TheoraDataSource.h"

#include <algorithm>
#include <cstring>

TheoraFileDataSource::TheoraFileDataSource(const vessot::String& filename)
    : resource(filename), filename(filename), length((uint64_t)resource.size()) {}

int TheoraFileDataSource::read(void* output, int nBytes) {
    return resource.read_raw(output, nBytes);
}

void TheoraFileDataSource::seek(uint64_t byteIndex) {
    resource.seek((int64_t)std::min(byteIndex, length));
}

uint64_t TheoraFileDataSource::tell() {
    return (uint64_t)resource.position();
}

TheoraMemoryFileDataSource::TheoraMemoryFileDataSource(unsigned char* buffer, uint64_t size, const vessot::String& name)
    : data(buffer), length(size), name(name) {}

TheoraMemoryFileDataSource::~TheoraMemoryFileDataSource() {
    delete[] data;
}

int TheoraMemoryFileDataSource::read(void* output, int nBytes) {
    if (nBytes <= 0) {
        return 0;
    }
    uint64_t n = std::min<uint64_t>((uint64_t)nBytes, length - position);
    if (n == 0) {
        return 0;
    }
    std::memcpy(output, data + position, n);
    position += n;
    return (int)n;
}
