// Temporary files being written, for an interruption to remove.
//
// The host notes each temporary file while it exists (its own output's
// `.NAME.tmp-N`, and the `NAME.plof-tmp` the module makes while it bakes or
// saves settings into a file the host asked for), and forgets it once the
// file is renamed into place or removed. A signal that ends the program
// (process_signals.h) removes every file noted then. Notes are kept in a
// fixed table that a signal handler may read; when it is full a file is not
// noted (it is still removed on every ordinary failure).
#pragma once

#include <cstddef>
#include <string>

namespace plof::host {

inline constexpr std::size_t kTemporarySlots = 64;

class NotedTemporary {
public:
    NotedTemporary() = default;
    // Notes `path` until this object is destroyed or forget() is called.
    explicit NotedTemporary(const std::string &path);
    ~NotedTemporary() { forget(); }
    NotedTemporary(const NotedTemporary &) = delete;
    NotedTemporary &operator=(const NotedTemporary &) = delete;
    NotedTemporary(NotedTemporary &&other) noexcept;
    NotedTemporary &operator=(NotedTemporary &&other) noexcept;

    void forget();

private:
    std::size_t slot_ = kTemporarySlots;
};

// The path noted in `slot` (below kTemporarySlots), or null. Safe to call in
// a signal handler.
const char *notedTemporary(std::size_t slot);

}  // namespace plof::host
