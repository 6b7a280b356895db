#include "kit/support/PathCreateRoundedRect.h"

namespace kit {

gfx::Path pathCreateRoundedRect(double x, double y, double width, double height, double bottomLeftRadius,
    double bottomRightRadius, double topRightRadius, double topLeftRadius)
{
    gfx::Path path;
    path.moveTo({ x + topLeftRadius, y });
    path.addArcToPoint({ x + width, y }, { x + width, y + topRightRadius }, topRightRadius);
    path.addArcToPoint({ x + width, y + height }, { x + width - bottomRightRadius, y + height }, bottomRightRadius);
    path.addArcToPoint({ x, y + height }, { x, y + height - bottomLeftRadius }, bottomLeftRadius);
    path.addArcToPoint({ x, y }, { x + topLeftRadius, y }, topLeftRadius);
    path.close();
    return path;
}

} // namespace kit
