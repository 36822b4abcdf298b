#include "engine/scene/ActionMap.h"
#include "AmpBuilder.h"
#include "TempDir.h"
#include "nimbo/Headless.h"

#include "nimboui/Exception.h"
#include "vessot/System.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

struct Picture {
    int width, height;
    std::vector<uint8_t> rgba;
    Picture(int w, int h) : width(w), height(h), rgba((size_t)w * h * 4, 0) {}
    void fill(int x0, int y0, int x1, int y1, uint32_t rgb) {
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                uint8_t* p = &rgba[((size_t)y * width + x) * 4];
                p[0] = (uint8_t)(rgb >> 16);
                p[1] = (uint8_t)(rgb >> 8);
                p[2] = (uint8_t)rgb;
                p[3] = 255;
            }
        }
    }
    uint32_t at(int x, int y) const {
        const uint8_t* p = &rgba[((size_t)y * width + x) * 4];
        return p[3] ? ((uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]) : 0;
    }
};

// Raw bytes of a file with one area, for the reader's refusals.
std::vector<uint8_t> oneAreaFile(int32_t count, int32_t maskBytes, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                                 int32_t maskLength, size_t maskPresent) {
    std::vector<uint8_t> out(std::begin("QuendaAMPv3"), std::begin("QuendaAMPv3") + 11);
    auto put32 = [&](int32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back((uint8_t)((uint32_t)v >> (8 * i)));
    };
    auto put16 = [&](int16_t v) {
        out.push_back((uint8_t)((uint16_t)v & 0xFF));
        out.push_back((uint8_t)((uint16_t)v >> 8));
    };
    put32(count);
    put32(426);
    put32(320);
    put32(maskBytes);
    put32(0xFF0000);
    for (int16_t v : {x1, y1, x2, y2, (int16_t)0, (int16_t)0})
        put16(v);
    put32(maskLength);
    out.insert(out.end(), maskPresent, 0xFF);
    return out;
}

// An area record: its id, box and mask length (the mask all set).
struct Record {
    int32_t id;
    int x1, y1, x2, y2;
    int maskLength;
};

// A hotspot map file of the records in order.
std::vector<uint8_t> recordsFile(const std::vector<Record>& records) {
    std::vector<uint8_t> bytes(std::begin("QuendaAMPv3"), std::begin("QuendaAMPv3") + 11);
    auto put32 = [&](int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back((uint8_t)((uint32_t)v >> (8 * i)));
    };
    auto put16 = [&](int v) {
        bytes.push_back((uint8_t)((uint16_t)v & 0xFF));
        bytes.push_back((uint8_t)((uint16_t)v >> 8));
    };
    int32_t maskBytes = 0;
    for (const Record& r : records) {
        maskBytes += r.maskLength;
    }
    put32((int32_t)records.size());
    put32(426);
    put32(320);
    put32(maskBytes);
    for (const Record& r : records) {
        put32(r.id);
        for (int v : {r.x1, r.y1, r.x2, r.y2, r.x1, r.y1})
            put16(v);
        put32(r.maskLength);
        bytes.insert(bytes.end(), (size_t)r.maskLength, 0xFF);
    }
    return bytes;
}

} // namespace

TEST(ActionMap, HitTestMatchesThePictureItWasMadeFrom) {
    TempDir dir;
    Picture pic(426, 320);
    pic.fill(10, 10, 60, 40, 0xFF0000);
    pic.fill(50, 30, 120, 90, 0x00FF00); // painted over part of the red box
    pic.fill(200, 100, 200, 100, 0x0000FF);
    pic.fill(300, 200, 425, 319, 0x123456);
    auto areas = ampmaker::findAreas(pic.rgba.data(), pic.width, pic.height);
    writeBytes(dir / "Cockpit.amp", ampmaker::encode(areas, pic.width, pic.height));
    ActionMap map(dir / "Cockpit.amp");
    EXPECT_EQ(map.getName(), "Cockpit");
    EXPECT_EQ(map.headerA, 426);
    EXPECT_EQ(map.headerB, 320);
    vessot::srand(7);
    for (int i = 0; i < 20000; ++i) {
        int x = vessot::jrand(0, 426);
        int y = vessot::jrand(0, 320);
        ASSERT_EQ(map.getAreaAt(x, y), pic.at(x, y)) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{10, 10}, {60, 40}, {425, 319}, {200, 100}, {0, 0}}) {
        EXPECT_EQ(map.getAreaAt(x, y), pic.at(x, y)) << x << "," << y;
    }
    EXPECT_EQ(map.getAreaAt(-1, 5), 0u);
    EXPECT_EQ(map.getAreaAt(426, 5), 0u);
    EXPECT_EQ(map.getAreaPosition(0x0000FF), morvec::Vector2(200, 100));
    EXPECT_EQ(map.getAreaPosition(0xABCDEF), morvec::Vector2(0, 0));
}

TEST(ActionMap, BitOrderIsMostSignificantFirst) {
    TempDir dir;
    // A 3-wide box whose only set bit is k = 3: (x1, y1 + 1), bit 4 of the first byte.
    std::vector<uint8_t> bytes = oneAreaFile(1, 2, 5, 5, 7, 8, 2, 0);
    bytes.push_back(0x10);
    bytes.push_back(0x00);
    writeBytes(dir / "bits.amp", bytes);
    ActionMap map(dir / "bits.amp");
    EXPECT_EQ(map.getAreaAt(5, 6), 0xFF0000u);
    EXPECT_EQ(map.getAreaAt(5, 5), 0u);
    EXPECT_EQ(map.getAreaAt(6, 6), 0u);
}

TEST(ActionMap, OverlaysWinExceptOnDummy) {
    TempDir dir;
    Picture pic(50, 50);
    pic.fill(0, 0, 49, 49, 0x00FF00);
    writeBytes(dir / "m.amp", ampmaker::encode(ampmaker::findAreas(pic.rgba.data(), 50, 50), 50, 50));
    ActionMap map(dir / "m.amp");
    map.addOverlay(new AmpRectangleOverlay(0x0000AA, 10, 10, 5, 5));
    EXPECT_EQ(map.getAreaAt(12, 12), 0x0000AAu);
    EXPECT_EQ(map.getAreaAt(16, 16), 0x00FF00u);
    EXPECT_EQ(map.getAreaPosition(0x0000AA), morvec::Vector2(12.5f, 12.5f));

    ActionMap dummy("dummy");
    dummy.addOverlay(new AmpRectangleOverlay(1, 0, 0, 100, 100));
    EXPECT_EQ(dummy.getAreaAt(5, 5), 0u);

    // A real map with no areas still honours its overlays.
    writeBytes(dir / "empty.amp", ampmaker::encode({}, 426, 320));
    ActionMap empty(dir / "empty.amp");
    empty.addOverlay(new AmpRectangleOverlay(9, 0, 0, 10, 10));
    EXPECT_EQ(empty.getAreaAt(5, 5), 9u);
    empty.clearOverlays();
    EXPECT_EQ(empty.getAreaAt(5, 5), 0u);
}

TEST(ActionMap, RefusesDamagedFilesNamingThem) {
    TempDir dir;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"magic.amp", {'N', 'o', 't', 'A', 'M', 'P', 0, 'x', 'x', 'x', 'x'}},
        {"short.amp", {'Q', 'u', 'e'}},
        {"negative_block.amp", oneAreaFile(1, -5, 0, 0, 0, 0, 1, 1)},
        {"big_block.amp", oneAreaFile(1, 1 << 30, 0, 0, 0, 0, 1, 1)},
        {"count.amp", oneAreaFile(1000, 1, 0, 0, 0, 0, 1, 1)},
        {"inverted.amp", oneAreaFile(1, 1, 5, 5, 4, 5, 1, 1)},
        {"short_mask.amp", oneAreaFile(1, 1, 0, 0, 9, 9, 1, 1)},
        {"over_block.amp", oneAreaFile(1, 1, 0, 0, 0, 0, 2, 2)},
        {"truncated.amp", oneAreaFile(1, 4, 0, 0, 1, 1, 4, 1)},
    };
    for (const Case& c : cases) {
        writeBytes(dir / c.name, c.bytes);
        try {
            ActionMap map(dir / c.name);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const nimboui::_GenericException& e) {
            EXPECT_NE(e.message().find(c.name), std::string::npos) << e.message();
        }
    }
    EXPECT_THROW(ActionMap(dir / "missing.amp"), nimboui::_GenericException);
    try {
        ActionMap map(dir / "magic.amp");
    } catch (const nimboui::_GenericException& e) {
        EXPECT_NE(e.message().find("magic string doesn't match: 'NotAMP', should be 'QuendaAMPv3'"), std::string::npos);
    }
}

TEST(ActionMap, NonPositiveCountIsAMapWithoutAreas) {
    TempDir dir;
    writeBytes(dir / "none.amp", oneAreaFile(-3, 0, 0, 0, 0, 0, 0, 0));
    ActionMap map(dir / "none.amp");
    EXPECT_TRUE(map.getAreas().empty());
    EXPECT_EQ(map.getAreaAt(0, 0), 0u);
}

TEST(ActionMap, SixtyOverlappingAreasAnswerLikeTheirPicture) {
    TempDir dir;
    Picture pic(852, 320);
    vessot::srand(11);
    for (uint32_t i = 1; i <= 60; ++i) {
        int w = vessot::jrand(1, 120);
        int h = vessot::jrand(1, 120);
        int x = vessot::jrand(0, 852 - w);
        int y = vessot::jrand(0, 320 - h);
        pic.fill(x, y, x + w - 1, y + h - 1, 0x010203u * i);
    }
    pic.fill(851, 0, 851, 319, 0xABCDEF);
    writeBytes(dir / "wide.amp", ampmaker::encode(ampmaker::findAreas(pic.rgba.data(), 852, 320), 852, 320));
    ActionMap map(dir / "wide.amp");
    for (int y = -20; y < 340; ++y) {
        for (int x = -20; x < 872; ++x) {
            bool inside = x >= 0 && y >= 0 && x < 852 && y < 320;
            ASSERT_EQ(map.getAreaAt(x, y), inside ? pic.at(x, y) : 0u) << x << "," << y;
        }
    }
}

TEST(ActionMap, BoxesFarApartLeftOfTheOriginOverlappingOrSharingAnId) {
    TempDir dir;
    // Two areas covering one point: the earlier in the file wins. One id in two records: the
    // first gives the area's position.
    const std::vector<Record> shared = {{0x333333, 100, 100, 103, 103, 2},
                                        {0x444444, 102, 102, 105, 105, 2},
                                        {0x555555, 200, 200, 201, 201, 1},
                                        {0x555555, 300, 300, 301, 301, 1}};
    std::vector<Record> far = {{0x111111, -10, -5, -3, -1, 8},
                               {0x222222, 30000, 30000, 30001, 30001, 1},
                               {0, -32768, -32768, -32767, -32767, 1}};
    far.insert(far.end(), shared.begin(), shared.end());
    writeBytes(dir / "far.amp", recordsFile(far));
    writeBytes(dir / "near.amp", recordsFile(shared));
    ActionMap map(dir / "far.amp");
    EXPECT_EQ(map.getAreaAt(-10, -5), 0x111111u);
    EXPECT_EQ(map.getAreaAt(-3, -1), 0x111111u);
    EXPECT_EQ(map.getAreaAt(-2, -1), 0u);
    EXPECT_EQ(map.getAreaAt(30001, 30001), 0x222222u);
    EXPECT_EQ(map.getAreaAt(30002, 30001), 0u);
    EXPECT_EQ(map.getAreaAt(0, 0), 0u);
    EXPECT_EQ(map.getAreaAt(-32768, -32768), 0u);
    EXPECT_EQ(map.getAreaPosition(0x111111), morvec::Vector2(-10, -5));
    ActionMap near(dir / "near.amp");
    for (const ActionMap* m : {&map, &near}) {
        SCOPED_TRACE(m->getName());
        EXPECT_EQ(m->getAreaAt(101, 101), 0x333333u);
        EXPECT_EQ(m->getAreaAt(103, 103), 0x333333u);
        EXPECT_EQ(m->getAreaAt(104, 104), 0x444444u);
        EXPECT_EQ(m->getAreaAt(300, 300), 0x555555u);
        EXPECT_EQ(m->getAreaPosition(0x555555), morvec::Vector2(200, 200));
    }
    // Areas enough for more than a million entries of the hit-test grid are searched one by one,
    // in file order as well.
    std::vector<Record> crowd(16400, Record{0x444444, 0, 0, 1023, 0, 128});
    crowd.front().id = 0x333333;
    writeBytes(dir / "crowd.amp", recordsFile(crowd));
    EXPECT_EQ(ActionMap(dir / "crowd.amp").getAreaAt(500, 0), 0x333333u);
}

class OverlayDrawTest : public Headless {};

TEST_F(OverlayDrawTest, RectangleOverlayFillsItsAreaInItsColourAtHalfAlpha) {
    nimbo::rendersys->clear(true, false);
    AmpRectangleOverlay overlay(0x20FF40, 10, 20, 30, 10);
    overlay.draw();
    EXPECT_TRUE(near(pixel(25, 25), nimbo::Color(16, 127, 32, 255)));
    EXPECT_TRUE(near(pixel(5, 25), nimbo::Color(0, 0, 0, 255)));
    EXPECT_TRUE(near(pixel(25, 35), nimbo::Color(0, 0, 0, 255)));
}
