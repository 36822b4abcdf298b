#pragma once
// The bridge between the game and the achievements service of the current profile.

#include "vessot/String.h"

using vessot::String;

class Achievements {
public:
    class IdMapper;

    // Builds the service for the profile's achievements file (offline when no mapper is given).
    void createService(const String& achievementsFile, IdMapper* idMapper);
};
