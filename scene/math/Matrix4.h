#pragma once
// A 4 × 4 matrix of doubles in OpenGL's column-major order: element (row r,
// column c) is at index c * 4 + r, so the translation sits at 12, 13, 14.

#include "scene/math/Vector3.h"

#include <array>

namespace zelvane {

class Matrix4 {
public:
    // The identity.
    Matrix4();
    explicit Matrix4(const std::array<double, 16>& elements) : m_(elements) {}

    static Matrix4 Translation(double x, double y, double z);
    // A turn of `degrees` about the axis (x, y, z), as glRotate makes it.
    static Matrix4 Rotation(double degrees, double x, double y, double z);
    static Matrix4 Scaling(double x, double y, double z);

    double operator[](int i) const { return m_[static_cast<std::size_t>(i)]; }
    double& operator[](int i) { return m_[static_cast<std::size_t>(i)]; }
    const double* Data() const { return m_.data(); }
    const std::array<double, 16>& Elements() const { return m_; }

    // This × other, the order in which OpenGL multiplies onto the current matrix.
    Matrix4 operator*(const Matrix4& other) const;

    // Inverts by Gauss-Jordan elimination with partial pivoting (largest absolute
    // value). False, with the matrix unchanged, when a pivot is exactly 0.
    bool Invert();

    // The point (with translation) and the direction (without), in floats.
    Vector3 TransformPoint(const Vector3& p) const;
    Vector3 TransformDirection(const Vector3& d) const;

    friend bool operator==(const Matrix4&, const Matrix4&) = default;

private:
    std::array<double, 16> m_;
};

} // namespace zelvane
