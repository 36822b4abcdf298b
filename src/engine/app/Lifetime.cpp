#include "engine/app/Lifetime.h"

#include <vector>

namespace Lifetime {

namespace {
int depth = 0;
std::vector<std::function<void()>> pending;

void destroyPending() {
    // Destroying content may retire more; keep going until nothing waits.
    while (!pending.empty()) {
        std::vector<std::function<void()>> batch;
        batch.swap(pending);
        for (auto& destroy : batch) {
            destroy();
        }
    }
}
} // namespace

Scope::Scope() {
    ++depth;
}

Scope::~Scope() {
    if (--depth == 0) {
        ++depth;
        destroyPending();
        --depth;
    }
}

void retire(std::function<void()> destroy) {
    if (depth > 0) {
        pending.push_back(std::move(destroy));
    } else {
        destroy();
    }
}

bool isDeferring() {
    return depth > 0;
}

} // namespace Lifetime
