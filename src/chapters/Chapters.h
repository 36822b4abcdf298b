#pragma once
// The game's chapters; what the engine calls is declared with the content's services.

#include "engine/ContentServices.h"
