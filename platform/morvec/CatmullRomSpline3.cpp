#include "morvec/CatmullRomSpline3.h"

#include <algorithm>

namespace morvec {

namespace {
constexpr int DEFAULT_SAMPLES = 64;
}

void CatmullRomSpline3::compile(const vessot::Array<Vector3>& input, int samplesPerSegment, const Vector3& startTangent,
                                const Vector3& endTangent) {
    points.assign(input.begin(), input.end());
    tangents.assign(points.size(), Vector3());
    samples.clear();
    totalLength = 0;
    size_t n = points.size();
    if (n == 0) {
        return;
    }
    for (size_t i = 1; i + 1 < n; ++i) {
        tangents[i] = (points[i + 1] - points[i - 1]) * 0.5f;
    }
    tangents[0] = startTangent;
    tangents[n - 1] = endTangent;
    int steps = samplesPerSegment > 0 ? samplesPerSegment : DEFAULT_SAMPLES;
    samples.push_back({0.0, 0, 0.0});
    for (size_t s = 0; s + 1 < n; ++s) {
        Vector3 previous = points[s];
        for (int k = 1; k <= steps; ++k) {
            double u = (double)k / steps;
            Vector3 p = evaluate((int)s, u);
            totalLength += (double)(p - previous).length();
            samples.push_back({totalLength, (int)s, u});
            previous = p;
        }
    }
}

Vector3 CatmullRomSpline3::evaluate(int segment, double u) const {
    const Vector3& p0 = points[(size_t)segment];
    const Vector3& p1 = points[(size_t)segment + 1];
    const Vector3& m0 = tangents[(size_t)segment];
    const Vector3& m1 = tangents[(size_t)segment + 1];
    double u2 = u * u;
    double u3 = u2 * u;
    float h00 = (float)(2 * u3 - 3 * u2 + 1);
    float h10 = (float)(u3 - 2 * u2 + u);
    float h01 = (float)(-2 * u3 + 3 * u2);
    float h11 = (float)(u3 - u2);
    return p0 * h00 + m0 * h10 + p1 * h01 + m1 * h11;
}

Vector3 CatmullRomSpline3::derivative(int segment, double u) const {
    const Vector3& p0 = points[(size_t)segment];
    const Vector3& p1 = points[(size_t)segment + 1];
    const Vector3& m0 = tangents[(size_t)segment];
    const Vector3& m1 = tangents[(size_t)segment + 1];
    double u2 = u * u;
    float d00 = (float)(6 * u2 - 6 * u);
    float d10 = (float)(3 * u2 - 4 * u + 1);
    float d01 = (float)(-6 * u2 + 6 * u);
    float d11 = (float)(3 * u2 - 2 * u);
    return p0 * d00 + m0 * d10 + p1 * d01 + m1 * d11;
}

void CatmullRomSpline3::locate(double t, int& segment, double& u) const {
    double target = std::clamp(t, 0.0, 1.0) * totalLength;
    auto it = std::lower_bound(samples.begin(), samples.end(), target,
                               [](const Sample& s, double value) { return s.length < value; });
    if (it == samples.begin()) {
        segment = 0;
        u = 0;
        return;
    }
    if (it == samples.end()) {
        segment = samples.back().segment;
        u = samples.back().u;
        return;
    }
    const Sample& hi = *it;
    const Sample& lo = *(it - 1);
    double span = hi.length - lo.length;
    double f = span > 0 ? (target - lo.length) / span : 0;
    // The sample before the first of a segment ends the previous segment at u = 1.
    double loU = lo.segment == hi.segment ? lo.u : 0.0;
    segment = hi.segment;
    u = loU + (hi.u - loU) * f;
}

Vector3 CatmullRomSpline3::calcPosition(double t) const {
    if (points.empty()) {
        return Vector3();
    }
    if (points.size() == 1) {
        return points[0];
    }
    int segment;
    double u;
    locate(t, segment, u);
    return evaluate(segment, u);
}

Vector3 CatmullRomSpline3::calcStaticTangent(double t) const {
    if (points.size() < 2) {
        return Vector3();
    }
    int segment;
    double u;
    locate(t, segment, u);
    return derivative(segment, u).normalised();
}

} // namespace morvec
