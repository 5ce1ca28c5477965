#include "platform/canvas.h"

#include <cairo.h>

#include <algorithm>
#include <charconv>
#include <string>

namespace vantor {
namespace {

constexpr int64_t kMaxSide = 32767;  // cairo's own limit for image surfaces

uint32_t Premultiply(uint32_t argb) {
    uint32_t a = argb >> 24;
    if (a == 255) return argb;
    if (a == 0) return 0;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

uint32_t Unpremultiply(uint32_t argb) {
    uint32_t a = argb >> 24;
    if (a == 255) return argb;
    if (a == 0) return 0;
    auto scale = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
           scale(argb & 0xFF);
}

uint32_t* Row(const Canvas& canvas, int y) {
    unsigned char* data = cairo_image_surface_get_data(canvas.surface.get());
    int stride = cairo_image_surface_get_stride(canvas.surface.get());
    return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
}

CairoContext NewContext(const Canvas& canvas) {
    if (!canvas) return nullptr;
    CairoContext context(cairo_create(canvas.surface.get()));
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return context;
}

void SetSource(cairo_t* context, CanvasColor color) {
    cairo_set_source_rgba(context, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
}

// One parsed command of a path string.
struct PathStep {
    char command;  // 'M', 'l' or 'Z'
    double x = 0;
    double y = 0;
};

bool ParseNumber(std::string_view token, double& value) {
    bool negative = false;
    size_t at = 0;
    while (at < token.size() && (token[at] == '-' || token[at] == '+')) {
        if (token[at] == '-') negative = !negative;
        ++at;
    }
    std::string_view digits = token.substr(at);
    if (digits.empty() || digits.size() > 18) return false;  // no overflow of int64
    int64_t number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    value = static_cast<double>(negative ? -number : number);
    return true;
}

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        tokens.push_back(text.substr(at, end - at));
        at = end;
    }
    return tokens;
}

bool ParsePath(std::string_view text, std::vector<PathStep>& steps) {
    std::vector<std::string_view> tokens = Tokens(text);
    bool hasPoint = false;
    for (size_t i = 0; i < tokens.size();) {
        std::string_view command = tokens[i++];
        if (command == "Z") {
            if (!hasPoint) return false;
            steps.push_back({'Z'});
            continue;
        }
        if (command != "M" && command != "l") return false;
        if (command == "l" && !hasPoint) return false;  // a relative line needs a start
        PathStep step{command[0]};
        if (i + 2 > tokens.size() || !ParseNumber(tokens[i], step.x) ||
            !ParseNumber(tokens[i + 1], step.y))
            return false;
        i += 2;
        hasPoint = true;
        steps.push_back(step);
    }
    return true;
}

}  // namespace

uint8_t OpacityByte(int64_t opacity) { return static_cast<uint8_t>(std::clamp<int64_t>(opacity, 0, 255)); }

void CairoSurfaceDeleter::operator()(cairo_surface_t* surface) const {
    if (surface) cairo_surface_destroy(surface);
}

void CairoContextDeleter::operator()(cairo_t* context) const {
    if (context) cairo_destroy(context);
}

Canvas CreateCanvas(int64_t width, int64_t height) {
    Canvas canvas;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return canvas;
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                                    static_cast<int>(height)));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return canvas;
    canvas.surface = std::move(surface);
    canvas.width = static_cast<int>(width);
    canvas.height = static_cast<int>(height);
    return canvas;  // cairo clears new image surfaces to transparent
}

void FillCanvas(Canvas& canvas, CanvasColor color) {
    CairoContext context = NewContext(canvas);
    if (!context) return;
    cairo_set_operator(context.get(), CAIRO_OPERATOR_SOURCE);
    SetSource(context.get(), color);
    cairo_paint(context.get());
}

void DrawCanvas(Canvas& target, const Canvas& source, int x, int y, int64_t opacity) {
    CairoContext context = NewContext(target);
    if (!context || !source) return;
    cairo_set_source_surface(context.get(), source.surface.get(), x, y);
    cairo_paint_with_alpha(context.get(), OpacityByte(opacity) / 255.0);
}

void CopyCanvas(Canvas& target, const Canvas& source, int64_t opacity, PixelFilter filter) {
    if (!target || !source) return;
    const uint32_t alpha = OpacityByte(opacity);
    cairo_surface_flush(source.surface.get());
    cairo_surface_flush(target.surface.get());
    const int width = std::min(target.width, source.width);
    const int height = std::min(target.height, source.height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* from = Row(source, y);
        uint32_t* to = Row(target, y);
        for (int x = 0; x < width; ++x) {
            uint32_t argb = Unpremultiply(from[x]);
            if (filter) argb = filter(argb);
            uint32_t a = ((argb >> 24) * alpha + 127) / 255;
            to[x] = Premultiply((a << 24) | (argb & 0xFFFFFF));
        }
    }
    cairo_surface_mark_dirty(target.surface.get());
}

std::vector<uint32_t> CanvasPixels(const Canvas& canvas) {
    std::vector<uint32_t> pixels;
    if (!canvas) return pixels;
    cairo_surface_flush(canvas.surface.get());
    pixels.reserve(static_cast<size_t>(canvas.width) * canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        const uint32_t* row = Row(canvas, y);
        for (int x = 0; x < canvas.width; ++x) pixels.push_back(Unpremultiply(row[x]));
    }
    return pixels;
}

Canvas CanvasFromPixels(int width, int height, const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return {};
    Canvas canvas = CreateCanvas(width, height);
    if (!canvas) return canvas;
    for (int y = 0; y < height; ++y) {
        uint32_t* row = Row(canvas, y);
        const uint32_t* from = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) row[x] = Premultiply(from[x]);
    }
    cairo_surface_mark_dirty(canvas.surface.get());
    return canvas;
}

CanvasPainter::CanvasPainter(Canvas& canvas) : mContext(NewContext(canvas)) {}

void CanvasPainter::SetFill(CanvasColor color) {
    if (mContext) SetSource(mContext.get(), color);
}

void CanvasPainter::AddRectangle(double x, double y, double width, double height) {
    if (mContext) cairo_rectangle(mContext.get(), x, y, width, height);
}

bool CanvasPainter::AddPath(std::string_view commands) {
    std::vector<PathStep> steps;
    if (!mContext || !ParsePath(commands, steps)) return false;
    for (const PathStep& step : steps) {
        switch (step.command) {
            case 'M': cairo_move_to(mContext.get(), step.x, step.y); break;
            case 'l': cairo_rel_line_to(mContext.get(), step.x, step.y); break;
            default: cairo_close_path(mContext.get()); break;
        }
    }
    return true;
}

void CanvasPainter::FillPath(bool antialias) {
    if (!mContext) return;
    cairo_set_antialias(mContext.get(), antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_fill(mContext.get());
}

}  // namespace vantor
