#include "sim/json_node.h"

#include "sim/hex_pattern.h"

namespace corvan::sim {
namespace {

const nlohmann::json& nullJson() {
    static const nlohmann::json n;
    return n;
}

// RFC 6901 escaping of one reference token.
std::string escapeToken(const std::string& key) {
    std::string s;
    for (char c : key) {
        if (c == '~')
            s += "~0";
        else if (c == '/')
            s += "~1";
        else
            s += c;
    }
    return s;
}

const char* typeName(const nlohmann::json& j) {
    return j.type_name();
}

}  // namespace

JsonNode JsonNode::operator[](const char* key) const {
    const std::string ptr = pointer_ + "/" + escapeToken(key);
    if (isObject()) {
        auto it = value_->find(key);
        if (it != value_->end()) return JsonNode(*it, ptr, *problem_);
    }
    return JsonNode(nullJson(), ptr, *problem_);
}

JsonNode JsonNode::at(size_t index) const {
    const std::string ptr = pointer_ + "/" + std::to_string(index);
    if (isArray() && index < value_->size()) return JsonNode((*value_)[index], ptr, *problem_);
    return JsonNode(nullJson(), ptr, *problem_);
}

JsonNode JsonNode::orEmptyObject() const {
    static const nlohmann::json empty = nlohmann::json::object();
    return present() ? *this : JsonNode(empty, pointer_, *problem_);
}

bool JsonNode::fail(const std::string& message) const {
    if (!problem_->found()) *problem_ = Problem{pointer_, message};
    return false;
}

bool JsonNode::expectObject() const {
    return isObject() || fail(std::string("expected an object, found ") + typeName(*value_));
}

bool JsonNode::expectArray() const {
    return isArray() || fail(std::string("expected an array, found ") + typeName(*value_));
}

bool JsonNode::onlyKeys(std::initializer_list<const char*> allowed) const {
    if (!isObject()) return true;
    for (auto it = value_->begin(); it != value_->end(); ++it) {
        bool known = false;
        for (const char* k : allowed) known = known || it.key() == k;
        if (!known) return (*this)[it.key().c_str()].fail("unknown key \"" + it.key() + "\"");
    }
    return true;
}

bool JsonNode::get(const char* key, std::string& out) const {
    const JsonNode n = (*this)[key];
    if (!n.present()) return true;
    if (!n.isString())
        return n.fail(std::string("expected a string, found ") + typeName(n.value()));
    out = n.value().get<std::string>();
    return true;
}

bool JsonNode::get(const char* key, bool& out) const {
    const JsonNode n = (*this)[key];
    if (!n.present()) return true;
    if (!n.value().is_boolean())
        return n.fail(std::string("expected true or false, found ") + typeName(n.value()));
    out = n.value().get<bool>();
    return true;
}

bool JsonNode::get(const char* key, int64_t& out, int64_t min, int64_t max) const {
    const JsonNode n = (*this)[key];
    if (!n.present()) return true;
    if (!n.value().is_number_integer())
        return n.fail(std::string("expected a whole number, found ") + typeName(n.value()));
    const int64_t v = n.value().get<int64_t>();
    if (v < min || v > max)
        return n.fail("number " + std::to_string(v) + " outside " + std::to_string(min) + ".." +
                      std::to_string(max));
    out = v;
    return true;
}

bool JsonNode::getHex(const char* key, std::vector<uint8_t>& out) const {
    const JsonNode n = (*this)[key];
    if (!n.present()) return true;
    if (!n.isString())
        return n.fail(std::string("expected a hex string, found ") + typeName(n.value()));
    std::string error;
    auto bytes = parseHexBytes(n.value().get<std::string>(), &error);
    if (!bytes) return n.fail(error);
    out = std::move(*bytes);
    return true;
}

bool JsonNode::getHexByte(const char* key, std::optional<uint8_t>& out) const {
    std::vector<uint8_t> bytes;
    const JsonNode n = (*this)[key];
    if (!n.present()) return true;
    if (!getHex(key, bytes)) return false;
    if (bytes.size() != 1) return n.fail("expected exactly one hex byte");
    out = bytes[0];
    return true;
}

}  // namespace corvan::sim
