#pragma once
// Just enough JSON to read the reference replays: objects, arrays, strings, numbers, literals.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tavrel::testing {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const {
        static const Json null;
        const auto it = fields.find(key);
        return it == fields.end() ? null : it->second;
    }
    [[nodiscard]] bool IsNull() const { return kind == Kind::Null; }
};

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : s_(text) {}

    Json Parse() {
        Space();
        Json v;
        const char c = Peek();
        if (c == '{') {
            v.kind = Json::Kind::Object;
            ++i_;
            for (Space(); Peek() != '}'; Space()) {
                Space();
                std::string key = String();
                Space();
                ++i_;  // ':'
                v.fields[key] = Parse();
                Space();
                if (Peek() == ',') ++i_;
            }
            ++i_;
        } else if (c == '[') {
            v.kind = Json::Kind::Array;
            ++i_;
            for (Space(); Peek() != ']'; Space()) {
                v.items.push_back(Parse());
                Space();
                if (Peek() == ',') ++i_;
            }
            ++i_;
        } else if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = String();
        } else if (c == 't' || c == 'f' || c == 'n') {
            v.kind = c == 'n' ? Json::Kind::Null : Json::Kind::Bool;
            v.boolean = c == 't';
            i_ += c == 'f' ? 5 : 4;
        } else {
            v.kind = Json::Kind::Number;
            std::size_t used = 0;
            v.number = std::stod(s_.substr(i_, 32), &used);
            i_ += used;
        }
        return v;
    }

private:
    char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    void Space() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r')) ++i_;
    }
    void Utf8(unsigned code, std::string& out) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    std::string String() {
        std::string out;
        ++i_;  // '"'
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            c = s_[i_++];
            switch (c) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    unsigned code = static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16));
                    i_ += 4;
                    if (code >= 0xD800 && code < 0xDC00 && s_.compare(i_, 2, "\\u") == 0) {
                        const auto low = static_cast<unsigned>(std::stoul(s_.substr(i_ + 2, 4), nullptr, 16));
                        i_ += 6;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                        out += static_cast<char>(0xF0 | (code >> 18));
                        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    } else {
                        Utf8(code, out);
                    }
                    break;
                }
                default: out += c;
            }
        }
        ++i_;
        return out;
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

}  // namespace tavrel::testing
