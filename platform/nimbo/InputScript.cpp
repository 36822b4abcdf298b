#include "nimbo/InputScript.h"

#include "nimbo/Keys.h"
#include "vessot/Array.h"
#include "vessot/Exception.h"

#include <fstream>
#include <sstream>

namespace nimbo {

namespace {

constexpr int MAX_NUMBER = 1000000;

class LineReader {
public:
    LineReader(const vessot::String& name, int lineNumber, const vessot::String& line)
        : name(name), lineNumber(lineNumber) {
        words = line.replaced("\t", " ").split(" ", -1, true);
    }

    [[noreturn]] void fail(const vessot::String& what) const {
        VESSOT_THROW("Input script '" + name + "' line " + vessot::String(lineNumber) + ": " + what);
    }
    int count() const { return words.size(); }
    const vessot::String& word(int i) const { return words[i]; }
    // Frames, positions, keys and buttons alike lie within one range.
    double value(int i) const {
        if (i >= count() || !words[i].isNumber()) {
            fail("'" + words[1] + "' expects a number" + (i < count() ? ", not '" + words[i] + "'" : vessot::String()));
        }
        double value = words[i].toDouble();
        if (value < -MAX_NUMBER || value > MAX_NUMBER) {
            fail("'" + words[i] + "' is out of range: numbers lie between -" + vessot::String(MAX_NUMBER) + " and " +
                 vessot::String(MAX_NUMBER));
        }
        return value;
    }
    float number(int i) const { return (float)value(i); }
    int integer(int i) const {
        double whole = value(i);
        if (whole != (double)(int)whole) {
            fail("'" + words[i] + "' is not a whole number");
        }
        return (int)whole;
    }
    void expectWords(int n) const {
        if (count() != n) {
            fail("'" + words[1] + "' expects " + vessot::String(n - 2) + " arguments");
        }
    }

private:
    vessot::String name;
    int lineNumber;
    vessot::Array<vessot::String> words;
};

} // namespace

InputScript InputScript::load(const vessot::String& path) {
    std::ifstream file(path);
    if (!file) {
        VESSOT_THROW("Unable to read input script '" + path + "'");
    }
    std::stringstream text;
    text << file.rdbuf();
    return parse(text.str(), path);
}

InputScript InputScript::parse(const vessot::String& text, const vessot::String& name) {
    InputScript script;
    vessot::Array<vessot::String> lines = text.split("\n");
    for (int n = 0; n < lines.size(); ++n) {
        vessot::String line = lines[n].trimmed();
        if (line.empty() || line.startsWith("#")) {
            continue;
        }
        LineReader in(name, n + 1, line);
        if (in.count() < 2) {
            in.fail("expects a frame and a command");
        }
        int frame = in.integer(0);
        if (frame < 0) {
            in.fail("the frame must not be negative");
        }
        const vessot::String& command = in.word(1);
        auto add = [&](int at, const InputEvent& e) { script.events.push_back({at, e}); };
        if (command == "click") {
            in.expectWords(4);
            add(frame, InputEvent::down(in.number(2), in.number(3), BUTTON_PRIMARY));
            add(frame, InputEvent::up(in.number(2), in.number(3), BUTTON_PRIMARY));
        } else if (command == "down" || command == "up") {
            in.expectWords(5);
            float x = in.number(2), y = in.number(3);
            int button = in.integer(4);
            add(frame, command == "down" ? InputEvent::down(x, y, button) : InputEvent::up(x, y, button));
        } else if (command == "move") {
            in.expectWords(4);
            add(frame, InputEvent::move(in.number(2), in.number(3)));
        } else if (command == "key") {
            in.expectWords(3);
            add(frame, InputEvent::keyDown(in.integer(2)));
            add(frame, InputEvent::keyUp(in.integer(2)));
        } else if (command == "text") {
            // Everything after the blank that follows the word, blanks included.
            add(frame, InputEvent::typed(line.substr(line.find("text") + 5)));
        } else if (command == "touch") {
            if (in.count() % 2 != 0) {
                in.fail("'touch' expects pairs of X Y");
            }
            std::vector<morvec::Vector2> points;
            for (int i = 2; i < in.count(); i += 2) {
                points.push_back({in.number(i), in.number(i + 1)});
            }
            add(frame, InputEvent::touch(points));
        } else if (command == "screenshot") {
            in.expectWords(3);
            script.screenshots.push_back({frame, in.word(2)});
        } else if (command == "quit") {
            in.expectWords(2);
            add(frame, InputEvent::quit());
        } else {
            in.fail("unknown command '" + command + "'");
        }
    }
    return script;
}

} // namespace nimbo
