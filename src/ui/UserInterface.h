#pragma once
// The "ui" chapter's own scenes and callbacks, and the menus the keyboard closes; what the engine
// calls is declared with the interface's and the content's services.

#include "engine/ContentServices.h"
#include "engine/InterfaceServices.h"
