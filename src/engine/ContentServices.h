#pragma once
// What the engine asks of the game's content (src/chapters, the "ui" chapter's registration and the
// minigame scenes that the scene factory makes, each constructed with (chapter, scene name)): the
// engine reaches the content only through these declarations.

#include "minigames/DominoScene.h"
#include "minigames/JigsawScene.h"
#include "minigames/Match2Scene.h"
#include "minigames/RotatorScene.h"
#include "minigames/SequenceScene.h"

class Chapter;

namespace Chapters {

// Creates every chapter of the game (not loaded) with its scene-file filter.
void createAll();

} // namespace Chapters

namespace UserInterface {

// The pre-load callback of the "ui" chapter: registers the interface's own scenes and callbacks.
void registerScenes(Chapter* chapter);

} // namespace UserInterface
