#include "RandomInput.h"

#include "nimbo/InputEvent.h"
#include "nimbo/Keys.h"
#include "nimbo/Window.h"

#include <iterator>

namespace {

enum Kind { CLICK, SECONDARY_CLICK, MOVE, DRAG, KEY, HELD_KEY, TEXT, TOUCH, CLICK_AND_KEY, QUIT, FOCUS };

// How often each kind of event starts, relative to the others.
const int WEIGHTS[] = {30, 6, 12, 8, 14, 3, 5, 6, 4, 1, 1};

// The game's shortcuts, the keys of its text fields and menus, and some it ignores.
const int KEYS[] = {nimbo::KEY_ESCAPE,
                    nimbo::KEY_ENTER,
                    nimbo::KEY_SPACE,
                    nimbo::KEY_BACKSPACE,
                    nimbo::KEY_TAB,
                    nimbo::KEY_PAUSE,
                    nimbo::KEY_LEFT,
                    nimbo::KEY_RIGHT,
                    nimbo::KEY_UP,
                    nimbo::KEY_DOWN,
                    nimbo::KEY_HOME,
                    nimbo::KEY_END,
                    nimbo::KEY_DELETE,
                    nimbo::KEY_F1,
                    nimbo::KEY_F1 + 1,
                    nimbo::KEY_F1 + 2,
                    nimbo::KEY_F1 + 3,
                    nimbo::KEY_F1 + 4,
                    nimbo::KEY_F1 + 5,
                    nimbo::KEY_A + 'P' - 'A',
                    nimbo::KEY_A + 'S' - 'A',
                    nimbo::KEY_A + 'L' - 'A',
                    nimbo::KEY_A + 'D' - 'A',
                    nimbo::KEY_A + 'I' - 'A',
                    nimbo::KEY_0 + 1,
                    nimbo::KEY_0 + 2,
                    nimbo::KEY_0 + 3};

// Pieces of typed text: names, letters beyond ASCII, text-tag and format characters, a long run.
const char* const TEXTS[] = {"Vorne",
                             "a",
                             "Zz",
                             "\xC3\xA4",
                             "\xC3\x9F",
                             "\xE6\x97\xA5\xE6\x9C\xAC",
                             "\xF0\x9F\x9A\x80",
                             "[b]",
                             "[/f]",
                             "%s%d%%",
                             "{x}",
                             "\\n",
                             "  ",
                             "1234567890123456789012345678901234567890"};

} // namespace

std::vector<morvec::Vector2> RandomInput::Gesture::at() const {
    float t = frames > 0 ? 1.0f - (float)framesLeft / (float)frames : 1.0f;
    std::vector<morvec::Vector2> points;
    for (size_t i = 0; i < from.size(); ++i) {
        points.push_back(from[i] + (to[i] - from[i]) * t);
    }
    return points;
}

RandomInput::RandomInput(unsigned seed, int width, int height)
    : random(seed), width((float)width), height((float)height) {}

int RandomInput::between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool RandomInput::chance(double p) {
    return std::bernoulli_distribution(p)(random);
}

// Anywhere in the window; one point in five within the outer thirtieth of its width, where the
// pointer walks the character along a wide scene.
morvec::Vector2 RandomInput::point() {
    float y = std::uniform_real_distribution<float>(0, height - 1)(random);
    if (chance(0.2)) {
        float band = width / 30;
        float x = std::uniform_real_distribution<float>(0, band)(random);
        return {chance(0.5) ? x : width - 1 - x, y};
    }
    return {std::uniform_real_distribution<float>(0, width - 1)(random), y};
}

int RandomInput::key() {
    if (chance(0.15)) {
        return nimbo::KEY_A + between(0, 25);
    }
    return KEYS[between(0, (int)std::size(KEYS) - 1)];
}

void RandomInput::continueGestures(nimbo::Window& window) {
    if (drag.framesLeft > 0) {
        --drag.framesLeft;
        morvec::Vector2 p = drag.at()[0];
        window.queueInput(drag.framesLeft > 0 ? nimbo::InputEvent::move(p.x, p.y)
                                              : nimbo::InputEvent::up(p.x, p.y, drag.code));
    }
    if (touch.framesLeft > 0) {
        --touch.framesLeft;
        window.queueInput(nimbo::InputEvent::touch(touch.framesLeft > 0 ? touch.at() : std::vector<morvec::Vector2>()));
    }
    if (heldKey.framesLeft > 0 && --heldKey.framesLeft == 0) {
        window.queueInput(nimbo::InputEvent::keyUp(heldKey.code));
    }
}

void RandomInput::startEvent(nimbo::Window& window) {
    Kind kind = (Kind)std::discrete_distribution<int>(std::begin(WEIGHTS), std::end(WEIGHTS))(random);
    morvec::Vector2 p = point();
    switch (kind) {
    case CLICK:
        window.queueClick(p.x, p.y);
        break;
    case SECONDARY_CLICK:
        window.queueInput(nimbo::InputEvent::down(p.x, p.y, nimbo::BUTTON_SECONDARY));
        window.queueInput(nimbo::InputEvent::up(p.x, p.y, nimbo::BUTTON_SECONDARY));
        break;
    case MOVE:
        window.queueInput(nimbo::InputEvent::move(p.x, p.y));
        break;
    case DRAG:
        if (drag.framesLeft == 0) {
            // One drag in four holds still for over a second: a long press.
            bool still = chance(0.25);
            drag.code = chance(0.9) ? nimbo::BUTTON_PRIMARY : nimbo::BUTTON_SECONDARY;
            drag.frames = drag.framesLeft = still ? between(60, 100) : between(2, 40);
            drag.from = {p};
            drag.to = {still ? p : point()};
            window.queueInput(nimbo::InputEvent::down(p.x, p.y, drag.code));
        }
        break;
    case KEY:
        window.queueKey(key());
        break;
    case HELD_KEY:
        if (heldKey.framesLeft == 0) {
            heldKey.code = chance(0.6) ? nimbo::KEY_SPACE : key();
            heldKey.framesLeft = between(10, 120);
            window.queueInput(nimbo::InputEvent::keyDown(heldKey.code));
        }
        break;
    case TEXT:
        window.queueInput(nimbo::InputEvent::typed(TEXTS[between(0, (int)std::size(TEXTS) - 1)]));
        break;
    case TOUCH:
        if (touch.framesLeft == 0) {
            touch.from = {p};
            touch.to = {point()};
            if (chance(0.3)) {
                touch.from.push_back(point());
                touch.to.push_back(point());
            }
            touch.frames = touch.framesLeft = between(1, 60);
            window.queueInput(nimbo::InputEvent::touch(touch.from));
        }
        break;
    case CLICK_AND_KEY:
        // A click (on an exit, say) and a key in the same frame or the next.
        window.queueClick(p.x, p.y);
        window.queueKey(key(), between(0, 1));
        break;
    case QUIT:
        window.queueInput(nimbo::InputEvent::quit());
        break;
    case FOCUS:
        window.queueInput(nimbo::InputEvent::focus(false));
        window.queueInput(nimbo::InputEvent::focus(true), between(1, 30));
        break;
    }
}

void RandomInput::queueFrame(nimbo::Window& window) {
    continueGestures(window);
    if (chance(1.0 / 6)) {
        startEvent(window);
    }
}
