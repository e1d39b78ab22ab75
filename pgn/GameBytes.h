#pragma once
// The bytes of a run of games, read many games at a time into one buffer, for passes that look at
// every game (the list's headers, the check tool's --headers): one read for hundreds of games
// instead of a seek and a buffer fill for each. And the pass over their tags alone.

#include <cstdint>
#include <string_view>
#include <vector>

#include "Lexer.h"
#include "PgnFile.h"

namespace tavrel::pgn {

class GameBytes {
public:
    // A game longer than this is handed on cut to its first bytes, which hold its tags.
    static constexpr std::int64_t kMostBytes = 1 << 20;
    // Bytes past the end of each game's bytes that may be read, whatever they hold: a copy in fixed
    // loads of 16 bytes costs no branch on the length, and may run past what it copies.
    static constexpr std::size_t kReadablePast = 16;

    // `offsets` are the index's game offsets; both must outlive this.
    GameBytes(const PgnFile& file, const std::vector<std::int64_t>& offsets) : file_(file), offsets_(offsets) {}

    // Calls each(game, bytes) for games first to first + count - 1 (from 1) in order; the bytes are
    // valid during the call. A file that shrank hands on what is left.
    template <class Each>
    void ForEach(std::int64_t first, std::int64_t count, Each&& each) {
        const std::int64_t last = std::min<std::int64_t>(first + count - 1, static_cast<std::int64_t>(offsets_.size()));
        for (std::int64_t game = std::max<std::int64_t>(first, 1); game <= last;) {
            const std::int64_t upTo = Fill(game, last);
            for (; game <= upTo; ++game) each(game, Of(game));
        }
    }

private:
    // Reads games from `game` on, as many as fit in one buffer (at least one); returns the last.
    std::int64_t Fill(std::int64_t game, std::int64_t last);
    [[nodiscard]] std::int64_t EndOf(std::int64_t game) const;
    [[nodiscard]] std::string_view Of(std::int64_t game) const;

    const PgnFile& file_;
    const std::vector<std::int64_t>& offsets_;
    std::vector<char> buffer_;
    std::int64_t from_ = 0;  // the file position of buffer_[0]
    std::size_t got_ = 0;    // bytes read into buffer_
};

// What a pass over the tags of games is handed, game by game.
class TagSink {
public:
    virtual ~TagSink() = default;
    virtual void BeginGame(std::int64_t /*game*/) {}
    // A tag pair as the lexer hands it on; the views are valid during the call.
    virtual void Tag(std::string_view name, std::string_view value) = 0;
    // A tag pair whose name and value are printable ASCII without a quote or a backslash. From
    // ReadTags, GameBytes::kReadablePast bytes past the end of each view may be read.
    virtual void PrintableTag(std::string_view name, std::string_view value) { Tag(name, value); }
    virtual void EndGame(std::int64_t /*game*/) {}
};

// The tag pairs of games first to first + count - 1, read up to each game's movetext. A sink
// class marked final is called directly, without a virtual call per tag.
template <class Sink>
void ReadTags(GameBytes& games, std::int64_t first, std::int64_t count, Sink& sink) {
    class TagsOnly final : public Visitor {
    public:
        explicit TagsOnly(Sink& sink) : sink_(sink) {}
        Next Tag(std::string_view name, std::string_view value) override {
            sink_.Tag(name, value);
            return Next::Go;
        }
        Next PrintableTag(std::string_view name, std::string_view value) {
            sink_.PrintableTag(name, value);
            return Next::Go;
        }
        Next BeginMovetext() override { return Next::Skip; }

    private:
        Sink& sink_;
    };
    TagsOnly tags(sink);
    games.ForEach(first, count, [&](std::int64_t game, std::string_view bytes) {
        sink.BeginGame(game);
        LexGame(bytes, tags);
        sink.EndGame(game);
    });
}

}  // namespace tavrel::pgn
