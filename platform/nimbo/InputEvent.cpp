#include "nimbo/InputEvent.h"

namespace nimbo {

namespace {

InputEvent make(InputEvent::Kind kind, float x = 0, float y = 0, int code = 0) {
    InputEvent e;
    e.kind = kind;
    e.position = {x, y};
    e.code = code;
    return e;
}

} // namespace

InputEvent InputEvent::move(float x, float y) {
    return make(MOVE, x, y);
}
InputEvent InputEvent::down(float x, float y, int button) {
    return make(DOWN, x, y, button);
}
InputEvent InputEvent::up(float x, float y, int button) {
    return make(UP, x, y, button);
}
InputEvent InputEvent::keyDown(int code) {
    return make(KEY_DOWN, 0, 0, code);
}
InputEvent InputEvent::keyUp(int code) {
    return make(KEY_UP, 0, 0, code);
}
InputEvent InputEvent::quit() {
    return make(QUIT);
}
InputEvent InputEvent::focus(bool gained) {
    return make(FOCUS, 0, 0, gained ? 1 : 0);
}

InputEvent InputEvent::typed(const vessot::String& utf8) {
    InputEvent e = make(TEXT);
    e.text = utf8;
    return e;
}

InputEvent InputEvent::touch(const std::vector<morvec::Vector2>& points) {
    InputEvent e = make(TOUCH);
    e.points = points;
    return e;
}

} // namespace nimbo
