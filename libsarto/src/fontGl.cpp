// The OpenGL side of font objects: the atlas texture, the display lists,
// drawing text, and the release of both.
#include "sartoInternal.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#define GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT 0x84FF
#endif

namespace {

bool hasAnisotropy()
{
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr && (std::strstr(extensions, "GL_EXT_texture_filter_anisotropic") != nullptr ||
                                     std::strstr(extensions, "GL_ARB_texture_filter_anisotropic") != nullptr);
}

// Unpacking as the library's pixel buffers are laid out, whatever the
// caller set; the caller's settings come back with glPopClientAttrib.
void unpackRows(int alignment)
{
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
}

// One glyph of an outline font as a textured quad from (x0, y0) to (x1, y1).
void glyphQuad(const float* tc, float x0, float y0, float x1, float y1)
{
    glTexCoord2f(tc[0], tc[1]);
    glVertex2f(x0, y0);
    glTexCoord2f(tc[0], tc[3]);
    glVertex2f(x0, y1);
    glTexCoord2f(tc[2], tc[3]);
    glVertex2f(x1, y1);
    glTexCoord2f(tc[2], tc[1]);
    glVertex2f(x1, y0);
}

// The slot a byte of (converted) text draws.
int slotOf(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code < FNT_GLYPH_SLOTS ? code : 0;
}

// Outline text in immediate mode: one quad per byte, from the font's one
// texture, scaled to the requested size.
void renderScalable(const FNT_FONT* font, float scale, const char* text)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, font->texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glScalef(scale, scale, 1.0f);
    const float height = static_cast<float>(font->rowHeight);
    float x = 0.0f;
    glBegin(GL_QUADS);
    for (const char* p = text; *p != '\0'; ++p) { // one quad per byte of the text
        const int slot = slotOf(*p);
        const float x0 = x + static_cast<float>(font->bearing[slot]);
        const float y0 = font->top[slot] - static_cast<float>(font->rows[slot]) - font->descent;
        glyphQuad(font->texCoord[slot], x0, y0, x0 + static_cast<float>(font->boxWidth[slot]), y0 + height);
        x += static_cast<float>(font->advance[slot]);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

// Bitmap text through the font's lists, at the raster position.
void renderRaster(const FNT_FONT* font, const char* text)
{
    glPushAttrib(GL_LIST_BIT);
    glListBase(font->listBase);
    glRasterPos2f(0.0f, 0.5f * static_cast<float>(font->rasterOffset));
    // Bytes of 128 and above become slot 0, so no list outside the font
    // runs; the text goes in chunks through a small buffer.
    unsigned char chunk[256];
    const char* p = text;
    while (*p != '\0') { // each pass takes up to sizeof chunk bytes
        GLsizei n = 0;
        while (n < static_cast<GLsizei>(sizeof chunk) && *p != '\0')
            chunk[n++] = static_cast<unsigned char>(slotOf(*p++));
        glCallLists(n, GL_UNSIGNED_BYTE, chunk);
    }
    glPopAttrib();
}

} // namespace

unsigned int ftiCreateAlphaTexture(const unsigned char* pixels, int width, int height)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return 0;
    glPushAttrib(GL_TEXTURE_BIT);
    unpackRows(1);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLint built = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_ALPHA, width, height, GL_ALPHA, GL_UNSIGNED_BYTE, pixels);
    if (hasAnisotropy()) {
        GLfloat largest = 1.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, largest);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPopClientAttrib();
    glPopAttrib();
    if (built != 0) {
        ftiMsg(FTI_ERROR, "ftFontCreate: gluBuild2DMipmaps: %s\n", reinterpret_cast<const char*>(gluErrorString(built)));
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

unsigned int ftiCreateAlphaTextureXX(const unsigned char* pixels, int width, int height)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return 0;
    unpackRows(1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, pixels);
    glPopClientAttrib();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    return texture;
}

void ftiDrawTexture(unsigned int texture, float width, float height, float left, float bottom, float right,
                    float top)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    const float tc[4] = {left, bottom, right, top};
    glBegin(GL_QUADS);
    glyphQuad(tc, 0.0f, 0.0f, width, height);
    glEnd();
}

bool ftiCompileLists(FNT_FONT* font, const std::vector<FtiStrikeGlyph>* glyphs)
{
    const GLuint base = glGenLists(FNT_GLYPH_SLOTS);
    if (base == 0) {
        ftiMsg(FTI_ERROR, "ftFontCreate: no display lists for <%s> %d !\n", font->family, font->size);
        return false;
    }
    font->listBase = base;
    if (glyphs == nullptr) {
        const float height = static_cast<float>(font->rowHeight);
        for (int slot = 0; slot < FNT_GLYPH_SLOTS; ++slot) {
            const float x0 = static_cast<float>(font->bearing[slot]);
            const float y0 = font->top[slot] - static_cast<float>(font->rows[slot]) - font->descent;
            glNewList(base + static_cast<GLuint>(slot), GL_COMPILE);
            glBegin(GL_QUADS);
            glyphQuad(font->texCoord[slot], x0, y0, x0 + static_cast<float>(font->bitmapWidth[slot]), y0 + height);
            glEnd();
            glTranslatef(static_cast<float>(font->advance[slot]), 0.0f, 0.0f);
            glEndList();
        }
        return true;
    }
    // glBitmap's data is taken while compiling, with the unpack state then.
    unpackRows(4);
    for (int slot = 0; slot < FNT_GLYPH_SLOTS && slot < static_cast<int>(glyphs->size()); ++slot) {
        const FtiStrikeGlyph& glyph = (*glyphs)[static_cast<size_t>(slot)];
        if (!glyph.loaded)
            continue; // a slot FreeType could not render stays an empty list
        glNewList(base + static_cast<GLuint>(slot), GL_COMPILE);
        glPushMatrix();
        glBitmap(glyph.width, glyph.rows, static_cast<float>(-font->bearing[slot]),
                 static_cast<float>(glyph.rows) - font->top[slot], static_cast<float>(font->advance[slot]), 0.0f,
                 glyph.bits.empty() ? nullptr : glyph.bits.data());
        glPopMatrix();
        glEndList();
    }
    glPopClientAttrib();
    return true;
}

void ftiReleaseFontGl(FNT_FONT* font)
{
    if (font->listBase != 0)
        glDeleteLists(font->listBase, FNT_GLYPH_SLOTS);
    if (font->texture != 0) {
        const GLuint texture = font->texture;
        glDeleteTextures(1, &texture);
    }
    font->listBase = 0;
    font->texture = 0;
}

namespace {

// ftFontRender and ftFontRenderRaster: their checks, then outline fonts as
// quads and bitmap fonts through their lists.
int drawText(intptr_t ft, char* text)
{
    FNT_FONT_HANDLE* handle = nullptr;
    FNT_FONT* font = nullptr;
    const int checked = ftiCheckDrawHandle(ft, &handle, &font);
    if (checked != 0)
        return checked;
    if (text == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontRender: text = NULL !\n");
        return -1;
    }
    convertString(text);
    if (font->scalable)
        renderScalable(font, handle->scale, text);
    else
        renderRaster(font, text);
    return 0;
}

} // namespace

int ftFontRender(intptr_t ft, char* text)
{
    return drawText(ft, text);
}

int ftFontRenderRaster(int64_t ft, char* text)
{
    return drawText(static_cast<intptr_t>(ft), text);
}
