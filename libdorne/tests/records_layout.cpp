// The shared records keep the field order and fixed text sizes that view
// files, modules and callers of the flat interface rely on. Checked while
// compiling.
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
ORDERED(DD_VAR_STRUCT, name, para);
ORDERED(DD_VAR_STRUCT, next, defaultText);
ORDERED(DD_VAR_STRUCT, defaultText, setPending);
ORDERED(DD_DATA_TYPE_STRUCT, privateData, vddInit);
ORDERED(DD_DATA_TYPE_STRUCT, logMsgData, variables);
ORDERED(DD_DATA_TYPE_STRUCT, version, fnVersion);
ORDERED(DD_DATA_TYPE_STRUCT, fnCallbackVar, prev);
ORDERED(vdView_Struct, config, elements);
ORDERED(vdView_Struct, variables, mutex);
ORDERED(vdView_Struct, previousEvent, displayList);
ORDERED(HASH_STRUCT, slots, vacated);
static_assert(offsetof(T_Texture, count) == 0 && sizeof(T_Texture::u) == 4 * sizeof(float), "texture record");
ORDERED(T_Texture, height, paddedWidth);
ORDERED(T_Texture, paddedHeight, pixels);
ORDERED(T_Texture, pixels, u);
ORDERED(T_Texture, v, name);

} // namespace
