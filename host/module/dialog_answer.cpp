#include "host/module/dialog_answer.h"

#include <utility>

namespace plof::host {

namespace {

std::string gLastAnswer;

}  // namespace

void setLastDialogAnswer(std::string path) { gLastAnswer = std::move(path); }

std::string takeLastDialogAnswer() { return std::exchange(gLastAnswer, std::string()); }

}  // namespace plof::host
