#pragma once
// A small strict JSON reader for the tests: it checks that cardctl's output is one
// well-formed object and lets a test walk it by key and index.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CJsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // The whole text must be one value with nothing but blanks after it.
    static bool Parse(const std::string& text, CJsonValue& value, std::string& error);

    Kind kind() const { return kind_; }
    bool Has(const std::string& key) const { return kind_ == Kind::Object && members_.count(key) != 0; }
    // A missing key or index gives a null value, so a failed lookup shows in the
    // assertion rather than crashing the test.
    const CJsonValue& operator[](const std::string& key) const;
    const CJsonValue& operator[](size_t index) const;
    size_t size() const { return kind_ == Kind::Array ? items_.size() : members_.size(); }
    uint32_t u32() const { return static_cast<uint32_t>(number_); }
    bool boolean() const { return boolean_; }
    const std::vector<std::string>& keys() const { return order_; }

private:
    friend class CJsonReader;
    Kind kind_ = Kind::Null;
    bool boolean_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<CJsonValue> items_;
    std::map<std::string, CJsonValue> members_;
    std::vector<std::string> order_;
};
