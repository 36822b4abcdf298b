// SDL's memory, through a small store of large freed blocks. SDL's software renderer scales a
// picture through a block of the drawn size that it makes and frees at once, several a frame; with
// the allocator's fixed threshold each would be a fresh mapping, zeroed page by page and unmapped
// again, on every drawn frame. A freed large block waits in the store for the next request of about
// its size instead, and goes back to the system once a frame passes in which it was not used again.

#include "nimbo/Internals.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <vector>

namespace nimbo {

namespace {

constexpr size_t STORED_BLOCKS = 2;

struct Stored {
    void* block;
    size_t size;
    int frame; // the frame in which it was freed
};

// SDL allocates from its audio thread too.
std::mutex guard;
std::vector<Stored> store;
int frame = 0;

// A stored block for n bytes, not more than a quarter larger, or null.
void* take(size_t n) {
    std::lock_guard<std::mutex> lock(guard);
    auto best = store.end();
    for (auto it = store.begin(); it != store.end(); ++it) {
        if (it->size >= n && it->size - n <= n / 4 && (best == store.end() || it->size < best->size)) {
            best = it;
        }
    }
    if (best == store.end()) {
        return nullptr;
    }
    void* block = best->block;
    store.erase(best);
    return block;
}

// Keeps a large block in the store, in the place of a smaller one when the store is full; answers
// whether it did.
bool keep(void* block) {
    size_t size = malloc_usable_size(block);
    if (size < LARGE_BLOCK) {
        return false;
    }
    std::lock_guard<std::mutex> lock(guard);
    if (store.size() < STORED_BLOCKS) {
        store.push_back({block, size, frame});
        return true;
    }
    auto smallest =
        std::min_element(store.begin(), store.end(), [](const Stored& a, const Stored& b) { return a.size < b.size; });
    if (smallest->size >= size) {
        return false;
    }
    std::free(smallest->block);
    *smallest = {block, size, frame};
    return true;
}

void* sdlMalloc(size_t n) {
    void* block = n >= LARGE_BLOCK ? take(n) : nullptr;
    return block ? block : std::malloc(n);
}

void* sdlCalloc(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size) {
        return nullptr;
    }
    void* block = count * size >= LARGE_BLOCK ? take(count * size) : nullptr;
    if (!block) {
        return std::calloc(count, size);
    }
    std::memset(block, 0, count * size);
    return block;
}

void* sdlRealloc(void* block, size_t n) {
    return std::realloc(block, n);
}

void sdlFree(void* block) {
    if (block && !keep(block)) {
        std::free(block);
    }
}

} // namespace

void installSdlMemory() {
    SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree);
}

void endSdlMemoryFrame() {
    std::lock_guard<std::mutex> lock(guard);
    std::erase_if(store, [](const Stored& s) {
        bool unused = s.frame < frame;
        if (unused) {
            std::free(s.block);
        }
        return unused;
    });
    ++frame;
}

void releaseSdlMemory() {
    std::lock_guard<std::mutex> lock(guard);
    for (const Stored& s : store) {
        std::free(s.block);
    }
    store.clear();
}

} // namespace nimbo
