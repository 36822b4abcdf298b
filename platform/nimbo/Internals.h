#pragma once
// Shared state of the render system, its textures and the window, for nimbo's own sources only.
// Not part of the public interface: it includes SDL.

#include "nimbo/RenderSystem.h"
#include "nimbo/Texture.h"
#include "nimbo/Window.h"

#include <SDL.h>
#include <optional>
#include <set>
#include <vector>

namespace nimbo {

struct Texture::State {
    RenderSystem* owner = nullptr; // null once the render system has gone
    vessot::String filename;
    bool fromFile = false;
    Type type = TYPE_MANAGED;
    ImageFormat format = FORMAT_RGBA;
    int width = -1; // -1 until known (a file texture not yet loaded)
    int height = -1;
    Color fill;
    SDL_Texture* native = nullptr;

    void readSize();
};

struct RenderSystem::State {
    Options options;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* white = nullptr; // one white pixel, the texture of filled quads
    morvec::Matrix4 projection;
    morvec::Matrix4 modelview;
    std::optional<morvec::Rectangle> viewport; // unset: the whole window
    BlendMode blend = BM_DEFAULT;
    Texture* bound = nullptr;
    std::set<Texture*> textures;
    int madeUpNames = 0;
    bool canSubtract = false;
    bool subtractLogged = false;

    // Model units to viewport pixels, rebuilt when a matrix or the viewport changes.
    morvec::Matrix4 toPixels;
    bool toPixelsDirty = true;

    // The batch: triangles sharing one texture and blend mode.
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    SDL_Texture* batchTexture = nullptr;
    SDL_BlendMode batchBlend = SDL_BLENDMODE_BLEND;

    void attach(SDL_Window* window);
    // Hands the viewport to SDL (after a change, or after SDL reset it on a resize).
    void applyViewport();
    void detachTextures();
    void flush();
    // Draws the batch now when it uses this texture (before the texture changes or goes).
    void flushTexture(SDL_Texture* texture);
    SDL_BlendMode sdlBlendMode();
    void addQuad(const morvec::Rectangle& dest, const morvec::Rectangle& src, const Color& color, float angle, int flip,
                 SDL_Texture* texture);
    void updateToPixels();
    morvec::Vector2 outputSize() const;
    bool hasVsync() const;
};

// The one door to the private parts of the render system, its textures and the window.
struct RenderAccess {
    using RenderState = RenderSystem::State;
    using TextureState = Texture::State;

    static RenderSystem* makeRenderSystem(const RenderSystem::Options& options) { return new RenderSystem(options); }
    static Window* makeWindow(int w, int h, bool fullscreen, const vessot::String& title, const Window::Options& o) {
        return new Window(w, h, fullscreen, title, o);
    }
    static Texture* makeTexture(std::unique_ptr<TextureState> state) { return new Texture(std::move(state)); }
    static RenderState& of(RenderSystem& r) { return *r.state; }
    static TextureState& of(Texture& t) { return *t.state; }
    static SDL_Window* sdlWindow(Window& w);
};

} // namespace nimbo
