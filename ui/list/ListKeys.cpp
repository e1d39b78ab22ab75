#include "ListKeys.h"

#include <QStringList>
#include <array>
#include <utility>

namespace tavrel::ui {
namespace {

// The leading decimal number of `part`, or 0 when it starts with something else.
std::uint64_t LeadingNumber(QStringView part, std::uint64_t cap) {
    std::uint64_t value = 0;
    for (QChar c : part) {
        if (!c.isDigit() || c.unicode() > '9') break;
        value = std::min(cap, value * 10 + static_cast<std::uint64_t>(c.unicode() - '0'));
    }
    return value;
}

}  // namespace

QString FoldedText(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) folded += c;
    }
    return folded.toCaseFolded();
}

std::uint32_t DateKey(QStringView date) {
    const auto parts = date.split(u'.');
    std::uint32_t key = 0;
    const std::uint64_t caps[3] = {9999, 99, 99};
    const std::uint32_t scale[3] = {10000, 100, 1};
    for (qsizetype i = 0; i < 3 && i < parts.size(); ++i) {
        key += static_cast<std::uint32_t>(LeadingNumber(parts[i], caps[i])) * scale[i];
    }
    return key;
}

std::uint64_t RoundKey(QStringView round) {
    const auto parts = round.split(u'.');
    const std::uint64_t major = LeadingNumber(parts.value(0), 0xFFFFFFFF);
    const std::uint64_t minor = parts.size() > 1 ? LeadingNumber(parts[1], 0xFFFFFFFF) : 0;
    return major << 32 | minor;
}

void SortKeys(std::vector<std::uint64_t>& keys) {
    constexpr int kDigitBits = 11;
    constexpr std::uint64_t kDigit = (1u << kDigitBits) - 1;
    std::uint64_t same = ~std::uint64_t{0}, any = 0;
    for (const std::uint64_t key : keys) {
        same &= key;
        any |= key;
    }
    const std::uint64_t differing = same ^ any;  // digits where all keys agree need no pass
    std::vector<std::uint64_t> spare(keys.size());
    std::array<std::size_t, kDigit + 1> place{};
    for (int shift = 0; shift < 64; shift += kDigitBits) {
        if (((differing >> shift) & kDigit) == 0) continue;
        place.fill(0);
        for (const std::uint64_t key : keys) ++place[(key >> shift) & kDigit];
        std::size_t next = 0;
        for (std::size_t& at : place) next += std::exchange(at, next);
        for (const std::uint64_t key : keys) spare[place[(key >> shift) & kDigit]++] = key;
        keys.swap(spare);
    }
}

}  // namespace tavrel::ui
