// The shared records keep the field order and fixed text sizes that view
// files, modules and callers of the flat interface rely on. Checked while
// compiling.
#include "dorneExpression.h"
#include "dorneObjects.h"
#include "dorneTextures.h"
#include "dorneView.h"

#include <cstddef>

namespace {

#define ORDERED(T, a, b) static_assert(offsetof(T, a) < offsetof(T, b), #T ": " #a " before " #b)

// Texts of fixed size.
static_assert(sizeof(ELEMENT_STRUCT::name) == 64 && sizeof(ELEMENT_STRUCT::id) == 256, "element texts");
static_assert(sizeof(ATTR_STRUCT::text) == 256, "attribute text");
static_assert(sizeof(ACTION_STRUCT::var) == 64 && sizeof(ACTION_STRUCT::secondVar) == 64 &&
                  sizeof(ACTION_STRUCT::format) == 64 && sizeof(ACTION_STRUCT::polyName) == 64,
              "action texts");
static_assert(sizeof(DD_VAR_STRUCT::name) == 64 && sizeof(DD_VAR_STRUCT::defaultText) == 64, "variable texts");
static_assert(sizeof(DD_DATA_TYPE_STRUCT::name) == 64 && sizeof(DD_DATA_TYPE_STRUCT::modulePath) == 512 &&
                  sizeof(DD_DATA_TYPE_STRUCT::moduleName) == 256,
              "source texts");
static_assert(sizeof(DD_OPTION_STRUCT::label) == 32, "option label");
static_assert(sizeof(CONFIG_STRUCT) == 7 * 4 + 5 * 128, "configuration block");
// The configuration block: page colour, then the area, then the texts.
static_assert(offsetof(CONFIG_STRUCT, r) == 0 && offsetof(CONFIG_STRUCT, b) == 8 && offsetof(CONFIG_STRUCT, x) == 12 &&
                  offsetof(CONFIG_STRUCT, height) == 24 && offsetof(CONFIG_STRUCT, texts) == 28,
              "configuration block order");
static_assert(sizeof(GRAPH_STRUCT::family) == 64 && sizeof(TEXT_STRUCT::family) == 64 &&
                  sizeof(TEXT_STRUCT::text) == 256,
              "font and text fields");
static_assert(sizeof(GRAPH_STRUCT::xLabelFormat) == 32 && sizeof(GRAPH_STRUCT::yLabelFormat) == 32,
              "label formats");
static_assert(sizeof(RECT_STRUCT::patternBits) == 128 && sizeof(POLY_STRUCT::patternBits) == 128 &&
                  sizeof(CIRCLE_STRUCT::patternBits) == 128 && sizeof(TEXT_STRUCT::patternBits) == 128 &&
                  sizeof(IMAGE_STRUCT::patternBits) == 128,
              "fill pattern masks");
static_assert(sizeof(GRAPH_STRUCT::font) == sizeof(void*) && sizeof(TEXT_STRUCT::font) == 8,
              "font handles at full width");

// First fields and the order of what crosses the interfaces.
static_assert(offsetof(ELEMENT_STRUCT, name) == 0 && offsetof(ACTION_STRUCT, type) == 0 &&
                  offsetof(DD_VAR_STRUCT, type) == 0 && offsetof(DD_DATA_TYPE_STRUCT, name) == 0 &&
                  offsetof(vdView_Struct, magic) == 0 && offsetof(TH_STRUCT, level) == 0,
              "first fields");
ORDERED(ELEMENT_STRUCT, kind, children);
ORDERED(ELEMENT_STRUCT, actions, x);
ORDERED(ELEMENT_STRUCT, clipQuadY, update);
ORDERED(ELEMENT_STRUCT, centreY, stickies);
ORDERED(ELEMENT_STRUCT, data, attr);
ORDERED(ELEMENT_STRUCT, savedHandles, parent);
ORDERED(ACTION_STRUCT, limit, secondVar);
ORDERED(ACTION_STRUCT, filterTime, next);
ORDERED(ACTION_STRUCT, disabled, value);
ORDERED(ACTION_STRUCT, valueType, offset);
ORDERED(ACTION_STRUCT, visibleValue, input);
ORDERED(ACTION_STRUCT, thBlink, polyElement);
ORDERED(TH_STRUCT, next, strokeId);
// Kind records: the field order view files, the XML definitions and the
// attribute accessors rely on.
static_assert(offsetof(GRAPH_STRUCT, type) == 0 && offsetof(RECT_STRUCT, x) == 0 &&
                  offsetof(POLY_STRUCT, closed) == 0 && offsetof(CIRCLE_STRUCT, x) == 0 &&
                  offsetof(TEXT_STRUCT, x) == 0 && offsetof(LINE_STRUCT, x1) == 0 &&
                  offsetof(IMAGE_STRUCT, cornerX) == 0 && offsetof(BUTTON_STRUCT, cornerX) == 0 &&
                  offsetof(SLIDER_STRUCT, x) == 0 && offsetof(SCISSOR_STRUCT, cornerX) == 0,
              "kind records' first fields");
ORDERED(GRAPH_STRUCT, samples, reserved1);
ORDERED(GRAPH_STRUCT, reserved2, bars);
ORDERED(GRAPH_STRUCT, yLabelFormat, xLabelFormat);
ORDERED(GRAPH_STRUCT, gridStyle, gridStippleFactor);
ORDERED(GRAPH_STRUCT, gridStipplePattern, gridStyleIndex);
ORDERED(GRAPH_STRUCT, labelYR, labelFixX);
ORDERED(GRAPH_STRUCT, tickWidth, font);
ORDERED(GRAPH_STRUCT, size, fontId);
ORDERED(GRAPH_STRUCT, fontId, lagYMin);
ORDERED(GRAPH_STRUCT, lagXMax, lastFillTime);
ORDERED(RECT_STRUCT, relY, outline);
ORDERED(RECT_STRUCT, antialias, strokeStyle);
ORDERED(RECT_STRUCT, stipplePattern, fillStyle);
ORDERED(RECT_STRUCT, fillStyle, patternBits);
ORDERED(POLY_STRUCT, fillA, coords);
ORDERED(POLY_STRUCT, glList, strokeStyle);
ORDERED(POLY_STRUCT, strokeStyle, stippleFactor);
ORDERED(POLY_STRUCT, stipplePattern, fillStyle);
ORDERED(POLY_STRUCT, fillStyle, patternBits);
ORDERED(CIRCLE_STRUCT, localMaxY, rx);
ORDERED(CIRCLE_STRUCT, end, matrix);
ORDERED(CIRCLE_STRUCT, stipplePattern, fillStyle);
ORDERED(CIRCLE_STRUCT, patternBits, oldSize);
ORDERED(TEXT_STRUCT, align, font);
ORDERED(TEXT_STRUCT, style, underline);
ORDERED(TEXT_STRUCT, displaySize, fontId);
ORDERED(TEXT_STRUCT, fontId, cornerX);
ORDERED(TEXT_STRUCT, matrix, pattern);
ORDERED(TEXT_STRUCT, color, fillColor);
ORDERED(TEXT_STRUCT, fontKind, lineWidth);
ORDERED(TEXT_STRUCT, antialias, strokeStyle);
ORDERED(TEXT_STRUCT, stipplePattern, fillStyle);
ORDERED(TEXT_STRUCT, fillStyle, patternBits);
ORDERED(LINE_STRUCT, localY2, lineWidth);
ORDERED(LINE_STRUCT, antialias, strokeStyle);
ORDERED(IMAGE_STRUCT, drawY, pixelWidth);
ORDERED(IMAGE_STRUCT, texture, pattern);
ORDERED(IMAGE_STRUCT, bitmap, fillStyle);
ORDERED(IMAGE_STRUCT, fillStyle, patternBits);
ORDERED(BUTTON_STRUCT, drawY, faceColor);
ORDERED(BUTTON_STRUCT, lightColor, darkColor);
ORDERED(BUTTON_STRUCT, bevel, pressed);
ORDERED(SLIDER_STRUCT, faceColor, darkColor);
ORDERED(SLIDER_STRUCT, darkColor, lightColor);
ORDERED(SLIDER_STRUCT, knobHalfHeight, sliderInt);
ORDERED(SLIDER_STRUCT, sliderInt, sliderFloat);
ORDERED(SCISSOR_STRUCT, cornerY, drawX);
// Draw parameters as the view runtime fills them: zoom, then three ints.
static_assert(offsetof(DRAW_PARA_STRUCT, zoom) == 0 && offsetof(DRAW_PARA_STRUCT, scissorType) == 4 &&
                  offsetof(DRAW_PARA_STRUCT, depthOffset) == 8 && offsetof(DRAW_PARA_STRUCT, lineScaling) == 12,
              "draw parameters");
ORDERED(DD_VAR_STRUCT, name, para);
ORDERED(DD_VAR_STRUCT, next, defaultText);
ORDERED(DD_VAR_STRUCT, defaultText, setPending);
ORDERED(DD_DATA_TYPE_STRUCT, privateData, vddInit);
ORDERED(DD_DATA_TYPE_STRUCT, logMsgData, variables);
ORDERED(DD_DATA_TYPE_STRUCT, version, fnVersion);
ORDERED(DD_VAR_STRUCT, setPending, moduleData);
ORDERED(DD_VAR_STRUCT, moduleData, previousText);
ORDERED(DD_VAR_STRUCT, previousText, paraAlloc);
static_assert(sizeof(DD_VAR_STRUCT::previousText) == 256, "whole text of the last exchange");
ORDERED(DD_DATA_TYPE_STRUCT, fnCallbackVar, prev);
ORDERED(DD_DATA_TYPE_STRUCT, next, paraAlloc);
static_assert(offsetof(DD_PARA_STRUCT, value) == 0, "parameter value first");
ORDERED(DD_PARA_STRUCT, value, text);
ORDERED(DD_PARA_STRUCT, text, capacity);
static_assert(offsetof(DD_OPTION_STRUCT, kind) == 0, "option kind first");
ORDERED(DD_OPTION_STRUCT, label, flags);
ORDERED(DD_OPTION_STRUCT, choiceCount, choices);
ORDERED(vdView_Struct, config, elements);
ORDERED(vdView_Struct, variables, mutex);
ORDERED(vdView_Struct, previousEvent, displayList);
ORDERED(HASH_STRUCT, slots, vacated);
// Expression engine: tokens by value with a 256-byte name.
static_assert(offsetof(T_Token, kind) == 0 && sizeof(T_Token::name) == 256, "token");
ORDERED(T_Token, kind, value);
ORDERED(T_Token, value, function);
ORDERED(T_Token, function, name);
ORDERED(T_Token, name, variable);
static_assert(offsetof(T_Stack, count) == 0, "stack count first");
ORDERED(T_Stack, count, readPosition);
ORDERED(T_Stack, readPosition, capacity);
ORDERED(T_Stack, capacity, items);
static_assert(offsetof(T_Parser, position) == 0, "parser position first");
ORDERED(T_Parser, position, text);
ORDERED(T_Parser, text, current);
ORDERED(T_Parser, current, readData);
ORDERED(T_Parser, readData, read);
ORDERED(T_Parser, read, operators);
ORDERED(T_Parser, operators, output);
static_assert(offsetof(T_Texture, count) == 0 && sizeof(T_Texture::u) == 4 * sizeof(float), "texture record");
ORDERED(T_Texture, height, paddedWidth);
ORDERED(T_Texture, paddedHeight, pixels);
ORDERED(T_Texture, pixels, u);
ORDERED(T_Texture, v, name);

// The public attribute record: 776 bytes of 32-bit words (word n at byte
// 4n) and the text at bytes 336 to 591.
#define WORD(field, n) static_assert(offsetof(OBJ_ATTR_STRUCT, field) == 4 * (n), "OBJ_ATTR_STRUCT word " #n)
static_assert(sizeof(OBJ_ATTR_STRUCT) == 776, "OBJ_ATTR_STRUCT size");
WORD(mask, 0);
WORD(x, 3);
WORD(y, 4);
WORD(width, 5);
WORD(height, 6);
WORD(lineStyle, 7);
WORD(lineWidth, 8);
WORD(antialias, 9);
WORD(outline, 10);
WORD(fill, 11);
WORD(lineColor, 12);
WORD(fillColor, 16);
WORD(unused2, 20);
static_assert(offsetof(OBJ_ATTR_STRUCT, text) == 336 && sizeof(OBJ_ATTR_STRUCT::text) == 256, "attribute text");
WORD(tickX, 149);
WORD(tickXAuto, 150);
WORD(tickXSpace, 151);
WORD(tickXSub, 152);
WORD(tickY, 153);
WORD(tickYR, 154);
WORD(tickYAuto, 155);
WORD(tickYSpace, 156);
WORD(tickYSub, 157);
WORD(labelX, 158);
WORD(labelY, 159);
WORD(labelYR, 160);
WORD(gridX, 161);
WORD(gridXAuto, 162);
WORD(gridXSpace, 163);
WORD(gridY, 164);
WORD(gridYAuto, 165);
WORD(gridYSpace, 166);
WORD(outlineColor, 167);
WORD(gridColor, 171);
WORD(gridStyleIndex, 175);
WORD(rate, 176);
WORD(samples, 177);
WORD(autoscale, 178);
WORD(minSpreadY, 179);
WORD(ymin, 180);
WORD(ymax, 181);
WORD(autoscaleX, 182);
WORD(minSpreadX, 183);
WORD(xmin, 184);
WORD(xmax, 185);
WORD(reserved2, 186);
WORD(reserved1, 187);
WORD(labelFixX, 188);
WORD(labelFixY, 189);
WORD(labelXMin, 190);
WORD(labelXMax, 191);
WORD(labelYMin, 192);
WORD(labelYMax, 193);
#undef WORD

} // namespace
