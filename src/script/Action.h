#pragma once
// Script actions: the unit of game logic, made from XML elements of scene, dialog and chapter
// files by Action::createFromXml, executed any number of times and cloned for job queues.

#include "vessot/String.h"

using vessot::String;

class Chapter;

namespace vessxml {
class Node;
}

class Action {
public:
    Action() = default;
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    virtual ~Action() = default;
    virtual void execute() = 0;
    // A new action of the same class that the caller owns.
    virtual Action* clone() = 0;
    virtual String getTypeName() const = 0;

    // The text key of the hover label of the hotspot that holds the action; a key holding "|" (and a
    // cursor name after it) marks an action that takes any click directly.
    String getRolloverKey() const { return rolloverKey; }
    void setRolloverKey(const String& key) { rolloverKey = key; }
    Chapter* getOwner() const { return owner; }
    void setOwner(Chapter* chapter) { owner = chapter; }

    // Builds the action that the element's "type" names, for the owner chapter; the caller owns it.
    // An unknown type throws nimboui::_GenericException "Unknown action type in XML file: TYPE"
    // followed by the file and line; a missing or unreadable attribute the XML library's exception.
    static Action* createFromXml(vessxml::Node* element, Chapter* owner);

protected:
    // What every clone ends with: the source's rollover key (when not empty) and owner.
    Action* finishClone(Action* copy) const;
    // The owner chapter; an action made without one throws _ScriptException when it needs it.
    Chapter* ownerChapter() const;

    String rolloverKey;
    Chapter* owner = nullptr;
};
