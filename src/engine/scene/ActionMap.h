#pragma once
// A scene's hotspot map, read from an ".amp" file: one bit mask per area over its bounding box. Area
// ids are the areas' colours (0xRRGGBB). Rectangular overlays laid over the map at run time win
// over the file's areas.

#include "morvec/Vector.h"
#include "vessot/String.h"

#include <cstdint>
#include <vector>

using vessot::String;

struct ActionMapArea {
    int32_t id = 0;
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int16_t px = 0, py = 0;
    // Offset of this area's mask in the map's mask block.
    size_t maskOffset = 0;
};

class AmpOverlay {
public:
    explicit AmpOverlay(uint32_t overlayId) : id(overlayId) {}
    virtual ~AmpOverlay() = default;
    virtual void draw() {}
    // The overlay's id when the point lies on it, else 0.
    virtual uint32_t hitTest(int x, int y) {
        (void)x;
        (void)y;
        return 0;
    }
    virtual morvec::Vector2 getPosition() = 0;

    uint32_t id;
};

class AmpRectangleOverlay : public AmpOverlay {
public:
    AmpRectangleOverlay(uint32_t overlayId, float x, float y, float w, float h)
        : AmpOverlay(overlayId), x(x), y(y), w(w), h(h) {}
    void draw() override;
    uint32_t hitTest(int px, int py) override;
    morvec::Vector2 getPosition() override { return {x + w * 0.5f, y + h * 0.5f}; }

    float x, y, w, h;
};

class ActionMap {
public:
    // Reads the file; the path "dummy" makes the empty map used by scenes without hotspots.
    explicit ActionMap(const String& path);
    ~ActionMap();
    ActionMap(const ActionMap&) = delete;
    ActionMap& operator=(const ActionMap&) = delete;

    String getName() const { return name; }
    // The id of the area under the point; 0 for none.
    uint32_t getAreaAt(int x, int y) const;
    morvec::Vector2 getAreaPosition(uint32_t id) const;
    void addOverlay(AmpOverlay* overlay) { overlays.push_back(overlay); }
    void clearOverlays();
    bool isDummy() const { return dummy; }
    // The areas in file order, which is the hit-test order.
    const std::vector<ActionMapArea>& getAreas() const { return areas; }

    std::vector<AmpOverlay*> overlays;
    int32_t headerA = 0;
    int32_t headerB = 0;

private:
    // What the hit test reads of one area, packed together: the box as origin and size, the id
    // (0 for an area that never hits) and where its mask starts.
    struct Probe {
        int32_t x1, y1;
        uint32_t width, height;
        uint32_t id;
        uint32_t maskOffset;
    };

    // A coarse grid over the areas' boxes: each cell lists, in file order, the areas whose box meets
    // it, so a hit test reads only those. Maps whose boxes would fill too many cells go without.
    struct Grid {
        int64_t left = 0, top = 0;
        int64_t columns = 0, rows = 0;
        int shift = 0;
        std::vector<uint32_t> cellStart;
        std::vector<uint32_t> cellAreas;
    };

    void read(const String& path);
    void buildGrid();
    bool hits(const Probe& probe, int x, int y) const;

    std::vector<ActionMapArea> areas;
    std::vector<Probe> probes;
    Grid grid;
    std::vector<uint8_t> maskBlock;
    String name;
    bool dummy = false;
};
