#pragma once
// The GUI library: its settings, the registry of datasets, the GUI cursor and the macro
// callback, and every header of the library.
//
// The setters hold when called before init, and init keeps them.

#include "morvec/Vector.h"
#include "nimboui/Animators.h"
#include "nimboui/CompositeImage.h"
#include "nimboui/Dataset.h"
#include "nimboui/EditBox.h"
#include "nimboui/Exception.h"
#include "nimboui/Image.h"
#include "nimboui/ImageBox.h"
#include "nimboui/ImageButton.h"
#include "nimboui/Label.h"
#include "nimboui/Object.h"
#include "nimboui/RamTexture.h"
#include "nimboui/RotationImageBox.h"
#include "nimboui/TextButton.h"
#include "nimboui/TextKey.h"
#include "nimboui/Texture.h"
#include "vessot/String.h"

#include <functional>
#include <vector>

namespace nimboui {

using vessot::String;

// Answers the text for a whole macro token, "$" included.
using MacroCallback = std::function<String(const String&)>;

void init();
// Deletes every registered dataset. Never calls the text renderer (destroyed before).
void destroy();
bool isInitialized();

// Units per texture pixel for images of datasets loaded afterwards (1 by default).
void setDefaultScale(float scale);
float getDefaultScale();

// The language code of the text tables; "" is the default language.
void setLocalization(const String& code);
String getLocalization();

// Makes every texture of datasets loaded afterwards load on first use.
void setForcedDynamicLoading(bool forced);
bool isForcedDynamicLoading();

// Seconds an on-demand texture stays loaded without being drawn (60 by default).
void setTextureIdleUnloadTime(float seconds);
float getTextureIdleUnloadTime();

// Advances the textures that no dataset holds (those made by code); each dataset advances its
// own with Dataset::updateTextures, so none is counted twice.
void updateTextures(float dt);

// Expands file attributes of definitions that begin with "$".
void setMacroCallback(MacroCallback callback);
// The callback's answer for a text beginning with "$"; other texts, or no callback: unchanged.
String expandMacro(const String& text);

// The dataset registered under the name, or null.
Dataset* getDatasetByName(const String& name);
std::vector<Dataset*> getDatasets();

// The GUI cursor, in virtual-screen units.
void setCursorPosition(const morvec::Vector2& position);
void setCursorPosition(float x, float y);
morvec::Vector2 getCursorPosition();

} // namespace nimboui
