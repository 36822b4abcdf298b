// Path queries on a scene-sized walk map (852 x 320 units, 300 vertices, 12 holes) against grid A*
// over the same map rasterised at one cell per unit, 8 neighbours without cutting corners: the way
// mask-based adventure engines plan walks.

#include "Report.h"
#include "Timing.h"
#include "trailex/Map.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 852;
constexpr int HEIGHT = 320;
constexpr int QUERIES = 10000;

// A jagged outline (204 vertices) and 12 jittered octagons in a 4 x 3 layout.
std::string makeWalkMap() {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> jag(4, 20);
    std::string text = "walkmap 1\narea\n";
    auto point = [&](double x, double y) { text += std::to_string(x) + " " + std::to_string(y) + "\n"; };
    const int perSide = 102;
    for (int i = 0; i < perSide; ++i) {
        double x = WIDTH * i / (perSide - 1.0);
        point(x, i % 2 == 0 ? 0.0 : jag(random));
    }
    for (int i = 0; i < perSide; ++i) {
        double x = WIDTH * (perSide - 1 - i) / (perSide - 1.0);
        point(x, i % 2 == 0 ? HEIGHT : HEIGHT - jag(random));
    }
    std::uniform_real_distribution<double> radiusX(20, 35);
    std::uniform_real_distribution<double> radiusY(25, 35);
    std::uniform_real_distribution<double> jitter(0.75, 1.0);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            double cx = WIDTH * (column + 0.5) / 4 + (row - 1) * 40;
            double cy = 60 + 100 * row;
            double rx = radiusX(random);
            double ry = radiusY(random);
            text += "hole\n";
            for (int k = 0; k < 8; ++k) {
                double angle = 2 * M_PI * k / 8;
                double f = jitter(random);
                point(cx + std::cos(angle) * rx * f, cy + std::sin(angle) * ry * f);
            }
        }
    }
    return text;
}

// Grid A* over the rasterised map; cost 1 straight, sqrt(2) diagonal, no corner cutting.
class GridPlanner {
public:
    explicit GridPlanner(const lba::Map& map) : walkable(WIDTH * HEIGHT), cost(WIDTH * HEIGHT), stamp(WIDTH * HEIGHT) {
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0; x < WIDTH; ++x) {
                walkable[y * WIDTH + x] = map.isPointIn(morvec::Vector2(x + 0.5f, y + 0.5f));
            }
        }
    }

    bool isWalkable(morvec::Vector2 p) const {
        int x = (int)p.x;
        int y = (int)p.y;
        return x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT && walkable[y * WIDTH + x];
    }

    // The path length between the cell centres of both points, or -1 when there is none.
    float search(morvec::Vector2 from, morvec::Vector2 to) {
        ++generation;
        int start = (int)from.y * WIDTH + (int)from.x;
        int goal = (int)to.y * WIDTH + (int)to.x;
        int gx = goal % WIDTH;
        int gy = goal / WIDTH;
        auto heuristic = [&](int cell) {
            float dx = (float)std::abs(cell % WIDTH - gx);
            float dy = (float)std::abs(cell / WIDTH - gy);
            return std::max(dx, dy) + (std::sqrt(2.0f) - 1) * std::min(dx, dy);
        };
        using Entry = std::pair<float, int>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        open.push({heuristic(start), start});
        cost[start] = 0;
        stamp[start] = generation;
        static const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1};
        static const int dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
        while (!open.empty()) {
            auto [f, cell] = open.top();
            open.pop();
            if (cell == goal) {
                return cost[cell];
            }
            if (f > cost[cell] + heuristic(cell) + 1e-4f) {
                continue;
            }
            int x = cell % WIDTH;
            int y = cell / WIDTH;
            for (int k = 0; k < 8; ++k) {
                int nx = x + dx[k];
                int ny = y + dy[k];
                if (nx < 0 || ny < 0 || nx >= WIDTH || ny >= HEIGHT || !walkable[ny * WIDTH + nx]) {
                    continue;
                }
                if (k >= 4 && (!walkable[y * WIDTH + nx] || !walkable[ny * WIDTH + x])) {
                    continue;
                }
                int next = ny * WIDTH + nx;
                float c = cost[cell] + (k < 4 ? 1.0f : std::sqrt(2.0f));
                if (stamp[next] != generation || c < cost[next]) {
                    stamp[next] = generation;
                    cost[next] = c;
                    open.push({c + heuristic(next), next});
                }
            }
        }
        return -1;
    }

private:
    std::vector<char> walkable;
    std::vector<float> cost;
    std::vector<unsigned> stamp;
    unsigned generation = 0;
};

struct Query {
    morvec::Vector2 from, to;
};

struct Setup {
    lba::Map map = lba::Map::fromText(makeWalkMap(), "bench.walk");
    GridPlanner grid{map};
    std::vector<Query> queries;

    Setup() {
        std::mt19937 random(99);
        std::uniform_real_distribution<float> x(0, WIDTH);
        std::uniform_real_distribution<float> y(0, HEIGHT);
        auto pick = [&] {
            for (;;) {
                morvec::Vector2 p(x(random), y(random));
                if (map.isPointIn(p) && grid.isWalkable(p)) {
                    return p;
                }
            }
        };
        while ((int)queries.size() < QUERIES) {
            queries.push_back({pick(), pick()});
        }
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

float length(const vessot::Array<morvec::Vector2>& path) {
    float total = 0;
    for (int i = 1; i < path.size(); ++i) {
        total += (path[i] - path[i - 1]).length();
    }
    return total;
}

// Every query once through both planners: per-query medians and a path length comparison.
void compare() {
    Setup& s = setup();
    std::vector<double> ours, grid;
    int longer = 0;
    int missing = 0;
    std::vector<vessot::Array<morvec::Vector2>> paths(s.queries.size());
    std::vector<float> gridLengths(s.queries.size());
    // One planner at a time, so that neither runs on caches the other has just filled with its data.
    for (size_t i = 0; i < s.queries.size(); ++i) {
        ours.push_back(
            benchreport::elapsed<std::micro>([&] { paths[i] = s.map.findPath(s.queries[i].from, s.queries[i].to); }));
    }
    for (size_t i = 0; i < s.queries.size(); ++i) {
        grid.push_back(benchreport::elapsed<std::micro>(
            [&] { gridLengths[i] = s.grid.search(s.queries[i].from, s.queries[i].to); }));
    }
    for (size_t i = 0; i < s.queries.size(); ++i) {
        if (paths[i].empty() && s.queries[i].from != s.queries[i].to) {
            ++missing;
        } else if (gridLengths[i] >= 0 && length(paths[i]) > gridLengths[i] + 1.5f) {
            ++longer;
        }
    }
    double oursMedian = benchreport::median(ours);
    double gridMedian = benchreport::median(grid);
    std::printf("queries %d, our median %.2f us, grid median %.2f us, longer than grid %d, no path %d\n",
                (int)s.queries.size(), oursMedian, gridMedian, longer, missing);
    benchreport::figure("path_query_median", oursMedian, "us");
    benchreport::figure("path_grid_query_median", gridMedian, "us");
    benchreport::figure("path_longer_than_grid", longer + missing, "queries");
    benchreport::ratio("path_vs_grid", oursMedian / gridMedian);
}

void BM_WalkMapQuery(benchmark::State& state) {
    Setup& s = setup();
    size_t i = 0;
    for (auto _ : state) {
        const Query& q = s.queries[i++ % s.queries.size()];
        benchmark::DoNotOptimize(s.map.findPath(q.from, q.to));
    }
}
BENCHMARK(BM_WalkMapQuery);

void BM_GridQuery(benchmark::State& state) {
    Setup& s = setup();
    size_t i = 0;
    for (auto _ : state) {
        const Query& q = s.queries[i++ % s.queries.size()];
        benchmark::DoNotOptimize(s.grid.search(q.from, q.to));
    }
}
BENCHMARK(BM_GridQuery);

void BM_WalkMapLoad(benchmark::State& state) {
    std::string text = makeWalkMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lba::Map::fromText(text, "bench.walk"));
    }
}
BENCHMARK(BM_WalkMapLoad);

} // namespace

int main(int argc, char** argv) {
    return benchreport::runMain(argc, argv, compare);
}
