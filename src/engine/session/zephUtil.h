#pragma once
// Small helpers of the engine: the user folder, path and colour strings.

#include "vessot/String.h"

#include <cstdint>

using vessot::String;

namespace zephUtil {

// The part of a path before its last "/" (or, without one, before its last "\"); "" when neither.
String getDirectory(const String& path);
// "0xRRGGBB" or "0xAARRGGBB", the "0x" optional; any other length throws nimboui::_GenericException.
void parseColor(const String& text, uint8_t& red, uint8_t& green, uint8_t& blue, uint8_t& alpha);
// An area id written as a hexadecimal colour, "0x" optional: one to eight hex digits. False (id left
// alone) for any other text.
bool parseAreaId(const String& text, uint32_t& id);
String dotString();
// A fraction of full opacity (or brightness) as a byte: times 255, truncated, clamped to 0..255, so
// a value a little above 1 never wraps round to 0; NaN reads 0.
uint8_t alphaByte(float fraction);
// The per-user folder (made once from the maker's name and the parameter "title"); it ends with "/".
// A title that would lead out of the maker's folder, and a folder that cannot be made, throw.
String getUserDataPath();
// "" when a name read from data stays inside the folder it is joined to; else the refusal naming the
// key: "'KEY' 'NAME' must name WHAT (no absolute path, no '..')".
String leavesFolder(const String& key, const String& name, const String& what);
// Reads a file of the player's whole into text. False when it does not exist, and when it cannot be
// read or is refused as damaged (not a regular file, or larger than any real one): that is logged
// with the file and the reason, the file is left as it is and the game goes on without it.
bool readPlayerFile(const String& path, String& text);
// Writes a file of the player's atomically. A failure is logged with the file and the reason and
// answers false, with that reason in *reason when one is given: the old file stays whole and the game
// goes on.
bool writePlayerFile(const String& path, const String& content, String* reason = nullptr);
// Whether the window of that native handle has exactly this title (at most 511 characters compared).
bool windowTitleEquals(unsigned long handle, const String& title);

} // namespace zephUtil
