#pragma once
// The headers of every game in a few bytes each, for the list of games: texts by id in one
// pool, numbers as numbers. Filled batch by batch from a background pass.

#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "GameBytes.h"
#include "PgnFile.h"
#include "StringPool.h"
#include "TextIds.h"

namespace tavrel::pgn {

enum class HeaderField : std::uint8_t { White, Black, Event, Site, Round, Date, Result, Eco, kCount };
constexpr std::size_t kHeaderFields = static_cast<std::size_t>(HeaderField::kCount);

struct HeaderRow {
    std::array<std::uint32_t, kHeaderFields> text{};  // ids in the store's (or batch's) pool
    std::uint16_t whiteElo = 0;                       // 0: none given
    std::uint16_t blackElo = 0;

    [[nodiscard]] std::uint32_t Id(HeaderField field) const { return text[static_cast<std::size_t>(field)]; }
};

// The headers of consecutive games, with the texts they use (id 0 the empty text).
struct HeaderBatch {
    std::vector<HeaderRow> rows;
    std::vector<std::string> texts{std::string()};
};

// Tag values as the window shows them: UTF-8 (Latin-1 bytes converted), control bytes as blanks,
// no blanks at either end.
std::string ShownTagText(std::string_view bytes);

// Reads the headers of games by number from its own handle on the file, so that several can
// work at once. `offsets` are the index's game offsets, shared by all readers.
class HeaderReader {
public:
    HeaderReader(const FileRef& file, std::shared_ptr<const std::vector<std::int64_t>> offsets);
    // Games first to first + count - 1 (from 1); a file that cannot be read gives empty headers.
    HeaderBatch Read(std::int64_t first, std::int64_t count);
    // The id in `batch` of a tag's value as the list shows it, added when new.
    std::uint32_t Intern(HeaderBatch& batch, std::string_view value);

private:
    // The bytes of the batch's texts as written, by id: two spellings of one shown text (a blank
    // more at an end) keep two ids, which the store makes one.
    void ForgetTexts();
    [[nodiscard]] std::string_view Written(std::uint32_t id) const {
        return std::string_view(written_).substr(writtenEnds_[id], writtenEnds_[id + 1] - writtenEnds_[id]);
    }

    PgnFile file_;
    std::shared_ptr<const std::vector<std::int64_t>> offsets_;
    GameBytes games_;
    TextIds batchIds_;
    std::string written_;
    std::vector<std::size_t> writtenEnds_;  // id's bytes from writtenEnds_[id] to writtenEnds_[id + 1]
};

class HeaderStore {
public:
    // Room for this many games, so that the rows are not moved as they arrive.
    void Reserve(std::size_t games) { rows_.reserve(games); }
    // Adds the batch's games after the ones already stored.
    void Append(const HeaderBatch& batch);
    [[nodiscard]] std::size_t Size() const { return rows_.size(); }
    [[nodiscard]] const HeaderRow& Row(std::size_t index) const { return rows_[index]; }
    [[nodiscard]] std::string_view Text(std::size_t index, HeaderField field) const {
        return pool_.Text(rows_[index].Id(field));
    }
    [[nodiscard]] const StringPool& Pool() const { return pool_; }
    [[nodiscard]] bool HasElo() const { return hasElo_; }
    [[nodiscard]] std::size_t BytesUsed() const {
        return pool_.BytesUsed() + rows_.capacity() * sizeof(HeaderRow);
    }

private:
    StringPool pool_;
    std::vector<HeaderRow> rows_;
    std::vector<std::uint32_t> remap_;
    bool hasElo_ = false;
};

}  // namespace tavrel::pgn
