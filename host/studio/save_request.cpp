#include "host/studio/save_request.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "host/base/number_text.h"
#include "host/studio/save_name.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {

namespace {

struct KindEntry {
    const char *name;
    SaveKind kind;
    const char *extension;
};

constexpr KindEntry kKinds[] = {
    {"plf", SaveKind::settings, ".plf"},
    {"scene", SaveKind::scene, ".lws"},
    {"glb", SaveKind::gltf, ".glb"},
    {"bake", SaveKind::bake, ".lws"},
};

const char *const kSaveForm = "save needs {\"kind\": \"plf\"|\"scene\"|\"glb\"|\"bake\", \"name\": \"...\"}";

const std::vector<std::string> kEveryKindsFields{"kind", "name", "item", "replace"};
const std::vector<std::string> kBakeFields{"frames", "step", "hpbMin", "hpbMax", "alignH", "scale", "dissolve"};

// The bake's fields as the page labels them.
std::string labelOf(const std::string &field) {
    if (field == "hpbMin") return "HPB min";
    if (field == "hpbMax") return "HPB max";
    if (field == "alignH") return "Align H";
    if (field == "scale") return "Scale ctl";
    if (field == "dissolve") return "Dslv ctl";
    return field;
}

const KindEntry &kindOf(const nlohmann::json &body) {
    if (body.contains("kind") && body["kind"].is_string()) {
        for (const KindEntry &entry : kKinds) {
            if (body["kind"].get<std::string>() == entry.name) return entry;
        }
        throw BadRequest("kind \"" + body["kind"].get<std::string>() + "\" is none of plf, scene, glb, bake");
    }
    throw BadRequest(kSaveForm);
}

void refuseUnknownFields(const nlohmann::json &body, SaveKind kind) {
    for (const auto &item : body.items()) {
        const std::string &field = item.key();
        const auto in = [&field](const std::vector<std::string> &fields) {
            return std::find(fields.begin(), fields.end(), field) != fields.end();
        };
        if (in(kEveryKindsFields) || (kind == SaveKind::bake && in(kBakeFields))) continue;
        throw BadRequest("a save " + std::string(kind == SaveKind::bake ? "of a bake" : "of this kind") +
                         " takes no \"" + field + "\"");
    }
}

// A whole number from `least` up to INT32_MAX, in the page's words.
int32_t wholeNumber(const nlohmann::json &body, const char *field, int32_t least, int32_t otherwise) {
    if (!body.contains(field)) return otherwise;
    const nlohmann::json &value = body[field];
    const double number = value.is_number() ? value.get<double>() : std::numeric_limits<double>::quiet_NaN();
    if (!(number >= least && number <= INT32_MAX && number == std::floor(number))) {
        std::string given = value.is_number() && std::fabs(number) < 1e15 ? " not " + shortestText(number) : "";
        if (!given.empty()) given = "," + given;
        throw BadRequest(labelOf(field) + " takes a whole number from " + std::to_string(least) + " to " +
                         std::to_string(INT32_MAX) + given);
    }
    return static_cast<int32_t>(number);
}

std::array<double, 3> spin(const nlohmann::json &body, const char *field) {
    if (!body.contains(field)) return {};
    const nlohmann::json &value = body[field];
    if (!value.is_array() || value.size() != 3 || !value[0].is_number() || !value[1].is_number() ||
        !value[2].is_number()) {
        throw BadRequest(labelOf(field) + " takes three numbers h, p, b (degrees per second)");
    }
    return {value[0].get<double>(), value[1].get<double>(), value[2].get<double>()};
}

bool flag(const nlohmann::json &body, const char *field) {
    if (!body.contains(field)) return false;
    if (!body[field].is_boolean()) throw BadRequest(labelOf(field) + " takes true or false");
    return body[field].get<bool>();
}

BakeRequest bakeValues(const nlohmann::json &body) {
    BakeRequest bake;
    bake.frames = wholeNumber(body, "frames", 1, bake.frames);
    bake.step = wholeNumber(body, "step", 1, bake.step);
    bake.hpbMin = spin(body, "hpbMin");
    bake.hpbMax = spin(body, "hpbMax");
    bake.alignH = flag(body, "alignH");
    bake.scale = flag(body, "scale");
    bake.dissolve = flag(body, "dissolve");
    return bake;
}

}  // namespace

SaveRequest readSaveRequest(const nlohmann::json &body) {
    if (!body.is_object()) {
        throw BadRequest(kSaveForm);
    }
    const KindEntry &kind = kindOf(body);
    refuseUnknownFields(body, kind.kind);
    SaveRequest request;
    request.kind = kind.kind;
    if (!body.contains("name") || !body["name"].is_string()) throw BadRequest("save needs a \"name\" (text)");
    std::string problem;
    const auto fileName = saveFileName(body["name"].get<std::string>(), kind.extension, problem);
    if (!fileName) throw BadRequest(problem);
    request.fileName = *fileName;
    if (body.contains("item")) {
        if (!body["item"].is_number_integer() || body["item"].get<int64_t>() < 1) {
            throw BadRequest("item takes an item number, 1 or more");
        }
        request.item = body["item"].get<std::size_t>();
    }
    request.placement = flag(body, "replace") ? Placement::replaceExisting : Placement::keepExisting;
    if (kind.kind == SaveKind::bake) request.bake = bakeValues(body);
    return request;
}

}  // namespace plof::host::studio
