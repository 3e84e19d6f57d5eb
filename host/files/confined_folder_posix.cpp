#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "host/base/random_token.h"
#include "host/files/confined_folder.h"
#include "host/files/folder_handle_path.h"
#include "host/files/move_keeping.h"

namespace plof::host {

namespace {

constexpr int kRemovalRounds = 5;

std::error_code lastError() { return {errno, std::generic_category()}; }

// What is under `name`, in words, when it is not a plain file; "" for a
// plain file or nothing.
std::string refusedKind(int folder, const std::string &name, bool &exists) {
    struct stat status;
    exists = ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists) return "";
    switch (status.st_mode & S_IFMT) {
        case S_IFREG: return "";
        case S_IFLNK: return "a symbolic link";
        case S_IFDIR: return "a folder";
        case S_IFIFO: return "a FIFO (named pipe)";
        case S_IFSOCK: return "a socket";
        case S_IFCHR:
        case S_IFBLK: return "a device";
        default: return "not a plain file";
    }
}

// The path the system gives the handle, or "" where /proc is not there.
std::string handlePath(int descriptor) {
    std::vector<char> buffer(4096);
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t size = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (size <= 0 || static_cast<std::size_t>(size) >= buffer.size()) return "";
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

}  // namespace

ConfinedFolder::ConfinedFolder(const std::string &path) {
    folder_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) throw OutputError(path + ": cannot open the folder (" + lastError().message() + ")");
    path_ = handlePath(folder_);
    if (path_.empty()) path_ = path;
    workName_ = ".plof-studio-" + newToken();
    if (::mkdirat(folder_, workName_.c_str(), 0700) != 0) {
        workProblem_ = path_ + ": cannot make a work folder there (" + lastError().message() + ")";
        return;
    }
    work_ = ::openat(folder_, workName_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat status;
    // Only a folder of this user's, of no one else's reach, made just now.
    if (work_ < 0 || ::fstat(work_, &status) != 0 || status.st_uid != ::geteuid() || (status.st_mode & 077) != 0) {
        workProblem_ = path_ + ": the work folder " + workName_ + " was taken from the studio";
        if (work_ >= 0) ::close(work_);
        work_ = -1;
        return;
    }
    workPath_ = folderHandlePath(work_, path_ + "/" + workName_);
    if (workPath_.empty()) {
        workProblem_ = "the module writes through /proc/self/fd, which this system does not offer";
    }
}

ConfinedFolder::~ConfinedFolder() {
    removeWorkFolder();
    if (work_ >= 0) ::close(work_);
    ::close(folder_);
}

void ConfinedFolder::failWith(const std::string &name, const std::string &what, std::error_code reason) const {
    throw OutputError(path_ + "/" + name + ": " + what + " (" + reason.message() + ")");
}

void ConfinedFolder::checkTarget(const std::string &name, Placement placement) const {
    bool exists = false;
    const std::string kind = refusedKind(folder_, name, exists);
    if (!kind.empty()) {
        throw RefusedTarget(name + " in " + path_ + " is " + kind +
                            ": the studio saves only as a plain file there; choose another name");
    }
    if (exists && placement == Placement::keepExisting) {
        throw ExistingFile(name + " exists in " + path_ + ": choose another name, or replace it", name);
    }
}

std::string ConfinedFolder::workPath(const std::string &name) const {
    if (work_ < 0 || !workProblem_.empty()) throw OutputError(workProblem_);
    return workPath_ + "/" + name;
}

std::FILE *ConfinedFolder::createWorkFile(const std::string &name, std::error_code &error) const {
    if (work_ < 0) throw OutputError(workProblem_);
    const int descriptor = ::openat(work_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = lastError();
        return nullptr;
    }
    std::FILE *file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        error = lastError();
        ::close(descriptor);
        ::unlinkat(work_, name.c_str(), 0);
    }
    return file;
}

void ConfinedFolder::removeWorkFile(const std::string &name) const noexcept {
    if (work_ >= 0) ::unlinkat(work_, name.c_str(), 0);
}

void ConfinedFolder::place(const std::string &workName, const std::string &name, Placement placement) const {
    if (work_ < 0) throw OutputError(workProblem_);
    checkTarget(name, placement);
    const int moved = placement == Placement::keepExisting ? moveKeeping(work_, workName.c_str(), folder_, name.c_str())
                                                           : ::renameat(work_, workName.c_str(), folder_, name.c_str());
    if (moved == 0) return;
    const std::error_code error = lastError();
    removeWorkFile(workName);
    // Made in the moment between the check and the move: refused all the same.
    if (error == std::errc::file_exists || error == std::errc::is_a_directory || error == std::errc::not_a_directory) {
        checkTarget(name, placement);
    }
    failWith(name, "cannot put the file in place", error);
}

void ConfinedFolder::removeWorkFolder() noexcept {
    if (work_ < 0 || removed_.exchange(true)) return;
    // A writer still at work may add a file while the others go: a few rounds.
    for (int round = 0; round < kRemovalRounds; ++round) {
        const int listing = ::dup(work_);
        if (DIR *entries = listing >= 0 ? ::fdopendir(listing) : nullptr) {
            ::rewinddir(entries);  // the copy shares the last round's position
            while (const dirent *entry = ::readdir(entries)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") ::unlinkat(work_, entry->d_name, 0);
            }
            ::closedir(entries);
        } else if (listing >= 0) {
            ::close(listing);
        }
        if (::unlinkat(folder_, workName_.c_str(), AT_REMOVEDIR) == 0 || errno != ENOTEMPTY) return;
    }
}

}  // namespace plof::host
