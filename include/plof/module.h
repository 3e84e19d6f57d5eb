/* The module descriptor: the one symbol the host looks up in a plug-in file.
 *
 * The module exports a PlofModuleDescriptor under the C name "_mod_descrip".
 * The host checks the synchronisation word, calls startup once after loading,
 * activates servers from the server list when it needs them, and calls
 * shutdown once before unloading. Every field is one 32-bit word on the
 * 32-bit target. */
#ifndef PLOF_MODULE_H
#define PLOF_MODULE_H

#include "abi.h"

PLOF_EXTERN_C_BEGIN

#define PLOF_MODULE_SYNC 0x04121994u
#define PLOF_MODULE_VERSION 2u
#define PLOF_MODULE_MACHINE 0x300u
#define PLOF_DESCRIPTOR_SYMBOL "_mod_descrip"

#define PLOF_CLASS_DISPLACEMENT_HANDLER "DisplacementHandler"
#define PLOF_CLASS_DISPLACEMENT_INTERFACE "DisplacementInterface"

/* The name of the effect's servers of both classes, as scenes name it too
 * ("Plugin DisplacementHandler 1 PLOF!"). */
#define PLOF_SERVER_NAME "PLOF!"

/* Activation results, as the host defines them. */
#define PLOF_ACTIVATE_OK 0
#define PLOF_ACTIVATE_BAD_VERSION 1
#define PLOF_ACTIVATE_BAD_SERVICES 2

/* Activates one server. Called by the host on its own thread whenever it needs
 * the server. `local` is the server class's record: the handler operation
 * table to fill (DisplacementHandler) or the instance to edit
 * (DisplacementInterface). Returns one of the PLOF_ACTIVATE_* results. */
typedef int32_t (*PlofActivateFunc)(int32_t version, PlofGlobalFunc global, void *local);

/* One entry of the server list; the list ends with an entry of three nulls. */
typedef struct PlofServerRecord {
    const char *className;
    const char *serverName;
    PlofActivateFunc activate;
} PlofServerRecord;

typedef struct PlofModuleDescriptor {
    uint32_t sync;    /* PLOF_MODULE_SYNC */
    uint32_t version; /* PLOF_MODULE_VERSION */
    uint32_t machine; /* PLOF_MODULE_MACHINE */
    /* Called once after loading; returns a non-null value the host keeps. */
    void *(*startup)(void);
    /* Called once before unloading; takes nothing the module uses. */
    void (*shutdown)(void *serverData);
    /* The servers, ended by a record of three nulls. Owned by the module. */
    const PlofServerRecord *servers;
} PlofModuleDescriptor;

#if PLOF_TARGET_32BIT
PLOF_STATIC_ASSERT(sizeof(PlofModuleDescriptor) == 24, "descriptor: six 32-bit words");
PLOF_STATIC_ASSERT(sizeof(PlofServerRecord) == 12, "server record: three 32-bit words");
#endif

PLOF_EXTERN_C_END

#endif
