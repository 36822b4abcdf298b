#pragma once
// The bundled story as one path, in segments. Each segment starts from the state the previous one
// left, plays through its chapter as a player would, and ends checking the story's variables, items
// and scene there.

#include "StoryRun.h"

void playFrontEndIntoShip(StoryRun& run); // the logo, a first profile, a new game and the intro: ship.Cockpit
void playShipToJama(StoryRun& run);       // the ship's first puzzles, down to Jama Spacea
void playJama(StoryRun& run);             // Jama Spacea, back aboard the ship
void playShipToSchminkell(StoryRun& run); // the course set, on to Schminkell-7
void playSchminkell(StoryRun& run);       // Schminkell-7, on to Varion
void playVarion(StoryRun& run);           // Varion, on to Terra Nuova
void playTerraNuovaToEnd(StoryRun& run);  // Terra Nuova to the story's end

// The chapters' starts in the order of the path: the slot each is saved in, its name, and the
// segments that follow it.
struct ChapterStart {
    int slot;
    const char* name;
    void (*play)(StoryRun&);
};
