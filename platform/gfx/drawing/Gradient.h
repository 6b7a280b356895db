// gfx::Gradient: colour stops (location 0..1, colour) in device RGB, drawn by Context::drawLinearGradient
// and drawRadialGradient. A value, any thread.
//
//   gfx::Gradient veil({ { 0, gfx::Color::black().withAlpha(0) }, { 1, gfx::Color::black().withAlpha(0.75) } });
//   context.drawRadialGradient(veil, c, 0, c, r, gfx::Gradient::DrawsAfterEndLocation);
#pragma once

#include "gfx/drawing/Color.h"

#include <vector>

namespace gfx {

class Gradient {
public:
    struct Stop {
        double location;
        Color color;
    };
    // What is painted beyond the end points (bit set); with neither, nothing is painted outside them.
    enum Options : unsigned { DrawsBeforeStartLocation = 1, DrawsAfterEndLocation = 2 };

    explicit Gradient(std::vector<Stop> stops)
        : m_stops(std::move(stops))
    {
    }
    // Colours spread evenly from location 0 to 1.
    static Gradient evenlySpaced(const std::vector<Color>& colors)
    {
        std::vector<Stop> stops;
        for (size_t i = 0; i < colors.size(); ++i)
            stops.push_back({ colors.size() > 1 ? static_cast<double>(i) / (colors.size() - 1) : 0, colors[i] });
        return Gradient(std::move(stops));
    }

    const std::vector<Stop>& stops() const { return m_stops; }

private:
    std::vector<Stop> m_stops;
};

} // namespace gfx
