// Shared set-up of the panel suites: the fake host services, the recording
// panel services and a fresh instance, plus a way to open the options panel
// with a scripted user.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "panel/options_panel.h"
#include "support/panel_fake_host.h"
#include "support/recording_panel_services.h"
#include "support/test_instance.h"

namespace plof::test {

inline constexpr const char *kOptionsTitle = "PLOF!  ver.1.95";
inline constexpr int32_t kConfirm = 1;
inline constexpr int32_t kCancel = 0;

class PanelTest : public ::testing::Test {
protected:
    PanelFakeHost host;
    RecordingPanelServices services;
    TestInstance instance{4};

    // Opens the options panel; `act` plays the user on it and answers
    // confirm or cancel. Nested panels reach `nested` (cancelled without one).
    int32_t openOptions(std::function<int32_t(RecordedPanel &)> act,
                        std::function<int32_t(RecordedPanel &)> nested = nullptr) {
        services.user = [act, nested](RecordedPanel &panel) -> int32_t {
            if (panel.title == kOptionsTitle) return act(panel);
            return nested ? nested(panel) : kCancel;
        };
        return openOptionsPanel(1, &PanelFakeHost::global, &*instance);
    }

    static RecordedControl &dragButton(RecordedPanel &panel, std::size_t index) { return panel.controlAt(index); }
};

}  // namespace plof::test
