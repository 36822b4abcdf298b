#include "morvec/Matrix4.h"
#include "morvec/Rectangle.h"

#include <gtest/gtest.h>

using namespace morvec;

TEST(Vector, Basics) {
    Vector2 v(3, 4);
    EXPECT_FLOAT_EQ(v.length(), 5);
    EXPECT_FLOAT_EQ(v.squaredLength(), 25);
    EXPECT_FLOAT_EQ(v.normalised().x, 0.6f);
    EXPECT_EQ(Vector2().normalised(), Vector2());
    EXPECT_EQ(Vector3().normalised(), Vector3());
    EXPECT_FLOAT_EQ(Vector3(1, 2, 2).length(), 3);
    EXPECT_FLOAT_EQ((Vector2(1, 0) - Vector2(0, 1)).dot(Vector2(1, 1)), 0);
}

TEST(Rectangle, InclusiveEdgesAndIntersection) {
    Rectangle r(10, 20, 30, 40);
    EXPECT_TRUE(r.isPointInside(10, 20));
    EXPECT_TRUE(r.isPointInside(40, 60));
    EXPECT_FALSE(r.isPointInside(40.01f, 60));
    EXPECT_FALSE(r.isPointInside(9.99f, 30));
    EXPECT_TRUE(r.intersects(Rectangle(39, 59, 5, 5)));
    EXPECT_FALSE(r.intersects(Rectangle(40, 20, 5, 5)));
    EXPECT_EQ(r.offset(1, 2), Rectangle(11, 22, 30, 40));
}

TEST(Matrix4, OrthographicCornersMapToDeviceCorners) {
    // A projection by size: origin at the top left, y = +1 at the top.
    Matrix4 p = Matrix4::orthographic(0, 1280, 960, 0);
    struct Case {
        Vector2 in;
        Vector2 out;
    } cases[] = {
        {{0, 0}, {-1, 1}}, {{1280, 0}, {1, 1}}, {{1280, 960}, {1, -1}}, {{0, 960}, {-1, -1}}, {{640, 480}, {0, 0}}};
    for (const Case& c : cases) {
        Vector2 r = p.transformPoint(c.in);
        EXPECT_NEAR(r.x, c.out.x, 1e-6);
        EXPECT_NEAR(r.y, c.out.y, 1e-6);
    }
}

TEST(Matrix4, InverseUndoesTheTransform) {
    Matrix4 m = Matrix4::orthographic(-20, 406, 320, 0) * Matrix4::translation(5, -3) * Matrix4::rotationZ(30) *
                Matrix4::scaling(2, 0.5f);
    Matrix4 inv = m.inverse();
    Matrix4 product = m * inv;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(product.at(r, c), r == c ? 1.0f : 0.0f, 1e-5) << r << "," << c;
        }
    }
    // The corner (-1, 1) of device space maps back to the projection's top left.
    Matrix4 p = Matrix4::orthographic(-20, 406, 320, 0);
    Vector3 topLeft = p.inverse().transformPoint(Vector3(-1, 1, 0));
    EXPECT_NEAR(topLeft.x, -20, 1e-4);
    EXPECT_NEAR(topLeft.y, 0, 1e-4);
    Matrix4 singular = Matrix4::scaling(0, 1);
    EXPECT_EQ(singular.inverse(), Matrix4());
}

TEST(Matrix4, TranslateAndRotate) {
    Matrix4 m;
    m.translate(10, 20);
    Vector2 p = m.transformPoint(Vector2(1, 1));
    EXPECT_FLOAT_EQ(p.x, 11);
    EXPECT_FLOAT_EQ(p.y, 21);
    Vector2 r = Matrix4::rotationZ(90).transformPoint(Vector2(1, 0));
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 1, 1e-6);
}
