#pragma once
// Shared state of the render system, its textures and the window, for nimbo's own sources only.
// Not part of the public interface: it includes SDL.

#include "nimbo/RenderSystem.h"
#include "nimbo/Texture.h"
#include "nimbo/Window.h"

#include <SDL.h>
#include <cstdint>
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
    uint64_t content = 0; // the render system's number for the pixels it holds now

    void readSize();
};

// One step of a frame's drawing, as it is handed to SDL.
struct DrawCommand {
    enum Kind { VIEWPORT, CLEAR, GEOMETRY };
    Kind kind = CLEAR;
    std::optional<morvec::Rectangle> viewport; // VIEWPORT; unset: the whole window
    // GEOMETRY: triangles of one texture, its pixels and blend mode; indices count from firstVertex.
    SDL_Texture* texture = nullptr;
    uint64_t content = 0;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    size_t firstVertex = 0;
    size_t firstIndex = 0;
    int vertexCount = 0;
    int indexCount = 0;

    bool operator==(const DrawCommand& other) const = default;
};

// The pixels an upright quad covers along one axis of the window, those whose centres lie in
// [first, end), and the texture coordinate, in texels, it samples at the first centre and per pixel.
struct PixelSpan {
    int first = 0;
    int end = 0;
    float texel = 0;
    float step = 0;

    bool operator==(const PixelSpan& other) const;
};

// What one quad puts on the window. An upright quad (not turned, its sides along the window's) is
// known by its pixels and what they sample, so that moving its edges within a pixel, with its
// texture part along, draws the same picture; any other quad by its vertices as drawn.
struct QuadPicture {
    bool upright = false;
    PixelSpan across;
    PixelSpan down;
    SDL_Color color{};
    size_t firstVertex = 0;
    size_t vertexCount = 0;
};

// All a frame draws, in order.
struct FrameRecord {
    std::vector<DrawCommand> commands;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    std::vector<QuadPicture> quads;

    void clear();
    // Whether the two frames draw the same picture.
    bool operator==(const FrameRecord& other) const;
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
    uint64_t contents = 0; // numbers handed to texture pixels so far; 0 is the white pixel's
    bool canSubtract = false;
    bool subtractLogged = false;

    // Model units to viewport pixels, rebuilt when a matrix or the viewport changes.
    morvec::Matrix4 toPixels;
    bool toPixelsDirty = true;

    // A frame is recorded as it is drawn and handed to SDL when it is presented, and only when it
    // differs from the frame shown: an unchanged picture costs no drawing. A screenshot, or a
    // texture that changes or goes while the frame still draws it, hands the frame over so far.
    FrameRecord frame;
    FrameRecord shown;
    size_t submitted = 0;   // commands of frame handed to SDL
    bool stale = true;      // the window's picture is lost or was never drawn
    bool presented = false; // whether the last presentFrame drew

    void attach(SDL_Window* window);
    void setSdlViewport(const std::optional<morvec::Rectangle>& rect);
    // The window must be drawn again: it was resized, exposed or its renderer reset.
    void invalidate();
    void detachTextures();
    // Adds a clear, or the viewport as it is now, to the frame.
    void record(DrawCommand::Kind kind);
    void startFrame();
    // Hands the commands recorded since the last submission to SDL.
    void submit();
    // Submits now when a command not yet submitted draws this texture (before it changes or goes).
    void submitUsing(SDL_Texture* texture);
    // A new number for a texture's pixels, after they were loaded or written.
    uint64_t newContent() { return ++contents; }
    SDL_BlendMode sdlBlendMode();
    // src is in 0..1 of the texture, which is texels wide and high.
    void addQuad(const morvec::Rectangle& dest, const morvec::Rectangle& src, const Color& color, float angle, int flip,
                 SDL_Texture* texture, uint64_t content, const morvec::Vector2& texels);
    // Notes what the quad whose vertices begin at first puts on the window.
    void recordPicture(size_t first, const morvec::Vector2& texels);
    void updateToPixels();
    morvec::Vector2 outputSize() const;
    bool hasVsync() const;
};

// Blocks of this size and more get a mapping of their own from the allocator (see startMain).
constexpr size_t LARGE_BLOCK = 256 * 1024;
// SDL's memory goes through SdlMemory.cpp from nimbo::init on, which keeps large freed blocks for
// the next request they fit. endSdlMemoryFrame, at the end of every frame (presentFrame), gives back
// those not used again during the frame; releaseSdlMemory gives back all.
void installSdlMemory();
void endSdlMemoryFrame();
void releaseSdlMemory();

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
