#include "sim/kw1281_unit.h"

#include <algorithm>

namespace corvan::sim {

namespace {

constexpr uint8_t kTester = 0xF1;

uint8_t hi(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}
uint8_t lo(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

Kw1281Block titled(uint8_t title, std::vector<uint8_t> data = {}) {
    return {title, std::move(data)};
}

// A KWP 2000 message: format byte 10xxxxxx with the length of the service bytes, target,
// source 0xF1. Blocks start with their length byte, which is below 0x80.
bool isKwpMessage(std::span<const uint8_t> m) {
    return m.size() >= 4 && (m[0] & 0xC0) == 0x80 && m[2] == kTester &&
           m.size() >= 3u + (m[0] & 0x3F);
}

}  // namespace

std::optional<Kw1281Block> parseKw1281Block(std::span<const uint8_t> message) {
    if (message.size() < 3 || message[0] < 3 || message[0] >= 0x80) return std::nullopt;
    const size_t end = std::min<size_t>(message[0], message.size());
    return Kw1281Block{message[2],
                       {message.begin() + 3, message.begin() + std::max<size_t>(end, 3)}};
}

Kw1281Unit::Kw1281Unit(Kw1281Config config)
    : config_(std::move(config)), adaptation_(config_.channels) {
    // A unit with a coding but no texts still gives the coding block as a group.
    if (config_.identification.empty() && config_.coding) config_.identification.emplace_back();
}

ConnectResult Kw1281Unit::connect(ConfigBytes, int64_t nowUs) {
    endSession();
    counter_ = 0;
    open_ = config_.connect.connected;
    lastBlockUs_ = nowUs;
    return config_.connect;
}

void Kw1281Unit::disconnected() {
    open_ = false;
    endSession();
}

void Kw1281Unit::endSession() {
    // A new session: the login and the routine are gone, the identification starts over.
    loggedIn_ = false;
    failedLogins_ = 0;
    group_.reset();
    nextGroup_ = 0;
    adaptation_.reset();
    for (auto& part : parts_) part->reset();
}

bool Kw1281Unit::stillOpen(int64_t nowUs) {
    if (!open_) return false;
    if (config_.sessionTimeoutUs > 0 && nowUs - lastBlockUs_ > config_.sessionTimeoutUs) {
        disconnected();
        return false;
    }
    lastBlockUs_ = nowUs;
    return true;
}

void Kw1281Unit::setMeasuring(Kw1281Measuring measuring) {
    auto part = std::make_unique<Kw1281MeasuringPart>(std::move(measuring));
    measuring_ = part.get();
    addPart(std::move(part));
}

const Kw1281Measuring& Kw1281Unit::measuring() const {
    static const Kw1281Measuring none;
    return measuring_ ? measuring_->measuring() : none;
}

std::optional<Kw1281Block> Kw1281MeasuringPart::answer(std::span<const uint8_t> block,
                                                       int64_t nowUs) {
    auto a = measuring_.handle(block, nowUs);
    if (!a) return std::nullopt;
    return Kw1281Block{a->title, std::move(a->data)};
}

std::vector<Kw1281Block> Kw1281Unit::groupBlocks(size_t group) const {
    std::vector<Kw1281Block> blocks;
    for (const std::string& text : config_.identification[group])
        blocks.push_back(titled(kw1281::kText, {text.begin(), text.end()}));
    if (group == 0 && config_.coding) {
        const uint16_t c = static_cast<uint16_t>(*config_.coding * 2);
        blocks.push_back(titled(kw1281::kText, {0x00, hi(c), lo(c), hi(config_.workshopCode),
                                                lo(config_.workshopCode)}));
    }
    if (blocks.empty()) blocks.push_back(titled(kw1281::kText, {0x00}));
    if (group + 1 < config_.identification.size()) {
        if (blocks[0].data.empty()) blocks[0].data.push_back(0x00);
        blocks[0].data[0] |= 0x80;
    }
    return blocks;
}

// The next block of the group being given, or nullopt when the group has ended.
std::optional<Kw1281Block> Kw1281Unit::nextGroupBlock() {
    if (!group_) return std::nullopt;
    const std::vector<Kw1281Block> blocks = groupBlocks(*group_);
    if (block_ >= blocks.size()) {
        group_.reset();
        return std::nullopt;
    }
    return blocks[block_++];
}

Kw1281Block Kw1281Unit::blockAnswer(const Kw1281Block& r) {
    switch (r.title) {
        case kw1281::kReadIdentification:
            if (config_.identification.empty()) return titled(kw1281::kRefused);
            // Each request gives the group after the last one, the first after the last.
            group_ = nextGroup_;
            nextGroup_ = (nextGroup_ + 1) % config_.identification.size();
            block_ = 0;
            return *nextGroupBlock();
        case kw1281::kAcknowledge:
            if (auto b = nextGroupBlock()) return *b;
            return titled(kw1281::kAcknowledge);
        case kw1281::kCoding:
            if (r.data.size() < 4) return titled(kw1281::kRefused);
            ++codingBlocks_;
            group_.reset();
            if (config_.refuseCoding) return titled(kw1281::kRefused);
            // The block carries the coding doubled.
            config_.coding = static_cast<uint16_t>((r.data[0] << 8 | r.data[1]) / 2);
            config_.workshopCode = static_cast<uint16_t>(r.data[2] << 8 | r.data[3]);
            return titled(kw1281::kAcknowledge);
        case kw1281::kLogin: {
            if (r.data.size() < 5) return titled(kw1281::kRefused);
            group_.reset();
            const bool lockedOut = config_.lockAfter > 0 && failedLogins_ >= config_.lockAfter;
            const uint16_t code = static_cast<uint16_t>(r.data[0] << 8 | r.data[1]);
            if (!lockedOut && config_.loginCode && code == *config_.loginCode) {
                loggedIn_ = true;
                return titled(kw1281::kAcknowledge);
            }
            ++failedLogins_;
            return titled(kw1281::kRefused);
        }
        default:
            return titled(kw1281::kRefused);
    }
}

std::vector<uint8_t> Kw1281Unit::encode(const Kw1281Block& b) {
    // The counter runs over the blocks of both sides: the host's block, then this answer.
    counter_ = static_cast<uint8_t>(counter_ + 2);
    return kw1281::answerBlock(counter_, b.title, b.data);
}

EcuReply Kw1281Unit::kwpAnswer(std::span<const uint8_t> m) {
    if (config_.kwpAddress && m[1] != *config_.kwpAddress) return EcuReply::noAnswer();
    const std::vector<uint8_t> service = adaptation_.answer(m.subspan(3, m[0] & 0x3F), loggedIn_);
    if (service.empty()) return EcuReply::noAnswer();
    std::vector<uint8_t> a{static_cast<uint8_t>(0x80 | service.size()), kTester,
                           config_.kwpAddress.value_or(m[1])};
    a.insert(a.end(), service.begin(), service.end());
    return EcuReply::answer(std::move(a), config_.delayUs);
}

EcuReply Kw1281Unit::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (!stillOpen(nowUs)) return EcuReply::noAnswer();
    if (isKwpMessage(message)) return kwpAnswer(message);
    const auto block = parseKw1281Block(message);
    if (!block) return EcuReply::noAnswer(config_.delayUs);
    if (block->title == kw1281::kEndOfSession) {
        disconnected();
        return EcuReply::noAnswer(config_.delayUs);
    }
    for (auto& part : parts_)
        if (auto a = part->answer(message, nowUs))
            return EcuReply::answer(encode(*a), config_.delayUs);
    return EcuReply::answer(encode(blockAnswer(*block)), config_.delayUs);
}

void Kw1281Unit::keepAlive(std::span<const uint8_t> message, int64_t nowUs) {
    if (!stillOpen(nowUs)) return;
    ++keepAlivesSeen_;
    for (auto& part : parts_) part->answer(message, nowUs);
    const auto block = parseKw1281Block(message);
    if (!block || block->title != kw1281::kAcknowledge) return;
    if (nextGroupBlock()) ++blocksLost_;
}

}  // namespace corvan::sim
