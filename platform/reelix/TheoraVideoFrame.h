#pragma once
// One decoded picture of a clip: 4 bytes a pixel in memory order R, G, B, A (the window layer's RGBA
// format, and its RGB format with an unused fourth byte), covering the clip's whole frame
// getWidth() x getHeight(), with the picture region inside it. Rows are getStride() pixels apart.

#include <cstddef>
#include <cstdint>
#include <vector>

class TheoraVideoFrame {
public:
    TheoraVideoFrame(int width, int height, int stride)
        : width(width), height(height), stride(stride), buffer((size_t)stride * height * 4) {}

    unsigned char* getBuffer() { return buffer.data(); }
    // Counts from 0 at the clip's start; a looping clip starts again at 0 on every pass.
    int getFrameNumber() const { return frameNumber; }
    // When the frame is due, in seconds of the clip's timer.
    float getTimeToDisplay() const { return time; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getStride() const { return stride; }

private:
    friend class TheoraVideoClip;

    int width;
    int height;
    int stride;
    std::vector<unsigned char> buffer;
    int frameNumber = 0;
    float time = 0.0f;
    int pass = 0;             // which pass of a looping clip
    float passStartAfter = 0; // for a frame of a later pass: when the previous pass is over
};
