/* "LWPanelServices": panels, controls and pixel drawing, as the host's panel
 * plug-in provides them to the module.
 *
 * The module builds a panel, adds controls of named kinds, places them and
 * sets their values through typed PlofControlValue records, then opens the
 * panel, which blocks until the user confirms or cancels; events and the draw
 * callback run inside that call. Panels and controls are owned by the host;
 * a control goes with its panel. */
#ifndef PLOF_PANEL_SERVICES_H
#define PLOF_PANEL_SERVICES_H

#include "abi.h"

PLOF_EXTERN_C_BEGIN

typedef struct PlofPanelRecord *PlofPanel;
typedef struct PlofControlRecord *PlofControl;

/* Value type codes of PlofControlValue. */
#define PLOF_VALUE_TEXT 1
#define PLOF_VALUE_INTEGER 2
#define PLOF_VALUE_FLOAT 3
#define PLOF_VALUE_INT_VECTOR 5
#define PLOF_VALUE_FLOAT_VECTOR 6

/* A control kind: the kind string handed to addControl, and the type code
 * the module writes first in that control's description (the words after it
 * are listed with each kind below). */
typedef struct PlofControlKind {
    const char *name;
    int32_t type;
} PlofControlKind;

/* The control kinds, each an initializer of PlofControlKind. */
#define PLOF_KIND_FLOAT \
    { "FloatControl", 3 } /* value: one double */
#define PLOF_KIND_NUMBER \
    { "NumControl", 2 } /* value: one integer */
#define PLOF_KIND_BUTTON \
    { "ButtonControl", 2 } /* pressed; may carry a text */
#define PLOF_KIND_BOOL \
    { "BoolControl", 8 } /* value: an integer, on or off */
#define PLOF_KIND_DRAG_BUTTON \
    { "DragButtonControl", 19 } /* words 0, -1; value: (0, d, 0) */
#define PLOF_KIND_SLIDER \
    { "SliderControl", 15 } /* words width, minimum, maximum */
#define PLOF_KIND_ITEM_LIST \
    { "LWListControl", 16 } /* word: the global function; value: an item */
#define PLOF_KIND_FILE \
    { "FileControl", 1 } /* word: width in characters; value: a text */
#define PLOF_KIND_FLOAT_VECTOR \
    { "FVecControl", 6 } /* value: three doubles */
#define PLOF_KIND_LIST_BOX \
    { "ListBoxControl", 18 } /* words width, rows, 0, count and name callbacks */

/* A value crossing to or from the host. The type code says which payload is
 * meaningful. An integer payload is one word: 32 bits on the real target and
 * pointer-sized natively, because it also carries references and functions.
 * For text, `length` is the text's length when setting and the buffer's
 * capacity when getting; the host writes at most length bytes, NUL included. */
typedef struct PlofControlValue {
    int32_t type;
    union {
        struct {
            char *buffer;
            int32_t length;
        } text;
        intptr_t integer;
        double number;
        int32_t integers[3];
        double numbers[3];
    } value;
} PlofControlValue;

/* Describes a control to add: the type code, then up to five words whose
 * meaning depends on the kind (a slider's width, minimum and maximum; a list
 * box's width, rows, a zero and its count and name callbacks; ...). */
typedef struct PlofControlDescription {
    int32_t type;
    intptr_t words[5];
} PlofControlDescription;

/* Control attribute codes. */
#define PLOF_CONTROL_X 0
#define PLOF_CONTROL_Y 1
#define PLOF_CONTROL_VALUE 4
#define PLOF_CONTROL_LABEL_WIDTH 9 /* read only */
#define PLOF_CONTROL_EVENT 14      /* integer value holding a PlofEventFunc */
#define PLOF_CONTROL_USER_DATA 16  /* integer value holding the reference */

/* Panel attribute codes. */
#define PLOF_PANEL_HEIGHT 3     /* value: pointer to an int32_t */
#define PLOF_PANEL_DRAW 7       /* value: the PlofDrawFunc itself */
#define PLOF_PANEL_USER_DATA 12 /* value: the reference itself */

#define PLOF_OPEN_FLAGS 7

/* A control's event, called by the host as (control, the control's user data)
 * whenever the user changes or presses it. */
typedef void (*PlofEventFunc)(PlofControl control, void *userData);
/* The panel's draw callback, called as (panel, the panel's user data, mode)
 * whenever the host draws the panel, at least once on opening. */
typedef void (*PlofDrawFunc)(PlofPanel panel, void *userData, int32_t mode);
/* A list box's entry count and entry name, given the list box's data word. */
typedef int32_t (*PlofListCountFunc)(void *data);
typedef const char *(*PlofListNameFunc)(void *data, int32_t index);

typedef struct PlofPanelServices {
    /* One word of user data that the module may set and read. */
    void *userData;
    /* A new panel with a title, or null when it cannot be made. */
    PlofPanel (*createPanel)(const char *title, struct PlofPanelServices *services);
    /* Destroys the panel and every control of it. */
    void (*destroyPanel)(PlofPanel panel);
    /* Shows the panel and blocks until the user closes it; nonzero when the
     * user confirmed, 0 when cancelled. */
    int32_t (*openPanel)(PlofPanel panel, int32_t flags);
    void (*setPanelAttribute)(PlofPanel panel, int32_t code, void *value);
    /* Adds a control of `kind` ("NumControl", "SliderControl", ...) with a
     * label; null when it cannot be made. The description is read during the
     * call only. */
    PlofControl (*addControl)(PlofPanel panel, const char *kind, const PlofControlDescription *description,
                              const char *label);
    void (*getControlAttribute)(PlofControl control, int32_t code, PlofControlValue *value);
    void (*setControlAttribute)(PlofControl control, int32_t code, PlofControlValue *value);
    /* Draws one pixel of a host colour code at panel coordinates x, y. */
    void (*drawPixel)(PlofPanel panel, int32_t colour, int32_t x, int32_t y);
} PlofPanelServices;

#if PLOF_TARGET_32BIT
PLOF_STATIC_ASSERT(sizeof(PlofControlDescription) == 24, "type code and five words");
PLOF_STATIC_ASSERT(sizeof(PlofPanelServices) == 36, "user data word and eight operations");
#endif

PLOF_EXTERN_C_END

#endif
