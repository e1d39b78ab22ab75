#include "NumberInput.h"

#include <string>

namespace tavrel::ui {

double LeadingNumber(const QString& text) {
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i == digits || (i == digits + 1 && s[digits] == '.')) return 0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            end = j;
        }
    }
    try {
        return std::stod(s.substr(start, end - start));
    } catch (...) {
        return 0;  // out of range: no usable number
    }
}

}  // namespace tavrel::ui
