// The hidden side of the class facade: the loaded view, its run flags and
// draw mode, and every method of the facade. Stays inside the library.
#ifndef DORNE_NALVO_VIEW_IMPL_H
#define DORNE_NALVO_VIEW_IMPL_H

#include "NalvoView.h"
#include "dorneView.h"

#include <string>

namespace Nalvo2D {

class NalvoViewImpl
{
public:
    NalvoViewImpl() = default;
    ~NalvoViewImpl();
    NalvoViewImpl(const NalvoViewImpl&) = delete;
    NalvoViewImpl& operator=(const NalvoViewImpl&) = delete;

    bool load(const std::string& path) noexcept;
    bool startView(bool animate) noexcept;
    bool stopView() noexcept;
    bool draw(bool force) noexcept;

    void setRenderMode(eRenderMode mode) noexcept;
    void setZoom(float zoom) noexcept;
    void setPosition(float x, float y) noexcept;
    void setScissorType(eScissorType type) noexcept;
    void setUseLineScaling(bool flag) noexcept;
    void setUseDepthBuffer(bool flag) noexcept;
    void setBackgroundMode(bool flag) noexcept;
    void setColor(float r, float g, float b, float a) noexcept;

    double width() noexcept;
    double height() noexcept;
    double xPos() noexcept;
    double yPos() noexcept;

    void setEvent(eMouseButton button, eEventType type, float x, float y) noexcept;
    bool getObject(double x, double y, std::string& name) noexcept;

    void setLogLevel(eLogLevel level) noexcept;
    void setProfile(bool flag) noexcept;

    bool getVar(const std::string& name, double& value) noexcept;
    bool getVar(const std::string& name, long& value) noexcept;
    bool getVar(const std::string& name, std::string& value) noexcept;
    bool setVar(const std::string& name, double value) noexcept;
    bool setVar(const std::string& name, long value) noexcept;
    bool setVar(const std::string& name, const std::string& value) noexcept;

    vdView_Struct* view = nullptr; // owned
    bool started = false;          // the last startView succeeded
    bool animated = false;         // the last startView asked for the data thread
    eRenderMode renderMode = RENDER_DIRECT;
    int redrawCounter = 1;         // while not negative, a texture draw renders again
    bool profile = false;          // stored only

private:
    // A loaded view that carries its magic.
    bool hasView() const;
    // hasView and a successful start: the variable methods' precondition.
    bool canUseVariables() const;
};

} // namespace Nalvo2D

#endif
