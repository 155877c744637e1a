// The plane's homogeneous vectors and affine matrices of the XML view
// format: index clamping, products and the normalisation that turns a
// matrix's column lengths into a width and a height.
#include "xml/Matrix2.h"
#include "xml/Vector2.h"

#include <gtest/gtest.h>

#include <cmath>

using dorne::Matrix2;
using dorne::Vector2;

namespace {

void expectVector(const Vector2<double>& v, double x, double y, double w)
{
    EXPECT_DOUBLE_EQ(v.get(0), x);
    EXPECT_DOUBLE_EQ(v.get(1), y);
    EXPECT_DOUBLE_EQ(v.get(2), w);
}

TEST(Vector2, ConstructorsAccessorsAndClampedIndices)
{
    expectVector(Vector2<double>(), 0, 0, 1);
    Vector2<double> v(3, 4);
    expectVector(v, 3, 4, 1);
    EXPECT_EQ(v.x(), 3);
    EXPECT_EQ(v.y(), 4);
    v.setX(-1);
    v.setY(-2);
    expectVector(v, -1, -2, 1);

    // get and set clamp to x .. w.
    v.set(2, 5);
    EXPECT_EQ(v.get(-5), -1);
    EXPECT_EQ(v.get(7), 5);
    v.set(-3, 10);
    v.set(9, 6);
    expectVector(v, 10, -2, 6);

    // The subscript reaches x and y only: index 2 and beyond is y.
    v[0] = 1;
    v[2] = 9;
    v[-4] += 1;
    expectVector(v, 2, 9, 6);
    const Vector2<double>& c = v;
    EXPECT_EQ(c[1], 9);
    EXPECT_EQ(c[5], 9);
}

TEST(Vector2, ArithmeticOverXAndYOnly)
{
    Vector2<double> v(3, 4);
    v.set(2, 7);
    const Vector2<double> scaled = 2.0 * v;
    expectVector(scaled, 6, 8, 1); // w back to 1
    EXPECT_DOUBLE_EQ(Vector2<double>(3, 4) * Vector2<double>(1, 2), 11);
    EXPECT_DOUBLE_EQ(v * v, 25); // w takes no part
    EXPECT_DOUBLE_EQ(v.abs(), 5);
    EXPECT_DOUBLE_EQ(Vector2<double>().abs(), 0);

    Vector2<double> sum(1, 2);
    Vector2<double> other(10, 20);
    other.set(2, 3);
    sum += other;
    expectVector(sum, 11, 22, 1);
    (sum += other) += other;
    expectVector(sum, 31, 62, 1);
}

TEST(Matrix2, IdentityClampedElementsAndProduct)
{
    Matrix2<double> m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m.get(i, j), i == j ? 1.0 : 0.0) << i << "," << j;
    expectVector(m * Vector2<double>(3.5, -2), 3.5, -2, 1);

    // A translation column (5, 7) moves (1, 1) to (6, 8).
    m.set(0, 2, 5);
    m.set(1, 2, 7);
    expectVector(m * Vector2<double>(1, 1), 6, 8, 1);

    // Indices clamp to 0 .. 2 on both axes.
    m.set(-1, 9, 4); // (0, 2)
    EXPECT_EQ(m.get(0, 2), 4);
    EXPECT_EQ(m.get(-7, 3), 4);
    m.set(5, -5, 2); // (2, 0)
    EXPECT_EQ(m.get(2, 0), 2);

    // The full 3x3 product: the third row makes w, which stays as it is.
    Matrix2<double> a;
    const double e[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            a.set(i, j, e[i][j]);
    Vector2<double> v(1, -1);
    v.set(2, 2);
    expectVector(a * v, 1 - 2 + 6, 4 - 5 + 12, 7 - 8 + 18);

    a.makeIdent();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(a.get(i, j), i == j ? 1.0 : 0.0);
}

TEST(Matrix2, NormalizeScalesTheColumnsToUnitLength)
{
    Matrix2<double> m;
    m.set(0, 0, 2);
    m.set(1, 1, 4);
    m.set(0, 2, 30);
    m.set(1, 2, 40);
    double sx = 0, sy = 0;
    Matrix2<double>& same = m.normalize(&sx, &sy);
    EXPECT_EQ(&same, &m);
    EXPECT_EQ(sx, 0.5);
    EXPECT_EQ(sy, 0.25);
    const Matrix2<double> identityLinear;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(m.get(i, j), identityLinear.get(i, j)) << i << "," << j;
    EXPECT_EQ(m.get(0, 2), 30); // translation and last row stay
    EXPECT_EQ(m.get(1, 2), 40);
    EXPECT_EQ(m.get(2, 2), 1);

    // A zero column: factor 1 and the column stays zero.
    Matrix2<double> z;
    z.set(0, 0, 0);
    z.set(1, 0, 0);
    z.set(0, 1, 3);
    z.set(1, 1, 4);
    z.normalize(&sx, &sy);
    EXPECT_EQ(sx, 1.0);
    EXPECT_EQ(z.get(0, 0), 0);
    EXPECT_EQ(z.get(1, 0), 0);
    // The column (3, 4): 1/25 in single precision, its root in double.
    const double factor = std::sqrt(double(1.0f / 25.0f));
    EXPECT_EQ(sy, factor);
    EXPECT_NE(sy, 0.2);
    EXPECT_EQ(z.get(0, 1), 3 * factor);
    EXPECT_EQ(z.get(1, 1), 4 * factor);

    // A rotated and scaled rectangle: the inverse factors are its sizes.
    Matrix2<double> r;
    const double angle = 0.5, width = 120, height = 30;
    r.set(0, 0, width * std::cos(angle));
    r.set(1, 0, width * std::sin(angle));
    r.set(0, 1, -height * std::sin(angle));
    r.set(1, 1, height * std::cos(angle));
    r.normalize(&sx, &sy);
    EXPECT_NEAR(1 / sx, width, width * 1e-6);
    EXPECT_NEAR(1 / sy, height, height * 1e-6);
    EXPECT_NEAR(r.get(0, 0), std::cos(angle), 1e-6);
    EXPECT_NEAR(r.get(1, 1), std::cos(angle), 1e-6);

    // The out-arguments may be left out.
    Matrix2<double> n;
    n.set(0, 0, 8);
    n.normalize(nullptr, nullptr);
    EXPECT_EQ(n.get(0, 0), 1);
}

} // namespace
