#pragma once
// The chapter "varion": the moon base; it has no code of its own, only its hints' route graph.

namespace Varion {

// Creates the chapter, without a registration callback, and adds its passages to the route graph.
void createChapter();

} // namespace Varion
