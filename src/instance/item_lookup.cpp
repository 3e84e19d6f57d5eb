#include "instance/item_lookup.h"

#include <cstring>

#include "instance/module_state.h"

namespace plof {

namespace {

void copyCut(const char *text, LineBuffer &destination) {
    std::size_t length = 0;
    while (length < destination.size() - 1 && text[length] != '\0') {
        destination[length] = text[length];
        ++length;
    }
    destination[length] = '\0';
}

}  // namespace

PlofItemId findItemByName(const char *name) {
    const PlofItemInfo &items = *moduleState().itemInfo;
    for (PlofItemId item = items.first(PLOF_ITEM_OBJECT, 0); item != 0; item = items.next(item)) {
        const char *itemName = items.name(item);
        if (itemName != nullptr && std::strcmp(itemName, name) == 0) return item;
    }
    return 0;
}

PlofItemId findAvoidObject(const char *name) {
    // An object named "none" (a baked scene's particle objects may be) is
    // never the avoid object: the name stands for no avoid object.
    if (std::strcmp(name, "none") == 0) return 0;
    return findItemByName(name);
}

void itemNameOrNone(PlofItemId item, LineBuffer &destination) {
    if (item == 0) {
        copyCut("none", destination);
        return;
    }
    const char *name = moduleState().itemInfo->name(item);
    copyCut(name != nullptr ? name : "", destination);
}

}  // namespace plof
