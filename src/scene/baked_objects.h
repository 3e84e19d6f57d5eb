// The particle objects of one bake: what the simulation gave at each sampled
// frame, and the scene text of each particle's object block written from it.
//
// bakeScene prepares the store (every allocation of the bake happens here,
// before any sampling), records the particles after each update, and writes
// the blocks in particle order once sampling is done. The blocks are byte
// for byte what the document's editing operations (kept with the tests, in
// tests/scene/scene_edits.h) give when each sampled frame adds, for every
// particle, its motion key, its dissolve key and its parent: the sequence
// the baking is defined by, which searches the document for every key.
// Writing the blocks straight from the samples keeps the cost
// proportional to particles x frames.
//
// Relies on the update changing only a particle's position, hidden flag and
// flight time: launch velocity, spin, lifetime and rest position are read
// when the blocks are written.
#pragma once

#include <cstdint>
#include <memory>

#include "instance/handler_instance.h"
#include "scene/scene_document.h"
#include "scene/scene_file_writer.h"

namespace plof {

class BakedObjects {
public:
    // Plans the frames and reserves the store for `instance`'s particles.
    // False when the bake exceeds PLOF_BAKE_MAX_SAMPLES (checked before any
    // allocation), when memory runs out or when an object file name does not
    // fit its "LoadObject " line; nothing may be recorded then.
    bool prepare(const HandlerInstance &instance, const ObjectList &objects, int32_t frameCount);

    // Number of frames to sample, and the k-th of them (0, step, 2 x step, ...).
    int32_t sampleCount() const { return sampleCount_; }
    int32_t frameOf(int32_t sample) const;

    // Keeps what the latest update gave every particle, as sample `sample`.
    // Emitting from the points (OrgEmit), a particle's key adds its point's
    // own place turned by the emitter's axes at the update's time (asked of
    // the host once per sample), where the displacement puts it in play.
    void record(const HandlerInstance &instance, int32_t sample);

    // Writes the object block of every particle, in particle order.
    void writeBlocks(SceneFileWriter &writer, const HandlerInstance &instance) const;

private:
    struct Sample {
        double x, y, z;     // the key's position
        double flightTime;  // seconds since birth
    };

    void writeBlock(SceneFileWriter &writer, const HandlerInstance &instance, int32_t particle) const;
    MotionKey keyOf(const HandlerInstance &instance, int32_t particle, int32_t sample) const;

    int32_t particleCount_ = 0;
    int32_t sampleCount_ = 0;
    int32_t step_ = 1;
    int32_t nameCount_ = 1;
    std::unique_ptr<LineBuffer[]> objectLines_;  // "LoadObject <name>\n" per list entry
    std::unique_ptr<Sample[]> samples_;          // particle-major
    std::unique_ptr<uint8_t[]> hidden_;          // the particle's hidden flag, as samples_
};

}  // namespace plof
