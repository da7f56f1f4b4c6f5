// The fault matrix: each platform call that a clean run of the viewer makes
// (system-layer steps and device calls) fails once, call by call, during the
// assembly of the demo player and ten frames. Every run must report the
// failure in the log, keep and draw what did not depend on the failed call,
// and give every device resource back at shutdown. The matrix is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "scenario.h"

using namespace faults;

namespace {

// At most this many runs per call kind (every k-th call beyond that).
constexpr unsigned kMaxRunsPerKind = 100;

std::string joined(const std::vector<std::string>& parts, std::size_t limit = 4) {
    std::string out;
    for (std::size_t i = 0; i < parts.size() && i < limit; ++i) out += (i ? ", " : "") + parts[i];
    if (parts.size() > limit) out += ", +" + std::to_string(parts.size() - limit);
    return out.empty() ? "-" : out;
}

bool mentionsAny(const std::vector<std::string>& errors, const std::vector<std::string>& expected) {
    return std::any_of(errors.begin(), errors.end(), [&](const std::string& e) {
        return std::any_of(expected.begin(), expected.end(),
                           [&](const std::string& x) { return e.find(x) != std::string::npos; });
    });
}

std::vector<std::string> expectedFor(sys::Step step) {
    switch (step) {
        case sys::Step::Open: return {"CreateFile - Invalid Handle Value", "CreateTextureFromFile failed"};
        case sys::Step::Size: return {"GetFileSize - Invalid File Size", "CreateTextureFromFile failed"};
        case sys::Step::Allocate: return {"VirtualAlloc returned NULL", "no memory for", "CreateTextureFromFile failed"};
        case sys::Step::Read:
            return {"ReadFile didn't read requested Number of bytes", "CreateTextureFromFile failed"};
        default: return {"VirtualFree failed", "CreateTextureFromFile failed"};
    }
}

std::vector<std::string> expectedFor(DeviceCall call) {
    switch (call) {
        case DeviceCall::CreateVertexBuffer: return {"CreateVertexBuffer failed!"};
        case DeviceCall::CreateIndexBuffer: return {"CreateIndexBuffer failed!"};
        case DeviceCall::LockVertexBuffer:
        case DeviceCall::LockIndexBuffer: return {"Lock failed!"};
        case DeviceCall::UnlockVertexBuffer:
        case DeviceCall::UnlockIndexBuffer: return {"Unlock failed - buffer still locked"};
        default: return {"CreateTextureFromFile failed"};
    }
}

struct Tally {
    int runs = 0, reported = 0, noEffect = 0, bad = 0;
};

class FaultMatrix : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        clean_ = new Outcome(run({}));
        std::printf("clean run: %zu items, %d draws in the last frame, %zu error lines, %.1f ms\n",
                    clean_->items.size(), clean_->lastFrameDraws, clean_->errors.size(), clean_->milliseconds);
    }
    static void TearDownTestSuite() {
        delete clean_;
        clean_ = nullptr;
    }

    // Checks one faulted run against the clean one, prints its matrix row
    // and counts it. `mayBeMasked`: a failing open of a file the clean run
    // does not find either changes nothing and needs no report.
    void judge(const std::string& kind, unsigned call, const Outcome& o, const std::vector<std::string>& expected,
               bool mayBeMasked, Tally& tally) {
        SCOPED_TRACE(kind + " #" + std::to_string(call));
        const std::vector<std::string> errors = newErrors(*clean_, o);
        const std::vector<std::string> gone = lost(*clean_, o);
        const bool changed = !gone.empty() || o.items != clean_->items;
        bool ok = true;
        auto fail = [&](bool condition) { ok = ok && condition; return condition; };

        EXPECT_TRUE(fail(o.liveAfterShutdown == 0)) << "live resources after shutdown: " << o.liveAfterShutdown;
        EXPECT_TRUE(fail(o.undrawn.empty())) << "loaded but not drawn: " << joined(o.undrawn, 20);
        EXPECT_TRUE(fail(lossIsContained(gone))) << "lost more than the failed part: " << joined(gone, 40);
        if (changed) {
            EXPECT_TRUE(fail(!errors.empty())) << "a part was lost without an error line";
        }
        if (!errors.empty()) {
            EXPECT_TRUE(fail(mentionsAny(errors, expected))) << "new errors: " << joined(errors, 10);
        }
        if (errors.empty() && !changed) {
            ++tally.noEffect;
            EXPECT_TRUE(fail(mayBeMasked)) << "the failure had no effect and no report";
        } else if (ok) {
            ++tally.reported;
        }
        if (!ok) ++tally.bad;
        ++tally.runs;
        std::printf("  %-24s #%-4u %-9s lost: %-44s log: %s\n", kind.c_str(), call,
                    !ok ? "FAULT" : (errors.empty() && !changed ? "no effect" : "ok"), joined(gone).c_str(),
                    joined(errors, 2).c_str());
    }

    static void summary(const std::string& kind, unsigned calls, const Tally& t) {
        std::printf("%-24s clean calls %4u, runs %3d: %3d reported and contained, %3d no effect, %d faults\n",
                    kind.c_str(), calls, t.runs, t.reported, t.noEffect, t.bad);
    }

    static unsigned stride(unsigned calls) { return calls <= kMaxRunsPerKind ? 1 : (calls + kMaxRunsPerKind - 1) / kMaxRunsPerKind; }

    static Outcome* clean_;
};

Outcome* FaultMatrix::clean_ = nullptr;

TEST_F(FaultMatrix, CleanRunLoadsTheWholePlayerWithoutErrors) {
    for (const char* part : {"body", "body.skeleton", "beltl", "beltr", "pack", "head", "hat"})
        EXPECT_TRUE(clean_->items.count(part)) << part;
    EXPECT_TRUE(clean_->errors.empty()) << joined(clean_->errors, 10);
    EXPECT_TRUE(clean_->undrawn.empty());
    EXPECT_EQ(clean_->liveAfterShutdown, 0);
    EXPECT_GT(clean_->sysCalls[static_cast<int>(sys::Step::Open)], 10u);
    EXPECT_GT(clean_->deviceCalls[static_cast<int>(DeviceCall::CreateTexture)], 5u);
}

TEST_F(FaultMatrix, EachSystemLayerCallFailsInTurn) {
    std::vector<std::string> summaries;
    for (int s = 0; s < static_cast<int>(sys::Step::Count); ++s) {
        const auto step = static_cast<sys::Step>(s);
        const unsigned calls = clean_->sysCalls[s];
        Tally tally;
        for (unsigned n = 1; n <= calls; n += stride(calls)) {
            Arming arming;
            arming.useSys = true;
            arming.sysFaults.failOnCall[s] = n;
            judge(name(step), n, run(arming), expectedFor(step), step == sys::Step::Open, tally);
        }
        summary(name(step), calls, tally);
    }
}

TEST_F(FaultMatrix, EachDeviceCallFailsInTurn) {
    for (int c = 0; c < static_cast<int>(DeviceCall::Count); ++c) {
        const auto call = static_cast<DeviceCall>(c);
        const unsigned calls = clean_->deviceCalls[c];
        Tally tally;
        for (unsigned n = 1; n <= calls; n += stride(calls)) {
            Arming arming;
            arming.afterStart = [call, n](rec::RecordingDevice& device) {
                rec::FailSwitch& sw = failSwitch(device, call);
                sw.onCall = sw.calls + n;
            };
            judge(name(call), n, run(arming), expectedFor(call), false, tally);
        }
        summary(name(call), calls, tally);
    }
}

// A lost device, one that needs a reset, an unknown state and a failing
// reset: each is logged, and the frames after it draw the whole player again.
TEST_F(FaultMatrix, DeviceStatesAreLoggedAndDrawingResumes) {
    struct Case {
        const char* label;
        std::vector<HRESULT> sequence;
        HRESULT resetResult;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"device lost", {D3DERR_DEVICELOST, D3DERR_DEVICELOST}, D3D_OK, {"D3D::render() - D3DERR_DEVICELOST"}},
        {"device not reset", {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET}, D3D_OK,
         {"D3D::render() - D3DERR_DEVICENOTRESET"}},
        {"unknown state", {E_FAIL}, D3D_OK, {"D3D::render() - unknown"}},
        {"reset fails", {D3DERR_DEVICENOTRESET}, D3DERR_INVALIDCALL, {"D3D::render() - D3DERR_DEVICENOTRESET"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Arming arming;
        arming.afterStart = [&c](rec::RecordingDevice& device) {
            device.cooperativeSequence.assign(c.sequence.begin(), c.sequence.end());
            device.resetResult = c.resetResult;
        };
        const Outcome o = run(arming);
        const std::vector<std::string> errors = newErrors(*clean_, o);
        EXPECT_TRUE(mentionsAny(errors, c.expected)) << joined(errors, 10);
        EXPECT_EQ(o.items, clean_->items);
        EXPECT_EQ(o.lastFrameDraws, clean_->lastFrameDraws);
        EXPECT_TRUE(o.undrawn.empty()) << joined(o.undrawn, 20);
        EXPECT_EQ(o.liveAfterShutdown, 0);
        std::printf("  %-24s last frame draws %d (clean %d), log: %s\n", c.label, o.lastFrameDraws,
                    clean_->lastFrameDraws, joined(errors, 3).c_str());
    }
}

// Without a Direct3D object or device the viewer still runs: the failure is
// logged, nothing is drawn and nothing crashes.
TEST_F(FaultMatrix, NoDeviceIsLoggedAndTheViewerRunsOn) {
    struct Case {
        const char* label;
        std::function<void(rec::ScopedRecordingDirect3D&)> arm;
        const char* expected;
    };
    const Case cases[] = {
        {"Direct3DCreate8", [](rec::ScopedRecordingDirect3D& d) { d.failCreate = true; },
         "Direct3DCreate8(D3D_SDK_VERSION) failed"},
        {"GetAdapterDisplayMode", [](rec::ScopedRecordingDirect3D& d) { d.d3d().failDisplayMode = true; },
         "pD3D->GetAdapterDisplayMode(...) failed"},
        {"CreateDevice", [](rec::ScopedRecordingDirect3D& d) { d.d3d().createDeviceResult = D3DERR_NOTAVAILABLE; },
         "pD3D->CreateDevice(...) failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Arming arming;
        arming.beforeStart = c.arm;
        const Outcome o = run(arming);
        EXPECT_TRUE(mentionsAny(o.errors, {c.expected})) << joined(o.errors, 10);
        EXPECT_EQ(o.liveAfterShutdown, -1);  // no device was ever made
        std::printf("  %-24s items %zu, log: %s\n", c.label, o.items.size(), joined(o.errors, 3).c_str());
    }
}

}  // namespace
