#include "runtime/varbox_io.h"

#include <string>

#include "platform/serial_port.h"
#include "runtime/frame.h"
#include "runtime/host_services.h"
#include "ui/screen.h"

namespace corvan {

namespace {

FrameObserver* observer(VarboxLink& link) {
    return link.host ? link.host->frames : nullptr;
}

bool lineLost(VarboxLink& link) {
    if (!link.port || !link.port->lost()) return false;
    if (FrameObserver* o = observer(link)) o->lineLost();
    return true;
}

// One one-byte read into the link's scratch fields; true when a byte arrived. A failed read
// call (a lost line) counts as no byte, so every loop over reads ends.
bool readOne(VarboxLink& link) {
    uint8_t byte = 0;
    size_t got = 0;
    const bool ok = link.port && link.port->readByte(byte, got);
    link.readOk = ok ? 1 : 0;
    link.bytesRead = ok ? static_cast<uint32_t>(got) : 0;
    if (!ok) lineLost(link);
    if (!ok || got == 0) return false;
    link.readByte = byte;
    return true;
}

bool writeOne(VarboxLink& link, uint8_t byte) {
    link.writeByte = byte;
    size_t written = 0;
    const bool ok = link.port && link.port->write(&link.writeByte, 1, written);
    link.writeOk = ok ? 1 : 0;
    link.bytesWritten = static_cast<uint32_t>(written);
    return ok && written == 1;
}

void showOk(VarboxLink& link, std::string_view text) {
    if (link.host && link.host->screen)
        link.host->screen->messageBox(std::string(text), "", ui::Buttons::Ok, ui::Icon::None);
}

// Tells the observer what reached the line: the whole frame, or, when the line was lost on
// the way, the bytes it took.
void traceSent(VarboxLink& link, std::span<const uint8_t> frame, size_t written) {
    FrameObserver* o = observer(link);
    if (!o) return;
    if (written == frame.size())
        o->frameSent(frame);
    else if (written > 0)
        o->frameCut(frame.first(written));
}

}  // namespace

void SendFrame(VarboxLink& link, std::span<const uint8_t> request) {
    if (request.size() < frame::kHeaderSize) return;
    if (request[2] == kRefusedCommand) {
        showOk(link, kRefusedCommandMessage);
        return;
    }
    const size_t length = frame::dataLength(request[0], request[1]) + 3;
    if (request.size() < length) {
        link.writeOk = 0;
        return;
    }
    // Nothing goes into a line known to be lost.
    if (lineLost(link)) {
        link.writeOk = 0;
        link.bytesWritten = 0;
        return;
    }
    std::vector<uint8_t> sent(request.begin(), request.begin() + length);
    sent.push_back(frame::xorOf(sent));
    size_t written = 0;
    if (link.port) link.port->announceWrites(sent);
    // Write failures are not the technician's business (the missing reply is), but a byte
    // the line refused because it was lost ends the frame: the rest would go nowhere.
    for (uint8_t b : sent) {
        if (writeOne(link, b)) {
            ++written;
        } else if (link.port && link.port->lost()) {
            break;
        }
    }
    traceSent(link, sent, written);
    lineLost(link);
}

int SendFrameBlock(VarboxLink& link, std::span<uint8_t> buffer) {
    if (buffer.size() < frame::kHeaderSize) return link.writeOk = 0;
    const size_t length = frame::dataLength(buffer[0], buffer[1]) + 4;
    if (buffer.size() < length) return link.writeOk = 0;
    buffer[length - 1] = frame::xorOf(buffer.first(length - 1));
    if (lineLost(link)) {
        link.bytesWritten = 0;
        return link.writeOk = 0;
    }
    size_t written = 0;
    const bool ok = link.port && link.port->write(buffer.data(), length, written);
    link.writeOk = ok ? 1 : 0;
    link.bytesWritten = static_cast<uint32_t>(written);
    traceSent(link, buffer.first(length), ok ? length : written);
    // The reads of the reply start once the frame is out: a long block still on its way
    // would otherwise use up their time-outs before the box could answer.
    if (ok) link.port->drain();
    lineLost(link);
    return link.writeOk;
}

int SendFrameBlock(VarboxLink& link, std::vector<uint8_t>& request) {
    if (request.size() >= frame::kHeaderSize) {
        const size_t length = frame::dataLength(request[0], request[1]) + 4;
        if (request.size() < length) request.resize(length);
    }
    return SendFrameBlock(link, std::span<uint8_t>(request));
}

int ReceiveFrame(VarboxLink& link, std::span<uint8_t> reply) {
    const size_t capacity = reply.size();
    if (capacity > 2) reply[2] = 0;
    uint8_t header[frame::kHeaderSize] = {};
    uint8_t check = 0;
    size_t got = 0;
    if (link.port) link.port->expect(frame::kHeaderSize);
    while (got < frame::kHeaderSize && readOne(link)) {
        header[got] = link.readByte;
        if (got < capacity) reply[got] = link.readByte;
        check ^= link.readByte;
        ++got;
    }
    if (got < frame::kHeaderSize) {
        link.lastFailureKind = 0;
        if (got > 0)
            if (FrameObserver* o = observer(link)) o->frameReceived({header, got}, false);
        return 0;
    }
    const size_t whole = frame::dataLength(header[0], header[1]) + 4;
    if (whole > capacity) {
        // The box's frame does not fit the module's reply buffer: the line's length bytes
        // are not trusted to write past it. Such a frame is as useless as a corrupt one, so
        // it is thrown away with everything after it and reported like a failed check.
        if (FrameObserver* o = observer(link)) o->frameReceived({header, got}, false);
        FlushReceive(link);
        link.lastFailureKind = 1;
        return 0;
    }
    size_t n = frame::kHeaderSize;
    if (link.port) link.port->expect(whole - n);
    // With L = 0 the loop makes exactly one more read, for the check byte at index 3.
    while (n < whole && readOne(link)) {
        reply[n++] = link.readByte;
        check ^= link.readByte;
    }
    if (check == 0) {
        if (FrameObserver* o = observer(link)) o->frameReceived(reply.first(whole), true);
        return static_cast<int>(whole);
    }
    if (FrameObserver* o = observer(link)) o->frameReceived(reply.first(n), false);
    FlushReceive(link);
    link.lastFailureKind = 1;
    return 0;
}

uint32_t FlushReceive(VarboxLink& link) {
    uint32_t count = 0;
    while (readOne(link)) {
        if (++count == kFlushReportCount) {
            showOk(link, kEndlessInputMessage);
            count = 0;
        }
    }
    return count;
}

}  // namespace corvan
