#ifndef NALVO_VIEW_H
#define NALVO_VIEW_H

// The class interface of the view engine: one object holds at most one
// loaded view and offers loading, starting and stopping, drawing, mouse
// events, picking by point, the draw settings, and the view's variables by
// name. A C++ header (the engine's other headers are plain C).
//
// No exception leaves a method; a method without a loaded view does nothing
// and returns false, 0.0 or -1.0 as noted. Use an object from the thread
// that owns the GL context; getVar, setVar, setZoom, setPosition and
// setEvent hold the view's mutex, so they never race the view's data thread.

#ifndef __cplusplus
#error "NalvoView.h is a C++ header"
#endif

#include <string>

// Exports the facade's methods (and nothing of its implementation).
#define NALVO_API __attribute__((visibility("default")))

namespace Nalvo2D {

// The engine's log level: any value is passed on as it is.
enum eLogLevel : int
{
    LOG_ERROR = 1,
    LOG_WARNING = 2,
    LOG_INFORMATION = 3
};

// Any other value counts as the left button.
enum eMouseButton : int
{
    MOUSE_LEFT = 0,
    MOUSE_MIDDLE = 1,
    MOUSE_RIGHT = 2
};

// Any other value counts as a press.
enum eEventType : int
{
    EVENT_PRESS = 0,
    EVENT_RELEASE = 1,
    EVENT_MOVE = 2 // with a button held
};

// Passed on as the view's scissor type: 1 clips with the scissor box, any
// other value with the stencil buffer.
enum eScissorType : int
{
    SCISSOR_STENCIL = 0,
    SCISSOR_BOX = 1
};

// 0 draws directly; any other value draws through the render texture.
enum eRenderMode : int
{
    RENDER_DIRECT = 0,
    RENDER_TEXTURE = 1
};

class NalvoViewImpl;

class NALVO_API NalvoView
{
public:
    NalvoView();
    // Frees the view (stopping it first when it runs; a stop of it on
    // another thread is waited for).
    ~NalvoView();

    // Frees the current view as the destructor does, then loads the view
    // file at path; true when a view was loaded (else the object holds no
    // view).
    bool load(const std::string& path) noexcept;
    // Starts the view, with its data thread when animate is true; true when
    // it started. getVar and setVar work only after a successful start.
    bool startView(bool animate) noexcept;
    // Stops the view; true whatever happened.
    bool stopView() noexcept;
    // Draws the view in the current GL context and transformation; false
    // without a view. Through the render texture the first four draws after
    // a start render it again, later ones only when force is true; a draw
    // that renders clears the whole colour buffer to transparent black and
    // draws the view into its lower-left pixels before it shows the
    // texture. Of the caller's GL state a draw keeps the matrices, the
    // viewport, the clear and current colours, and the lighting, depth,
    // stencil, texture, line and point state; it leaves the scissor test,
    // dithering, fog and face culling off (the scissor box where a clipped
    // group put it), the blending switch as the view's last element left
    // it, the blend function at source alpha and one minus source alpha,
    // the polygon mode at fill, the perspective hint at fastest, the pixel
    // unpack row length at 0 and the matrix mode at model-view.
    bool draw(bool force) noexcept;

    void setRenderMode(eRenderMode mode) noexcept;
    void setZoom(float zoom) noexcept;
    // The draw offset, truncated to int.
    void setPosition(float x, float y) noexcept;
    void setScissorType(eScissorType type) noexcept;
    void setUseLineScaling(bool flag) noexcept;
    void setUseDepthBuffer(bool flag) noexcept;
    // false keeps the view from painting its page background.
    void setBackgroundMode(bool flag) noexcept;
    // The factor by which every colour of the view is multiplied.
    void setColor(float r, float g, float b, float a) noexcept;

    // The view's size in view units (integer); 0.0 without a view.
    double width() noexcept;
    double height() noexcept;
    // The centre of the view's area (integer); -1.0 without a view.
    double xPos() noexcept;
    double yPos() noexcept;

    // A mouse event at the view point (x, y) for the view's mouse actions.
    void setEvent(eMouseButton button, eEventType type, float x, float y) noexcept;
    // The name of the topmost element whose pick area holds the view point
    // (x, y); false, with name untouched, when there is none.
    bool getObject(double x, double y, std::string& name) noexcept;

    void setLogLevel(eLogLevel level) noexcept;
    void setProfile(bool flag) noexcept;

    // The variable of that name of the started view, converted to the
    // argument's type; false without a started view or for an unknown name.
    // A text variable leaves a number untouched. A double receives the
    // value (unsigned types as unsigned, 64-bit values rounded to the
    // nearest double). A long receives an integer of up to 32 bits (an
    // unsigned one as unsigned) or a signed 64-bit one as it is, an
    // unsigned 64-bit value as its 64 bits (one of 2^63 or more reads as
    // that value less 2^64, negative), a float or double truncated toward
    // zero and held within the long range (NaN gives 0). A string receives
    // the text vdVarGetStr writes (dorneVariables.h).
    bool getVar(const std::string& name, double& value) noexcept;
    bool getVar(const std::string& name, long& value) noexcept;
    bool getVar(const std::string& name, std::string& value) noexcept;
    // Stores the value converted to the variable's type; text variables
    // take only texts, cut to 254 characters. Integer types keep the low
    // bits of the integer value: of a long as it is; of a text as
    // vdVarSetStr reads it (64-bit unsigned values up to 2^64 - 1); of a
    // double truncated toward zero, to 32 bits for types up to 32 bits
    // (NaN and values beyond that range giving the smallest 32-bit
    // integer), held within 64 bits for the 64-bit types (NaN giving 0, an
    // unsigned type up to 2^64 - 1). A float is held within the finite
    // float range. Returns true for every known name.
    bool setVar(const std::string& name, double value) noexcept;
    bool setVar(const std::string& name, long value) noexcept;
    bool setVar(const std::string& name, const std::string& value) noexcept;

    NalvoView(const NalvoView&) = delete;
    NalvoView& operator=(const NalvoView&) = delete;

private:
    NalvoViewImpl* mpPrivateView;
};

} // namespace Nalvo2D

#endif
