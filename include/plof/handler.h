/* The displacement handler: the operation table the module fills for the host,
 * and the records the host hands to those operations.
 *
 * Activating the DisplacementHandler server hands the module a
 * PlofHandlerOperations record to fill. Interface version 1 fills slots 1 to 8
 * with the version-1 forms (no item arguments); version 2 fills all nine.
 * The host calls every operation on its own thread, one call at a time. */
#ifndef PLOF_HANDLER_H
#define PLOF_HANDLER_H

#include "abi.h"

PLOF_EXTERN_C_BEGIN

/* One handler instance per object carrying the effect; owned by the module,
 * held by the host from create to destroy. */
typedef void *PlofInstance;

/* The host's load state. `read` fills `buffer` (of `size` bytes) with the next
 * line of the instance's saved block, without its line end, NUL-terminated and
 * cut to fit. It returns the length of the line, or -1 when the block has no
 * further line (the buffer is then left empty). */
typedef struct PlofLoadState {
    void *data;
    int32_t (*read)(void *data, char *buffer, int32_t size);
} PlofLoadState;

/* The host's save state. `write` stores one line of the instance's block;
 * `length` counts the text and its terminating NUL. */
typedef struct PlofSaveState {
    void *data;
    void (*write)(void *data, const char *text, int32_t length);
} PlofSaveState;

/* Handed to evaluate once per point. `original` is not read by the module;
 * `position` is the point's position in the coordinates that flags selected,
 * read and overwritten in place with the displaced position. */
typedef struct PlofDisplacementAccess {
    double original[3];
    double position[3];
} PlofDisplacementAccess;

/* Flags answers: world coordinates (1) or the object's own (2). */
#define PLOF_FLAGS_WORLD 1
#define PLOF_FLAGS_OBJECT 2

/* Slot 1. Creates the instance for `item` (version 1: item 0). Returns the
 * instance, or null with *errorText set to a static message. */
typedef PlofInstance (*PlofCreateFunc)(const char **errorText, PlofItemId item);
typedef PlofInstance (*PlofCreateV1Func)(const char **errorText);
/* Slot 2. Releases the instance and everything it owns; null is allowed. */
typedef void (*PlofDestroyFunc)(PlofInstance instance);
/* Slot 3. Copies the settings of `from` into `to`, which belongs to `item`
 * (version 1: item 0). Returns null, or an error text owned by the module. */
typedef const char *(*PlofCopyFunc)(PlofInstance from, PlofInstance to, PlofItemId item);
typedef const char *(*PlofCopyV1Func)(PlofInstance from, PlofInstance to);
/* Slots 4 and 5. Read or write the instance's block of lines in the host's
 * scene. Return null (they never fail). */
typedef const char *(*PlofLoadFunc)(PlofInstance instance, const PlofLoadState *state);
typedef const char *(*PlofSaveFunc)(PlofInstance instance, const PlofSaveState *state);
/* Slot 6. Called once per frame, before that frame's evaluate calls. Returns null. */
typedef const char *(*PlofNewTimeFunc)(PlofInstance instance, PlofItemId item, int32_t frame, double time);
/* Slot 7. Called once per point, in point order, after newTime. */
typedef void (*PlofEvaluateFunc)(PlofInstance instance, PlofDisplacementAccess *access);
/* Slot 8. Returns PLOF_FLAGS_WORLD or PLOF_FLAGS_OBJECT. */
typedef int32_t (*PlofFlagsFunc)(PlofInstance instance);
/* Slot 9 (version 2 only). Returns a description line owned by the module,
 * valid until the next call. */
typedef const char *(*PlofDescribeFunc)(PlofInstance instance);

typedef struct PlofHandlerOperations {
    union {
        PlofCreateFunc v2;
        PlofCreateV1Func v1;
    } create;
    PlofDestroyFunc destroy;
    union {
        PlofCopyFunc v2;
        PlofCopyV1Func v1;
    } copy;
    PlofLoadFunc load;
    PlofSaveFunc save;
    PlofNewTimeFunc newTime;
    PlofEvaluateFunc evaluate;
    PlofFlagsFunc flags;
    PlofDescribeFunc describe;
} PlofHandlerOperations;

#if PLOF_TARGET_32BIT
PLOF_STATIC_ASSERT(sizeof(PlofHandlerOperations) == 36, "nine 32-bit slots");
PLOF_STATIC_ASSERT(sizeof(PlofDisplacementAccess) == 48, "two vectors of three doubles");
#endif

PLOF_EXTERN_C_END

#endif
