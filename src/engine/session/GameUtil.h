#pragma once
// Small services of the game code: the active scene's name, the game log channel, text files with
// a byte-order mark, the scene-file filter, unloading the story chapters and the tester mode.

#include "vessot/String.h"

using vessot::String;

namespace GameUtil {

// The active scene's name; "" before the first scene.
String getActiveSceneName();
// The name of the active scene's chapter (its dataset); "" before the first scene.
String getActiveChapterName();
String getMoreGamesUrl();
bool isTesterMode();
// Writes on the game code's log channel "vorne".
void logMessage(const String& text);
// The file's text after its three-byte byte-order mark, if it begins with one; "error" when the file
// does not exist or cannot be read (which is logged).
String readTextFile(const String& path);
// The bytes EF BB BF and the text, written atomically; a failed write is logged and answers false.
bool writeTextFile(const String& text, const String& path);
// The chapter's scene-file filter: ".pc.scene" files are skipped on the "mobile" interface and
// ".mobile.scene" files on the others.
bool isSceneFileForPlatform(const String& fileName);
void unloadAllChapters();
// The text without "[" and "]": text from outside the game (a save's date, a typed name) shown in a
// label can then start no text tag (an unknown font tag fails the draw).
String withoutTagBrackets(const String& text);

} // namespace GameUtil
