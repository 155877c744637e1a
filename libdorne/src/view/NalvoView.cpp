// The class facade: every method hands over to the implementation object,
// which the facade alone owns. A facade whose implementation could not be
// made (the assertion is off in release builds) behaves as one without a
// view.
#include "NalvoView.h"

#include "view/NalvoViewImpl.h"

#include <cassert>
#include <new>

namespace Nalvo2D {

NalvoView::NalvoView() : mpPrivateView(new (std::nothrow) NalvoViewImpl)
{
    assert(mpPrivateView);
}

NalvoView::~NalvoView()
{
    delete mpPrivateView;
}

bool NalvoView::load(const std::string& path) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->load(path);
}

bool NalvoView::startView(bool animate) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->startView(animate);
}

bool NalvoView::stopView() noexcept
{
    return mpPrivateView == nullptr || mpPrivateView->stopView();
}

bool NalvoView::draw(bool force) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->draw(force);
}

void NalvoView::setRenderMode(eRenderMode mode) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setRenderMode(mode);
}

void NalvoView::setZoom(float zoom) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setZoom(zoom);
}

void NalvoView::setPosition(float x, float y) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setPosition(x, y);
}

void NalvoView::setScissorType(eScissorType type) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setScissorType(type);
}

void NalvoView::setUseLineScaling(bool flag) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setUseLineScaling(flag);
}

void NalvoView::setUseDepthBuffer(bool flag) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setUseDepthBuffer(flag);
}

void NalvoView::setBackgroundMode(bool flag) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setBackgroundMode(flag);
}

void NalvoView::setColor(float r, float g, float b, float a) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setColor(r, g, b, a);
}

double NalvoView::width() noexcept
{
    return mpPrivateView != nullptr ? mpPrivateView->width() : 0.0;
}

double NalvoView::height() noexcept
{
    return mpPrivateView != nullptr ? mpPrivateView->height() : 0.0;
}

double NalvoView::xPos() noexcept
{
    return mpPrivateView != nullptr ? mpPrivateView->xPos() : -1.0;
}

double NalvoView::yPos() noexcept
{
    return mpPrivateView != nullptr ? mpPrivateView->yPos() : -1.0;
}

void NalvoView::setEvent(eMouseButton button, eEventType type, float x, float y) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setEvent(button, type, x, y);
}

bool NalvoView::getObject(double x, double y, std::string& name) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->getObject(x, y, name);
}

void NalvoView::setLogLevel(eLogLevel level) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setLogLevel(level);
}

void NalvoView::setProfile(bool flag) noexcept
{
    if (mpPrivateView != nullptr)
        mpPrivateView->setProfile(flag);
}

bool NalvoView::getVar(const std::string& name, double& value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->getVar(name, value);
}

bool NalvoView::getVar(const std::string& name, long& value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->getVar(name, value);
}

bool NalvoView::getVar(const std::string& name, std::string& value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->getVar(name, value);
}

bool NalvoView::setVar(const std::string& name, double value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->setVar(name, value);
}

bool NalvoView::setVar(const std::string& name, long value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->setVar(name, value);
}

bool NalvoView::setVar(const std::string& name, const std::string& value) noexcept
{
    return mpPrivateView != nullptr && mpPrivateView->setVar(name, value);
}

} // namespace Nalvo2D
