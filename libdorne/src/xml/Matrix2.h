// A 3x3 matrix holding a 2D affine transformation, row-major: element
// (row i, column j) is number 3i + j. The linear part is in rows and columns
// 0 and 1, the translation in column 2, the last row is 0 0 1. Instantiated
// for double only; copied by value, no virtual functions.
#ifndef DORNE_XML_MATRIX2_H
#define DORNE_XML_MATRIX2_H

#include "xml/Vector2.h"

#include <cmath>

namespace dorne {

template <typename T>
class Matrix2
{
public:
    Matrix2() { makeIdent(); }

    void makeIdent()
    {
        for (int i = 0; i < 9; ++i)
            m_[i] = (i % 4 == 0) ? T(1) : T(0);
    }

    // Each index clamped to 0 .. 2.
    T get(int row, int column) const { return m_[3 * clamp(row) + clamp(column)]; }
    void set(int row, int column, T value) { m_[3 * clamp(row) + clamp(column)] = value; }

    // Scales the two columns of the linear part to unit length; the factors
    // (inverse column lengths, single-precision accurate, 1.0 for a zero
    // column) go through sx and sy when these are not null. The translation
    // and the last row stay. Returns this matrix.
    Matrix2& normalize(T* sx, T* sy)
    {
        const float a = float(m_[0]), b = float(m_[1]), c = float(m_[3]), d = float(m_[4]);
        const T fx = factor(a * a + c * c);
        const T fy = factor(b * b + d * d);
        m_[0] *= fx;
        m_[3] *= fx;
        m_[1] *= fy;
        m_[4] *= fy;
        if (sx != nullptr)
            *sx = fx;
        if (sy != nullptr)
            *sy = fy;
        return *this;
    }

private:
    static int clamp(int index) { return index < 0 ? 0 : (index > 2 ? 2 : index); }
    static T factor(float n) { return n != 0.0f ? T(std::sqrt(double(1.0f / n))) : T(1); }

    T m_[9];
};

// The full 3x3 product over x, y and w; the result's w is the third row's
// product, not reset to 1.
template <typename T>
Vector2<T> operator*(const Matrix2<T>& m, const Vector2<T>& v)
{
    Vector2<T> r;
    for (int i = 0; i < 3; ++i)
        r.set(i, m.get(i, 0) * v.get(0) + m.get(i, 1) * v.get(1) + m.get(i, 2) * v.get(2));
    return r;
}

} // namespace dorne

#endif
