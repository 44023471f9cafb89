#pragma once
// Reading a scenario file with the place of every mistake: each node knows its JSON pointer
// ("/ecus/1/config/rules/3/request"), and the first problem found is kept so the loader
// can report "file: place: what is wrong" instead of throwing.
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace corvan::sim {

struct Problem {
    std::string place;  // JSON pointer; empty for the whole document
    std::string message;
    bool found() const { return !message.empty(); }
};

class JsonNode {
  public:
    JsonNode(const nlohmann::json& value, std::string pointer, Problem& problem)
        : value_(&value), pointer_(std::move(pointer)), problem_(&problem) {}

    const nlohmann::json& value() const { return *value_; }
    const std::string& pointer() const { return pointer_; }
    bool present() const { return !value_->is_null(); }
    bool isObject() const { return value_->is_object(); }
    bool isArray() const { return value_->is_array(); }
    bool isString() const { return value_->is_string(); }
    bool has(const char* key) const { return isObject() && value_->contains(key); }

    // The member (a null node when absent) and the element of an array.
    JsonNode operator[](const char* key) const;
    JsonNode at(size_t index) const;
    size_t size() const { return isArray() ? value_->size() : 0; }
    // This node, or an empty object at the same place when it is absent.
    JsonNode orEmptyObject() const;

    // Records a problem at this node (only the first one counts); always returns false.
    bool fail(const std::string& message) const;
    bool failed() const { return problem_->found(); }

    // Type checks that record a problem when the node is not of that type.
    bool expectObject() const;
    bool expectArray() const;
    // Every member must be one of `allowed` (catches misspelt keys).
    bool onlyKeys(std::initializer_list<const char*> allowed) const;

    // Optional members: leave `out` unchanged when absent; false on a wrong type or value.
    bool get(const char* key, std::string& out) const;
    bool get(const char* key, bool& out) const;
    bool get(const char* key, int64_t& out, int64_t min, int64_t max) const;
    bool getHex(const char* key, std::vector<uint8_t>& out) const;
    bool getHexByte(const char* key, std::optional<uint8_t>& out) const;

  private:
    const nlohmann::json* value_;
    std::string pointer_;
    Problem* problem_;
};

}  // namespace corvan::sim
