#include "scene/math/Matrix4.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace zelvane {

Matrix4::Matrix4() : m_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

Matrix4 Matrix4::Translation(double x, double y, double z)
{
    Matrix4 t;
    t.m_[12] = x;
    t.m_[13] = y;
    t.m_[14] = z;
    return t;
}

Matrix4 Matrix4::Rotation(double degrees, double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0)
        return {};
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double k = 1.0 - c;
    return Matrix4({x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0,
                    x * y * k - z * s, y * y * k + c, y * z * k + x * s, 0,
                    x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0,
                    0, 0, 0, 1});
}

Matrix4 Matrix4::Scaling(double x, double y, double z)
{
    Matrix4 s;
    s.m_[0] = x;
    s.m_[5] = y;
    s.m_[10] = z;
    return s;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    Matrix4 product;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += (*this)[k * 4 + row] * other[column * 4 + k];
            product[column * 4 + row] = sum;
        }
    return product;
}

bool Matrix4::Invert()
{
    // Rows of [A | I] in row-major form; A is read from the column-major array.
    double work[4][8];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            work[row][column] = m_[static_cast<std::size_t>(column * 4 + row)];
            work[row][column + 4] = row == column ? 1.0 : 0.0;
        }
    for (int pivotColumn = 0; pivotColumn < 4; ++pivotColumn) {
        int pivotRow = pivotColumn;
        for (int row = pivotColumn + 1; row < 4; ++row)
            if (std::fabs(work[row][pivotColumn]) > std::fabs(work[pivotRow][pivotColumn]))
                pivotRow = row;
        if (work[pivotRow][pivotColumn] == 0.0)
            return false;
        if (pivotRow != pivotColumn)
            std::swap(work[pivotRow], work[pivotColumn]);
        const double pivot = work[pivotColumn][pivotColumn];
        for (double& value : work[pivotColumn])
            value /= pivot;
        for (int row = 0; row < 4; ++row) {
            if (row == pivotColumn)
                continue;
            const double factor = work[row][pivotColumn];
            if (factor == 0.0)
                continue;
            for (int column = 0; column < 8; ++column)
                work[row][column] -= factor * work[pivotColumn][column];
        }
    }
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            m_[static_cast<std::size_t>(column * 4 + row)] = work[row][column + 4];
    return true;
}

Vector3 Matrix4::TransformPoint(const Vector3& p) const
{
    return {static_cast<float>(p.x * m_[0] + p.y * m_[4] + p.z * m_[8] + m_[12]),
            static_cast<float>(p.x * m_[1] + p.y * m_[5] + p.z * m_[9] + m_[13]),
            static_cast<float>(p.x * m_[2] + p.y * m_[6] + p.z * m_[10] + m_[14])};
}

Vector3 Matrix4::TransformDirection(const Vector3& d) const
{
    return {static_cast<float>(d.x * m_[0] + d.y * m_[4] + d.z * m_[8]),
            static_cast<float>(d.x * m_[1] + d.y * m_[5] + d.z * m_[9]),
            static_cast<float>(d.x * m_[2] + d.y * m_[6] + d.z * m_[10])};
}

} // namespace zelvane
