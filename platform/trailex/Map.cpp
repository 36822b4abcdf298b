#include "trailex/Map.h"

#include "vessot/Exception.h"
#include "vessot/File.h"
#include "vessot/Log.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <utility>
#include <vector>

namespace lba {

namespace {

// Points this close to a line or edge lie on it; the same tolerance decides every geometric test,
// so that walking along an edge or through a corner counts as staying on the walkable side.
constexpr double EPS = 1e-4;
// How far outside every area a start may lie and still be moved onto the nearest one (stored
// positions are truncated to integers).
constexpr double START_TOLERANCE = 2.0;
constexpr double MAX_COORDINATE = 1e6;
// Upper bound of grid cells per axis.
constexpr int MAX_GRID_SIDE = 1024;

struct Point {
    double x = 0;
    double y = 0;
};

Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point operator*(Point a, double s) {
    return {a.x * s, a.y * s};
}
double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double length(Point a) {
    return std::sqrt(dot(a, a));
}
double distance(Point a, Point b) {
    return length(b - a);
}

// Signed distance of p from the line through a and b: positive on the left of a -> b.
double lineDistance(Point a, Point b, Point p) {
    double l = distance(a, b);
    return l > 0 ? cross(b - a, p - a) / l : distance(a, p);
}

int sign(double distance) {
    return distance > EPS ? 1 : (distance < -EPS ? -1 : 0);
}

int sideOf(Point a, Point b, Point p) {
    return sign(lineDistance(a, b, p));
}

Point closestOnSegment(Point a, Point b, Point p) {
    Point d = b - a;
    double l2 = dot(d, d);
    if (l2 <= 0) {
        return a;
    }
    double t = std::clamp(dot(p - a, d) / l2, 0.0, 1.0);
    return t == 0.0 ? a : (t == 1.0 ? b : a + d * t);
}

double segmentDistance(Point a, Point b, Point c, Point d) {
    int s1 = sideOf(a, b, c);
    int s2 = sideOf(a, b, d);
    int s3 = sideOf(c, d, a);
    int s4 = sideOf(c, d, b);
    if (s1 * s2 < 0 && s3 * s4 < 0) {
        return 0;
    }
    return std::min({distance(c, closestOnSegment(a, b, c)), distance(d, closestOnSegment(a, b, d)),
                     distance(a, closestOnSegment(c, d, a)), distance(b, closestOnSegment(c, d, b))});
}

morvec::Vector2 toVector(Point p) {
    return morvec::Vector2((float)p.x, (float)p.y);
}
Point toPoint(const morvec::Vector2& v) {
    return {v.x, v.y};
}

// A uniform grid of cells over the map, each listing the edges that pass within EPS of it, so that a
// segment test looks only at the edges near the segment.
class Grid {
public:
    void setup(Point lo, Point hi, int edgeCount) {
        origin = {lo.x - EPS, lo.y - EPS};
        double width = hi.x - lo.x + 2 * EPS;
        double height = hi.y - lo.y + 2 * EPS;
        // About two cells per edge.
        cell = std::sqrt(width * height / std::max(1, 2 * edgeCount));
        cell = std::max({cell, width / MAX_GRID_SIDE, height / MAX_GRID_SIDE, 1e-3});
        cols = std::min(MAX_GRID_SIDE, (int)(width / cell) + 1);
        rows = std::min(MAX_GRID_SIDE, (int)(height / cell) + 1);
        lists.assign((size_t)cols * rows, {});
    }

    void insert(int edge, Point a, Point b) {
        forEachCell(a, b, [&](int c) {
            lists[c].push_back(edge);
            return true;
        });
    }

    // Packs the lists into one array.
    void finish() {
        offsets.assign(lists.size() + 1, 0);
        for (size_t i = 0; i < lists.size(); ++i) {
            offsets[i + 1] = offsets[i] + (int)lists[i].size();
        }
        edges.clear();
        for (auto& list : lists) {
            edges.insert(edges.end(), list.begin(), list.end());
        }
        lists.clear();
        lists.shrink_to_fit();
    }

    // Calls visit(edge) for every edge near the segment, cells nearest p first; stops when visit
    // answers false and then answers false itself.
    template <class Visit> bool forEachEdge(Point p, Point q, Visit visit) const {
        return forEachCell(p, q, [&](int c) {
            for (int i = offsets[c]; i < offsets[c + 1]; ++i) {
                if (!visit(edges[i])) {
                    return false;
                }
            }
            return true;
        });
    }

    bool covers(Point p) const {
        return p.x >= origin.x && p.y >= origin.y && p.x < origin.x + cols * cell && p.y < origin.y + rows * cell;
    }
    int column(double x) const { return std::clamp((int)std::floor((x - origin.x) / cell), 0, cols - 1); }
    int row(double y) const { return std::clamp((int)std::floor((y - origin.y) / cell), 0, rows - 1); }
    int columns() const { return cols; }
    // Calls visit(edge) for every edge listed in one cell.
    template <class Visit> void forEachEdgeIn(int column, int row, Visit visit) const {
        int c = row * cols + column;
        for (int i = offsets[c]; i < offsets[c + 1]; ++i) {
            visit(edges[i]);
        }
    }

private:
    // Every cell within EPS of the segment, column by column from p's side.
    template <class Visit> bool forEachCell(Point p, Point q, Visit visit) const {
        double minX = std::min(p.x, q.x);
        double maxX = std::max(p.x, q.x);
        int first = column(p.x < q.x ? minX - EPS : maxX + EPS);
        int last = column(p.x < q.x ? maxX + EPS : minX - EPS);
        int step = first <= last ? 1 : -1;
        for (int c = first;; c += step) {
            double left = std::clamp(origin.x + c * cell, minX, maxX);
            double right = std::clamp(origin.x + (c + 1) * cell, minX, maxX);
            auto [low, high] = yRange(p, q, left, right);
            int rowFrom = row(p.y < q.y ? low - EPS : high + EPS);
            int rowTo = row(p.y < q.y ? high + EPS : low - EPS);
            int rowStep = rowFrom <= rowTo ? 1 : -1;
            for (int r = rowFrom;; r += rowStep) {
                if (!visit(r * cols + c)) {
                    return false;
                }
                if (r == rowTo) {
                    break;
                }
            }
            if (c == last) {
                return true;
            }
        }
    }

    // The lowest and highest y of the segment between two x values inside its x range.
    static std::pair<double, double> yRange(Point p, Point q, double left, double right) {
        double dx = q.x - p.x;
        if (std::fabs(dx) < 1e-12) {
            return std::minmax(p.y, q.y);
        }
        double slope = (q.y - p.y) / dx;
        return std::minmax(p.y + (left - p.x) * slope, p.y + (right - p.x) * slope);
    }

    Point origin;
    double cell = 1;
    int cols = 1;
    int rows = 1;
    std::vector<std::vector<int>> lists;
    std::vector<int> offsets;
    std::vector<int> edges;
};

} // namespace

struct Map::Data {
    // Edge i runs from vertex i to vertex next; the walkable side lies on the left of every edge
    // (outer boundaries are stored with positive signed area, holes with negative).
    struct Vertex {
        Point p;
        int prev = 0;
        int next = 0;
        double edgeLength = 0; // of the edge to next
        int ring = 0;
        int line = 0;
    };
    struct Ring {
        int first = 0;
        int count = 0;
        int area = 0;
        int line = 0;
        bool hole = false;
    };
    struct Area {
        std::vector<int> rings;
        int cornerBegin = 0;
        int cornerEnd = 0;
        Point lo;
        Point hi;
    };
    // Per-query scratch: marks edges already tested for the current segment.
    struct Scratch {
        std::vector<unsigned> stamp;
        unsigned epoch = 0;
    };

    vessot::String name;
    std::vector<Vertex> vertices;
    std::vector<Ring> rings;
    std::vector<Area> areas;
    std::vector<int> corners;                               // vertex indices, grouped by area
    std::vector<std::vector<std::pair<int, double>>> links; // per corner: visible corners and distances
    Grid grid;

    [[noreturn]] void fail(int line, const vessot::String& what) const {
        throw vessot::exception(name + " line " + vessot::String(line) + ": " + what, __FILE__, __LINE__,
                                "WalkMapException");
    }

    void parse(const vessot::String& text);
    void validate();
    void orient(Ring& ring);
    void linkRings();
    void buildGrid();
    void checkCrossings();
    void checkNesting();
    void findCorners();
    void linkCorners();

    bool insideRing(const Ring& ring, Point p) const;
    bool onRing(const Ring& ring, Point p) const;
    bool inArea(const Area& area, Point p) const;
    int areaAt(Point p) const;
    Point nearestInArea(int area, Point p) const;
    bool inCone(int v, Point x) const;
    bool taut(Point x, int v) const;
    bool visible(Point p, Point q, Scratch& scratch) const;
    std::vector<Point> search(int area, Point from, Point to, Scratch& scratch) const;
};

// ---------------------------------------------------------------- reading

void Map::Data::parse(const vessot::String& text) {
    vessot::Array<vessot::String> lines = text.split("\n");
    vessot::String header = lines.empty() ? vessot::String() : lines[0].trimmed();
    vessot::Array<vessot::String> words = header.split(" ", -1, true);
    if (words.size() != 2 || words[0] != "walkmap") {
        fail(1, "not a walk map: the first line must be \"walkmap 1\"");
    }
    if (words[1] != "1") {
        fail(1, "unsupported walk map version \"" + words[1].substr(0, 20) + "\"");
    }
    for (int i = 1; i < lines.size(); ++i) {
        int line = i + 1;
        vessot::String content = lines[i].replaced("\t", " ").trimmed();
        if (content.empty() || content.startsWith("#")) {
            continue;
        }
        words = content.split(" ", -1, true);
        if (words.size() == 1 && (words[0] == "area" || words[0] == "hole")) {
            bool hole = words[0] == "hole";
            if (hole && areas.empty()) {
                fail(line, "a hole before any area");
            }
            if (!hole) {
                areas.push_back({});
            }
            rings.push_back({(int)vertices.size(), 0, (int)areas.size() - 1, line, hole});
            areas.back().rings.push_back((int)rings.size() - 1);
        } else if (words.size() == 2 && words[0].isNumber() && words[1].isNumber()) {
            if (rings.empty()) {
                fail(line, "a point before any area");
            }
            Point p{words[0].toDouble(), words[1].toDouble()};
            if (std::fabs(p.x) > MAX_COORDINATE || std::fabs(p.y) > MAX_COORDINATE) {
                fail(line, "coordinate out of range");
            }
            Vertex v;
            v.p = p;
            v.ring = (int)rings.size() - 1;
            v.line = line;
            vertices.push_back(v);
            rings.back().count++;
        } else {
            fail(line, "expected \"area\", \"hole\" or two numbers, found \"" + content.substr(0, 40) + "\"");
        }
    }
    validate();
}

void Map::Data::validate() {
    if (areas.empty()) {
        fail(1, "the walk map has no area");
    }
    for (Ring& ring : rings) {
        const char* kind = ring.hole ? "a hole" : "an area";
        if (ring.count < 3) {
            fail(ring.line, vessot::String(kind) + " needs at least 3 points");
        }
        for (int i = 0; i < ring.count; ++i) {
            const Vertex& v = vertices[ring.first + i];
            const Vertex& before = vertices[ring.first + (i + ring.count - 1) % ring.count];
            if (distance(v.p, before.p) <= EPS) {
                fail(v.line, "the point repeats the one before it");
            }
        }
        orient(ring);
    }
    linkRings();
    buildGrid();
    checkCrossings();
    checkNesting();
    findCorners();
    linkCorners();
}

// Puts the walkable side on the left of every edge; a ring without area is refused.
void Map::Data::orient(Ring& ring) {
    double twiceArea = 0;
    double perimeter = 0;
    for (int i = 0; i < ring.count; ++i) {
        Point a = vertices[ring.first + i].p;
        Point b = vertices[ring.first + (i + 1) % ring.count].p;
        twiceArea += cross(a, b);
        perimeter += distance(a, b);
    }
    if (std::fabs(twiceArea) <= EPS * perimeter) {
        fail(ring.line, vessot::String(ring.hole ? "the hole" : "the area") + " has no surface");
    }
    if ((twiceArea > 0) == ring.hole) {
        std::reverse(vertices.begin() + ring.first, vertices.begin() + ring.first + ring.count);
    }
}

void Map::Data::linkRings() {
    for (const Ring& ring : rings) {
        for (int i = 0; i < ring.count; ++i) {
            Vertex& v = vertices[ring.first + i];
            v.prev = ring.first + (i + ring.count - 1) % ring.count;
            v.next = ring.first + (i + 1) % ring.count;
        }
        for (int i = ring.first; i < ring.first + ring.count; ++i) {
            vertices[i].edgeLength = distance(vertices[i].p, vertices[vertices[i].next].p);
        }
    }
    for (Area& area : areas) {
        const Ring& outer = rings[area.rings[0]];
        area.lo = area.hi = vertices[outer.first].p;
        for (int i = outer.first; i < outer.first + outer.count; ++i) {
            area.lo = {std::min(area.lo.x, vertices[i].p.x), std::min(area.lo.y, vertices[i].p.y)};
            area.hi = {std::max(area.hi.x, vertices[i].p.x), std::max(area.hi.y, vertices[i].p.y)};
        }
    }
}

void Map::Data::buildGrid() {
    Point lo = areas[0].lo;
    Point hi = areas[0].hi;
    for (const Area& area : areas) {
        lo = {std::min(lo.x, area.lo.x), std::min(lo.y, area.lo.y)};
        hi = {std::max(hi.x, area.hi.x), std::max(hi.y, area.hi.y)};
    }
    grid.setup(lo, hi, (int)vertices.size());
    for (int i = 0; i < (int)vertices.size(); ++i) {
        grid.insert(i, vertices[i].p, vertices[vertices[i].next].p);
    }
    grid.finish();
}

// Refuses rings that cross or touch themselves or each other.
void Map::Data::checkCrossings() {
    Scratch scratch;
    scratch.stamp.assign(vertices.size(), 0);
    for (int i = 0; i < (int)vertices.size(); ++i) {
        const Vertex& a = vertices[i];
        Point a1 = a.p;
        Point a2 = vertices[a.next].p;
        ++scratch.epoch;
        grid.forEachEdge(a1, a2, [&](int j) {
            if (j <= i || scratch.stamp[j] == scratch.epoch) {
                return true;
            }
            scratch.stamp[j] = scratch.epoch;
            const Vertex& b = vertices[j];
            Point b1 = b.p;
            Point b2 = vertices[b.next].p;
            if (b.next == i || a.next == j) {
                // Neighbouring edges meet at one point; they overlap only when the ring turns back.
                Point u = b.next == i ? b1 : a1;
                Point v = b.next == i ? a1 : a2;
                Point w = b.next == i ? a2 : b2;
                if (sideOf(u, v, w) == 0 && dot(v - u, w - v) < 0) {
                    fail(vertices[b.next == i ? i : j].line, "the outline turns back on itself");
                }
                return true;
            }
            if (segmentDistance(a1, a2, b1, b2) > EPS) {
                return true;
            }
            const Ring& ra = rings[a.ring];
            const Ring& rb = rings[b.ring];
            int line = std::max(a.line, b.line);
            if (a.ring == b.ring) {
                fail(line, vessot::String(ra.hole ? "the hole" : "the area") + " starting at line " +
                               vessot::String(ra.line) + " crosses or touches itself");
            }
            if (ra.area != rb.area) {
                fail(line, "the areas starting at lines " + vessot::String(rings[areas[ra.area].rings[0]].line) +
                               " and " + vessot::String(rings[areas[rb.area].rings[0]].line) + " touch or overlap");
            }
            if (!ra.hole || !rb.hole) {
                const Ring& hole = ra.hole ? ra : rb;
                fail(line, "the hole starting at line " + vessot::String(hole.line) +
                               " crosses or touches the outline of its area");
            }
            fail(line, "the holes starting at lines " + vessot::String(ra.line) + " and " + vessot::String(rb.line) +
                           " touch or overlap");
        });
    }
}

// With no crossings, one point of a ring tells on which side of another ring it lies.
void Map::Data::checkNesting() {
    for (int a = 0; a < (int)areas.size(); ++a) {
        const Area& area = areas[a];
        const Ring& outer = rings[area.rings[0]];
        for (size_t h = 1; h < area.rings.size(); ++h) {
            const Ring& hole = rings[area.rings[h]];
            if (!insideRing(outer, vertices[hole.first].p)) {
                fail(hole.line, "the hole lies outside its area");
            }
            for (size_t k = 1; k < area.rings.size(); ++k) {
                if (k != h && insideRing(rings[area.rings[k]], vertices[hole.first].p)) {
                    fail(hole.line,
                         "the hole lies inside the hole starting at line " + vessot::String(rings[area.rings[k]].line));
                }
            }
        }
        for (int b = 0; b < (int)areas.size(); ++b) {
            if (b != a && inArea(areas[b], vertices[outer.first].p)) {
                fail(outer.line,
                     "the area overlaps the area starting at line " + vessot::String(rings[areas[b].rings[0]].line));
            }
        }
    }
}

// The corners a shortest path may bend around: where the walkable side is wider than a half-plane
// (concave corners of an outline, convex corners of a hole).
void Map::Data::findCorners() {
    for (Area& area : areas) {
        area.cornerBegin = (int)corners.size();
        for (int r : area.rings) {
            const Ring& ring = rings[r];
            for (int i = ring.first; i < ring.first + ring.count; ++i) {
                const Vertex& v = vertices[i];
                if (lineDistance(vertices[v.prev].p, v.p, vertices[v.next].p) < -EPS) {
                    corners.push_back(i);
                }
            }
        }
        area.cornerEnd = (int)corners.size();
    }
}

// The visibility graph: pairs of corners of one area that see each other along a line that touches
// both corners from outside (only such lines can be part of a shortest path).
void Map::Data::linkCorners() {
    links.assign(corners.size(), {});
    Scratch scratch;
    scratch.stamp.assign(vertices.size(), 0);
    for (const Area& area : areas) {
        for (int i = area.cornerBegin; i < area.cornerEnd; ++i) {
            Point a = vertices[corners[i]].p;
            for (int j = i + 1; j < area.cornerEnd; ++j) {
                Point b = vertices[corners[j]].p;
                if (taut(b, corners[i]) && taut(a, corners[j]) && visible(a, b, scratch)) {
                    double d = distance(a, b);
                    links[i].push_back({j, d});
                    links[j].push_back({i, d});
                }
            }
        }
    }
}

// ---------------------------------------------------------------- geometry

bool Map::Data::insideRing(const Ring& ring, Point p) const {
    bool inside = false;
    for (int i = ring.first; i < ring.first + ring.count; ++i) {
        Point a = vertices[i].p;
        Point b = vertices[vertices[i].next].p;
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
            inside = !inside;
        }
    }
    return inside;
}

bool Map::Data::onRing(const Ring& ring, Point p) const {
    for (int i = ring.first; i < ring.first + ring.count; ++i) {
        if (distance(p, closestOnSegment(vertices[i].p, vertices[vertices[i].next].p, p)) <= EPS) {
            return true;
        }
    }
    return false;
}

bool Map::Data::inArea(const Area& area, Point p) const {
    if (p.x < area.lo.x - EPS || p.y < area.lo.y - EPS || p.x > area.hi.x + EPS || p.y > area.hi.y + EPS) {
        return false;
    }
    for (int r : area.rings) {
        if (onRing(rings[r], p)) {
            return true;
        }
    }
    if (!insideRing(rings[area.rings[0]], p)) {
        return false;
    }
    for (size_t h = 1; h < area.rings.size(); ++h) {
        if (insideRing(rings[area.rings[h]], p)) {
            return false;
        }
    }
    return true;
}

// Through the grid: a point on an edge lies in that edge's area; otherwise a ray towards +x crosses
// the edges of all rings an odd number of times exactly when the point lies in an area, and the first
// edge it meets then belongs to that area (other areas lie beyond the holes of this one).
int Map::Data::areaAt(Point p) const {
    if (!grid.covers(p)) {
        return -1;
    }
    int column = grid.column(p.x);
    int row = grid.row(p.y);
    int onEdge = -1;
    grid.forEachEdgeIn(column, row, [&](int e) {
        if (onEdge < 0 && distance(p, closestOnSegment(vertices[e].p, vertices[vertices[e].next].p, p)) <= EPS) {
            onEdge = e;
        }
    });
    if (onEdge >= 0) {
        return rings[vertices[onEdge].ring].area;
    }
    bool odd = false;
    double nearest = std::numeric_limits<double>::infinity();
    int nearestEdge = -1;
    for (int c = column; c < grid.columns(); ++c) {
        grid.forEachEdgeIn(c, row, [&](int e) {
            Point a = vertices[e].p;
            Point b = vertices[vertices[e].next].p;
            if ((a.y > p.y) == (b.y > p.y)) {
                return;
            }
            double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            // An edge listed in several cells counts in the cell where it meets the ray.
            if (x > p.x && grid.column(x) == c) {
                odd = !odd;
                if (x < nearest) {
                    nearest = x;
                    nearestEdge = e;
                }
            }
        });
    }
    return odd ? rings[vertices[nearestEdge].ring].area : -1;
}

Point Map::Data::nearestInArea(int area, Point p) const {
    Point best = p;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int r : areas[area].rings) {
        const Ring& ring = rings[r];
        for (int i = ring.first; i < ring.first + ring.count; ++i) {
            Point c = closestOnSegment(vertices[i].p, vertices[vertices[i].next].p, p);
            double d = distance(p, c);
            if (d < bestDistance) {
                bestDistance = d;
                best = c;
            }
        }
    }
    return best;
}

// Whether the segment from corner v towards x starts on the walkable side of v.
bool Map::Data::inCone(int v, Point x) const {
    const Vertex& vertex = vertices[v];
    Point before = vertices[vertex.prev].p;
    Point after = vertices[vertex.next].p;
    bool leftOfIncoming = lineDistance(before, vertex.p, x) >= -EPS;
    bool leftOfOutgoing = lineDistance(vertex.p, after, x) >= -EPS;
    bool convex = cross(vertex.p - before, after - vertex.p) > 0;
    return convex ? (leftOfIncoming && leftOfOutgoing) : (leftOfIncoming || leftOfOutgoing);
}

// Whether the line from x to corner v only touches the corner: both neighbours of v lie on one side.
bool Map::Data::taut(Point x, int v) const {
    const Vertex& vertex = vertices[v];
    if (distance(x, vertex.p) <= EPS) {
        return true;
    }
    return sideOf(x, vertex.p, vertices[vertex.prev].p) * sideOf(x, vertex.p, vertices[vertex.next].p) >= 0;
}

// Whether the segment p-q stays on the walkable side; both ends lie in the area (edges included).
// Running along an edge or through a corner counts as visible.
bool Map::Data::visible(Point p, Point q, Scratch& scratch) const {
    Point pq = q - p;
    double total = length(pq);
    if (total <= EPS) {
        return true;
    }
    Point direction = pq * (1.0 / total);
    ++scratch.epoch;
    return grid.forEachEdge(p, q, [&](int e) {
        if (scratch.stamp[e] == scratch.epoch) {
            return true;
        }
        scratch.stamp[e] = scratch.epoch;
        const Vertex& start = vertices[e];
        Point a = start.p;
        Point b = vertices[start.next].p;
        int sa = sign(cross(direction, a - p));
        int sb = sign(cross(direction, b - p));
        if (sa * sb > 0) {
            return true;
        }
        Point edge = (b - a) * (1.0 / start.edgeLength);
        int sp = sign(cross(edge, p - a));
        int sq = sign(cross(edge, q - a));
        if (sa * sb < 0 && sp * sq < 0) {
            return false;
        }
        // The edge's start lies on the segment: the segment must pass the corner on its walkable side.
        if (sa == 0) {
            double along = dot(a - p, direction);
            if (along >= -EPS && along <= total + EPS) {
                if (along > EPS && !inCone(e, p)) {
                    return false;
                }
                if (along < total - EPS && !inCone(e, q)) {
                    return false;
                }
            }
        }
        // An end of the segment lies inside the edge: the segment must leave it to the walkable side.
        auto inside = [&](Point x) {
            double along = dot(x - a, edge);
            return along > EPS && along < start.edgeLength - EPS;
        };
        return !(sp == 0 && sq < 0 && inside(p)) && !(sq == 0 && sp < 0 && inside(q));
    });
}

// A* over the corners of one area, from a start to an end that do not see each other. The links
// between corners are known; those from the start and to the end are tested only when the search
// reaches them, which leaves most of them untested.
std::vector<Point> Map::Data::search(int area, Point from, Point to, Scratch& scratch) const {
    const Area& region = areas[area];
    int count = region.cornerEnd - region.cornerBegin;
    int start = count;
    int goal = count + 1;
    auto position = [&](int node) {
        return node == start ? from : (node == goal ? to : vertices[corners[region.cornerBegin + node]].p);
    };
    struct Entry {
        double estimate;
        double cost;
        int node;
        int parent;
        bool tested;
        bool operator>(const Entry& other) const { return estimate > other.estimate; }
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    std::vector<double> bestTested(count + 2, std::numeric_limits<double>::infinity());
    std::vector<int> parent(count + 2, -1);
    std::vector<char> closed(count + 2, 0);
    auto reach = [&](int source, double sourceCost, int node, double step, bool tested) {
        double cost = sourceCost + step;
        if (closed[node] || (tested && cost >= bestTested[node])) {
            return;
        }
        if (tested) {
            bestTested[node] = cost;
        }
        open.push({cost + distance(position(node), to), cost, node, source, tested});
    };
    for (int c = 0; c < count; ++c) {
        int v = corners[region.cornerBegin + c];
        if (taut(from, v)) {
            reach(start, 0, c, distance(from, vertices[v].p), false);
        }
    }
    closed[start] = 1;
    while (!open.empty()) {
        Entry entry = open.top();
        open.pop();
        if (closed[entry.node] || (!entry.tested && !visible(position(entry.parent), position(entry.node), scratch))) {
            continue;
        }
        closed[entry.node] = 1;
        parent[entry.node] = entry.parent;
        if (entry.node == goal) {
            std::vector<Point> path;
            for (int n = goal; n != -1; n = parent[n]) {
                path.push_back(position(n));
            }
            std::reverse(path.begin(), path.end());
            return path;
        }
        Point here = position(entry.node);
        if (taut(to, corners[region.cornerBegin + entry.node])) {
            reach(entry.node, entry.cost, goal, distance(here, to), false);
        }
        for (const auto& [other, d] : links[region.cornerBegin + entry.node]) {
            reach(entry.node, entry.cost, other - region.cornerBegin, d, true);
        }
    }
    return {};
}

// ---------------------------------------------------------------- Map

Map::Map() = default;

Map::Map(std::unique_ptr<Data> data) : data(std::move(data)) {}

Map::Map(const vessot::String& path) : Map(fromText(vessot::Resource::hread(path), path)) {}

Map Map::fromText(const vessot::String& text, const vessot::String& name) {
    auto data = std::make_unique<Data>();
    data->name = name;
    data->parse(text);
    return Map(std::move(data));
}

Map::~Map() = default;
Map::Map(Map&&) noexcept = default;
Map& Map::operator=(Map&&) noexcept = default;

bool Map::isPointIn(const morvec::Vector2& point) const {
    return !data || data->areaAt(toPoint(point)) >= 0;
}

vessot::Array<morvec::Vector2> Map::findPath(const morvec::Vector2& from, const morvec::Vector2& to) const {
    if (!data) {
        return from == to ? vessot::Array<morvec::Vector2>() : vessot::Array<morvec::Vector2>{from, to};
    }
    Point start = toPoint(from);
    int area = data->areaAt(start);
    if (area < 0) {
        // A start just outside (a stored position cut to whole units) is moved onto the nearest area.
        double best = START_TOLERANCE;
        Point moved = start;
        for (int a = 0; a < (int)data->areas.size(); ++a) {
            Point onto = data->nearestInArea(a, start);
            if (distance(start, onto) <= best) {
                best = distance(start, onto);
                moved = onto;
                area = a;
            }
        }
        if (area < 0) {
            return {};
        }
        start = moved;
    }
    Point end = toPoint(to);
    int endArea = data->areaAt(end);
    if (endArea >= 0 && endArea != area) {
        return {};
    }
    if (endArea < 0) {
        end = data->nearestInArea(area, end);
    }
    std::vector<Point> points;
    Data::Scratch scratch;
    scratch.stamp.assign(data->vertices.size(), 0);
    if (data->visible(start, end, scratch)) {
        points = {start, end};
    } else {
        points = data->search(area, start, end, scratch);
        if (points.empty()) {
            vessot::Log::warn("lba", "no path found in " + data->name + " from " + vessot::String::fromFloat(from.x) +
                                         "," + vessot::String::fromFloat(from.y) + " to " +
                                         vessot::String::fromFloat(to.x) + "," + vessot::String::fromFloat(to.y));
        }
    }
    vessot::Array<morvec::Vector2> path;
    for (Point p : points) {
        morvec::Vector2 v = toVector(p);
        if (path.empty() || path.last() != v) {
            path.add(v);
        }
    }
    if (path.size() < 2) {
        path.clear();
    }
    return path;
}

vessot::Array<Map::Region> Map::getRegions() const {
    vessot::Array<Region> regions;
    if (!data) {
        return regions;
    }
    for (const Data::Area& area : data->areas) {
        Region region;
        for (int r : area.rings) {
            const Data::Ring& ring = data->rings[r];
            vessot::Array<morvec::Vector2> points;
            for (int i = ring.first; i < ring.first + ring.count; ++i) {
                points.add(toVector(data->vertices[i].p));
            }
            region.rings.add(points);
        }
        for (int c = area.cornerBegin; c < area.cornerEnd; ++c) {
            region.corners.add(toVector(data->vertices[data->corners[c]].p));
        }
        regions.add(region);
    }
    return regions;
}

} // namespace lba
