#pragma once
// Frames on the Varbox line: writing a request with its check byte, reading and checking a
// reply one byte at a time, and throwing away garbage after a bad frame. Every read is a
// one-byte read bounded by the port's read time-out; the scratch fields of the link record
// what the last read and write did, for the engine to inspect.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/varbox_link.h"

namespace corvan {

// The box's programmer command; it is never sent from a module (a card left in the
// programmer would be rewritten), the byte-wise send refuses it with this message.
inline constexpr uint8_t kRefusedCommand = 0x06;
inline constexpr std::string_view kRefusedCommandMessage = "Retire tarjeta del grabador";

// A line that never falls silent (a card stuck streaming) is reported after this many
// bytes in a row; the flush then goes on.
inline constexpr uint32_t kFlushReportCount = 10000;
inline constexpr std::string_view kEndlessInputMessage =
    "Desbordamiento de pila de UART. Retire tarjeta";

// Byte-wise send: header, command and data (L + 3 bytes of `request`) and then the check
// byte, each with a one-byte write. Command 6 is refused with an OK box and nothing is
// written. A request shorter than its header says is not sent (write ok becomes 0).
void SendFrame(VarboxLink& link, std::span<const uint8_t> request);

// Block send: stores the check byte at index L + 3 of `buffer` and writes L + 4 bytes with
// one write, and returns when the port has sent them. Returns 1 when the write succeeded,
// else 0 (also when `buffer` has no room for the check byte). No command-6 refusal.
int SendFrameBlock(VarboxLink& link, std::span<uint8_t> buffer);
// The same for a request held in a vector, which grows by the check byte's room if needed.
int SendFrameBlock(VarboxLink& link, std::vector<uint8_t>& request);

// Reads one frame into `reply` and returns its length L + 4, or 0 when none came: with
// fewer than 3 header bytes the failure kind is 0 and the line is left alone; with a bad
// check byte the line is flushed and the failure kind is 1. Reply byte 2 is cleared first,
// so a receive that gets no header never leaves an earlier command byte there.
// The frame is bounded by `reply`: one longer than reply.size() is flushed and counts as a
// failed check (kind 1); nothing is ever written past the buffer.
int ReceiveFrame(VarboxLink& link, std::span<uint8_t> reply);

// Discards input until a read brings nothing; returns the bytes discarded in the last pass
// of up to 10000 (after each full pass the endless-input message is shown).
uint32_t FlushReceive(VarboxLink& link);

}  // namespace corvan
