#pragma once

// One frame of a scene with two playing 640 x 360 clips (one with alpha) against decoding and
// drawing the same frames through the video library and the render system directly; reports
// "ratio video_object".
void compareVideoInScene();
