#pragma once
// Deferred destruction of engine content. The engine's entry points (the framework's callbacks and
// the frame) each hold a Scope while they run. Content retired while a scope is open (the scenes,
// hotspot maps, dialogs and actions of a chapter being unloaded) is destroyed when the outermost
// scope closes, so code still on the stack, such as a scene whose click switched away from its own
// chapter, never runs on freed memory. Outside any scope, retired content is destroyed at once.

#include <functional>

namespace Lifetime {

class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

void retire(std::function<void()> destroy);

template <class T> void retire(T* object) {
    if (object) {
        retire([object] { delete object; });
    }
}

// Whether retired content currently waits for the outermost scope.
bool isDeferring();

} // namespace Lifetime
