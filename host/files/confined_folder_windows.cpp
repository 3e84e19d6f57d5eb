#include "host/files/confined_folder.h"

// The studio, which alone writes into a confined folder, is built natively
// only: here a folder cannot be opened, and nothing else is reached.
namespace plof::host {

ConfinedFolder::ConfinedFolder(const std::string &path) {
    throw OutputError(path + ": saving confined to a folder is not available on Windows");
}

ConfinedFolder::~ConfinedFolder() = default;

void ConfinedFolder::failWith(const std::string &name, const std::string &what, std::error_code reason) const {
    throw OutputError(path_ + "/" + name + ": " + what + " (" + reason.message() + ")");
}

void ConfinedFolder::checkTarget(const std::string &, Placement) const {}

std::string ConfinedFolder::workPath(const std::string &) const { throw OutputError(workProblem_); }

std::FILE *ConfinedFolder::createWorkFile(const std::string &, std::error_code &error) const {
    error = std::make_error_code(std::errc::function_not_supported);
    return nullptr;
}

void ConfinedFolder::removeWorkFile(const std::string &) const noexcept {}

void ConfinedFolder::place(const std::string &, const std::string &name, Placement) const {
    failWith(name, "cannot put the file in place", std::make_error_code(std::errc::function_not_supported));
}

void ConfinedFolder::removeWorkFolder() noexcept {}

}  // namespace plof::host
