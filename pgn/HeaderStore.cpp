#include "HeaderStore.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "Text.h"

namespace tavrel::pgn {
namespace {

// A tag name of up to eight bytes as one word, each byte with its 0x20 bit set (lower case for a
// letter), zero bytes after it; 0 for a longer name. The names the list shows are letters alone,
// so a name is one of them, in any letter case, exactly when the words are equal.
std::uint64_t NameWord(std::string_view name) {
    if (name.empty() || name.size() > 8) return 0;
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < name.size(); ++i) word |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i]) | 0x20) << (8 * i);
    return word;
}
constexpr std::uint64_t Spelled(std::string_view name) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < name.size(); ++i) word |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * i);
    return word;
}

// What a tag fills, by its name in any letter case: a field, a rating, or nothing.
struct NamedField {
    std::uint64_t word;
    HeaderField field;
    int rating;  // 1 White's, 2 Black's, else 0
};
constexpr NamedField kNames[] = {
    {Spelled("white"), HeaderField::White, 0}, {Spelled("black"), HeaderField::Black, 0},
    {Spelled("event"), HeaderField::Event, 0}, {Spelled("site"), HeaderField::Site, 0},
    {Spelled("round"), HeaderField::Round, 0}, {Spelled("date"), HeaderField::Date, 0},
    {Spelled("result"), HeaderField::Result, 0}, {Spelled("eco"), HeaderField::Eco, 0},
    {Spelled("whiteelo"), HeaderField::kCount, 1}, {Spelled("blackelo"), HeaderField::kCount, 2}};

std::uint16_t Rating(std::string_view text) {
    // Most ratings are digits alone; anything else is read as the list shows it.
    const bool digits = !text.empty() && text.size() <= 4 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::string shown = digits ? std::string() : ShownTagText(text);
    const std::string_view number = digits ? text : std::string_view(shown);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() && value <= 9999
               ? static_cast<std::uint16_t>(value)
               : 0;
}

// The tags of each game into its row.
class RowTags final : public TagSink {
public:
    RowTags(HeaderReader& reader, HeaderBatch& batch, std::int64_t first) : reader_(reader), batch_(batch), first_(first) {}
    void BeginGame(std::int64_t game) override { row_ = &batch_.rows[static_cast<std::size_t>(game - first_)]; }
    void Tag(std::string_view name, std::string_view value) override {
        const std::uint64_t word = NameWord(name);
        for (const NamedField& named : kNames) {
            if (word != named.word) continue;
            if (named.rating == 1) {
                row_->whiteElo = Rating(value);
            } else if (named.rating == 2) {
                row_->blackElo = Rating(value);
            } else {
                row_->text[static_cast<std::size_t>(named.field)] = reader_.Intern(batch_, value);
            }
            return;
        }
    }

private:
    HeaderReader& reader_;
    HeaderBatch& batch_;
    std::int64_t first_;
    HeaderRow* row_ = nullptr;
};

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

HeaderReader::HeaderReader(const FileRef& file, std::shared_ptr<const std::vector<std::int64_t>> offsets)
    : offsets_(std::move(offsets)), games_(file_, *offsets_) {
    file_.Open(file);
    ForgetTexts();
}

void HeaderReader::ForgetTexts() {
    batchIds_.Clear();
    written_.clear();
    writtenEnds_.assign(2, 0);  // id 0, the empty text
    batchIds_.FindOrAdd({}, 0, [](std::uint32_t) { return std::string_view(); });
}

std::uint32_t HeaderReader::Intern(HeaderBatch& batch, std::string_view value) {
    const auto fresh = static_cast<std::uint32_t>(batch.texts.size());
    const std::uint32_t id = batchIds_.FindOrAdd(value, fresh, [this](std::uint32_t known) { return Written(known); });
    if (id != fresh) return id;
    written_.append(value);
    writtenEnds_.push_back(written_.size());
    batch.texts.push_back(ShownTagText(value));
    return id;
}

HeaderBatch HeaderReader::Read(std::int64_t first, std::int64_t count) {
    HeaderBatch batch;
    batch.rows.resize(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
    ForgetTexts();
    if (!file_.IsOpen() || offsets_->empty()) return batch;
    // The system is asked once a batch whether the file changed, not once a game.
    file_.Seek(1);
    RowTags rows(*this, batch, first);
    ReadTags(games_, first, count, rows);
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
