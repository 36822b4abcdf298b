#pragma once
// The hint button's charge and the hint arrow's timer; what the engine calls is declared with the
// interface's services.

#include "engine/InterfaceServices.h"
