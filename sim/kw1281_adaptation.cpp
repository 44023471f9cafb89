#include "sim/kw1281_adaptation.h"

#include <algorithm>
#include <utility>

namespace corvan::sim {

namespace {

constexpr uint8_t kStartRoutine = 0x31, kStopRoutine = 0x32, kTesterPresent = 0x3E;
constexpr uint8_t kStart = 0xB8, kSelect = 0xB9, kRead = 0xBA, kSave = 0xBB;
constexpr uint8_t kPositive = 0x40;  // added to the service byte of an accepted request
// Negative answers: 7F, service, reason.
constexpr uint8_t kNotSupported = 0x11, kConditionsNotCorrect = 0x22, kOutOfRange = 0x31,
                  kAccessDenied = 0x33;

std::vector<uint8_t> refuse(uint8_t service, uint8_t reason) {
    return {0x7F, service, reason};
}

uint8_t hi(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}
uint8_t lo(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

}  // namespace

Kw1281Adaptation::Kw1281Adaptation(std::vector<AdaptationChannel> channels)
    : channels_(std::move(channels)) {}

void Kw1281Adaptation::reset() {
    running_ = false;
    selected_.reset();
    tested_.reset();
}

const AdaptationChannel* Kw1281Adaptation::channel(int number) const {
    for (const AdaptationChannel& c : channels_)
        if (c.number == number) return &c;
    return nullptr;
}

AdaptationChannel* Kw1281Adaptation::find(int number) {
    return const_cast<AdaptationChannel*>(std::as_const(*this).channel(number));
}

std::vector<uint8_t> Kw1281Adaptation::answer(std::span<const uint8_t> s, bool unlocked) {
    if (s.empty()) return {};
    const uint8_t service = s[0];
    if (service == kTesterPresent) return {kTesterPresent + kPositive};
    // Every adaptation request names its routine as B8..BB, 01, 03.
    const bool routine = s.size() >= 4 && s[2] == 0x01 && s[3] == 0x03;
    if (service == kStopRoutine && routine && s[1] == kStart) {
        reset();
        return {kStopRoutine + kPositive, kStart, 0x01, 0x03};
    }
    if (service != kStartRoutine || !routine) return refuse(service, kNotSupported);
    const auto data = s.subspan(4);
    switch (s[1]) {
        case kStart:
            running_ = true;
            selected_.reset();
            tested_.reset();
            return {kStartRoutine + kPositive, kStart, 0x01, 0x03};
        case kSelect:
            if (!running_) return refuse(service, kConditionsNotCorrect);
            // One byte selects a channel, two test a value on the selected one.
            if (data.size() == 1) return select(data[0]);
            if (data.size() == 2)
                return test(static_cast<uint16_t>(data[0] << 8 | data[1]), unlocked);
            return refuse(service, kOutOfRange);
        case kRead:
            if (!running_) return refuse(service, kConditionsNotCorrect);
            return read();
        case kSave:
            if (!running_ || !selected_ || data.size() < 8)
                return refuse(service, kConditionsNotCorrect);
            return save(data, unlocked);
        default:
            return refuse(service, kOutOfRange);
    }
}

std::vector<uint8_t> Kw1281Adaptation::select(uint8_t number) {
    if (number != 0) {
        const AdaptationChannel* c = find(number);
        if (!c || !c->readable) return refuse(kStartRoutine, kOutOfRange);
    }
    selected_ = number;
    tested_.reset();
    return {kStartRoutine + kPositive, kSelect, 0x01, 0x03, number};
}

std::vector<uint8_t> Kw1281Adaptation::test(uint16_t value, bool unlocked) {
    AdaptationChannel* c = selected_ ? find(*selected_) : nullptr;
    if (!c) return refuse(kStartRoutine, kConditionsNotCorrect);
    if (c->locked && !unlocked) {
        ++refusedTests_;
        return refuse(kStartRoutine, kAccessDenied);
    }
    if (value < c->min || value > c->max) return refuse(kStartRoutine, kOutOfRange);
    tested_ = value;
    return {kStartRoutine + kPositive, kSelect, 0x01, 0x03, hi(value), lo(value)};
}

// 71 BA 01 03, channel, 00, value (high, low), 00, then "%" and the text code when the
// channel has a value text.
std::vector<uint8_t> Kw1281Adaptation::read() const {
    const int number = selected_.value_or(0);
    const AdaptationChannel* c = number ? channel(number) : nullptr;
    const uint16_t value = c ? tested_.value_or(c->value) : 0;
    std::vector<uint8_t> a{kStartRoutine + kPositive,
                           kRead,
                           0x01,
                           0x03,
                           static_cast<uint8_t>(number),
                           0x00,
                           hi(value),
                           lo(value),
                           0x00};
    if (c && c->text)
        a.insert(a.end(), {0x25, hi(*c->text), lo(*c->text)});
    else
        a.insert(a.end(), {0x00, 0x00, 0x00});
    return a;
}

std::vector<uint8_t> Kw1281Adaptation::save(std::span<const uint8_t> data, bool unlocked) {
    const uint16_t value = static_cast<uint16_t>(data[0] << 8 | data[1]);
    if (*selected_ == 0) {
        for (AdaptationChannel& c : channels_) c.value = c.initial;
    } else {
        AdaptationChannel* c = find(*selected_);
        if (!c) return refuse(kStartRoutine, kConditionsNotCorrect);
        if (c->locked && !unlocked) return refuse(kStartRoutine, kAccessDenied);
        // A unit stores only a value it was given to test first.
        if (tested_ != value) return refuse(kStartRoutine, kConditionsNotCorrect);
        c->value = value;
    }
    tested_.reset();
    std::copy_n(data.begin() + 2, savedBy_.size(), savedBy_.begin());
    ++saves_;
    return {kStartRoutine + kPositive, kSave, 0x01, 0x03};
}

}  // namespace corvan::sim
