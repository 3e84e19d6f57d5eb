#include "host/files/temporary_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "host/base/host_context.h"

namespace plof::host {

void removeNoted(const char *path, Noted what) noexcept {
    if (what == Noted::path) {
        std::remove(path);
        return;
    }
    try {
        namespace fs = std::filesystem;
        const fs::path start(path);
        const std::string nameStart = start.filename().string();
        const fs::path folder = start.has_parent_path() ? start.parent_path() : fs::path(".");
        std::error_code error;
        for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
            if (entry.path().filename().string().rfind(nameStart, 0) != 0 || entry.is_directory(error)) continue;
            fs::remove(entry.path(), error);
        }
    } catch (...) {
        // Out of memory while ending: what is left stays.
    }
}

std::size_t TemporaryFiles::note(std::string_view path, Noted what) noexcept {
    if (path.size() > kLongestTemporaryPath) return kTemporarySlots;
    for (std::size_t slot = 0; slot < kTemporarySlots; ++slot) {
        int free = kFree;
        if (!slots_[slot].state.compare_exchange_strong(free, kWriting)) continue;
        std::memcpy(slots_[slot].path.data(), path.data(), path.size());
        slots_[slot].path[path.size()] = '\0';
        slots_[slot].what = what;
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

void TemporaryFiles::removeAll(void (*remove)(const char *path, Noted what)) noexcept {
    for (Slot &slot : slots_) {
        int noted = kNoted;
        if (!slot.state.compare_exchange_strong(noted, kRemoving, std::memory_order_acquire)) continue;
        remove(slot.path.data(), slot.what);
        slot.state.store(kFree, std::memory_order_release);
    }
}

const char *TemporaryFiles::noted(std::size_t slot) const noexcept {
    if (slot >= kTemporarySlots || slots_[slot].state.load(std::memory_order_acquire) != kNoted) return nullptr;
    return slots_[slot].path.data();
}

NotedTemporary::NotedTemporary(const std::string &path, Noted what) {
    const HostContext *context = hostContext();
    if (!context || !context->temporaries) return;
    const std::size_t slot = context->temporaries->note(path, what);
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
