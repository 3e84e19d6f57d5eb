/* The largest bake the module writes.
 *
 * A bake holds one sampled state per particle and sampled frame: the
 * emitter's point count times the number of frames sampled (0, step,
 * 2 x step, ... below the baking panel's frame count). When that product
 * exceeds PLOF_BAKE_MAX_SAMPLES the module writes no scene and leaves the
 * instance as it was, silently, as for any failure of a bake; the host may
 * compare a bake it asked for with this limit to say why no scene appeared. */
#ifndef PLOF_BAKE_LIMIT_H
#define PLOF_BAKE_LIMIT_H

#define PLOF_BAKE_MAX_SAMPLES 16777216

#endif
