#include "gfx/geometry/Transform3D.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace gfx {

namespace {

    using Matrix = std::array<std::array<double, 4>, 4>;

    Matrix toMatrix(const Transform3D& t)
    {
        return { { { t.m11, t.m12, t.m13, t.m14 }, { t.m21, t.m22, t.m23, t.m24 }, { t.m31, t.m32, t.m33, t.m34 },
            { t.m41, t.m42, t.m43, t.m44 } } };
    }

    Transform3D fromMatrix(const Matrix& m)
    {
        return { m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3], m[2][0], m[2][1], m[2][2],
            m[2][3], m[3][0], m[3][1], m[3][2], m[3][3] };
    }

} // namespace

Transform3D Transform3D::makeTranslation(double tx, double ty, double tz)
{
    Transform3D t;
    t.m41 = tx;
    t.m42 = ty;
    t.m43 = tz;
    return t;
}

Transform3D Transform3D::makeScale(double sx, double sy, double sz)
{
    Transform3D t;
    t.m11 = sx;
    t.m22 = sy;
    t.m33 = sz;
    return t;
}

Transform3D Transform3D::makeRotation(double angle, double x, double y, double z)
{
    double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0)
        return identity();
    x /= length;
    y /= length;
    z /= length;
    double s = std::sin(angle);
    double c = std::cos(angle);
    double k = 1 - c;
    Transform3D t;
    t.m11 = c + k * x * x;
    t.m12 = k * x * y + s * z;
    t.m13 = k * x * z - s * y;
    t.m21 = k * x * y - s * z;
    t.m22 = c + k * y * y;
    t.m23 = k * y * z + s * x;
    t.m31 = k * x * z + s * y;
    t.m32 = k * y * z - s * x;
    t.m33 = c + k * z * z;
    return t;
}

Transform3D Transform3D::makeAffine(const AffineTransform& a)
{
    Transform3D t;
    t.m11 = a.a;
    t.m12 = a.b;
    t.m21 = a.c;
    t.m22 = a.d;
    t.m41 = a.tx;
    t.m42 = a.ty;
    return t;
}

Transform3D Transform3D::concat(const Transform3D& first, const Transform3D& then)
{
    Matrix a = toMatrix(first);
    Matrix b = toMatrix(then);
    Matrix r {};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r[i][j] += a[i][k] * b[k][j];
    return fromMatrix(r);
}

bool Transform3D::isAffine() const
{
    return m13 == 0 && m14 == 0 && m23 == 0 && m24 == 0 && m31 == 0 && m32 == 0 && m33 == 1 && m34 == 0 && m43 == 0
        && m44 == 1;
}

std::optional<Transform3D> Transform3D::inverted() const
{
    // Gauss-Jordan elimination with partial pivoting.
    Matrix m = toMatrix(*this);
    Matrix inv = toMatrix(identity());
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::abs(m[row][col]) > std::abs(m[pivot][col]))
                pivot = row;
        if (m[pivot][col] == 0 || !std::isfinite(m[pivot][col]))
            return std::nullopt;
        std::swap(m[col], m[pivot]);
        std::swap(inv[col], inv[pivot]);
        double scale = 1 / m[col][col];
        for (int j = 0; j < 4; ++j) {
            m[col][j] *= scale;
            inv[col][j] *= scale;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == col || m[row][col] == 0)
                continue;
            double factor = m[row][col];
            for (int j = 0; j < 4; ++j) {
                m[row][j] -= factor * m[col][j];
                inv[row][j] -= factor * inv[col][j];
            }
        }
    }
    return fromMatrix(inv);
}

Point Transform3D::apply(Point p) const
{
    double x = p.x * m11 + p.y * m21 + m41;
    double y = p.x * m12 + p.y * m22 + m42;
    double w = p.x * m14 + p.y * m24 + m44;
    if (w == 0) {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        return { infinity, infinity };
    }
    return { x / w, y / w };
}

} // namespace gfx
