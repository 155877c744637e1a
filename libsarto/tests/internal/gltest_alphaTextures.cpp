// The library's two alpha textures as a quad shows them: the atlas texture
// with mipmaps modulating the current colour, and the plain one without.
#include "orloGlTest.h"
#include "sartoInternal.h"

#include <GL/gl.h>

#include <vector>

namespace {

class AlphaTextures : public orlo_gl::GlTest
{
};

// A texture drawn in red on a 64 x 64 quad at the origin, one texel a pixel.
void drawChecker(unsigned int texture)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 0, 0, 1);
    ftiDrawTexture(texture, 64, 64, 0, 0, 1, 1);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

TEST_F(AlphaTextures, QuadsShowTheAlphaInTheCurrentColour)
{
    pixelProjection();
    // Quarters of 32 x 32: opaque at the lower left and upper right.
    std::vector<unsigned char> checker(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker[size_t(y) * 64 + x] = (x < 32) == (y < 32) ? 255 : 0;
    for (const auto create : {ftiCreateAlphaTexture, ftiCreateAlphaTextureXX}) {
        const unsigned int texture = create(checker.data(), 64, 64);
        ASSERT_NE(texture, 0u);
        drawChecker(texture);
        const struct
        {
            int x, y, red;
        } samples[] = {{8, 8, 255}, {56, 8, 0}, {8, 56, 0}, {56, 56, 255}, {80, 8, 0}};
        for (const auto& s : samples)
            EXPECT_EQ(pixel(s.x, s.y)[0], s.red) << s.x << ", " << s.y;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        const GLuint name = texture;
        glDeleteTextures(1, &name);
    }
}

} // namespace
