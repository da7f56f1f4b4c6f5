#include "scenario.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "app/app_main.h"
#include "app/app_state.h"
#include "fake_shell.h"
#include "mkplayer/player.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "render/renderer.h"
#include "scoped_log.h"

namespace faults {

namespace {

constexpr int kFrames = 10;
const char* const kSlotNames[MDS::SlotCount] = {"beltl", "beltr", "pack", "head", "hat"};

template <typename Model>
void addSurfaces(const std::string& owner, const Model& model, const std::vector<IDirect3DTexture8*>& textures,
                 std::set<std::string>& items) {
    for (std::uint32_t s = 0; s < model.numSurfaces(); ++s) {
        const std::string at = owner + ".s" + std::to_string(s);
        if (model.vertexBuffer(s)) items.insert(at + ".vb");
        if (model.indexBuffer(s)) items.insert(at + ".ib");
        if (s < textures.size() && textures[s]) items.insert(at + ".tex");
    }
}

std::set<std::string> inventory() {
    std::set<std::string> items;
    if (!pBody || !pBody->loaded()) return items;
    items.insert("body");
    addSurfaces("body", *pBody, pBody->textures(), items);
    if (pBody->skeletonLines()) items.insert("body.skeleton");
    for (int slot = 0; slot < MDS::SlotCount; ++slot) {
        const MDC* model = pBody->attachment(static_cast<MDS::Slot>(slot));
        if (!model || !model->loaded()) continue;
        items.insert(kSlotNames[slot]);
        addSurfaces(kSlotNames[slot], *model, model->textures(), items);
    }
    return items;
}

bool drawnFrom(const std::vector<rec::Draw>& draws, std::size_t first, IDirect3DVertexBuffer8* vb) {
    const auto* wanted = static_cast<rec::VertexBuffer*>(vb);
    return std::any_of(draws.begin() + static_cast<std::ptrdiff_t>(first), draws.end(),
                       [&](const rec::Draw& d) { return d.stream == wanted; });
}

template <typename Model>
void checkDrawn(const std::string& owner, const Model& model, const std::vector<rec::Draw>& draws, std::size_t first,
                std::vector<std::string>& undrawn) {
    for (std::uint32_t s = 0; s < model.numSurfaces(); ++s) {
        if (model.vertexBuffer(s) && model.indexBuffer(s) && !drawnFrom(draws, first, model.vertexBuffer(s)))
            undrawn.push_back(owner + ".s" + std::to_string(s));
    }
}

std::vector<std::string> undrawnItems(const rec::RecordingDevice& device, std::size_t first) {
    std::vector<std::string> undrawn;
    if (!pBody || !pBody->loaded()) return undrawn;
    checkDrawn("body", *pBody, device.draws, first, undrawn);
    for (int slot = 0; slot < MDS::SlotCount; ++slot) {
        const MDC* model = pBody->attachment(static_cast<MDS::Slot>(slot));
        if (model && model->loaded()) checkDrawn(kSlotNames[slot], *model, device.draws, first, undrawn);
    }
    return undrawn;
}

std::vector<std::string> errorLines(const std::string& log) {
    static const std::string open = "<b>ERROR:</b> ";
    std::vector<std::string> out;
    for (std::size_t at = log.find(open); at != std::string::npos; at = log.find(open, at + 1)) {
        const std::size_t from = at + open.size();
        const std::size_t end = log.find("</p>", from);
        out.push_back(log.substr(from, end == std::string::npos ? std::string::npos : end - from));
    }
    return out;
}

void setText(char* out, std::size_t size, const std::string& text) { std::snprintf(out, size, "%s", text.c_str()); }

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// The owner of an item: "body" for body.*, else the slot name.
std::string ownerOf(const std::string& item) { return item.substr(0, item.find('.')); }

}  // namespace

const char* name(DeviceCall call) {
    static const char* const names[] = {"CreateVertexBuffer", "CreateIndexBuffer", "CreateTexture",
                                        "Lock (vertex buffer)", "Unlock (vertex buffer)", "Lock (index buffer)",
                                        "Unlock (index buffer)", "LockRect (texture)", "UnlockRect (texture)"};
    return names[static_cast<int>(call)];
}

const char* name(sys::Step step) {
    static const char* const names[] = {"file open", "file size", "block allocation", "file read", "block release"};
    return names[static_cast<int>(step)];
}

rec::FailSwitch& failSwitch(rec::RecordingDevice& device, DeviceCall call) {
    switch (call) {
        case DeviceCall::CreateVertexBuffer: return device.createVertexBuffer;
        case DeviceCall::CreateIndexBuffer: return device.createIndexBuffer;
        case DeviceCall::CreateTexture: return device.createTexture;
        case DeviceCall::LockVertexBuffer: return device.lockVertexBuffer;
        case DeviceCall::UnlockVertexBuffer: return device.unlockVertexBuffer;
        case DeviceCall::LockIndexBuffer: return device.lockIndexBuffer;
        case DeviceCall::UnlockIndexBuffer: return device.unlockIndexBuffer;
        case DeviceCall::LockTexture: return device.lockTexture;
        case DeviceCall::UnlockTexture: return device.unlockTexture;
        default: return device.unlockTexture;
    }
}

const std::string& playerBase() {
    static testing_support::TempDir dir;
    static const bool written = [] {
        const mp::WriteResult result = mp::writePlayer(dir.path());
        if (!result.ok) std::fprintf(stderr, "demo player not written: %s\n", result.error.c_str());
        return result.ok;
    }();
    (void)written;
    return dir.path();
}

Outcome run(const Arming& arming) {
    const auto started = std::chrono::steady_clock::now();
    Outcome out;
    resetAppState();
    auto shell = std::make_unique<FakeShell>();
    auto direct3d = std::make_unique<rec::ScopedRecordingDirect3D>();
    {
        testing_support::ScopedLog log;
        if (arming.beforeStart) arming.beforeStart(*direct3d);
        startViewer(shell::SW_SHOW);
        rec::RecordingDevice* device = direct3d->lastDevice();
        std::array<unsigned, static_cast<int>(DeviceCall::Count)> startCalls{};
        if (device) {
            for (int c = 0; c < static_cast<int>(DeviceCall::Count); ++c)
                startCalls[c] = failSwitch(*device, static_cast<DeviceCall>(c)).calls;
            if (arming.afterStart) arming.afterStart(*device);
        }
        if (arming.useSys) sys::setSysFaults(arming.sysFaults);
        else sys::clearSysFaults();

        setText(BaseDir, sizeof BaseDir, playerBase() + "/models/players");
        setText(ModelName, sizeof ModelName, "infantryss");
        setText(BodySkin, sizeof BodySkin, "body_default.skin");
        setText(HeadSkin, sizeof HeadSkin, "head_default.skin");
        setText(ModelDir, sizeof ModelDir, std::string(BaseDir) + "\\" + ModelName);
        assembleModel();

        std::size_t lastFrameStart = 0;
        for (int f = 0; f < kFrames; ++f) {
            if (pBody && pBody->loaded()) pBody->setFrame(static_cast<std::uint32_t>(f) % pBody->numFrames());
            if (device) lastFrameStart = device->draws.size();
            pRenderer->render();
        }
        out.items = inventory();
        if (device) {
            out.lastFrameDraws = static_cast<int>(device->draws.size() - lastFrameStart);
            out.undrawn = undrawnItems(*device, lastFrameStart);
        }
        shutdownViewer();
        for (int s = 0; s < static_cast<int>(sys::Step::Count); ++s)
            out.sysCalls[s] = sys::sysCallCount(static_cast<sys::Step>(s));
        sys::clearSysFaults();
        if (device) {
            for (int c = 0; c < static_cast<int>(DeviceCall::Count); ++c)
                out.deviceCalls[c] = failSwitch(*device, static_cast<DeviceCall>(c)).calls - startCalls[c];
            out.liveAfterShutdown = device->liveResources();
        }
        out.log = log.text();
    }
    out.errors = errorLines(out.log);
    direct3d.reset();
    shell.reset();
    out.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    return out;
}

std::vector<std::string> newErrors(const Outcome& clean, const Outcome& faulted) {
    std::map<std::string, int> seen;
    for (const std::string& e : clean.errors) ++seen[e];
    std::vector<std::string> extra;
    for (const std::string& e : faulted.errors) {
        if (seen[e] > 0) --seen[e];
        else extra.push_back(e);
    }
    return extra;
}

std::vector<std::string> lost(const Outcome& clean, const Outcome& faulted) {
    std::vector<std::string> out;
    for (const std::string& item : clean.items)
        if (!faulted.items.count(item)) out.push_back(item);
    return out;
}

bool lossIsContained(const std::vector<std::string>& lostItems) {
    if (lostItems.size() <= 1) return true;
    if (std::find(lostItems.begin(), lostItems.end(), "body") != lostItems.end()) return true;
    const std::string owner = ownerOf(lostItems.front());
    auto all = [&](auto pred) { return std::all_of(lostItems.begin(), lostItems.end(), pred); };
    // One attached model (with its textures).
    if (owner != "body" && all([&](const std::string& i) { return ownerOf(i) == owner; })) return true;
    // One surface of one model: its buffers and texture.
    const std::string surface = lostItems.front().substr(0, lostItems.front().rfind('.'));
    if (all([&](const std::string& i) { return startsWith(i, surface + "."); })) return true;
    // The body skin: the body's textures and the three accessories it names.
    if (all([](const std::string& i) {
            const std::string o = ownerOf(i);
            return (o == "body" && i.size() > 4 && i.compare(i.size() - 4, 4, ".tex") == 0) || o == "beltl" ||
                   o == "beltr" || o == "pack";
        }))
        return true;
    // The head skin: the head and the hat it names.
    return all([](const std::string& i) { return ownerOf(i) == "head" || ownerOf(i) == "hat"; });
}

}  // namespace faults
