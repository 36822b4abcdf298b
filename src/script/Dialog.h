#pragma once
// A node of a dialog tree.

class Dialog {
public:
    virtual ~Dialog() = default;
    virtual void update(float step) { (void)step; }
};
