#pragma once
// The verb coin; what the engine calls is declared with the interface's services.

#include "engine/InterfaceServices.h"
