#pragma once
// A Catmull-Rom spline through 3-D points, parameterised by arc length: t in [0, 1] is the
// fraction of the length travelled, so advancing t by speed * dt / length moves at constant speed.

#include "morvec/Vector.h"
#include "vessot/Array.h"

#include <vector>

namespace morvec {

class CatmullRomSpline3 {
public:
    // Builds the spline through points with the given end tangents. samplesPerSegment sets how
    // finely the arc length is measured; 0 takes the default.
    void compile(const vessot::Array<Vector3>& points, int samplesPerSegment, const Vector3& startTangent,
                 const Vector3& endTangent);

    double getLength() const { return totalLength; }
    Vector3 calcPosition(double t) const;
    // The unit direction of travel at t.
    Vector3 calcStaticTangent(double t) const;
    int getPointCount() const { return (int)points.size(); }

private:
    struct Sample {
        double length;
        int segment;
        double u;
    };
    Vector3 evaluate(int segment, double u) const;
    Vector3 derivative(int segment, double u) const;
    // The segment and local parameter at a fraction t of the length.
    void locate(double t, int& segment, double& u) const;

    std::vector<Vector3> points;
    std::vector<Vector3> tangents;
    std::vector<Sample> samples;
    double totalLength = 0;
};

} // namespace morvec
