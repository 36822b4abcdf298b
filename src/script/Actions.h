#pragma once
// The action classes. Actions.cpp holds the flow, scene, dialog, text and sound actions,
// VariableActions.cpp the variable and inventory actions, CharacterActions.cpp the character
// actions and the job parser.

#include "script/Action.h"

#include <memory>
#include <vector>

class Character2DRef;

namespace Marionix {
class Job;
}

namespace Actions {

// Named actions run inside one another (references, and the command "call" of a named action) at
// most this deep; deeper is taken for a loop.
constexpr int MAX_REFERENCE_DEPTH = 32;

// Counts one level of named-action nesting while it lives. Entering a level past
// MAX_REFERENCE_DEPTH throws _ScriptException naming the chain of names. Code that follows actions
// without running them (the HUD's cursor) asks hasRoom before it enters a level.
class ReferenceDepth {
public:
    explicit ReferenceDepth(const String& name);
    ~ReferenceDepth();
    // Whether one more level fits.
    static bool hasRoom();
    ReferenceDepth(const ReferenceDepth&) = delete;
    ReferenceDepth& operator=(const ReferenceDepth&) = delete;
};

// ---------------------------------------------------------------- flow

// Runs the named action of the owner's chapter ("chapter.name" looks in that chapter), or of the
// active scene's chapter when the owner's has none.
class Reference : public Action {
public:
    explicit Reference(const String& ref) : ref(ref) {}
    void execute() override;
    Action* clone() override { return finishClone(new Reference(ref)); }
    String getTypeName() const override { return "Reference"; }
    // The action the reference names (not owned).
    Action* getAction() const;

private:
    String ref;
};

// A verb menu: the verb coin asks it for the action of a verb.
class Multiple : public Action {
public:
    Multiple() = default;
    // Opens the verb coin for this menu.
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "Multiple"; }
    // Appends an entry that the menu owns. While the menu's rollover key is empty, a "Text" child
    // lends it its key.
    void addAction(const String& verb, const String& condition, Action* action);
    // The same for an action the menu only borrows: neither clear() nor the destructor deletes it.
    void borrowAction(const String& verb, const String& condition, Action* action);
    // Removes every entry (deleting those it owns).
    void clear() { entries.clear(); }
    // The action of the first entry of that verb whose condition holds now; null when none does.
    Action* getAction(const String& verb) const;

private:
    struct Entry {
        String verb;
        String condition;
        Action* action;
        std::unique_ptr<Action> owned;
    };
    void append(const String& verb, const String& condition, Action* action, bool owns);

    std::vector<Entry> entries;
};

// Runs every child whose condition holds, each condition tested just before its child.
class Composite : public Action {
public:
    Composite() = default;
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "Composite"; }
    void addAction(const String& condition, Action* action);
    // The action of the only entry whose condition holds now; null when none holds or a second one
    // does (the walk stops there): what a click on the group, and its cursor, lead to.
    Action* getOnlyTrueAction() const;

private:
    struct Entry {
        String condition;
        std::unique_ptr<Action> action;
    };
    std::vector<Entry> entries;
};

// Chooses by the item in hand ("noitem" for empty hands) and a condition; takes the item out of
// hand; with no choice the current character refuses.
class ItemAction : public Action {
public:
    ItemAction() = default;
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "ItemAction"; }
    // A "Text" child lends the ItemAction its rollover key (the last one added wins).
    void addAction(const String& item, const String& condition, Action* action);
    // The action of the first entry for the item ("noitem": empty hands) whose condition holds now;
    // null when none does.
    Action* getAction(const String& item) const;

private:
    struct Entry {
        String item;
        String condition;
        std::unique_ptr<Action> action;
    };
    std::vector<Entry> entries;
};

// Calls a function that the game content registers.
class UserCallback : public Action {
public:
    using Function = void (*)(void*);
    UserCallback(Function function, void* userData) : function(function), userData(userData) {}
    void execute() override { function(userData); }
    // The clone calls the same function with no user data.
    Action* clone() override { return finishClone(new UserCallback(function, nullptr)); }
    String getTypeName() const override { return "UserCallback"; }

private:
    Function function;
    void* userData;
};

// Writes its text to the log with "$variable" and "%item" replaced by their values.
class DebugPrint : public Action {
public:
    explicit DebugPrint(const String& text) : text(text) {}
    void execute() override;
    Action* clone() override { return finishClone(new DebugPrint(text)); }
    String getTypeName() const override { return "DebugPrint"; }

private:
    String text;
};

class EndProgram : public Action {
public:
    void execute() override;
    Action* clone() override { return finishClone(new EndProgram()); }
    String getTypeName() const override { return "EndProgram"; }
};

// ---------------------------------------------------------------- scenes

// Queues the switch to a scene ("chapter.Scene", a scene of the action's chapter, or "$variable").
class SwitchScene : public Action {
public:
    SwitchScene(float fadeTime, const String& scene, const String& effect, const String& params);
    void execute() override;
    Action* clone() override { return finishClone(new SwitchScene(fadeTime, scene, effect, params)); }
    String getTypeName() const override { return "SwitchScene"; }
    // The target as chapter name, "." and scene name (a bare name is taken from the active scene's
    // chapter).
    String getFullSceneName() const;

private:
    float fadeTime;
    String scene;
    String effect;
    String params;
};

// Queues "reset_scene".
class ResetScene : public Action {
public:
    void execute() override;
    Action* clone() override { return finishClone(new ResetScene()); }
    String getTypeName() const override { return "ResetScene"; }
};

// Puts a hotspot map of the active scene's chapter in place ("None": the empty map).
class SetActionMap : public Action {
public:
    explicit SetActionMap(const String& mapName) : mapName(mapName) {}
    void execute() override;
    Action* clone() override { return finishClone(new SetActionMap(mapName)); }
    String getTypeName() const override { return "SetActionMap"; }

private:
    String mapName;
};

class LockScene : public Action {
public:
    void execute() override;
    Action* clone() override { return finishClone(new LockScene()); }
    String getTypeName() const override { return "LockScene"; }
};

class UnlockScene : public Action {
public:
    void execute() override;
    Action* clone() override { return finishClone(new UnlockScene()); }
    String getTypeName() const override { return "UnlockScene"; }
};

// Sends an event to a GUI object of the owner's chapter.
class SendEventToObject : public Action {
public:
    SendEventToObject(const String& objectName, const String& event, const String& params)
        : objectName(objectName), event(event), params(params) {}
    void execute() override;
    Action* clone() override { return finishClone(new SendEventToObject(objectName, event, params)); }
    String getTypeName() const override { return "SendEventToObject"; }

private:
    String objectName;
    String event;
    String params;
};

// ---------------------------------------------------------------- dialogs and achievements

class Dialog : public Action {
public:
    explicit Dialog(const String& dialogName) : dialogName(dialogName) {}
    void execute() override;
    Action* clone() override { return finishClone(new Dialog(dialogName)); }
    String getTypeName() const override { return "Dialog"; }

private:
    String dialogName;
};

class EndDialog : public Action {
public:
    void execute() override;
    Action* clone() override { return finishClone(new EndDialog()); }
    String getTypeName() const override { return "EndDialog"; }
};

class UnlockAchievement : public Action {
public:
    explicit UnlockAchievement(const String& achievement) : achievement(achievement) {}
    void execute() override;
    Action* clone() override { return finishClone(new UnlockAchievement(achievement)); }
    String getTypeName() const override { return "UnlockAchievement"; }

private:
    String achievement;
};

// ---------------------------------------------------------------- speech

// The current character speaks the owner chapter's text of a key (or of key + "-" + the current
// character's name).
class Say : public Action {
public:
    explicit Say(const String& key);
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "Say"; }
    // The text key in use: the key, its variant for the current character, or "" when neither exists.
    String getKey() const;
    // The speaker prefix followed by the text (or by the missing-text line).
    String getText() const;
    // The speaker mark ("{ name }") put in front of the text.
    void setPrefix(const String& speaker) { prefix = speaker; }

protected:
    String key;
    String prefix;
};

// Says the numbered lines BASE_01, BASE_02, ... in turn, starting over after the last that exists.
// The factory-made action does nothing; its clones share one line number, which lives as long as
// any of them.
class Text : public Say {
public:
    explicit Text(const String& baseKey);
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "Text"; }

private:
    String baseKey;
    std::shared_ptr<int> lineNumber = std::make_shared<int>(1);
    // The number this action advances; null for the factory-made action.
    std::shared_ptr<int> lineCounter;
};

// Says BASE + a suffix drawn at random from a comma list; the first run fixes the speaker.
class GenericText : public Say {
public:
    GenericText(const String& baseKey, const String& shuffle);
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "GenericText"; }

private:
    String baseKey;
    String shuffle;
};

// ---------------------------------------------------------------- sounds

class SoundAction : public Action {
public:
    explicit SoundAction(const String& sound) : sound(sound) {}
    // The sound's name qualified by the owner's chapter.
    String getSoundName() const;

protected:
    String sound;
};

class PlaySoundW : public SoundAction {
public:
    PlaySoundW(const String& sound, float fadeTime, bool loop) : SoundAction(sound), fadeTime(fadeTime), loop(loop) {}
    void execute() override;
    Action* clone() override { return finishClone(new PlaySoundW(sound, fadeTime, loop)); }
    String getTypeName() const override { return "PlaySound"; }

private:
    float fadeTime;
    bool loop;
};

class StopSound : public SoundAction {
public:
    StopSound(const String& sound, float fadeTime) : SoundAction(sound), fadeTime(fadeTime) {}
    void execute() override;
    Action* clone() override { return finishClone(new StopSound(sound, fadeTime)); }
    String getTypeName() const override { return "StopSound"; }

private:
    float fadeTime;
};

// ---------------------------------------------------------------- variables and the inventory

// Sets a variable to a literal text, to another variable's value ("$name"), to whether an item is
// held ("%item") or to a random number ("#rand:A,B", from [A, B)); with reset on, queues
// "reset_scene" when the variable held something other than the text as written.
class SetVar : public Action {
public:
    SetVar(const String& variable, const String& value, bool reset) : variable(variable), value(value), reset(reset) {}
    void execute() override;
    Action* clone() override { return finishClone(new SetVar(variable, value, reset)); }
    String getTypeName() const override { return "SetVar"; }
    void setReset(bool on) { reset = on; }

protected:
    // Sets the variable from a value text of the forms above, with the reset rule.
    void apply(const String& valueText);
    // Queues "reset_scene" when reset is on.
    void queueReset() const;
    // What the item actions do after changing the inventory: the variable when one is named, else
    // the reset.
    void setVariableOrReset();

    String variable;
    String value;
    bool reset;
};

// Appends its text (or "$name"'s value) to the variable, then sets it as SetVar does.
class AppendToVar : public SetVar {
public:
    using SetVar::SetVar;
    void execute() override;
    Action* clone() override { return finishClone(new AppendToVar(variable, value, reset)); }
    String getTypeName() const override { return "AppendToVar"; }
};

// Adds an item; then sets the variable when one is named, else queues the reset.
class AddItem : public SetVar {
public:
    AddItem(const String& item, const String& variable, const String& value, bool reset)
        : SetVar(variable, value, reset), item(item) {}
    void execute() override;
    Action* clone() override { return finishClone(new AddItem(item, variable, value, reset)); }
    String getTypeName() const override { return "AddItem"; }

private:
    String item;
};

// Removes one copy of an item; then as AddItem.
class RemoveItem : public SetVar {
public:
    RemoveItem(const String& item, const String& variable, const String& value, bool reset)
        : SetVar(variable, value, reset), item(item) {}
    void execute() override;
    Action* clone() override { return finishClone(new RemoveItem(item, variable, value, reset)); }
    String getTypeName() const override { return "RemoveItem"; }

protected:
    String item;
};

// Removes every copy of an item ("*": empties the inventory).
class RemoveAllItems : public RemoveItem {
public:
    RemoveAllItems(const String& item, bool reset) : RemoveItem(item, "", "", reset) {}
    void execute() override;
    Action* clone() override { return finishClone(new RemoveAllItems(item, reset)); }
    String getTypeName() const override { return "RemoveAllItems"; }
};

// Adds a number to a variable; with reset on, always queues "reset_scene".
class IncVar : public Action {
public:
    IncVar(const String& variable, int value, bool reset) : variable(variable), value(value), reset(reset) {}
    void execute() override;
    Action* clone() override { return finishClone(new IncVar(variable, value, reset)); }
    String getTypeName() const override { return "IncVar"; }
    void setReset(bool on) { reset = on; }

private:
    String variable;
    int value;
    bool reset;
};

// Runs a command string at once.
class Execute : public Action {
public:
    explicit Execute(const String& command) : command(command) {}
    void execute() override;
    Action* clone() override { return finishClone(new Execute(command)); }
    String getTypeName() const override { return "Execute"; }

private:
    String command;
};

// Puts an item in hand ("" empties the hand).
class SelectItem : public Action {
public:
    explicit SelectItem(const String& item) : item(item) {}
    void execute() override;
    Action* clone() override { return finishClone(new SelectItem(item)); }
    String getTypeName() const override { return "SelectItem"; }

private:
    String item;
};

// Clears the reset flag of a SetVar or IncVar, so that it queues no "reset_scene" (the fast scene
// switch runs such actions ahead of their time); other actions are left alone.
void clearResetFlag(Action* action);

// ---------------------------------------------------------------- characters

// An action on a character named directly or by "$variable".
class CharacterAction : public Action {
public:
    explicit CharacterAction(const String& character) : character(character) {}
    String getTypeName() const override { return "CharacterAction"; }
    // The active scene's reference that shows the character; null when it shows none.
    Character2DRef* findCharacter() const;

protected:
    String character;
};

// Empties the character's job queue.
class ClearJobs : public CharacterAction {
public:
    using CharacterAction::CharacterAction;
    void execute() override;
    Action* clone() override { return finishClone(new ClearJobs(character)); }
    String getTypeName() const override { return "ClearJobs"; }
};

// Fills the character's job queue with clones of its job prototypes whose conditions hold.
class CommandCharacter : public CharacterAction {
public:
    struct JobEntry {
        std::unique_ptr<Marionix::Job> prototype;
        String condition;
    };

    explicit CommandCharacter(const String& character);
    ~CommandCharacter() override;
    void execute() override;
    Action* clone() override;
    String getTypeName() const override { return "CommandCharacter"; }
    // Appends one job per "Job" child of the element (other children are skipped).
    void parseJobs(vessxml::Node* element);
    // Appends the job of one "Job" element: a job type of its own, or an action wrapped in a job.
    // Actions inside are made for the command's owner chapter, which must be set before.
    void parseJob(vessxml::Node* element);
    const std::vector<JobEntry>& getJobs() const { return jobs; }

private:
    std::vector<JobEntry> jobs;
};

// Places a character of the characters chapter at "x,y,direction".
class SetCharacterPos : public Action {
public:
    SetCharacterPos(const String& position, const String& character) : position(position), character(character) {}
    void execute() override;
    Action* clone() override { return finishClone(new SetCharacterPos(position, character)); }
    String getTypeName() const override { return "SetCharacterPos"; }

private:
    String position;
    String character;
};

} // namespace Actions
