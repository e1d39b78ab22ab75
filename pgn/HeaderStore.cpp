#include "HeaderStore.h"

#include <algorithm>
#include <charconv>

#include "GameReader.h"
#include "Text.h"

namespace tavrel::pgn {
namespace {

bool SameName(const std::string& name, std::string_view wanted) {
    if (name.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != wanted[i]) return false;
    }
    return true;
}

// The field a tag fills, by its name in any letter case; kCount for a tag the list does not show.
HeaderField FieldOf(const std::string& name) {
    static constexpr std::pair<std::string_view, HeaderField> kNames[] = {
        {"white", HeaderField::White}, {"black", HeaderField::Black}, {"event", HeaderField::Event},
        {"site", HeaderField::Site},   {"round", HeaderField::Round}, {"date", HeaderField::Date},
        {"result", HeaderField::Result}, {"eco", HeaderField::Eco}};
    for (const auto& [text, field] : kNames) {
        if (SameName(name, text)) return field;
    }
    return HeaderField::kCount;
}

std::uint16_t Rating(std::string_view text) {
    const std::string shown = ShownTagText(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(shown.data(), shown.data() + shown.size(), value);
    return error == std::errc() && end == shown.data() + shown.size() && value <= 9999
               ? static_cast<std::uint16_t>(value)
               : 0;
}

}  // namespace

std::string ShownTagText(std::string_view bytes) {
    // A damaged file can hold a "name" of megabytes: the list keeps a line's worth of it.
    constexpr std::size_t kKeptBytes = 800;
    std::size_t cut = std::min(bytes.size(), kKeptBytes);
    while (cut < bytes.size() && cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    std::string text = DisplayText(bytes.substr(0, cut));
    if (cut < bytes.size()) text += "\xE2\x80\xA6";  // an ellipsis
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

HeaderReader::HeaderReader(const std::string& path, std::shared_ptr<const std::vector<std::int64_t>> offsets)
    : offsets_(std::move(offsets)) {
    file_.Open(path);
}

std::uint32_t HeaderReader::Intern(HeaderBatch& batch, const std::string& value) {
    const auto [at, added] = batchIds_.try_emplace(value, static_cast<std::uint32_t>(batch.texts.size()));
    if (added) batch.texts.push_back(ShownTagText(value));
    return at->second;
}

HeaderBatch HeaderReader::Read(std::int64_t first, std::int64_t count) {
    HeaderBatch batch;
    batch.rows.reserve(static_cast<std::size_t>(count));
    batchIds_.clear();
    for (std::int64_t game = first; game < first + count; ++game) {
        HeaderRow row;
        if (file_.IsOpen() && game >= 1 && game <= static_cast<std::int64_t>(offsets_->size())) {
            const auto at = static_cast<std::size_t>(game - 1);
            // The system is asked once a batch whether the file changed, not once a game.
            if (game == first) {
                file_.Seek((*offsets_)[at]);
            } else {
                file_.SeekInRun((*offsets_)[at]);
            }
            const std::int64_t end = at + 1 < offsets_->size() ? (*offsets_)[at + 1] : file_.Length() + 1;
            for (const TagPair& tag : ReadTagPairs(file_, end)) {
                if (SameName(tag.name, "whiteelo")) {
                    row.whiteElo = Rating(tag.value);
                } else if (SameName(tag.name, "blackelo")) {
                    row.blackElo = Rating(tag.value);
                } else if (const HeaderField field = FieldOf(tag.name); field != HeaderField::kCount) {
                    row.text[static_cast<std::size_t>(field)] = Intern(batch, tag.value);
                }
            }
        }
        batch.rows.push_back(row);
    }
    return batch;
}

void HeaderStore::Append(const HeaderBatch& batch) {
    remap_.resize(batch.texts.size());
    for (std::size_t i = 0; i < batch.texts.size(); ++i) remap_[i] = pool_.Intern(batch.texts[i]);
    for (HeaderRow row : batch.rows) {
        for (std::uint32_t& id : row.text) id = remap_[id];
        hasElo_ = hasElo_ || row.whiteElo || row.blackElo;
        rows_.push_back(row);
    }
}

}  // namespace tavrel::pgn
