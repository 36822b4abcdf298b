#pragma once
// The conversation panel and its reply menu; what the engine calls is declared with the interface's
// services.

#include "engine/InterfaceServices.h"
