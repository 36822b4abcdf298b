#pragma once
// The chapter "terra_nuova": the second chapter's station; it has no code of its own and no hints.

namespace Terra_nuova {

// Creates the chapter, without a registration callback.
void createChapter();

} // namespace Terra_nuova
