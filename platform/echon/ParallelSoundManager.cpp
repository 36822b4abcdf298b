#include "echon/ParallelSoundManager.h"

#include "echon/AudioManager.h"

namespace echon {

void ParallelSoundManager::queueSound(const vessot::String& name) {
    if (!queue.contains(name)) {
        queue.add(name);
    }
}

void ParallelSoundManager::updateList() {
    if (!mgr) {
        queue.clear();
        return;
    }
    for (const vessot::String& name : playing) {
        if (!queue.contains(name)) {
            mgr->stop(name, fadeTime);
        }
    }
    for (const vessot::String& name : queue) {
        // A name of the set that no longer sounds (stopped from elsewhere) starts again.
        if (!playing.contains(name) || !mgr->isAnyPlaying(name)) {
            mgr->play(name, fadeTime, true, 1.0f);
        }
    }
    playing = queue;
    queue.clear();
}

void ParallelSoundManager::stopAll() {
    if (mgr) {
        for (const vessot::String& name : playing) {
            mgr->stop(name, 0.0f);
        }
    }
    playing.clear();
}

} // namespace echon
