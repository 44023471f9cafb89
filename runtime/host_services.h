#pragma once
// What the program that owns the link (the engine, ecor-run, a test) lends to the plug-ins
// it calls: the clock, the screens, the device file system, the library loader and an
// optional observer of the frames on the wire. Plug-ins reach these only through the module
// context built at their entry.
#include <cstdint>
#include <span>

namespace corvan {
class Clock;
class DeviceRoot;
class LibraryLoader;
class WriteJournal;
class PluginCallObserver;
namespace ui {
class Screen;
}

// Sees every frame the runtime writes and every frame it receives (the wire trace).
class FrameObserver {
  public:
    virtual ~FrameObserver() = default;
    virtual void frameSent(std::span<const uint8_t> frame) = 0;
    // `good` is false for a frame whose check failed.
    virtual void frameReceived(std::span<const uint8_t> frame, bool good) = 0;
    // A frame the line took only in part before it was lost (the bytes it took).
    virtual void frameCut(std::span<const uint8_t> written) { (void)written; }
    // The line hung up or failed (said at every send or read that finds it lost).
    virtual void lineLost() {}
    // The line was opened again after it was lost; `ok` false when that failed.
    virtual void lineReopened(bool ok) { (void)ok; }
};

struct HostServices {
    Clock* clock = nullptr;
    ui::Screen* screen = nullptr;
    const DeviceRoot* root = nullptr;
    const LibraryLoader* loader = nullptr;
    FrameObserver* frames = nullptr;  // may be null
    WriteJournal* journal = nullptr;  // may be null: no write journal
    PluginCallObserver* calls = nullptr;  // may be null
};

}  // namespace corvan
