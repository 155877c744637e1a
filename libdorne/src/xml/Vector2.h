// A point or direction of the plane in homogeneous form (x, y, w). Every
// constructor makes w = 1; only the matrix product may leave another w.
// Instantiated for double only; copied by value, no virtual functions.
#ifndef DORNE_XML_VECTOR2_H
#define DORNE_XML_VECTOR2_H

#include <cmath>

namespace dorne {

template <typename T>
class Vector2
{
public:
    Vector2() : c_{T(0), T(0), T(1)} {}
    Vector2(T x, T y) : c_{x, y, T(1)} {}
    ~Vector2() = default; // does nothing: copies stay plain memory copies

    T x() const { return c_[0]; }
    T y() const { return c_[1]; }
    void setX(T value) { c_[0] = value; }
    void setY(T value) { c_[1] = value; }

    // Index clamped to 0 .. 2 (x, y, w).
    T get(int index) const { return c_[clamp(index, 2)]; }
    void set(int index, T value) { c_[clamp(index, 2)] = value; }

    // Index clamped to 0 .. 1: w is never reachable this way.
    T& operator[](int index) { return c_[clamp(index, 1)]; }
    const T& operator[](int index) const { return c_[clamp(index, 1)]; }

    // Adds x and y; w stays.
    Vector2& operator+=(const Vector2& other)
    {
        c_[0] += other.c_[0];
        c_[1] += other.c_[1];
        return *this;
    }

    // Length over x and y.
    T abs() const { return std::sqrt(c_[0] * c_[0] + c_[1] * c_[1]); }

private:
    static int clamp(int index, int top) { return index < 0 ? 0 : (index > top ? top : index); }

    T c_[3];
};

// (factor x, factor y, 1).
template <typename T>
Vector2<T> operator*(const T& factor, const Vector2<T>& v)
{
    return Vector2<T>(factor * v.x(), factor * v.y());
}

// Dot product over x and y.
template <typename T>
T operator*(const Vector2<T>& a, const Vector2<T>& b)
{
    return a.x() * b.x() + a.y() * b.y();
}

} // namespace dorne

#endif
