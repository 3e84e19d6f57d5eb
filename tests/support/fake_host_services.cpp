#include "support/fake_host_services.h"

#include <cstring>
#include <utility>

#include "instance/module_state.h"
#include "support/module_state_reset.h"

namespace plof::test {

namespace {

FakeHostServices *installed = nullptr;

constexpr Axes kIdentityAxes{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

}  // namespace

FakeHostServices::FakeHostServices() {
    objectInfo_.meshSource = &FakeHostServices::meshSource;
    objectInfo_.pointCount = &FakeHostServices::pointCount;
    objectAccess_.accessHandle = &FakeHostServices::accessHandle;
    objectAccess_.pointPosition = &FakeHostServices::pointPosition;
    itemInfo_.first = &FakeHostServices::first;
    itemInfo_.next = &FakeHostServices::next;
    itemInfo_.name = &FakeHostServices::name;
    itemInfo_.param = &FakeHostServices::param;
    messagesService_.info = &FakeHostServices::info;
    messagesService_.error = &FakeHostServices::error;
    items_[0] = Item{};

    resetModuleState();
    ModuleState &state = moduleState();
    state.global = &FakeHostServices::global;
    state.objectInfo = &objectInfo_;
    state.objectAccess = &objectAccess_;
    state.itemInfo = &itemInfo_;
    state.messages = &messagesService_;
    installed = this;
}

FakeHostServices::~FakeHostServices() {
    installed = nullptr;
    resetModuleState();
}

PlofItemId FakeHostServices::addItem(const std::string &itemName, std::vector<std::array<float, 3>> points,
                                     int32_t kind) {
    const PlofItemId id = nextId_++;
    Item &item = items_[id];
    item.name = itemName;
    item.kind = kind;
    item.points = std::move(points);
    return id;
}

void FakeHostServices::setPoints(PlofItemId item, std::vector<std::array<float, 3>> points) {
    record(item).points = std::move(points);
}

void FakeHostServices::setPosition(PlofItemId item, std::function<Vec3(double)> position) {
    record(item).position = std::move(position);
}

void FakeHostServices::setPosition(PlofItemId item, const Vec3 &position) {
    setPosition(item, [position](double) { return position; });
}

void FakeHostServices::setAxes(PlofItemId item, std::function<Axes(double)> axes) {
    record(item).axes = std::move(axes);
}

void FakeHostServices::setAxes(PlofItemId item, const Axes &axes) {
    setAxes(item, [axes](double) { return axes; });
}

void FakeHostServices::setPointsMissing(bool missing) { pointsMissing_ = missing; }

void *FakeHostServices::global(const char *serviceName, int32_t) {
    FakeHostServices &host = current();
    if (std::strcmp(serviceName, PLOF_SERVICE_OBJECT_INFO) == 0) return &host.objectInfo_;
    if (std::strcmp(serviceName, PLOF_SERVICE_OBJECT_ACCESS) == 0) return &host.objectAccess_;
    if (std::strcmp(serviceName, PLOF_SERVICE_ITEM_INFO) == 0) return &host.itemInfo_;
    if (std::strcmp(serviceName, PLOF_SERVICE_MESSAGES) == 0) return &host.messagesService_;
    return nullptr;
}

FakeHostServices &FakeHostServices::current() { return *installed; }

FakeHostServices::Item *FakeHostServices::find(PlofItemId item) {
    auto found = items_.find(item);
    return found == items_.end() ? nullptr : &found->second;
}

FakeHostServices::Item &FakeHostServices::record(PlofItemId item) { return items_[item]; }

void *FakeHostServices::meshSource(PlofItemId item) { return current().find(item); }

int32_t FakeHostServices::pointCount(PlofItemId item) {
    const Item *found = current().find(item);
    return found == nullptr ? 0 : static_cast<int32_t>(found->points.size());
}

void *FakeHostServices::accessHandle(void *source) { return source; }

const float *FakeHostServices::pointPosition(void *handle, int32_t point) {
    if (handle == nullptr || current().pointsMissing_) return nullptr;
    const Item &item = *static_cast<const Item *>(handle);
    if (point < 0 || static_cast<std::size_t>(point) >= item.points.size()) return nullptr;
    return item.points[static_cast<std::size_t>(point)].data();
}

PlofItemId FakeHostServices::first(int32_t kind, PlofItemId) {
    for (const auto &[id, item] : current().items_) {
        if (id != 0 && item.kind == kind) return id;
    }
    return 0;
}

PlofItemId FakeHostServices::next(PlofItemId item) {
    FakeHostServices &host = current();
    const Item *from = host.find(item);
    if (from == nullptr || item == 0) return 0;
    for (auto it = host.items_.upper_bound(item); it != host.items_.end(); ++it) {
        if (it->second.kind == from->kind) return it->first;
    }
    return 0;
}

const char *FakeHostServices::name(PlofItemId item) {
    const Item *found = current().find(item);
    return found == nullptr || item == 0 ? "" : found->name.c_str();
}

void FakeHostServices::param(PlofItemId item, int32_t code, double time, double vector[3]) {
    FakeHostServices &host = current();
    ++host.paramQueries_;
    Vec3 answer{};
    const Item *found = host.find(item);
    if (found != nullptr) {
        const Axes axes = found->axes ? found->axes(time) : kIdentityAxes;
        switch (code) {
            case PLOF_PARAM_RIGHT: answer = axes[0]; break;
            case PLOF_PARAM_UP: answer = axes[1]; break;
            case PLOF_PARAM_FORWARD: answer = axes[2]; break;
            case PLOF_PARAM_W_POSITION:
                if (found->position) answer = found->position(time);
                break;
            default: break;
        }
    }
    for (int j = 0; j < 3; ++j) vector[j] = answer[j];
}

void FakeHostServices::info(const char *first, const char *second) {
    current().messages_.push_back(
        {false, first, second == nullptr ? std::nullopt : std::optional<std::string>(second)});
}

void FakeHostServices::error(const char *first, const char *second) {
    current().messages_.push_back({true, first, second == nullptr ? std::nullopt : std::optional<std::string>(second)});
}

}  // namespace plof::test
