#pragma once
// Saving: the character positions before a snapshot, and the autosave.

namespace SaveLoadMenu {

void recordCharacterPositions();
void autoSave();

} // namespace SaveLoadMenu
