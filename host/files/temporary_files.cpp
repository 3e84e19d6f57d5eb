#include "host/files/temporary_files.h"

#include <cstring>
#include <utility>

#include "host/base/host_context.h"

namespace plof::host {

std::size_t TemporaryFiles::note(std::string_view path) noexcept {
    if (path.size() > kLongestTemporaryPath) return kTemporarySlots;
    for (std::size_t slot = 0; slot < kTemporarySlots; ++slot) {
        int free = kFree;
        if (!slots_[slot].state.compare_exchange_strong(free, kWriting)) continue;
        std::memcpy(slots_[slot].path.data(), path.data(), path.size());
        slots_[slot].path[path.size()] = '\0';
        // Released: a handler that sees the slot noted sees its whole path.
        slots_[slot].state.store(kNoted, std::memory_order_release);
        return slot;
    }
    return kTemporarySlots;
}

void TemporaryFiles::forget(std::size_t slot) noexcept {
    if (slot >= kTemporarySlots) return;
    int noted = kNoted;
    slots_[slot].state.compare_exchange_strong(noted, kFree);
}

void TemporaryFiles::removeAll(void (*remove)(const char *path)) noexcept {
    for (Slot &slot : slots_) {
        int noted = kNoted;
        if (!slot.state.compare_exchange_strong(noted, kRemoving, std::memory_order_acquire)) continue;
        remove(slot.path.data());
        slot.state.store(kFree, std::memory_order_release);
    }
}

const char *TemporaryFiles::noted(std::size_t slot) const noexcept {
    if (slot >= kTemporarySlots || slots_[slot].state.load(std::memory_order_acquire) != kNoted) return nullptr;
    return slots_[slot].path.data();
}

NotedTemporary::NotedTemporary(const std::string &path) {
    const HostContext *context = hostContext();
    if (!context || !context->temporaries) return;
    const std::size_t slot = context->temporaries->note(path);
    if (slot == kTemporarySlots) return;
    table_ = context->temporaries;
    slot_ = slot;
}

NotedTemporary::NotedTemporary(NotedTemporary &&other) noexcept
    : table_(std::exchange(other.table_, nullptr)), slot_(std::exchange(other.slot_, kTemporarySlots)) {}

NotedTemporary &NotedTemporary::operator=(NotedTemporary &&other) noexcept {
    if (this != &other) {
        forget();
        table_ = std::exchange(other.table_, nullptr);
        slot_ = std::exchange(other.slot_, kTemporarySlots);
    }
    return *this;
}

void NotedTemporary::forget() {
    if (table_) table_->forget(slot_);
    table_ = nullptr;
    slot_ = kTemporarySlots;
}

}  // namespace plof::host
