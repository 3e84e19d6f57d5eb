#include "panel/object_file_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/path_text.h"
#include "panel/panel_fixture.h"

namespace plof::test {
namespace {

using Services = RecordingPanelServices;

std::string joined(std::initializer_list<const char *> parts) {
    std::string path;
    for (const char *part : parts) {
        if (!path.empty()) path += kPathSeparator;
        path += part;
    }
    return path;
}

class ObjectFileListTest : public PanelTest {
protected:
    // Opens the options panel, then the scene-baking panel, and presses
    // "ObjectFile " once per queued file answer; the baking panel is cancelled.
    void addFiles(std::size_t presses) {
        openOptions(
            [](RecordedPanel &panel) {
                Services::press(panel.control("    CreateScene   "));
                return kCancel;
            },
            [presses](RecordedPanel &panel) {
                for (std::size_t i = 0; i < presses; ++i) Services::press(panel.control("ObjectFile "));
                return kCancel;
            });
    }

    const char *entry(std::size_t index) const { return instance.instance->objectList.names[index].data(); }
};

TEST_F(ObjectFileListTest, TheFirstFileReplacesThePlaceholderAndLaterOnesAppend) {
    const std::string rock = joined({"lib", "rock.lwo"});
    host.chooseFile(rock);
    host.chooseFile(rock);
    host.chooseFile(joined({"other", "leaf.lwo"}));
    addFiles(3);
    EXPECT_EQ(instance->objectList.count, 3);
    EXPECT_EQ(entry(0), rock);
    EXPECT_EQ(entry(1), rock);
    EXPECT_EQ(entry(2), joined({"other", "leaf.lwo"}));
    // Each dialog opens where the previous file was chosen.
    ASSERT_EQ(host.fileRequests.size(), 3u);
    EXPECT_EQ(host.fileRequests[0].title, "Load Object");
    EXPECT_EQ(host.fileRequests[0].name, "<*.lwo");
    EXPECT_EQ(host.fileRequests[0].path, "objects");
    EXPECT_EQ(host.fileRequests[0].size, 256);
    EXPECT_EQ(host.fileRequests[1].path, std::string("lib") + kPathSeparator);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(ObjectFileListTest, CapitalExtensionAndCancelledDialogChangeNothing) {
    host.chooseFile(joined({"caps", "ROCK.LWO"}));
    host.cancelFileDialog();
    addFiles(2);
    EXPECT_EQ(instance->objectList.count, 1);
    EXPECT_STREQ(entry(0), "none");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Can't open .lwo file"), std::string("<null>")));
    // The refused name did not move the dialog's directory.
    EXPECT_EQ(host.fileRequests[1].path, "objects");
}

TEST_F(ObjectFileListTest, TheListHoldsAtMost255Files) {
    for (int i = 0; i < 255; ++i) host.chooseFile(joined({"a", ("p" + std::to_string(i) + ".lwo").c_str()}));
    host.chooseFile(joined({"full", "extra.lwo"}));
    host.cancelFileDialog();
    addFiles(257);
    EXPECT_EQ(instance->objectList.count, 255);
    EXPECT_EQ(entry(254), joined({"a", "p254.lwo"}));
    EXPECT_STREQ(entry(255), "");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Object List is Full!");
    // The refused file still moved the next dialog to its directory.
    EXPECT_EQ(host.fileRequests.back().path, std::string("full") + kPathSeparator);
}

TEST_F(ObjectFileListTest, FilesStayWhenTheBakingPanelIsCancelled) {
    host.chooseFile(joined({"lib", "rock.lwo"}));
    addFiles(1);
    EXPECT_EQ(entry(0), joined({"lib", "rock.lwo"}));
    // The remembered directory goes with the options panel: a new opening
    // starts again from the host's directory.
    host.chooseFile(joined({"lib", "twig.lwo"}));
    addFiles(1);
    EXPECT_EQ(host.fileRequests.back().path, "objects");
    EXPECT_EQ(instance->objectList.count, 2);
}

TEST(DirectoryOf, KeepsEverythingUpToTheLastSeparator) {
    char out[256];
    directoryOf(joined({"a", "b", "c.lwo"}).c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), joined({"a", "b", ""}));
    directoryOf("c.lwo", out, sizeof out);
    EXPECT_STREQ(out, "c");
    directoryOf("", out, sizeof out);
    EXPECT_STREQ(out, "");
    const std::string rooted = std::string(1, kPathSeparator) + "x.lwo";
    directoryOf(rooted.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(1, kPathSeparator));
    char small[4] = {'z', 'z', 'z', 'z'};
    directoryOf(joined({"abcdef", "x.lwo"}).c_str(), small, 3);
    EXPECT_STREQ(small, "ab");
    EXPECT_EQ(small[3], 'z');
}

TEST_F(ObjectFileListTest, ALongestPathIsKeptWhole) {
    const std::string longest = std::string(249, 'd') + kPathSeparator + "x.lwo";
    ASSERT_EQ(longest.size(), 255u);
    host.chooseFile(longest);
    host.chooseFile(joined({"b", "y.lwo"}));
    addFiles(2);
    EXPECT_EQ(entry(0), longest);
    EXPECT_EQ(host.fileRequests[1].path, longest.substr(0, 250));
}

}  // namespace
}  // namespace plof::test
