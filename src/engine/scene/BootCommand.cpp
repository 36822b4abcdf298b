#include "engine/scene/BootCommand.h"

#include "engine/app/Engine.h"
#include "engine/objects/HiddenObject.h"
#include "engine/scene/Chapter.h"
#include "engine/scene/Scene.h"
#include "engine/session/Session.h"
#include "engine/session/zephUtil.h"
#include "script/Action.h"

#include "nimboui/nimboui.h"
#include "vessxml/Xml.h"

#include <algorithm>
#include <cctype>
#include <vector>

// ---------------------------------------------------------------- running

BootCommand_ActionSet::~BootCommand_ActionSet() {
    delete action;
}

void BootCommand_ActionSet::execute(Scene* scene) {
    if (action) {
        scene->actions[areaId] = action;
    }
}

BootCommand_ExecuteAction::~BootCommand_ExecuteAction() {
    delete action;
}

void BootCommand_ExecuteAction::execute(Scene*) {
    action->execute();
}

void BootCommand_ExecuteCommand::execute(Scene*) {
    Session::executeCommand(command);
}

void BootCommand_PlayAudioStream::execute(Scene* scene) {
    Session::log("parallel sound manager: adding " + source);
    musicQueue.queueSound(source == "DONT_CHANGE" ? source : scene->chapter->getName() + "." + source);
}

namespace {

bool isIdentifier(const String& name) {
    if (name.empty() || std::isdigit((unsigned char)name[0])) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum((unsigned char)c) || c == '_'; });
}

// A hidden object is attached only while its variable "ho_" + name holds; its name goes into the
// condition's text, so it must read as one variable name there.
String hiddenObjectCondition(const String& condition, nimboui::Object* object) {
    const String& name = object->getName();
    if (!dynamic_cast<HiddenObject*>(object) || name.startsWith("__")) {
        return condition;
    }
    if (!isIdentifier(name)) {
        throw nimboui::_GenericException("hidden object name '" + name + "' is not an identifier", "GenericException",
                                         __FILE__, __LINE__);
    }
    return condition.empty() ? "$ho_" + name : "(" + condition + ") and ($ho_" + name + ")";
}

} // namespace

BootCommand_AttachObject::BootCommand_AttachObject(const String& condition, nimboui::Object* object)
    : BootCommand(hiddenObjectCondition(condition, object)), savedVisible(object->isVisible()),
      savedPosition(object->getPosition()), savedWidth(object->getWidth()), savedHeight(object->getHeight()),
      savedAlpha(object->getAlpha()), object(object) {}

void BootCommand_AttachObject::execute(Scene* scene) {
    object->setPosition(savedPosition);
    object->setSize(savedWidth, savedHeight);
    object->setAlpha(savedAlpha);
    object->setVisible(savedVisible);
    scene->root->addChild(object);
    object->notifyEvent("AttachToObject", scene);
    if (auto* box = dynamic_cast<nimboui::ImageBox*>(object); box && box->getImageName().startsWith("$")) {
        String imageName = box->getImageName();
        nimboui::Image* shown = box->getImage();
        if (shown && shown->getName() == "0xCAFEBABE") {
            box->setSize(-1, -1);
            box->setImageByName(imageName);
            savedWidth = box->getWidth();
            savedHeight = box->getHeight();
        } else {
            box->setImageByName(imageName);
        }
    }
    object->update(0.0f);
}

// ---------------------------------------------------------------- parsing

namespace {

[[noreturn]] void refuse(vessxml::Node* element, const String& why) {
    element->fail(why);
}

// A condition as the chain of clauses around an element, so that each level adds its own clause
// without copying the text of the levels around it; the text is built once for each command.
// A level's text is "(" + the text around it + ") and (" + clause + ")"; a level that joins only
// when there is text around it stands for its clause alone while there is none.
struct Condition {
    const Condition* outer = nullptr;
    String clause;
    bool joinsEmpty = false;

    String text() const {
        std::vector<const Condition*> levels;
        for (const Condition* level = this; level; level = level->outer) {
            levels.push_back(level);
        }
        // From the outermost level in: the ones that replace an empty text, then the joined ones.
        String base;
        size_t joined = 0;
        for (size_t i = levels.size(); i-- > 0;) {
            if (!base.empty() || levels[i]->joinsEmpty) {
                joined = i + 1;
                break;
            }
            base = levels[i]->clause;
        }
        String out(std::string(joined, '('));
        out += base;
        for (size_t i = joined; i-- > 0;) {
            out.append(") and (").append(levels[i]->clause).append(")");
        }
        return out;
    }
};

// The condition of an element: the enclosing one combined with its own "condition".
Condition ownCondition(vessxml::Node* element, const Condition& enclosing) {
    if (!element->pexists("condition")) {
        return enclosing;
    }
    return {&enclosing, element->pstr("condition"), true};
}

uint32_t readColour(vessxml::Node* element) {
    String colour = element->pstr("color");
    uint32_t id = 0;
    if (!zephUtil::parseAreaId(colour, id)) {
        refuse(element, "'color' must be a hexadecimal colour, not '" + colour + "'");
    }
    return id;
}

struct BootParser {
    Chapter* chapter;
    Scene* scene;

    // Children of element under the enclosing condition. Inside an "if" the clause it tests and the
    // condition around it are known, so an "else" child negates exactly that clause.
    void parse(vessxml::Node* element, const Condition& enclosing, const Condition* ifOuter, const String* ifClause) {
        for (vessxml::Node* child : element->children()) {
            parseOne(child, enclosing, ifOuter, ifClause);
        }
    }

    void parseOne(vessxml::Node* child, const Condition& enclosing, const Condition* ifOuter, const String* ifClause) {
        Condition own = ownCondition(child, enclosing);
        if (*child == "Action") {
            parseAction(child, own.text());
        } else if (*child == "Audio") {
            scene->bootCommands.push_back(new BootCommand_PlayAudioStream(own.text(), child->pstr("source")));
        } else if (*child == "Object" || *child == "Animator") {
            nimboui::Object* object = chapter->parseObject(child, scene->root);
            // The depth sort reads the number after the "," of a "zorder" name.
            if (object->getName().startsWith("zorder") && !object->getName().contains(",")) {
                refuse(child, "object '" + object->getName() + "' needs a ',' and a depth after 'zorder'");
            }
            try {
                scene->bootCommands.push_back(new BootCommand_AttachObject(own.text(), object));
            } catch (const nimboui::_GenericException& e) {
                refuse(child, e.message());
            }
        } else if (*child == "Execute") {
            scene->bootCommands.push_back(new BootCommand_ExecuteCommand(own.text(), child->pstr("cmd")));
        } else if (*child == "if") {
            String clause = child->pexists("t") ? child->pstr("t") : "not (" + child->pstr("f") + ")";
            parse(child, {&enclosing, clause, false}, &enclosing, &clause);
        } else if (*child == "else") {
            if (!ifClause) {
                refuse(child, "'else' must stand inside an 'if'");
            }
            parse(child, {ifOuter, "not (" + *ifClause + ")", false}, nullptr, nullptr);
        }
    }

    void parseAction(vessxml::Node* child, const String& condition) {
        String name = child->pstr("name", "");
        bool hasColour = child->pexists("color") && !child->pstr("color").empty();
        uint32_t id = hasColour && name.empty() ? readColour(child) : 0;
        Action* action = Action::createFromXml(child, chapter);
        if (!name.empty()) {
            chapter->registerNamedAction(name, action);
        } else if (hasColour) {
            scene->bootCommands.push_back(new BootCommand_ActionSet(condition, id, action));
        } else {
            scene->bootCommands.push_back(new BootCommand_ExecuteAction(condition, action));
        }
    }
};

} // namespace

void Chapter::parseBootCommands(vessxml::Node* element, Scene* scene, const String& condition) {
    BootParser{this, scene}.parse(element, {nullptr, condition, false}, nullptr, nullptr);
}
