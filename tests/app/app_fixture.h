// Shared set-up of the viewer tests: the fake shell and the recording
// Direct3D installed, a temporary log current, the application state at
// its start values before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "fake_shell.h"
#include "recording_device.h"
#include "scoped_log.h"

class AppTest : public ::testing::Test {
protected:
    AppTest() { resetAppState(); }
    ~AppTest() override { resetAppState(); }

    // Counts the log's lines that contain `needle`.
    int logCount(const std::string& needle) const {
        const std::string text = log.text();
        int n = 0;
        for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
        return n;
    }

    FakeShell fake;
    rec::ScopedRecordingDirect3D direct3d;
    testing_support::ScopedLog log;
};
