#include "nimbo/RenderSystem.h"

#include "nimbo/Internals.h"
#include "nimbo/Settings.h"
#include "vessot/Exception.h"
#include "vessot/Log.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace nimbo {

using morvec::Matrix4;
using morvec::Rectangle;
using morvec::Vector2;

namespace {

const SDL_BlendMode subtractMode =
    SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_SRC_ALPHA, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_REV_SUBTRACT,
                               SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);

// Whether the renderer takes the custom subtracting blend mode.
bool rendererCanSubtract(SDL_Renderer* renderer) {
    SDL_Texture* probe = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, 1, 1);
    bool ok = probe && SDL_SetTextureBlendMode(probe, subtractMode) == 0;
    SDL_DestroyTexture(probe);
    return ok;
}

// The determinant of a matrix's linear part in the plane: negative when it mirrors.
float det(const Matrix4& m) {
    return m.at(0, 0) * m.at(1, 1) - m.at(0, 1) * m.at(1, 0);
}

// How far apart two texture points sampled for one pixel may lie, in texels, and still draw it
// alike: filtered between texels, the pixel's colour moves by less than one step of 8 bits.
constexpr float SAME_SAMPLE = 1.0f / 256;

// The span of the pixels whose centres lie between the edges a and b, sampling the texture
// coordinate ta at a and tb at b (in 0..1 of texels).
PixelSpan pixelSpan(float a, float b, float ta, float tb, float texels) {
    PixelSpan span;
    span.first = (int)std::ceil(std::min(a, b) - 0.5f);
    span.end = (int)std::ceil(std::max(a, b) - 0.5f);
    if (span.end > span.first) {
        span.step = (tb - ta) * texels / (b - a);
        span.texel = ta * texels + ((float)span.first + 0.5f - a) * span.step;
    }
    return span;
}

bool sameVertices(const FrameRecord& a, size_t first, const FrameRecord& b, size_t otherFirst, size_t count) {
    // SDL_Vertex is floats and bytes without padding: equal bytes draw equal pixels.
    return count == 0 || std::memcmp(&a.vertices[first], &b.vertices[otherFirst], count * sizeof(SDL_Vertex)) == 0;
}

bool sameQuad(const FrameRecord& a, const QuadPicture& p, const FrameRecord& b, const QuadPicture& q) {
    if (p.upright != q.upright || p.vertexCount != q.vertexCount) {
        return false;
    }
    if (!p.upright) {
        return sameVertices(a, p.firstVertex, b, q.firstVertex, p.vertexCount);
    }
    return p.across == q.across && p.down == q.down && std::memcmp(&p.color, &q.color, sizeof(SDL_Color)) == 0;
}

} // namespace

bool PixelSpan::operator==(const PixelSpan& other) const {
    // The same pixels, each sampling the same texture point at both ends of the span.
    float last = (float)(end - first - 1);
    return first == other.first && end == other.end && std::abs(texel - other.texel) <= SAME_SAMPLE &&
           std::abs(texel + step * last - other.texel - other.step * last) <= SAME_SAMPLE;
}

void FrameRecord::clear() {
    commands.clear();
    vertices.clear();
    indices.clear();
    quads.clear();
}

bool FrameRecord::operator==(const FrameRecord& other) const {
    if (commands != other.commands || indices != other.indices || quads.size() != other.quads.size()) {
        return false;
    }
    for (size_t i = 0; i < quads.size(); ++i) {
        if (!sameQuad(*this, quads[i], other, other.quads[i])) {
            return false;
        }
    }
    return true;
}

void RenderSystem::State::attach(SDL_Window* window) {
    Uint32 flags = Settings::isHeadless() ? SDL_RENDERER_SOFTWARE
                                          : SDL_RENDERER_ACCELERATED | (options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    renderer = SDL_CreateRenderer(window, -1, flags);
    if (!renderer && flags != SDL_RENDERER_SOFTWARE) {
        vessot::Log::write("nimbo",
                           vessot::String("No accelerated renderer (") + SDL_GetError() + "); drawing in software");
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!renderer) {
        VESSOT_THROW(vessot::String("Unable to create the renderer: ") + SDL_GetError());
    }
    canSubtract = rendererCanSubtract(renderer);
    // Filled quads are drawn from a white pixel: untextured geometry ignores the blend mode in
    // SDL's software renderer.
    white = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, 1, 1);
    const Uint32 opaqueWhite = 0xFFFFFFFF;
    SDL_UpdateTexture(white, nullptr, &opaqueWhite, 4);
    startFrame();
}

void RenderSystem::State::setSdlViewport(const std::optional<Rectangle>& rect) {
    if (rect) {
        SDL_Rect r{(int)rect->x, (int)rect->y, (int)rect->w, (int)rect->h};
        SDL_RenderSetViewport(renderer, &r);
    } else {
        SDL_RenderSetViewport(renderer, nullptr);
    }
}

void RenderSystem::State::invalidate() {
    stale = true;
    toPixelsDirty = true;
}

void RenderSystem::State::detachTextures() {
    for (Texture* texture : textures) {
        texture->unload();
        RenderAccess::of(*texture).owner = nullptr;
    }
    textures.clear();
    bound = nullptr;
}

void RenderSystem::State::record(DrawCommand::Kind kind) {
    DrawCommand command;
    command.kind = kind;
    command.viewport = kind == DrawCommand::VIEWPORT ? viewport : std::nullopt;
    frame.commands.push_back(command);
}

// A frame starts with the viewport it inherits, so that it draws alike whatever came before.
void RenderSystem::State::startFrame() {
    frame.clear();
    submitted = 0;
    record(DrawCommand::VIEWPORT);
}

void RenderSystem::State::submit() {
    for (; submitted < frame.commands.size(); ++submitted) {
        const DrawCommand& c = frame.commands[submitted];
        switch (c.kind) {
        case DrawCommand::VIEWPORT:
            setSdlViewport(c.viewport);
            break;
        case DrawCommand::CLEAR:
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
            break;
        case DrawCommand::GEOMETRY:
            SDL_SetTextureBlendMode(c.texture, c.blend);
            SDL_RenderGeometry(renderer, c.texture, &frame.vertices[c.firstVertex], c.vertexCount,
                               &frame.indices[c.firstIndex], c.indexCount);
            break;
        }
    }
}

void RenderSystem::State::submitUsing(SDL_Texture* texture) {
    for (size_t i = submitted; i < frame.commands.size(); ++i) {
        if (frame.commands[i].kind == DrawCommand::GEOMETRY && frame.commands[i].texture == texture) {
            submit();
            return;
        }
    }
}

Vector2 RenderSystem::State::outputSize() const {
    int w = 0;
    int h = 0;
    if (renderer) {
        SDL_GetRendererOutputSize(renderer, &w, &h);
    }
    return {(float)w, (float)h};
}

bool RenderSystem::State::hasVsync() const {
    SDL_RendererInfo info;
    return renderer && SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
}

void RenderSystem::State::updateToPixels() {
    // Normalised device coordinates (-1..1, y up) to pixels of the viewport (y down).
    Vector2 size = viewport ? Vector2(viewport->w, viewport->h) : outputSize();
    Matrix4 ndcToPixels;
    ndcToPixels.at(0, 0) = size.x / 2;
    ndcToPixels.at(0, 3) = size.x / 2;
    ndcToPixels.at(1, 1) = -size.y / 2;
    ndcToPixels.at(1, 3) = size.y / 2;
    toPixels = ndcToPixels * projection * modelview;
    toPixelsDirty = false;
}

SDL_BlendMode RenderSystem::State::sdlBlendMode() {
    switch (blend) {
    case BM_ADD:
        return SDL_BLENDMODE_ADD;
    case BM_SUBTRACT:
        if (canSubtract) {
            return subtractMode;
        }
        if (!subtractLogged) {
            vessot::Log::write("nimbo", "The renderer cannot subtract; blend mode 'substract' draws as 'modulate'");
            subtractLogged = true;
        }
        return SDL_BLENDMODE_MOD;
    case BM_OVERWRITE:
        return SDL_BLENDMODE_NONE;
    default:
        return SDL_BLENDMODE_BLEND;
    }
}

void RenderSystem::State::addQuad(const Rectangle& dest, const Rectangle& src, const Color& color, float angle,
                                  int flip, SDL_Texture* texture, uint64_t content, const Vector2& texels) {
    if (!renderer) {
        return;
    }
    // Quads join the last command while it draws the same pixels alike and is not submitted yet.
    SDL_BlendMode mode = sdlBlendMode();
    DrawCommand* batch = frame.commands.size() > submitted ? &frame.commands.back() : nullptr;
    if (!batch || batch->kind != DrawCommand::GEOMETRY || batch->texture != texture || batch->content != content ||
        batch->blend != mode) {
        DrawCommand next;
        next.kind = DrawCommand::GEOMETRY;
        next.texture = texture;
        next.content = content;
        next.blend = mode;
        next.firstVertex = frame.vertices.size();
        next.firstIndex = frame.indices.size();
        batch = &frame.commands.emplace_back(next);
    }
    if (toPixelsDirty) {
        updateToPixels();
    }
    // Corner offsets from the centre: top left, top right, bottom right, bottom left.
    float hx = dest.w / 2;
    float hy = dest.h / 2;
    Vector2 corners[4] = {{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}};
    if (angle != 0) {
        // Counter-clockwise on screen: the sense of the turn depends on whether the model's y axis
        // runs down the screen (a positive determinant of the mapping to pixels) or up it.
        float a = angle * std::numbers::pi_v<float> / 180.0f;
        float c = std::cos(a);
        float s = std::sin(a);
        if (det(toPixels) < 0) {
            s = -s;
        }
        for (Vector2& p : corners) {
            p = {p.x * c + p.y * s, -p.x * s + p.y * c};
        }
    }
    float u0 = src.x, u1 = src.x + src.w, v0 = src.y, v1 = src.y + src.h;
    if (flip & FLIP_HORIZONTAL) {
        std::swap(u0, u1);
    }
    if (flip & FLIP_VERTICAL) {
        std::swap(v0, v1);
    }
    const float uv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    Vector2 centre = dest.getCenter();
    std::vector<SDL_Vertex>& vertices = frame.vertices;
    size_t first = vertices.size();
    int base = batch->vertexCount;
    for (int i = 0; i < 4; ++i) {
        Vector2 p = toPixels.transformPoint(centre + corners[i]);
        vertices.push_back({{p.x, p.y}, {color.r, color.g, color.b, color.a}, {uv[i][0], uv[i][1]}});
    }
    static constexpr int sharedEdge[6] = {0, 1, 2, 0, 2, 3};
    static constexpr int apart[6] = {0, 1, 2, 4, 5, 3};
    const int* order = sharedEdge;
    if (angle != 0) {
        // A turned quad's triangles share no vertex: SDL's software renderer takes two triangles
        // sharing an edge for a rectangle copy, which loses a quarter turn of the picture.
        SDL_Vertex firstCorner = vertices[first];
        SDL_Vertex thirdCorner = vertices[first + 2];
        vertices.push_back(firstCorner);
        vertices.push_back(thirdCorner);
        order = apart;
    }
    for (int i = 0; i < 6; ++i) {
        frame.indices.push_back(base + order[i]);
    }
    batch->vertexCount += (int)(vertices.size() - first);
    batch->indexCount += 6;
    recordPicture(first, texels);
}

void RenderSystem::State::recordPicture(size_t first, const Vector2& texels) {
    QuadPicture& picture = frame.quads.emplace_back();
    picture.firstVertex = first;
    picture.vertexCount = frame.vertices.size() - first;
    // Corners top left, top right, bottom right, bottom left; an upright quad has four.
    const SDL_Vertex* v = &frame.vertices[first];
    picture.upright = picture.vertexCount == 4 && v[0].position.y == v[1].position.y &&
                      v[2].position.y == v[3].position.y && v[0].position.x == v[3].position.x &&
                      v[1].position.x == v[2].position.x;
    if (picture.upright) {
        picture.across = pixelSpan(v[0].position.x, v[1].position.x, v[0].tex_coord.x, v[1].tex_coord.x, texels.x);
        picture.down = pixelSpan(v[0].position.y, v[3].position.y, v[0].tex_coord.y, v[3].tex_coord.y, texels.y);
        picture.color = v[0].color;
    }
}

RenderSystem::RenderSystem(const Options& options) : state(std::make_unique<State>()) {
    state->options = options;
}

RenderSystem::~RenderSystem() {
    state->detachTextures();
    if (state->renderer) {
        SDL_DestroyTexture(state->white);
        SDL_DestroyRenderer(state->renderer);
    }
}

void RenderSystem::clear(bool color, bool /*depth*/) {
    if (!state->renderer || !color) {
        return;
    }
    state->record(DrawCommand::CLEAR);
}

void RenderSystem::presentFrame() {
    if (!state->renderer) {
        return;
    }
    State& s = *state;
    s.presented = s.stale || s.submitted > 0 || !(s.frame == s.shown);
    if (s.presented) {
        s.submit();
        SDL_RenderPresent(s.renderer);
        s.stale = false;
        std::swap(s.frame, s.shown);
    }
    s.startFrame();
    endSdlMemoryFrame();
}

void RenderSystem::redrawNextFrame() {
    state->stale = true;
}

void RenderSystem::setOrthoProjection(const Rectangle& r) {
    setProjectionMatrix(Matrix4::orthographic(-r.x, r.w - r.x, r.h - r.y, -r.y));
}

void RenderSystem::setOrthoProjection(const Vector2& size) {
    setProjectionMatrix(Matrix4::orthographic(0, size.x, size.y, 0));
}

const Matrix4& RenderSystem::getProjectionMatrix() const {
    return state->projection;
}

void RenderSystem::setProjectionMatrix(const Matrix4& matrix) {
    state->projection = matrix;
    state->toPixelsDirty = true;
}

const Matrix4& RenderSystem::getModelviewMatrix() const {
    return state->modelview;
}

void RenderSystem::setModelviewMatrix(const Matrix4& matrix) {
    state->modelview = matrix;
    state->toPixelsDirty = true;
}

void RenderSystem::setIdentityTransform() {
    setModelviewMatrix(Matrix4());
}

void RenderSystem::translate(float x, float y, float z) {
    state->modelview.translate(x, y, z);
    state->toPixelsDirty = true;
}

void RenderSystem::setViewport(const Rectangle& rect) {
    state->viewport = rect;
    state->toPixelsDirty = true;
    state->record(DrawCommand::VIEWPORT);
}

Rectangle RenderSystem::getViewport() const {
    if (state->viewport) {
        return *state->viewport;
    }
    Vector2 size = state->outputSize();
    return {0, 0, size.x, size.y};
}

void RenderSystem::setBlendMode(BlendMode mode) {
    state->blend = mode;
}
BlendMode RenderSystem::getBlendMode() const {
    return state->blend;
}

void RenderSystem::drawFilledRect(const Rectangle& rect, const Color& color) {
    state->addQuad(rect, {0, 0, 1, 1}, color, 0, FLIP_NONE, state->white, 0, {1, 1});
}

void RenderSystem::setTexture(Texture* texture) {
    state->bound = texture;
}
Texture* RenderSystem::getTexture() const {
    return state->bound;
}

void RenderSystem::drawTexturedRect(const Rectangle& dest, const Rectangle& src, const Color& color, float angle,
                                    int flip) {
    Texture* texture = state->bound;
    if (!texture || !texture->load()) {
        return;
    }
    const RenderAccess::TextureState& t = RenderAccess::of(*texture);
    state->addQuad(dest, src, color, angle, flip, t.native, t.content, Vector2((float)t.width, (float)t.height));
}

void RenderSystem::drawTexture(Texture* texture, const Rectangle& source, const Rectangle& dest, const Color& color,
                               float angle, int flip) {
    setTexture(texture);
    if (!texture) {
        return;
    }
    float w = (float)texture->getWidth();
    float h = (float)texture->getHeight();
    drawTexturedRect(dest, {source.x / w, source.y / h, source.w / w, source.h / h}, color, angle, flip);
}

Texture* RenderSystem::createTextureFromResource(const vessot::String& path, Texture::Type type, bool loadNow) {
    auto s = std::make_unique<RenderAccess::TextureState>();
    s->owner = this;
    s->filename = path;
    s->fromFile = true;
    s->type = type;
    Texture* texture = RenderAccess::makeTexture(std::move(s));
    state->textures.insert(texture);
    if (loadNow) {
        texture->load();
    }
    return texture;
}

Texture* RenderSystem::createTexture(int w, int h, const Color& color, ImageFormat format, Texture::Type type) {
    if (w < 1 || h < 1) {
        VESSOT_THROW("Texture size must be positive, not " + vessot::String(w) + "x" + vessot::String(h));
    }
    auto s = std::make_unique<RenderAccess::TextureState>();
    s->owner = this;
    s->filename = "nimbo:texture:" + vessot::String(++state->madeUpNames);
    s->type = type;
    s->format = getNativeTextureFormat(format);
    s->width = w;
    s->height = h;
    s->fill = color;
    Texture* texture = RenderAccess::makeTexture(std::move(s));
    state->textures.insert(texture);
    texture->load();
    return texture;
}

ImageFormat RenderSystem::getNativeTextureFormat(ImageFormat format) const {
    return format == FORMAT_RGBX ? FORMAT_RGBX : FORMAT_RGBA;
}

Image RenderSystem::captureScreen() {
    if (!state->renderer) {
        return Image();
    }
    state->submit();
    Vector2 size = state->outputSize();
    Image image((int)size.x, (int)size.y);
    // Reading follows the viewport; read the whole window.
    SDL_RenderSetViewport(state->renderer, nullptr);
    SDL_RenderReadPixels(state->renderer, nullptr, SDL_PIXELFORMAT_RGBA32, image.data(), image.getWidth() * 4);
    state->setSdlViewport(state->viewport);
    return image;
}

void RenderSystem::saveScreenshot(const vessot::String& path) {
    captureScreen().savePng(path);
}

} // namespace nimbo
