#pragma once
// Draws coloured and textured quads. Every quad goes through the projection and model-view
// matrices and is batched into triangle lists, so rotation, per-vertex colour and batching share
// one path. Positions are in the units the projection sets up; (0, 0) is the top left of the
// projected area with y growing downwards. Made by nimbo::createRenderSystem.

#include "morvec/Matrix4.h"
#include "morvec/Rectangle.h"
#include "nimbo/Color.h"
#include "nimbo/Image.h"
#include "nimbo/Texture.h"
#include "vessot/String.h"

#include <memory>

namespace nimbo {

enum BlendMode {
    BM_DEFAULT = 0, // alpha blending, as BM_ALPHA
    BM_ALPHA = 1,
    BM_ADD = 2,
    BM_SUBTRACT = 3, // falls back to modulation where the renderer cannot subtract
    BM_OVERWRITE = 4,
};

// Mirroring of a quad's picture, as flags.
enum Flip { FLIP_NONE = 0, FLIP_HORIZONTAL = 1, FLIP_VERTICAL = 2 };

class RenderSystem {
public:
    struct Options {
        bool vsync = true;
    };

    virtual ~RenderSystem();
    RenderSystem(const RenderSystem&) = delete;
    RenderSystem& operator=(const RenderSystem&) = delete;

    // Clears the whole window to opaque black (there is no depth buffer).
    void clear(bool color = true, bool depth = false);
    // Shows what was drawn since the last present. A frame that draws what the window shows (the
    // same quads over the same pixels, sampling the same points of the same texture pixels) is
    // neither drawn nor presented again.
    void presentFrame();
    // Makes the next presentFrame draw and present even a frame that matches the one shown, for
    // benchmarks that time the drawing itself.
    void redrawNextFrame();

    // Projection by rectangle: the viewport shows the area from (-x, -y) to (w - x, h - y).
    void setOrthoProjection(const morvec::Rectangle& rect);
    // Projection by size: the viewport shows (0, 0) at its top left to (w, h).
    void setOrthoProjection(const morvec::Vector2& size);
    const morvec::Matrix4& getProjectionMatrix() const;
    void setProjectionMatrix(const morvec::Matrix4& matrix);
    const morvec::Matrix4& getModelviewMatrix() const;
    void setModelviewMatrix(const morvec::Matrix4& matrix);
    void setIdentityTransform();
    void translate(float x, float y, float z = 0);
    // The window pixels drawn into; by default the whole window.
    void setViewport(const morvec::Rectangle& rect);
    morvec::Rectangle getViewport() const;

    void setBlendMode(BlendMode mode);
    BlendMode getBlendMode() const;

    void drawFilledRect(const morvec::Rectangle& rect, const Color& color);
    // Binds the texture that drawTexturedRect draws from; null binds none.
    void setTexture(Texture* texture);
    Texture* getTexture() const;
    // Draws the bound texture's part src (in 0..1 of its size) into dest, tinted by color, turned
    // by angle degrees about dest's centre (a positive angle turns counter-clockwise on screen) and
    // mirrored by flip. Loads the texture when it is not loaded; nothing is drawn without one.
    void drawTexturedRect(const morvec::Rectangle& dest, const morvec::Rectangle& src,
                          const Color& color = Color::White, float angle = 0, int flip = FLIP_NONE);
    // Binds texture and draws its part source, given in texture pixels, as drawTexturedRect does.
    void drawTexture(Texture* texture, const morvec::Rectangle& source, const morvec::Rectangle& dest,
                     const Color& color = Color::White, float angle = 0, int flip = FLIP_NONE);

    // A texture from an image file (PNG, JPEG, TGA, BMP). A missing or broken file logs one error
    // naming it and gives a transparent 1 x 1 picture; callers that need a hard error check that
    // the file exists first. loadNow false leaves the pixels to the first draw or load().
    Texture* createTextureFromResource(const vessot::String& path, Texture::Type type = Texture::TYPE_MANAGED,
                                       bool loadNow = true);
    // A texture of w x h pixels filled with color. A size below 1 throws vessot::exception.
    Texture* createTexture(int w, int h, const Color& color = Color::Clear, ImageFormat format = FORMAT_RGBA,
                           Texture::Type type = Texture::TYPE_MANAGED);
    // The layout in which texture data of the given format is written: FORMAT_RGBA and FORMAT_RGBX
    // are taken as they are; anything else as FORMAT_RGBA.
    virtual ImageFormat getNativeTextureFormat(ImageFormat format) const;

    // What the window shows now (everything drawn so far), read back as RGBA pixels.
    Image captureScreen();
    // The same, written as PNG; a failure throws vessot::exception naming the file.
    void saveScreenshot(const vessot::String& path);

private:
    friend struct RenderAccess;
    explicit RenderSystem(const Options& options);
    struct State;
    std::unique_ptr<State> state;
};

} // namespace nimbo
