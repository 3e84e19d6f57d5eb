// The errors the stand-in host raises inside itself. They never cross the
// module's C interface: the host catches them at its own entry points (the
// plof-host commands turn them into messages and exit codes, the studio into
// answers).
#pragma once

#include <stdexcept>
#include <string>

namespace plof::host {

// Bad input: a file the user named is missing, unreadable or malformed. The
// message names the file (and the line, where there is one) and says what is wrong.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An output file could not be written. The message names the file and gives
// the system's reason.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A request the host cannot carry out as asked, though every input is
// sound: more frames than one file can hold, an options panel asked of a
// scene without the effect. The message says what to ask instead, in the
// host's words; a front adds its own (a flag, a field of a form).
class RequestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The module could not be loaded or run.
class ModuleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace plof::host
