#pragma once
// The chapter "intro": the approach to the ship where a new game begins; it has no code of its own and no hints.

namespace Intro {

// Creates the chapter, without a registration callback.
void createChapter();

} // namespace Intro
