#pragma once
// What the engine asks of the game's content (src/chapters and the "ui" chapter's registration):
// the engine reaches the content only through these declarations.

class Chapter;

namespace Chapters {

// Creates every chapter of the game (not loaded) with its scene-file filter.
void createAll();

} // namespace Chapters

namespace UserInterface {

// The pre-load callback of the "ui" chapter: registers the interface's own scenes and callbacks.
void registerScenes(Chapter* chapter);

} // namespace UserInterface
