/* The largest scene bake the module holds.
 *
 * A bake samples every particle at frames 0, step, 2 x step, ... below the
 * frame count and keeps every sample until it writes the scene. Before it
 * samples or allocates anything, the module computes
 *
 *     particle-samples = particles x sampled frames,
 *     sampled frames   = (frame count - 1) / step + 1 for a frame count
 *                        above 0 (integer division; none otherwise),
 *
 * with a step below 1 counted as 1, in arithmetic that cannot overflow. A
 * bake of more than PLOF_BAKE_MAX_SAMPLES particle-samples is refused as a
 * memory failure is: no scene is written and the instance is left as it was.
 * The host, which sees only that no scene appeared, can compute the same
 * product to tell the user that the bake of P particles x F frames is too
 * large.
 *
 * Why 16 000 000: the module runs inside a 32-bit Windows host, a process
 * of 2 GiB of address space that the host itself largely fills. A bake
 * holds 33 bytes per particle-sample (a position and a flight time, four
 * doubles, in one contiguous array, plus a hidden flag), so the largest bake
 * asks for 528 000 000 bytes, within a quarter of that address space, with
 * the largest block 512 000 000 bytes. At the 100 to 130 bytes of scene
 * text measured per particle-sample, its scene stays below 2 GiB, the most
 * a signed 32-bit file offset reaches. */
#ifndef PLOF_BAKE_LIMIT_H
#define PLOF_BAKE_LIMIT_H

#define PLOF_BAKE_MAX_SAMPLES 16000000

#endif
