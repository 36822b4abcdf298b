#pragma once
// Keeps a set of looping sounds (a scene's music and ambience) playing across scene changes: scenes
// queue the names they want, and updateList makes the playing set the queued one, fading between them.
// It works on the global echon::mgr at each call; constructing and destroying it never touches the
// manager, so it can be a static global that outlives the manager.

#include "vessot/Array.h"
#include "vessot/String.h"

namespace echon {

class ParallelSoundManager {
public:
    explicit ParallelSoundManager(float fadeTime = 1.0f) : fadeTime(fadeTime) {}

    void queueSound(const vessot::String& name);
    const vessot::Array<vessot::String>& getSoundQueue() const { return queue; }
    void setSoundQueue(const vessot::Array<vessot::String>& names) { queue = names; }
    // The queued names become the playing set: names that already play go on without a break, the
    // others of the set fade out, new ones start looping with a fade-in. The queue is emptied.
    void updateList();
    // Stops the set at once and forgets it, so that names queued later start again.
    void stopAll();

private:
    float fadeTime;
    vessot::Array<vessot::String> queue;
    vessot::Array<vessot::String> playing;
};

} // namespace echon
