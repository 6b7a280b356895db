// A full 640 x 1136 pixel frame of a busy screen: a navigation bar with a title, a table of 12 rows (an
// icon, a title and a detail line, a separator) and a rounded, shadowed overlay with a message. "ours" builds
// it as views and renders it as the hosts do, every text view redrawn each frame; "cairo" draws the same
// picture with cairo and pango calls straight onto the surface, keeping what a well-written drawing loop keeps
// between frames (its shaped texts and its blurred shadow mask) as ours keeps its own.
#include "gfx/drawing/CurrentContext.h"
#include "ui/layer/Layer.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <cmath>
#include <memory>
#include <numbers>
#include <pango/pangocairo.h>
#include <string>
#include <vector>

namespace {

constexpr double width = 320;
constexpr double height = 568;
constexpr double scale = 2;
constexpr int rows = 12;
constexpr double rowHeight = 44;
constexpr double top = 64;
const gfx::Rect overlay { 60, 220, 200, 120 };

std::string rowTitle(int i) { return "Watch " + std::to_string(i + 1) + " 手表"; }
std::string rowDetail(int i) { return "Last seen " + std::to_string(i + 2) + " min ago, battery 80%"; }

// The row icon: a filled circle on a 30-point square, at the screen's scale.
std::shared_ptr<gfx::Image> makeIcon()
{
    auto context = gfx::Context::makeBitmap({ 30, 30 }, scale);
    context->setFillColor(gfx::Color::rgb(0.2, 0.6, 0.9));
    context->fillEllipse({ 1, 1, 28, 28 });
    return context->makeImage();
}

class TextView : public ui::View {
public:
    TextView(const gfx::Rect& frame, std::string text, gfx::TextAttributes attributes)
        : ui::View(frame)
        , m_text(std::move(text), attributes)
    {
    }
    void drawRect(const gfx::Rect& rect) override { gfx::CurrentContext::get()->drawText(m_text, rect); }

private:
    gfx::AttributedString m_text;
};

gfx::TextAttributes attributes(gfx::Font font, gfx::Color color)
{
    gfx::TextAttributes a;
    a.font = font;
    a.color = color;
    return a;
}

struct ViewScene {
    std::shared_ptr<ui::Window> window;
    std::vector<std::shared_ptr<ui::View>> texts;

    ViewScene()
    {
        ui::Screen::main().setBounds({ 0, 0, width, height });
        ui::Screen::main().setScale(scale);
        window = std::make_shared<ui::Window>();
        window->setBackgroundColor(gfx::Color::white());
        auto bar = std::make_shared<ui::View>(gfx::Rect(0, 0, width, top));
        bar->setBackgroundColor(gfx::Color::fromWhite(0.97, 1));
        window->addSubview(bar);
        addText(bar, { 0, 30, width, 24 }, "Devices 设备", attributes(gfx::Font::boldSystem(17), gfx::Color::black()));
        auto icon = makeIcon();
        for (int i = 0; i < rows; ++i) {
            auto row = std::make_shared<ui::View>(gfx::Rect(0, top + i * rowHeight, width, rowHeight));
            row->setBackgroundColor(gfx::Color::white());
            window->addSubview(row);
            auto image = std::make_shared<ui::View>(gfx::Rect(10, 7, 30, 30));
            image->layer()->setContents(icon);
            image->layer()->setContentsScale(scale);
            row->addSubview(image);
            addText(row, { 50, 4, 260, 20 }, rowTitle(i), attributes(gfx::Font::system(16), gfx::Color::black()));
            addText(row, { 50, 24, 260, 16 }, rowDetail(i), attributes(gfx::Font::system(12), gfx::Color::gray()));
            auto separator = std::make_shared<ui::View>(gfx::Rect(50, rowHeight - 0.5, width - 50, 0.5));
            separator->setBackgroundColor(gfx::Color::lightGray());
            row->addSubview(separator);
        }
        auto box = std::make_shared<ui::View>(overlay);
        box->setBackgroundColor(gfx::Color::black().withAlpha(0.8));
        box->layer()->setCornerRadius(10);
        box->layer()->setShadowOpacity(0.5f);
        box->layer()->setShadowRadius(8);
        box->layer()->setShadowOffset({ 0, 3 });
        window->addSubview(box);
        addText(box, { 0, 48, 200, 24 }, "Loading… 加载中", attributes(gfx::Font::boldSystem(16), gfx::Color::white()));
        window->makeKeyAndVisible();
    }

    void addText(
        const std::shared_ptr<ui::View>& parent, const gfx::Rect& frame, std::string text, gfx::TextAttributes a)
    {
        auto view = std::make_shared<TextView>(frame, std::move(text), a);
        parent->addSubview(view);
        texts.push_back(view);
    }
};

void frameOurs(benchmark::State& state)
{
    ViewScene scene;
    auto context = gfx::Context::makeBitmap({ width, height }, scale, true);
    for (auto _ : state) {
        for (const auto& text : scene.texts)
            text->setNeedsDisplay();
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

// The cairo side.

// A text shaped once and drawn every frame.
class ShapedText {
public:
    ShapedText(cairo_t* cr, const std::string& text, double size, bool bold)
        : m_layout(pango_cairo_create_layout(cr))
    {
        PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans,WenQuanYi Micro Hei");
        pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
        if (bold)
            pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
        pango_layout_set_font_description(m_layout, font);
        pango_layout_set_text(m_layout, text.c_str(), -1);
        pango_font_description_free(font);
    }
    ~ShapedText() { g_object_unref(m_layout); }
    ShapedText(const ShapedText&) = delete;
    ShapedText& operator=(const ShapedText&) = delete;

    void draw(cairo_t* cr, double x, double y, double grey, double alpha = 1) const
    {
        cairo_set_source_rgba(cr, grey, grey, grey, alpha);
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, m_layout);
    }

private:
    PangoLayout* m_layout;
};

void roundedRect(cairo_t* cr, const gfx::Rect& r, double radius)
{
    double x = r.minX(), y = r.minY(), w = r.width(), h = r.height();
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -std::numbers::pi / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, std::numbers::pi / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(cr, x + radius, y + radius, radius, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(cr);
}

// One pass of a box average of 2 * radius + 1 samples along a line, edges extended, with a running sum.
void boxLine(unsigned char* first, int count, int step, int radius, std::vector<unsigned char>& line)
{
    for (int i = 0; i < count; ++i)
        line[i] = first[i * step];
    int window = 2 * radius + 1;
    int sum = 0;
    for (int k = -radius; k <= radius; ++k)
        sum += line[std::clamp(k, 0, count - 1)];
    for (int i = 0; i < count; ++i) {
        first[i * step] = static_cast<unsigned char>((sum + window / 2) / window);
        sum += line[std::min(i + radius + 1, count - 1)] - line[std::max(i - radius, 0)];
    }
}

// Three passes of a horizontal and vertical box blur over an 8-bit mask: close to a Gaussian.
void blur(cairo_surface_t* mask, int radius)
{
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    int w = cairo_image_surface_get_width(mask), h = cairo_image_surface_get_height(mask);
    int stride = cairo_image_surface_get_stride(mask);
    std::vector<unsigned char> line(std::max(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            boxLine(data + y * stride, w, 1, radius, line);
        for (int x = 0; x < w; ++x)
            boxLine(data + x, h, stride, radius, line);
    }
    cairo_surface_mark_dirty(mask);
}

void frameCairo(benchmark::State& state)
{
    int pixelWidth = static_cast<int>(width * scale), pixelHeight = static_cast<int>(height * scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth, pixelHeight);
    auto iconImage = makeIcon();
    cairo_surface_t* icon = iconImage->cairoSurface();

    // The overlay's shadow: its outline blurred once in a mask, then only composited each frame.
    int margin = 60;
    cairo_surface_t* shadow
        = cairo_image_surface_create(CAIRO_FORMAT_A8, static_cast<int>(overlay.width() * scale) + 2 * margin,
            static_cast<int>(overlay.height() * scale) + 2 * margin);
    cairo_t* maskContext = cairo_create(shadow);
    cairo_translate(maskContext, margin, margin);
    cairo_scale(maskContext, scale, scale);
    roundedRect(maskContext, { 0, 0, overlay.width(), overlay.height() }, 10);
    cairo_set_source_rgba(maskContext, 0, 0, 0, 0.8);
    cairo_fill(maskContext);
    cairo_destroy(maskContext);
    // A shadow radius of 8 points at scale 2: boxes of 31 pixels.
    blur(shadow, 15);

    // Every text shaped once, on a context with the frame's transform.
    cairo_t* shaping = cairo_create(surface);
    cairo_scale(shaping, scale, scale);
    ShapedText title(shaping, "Devices 设备", 17, true);
    std::vector<std::unique_ptr<ShapedText>> titles, details;
    for (int i = 0; i < rows; ++i) {
        titles.push_back(std::make_unique<ShapedText>(shaping, rowTitle(i), 16, false));
        details.push_back(std::make_unique<ShapedText>(shaping, rowDetail(i), 12, false));
    }
    ShapedText message(shaping, "Loading… 加载中", 16, true);
    cairo_destroy(shaping);

    for (auto _ : state) {
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, scale, scale);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
        cairo_rectangle(cr, 0, 0, width, top);
        cairo_fill(cr);
        title.draw(cr, 0, 30, 0);
        for (int i = 0; i < rows; ++i) {
            double y = top + i * rowHeight;
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_rectangle(cr, 0, y, width, rowHeight);
            cairo_fill(cr);
            cairo_save(cr);
            cairo_translate(cr, 10, y + 7);
            cairo_scale(cr, 1 / scale, 1 / scale);
            cairo_set_source_surface(cr, icon, 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
            titles[i]->draw(cr, 50, y + 4, 0);
            details[i]->draw(cr, 50, y + 24, 0.5);
            cairo_set_source_rgb(cr, 2.0 / 3, 2.0 / 3, 2.0 / 3);
            cairo_rectangle(cr, 50, y + rowHeight - 0.5, width - 50, 0.5);
            cairo_fill(cr);
        }
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
        cairo_mask_surface(cr, shadow, overlay.minX() * scale - margin, (overlay.minY() + 3) * scale - margin);
        cairo_restore(cr);
        roundedRect(cr, overlay, 10);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
        cairo_fill(cr);
        message.draw(cr, overlay.minX(), overlay.minY() + 48, 1);
        // The status strip the screen renderer draws over the top.
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, 0, 0, width, 20);
        cairo_fill(cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    cairo_surface_destroy(shadow);
    cairo_surface_destroy(surface);
    state.SetItemsProcessed(state.iterations());
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/busy", frameOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/cairo/busy", frameCairo)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
