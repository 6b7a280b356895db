// The line-drawing choices of gfx::Context (and of shape layers): joins, caps and blend modes.
#pragma once

namespace gfx {

enum class LineJoin { Miter, Round, Bevel };
enum class LineCap { Butt, Round, Square };
// Normal paints over what is there; Clear erases the painted area to transparent (cut-outs).
enum class BlendMode { Normal, Clear };

} // namespace gfx
