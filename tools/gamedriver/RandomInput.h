#pragma once
// A random stream of input over the whole window, the same for the same seed: clicks, drags and long
// presses of either button, pointer moves, key taps and held keys, typed text, one- and two-finger
// touches, a click and a key in the same frame or the next, close requests and focus changes. A new event starts
// about every sixth frame; a drag, a held key or a touch lasts several frames.

#include "morvec/Vector.h"

#include <random>
#include <vector>

namespace nimbo {
class Window;
}

class RandomInput {
public:
    RandomInput(unsigned seed, int width, int height);
    // Queues the input of the next frame on the window.
    void queueFrame(nimbo::Window& window);

private:
    // A pointer or finger gesture from one place to another, or a held key; over when framesLeft is 0.
    struct Gesture {
        int framesLeft = 0;
        int frames = 0;
        std::vector<morvec::Vector2> from;
        std::vector<morvec::Vector2> to;
        int code = 0;
        std::vector<morvec::Vector2> at() const;
    };

    void continueGestures(nimbo::Window& window);
    void startEvent(nimbo::Window& window);
    morvec::Vector2 point();
    int key();
    int between(int low, int high);
    bool chance(double p);

    std::mt19937 random;
    float width;
    float height;
    Gesture drag;
    Gesture touch;
    Gesture heldKey;
};
