#include "instance/keyword_block.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fake_states.h"
#include "instance/instance_lifecycle.h"
#include "instance/module_state.h"
#include "support/fake_host_services.h"

namespace plof {
namespace {

using test::FakeHostServices;
using testing::FakeLoadState;
using testing::FakeSaveState;

using Lines = std::vector<std::string>;

struct Destroy {
    void operator()(HandlerInstance *instance) const { destroyInstance(instance); }
};
using Instance = std::unique_ptr<HandlerInstance, Destroy>;

const Lines kDefaultBlock = {
    "PLOF_START",         "V0Min 1.000000",       "V0Max 4.000000",   "AgeMin 10.000000", "AgeMax 60.000000",
    "Gravity 9.800000",   "Regist 0.000000",      "START_F 0.000000", "Birth 100.000000", "ReCycle 1.000000",
    "SpreadMin 0.000000", "SpreadMax 180.000000", "OrgEmit 0.000000", "REFERENCE",        "none",
    "PLOF_END",
};

class KeywordBlock : public ::testing::Test {
protected:
    void SetUp() override {
        fountain = host.addItem("Fountain", {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {1, 1, 1}});
        avoid = host.addItem("Avoid");
        instance.reset(createInstance(&error, fountain));
        ASSERT_NE(instance, nullptr);
    }

    // A new instance draws no launch data; every load that reads a block does.
    bool launchDataDrawn() const {
        for (int32_t i = 0; i < instance->pointCount; ++i)
            if (instance->particles[i].lifetime == 0) return false;
        return true;
    }

    Lines save() {
        FakeSaveState saved;
        EXPECT_EQ(saveInstance(*instance, saved.state()), nullptr);
        EXPECT_TRUE(saved.lengthsCountTheNul());
        return saved.lines();
    }

    // Loads `lines`; returns how many lines the loader asked the host for.
    std::size_t load(const Lines &lines) {
        FakeLoadState block(lines);
        EXPECT_EQ(loadInstance(*instance, block.state()), nullptr);
        return block.linesRead();
    }

    FakeHostServices host;
    PlofItemId fountain = 0, avoid = 0;
    const char *error = nullptr;
    Instance instance;
};

TEST_F(KeywordBlock, ANewInstanceSavesTheDefaultBlock) { EXPECT_EQ(save(), kDefaultBlock); }

TEST_F(KeywordBlock, SavingWritesTheAvoidObjectsCurrentName) {
    PlofItemInfo renamed = *moduleState().itemInfo;
    renamed.name = [](PlofItemId) { return "Renamed Rock"; };
    moduleState().itemInfo = &renamed;
    instance->refItem = avoid;
    std::strcpy(instance->refName.data(), "Old name");
    const Lines saved = save();
    EXPECT_EQ(saved[13], "REFERENCE");
    EXPECT_EQ(saved[14], "Renamed Rock");
    EXPECT_STREQ(instance->refName.data(), "Renamed Rock");

    // Without an avoid object "none" is written and the name is kept.
    instance->refItem = 0;
    instance->refResolved = 1;
    std::strcpy(instance->refName.data(), "Kept");
    EXPECT_EQ(save()[14], "none");
    EXPECT_STREQ(instance->refName.data(), "Kept");

    // A name loaded but not yet looked up (no frame since) is saved as read;
    // it used to be saved as "none".
    instance->refResolved = 0;
    EXPECT_EQ(save()[14], "Kept");
}

TEST_F(KeywordBlock, ASavedBlockLoadsBackIntoTheSameSettings) {
    instance->V0Min = 1.2345678;
    instance->V0Max = -2.0;
    instance->AgeMin = -7;
    instance->AgeMax = 2147483647;
    instance->Gravity = 0.1;
    instance->Regist = 0.05;
    instance->START_F = -2147483647 - 1;
    instance->Birth = 30;
    instance->ReCycle = 0;
    instance->SpreadMin = 15;
    instance->SpreadMax = 90;
    instance->OrgEmit = 200;
    instance->refItem = avoid;
    const Lines saved = save();

    instance.reset(createInstance(&error, fountain));
    EXPECT_EQ(load(saved), saved.size());

    EXPECT_EQ(instance->V0Min, 1.234568);
    EXPECT_EQ(instance->V0Max, -2.0);
    EXPECT_EQ(instance->AgeMin, -7);
    EXPECT_EQ(instance->AgeMax, 2147483647);
    EXPECT_EQ(instance->Gravity, 0.1);
    EXPECT_EQ(instance->Regist, 0.05);
    EXPECT_EQ(instance->START_F, -2147483647 - 1);
    EXPECT_EQ(instance->Birth, 30);
    EXPECT_EQ(instance->ReCycle, 0);
    EXPECT_EQ(instance->SpreadMin, 15);
    EXPECT_EQ(instance->SpreadMax, 90);
    EXPECT_EQ(instance->OrgEmit, 200);
    EXPECT_STREQ(instance->refName.data(), "Avoid");
    // The avoid object exists, yet is looked up only at the next newTime.
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_EQ(instance->refResolved, 0);
    EXPECT_TRUE(launchDataDrawn());
    newTime(*instance, fountain, 0, 0.0);
    EXPECT_EQ(instance->refItem, avoid);
}

TEST_F(KeywordBlock, ValuesTooLongForFixedNotationSaveAndLoadBackExactly) {
    instance->Gravity = 1e308;
    instance->V0Min = -1e308;
    instance->V0Max = DBL_MAX;
    instance->Regist = 0.37;
    const Lines saved = save();
    EXPECT_EQ(saved[1], "V0Min -1e+308");
    EXPECT_EQ(saved[2], "V0Max 1.7976931348623157e+308");
    EXPECT_EQ(saved[5], "Gravity 1e+308");
    EXPECT_EQ(saved[6], "Regist 0.370000") << "a value whose fixed text fits is written as before";

    instance.reset(createInstance(&error, fountain));
    load(saved);
    EXPECT_EQ(instance->Gravity, 1e308);
    EXPECT_EQ(instance->V0Min, -1e308);
    EXPECT_EQ(instance->V0Max, DBL_MAX);
    EXPECT_EQ(save(), saved);
}

TEST_F(KeywordBlock, LoadingLeavesTheBakingSettingsAndUnmentionedSettingsAlone) {
    instance->frameStep = 5;
    instance->scaleCtl = 1;
    std::strcpy(instance->objectList.names[0].data(), "spark.lwo");
    instance->Gravity = 3.0;
    instance->refItem = avoid;
    instance->refResolved = 1;
    load({"PLOF_START", "V0Max 8", "PLOF_END"});
    EXPECT_EQ(instance->V0Max, 8.0);
    EXPECT_EQ(instance->Gravity, 3.0);
    EXPECT_EQ(instance->frameStep, 5);
    EXPECT_EQ(instance->scaleCtl, 1);
    EXPECT_STREQ(instance->objectList.names[0].data(), "spark.lwo");
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_EQ(instance->refResolved, 0);
}

TEST_F(KeywordBlock, AnyBeginningOfTheStartKeywordOpensTheBlock) {
    for (const std::string first : {"", " anything", "PLOF", "P", "PLOF_START 12"}) {
        instance->Birth = 100;
        load({first, "Birth 7", "PLOF_END"});
        EXPECT_EQ(instance->Birth, 7) << "first line '" << first << "'";
    }
}

TEST_F(KeywordBlock, AnyOtherFirstLineLeavesTheInstanceUntouched) {
    instance->refItem = avoid;
    instance->refResolved = 1;
    for (const Lines &block :
         {Lines{"PLOF_STARTED", "Birth 7"}, Lines{"V0Min 3", "Birth 7"}, Lines{"plof_start", "Birth 7"}, Lines{}}) {
        EXPECT_EQ(load(block), block.empty() ? 0u : 1u);
        EXPECT_EQ(instance->Birth, 100);
        EXPECT_EQ(instance->V0Min, 1.0);
        EXPECT_EQ(instance->refItem, avoid);
        EXPECT_EQ(instance->refResolved, 1);
        EXPECT_EQ(instance->particles[0].lifetime, 0) << "no launch data drawn";
    }
}

TEST_F(KeywordBlock, ShortenedKeywordsTakeTheFirstKeywordTheyBegin) {
    load({"PLOF_START", "V0 2", "V0Ma 5", "A 3", "AgeM 4", "G 1.5", "R 0.5", "Re 0.25", "ReC 0", "S 6", "SpreadM 7",
          "O 1", "PLOF_END"});
    EXPECT_EQ(instance->V0Min, 2.0);
    EXPECT_EQ(instance->V0Max, 5.0);
    EXPECT_EQ(instance->AgeMin, 4) << "'A' and 'AgeM' both begin AgeMin";
    EXPECT_EQ(instance->AgeMax, 60);
    EXPECT_EQ(instance->Gravity, 1.5);
    EXPECT_EQ(instance->Regist, 0.25);
    EXPECT_EQ(instance->ReCycle, 0);
    EXPECT_EQ(instance->START_F, 6);
    EXPECT_EQ(instance->SpreadMin, 7);
    EXPECT_EQ(instance->SpreadMax, 180);
    EXPECT_EQ(instance->OrgEmit, 1);
}

TEST_F(KeywordBlock, IntegerSettingsTruncateTowardZeroAndSaturate) {
    load({"PLOF_START", "AgeMin 12.9", "AgeMax -3.7", "Birth 1e300", "START_F -1e300", "SpreadMin 1e999",
          "SpreadMax 2147483648", "ReCycle 0.99", "PLOF_END"});
    EXPECT_EQ(instance->AgeMin, 12);
    EXPECT_EQ(instance->AgeMax, -3);
    EXPECT_EQ(instance->Birth, 2147483647);
    EXPECT_EQ(instance->START_F, -2147483647 - 1);
    EXPECT_EQ(instance->SpreadMin, 2147483647);
    EXPECT_EQ(instance->SpreadMax, 2147483647);
    EXPECT_EQ(instance->ReCycle, 0);
}

TEST_F(KeywordBlock, OrgEmitKeepsTheLowEightBits) {
    const std::pair<const char *, int> cases[] = {
        {"OrgEmit 1", 1}, {"OrgEmit 257.5", 1}, {"OrgEmit -1", 255}, {"OrgEmit 1e300", 255}, {"OrgEmit -1e300", 0},
    };
    for (const auto &[line, expected] : cases) {
        load({"PLOF_START", line, "PLOF_END"});
        EXPECT_EQ(instance->OrgEmit, expected) << line;
    }
}

// Names used to come back cut to 49 characters.
TEST_F(KeywordBlock, NameLinesAreReadWholeUpTo255Characters) {
    load({"PLOF_START", "REFERENCE", "Left Rock 02", "PLOF_END"});
    EXPECT_STREQ(instance->refName.data(), "Left Rock 02");
    const std::string longName(70, 'N');
    EXPECT_EQ(load({"PLOF_START", "REFERENCE", longName, "Birth 5", "PLOF_END"}), 5u);
    EXPECT_EQ(std::string(instance->refName.data()), longName);
    EXPECT_EQ(instance->Birth, 5);
    // A name line that looks like the end of the block is still a name.
    load({"PLOF_START", "REFERENCE", "PLOF_END", "Birth 6", "PLOF_END"});
    EXPECT_STREQ(instance->refName.data(), "PLOF_END");
    EXPECT_EQ(instance->Birth, 6);
}

TEST_F(KeywordBlock, TheBlockEndsAtAnEmptyOrSpaceLedLineOrWhereTheHostStops) {
    EXPECT_EQ(load({"PLOF_START", "AgeMin 5", "AgeMax 6"}), 3u);
    EXPECT_TRUE(launchDataDrawn()) << "a block cut short still re-initialises";
    EXPECT_EQ(instance->particles[3].lifetime, 5);
    EXPECT_EQ(load({"PLOF_START", "Birth 1", "", "Birth 2"}), 3u);
    EXPECT_EQ(instance->Birth, 1);
    EXPECT_EQ(load({"PLOF_START", "Birth 3", " Birth 4", "Birth 5"}), 3u);
    EXPECT_EQ(instance->Birth, 3);
    EXPECT_EQ(load({"PLOF_START", "Birth 6", "PLOF", "Birth 7"}), 3u);
    EXPECT_EQ(instance->Birth, 6);
    EXPECT_EQ(load({"PLOF_START", "Birth 8"}), 2u);
    EXPECT_EQ(instance->Birth, 8);
    // "REFERENCE" as the last line: the name the host cannot give is empty.
    std::strcpy(instance->refName.data(), "Old");
    load({"PLOF_START", "REFERENCE"});
    EXPECT_STREQ(instance->refName.data(), "");
}

TEST_F(KeywordBlock, GarbageLinesAreSkipped) {
    const std::string oversized = "Gravity " + std::string(300, '7');
    load({"PLOF_START", "Color 3", "v0min 9", "Birth", "V0Min abc", "Gravity -", "AgeMin 20 frames", "\tBirth 9",
          oversized, "SpreadMax 45", "PLOF_END"});
    EXPECT_EQ(instance->Birth, 100) << "a keyword without a value keeps the setting";
    EXPECT_EQ(instance->V0Min, 0.0) << "text where a number belongs reads as 0";
    EXPECT_EQ(instance->AgeMin, 20);
    EXPECT_EQ(instance->Gravity, 7.777777777777778e246) << "the line is cut to 255 characters";
    EXPECT_EQ(instance->SpreadMax, 45);
}

}  // namespace
}  // namespace plof
