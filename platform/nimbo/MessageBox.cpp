#include "nimbo/MessageBox.h"

#include "nimbo/Internals.h"
#include "nimbo/Nimbo.h"
#include "nimbo/Settings.h"
#include "vessot/Log.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace nimbo {

namespace {

std::vector<std::pair<MessageBoxCallback, int>>& answers() {
    static std::vector<std::pair<MessageBoxCallback, int>> pending;
    return pending;
}

struct Button {
    int code;
    vessot::String title;
};

std::vector<Button> buttonsOf(int set, const std::map<int, vessot::String>& texts) {
    static const std::pair<int, const char*> known[] = {
        {MESSAGE_BUTTON_OK, "OK"}, {MESSAGE_BUTTON_YES, "Yes"}, {MESSAGE_BUTTON_NO, "No"}};
    std::vector<Button> buttons;
    for (const auto& [code, title] : known) {
        if (set & code) {
            auto text = texts.find(code);
            buttons.push_back({code, text != texts.end() ? text->second : vessot::String(title)});
        }
    }
    if (buttons.empty()) {
        buttons.push_back({MESSAGE_BUTTON_OK, "OK"});
    }
    return buttons;
}

// Shows the box through SDL; the pressed code, or 0 when no box could be shown.
int showSystemBox(const vessot::String& title, const vessot::String& text, int style,
                  const std::vector<Button>& buttons) {
    std::vector<SDL_MessageBoxButtonData> data;
    for (const Button& b : buttons) {
        data.push_back({0, b.code, b.title.c_str()});
    }
    // Enter takes the first button; Escape, or closing the box, the last.
    data.front().flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    data.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    SDL_MessageBoxData box{};
    box.flags = style == MESSAGE_STYLE_ERROR ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = window ? RenderAccess::sdlWindow(*window) : nullptr;
    box.title = title.c_str();
    box.message = text.c_str();
    box.numbuttons = (int)data.size();
    box.buttons = data.data();
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        return 0;
    }
    return pressed > 0 ? pressed : buttons.back().code;
}

} // namespace

void messageBox(const vessot::String& title, const vessot::String& text, int buttons, int style,
                const std::map<int, vessot::String>& buttonTexts, const MessageBoxCallback& callback) {
    std::vector<Button> list = buttonsOf(buttons, buttonTexts);
    int pressed = Settings::isHeadless() ? 0 : showSystemBox(title, text, style, list);
    if (pressed == 0) {
        std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
        vessot::Log::write("nimbo", "Message box '" + title + "': " + text);
        pressed = list.front().code;
    }
    if (callback) {
        answers().emplace_back(callback, pressed);
    }
}

void deliverMessageBoxAnswers() {
    // A callback may show another box; that answer waits for the next frame.
    std::vector<std::pair<MessageBoxCallback, int>> due;
    due.swap(answers());
    for (auto& [callback, code] : due) {
        callback(code);
    }
}

void discardMessageBoxAnswers() {
    answers().clear();
}

} // namespace nimbo
