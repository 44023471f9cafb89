#pragma once
// Immobilizers that learn ignition keys, each keeping what a technician's session changes:
//
// - "renault-immobilizer": KWP 2000 messages with format, target and source bytes. Routine
//   0xC5 started with the vehicle's PIN ("31 C5 00 p1 p2") opens the key learning (71 C5);
//   writing local identifier 0xD2 ("3B D2 01 00") closes it and counts one session.
// - "nissan-immobilizer": the coding start and status requests of the data; the start is
//   answered with 0x01 first, the status with the procedure's state third (0x01 running,
//   0x02 done from the configured poll on); the closing message 0x30 ends the procedure and,
//   when it was done, counts one more key.
// - "opel-can-immobilizer": messages on CAN identifier 0x245 (two identifier bytes, a
//   single-frame length, the service), answered on 0x645. The PIN (local identifier 0x60)
//   unlocks one erase (0x68) or one key learnt (0x69), each after the periodic data were
//   stopped (AA 00); learning raises the key count, which "1A 70" reads.
//
// The scenario keys are in docs/simulator.md.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim/stateful_unit.h"

namespace corvan::sim {

class RenaultImmobilizer final : public UnitBase {
  public:
    static std::unique_ptr<RenaultImmobilizer> fromJson(const JsonNode& config);
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    bool learning() const { return learning_; }
    int sessions() const { return sessions_; }  // learning runs closed with the end request

  private:
    std::array<uint8_t, 2> pin_{};
    bool learning_ = false;
    int sessions_ = 0;
};

class NissanImmobilizer final : public UnitBase {
  public:
    static std::unique_ptr<NissanImmobilizer> fromJson(const JsonNode& config);
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    int polls() const { return polls_; }        // status polls of the running procedure
    int keys() const { return keys_; }          // procedures closed after reaching 0x02
    int closings() const { return closings_; }  // closing messages 0x30

  private:
    enum class Phase { Idle, Coding, Done };
    uint8_t state() const;

    std::vector<uint8_t> start_, status_;
    int64_t pollsToEnd_ = 3;
    bool refuseStart_ = false;
    Phase phase_ = Phase::Idle;
    int polls_ = 0, keys_ = 0, closings_ = 0;
};

class OpelCanImmobilizer final : public UnitBase {
  public:
    static std::unique_ptr<OpelCanImmobilizer> fromJson(const JsonNode& config);
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    int keys() const { return keys_; }
    bool unlocked() const { return unlocked_; }

  private:
    EcuReply reply(std::vector<uint8_t> data) const;
    std::vector<uint8_t> serve(std::span<const uint8_t> data);
    std::vector<uint8_t> changeKeys(std::span<const uint8_t> data);

    std::string pin_;
    std::array<uint8_t, 2> requestId_{0x02, 0x45}, replyId_{0x06, 0x45};
    int64_t keys_ = 1, maxKeys_ = 5;
    std::deque<uint8_t> learnFaults_;  // reasons the next learn requests are refused with
    bool unlocked_ = false, periodicStopped_ = false;
};

}  // namespace corvan::sim
