#include "Figures.h"

#include "nimbo/Image.h"
#include "vessot/File.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace artgen {

namespace {

// A frame cell of the sheet, in pixels; the feet stand at the bottom middle.
constexpr int FRAME_W = 72;
constexpr int FRAME_H = 136;
constexpr float CENTRE_X = 36.0f;
constexpr float FEET_Y = 132.0f;
constexpr int COLUMNS = 28;
constexpr float PI = 3.14159265f;
// A character stands this many units high (136 pixels at the interface's scale of 8/15).
constexpr int HEIGHT_UNITS = 72;

struct Point3 {
    // Sideways (to the character's left), forwards and up from the feet, in pixels.
    float side, forward, up;
};

Point3 lerp(const Point3& a, const Point3& b, float t) {
    return {a.side + (b.side - a.side) * t, a.forward + (b.forward - a.forward) * t, a.up + (b.up - a.up) * t};
}

// A capsule from a to b (a disc when both are equal) with an outline around it.
struct Part {
    Point3 a, b;
    float radius;
    nimbo::Color fill;
    float outline;
    // Added to the depth, so that details sit on what carries them.
    float bias;
};

struct Look {
    const char* name;
    nimbo::Color suit, trim, skin, hair, outline, boots;
    // Width of the body relative to the slimmest figure.
    float build;
    bool longHair;
    bool cap;
    int takeFrames;
    bool gun;
    // The walking directions drawn; the others are derived when the game loads the chapter.
    std::vector<const char*> walkDirections;
};

struct Direction {
    const char* name;
    // The way the character faces: 0 towards the viewer (south), 90 to the screen's right (east).
    float degrees;
};

const Direction DIRECTIONS[] = {{"N", 180}, {"NE", 135}, {"E", 90},  {"SE", 45},
                                {"S", 0},   {"SW", 315}, {"W", 270}, {"NW", 225}};
const std::vector<const char*> ALL_DIRECTIONS = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

const Look LOOKS[] = {
    {"vorne", nimbo::Color(52, 96, 190, 255), nimbo::Color(236, 198, 70, 255), nimbo::Color(236, 190, 150, 255),
     nimbo::Color(98, 58, 30, 255), nimbo::Color(16, 24, 64, 255), nimbo::Color(36, 36, 48, 255), 1.0f, false, false, 5,
     true, ALL_DIRECTIONS},
    {"luna",
     nimbo::Color(40, 168, 128, 255),
     nimbo::Color(240, 240, 232, 255),
     nimbo::Color(246, 206, 176, 255),
     nimbo::Color(204, 62, 40, 255),
     nimbo::Color(8, 58, 40, 255),
     nimbo::Color(70, 50, 40, 255),
     0.9f,
     true,
     false,
     6,
     false,
     {"N", "NE", "E", "SE", "S"}},
    {"danny", nimbo::Color(228, 128, 40, 255), nimbo::Color(120, 70, 30, 255), nimbo::Color(150, 100, 70, 255),
     nimbo::Color(30, 26, 26, 255), nimbo::Color(82, 38, 8, 255), nimbo::Color(50, 40, 30, 255), 1.15f, false, true, 9,
     false, ALL_DIRECTIONS},
};

nimbo::Color darker(const nimbo::Color& c, float f) {
    return nimbo::Color((int)(c.r * f), (int)(c.g * f), (int)(c.b * f), c.a);
}

// What the figure does in one frame: the walking phase (radians), or how far it has taken something,
// drawn its gun or opened its mouth to talk (0 to 1); negative means not.
struct Pose {
    float walk = -1.0f;
    float take = -1.0f;
    float draw = -1.0f;
    float talk = -1.0f;
};

std::vector<Part> figure(const Look& look, const Pose& pose) {
    float b = look.build;
    float swing = 0.0f;
    float liftLeft = 0.0f;
    float liftRight = 0.0f;
    float bob = 0.0f;
    if (pose.walk >= 0.0f) {
        swing = 9.0f * std::sin(pose.walk);
        liftLeft = 4.0f * std::max(0.0f, std::cos(pose.walk));
        liftRight = 4.0f * std::max(0.0f, -std::cos(pose.walk));
        bob = 1.5f * std::fabs(std::cos(pose.walk));
    }
    float lean = pose.take > 0.0f ? pose.take : 0.0f;
    float drop = 3.0f * lean - bob;
    float ahead = 5.0f * lean;
    nimbo::Color trousers = darker(look.suit, 0.75f);
    std::vector<Part> parts;
    for (float side : {-1.0f, 1.0f}) {
        float step = side < 0 ? swing : -swing;
        float lift = side < 0 ? liftLeft : liftRight;
        Point3 hip{6.0f * b * side, 0.0f, 54.0f - drop};
        Point3 foot{6.0f * b * side, step, 6.0f + lift};
        parts.push_back({hip, foot, 5.5f * b, trousers, 1.5f, 0.0f});
        parts.push_back({{foot.side, foot.forward, 4.0f + lift},
                         {foot.side, foot.forward + 4.0f, 3.0f + lift},
                         4.5f,
                         look.boots,
                         1.5f,
                         0.1f});
    }
    // The body: two columns side by side, so that it looks narrower from the side.
    for (float side : {-1.0f, 1.0f}) {
        parts.push_back({{4.0f * b * side, ahead * 0.3f, 62.0f - drop},
                         {4.0f * b * side, ahead, 93.0f - drop},
                         10.0f * b,
                         look.suit,
                         1.5f,
                         0.0f});
    }
    parts.push_back({{-9.0f * b, 1.0f, 63.0f - drop}, {9.0f * b, 1.0f, 63.0f - drop}, 2.5f, look.trim, 1.0f, 0.4f});
    parts.push_back({{4.0f * b, 9.0f * b + ahead, 87.0f - drop},
                     {4.0f * b, 9.0f * b + ahead, 87.0f - drop},
                     2.6f,
                     look.trim,
                     1.0f,
                     0.5f});
    for (float side : {-1.0f, 1.0f}) {
        Point3 shoulder{13.0f * b * side, ahead, 92.0f - drop};
        Point3 hand{14.0f * b * side, side < 0 ? -7.0f / 9.0f * swing : 7.0f / 9.0f * swing, 62.0f - drop};
        bool acting = side > 0;
        if (acting && pose.take >= 0.0f) {
            hand = lerp(hand, {10.0f * b, 20.0f, 38.0f}, pose.take);
        }
        if (acting && pose.draw >= 0.0f) {
            hand = lerp(hand, {9.0f, 20.0f, 92.0f}, pose.draw);
            if (pose.draw > 0.25f) {
                parts.push_back({hand,
                                 {hand.side, hand.forward + 7.0f, hand.up + 1.0f},
                                 2.2f,
                                 nimbo::Color(70, 74, 82, 255),
                                 1.0f,
                                 0.6f});
            }
        }
        parts.push_back({shoulder, hand, 4.0f, look.suit, 1.5f, 0.5f});
        parts.push_back({hand, hand, 3.5f, look.skin, 1.0f, 0.55f});
    }
    Point3 head{0.0f, 1.0f + ahead, 110.0f - drop};
    parts.push_back({{0.0f, ahead, 96.0f - drop}, {0.0f, ahead, 101.0f - drop}, 4.0f, look.skin, 1.0f, -0.5f});
    parts.push_back({head, head, 10.5f, look.skin, 1.5f, 0.0f});
    // Hair sits on the back of the head: from behind it hides the face.
    parts.push_back({{0.0f, head.forward - 3.0f, head.up + 3.0f},
                     {0.0f, head.forward - 3.0f, head.up + 3.0f},
                     10.0f,
                     look.hair,
                     1.5f,
                     0.0f});
    parts.push_back({{-6.0f, head.forward + 6.0f, head.up + 7.0f},
                     {6.0f, head.forward + 6.0f, head.up + 7.0f},
                     3.5f,
                     look.hair,
                     1.0f,
                     0.3f});
    if (look.longHair) {
        parts.push_back({{0.0f, head.forward - 5.0f, head.up + 2.0f},
                         {0.0f, head.forward - 7.0f, head.up - 20.0f},
                         7.0f,
                         look.hair,
                         1.5f,
                         -0.5f});
    }
    if (look.cap) {
        // The crown sits behind the face; only the visor comes forward.
        parts.push_back({{-6.0f, head.forward, head.up + 8.0f},
                         {6.0f, head.forward, head.up + 8.0f},
                         5.0f,
                         look.trim,
                         1.5f,
                         -1.5f});
        parts.push_back({{-5.0f, head.forward + 8.0f, head.up + 5.0f},
                         {5.0f, head.forward + 8.0f, head.up + 5.0f},
                         2.5f,
                         darker(look.trim, 0.7f),
                         1.0f,
                         0.3f});
    }
    nimbo::Color eye(20, 20, 30, 255);
    for (float side : {-1.0f, 1.0f}) {
        Point3 at{3.8f * side, head.forward + 9.5f, head.up + 1.0f};
        parts.push_back({at, at, 1.6f, eye, 0.0f, 0.0f});
    }
    parts.push_back({{0.0f, head.forward + 10.5f, head.up - 2.0f},
                     {0.0f, head.forward + 10.5f, head.up - 2.0f},
                     2.0f,
                     darker(look.skin, 0.9f),
                     0.0f,
                     0.0f});
    float mouth = pose.talk > 0.0f ? pose.talk : 0.0f;
    parts.push_back({{-2.0f, head.forward + 10.0f, head.up - 5.0f},
                     {2.0f, head.forward + 10.0f, head.up - 5.0f},
                     0.8f + 1.2f * mouth,
                     darker(nimbo::Color(150, 50, 50, 255), 1.0f - 0.4f * mouth),
                     0.0f,
                     0.0f});
    return parts;
}

// Straight-alpha colours in 0..1.
struct Pixel {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Canvas {
    std::vector<Pixel> pixels = std::vector<Pixel>((size_t)FRAME_W * FRAME_H);

    void paint(int x, int y, const nimbo::Color& c, float coverage) {
        if (coverage <= 0.0f || x < 0 || y < 0 || x >= FRAME_W || y >= FRAME_H) {
            return;
        }
        Pixel& p = pixels[(size_t)y * FRAME_W + x];
        float ca = coverage * c.a / 255.0f;
        float a = ca + p.a * (1.0f - ca);
        if (a <= 0.0f) {
            return;
        }
        p.r = (c.r / 255.0f * ca + p.r * p.a * (1.0f - ca)) / a;
        p.g = (c.g / 255.0f * ca + p.g * p.a * (1.0f - ca)) / a;
        p.b = (c.b / 255.0f * ca + p.b * p.a * (1.0f - ca)) / a;
        p.a = a;
    }

    nimbo::Color at(int x, int y) const {
        const Pixel& p = pixels[(size_t)y * FRAME_W + x];
        return nimbo::Color((int)std::lround(p.r * 255), (int)std::lround(p.g * 255), (int)std::lround(p.b * 255),
                            (int)std::lround(p.a * 255));
    }
};

struct Screen {
    float x, y, depth;
};

Screen project(const Point3& p, float degrees) {
    float phi = degrees * PI / 180.0f;
    float c = std::cos(phi);
    float s = std::sin(phi);
    return {CENTRE_X + p.side * c + p.forward * s, FEET_Y - p.up, -p.side * s + p.forward * c};
}

float distanceToSegment(float px, float py, const Screen& a, const Screen& b) {
    float dx = b.x - a.x;
    float dy = b.y - a.y;
    float length = dx * dx + dy * dy;
    float t = length > 0.0f ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / length, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

void paintPart(Canvas& canvas, const Part& part, const Screen& a, const Screen& b, const nimbo::Color& outline) {
    float reach = part.radius + part.outline + 1.0f;
    int x0 = (int)std::floor(std::min(a.x, b.x) - reach);
    int x1 = (int)std::ceil(std::max(a.x, b.x) + reach);
    int y0 = (int)std::floor(std::min(a.y, b.y) - reach);
    int y1 = (int)std::ceil(std::max(a.y, b.y) + reach);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float d = distanceToSegment(x + 0.5f, y + 0.5f, a, b);
            if (part.outline > 0.0f) {
                canvas.paint(x, y, outline, std::clamp(part.radius + part.outline - d + 0.5f, 0.0f, 1.0f));
            }
            // A light from the upper left shades each part a little.
            float shade = std::clamp((y + 0.5f - std::min(a.y, b.y)) / (part.radius * 4.0f + 1.0f), 0.0f, 1.0f);
            canvas.paint(x, y, darker(part.fill, 1.0f - 0.18f * shade), std::clamp(part.radius - d + 0.5f, 0.0f, 1.0f));
        }
    }
}

Canvas render(const Look& look, const Pose& pose, float degrees) {
    struct Placed {
        const Part* part;
        Screen a, b;
        float depth;
    };
    std::vector<Part> parts = figure(look, pose);
    std::vector<Placed> placed;
    for (const Part& part : parts) {
        Screen a = project(part.a, degrees);
        Screen b = project(part.b, degrees);
        placed.push_back({&part, a, b, (a.depth + b.depth) * 0.5f + part.bias});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& p, const Placed& q) { return p.depth < q.depth; });
    Canvas canvas;
    for (const Placed& p : placed) {
        paintPart(canvas, *p.part, p.a, p.b, look.outline);
    }
    return canvas;
}

// One frame of an animation: its name in the chapter and where it lies on the sheet.
struct Frame {
    std::string name;
    int cellX, cellY;
    int x0, y0, x1, y1;
};

struct Animation {
    std::string name;
    int frames;
    float length;
};

struct Sheet {
    const Look& look;
    std::vector<std::pair<std::string, Canvas>> cells;

    void add(const std::string& animation, const char* direction, int frame, const Pose& pose, float degrees) {
        char name[128];
        std::snprintf(name, sizeof(name), "%s/%s_%s.%02d", look.name, animation.c_str(), direction, frame);
        cells.emplace_back(name, render(look, pose, degrees));
    }
};

float degreesOf(const char* direction) {
    for (const Direction& d : DIRECTIONS) {
        if (std::string(d.name) == direction) {
            return d.degrees;
        }
    }
    return 0.0f;
}

std::vector<Animation> drawFrames(Sheet& sheet) {
    const Look& look = sheet.look;
    for (const char* direction : ALL_DIRECTIONS) {
        sheet.add("Stand", direction, 1, Pose(), degreesOf(direction));
    }
    for (const char* direction : look.walkDirections) {
        for (int i = 1; i <= 8; ++i) {
            Pose pose;
            pose.walk = 2.0f * PI * (float)(i - 1) / 8.0f;
            sheet.add("Walk", direction, i, pose, degreesOf(direction));
        }
    }
    for (const char* direction : ALL_DIRECTIONS) {
        for (int i = 1; i <= look.takeFrames; ++i) {
            Pose pose;
            pose.take = (float)(i - 1) / (float)(look.takeFrames - 1);
            sheet.add("Take", direction, i, pose, degreesOf(direction));
        }
    }
    // The mouth shut, half open and open.
    for (const char* direction : ALL_DIRECTIONS) {
        for (int i = 1; i <= 3; ++i) {
            Pose pose;
            pose.talk = (float)(i - 1) / 2.0f;
            sheet.add("Talk", direction, i, pose, degreesOf(direction));
        }
    }
    std::vector<Animation> animations = {
        {"Stand", 1, 1.0f},
        {"Walk", 8, 0.9f},
        {"Take", look.takeFrames, 0.1f * look.takeFrames},
        {"TakeBack", look.takeFrames, 0.1f * look.takeFrames},
        {"Talk", 3, 0.3f},
    };
    if (look.gun) {
        for (const char* direction : ALL_DIRECTIONS) {
            for (int i = 1; i <= 10; ++i) {
                Pose pose;
                pose.draw = (float)(i - 1) / 9.0f;
                sheet.add("Draw_Gun", direction, i, pose, degreesOf(direction));
            }
        }
        animations.push_back({"Draw_Gun", 10, 1.0f});
        animations.push_back({"Draw_Gun_Back", 10, 1.0f});
    }
    return animations;
}

// Packs the frames into one picture and returns where each one's drawn part lies.
std::vector<Frame> pack(const Sheet& sheet, const vessot::String& path) {
    int rows = ((int)sheet.cells.size() + COLUMNS - 1) / COLUMNS;
    nimbo::Image image(COLUMNS * FRAME_W, rows * FRAME_H, nimbo::Color::Clear);
    std::vector<Frame> frames;
    for (size_t i = 0; i < sheet.cells.size(); ++i) {
        const Canvas& canvas = sheet.cells[i].second;
        Frame frame{
            sheet.cells[i].first, (int)(i % COLUMNS) * FRAME_W, (int)(i / COLUMNS) * FRAME_H, FRAME_W, FRAME_H, 0, 0};
        for (int y = 0; y < FRAME_H; ++y) {
            for (int x = 0; x < FRAME_W; ++x) {
                nimbo::Color c = canvas.at(x, y);
                if (c.a == 0) {
                    continue;
                }
                image.setPixel(frame.cellX + x, frame.cellY + y, c);
                frame.x0 = std::min(frame.x0, x);
                frame.y0 = std::min(frame.y0, y);
                frame.x1 = std::max(frame.x1, x + 1);
                frame.y1 = std::max(frame.y1, y + 1);
            }
        }
        frames.push_back(frame);
    }
    image.savePng(path);
    return frames;
}

void writeCharacter(std::ostream& out, const Look& look, const std::vector<Frame>& frames,
                    const std::vector<Animation>& animations) {
    out << "    <Texture name=\"" << look.name << "\" file=\"textures/" << look.name << "_hd.png\"/>\n";
    for (const Frame& f : frames) {
        out << "    <Image name=\"_" << f.name << "\" texture=\"" << look.name << "\" x=\"" << f.cellX + f.x0
            << "\" y=\"" << f.cellY + f.y0 << "\" w=\"" << f.x1 - f.x0 << "\" h=\"" << f.y1 - f.y0 << "\"/>\n";
        out << "    <CompositeImage name=\"" << f.name << "\" w=\"" << FRAME_W << "\" h=\"" << FRAME_H
            << "\"><Part image=\"_" << f.name << "\" x=\"" << f.x0 << "\" y=\"" << f.y0 << "\"/></CompositeImage>\n";
    }
    out << "    <Object type=\"Character2DDef\" name=\"" << look.name << "\" w=\"" << FRAME_W * HEIGHT_UNITS / FRAME_H
        << "\" h=\"" << HEIGHT_UNITS << "\" chr=\"" << look.name << "\" yfactor=\"1\" speed=\"50\">\n";
    for (const Animation& a : animations) {
        std::ostringstream length;
        length << a.length;
        out << "        <Property name=\"Animation:" << a.name << "\" value=\"" << a.frames << "," << length.str()
            << "\"/>\n";
    }
    out << "    </Object>\n";
}

} // namespace

void drawCharacters(const vessot::String& data) {
    vessot::String folder = data + "/characters";
    vessot::Dir::create(folder + "/textures");
    std::ofstream out(folder + "/characters_hd.datadef");
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!-- The playable characters, written by tools/artgen: one sheet of frames per character. Frames\n"
           "     \"NAME/ANIMATION_DIRECTION.NN\" are composites over the drawn parts \"_NAME/...\"; the reversed\n"
           "     and mirrored animations are derived when the game loads this chapter. -->\n"
           "<Dataset>\n";
    for (const Look& look : LOOKS) {
        Sheet sheet{look, {}};
        std::vector<Animation> animations = drawFrames(sheet);
        std::vector<Frame> frames = pack(sheet, folder + "/textures/" + look.name + "_hd.png");
        writeCharacter(out, look, frames, animations);
    }
    // The stand-in for figures a scene draws itself: no frames, 64 units high. A scene's reference to
    // it, named after the figure, makes the figure clickable.
    out << "    <Object type=\"Character2DDef\" name=\"dummy\" w=\"34\" h=\"64\" chr=\"dummy\" yfactor=\"1\" "
           "speed=\"50\"/>\n";
    out << "</Dataset>\n";
    if (!out) {
        throw vessot::exception("can't write " + folder + "/characters_hd.datadef", __FILE__, __LINE__);
    }
}

} // namespace artgen
