#pragma once
// A delegate for every interface that writes down what reaches it, one line per call.

#include "nimbo/Delegates.h"
#include "nimbo/Window.h"

#include <functional>
#include <string>
#include <vector>

class Recorder : public nimbo::MouseDelegate,
                 public nimbo::KeyboardDelegate,
                 public nimbo::TouchDelegate,
                 public nimbo::UpdateDelegate,
                 public nimbo::SystemDelegate {
public:
    void onMouseDown(int key) override { add("down " + std::to_string(key) + at()); }
    void onMouseUp(int key) override { add("up " + std::to_string(key) + at()); }
    void onMouseCancel(int key) override { add("cancel " + std::to_string(key)); }
    void onMouseMove() override { add("move" + at()); }
    void onKeyDown(int key) override { add("keydown " + std::to_string(key)); }
    void onKeyUp(int key) override { add("keyup " + std::to_string(key)); }
    void onChar(unsigned int c) override { add("char " + std::to_string(c)); }
    void onTouch(const std::vector<morvec::Vector2>& touches) override {
        std::string line = "touch";
        for (const morvec::Vector2& p : touches) {
            line += " " + std::to_string((int)p.x) + "," + std::to_string((int)p.y);
        }
        add(line);
    }
    bool onUpdate(float dt) override {
        steps.push_back(dt);
        if (updateHook) {
            updateHook();
        }
        return true;
    }
    bool onQuit(bool canCancel) override {
        add(std::string("quit ") + (canCancel ? "1" : "0"));
        return quitAnswer;
    }
    void onWindowFocusChanged(bool focused) override { add(std::string("focus ") + (focused ? "1" : "0")); }
    void onInputModeChanged(int mode) override { add("mode " + std::to_string(mode)); }

    void install(nimbo::Window* w) {
        w->setMouseDelegate(this);
        w->setKeyboardDelegate(this);
        w->setTouchDelegate(this);
        w->setUpdateDelegate(this);
        w->setSystemDelegate(this);
        window = w;
    }
    // The calls so far, and forgets them.
    std::vector<std::string> take() {
        std::vector<std::string> all;
        all.swap(calls);
        return all;
    }

    void note(const std::string& line) { add(line); }

    std::vector<float> steps;
    bool quitAnswer = false;
    std::function<void()> updateHook;

private:
    void add(const std::string& line) { calls.push_back(line); }
    // The window's cursor position, for the pointer's calls.
    std::string at() const {
        if (!window) {
            return "";
        }
        morvec::Vector2 p = window->getCursorPosition();
        return " @" + std::to_string((int)p.x) + "," + std::to_string((int)p.y);
    }
    nimbo::Window* window = nullptr;
    std::vector<std::string> calls;
};
