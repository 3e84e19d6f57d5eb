// An in-process stand-in for the host services the module's simulation and
// instances use: "LW Object Info", "LWObjectAccess", "LW Item Info" and
// "Info Messages".
//
// Contract:
// - Constructing a FakeHostServices resets the module state and installs the
//   four service records (and global(), which answers their names) into
//   moduleState(); destroying it resets the module state again. Only one may
//   exist at a time (the host's C callbacks carry no context).
// - Items are numbered from 1 in the order they are added; item 0 is "no
//   item" and is never listed, but may be given points (a version-1 host
//   creates instances for item 0).
// - An item's X, Y, Z axes and world position are functions of time (default:
//   identity axes at the origin); param() answers codes 2, 3, 4 and 8 from
//   them and zeros for any other code or an unknown item.
// - An object's point-access handle is the item's record; pointPosition gives
//   null for an unknown handle or point, or when setPointsMissing(true).
// - Messages are recorded in order; the module's errors use the second slot.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plof/host_services.h"
#include "sim/particle.h"

namespace plof::test {

using Axes = std::array<Vec3, 3>;  // an item's own X, Y and Z axes in world space

struct RecordedMessage {
    bool error;  // true for the second operation (errors)
    std::string first;
    std::optional<std::string> second;  // absent when the module passed null
};

class FakeHostServices {
public:
    FakeHostServices();
    ~FakeHostServices();
    FakeHostServices(const FakeHostServices &) = delete;
    FakeHostServices &operator=(const FakeHostServices &) = delete;

    // Adds an item of `kind` (0: object) with a name and object points;
    // returns its id.
    PlofItemId addItem(const std::string &name, std::vector<std::array<float, 3>> points = {},
                       int32_t kind = PLOF_ITEM_OBJECT);
    // The setters take an id from addItem, or 0.
    void setPoints(PlofItemId item, std::vector<std::array<float, 3>> points);
    void setPosition(PlofItemId item, std::function<Vec3(double)> position);
    void setPosition(PlofItemId item, const Vec3 &position);
    void setAxes(PlofItemId item, std::function<Axes(double)> axes);
    void setAxes(PlofItemId item, const Axes &axes);
    // Makes every point query answer null, as for a handle that is not valid.
    void setPointsMissing(bool missing);

    // The global-service function answering the four services' names.
    static void *global(const char *serviceName, int32_t use);

    const std::vector<RecordedMessage> &messages() const { return messages_; }
    // Number of "LW Item Info" param queries answered so far.
    int64_t paramQueries() const { return paramQueries_; }

private:
    struct Item {
        std::string name;
        int32_t kind = PLOF_ITEM_OBJECT;
        std::vector<std::array<float, 3>> points;
        std::function<Vec3(double)> position;
        std::function<Axes(double)> axes;
    };

    static FakeHostServices &current();
    Item *find(PlofItemId item);
    Item &record(PlofItemId item);  // made on first use

    static void *meshSource(PlofItemId item);
    static int32_t pointCount(PlofItemId item);
    static void *accessHandle(void *meshSource);
    static const float *pointPosition(void *handle, int32_t point);
    static PlofItemId first(int32_t kind, PlofItemId parent);
    static PlofItemId next(PlofItemId item);
    static const char *name(PlofItemId item);
    static void param(PlofItemId item, int32_t code, double time, double vector[3]);
    static void info(const char *first, const char *second);
    static void error(const char *first, const char *second);

    std::map<PlofItemId, Item> items_;
    PlofItemId nextId_ = 1;
    bool pointsMissing_ = false;
    std::vector<RecordedMessage> messages_;
    int64_t paramQueries_ = 0;
    PlofObjectInfo objectInfo_{};
    PlofObjectAccess objectAccess_{};
    PlofItemInfo itemInfo_{};
    PlofMessages messagesService_{};
};

}  // namespace plof::test
