#include "echon/Decoder.h"

#include "echon/WavReader.h"
#include "vessot/Exception.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace echon {

ResourceSource::ResourceSource(const vessot::String& path) : resource(path) {}

size_t ResourceSource::read(void* buffer, size_t count) {
    return (size_t)resource.read_raw(buffer, (int)std::min<size_t>(count, INT_MAX));
}

bool ResourceSource::seek(int64_t position) {
    if (position < 0) {
        return false;
    }
    resource.seek(position);
    return true;
}

int64_t ResourceSource::tell() {
    return resource.position();
}

int64_t ResourceSource::size() {
    return resource.size();
}

size_t MemorySource::read(void* buffer, size_t count) {
    size_t n = std::min(count, length - offset);
    if (n == 0) {
        return 0;
    }
    std::memcpy(buffer, data + offset, n);
    offset += n;
    return n;
}

bool MemorySource::seek(int64_t position) {
    if (position < 0 || (uint64_t)position > length) {
        return false;
    }
    offset = (size_t)position;
    return true;
}

namespace {

size_t vorbisRead(void* buffer, size_t size, size_t count, void* source) {
    return size == 0 ? 0 : static_cast<ByteSource*>(source)->read(buffer, size * count) / size;
}

int vorbisSeek(void* data, ogg_int64_t offset, int whence) {
    auto* source = static_cast<ByteSource*>(data);
    int64_t base = whence == SEEK_CUR ? source->tell() : (whence == SEEK_END ? source->size() : 0);
    return source->seek(base + offset) ? 0 : -1;
}

long vorbisTell(void* source) {
    return (long)static_cast<ByteSource*>(source)->tell();
}

// Whether the first Ogg page carries a Vorbis identification header: the file then is Vorbis, only
// damaged, when libvorbisfile cannot open it.
bool startsAsVorbis(ByteSource& source) {
    uint8_t head[64] = {};
    source.seek(0);
    size_t n = source.read(head, sizeof(head));
    const char id[] = "\x01vorbis";
    return std::search(head, head + n, id, id + 7) != head + n;
}

class VorbisDecoder : public Decoder {
public:
    explicit VorbisDecoder(std::unique_ptr<ByteSource> source) : source(std::move(source)) {
        ov_callbacks callbacks = {vorbisRead, vorbisSeek, nullptr, vorbisTell};
        int result = ov_open_callbacks(this->source.get(), &file, nullptr, 0, callbacks);
        if (result < 0) {
            VESSOT_THROW(startsAsVorbis(*this->source) ? "damaged or truncated Ogg Vorbis headers"
                                                       : "not an Ogg Vorbis file");
        }
        vorbis_info* info = ov_info(&file, -1);
        channels = info->channels;
        rate = (int)info->rate;
        if (channels < 1 || channels > 2) {
            ov_clear(&file);
            VESSOT_THROW("Ogg Vorbis file has " + vessot::String(channels) + " channels (1 or 2 are supported)");
        }
        ogg_int64_t total = ov_pcm_total(&file, -1);
        totalFrames = total < 0 ? -1 : total;
    }
    ~VorbisDecoder() override { ov_clear(&file); }

    int read(float* out, int maxFrames) override {
        for (;;) {
            float** pcm = nullptr;
            int section = 0;
            long frames = ov_read_float(&file, &pcm, maxFrames, &section);
            if (frames == OV_HOLE) {
                continue; // a gap in the data: go on with what follows
            }
            if (frames < 0) {
                VESSOT_THROW("damaged Ogg Vorbis data");
            }
            if (frames > 0 && ov_info(&file, section)->channels != channels) {
                VESSOT_THROW("Ogg Vorbis file changes its channel count");
            }
            for (long i = 0; i < frames; ++i) {
                for (int c = 0; c < channels; ++c) {
                    out[i * channels + c] = pcm[c][i];
                }
            }
            return (int)frames;
        }
    }

    void rewind() override {
        if (ov_raw_seek(&file, 0) != 0) {
            VESSOT_THROW("cannot rewind the Ogg Vorbis stream");
        }
    }

private:
    std::unique_ptr<ByteSource> source;
    OggVorbis_File file;
};

} // namespace

std::unique_ptr<Decoder> Decoder::open(std::unique_ptr<ByteSource> source) {
    char magic[4] = {0, 0, 0, 0};
    source->read(magic, 4);
    source->seek(0);
    if (std::memcmp(magic, "RIFF", 4) == 0) {
        return std::make_unique<WavDecoder>(std::move(source));
    }
    if (std::memcmp(magic, "OggS", 4) == 0) {
        return std::make_unique<VorbisDecoder>(std::move(source));
    }
    VESSOT_THROW("neither a WAV nor an Ogg Vorbis file");
}

std::unique_ptr<Decoder> Decoder::openFile(const vessot::String& path) {
    return open(std::make_unique<ResourceSource>(path));
}

} // namespace echon
