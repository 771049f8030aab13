#include "tests/native/cardctl_json.h"

#include <cstdlib>
#include <cstring>

class CJsonReader {
public:
    explicit CJsonReader(const std::string& text) : p_(text.c_str()) {}

    bool Document(CJsonValue& v, std::string& error) {
        if (!Value(v, 0)) {
            error = "bad JSON near: " + std::string(p_).substr(0, 40);
            return false;
        }
        Blanks();
        if (*p_ != '\0') {
            error = "text after the JSON value: " + std::string(p_).substr(0, 40);
            return false;
        }
        return true;
    }

private:
    void Blanks() {
        while (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t') ++p_;
    }
    bool Word(const char* w) {
        const size_t n = std::strlen(w);
        if (std::strncmp(p_, w, n) != 0) return false;
        p_ += n;
        return true;
    }
    bool String(std::string& s) {
        if (*p_ != '"') return false;
        for (++p_; *p_ != '"'; ++p_) {
            if (*p_ == '\0' || static_cast<unsigned char>(*p_) < 0x20) return false;
            if (*p_ == '\\') {
                ++p_;
                if (!std::strchr("\"\\/bfnrt", *p_) || *p_ == '\0') return false;
            }
            s += *p_;
        }
        ++p_;
        return true;
    }
    bool Number(CJsonValue& v) {
        const char* start = p_;
        if (*p_ == '-') ++p_;
        if (*p_ < '0' || *p_ > '9') return false;
        if (*p_ == '0' && p_[1] >= '0' && p_[1] <= '9') return false;  // no leading zeros
        char* end = nullptr;
        v.number_ = std::strtod(start, &end);
        p_ = end;
        v.kind_ = CJsonValue::Kind::Number;
        return true;
    }
    bool Value(CJsonValue& v, int depth) {
        if (depth > 32) return false;
        Blanks();
        if (*p_ == '{') return Object(v, depth);
        if (*p_ == '[') return Array(v, depth);
        if (*p_ == '"') {
            v.kind_ = CJsonValue::Kind::String;
            return String(v.text_);
        }
        for (const bool b : {true, false}) {
            if (!Word(b ? "true" : "false")) continue;
            v.kind_ = CJsonValue::Kind::Bool;
            v.boolean_ = b;
            return true;
        }
        if (Word("null")) return true;
        return Number(v);
    }
    bool Array(CJsonValue& v, int depth) {
        v.kind_ = CJsonValue::Kind::Array;
        ++p_;
        Blanks();
        if (*p_ == ']') return ++p_, true;
        for (;;) {
            v.items_.emplace_back();
            if (!Value(v.items_.back(), depth + 1)) return false;
            Blanks();
            if (*p_ == ']') return ++p_, true;
            if (*p_++ != ',') return false;
        }
    }
    bool Object(CJsonValue& v, int depth) {
        v.kind_ = CJsonValue::Kind::Object;
        ++p_;
        Blanks();
        if (*p_ == '}') return ++p_, true;
        for (;;) {
            std::string key;
            Blanks();
            if (!String(key) || v.members_.count(key)) return false;  // duplicate keys are an error here
            Blanks();
            if (*p_++ != ':') return false;
            if (!Value(v.members_[key], depth + 1)) return false;
            v.order_.push_back(key);
            Blanks();
            if (*p_ == '}') return ++p_, true;
            if (*p_++ != ',') return false;
        }
    }

    const char* p_;
};

bool CJsonValue::Parse(const std::string& text, CJsonValue& value, std::string& error) {
    value = CJsonValue();
    return CJsonReader(text).Document(value, error);
}

const CJsonValue& CJsonValue::operator[](const std::string& key) const {
    static const CJsonValue missing;
    const auto it = members_.find(key);
    return it == members_.end() ? missing : it->second;
}

const CJsonValue& CJsonValue::operator[](size_t index) const {
    static const CJsonValue missing;
    return index < items_.size() ? items_[index] : missing;
}
