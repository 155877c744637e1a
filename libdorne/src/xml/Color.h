// An RGBA colour of the XML view file with a "none" flag (no fill, no
// outline). Components are 32-bit floats, nominally 0 to 1.
#ifndef DORNE_XML_COLOR_H
#define DORNE_XML_COLOR_H

namespace dorne {

class Color
{
public:
    // Opaque white, not none.
    Color() = default;
    Color(float r, float g, float b) : c_{r, g, b, 1.0f} {}
    Color(float r, float g, float b, float a) : c_{r, g, b, a} {}

    void setRgba(float r, float g, float b, float a)
    {
        c_[0] = r;
        c_[1] = g;
        c_[2] = b;
        c_[3] = a;
    }
    // Alpha becomes 1.
    void setRgb(float r, float g, float b) { setRgba(r, g, b, 1.0f); }
    void setRed(float v) { c_[0] = v; }
    void setGreen(float v) { c_[1] = v; }
    void setBlue(float v) { c_[2] = v; }
    void setAlpha(float v) { c_[3] = v; }
    // The components stay.
    void setNone(bool none) { none_ = none; }

    float r() const { return c_[0]; }
    float g() const { return c_[1]; }
    float b() const { return c_[2]; }
    float a() const { return c_[3]; }
    bool none() const { return none_; }

    // 0 red, 1 green, 2 blue, 3 alpha; any other index gives red.
    float& operator[](int i) { return c_[i >= 0 && i < 4 ? i : 0]; }
    const float& operator[](int i) const { return c_[i >= 0 && i < 4 ? i : 0]; }

    // Equal when no component differs by more than 0.001; the none flag
    // takes no part.
    bool operator==(const Color& other) const;
    bool operator!=(const Color& other) const { return !(*this == other); }

private:
    float c_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool none_ = false;
};

} // namespace dorne

#endif
