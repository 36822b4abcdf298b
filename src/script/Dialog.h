#pragma once
// The nodes of a dialog tree, read from a chapter's dialog files (DialogManager::load) and run by the
// dialog runner: the runner starts a node when it becomes current, the conversation panel updates
// the current node every frame, and a sequence asks its current child whether it is done.

#include "vessot/String.h"

#include <memory>
#include <vector>

using vessot::String;

class Action;

namespace Actions {
class CommandCharacter;
}

class Dialog {
public:
    Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;
    virtual void update(float step) { (void)step; }
    virtual void start() {}
    virtual bool isDone() { return true; }

    // The enclosing sequence, reply or menu; null at the top of a tree.
    Dialog* parent = nullptr;
    // The seconds a spoken line stays current.
    float time = 0.0f;
    // A condition expression; "" always holds.
    String condition;
};

// One spoken line: the text key and the speaker ("$name" for the character a variable names).
class DialogEntry : public Dialog {
public:
    DialogEntry(const String& text, const String& chr) : text(text), chr(chr) {}
    void update(float step) override { time -= step; }
    // Shows the line; it stays current as long as its pause marks say.
    void start() override;
    bool isDone() override { return time <= 0.0f; }

    String text;
    String chr;
};

// Runs a script action when it starts.
class DialogAction : public Dialog {
public:
    explicit DialogAction(Action* action);
    ~DialogAction() override;
    void start() override;
    Action* getAction() const { return action.get(); }

protected:
    std::unique_ptr<Action> action;
};

// Fills a character's job queue; done when the queue has run empty, or at once when the active
// scene does not show the character.
class DialogJob : public DialogAction {
public:
    explicit DialogJob(Actions::CommandCharacter* command);
    bool isDone() override;
};

// Jumps to another dialog of the chapter, or ends the conversation with "__END__".
class DialogRedirect : public Dialog {
public:
    explicit DialogRedirect(const String& to) : to(to) {}
    void start() override;

    String to;
};

// Runs a dialog of the chapter inline: its parent goes on after it. The target is looked up on every
// use, in the active scene's chapter; "__END__" has none, and does nothing and is done.
class DialogReference : public Dialog {
public:
    explicit DialogReference(const String& ref) : ref(ref) {}
    void update(float step) override;
    void start() override;
    bool isDone() override;
    Dialog* getTarget() const;

    String ref;
};

// Children run one after another; a child whose condition does not hold is passed over.
class DialogSequence : public Dialog {
public:
    ~DialogSequence() override;
    void update(float step) override;
    void start() override;
    bool isDone() override { return current >= children.size(); }
    // The sequence owns the child.
    void add(Dialog* child);
    // The last child whose condition holds; null when none does.
    Dialog* lastAvailableChild() const;

    std::vector<Dialog*> children;
    size_t current = 0;

private:
    // Starts the first child from index on whose condition holds; past the end when none does.
    void startFrom(size_t index);
};

// A reply of a menu: choosing it records it and runs its children; when they are done the menu
// shows again. The text key is the reply's identity.
class DialogReply : public DialogSequence {
public:
    DialogReply(const String& text, const String& persistent) : text(text), persistent(persistent) {}
    void update(float step) override;
    void start() override;

    String text;
    // A condition expression: while it holds, choosing the reply records nothing.
    String persistent;
};

// Offers its available replies; never done: a conversation leaves it by a reply, a redirect or its
// end.
class DialogMenu : public Dialog {
public:
    explicit DialogMenu(const String& name) : name(name) {}
    ~DialogMenu() override;
    void start() override;
    bool isDone() override { return false; }
    // The menu owns the reply.
    void add(DialogReply* reply);
    // The replies whose condition holds, in file order.
    std::vector<DialogReply*> getAvailableReplies() const;

    // The name the menu is registered under in its chapter.
    String name;
    std::vector<DialogReply*> replies;
};
