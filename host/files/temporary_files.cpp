#include "host/files/temporary_files.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace plof::host {

namespace {

// Lock-free pointers, so that a handler interrupting a change sees a slot
// either empty or holding a whole path.
std::atomic<char *> gSlots[kTemporarySlots];

}  // namespace

NotedTemporary::NotedTemporary(const std::string &path) {
    char *copy = static_cast<char *>(std::malloc(path.size() + 1));
    if (copy == nullptr) return;
    std::memcpy(copy, path.c_str(), path.size() + 1);
    for (std::size_t slot = 0; slot < kTemporarySlots; ++slot) {
        char *empty = nullptr;
        if (gSlots[slot].compare_exchange_strong(empty, copy)) {
            slot_ = slot;
            return;
        }
    }
    std::free(copy);
}

NotedTemporary::NotedTemporary(NotedTemporary &&other) noexcept : slot_(std::exchange(other.slot_, kTemporarySlots)) {}

NotedTemporary &NotedTemporary::operator=(NotedTemporary &&other) noexcept {
    if (this != &other) {
        forget();
        slot_ = std::exchange(other.slot_, kTemporarySlots);
    }
    return *this;
}

void NotedTemporary::forget() {
    if (slot_ == kTemporarySlots) return;
    std::free(gSlots[slot_].exchange(nullptr));
    slot_ = kTemporarySlots;
}

const char *notedTemporary(std::size_t slot) { return gSlots[slot].load(); }

}  // namespace plof::host
