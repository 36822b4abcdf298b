#include "script/Speech.h"

#include "engine/InterfaceServices.h"
#include "engine/app/Engine.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/Vars.h"
#include "engine/session/zephUtil.h"
#include "engine/view/Viewport.h"
#include "script/Character2D.h"
#include "script/Character2DRef.h"
#include "script/SayText.h"

#include "marionix/Actor.h"
#include "nimbo/Color.h"
#include "nimboui/Object.h"
#include "runel/Renderer.h"
#include "vessot/System.h"

#include <algorithm>
#include <vector>

namespace Speech {

std::map<String, std::deque<SpeechSegment>> speechMap;
float talkFrameTimer = 0.0f;
float clickHintAlpha = 0.0f;

namespace {

// Seconds of the line shown when a named speaker is given nothing to say.
constexpr float ERROR_SECONDS = 7.0f;
// Where a subtitle stands when its speaker stands nowhere in the scene.
constexpr float DEFAULT_X = 213.0f;
constexpr float DEFAULT_Y = 311.0f;
constexpr float MAX_WIDTH = 240.0f;

bool isCharacterKey(const String& key) {
    return !key.empty() && !key.contains(",");
}

// The speaker key a name after "{ " stands for: "$name" is the value of that variable.
String speakerKey(const String& word) {
    return word.startsWith("$") ? Vars::get(word.substr(1))->getValue() : word;
}

// The character of the characters chapter that a speaker key names; null for none.
Marionix::Actor* speakerCharacter(const String& key) {
    return charactersChapter ? dynamic_cast<Marionix::Actor*>(charactersChapter->findObject(key)) : nullptr;
}

bool isRunning(Marionix::Actor* character, const String& jobType) {
    return character->getJobQueueSize() > 0 && character->getCurrentJobType() == jobType;
}

// The number after the last "." of a frame's image name; 0 for none.
int frameNumber(const String& imageName) {
    size_t dot = imageName.rfind('.');
    return dot == String::npos ? 0 : imageName.substr(dot + 1).toInt();
}

// The speaker's mouth moves while its line is shown, unless it is busy with a job of another kind
// than talking. A talk animation of one frame shows that frame; one of none leaves the image alone.
void animateMouth(const String& key) {
    auto* character = dynamic_cast<Character2D*>(speakerCharacter(key));
    if (!character) {
        return;
    }
    if (character->getJobQueueSize() > 0 && !isRunning(character, "Say") && !isRunning(character, "Dialog")) {
        return;
    }
    String talkVariable = key + "_talk";
    String animation = Vars::variables.exists(talkVariable) ? Vars::value(talkVariable) : String("Talk");
    int frames = character->getAnimation(animation).frames;
    if (talkFrameTimer <= 1.0f || frames < 1) {
        return;
    }
    int frame = 1;
    if (frames > 1) {
        int current = frameNumber(character->getImageName());
        do {
            frame = vessot::jrand(1, frames + 1);
        } while (frame == current);
    }
    character->getFrameImageName(animation, frame);
}

void endLine(const String& key) {
    if (!isCharacterKey(key)) {
        return;
    }
    Marionix::Actor* character = speakerCharacter(key);
    if (character && !isRunning(character, "Animate")) {
        character->OnStopMovement();
    }
}

nimbo::Color colourOf(const String& text) {
    uint8_t r, g, b, a;
    zephUtil::parseColor(text, r, g, b, a);
    return nimbo::Color(r, g, b, 255);
}

// A HUD button that subtitles keep clear of: shown, and below the screen's top edge.
bool counts(const char* name) {
    nimboui::Object* button = Hud::uiObject(name);
    return button && button->isVisible() && button->getAlpha() > 0.0f && button->getY() > 0.0f;
}

struct Placement {
    morvec::Vector2 point{DEFAULT_X, DEFAULT_Y};
    nimbo::Color colour = nimbo::Color::White;
};

// The first character reference of the active scene that shows the speaker, by its character's name
// or its own; null for none.
Character2DRef* findSpeakerRef(const String& key) {
    if (key.empty() || !Session::activeScene || !Session::activeScene->root) {
        return nullptr;
    }
    for (nimboui::Object* child : Session::activeScene->root->getChildren()) {
        auto* reference = dynamic_cast<Character2DRef*>(child);
        if (reference && (reference->getCharacterName() == key || reference->getName() == key)) {
            return reference;
        }
    }
    return nullptr;
}

// The scene point and colour of a speaker's subtitle: above the character the scene shows, at the
// position a key names, else at the foot of the screen.
Placement placeSpeaker(const String& key) {
    Placement placement;
    if (Character2DRef* reference = findSpeakerRef(key)) {
        morvec::Vector3 position = reference->getCharacter()->getPosition();
        placement.point = morvec::Vector2(position.x, position.y - reference->getHeight());
    }
    if (key.contains(",")) {
        vessot::Array<String> parts = key.split(",");
        placement.point = morvec::Vector2(parts[0].toFloat(), parts[1].toFloat());
        // A position without a colour stays white.
        if (parts.size() >= 3) {
            placement.colour = colourOf(parts[2]);
        }
    } else if (!key.empty()) {
        placement.colour = colourOf(Vars::get(key + "_fontcolor")->getValue());
    }
    return placement;
}

// The subtitle's rectangle on the interface's screen: above the point, inside the screen, clear of
// the HUD's buttons.
morvec::Rectangle layOut(const morvec::Vector2& scenePoint, const String& font, const String& text) {
    morvec::Rectangle view = Viewport::getViewportRect(true);
    morvec::Vector2 window = Viewport::windowSize();
    float aspect = window.x / window.y;
    float x = (scenePoint.x - cameraOffsetX + view.x) * (aspect * 320.0f / view.w);
    float y = (scenePoint.y + view.y) * (320.0f / view.h);

    float w = std::min(runel::renderer->getTextWidth(font, text), MAX_WIDTH);
    float h = runel::renderer->getTextHeight(font, text, w);
    float wider = runel::renderer->getTextHeight(font, text, w + 20.0f);
    if (wider > 0.0f && wider < h) {
        w += 20.0f;
        h = wider;
    }
    x -= w / 2;
    if (x < 5.0f) {
        x = 5.0f;
    } else if (x > 421.0f - w) {
        x = 421.0f - w;
    }
    float top = Vars::value("casual_mode") == "1" ? 20.0f : 5.0f;
    y = std::max(top, y - h);
    if (Session::getParam("ui") != "mobile") {
        if (y < 60.0f && counts("character_button") && y + 366.0f < x + w) {
            y = x + w - 366.0f;
        }
    } else if (y < 70.0f && counts("diary_button")) {
        if (x + w > y + 356.0f) {
            y = x + w - 356.0f;
        } else if (x < 70.0f - y) {
            y = 70.0f - x;
        }
    }
    return morvec::Rectangle(x, y, w, h);
}

// Moves the rectangle up and down in growing steps (+0.5, -0.5, +1.0, -1.0, ...) until it meets
// none of the subtitles placed before it.
void avoid(morvec::Rectangle& rect, const std::vector<morvec::Rectangle>& placed) {
    auto meets = [&] {
        return std::any_of(placed.begin(), placed.end(),
                           [&](const morvec::Rectangle& other) { return rect.intersects(other); });
    };
    float step = 0.0f;
    while (meets()) {
        step = step > 0.0f ? -step - 0.5f : 0.5f - step;
        rect.y += step;
    }
}

void drawContinueHint() {
    bool mobile = Session::getParam("ui") == "mobile";
    if (clickHintAlpha <= 0.0f || Vars::value("casual_mode") != "1" || Session::getParam("text_multiplier") != "9999" ||
        !uiChapter) {
        return;
    }
    String key = Session::getParam("target") == "pc" ? "CLICK_TO_CONTINUE" : "TAP_TO_CONTINUE";
    float alpha = std::min(clickHintAlpha * 255.0f, 255.0f);
    runel::renderer->drawText(morvec::Rectangle(0.0f, 3.0f, 426.0f, 320.0f), mobile ? "radodid:1.05" : "radodid:0.7",
                              "[b]" + uiChapter->getText(key), runel::CENTER, runel::TOP,
                              nimbo::Color(255, 255, 255, (int)alpha), morvec::Vector2(0, 0));
}

} // namespace

bool isSpeaking() {
    return !speechMap.empty();
}

void say(const String& key, const String& text) {
    Session::log("say: " + text);
    SayText::Scan scan = SayText::scan(text, textMultiplier);
    // Every "$name" is read before anything is queued, so an unknown variable queues nothing.
    std::vector<String> speakers;
    for (const SayText::Piece& piece : scan.pieces) {
        speakers.push_back(speakerKey(piece.speaker));
    }
    String last = scan.speakerNamed ? speakerKey(scan.lastSpeaker) : String();
    for (size_t i = 0; i < scan.pieces.size(); ++i) {
        speechMap[speakers[i]].push_back({scan.pieces[i].text, scan.pieces[i].seconds});
    }
    if (scan.speakerNamed) {
        std::deque<SpeechSegment>& queue = speechMap[last];
        if (queue.empty()) {
            queue.push_back({"Error displaying '" + key + "'", ERROR_SECONDS * textMultiplier});
        }
    }
}

void updateTalkAnimation(float step) {
    talkFrameTimer += step * 7.0f;
    std::vector<String> finished;
    for (auto& [key, queue] : speechMap) {
        SpeechSegment& current = queue.front();
        current.time -= step;
        if (current.time <= 0.0f) {
            queue.pop_front();
            if (queue.empty()) {
                finished.push_back(key);
            }
        } else if (isCharacterKey(key) && !current.text.empty()) {
            animateMouth(key);
        }
    }
    for (const String& key : finished) {
        endLine(key);
        speechMap.erase(key);
    }
    if (talkFrameTimer > 1.0f) {
        talkFrameTimer = 0.0f;
    }
}

String subtitleFont() {
    return Session::getParam("ui") == "mobile" ? "radodid:1.3" : "radodid";
}

std::vector<Subtitle> placeSubtitles() {
    String font = subtitleFont();
    std::vector<Subtitle> subtitles;
    std::vector<morvec::Rectangle> placed;
    for (const auto& [key, queue] : speechMap) {
        const String& text = queue.front().text;
        Placement placement = placeSpeaker(key);
        morvec::Rectangle rect = layOut(placement.point, font, text);
        avoid(rect, placed);
        placed.push_back(rect);
        subtitles.push_back({text, rect, placement.colour});
    }
    return subtitles;
}

void draw() {
    drawContinueHint();
    String font = subtitleFont();
    for (const Subtitle& subtitle : placeSubtitles()) {
        if (!subtitle.text.empty()) {
            runel::renderer->drawText(subtitle.rect, font, "[b]" + subtitle.text, runel::CENTER_WRAPPED, runel::BOTTOM,
                                      subtitle.colour, morvec::Vector2(0, 0));
        }
    }
}

float skipCurrentLine() {
    if (speechMap.empty()) {
        updateTalkAnimation(0.0f);
        return 0.0f;
    }
    if (Vars::value("textmode_exception") == "1") {
        return 0.0f;
    }
    float remaining = 0.0f;
    for (auto& [key, queue] : speechMap) {
        SpeechSegment& current = queue.front();
        if (isCharacterKey(key)) {
            // The character's "Say" job lasts as long as the line: past its last piece it ends.
            Marionix::Actor* character = speakerCharacter(key);
            if (character && isRunning(character, "Say")) {
                character->getCurrentJob()->update(current.time + (queue.size() == 1 ? 10000.0f : 0.0f));
            }
            remaining = std::max(remaining, current.time);
        } else {
            // A plain or positional speaker's rest replaces the answer; a character's counts when longer.
            remaining = current.time;
        }
        current.time = 0.0f;
    }
    updateTalkAnimation(0.0f);
    return remaining;
}

void cutLine(const String& speaker) {
    auto found = speechMap.find(speaker);
    if (found != speechMap.end()) {
        std::deque<SpeechSegment>& queue = found->second;
        queue.erase(queue.begin(), queue.end() - 1);
        queue.front().time = -1.0f;
    }
    updateTalkAnimation(0.0f);
}

void sayGenericLine() {
    if (!uiChapter) {
        Session::log("sayGenericLine: the \"ui\" chapter is not loaded");
        return;
    }
    String character = Vars::value("current_character");
    String key = "GENERIC_0" + String(vessot::rand() % 8 + 1);
    if (!uiChapter->textExists(key)) {
        key += "-" + character;
    }
    say(key, "{ " + character + " }" + uiChapter->getText(key));
}

void clear() {
    speechMap.clear();
}

} // namespace Speech
