// Vectors, matrices, quaternions and angle wrapping: the arithmetic the camera
// and the object transforms rest on, without a GL context.

#include "scene/math/Angles.h"
#include "scene/math/Matrix4.h"
#include "scene/math/Quaternion.h"
#include "scene/math/Vector3.h"

#include <gtest/gtest.h>

namespace zelvane {
namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(Vector3, SnapsToTheNearestSignedAxisWithTiesToZThenY)
{
    EXPECT_EQ((Vector3{0.5f, 0.5f, 0.0f}.SnappedToAxis()), (Vector3{0, 1, 0}));
    EXPECT_EQ((Vector3{0.0f, 0.0f, 0.0f}.SnappedToAxis()), (Vector3{0, 0, -1}));
    EXPECT_EQ((Vector3{-0.7f, 0.2f, 0.1f}.SnappedToAxis()), (Vector3{-1, 0, 0}));
    EXPECT_EQ((Vector3{0.3f, -0.3f, 0.3f}.SnappedToAxis()), (Vector3{0, 0, 1}));
    EXPECT_EQ((Vector3{0.1f, -0.9f, 0.3f}.SnappedToAxis()), (Vector3{0, -1, 0}));
}

TEST(Vector3, NormalisingLeavesTheZeroVectorAlone)
{
    Vector3 v{3, 0, 4};
    v.Normalise();
    ExpectNear(v, {0.6f, 0.0f, 0.8f});
    Vector3 zero;
    zero.Normalise();
    EXPECT_EQ(zero, (Vector3{0, 0, 0}));
}

TEST(Matrix4, InvertsAndLeavesASingularMatrixUnchanged)
{
    // A turn, a scale and a translation: its inverse undoes it.
    const Matrix4 m = Matrix4::Translation(1, -2, 3) * Matrix4::Rotation(30, 1, 1, 0) * Matrix4::Scaling(2, 0.5, 4);
    Matrix4 inverse = m;
    ASSERT_TRUE(inverse.Invert());
    const Matrix4 product = m * inverse;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], i % 5 == 0 ? 1.0 : 0.0, 1e-12) << "element " << i;
    ExpectNear(inverse.TransformPoint(m.TransformPoint({0.25f, 5, -7})), {0.25f, 5, -7}, 1e-4f);

    // The pivot search must swap rows: this matrix has a zero in its first pivot.
    Matrix4 swapped({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    ASSERT_TRUE(swapped.Invert());
    EXPECT_EQ(swapped, Matrix4({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));

    Matrix4 singular = Matrix4::Scaling(1, 0, 1);
    EXPECT_FALSE(singular.Invert());
    EXPECT_EQ(singular, Matrix4::Scaling(1, 0, 1));
}

TEST(Matrix4, TransformsPointsWithAndDirectionsWithoutTranslation)
{
    const Matrix4 m = Matrix4::Translation(10, 20, 30) * Matrix4::Rotation(90, 0, 0, 1);
    ExpectNear(m.TransformPoint({1, 0, 0}), {10, 21, 30});
    ExpectNear(m.TransformDirection({1, 0, 0}), {0, 1, 0});
}

TEST(Quaternion, TurnsAPlaneFacingZToFaceUpAndComposesLeftToRight)
{
    const Quaternion turn = Quaternion::FromAxisAngle({1, 0, 0}, 90);
    // The floor's turn takes the plane's +z normal to +y.
    ExpectNear(turn.ToMatrix().TransformDirection({0, 0, 1}), {0, 1, 0});

    // q ⊗ p with p the identity is q; two quarter turns about y make a half turn.
    EXPECT_EQ(turn * Quaternion{}, turn);
    const Quaternion quarter = Quaternion::FromAxisAngle({0, 1, 0}, 90);
    ExpectNear((quarter * quarter).ToMatrix().TransformDirection({1, 0, 0}), {-1, 0, 0});
}

TEST(Quaternion, NormalisingDividesBySumOfSquares)
{
    Quaternion q{0, 0, 0, 2};
    q.Normalise();
    EXPECT_EQ(q, (Quaternion{0, 0, 0, 0.5f}));
}

TEST(WrapDegrees, WrapsIntoTheTurnAndEndsOnHugeOrBrokenValues)
{
    EXPECT_FLOAT_EQ(WrapDegrees(720.0f), 0.0f);
    EXPECT_FLOAT_EQ(WrapDegrees(359.5f), 359.5f);
    EXPECT_FLOAT_EQ(WrapDegrees(-30.0f), 330.0f);
    EXPECT_FLOAT_EQ(WrapDegrees(360.0f), 0.0f);
    EXPECT_FLOAT_EQ(WrapDegrees(1e30f) >= 0.0f ? 1.0f : 0.0f, 1.0f);
    EXPECT_LT(WrapDegrees(1e30f), 360.0f);
    EXPECT_FLOAT_EQ(WrapDegrees(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_FLOAT_EQ(WrapDegrees(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

} // namespace
} // namespace zelvane
