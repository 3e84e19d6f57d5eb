// The module descriptor, the one symbol exported from plof.p. The host looks
// it up by the C name "_mod_descrip" (PLOF_DESCRIPTOR_SYMBOL), checks its
// synchronisation word and reaches everything else through its start-up
// operation and its server list: the DisplacementHandler server
// (activateHandler) and the DisplacementInterface server (openOptionsPanel),
// both named "PLOF!".
#pragma once

#include "plof/module.h"

#if defined(_WIN32)
#define PLOF_EXPORT __declspec(dllexport)
#else
#define PLOF_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PLOF_EXPORT const PlofModuleDescriptor _mod_descrip;
