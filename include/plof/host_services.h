/* The host services the module fetches through the global-service function.
 *
 * Each record's operations are addressed by position; positions the module
 * does not use are kept as `unused` slots so that the positions stay those of
 * the host. Records are owned by the host and stay valid while it runs. */
#ifndef PLOF_HOST_SERVICES_H
#define PLOF_HOST_SERVICES_H

#include "abi.h"

PLOF_EXTERN_C_BEGIN

#define PLOF_SERVICE_OBJECT_INFO "LW Object Info"
#define PLOF_SERVICE_OBJECT_ACCESS "LWObjectAccess"
#define PLOF_SERVICE_ITEM_INFO "LW Item Info"
#define PLOF_SERVICE_MESSAGES "Info Messages"
#define PLOF_SERVICE_FILE_REQUEST "File Request"
#define PLOF_SERVICE_DIRECTORY_INFO "Directory Info"
#define PLOF_SERVICE_PANELS "LWPanelServices"

typedef void (*PlofUnusedOperation)(void);

/* "LW Object Info". */
typedef struct PlofObjectInfo {
    /* 1st: the value from which "LWObjectAccess" makes the item's point-access handle. */
    void *(*meshSource)(PlofItemId item);
    /* 2nd: the number of points of the item's object (0 for an item without points). */
    int32_t (*pointCount)(PlofItemId item);
} PlofObjectInfo;

/* "LWObjectAccess". */
typedef struct PlofObjectAccess {
    /* 1st: the point-access handle for a value from PlofObjectInfo.meshSource. */
    void *(*accessHandle)(void *meshSource);
    PlofUnusedOperation unused2, unused3, unused4, unused5;
    /* 6th: the position of point `point` in object coordinates, three floats
     * owned by the host; null when the handle or the point is not valid. */
    const float *(*pointPosition)(void *handle, int32_t point);
} PlofObjectAccess;

/* Item kinds and parameter codes of "LW Item Info". */
#define PLOF_ITEM_OBJECT 0
#define PLOF_PARAM_RIGHT 2      /* the item's own X axis in world space */
#define PLOF_PARAM_UP 3         /* the item's own Y axis in world space */
#define PLOF_PARAM_FORWARD 4    /* the item's own Z axis in world space */
#define PLOF_PARAM_W_POSITION 8 /* the item's position in world space */

/* "LW Item Info". */
typedef struct PlofItemInfo {
    /* 1st: the first item of `kind` (0: objects) under `parent` (0: any), or 0. */
    PlofItemId (*first)(int32_t kind, PlofItemId parent);
    /* 2nd: the item after `item` in the host's order, or 0. */
    PlofItemId (*next)(PlofItemId item);
    PlofUnusedOperation unused3, unused4, unused5, unused6, unused7, unused8;
    /* 9th: the item's name, owned by the host; "" for an unknown item. */
    const char *(*name)(PlofItemId item);
    /* 10th: fills `vector` with parameter `code` of `item` at `time` seconds. */
    void (*param)(PlofItemId item, int32_t code, double time, double vector[3]);
} PlofItemInfo;

/* "Info Messages". */
typedef struct PlofMessages {
    /* 1st: an informational message (not used by the module). */
    void (*info)(const char *first, const char *second);
    /* 2nd: an error message; `second` may be null. */
    void (*error)(const char *first, const char *second);
} PlofMessages;

/* "File Request": the host's file dialog. `nameBuffer` and `pathBuffer` hold
 * the suggested name and directory; on a choice the file's full path is
 * written into `resultBuffer` (of `size` bytes, NUL-terminated). Returns a
 * value above 0 when a file was chosen, 0 or less otherwise. */
typedef struct PlofFileRequest {
    int32_t (*request)(const char *title, char *nameBuffer, char *pathBuffer, char *resultBuffer, int32_t size);
} PlofFileRequest;

/* The kinds of directory the module asks "Directory Info" for. */
#define PLOF_DIRECTORY_OBJECTS "Objects"
#define PLOF_DIRECTORY_SCENES "Scenes"

/* "Directory Info": the host's directory of a kind (PLOF_DIRECTORY_OBJECTS,
 * PLOF_DIRECTORY_SCENES), owned by the host; null for an unknown kind. */
typedef struct PlofDirectoryInfo {
    const char *(*directory)(const char *kind);
} PlofDirectoryInfo;

PLOF_EXTERN_C_END

#endif
