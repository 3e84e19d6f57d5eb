/* Common definitions of the host interface, shared by the module and the host.
 *
 * Everything that crosses between the host and the module is a plain C record
 * or a function pointer declared in these headers. The real host is a 32-bit
 * Windows program: there every pointer and every "word" below is 32 bits. The
 * same headers build natively on 64-bit systems, where pointer-sized words
 * (intptr_t) grow with the pointers and 32-bit fields stay 32 bits. */
#ifndef PLOF_ABI_H
#define PLOF_ABI_H

#include <stdint.h>

#ifdef __cplusplus
#define PLOF_EXTERN_C_BEGIN extern "C" {
#define PLOF_EXTERN_C_END }
#define PLOF_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define PLOF_EXTERN_C_BEGIN
#define PLOF_EXTERN_C_END
#if defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define PLOF_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else
/* C99 has no _Static_assert: an array of negative size stops the build
 * instead. Redeclaring the same extern array is allowed any number of times. */
#define PLOF_STATIC_ASSERT(cond, msg) extern char plof_static_assert[(cond) ? 1 : -1]
#endif
#endif

/* Layout checks that only hold on the real (32-bit) target. */
#if UINTPTR_MAX == 0xFFFFFFFFu
#define PLOF_TARGET_32BIT 1
#else
#define PLOF_TARGET_32BIT 0
#endif

PLOF_EXTERN_C_BEGIN

/* A scene item as the host names it: a 32-bit number, 0 meaning "no item". */
typedef uint32_t PlofItemId;

/* The host's global-service function: called with a service name and 0, it
 * returns the service's record of operations, or null when the host has no
 * service of that name. The record stays valid while the module is loaded. */
typedef void *(*PlofGlobalFunc)(const char *serviceName, int32_t use);

PLOF_EXTERN_C_END

#endif
