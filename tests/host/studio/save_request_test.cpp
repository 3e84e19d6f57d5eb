// What a save request may ask: the file name it takes from the typed name
// (save_name) and the fields of each kind (save_request), refused in the
// page's words before anything is written.
#include "host/studio/save_request.h"

#include <gtest/gtest.h>

#include "host/studio/save_name.h"
#include "host/studio/studio_model.h"

namespace plof::host::studio {
namespace {

std::string fileNameOf(const std::string &name, const std::string &extension) {
    std::string problem;
    const auto file = saveFileName(name, extension, problem);
    EXPECT_EQ(file.has_value(), problem.empty()) << name;
    return file.value_or("refused: " + problem);
}

TEST(StudioSaveNameTest, PlainNamesWithTheKindsOwnExtension) {
    EXPECT_EQ(fileNameOf("fountain", ".plf"), "fountain.plf");
    EXPECT_EQ(fileNameOf("fountain.plf", ".plf"), "fountain.plf");
    EXPECT_EQ(fileNameOf("Fountain.PLF", ".plf"), "Fountain.PLF");
    EXPECT_EQ(fileNameOf("g100.plf", ".lws"), "g100.lws");  // another kind's extension is replaced
    EXPECT_EQ(fileNameOf("g100.GLB", ".plf"), "g100.plf");
    EXPECT_EQ(fileNameOf("v1.2", ".lws"), "v1.2.lws");  // other dots stay
    EXPECT_EQ(fileNameOf("take.obj", ".glb"), "take.obj.glb");
    EXPECT_EQ(fileNameOf("Fontäne ✓", ".glb"), "Fontäne ✓.glb");
    EXPECT_EQ(fileNameOf(std::string(kLongestSaveName - 4, 'a'), ".plf").size(), kLongestSaveName);
}

TEST(StudioSaveNameTest, NamesThatLeaveTheFolderOrShowOtherTextAreRefused) {
    for (const std::string &name : std::vector<std::string>{"",
                                                            "../a",
                                                            "..",
                                                            "a..b",
                                                            "a.",
                                                            "/tmp/a",
                                                            "sub/a",
                                                            "sub\\a",
                                                            ".plf",
                                                            "tab\tname",
                                                            "del\x7f",
                                                            std::string("nul\0x", 5),
                                                            "c1\xc2\x85",
                                                            "c1\xc2\x9f",
                                                            "line\xe2\x80\xa8",
                                                            "para\xe2\x80\xa9",
                                                            "lrm\xe2\x80\x8e",
                                                            "rlm\xe2\x80\x8f",
                                                            "lre\xe2\x80\xaa",
                                                            "rlo\xe2\x80\xae",
                                                            "lri\xe2\x81\xa6",
                                                            "pdi\xe2\x81\xa9",
                                                            "bad\xff",
                                                            "overlong\xc0\xaf",
                                                            "surrogate\xed\xa0\x80",
                                                            "cut\xe2\x80",
                                                            std::string(kLongestSaveName - 3, 'a')}) {
        std::string problem;
        EXPECT_FALSE(saveFileName(name, ".plf", problem)) << name;
        EXPECT_NE(problem, "") << name;
    }
    // Just beside the refused ranges.
    EXPECT_EQ(fileNameOf("nbsp\xc2\xa0", ".plf"), "nbsp\xc2\xa0.plf");
    EXPECT_EQ(fileNameOf("zwj\xe2\x80\x8d", ".plf"), "zwj\xe2\x80\x8d.plf");
    EXPECT_EQ(fileNameOf("fsi\xe2\x81\xa5", ".plf"), "fsi\xe2\x81\xa5.plf");
}

std::string refusalOf(const nlohmann::json &body) {
    try {
        readSaveRequest(body);
    } catch (const BadRequest &refused) {
        return refused.what();
    }
    return "taken";
}

TEST(StudioSaveRequestTest, EachKindTakesItsFieldsInThePagesWords) {
    const SaveRequest bake = readSaveRequest({{"kind", "bake"},
                                              {"name", "g100.plf"},
                                              {"item", 2},
                                              {"replace", true},
                                              {"frames", 20.0},
                                              {"step", 2},
                                              {"hpbMin", {0, -90, 0}},
                                              {"hpbMax", {10, 90, 5.5}},
                                              {"alignH", true},
                                              {"dissolve", false}});
    EXPECT_EQ(bake.kind, SaveKind::bake);
    EXPECT_EQ(bake.fileName, "g100.lws");
    EXPECT_EQ(bake.item, 2u);
    EXPECT_EQ(bake.placement, Placement::replaceExisting);
    EXPECT_EQ(bake.bake.frames, 20);
    EXPECT_EQ(bake.bake.step, 2);
    EXPECT_EQ(bake.bake.hpbMax[2], 5.5);
    EXPECT_TRUE(bake.bake.alignH);
    const SaveRequest plain = readSaveRequest({{"kind", "glb"}, {"name", "take"}});
    EXPECT_EQ(plain.placement, Placement::keepExisting);
    EXPECT_FALSE(plain.item);

    const std::pair<nlohmann::json, std::string> refused[] = {
        {{{"kind", "plf"}, {"name", "a"}, {"colour", 1}}, "takes no \"colour\""},
        {{{"kind", "scene"}, {"name", "a"}, {"frames", 10}}, "takes no \"frames\""},
        {{{"kind", "tar"}, {"name", "a"}}, "none of plf, scene, glb, bake"},
        {{{"kind", "plf"}}, "needs a \"name\""},
        {{{"kind", "plf"}, {"name", "a"}, {"replace", "yes"}}, "replace takes true or false"},
        {{{"kind", "plf"}, {"name", "a"}, {"item", 0}}, "item takes an item number"},
        {{{"kind", "bake"}, {"name", "a"}, {"frames", 1e9 + 0.5}}, "frames takes a whole number from 1 to"},
        {{{"kind", "bake"}, {"name", "a"}, {"frames", 1e300}}, "frames takes a whole number from 1 to 2147483647"},
        {{{"kind", "bake"}, {"name", "a"}, {"step", 0}}, "step takes a whole number from 1"},
        {{{"kind", "bake"}, {"name", "a"}, {"hpbMin", {1, 2}}}, "HPB min takes three numbers"},
        {{{"kind", "bake"}, {"name", "a"}, {"dissolve", 1}}, "Dslv ctl takes true or false"},
        {nlohmann::json::array(), "save needs"},
    };
    for (const auto &[body, words] : refused) {
        const std::string message = refusalOf(body);
        EXPECT_NE(message.find(words), std::string::npos) << body << ": " << message;
        // Never a flag of the command line, never a number in exponent form.
        EXPECT_EQ(message.find("--"), std::string::npos) << message;
        EXPECT_EQ(message.find("e+"), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace plof::host::studio
