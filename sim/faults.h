#pragma once
// Faults of the line and the box, injected from a scenario file or by a test. Each fault
// counts the request frames the box receives: it lets `skip` frames pass, then acts on the
// next `count` frames (every frame from then on with count -1), optionally only on frames
// of one command. Several faults may act on the same frame.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvan::sim {

enum class FaultKind {
    Silence,       // the box does not hear the frame: no processing, no reply
    CorruptCheck,  // the reply's check byte is inverted
    Truncate,      // the reply stops after `keep` bytes
    Overlong,      // the reply's header claims `length` data bytes
    Endless,       // instead of the reply, `bytes` bytes without a pause
    Garbage,       // `garbage` bytes after the reply (between frames), or before it
    Late,          // the reply comes `delayUs` later
    HangUp,        // the box hangs up the line instead of replying
    Disconnect,    // the ECU connection drops after this frame (state 0)
};

const char* faultName(FaultKind k);
std::optional<FaultKind> faultFromName(const std::string& name);

// The bytes of a garbage fault unless the scenario gives its own.
std::vector<uint8_t> defaultGarbage();

struct Fault {
    FaultKind kind = FaultKind::Silence;
    int skip = 0;
    int count = 1;                   // -1: for ever
    std::optional<uint8_t> command;  // only frames with this command byte
    int keep = -1;                   // Truncate: bytes kept; -1 drops only the check byte
    int length = 0x7FFF;             // Overlong
    int bytes = 12000;               // Endless
    std::vector<uint8_t> garbage = defaultGarbage();
    bool before = false;     // Garbage: in front of the reply instead of after it
    int64_t delayUs = 0;     // Late
    bool comesBack = false;  // HangUp: the line is up again when the host opens it again
};

// What the faults did to one frame.
struct FaultEffect {
    bool silence = false;
    bool hangUp = false;
    bool comesBack = false;  // with hangUp
    bool disconnect = false;
    int64_t extraDelayUs = 0;
};

class FaultPlan {
  public:
    void add(Fault f) { faults_.push_back(std::move(f)); }
    void clear() { faults_.clear(); }
    bool empty() const { return faults_.empty(); }

    // Picks the faults due for a frame with this command (consuming their counts).
    std::vector<Fault> take(uint8_t command);

    // What the picked faults do before the box looks at the frame.
    static FaultEffect effect(const std::vector<Fault>& due);
    // Rewrites the reply bytes (possibly to nothing); `reply` may be empty (no reply).
    static void apply(const std::vector<Fault>& due, std::vector<uint8_t>& reply);

  private:
    std::vector<Fault> faults_;
};

}  // namespace corvan::sim
