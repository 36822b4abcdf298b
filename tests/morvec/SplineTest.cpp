#include "morvec/CatmullRomSpline3.h"

#include <gtest/gtest.h>

using namespace morvec;

namespace {

CatmullRomSpline3 makeSpline(const vessot::Array<Vector3>& pts) {
    CatmullRomSpline3 s;
    s.compile(pts, 0, pts[1] - pts[0], pts[-1] - pts[-2]);
    return s;
}

} // namespace

TEST(CatmullRomSpline3, StraightLineLengthAndConstantSpeed) {
    CatmullRomSpline3 s = makeSpline({Vector3(0, 0, 0), Vector3(100, 0, 0)});
    EXPECT_NEAR(s.getLength(), 100.0, 1e-3);
    // Speed 50 along a length of 100 takes 2 s: each 0.1 s moves 5 units.
    double t = 0;
    Vector3 previous = s.calcPosition(0);
    for (int step = 0; step < 20; ++step) {
        t += 50 * 0.1 / s.getLength();
        Vector3 p = s.calcPosition(t);
        EXPECT_NEAR((p - previous).length(), 5.0, 0.05);
        previous = p;
    }
    EXPECT_NEAR(t, 1.0, 1e-9);
    EXPECT_NEAR(previous.x, 100, 1e-3);
}

TEST(CatmullRomSpline3, ArcLengthIsUniformOnACurve) {
    CatmullRomSpline3 s =
        makeSpline({Vector3(0, 0, 0), Vector3(50, 80, 0), Vector3(120, 10, 0), Vector3(200, 90, 0.5f)});
    const int steps = 200;
    double stepLength = s.getLength() / steps;
    Vector3 previous = s.calcPosition(0);
    for (int i = 1; i <= steps; ++i) {
        Vector3 p = s.calcPosition((double)i / steps);
        // A chord is never longer than its arc, and only slightly shorter on these gentle curves.
        double chord = (p - previous).length();
        EXPECT_LE(chord, stepLength * 1.01) << i;
        EXPECT_GE(chord, stepLength * 0.95) << i;
        previous = p;
    }
}

TEST(CatmullRomSpline3, PassesThroughItsPointsAndHonoursEndTangents) {
    vessot::Array<Vector3> pts = {Vector3(0, 0, 0), Vector3(10, 0, 0), Vector3(10, 10, 0)};
    CatmullRomSpline3 s;
    s.compile(pts, 0, Vector3(0, 5, 0), Vector3(-5, 0, 0));
    Vector3 start = s.calcPosition(0);
    Vector3 end = s.calcPosition(1);
    EXPECT_NEAR(start.x, 0, 1e-5);
    EXPECT_NEAR(end.y, 10, 1e-4);
    Vector3 t0 = s.calcStaticTangent(0);
    EXPECT_NEAR(t0.x, 0, 1e-5);
    EXPECT_NEAR(t0.y, 1, 1e-5);
    Vector3 t1 = s.calcStaticTangent(1);
    EXPECT_NEAR(t1.x, -1, 1e-4);
    EXPECT_NEAR(t1.y, 0, 1e-4);
}

TEST(CatmullRomSpline3, DegenerateInputs) {
    CatmullRomSpline3 empty;
    empty.compile({}, 0, Vector3(), Vector3());
    EXPECT_EQ(empty.getLength(), 0.0);
    EXPECT_EQ(empty.calcPosition(0.5), Vector3());
    CatmullRomSpline3 one;
    one.compile({Vector3(3, 4, 0)}, 0, Vector3(), Vector3());
    EXPECT_EQ(one.calcPosition(0.7), Vector3(3, 4, 0));
    EXPECT_EQ(one.calcStaticTangent(0.7), Vector3());
}
