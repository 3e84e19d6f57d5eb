// Temporary files being written, for an interruption to remove.
//
// The host notes each temporary file while it exists (its own output's, by
// its path) and, while the module bakes or saves settings into a file the
// host asked for, the start of the name the module's temporary file gets
// (".NAME.tmp-<process id>-", src/file/safe_file_writer.h: the rest is
// random); it forgets each once the file is in place or removed. An
// interruption that ends the program (process_signals.h) removes every file
// noted then, and every file whose path starts with a noted start.
//
// The removal may run on any thread (the one that waits for signals, or a
// handler's), while another notes or forgets a file. So the table is fixed:
// each slot holds its path in a buffer of its own and an atomic state (free,
// being written, noted, being removed). The removal takes only noted paths,
// claiming each before it reads it; a slot it claimed is neither freed nor
// rewritten until it has done with it. A file is not noted when every slot
// is taken or its path does not fit a slot (it is still removed on every
// ordinary failure).
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plof::host {

inline constexpr std::size_t kTemporarySlots = 64;
inline constexpr std::size_t kLongestTemporaryPath = 1023;

// What a noted path stands for: that file, or every file whose path starts
// with it (in the folder its last part is in).
enum class Noted : uint8_t { path, prefix };

// Removes what `path` stands for, as an interruption does: the file, or the
// files whose names start with its last part. Not for a signal handler
// (it lists a folder); nothing it meets stops it.
void removeNoted(const char *path, Noted what) noexcept;

class TemporaryFiles {
public:
    // Notes `path`; the slot it is noted in, or kTemporarySlots when it is not.
    std::size_t note(std::string_view path, Noted what = Noted::path) noexcept;

    // Forgets the path noted in `slot`. A path the handler is removing at the
    // same time is left to it.
    void forget(std::size_t slot) noexcept;

    // Calls `remove` with each noted path and forgets it. Uses only atomics
    // and the slots' own buffers: safe in a signal handler when `remove` is.
    void removeAll(void (*remove)(const char *path, Noted what)) noexcept;

    // The path noted in `slot`, or null (for tests and messages; not for a
    // removal, which must claim a slot first: removeAll does).
    const char *noted(std::size_t slot) const noexcept;

private:
    enum State : int { kFree, kWriting, kNoted, kRemoving };
    struct Slot {
        std::atomic<int> state{kFree};
        Noted what = Noted::path;
        std::array<char, kLongestTemporaryPath + 1> path{};
    };
    static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may read the states");
    std::array<Slot, kTemporarySlots> slots_;
};

// Notes `path` in the installed context's TemporaryFiles (host_context.h)
// until this object is destroyed or forget() is called. Without a context
// the path is not noted.
class NotedTemporary {
public:
    NotedTemporary() = default;
    explicit NotedTemporary(const std::string &path, Noted what = Noted::path);
    ~NotedTemporary() { forget(); }
    NotedTemporary(const NotedTemporary &) = delete;
    NotedTemporary &operator=(const NotedTemporary &) = delete;
    NotedTemporary(NotedTemporary &&other) noexcept;
    NotedTemporary &operator=(NotedTemporary &&other) noexcept;

    void forget();

private:
    TemporaryFiles *table_ = nullptr;
    std::size_t slot_ = kTemporarySlots;
};

}  // namespace plof::host
