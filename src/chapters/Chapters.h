#pragma once
// The game's chapters.

namespace Chapters {

// Creates every chapter of the game (not loaded) with its scene-file filter.
void createAll();

} // namespace Chapters
