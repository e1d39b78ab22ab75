// Every game of the real PGN files beside the project, replayed ply by ply and compared with the
// reference replays made by an independent chess library.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "GameCheck.h"
#include "pgn/GameSource.h"
#include "pgn/Text.h"
#include "support/RealFiles.h"

namespace tavrel::pgn {
namespace {

namespace fs = std::filesystem;
using testing::Json;

// A file without Event tags has a second reference whose games are split as games start here:
// where it exists, it is the one that holds.
std::vector<Json> ReferencesAsSplitHere(const fs::path& pgn) {
    const bool byTags = fs::exists(fs::path(pgn).replace_extension(".tags.jsonl"));
    return testing::References(pgn, byTags ? ".tags.jsonl" : ".jsonl");
}

// The reference keeps quotes and escapes in tag values; Tavrel keeps all but the double quotes.
std::string AsTavrelReadsIt(const Json& value, const std::string& fallback) {
    if (value.IsNull()) return fallback;
    std::string out;
    for (char c : value.text) {
        if (c != '"') out += c;
    }
    return out;
}

// The reference drops a tag whose quotes do not pair up; Tavrel keeps its text without quotes.
const std::set<std::string> kUnpairedQuoteFiles = {"edge/backslash_header.pgn",
                                                   "edge/unescaped_quote_header.pgn"};

// Each byte as the Latin-1 character of its code: how the reference reads some UTF-8 names.
std::string Latin1AsUtf8(const std::string& bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The list of games shows what ReadTags gives: the tags the reference names are there with the
// reference's values, and the ones it lacks are absent.
void ExpectTheReferencesTags(const std::vector<TagPair>& read, const Json& ref, const std::string& file,
                             const std::string& where) {
    std::map<std::string, std::string> tags;  // a repeated tag: the last one counts
    for (const TagPair& tag : read) tags[tag.name] = tag.value;
    for (const char* key : {"White", "Black", "Event", "Round"}) {
        std::string lower = key;
        lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
        if (ref[lower].IsNull()) {
            EXPECT_TRUE(tags.count(key) == 0 || kUnpairedQuoteFiles.count(file)) << where << " " << key;
            continue;
        }
        const std::string want = AsTavrelReadsIt(ref[lower], "");
        EXPECT_TRUE(DisplayText(tags[key]) == want || Latin1AsUtf8(tags[key]) == want)
            << where << " " << key << ": " << tags[key] << " against " << want;
    }
}

// Where each game starts, its tags as the list reads them and as the window reads them, and the
// position after every half-move.
TEST(RealFiles, EveryGameReadsAndReplaysLikeTheReference) {
    const auto files = testing::RealPgnFiles();
    if (files.empty()) GTEST_SKIP() << "no real PGN files at " << TAVREL_SHARED_PGN;
    int compared = 0, setUps = 0, variants = 0;
    for (const fs::path& path : files) {
        const std::string name = fs::relative(path, TAVREL_SHARED_PGN).string();
        const std::vector<Json> refs = ReferencesAsSplitHere(path);
        GameSource source;
        ASSERT_EQ(source.Open(path.string()), "") << name;
        ASSERT_EQ(source.GameCount(), static_cast<std::int64_t>(refs.size())) << name;
        GameState state;
        for (const Json& ref : refs) {
            const auto number = static_cast<std::int64_t>(ref["game"].number);
            const std::string where = name + " game " + std::to_string(number);
            EXPECT_EQ(source.Index().OffsetOf(number), static_cast<std::int64_t>(ref["offset"].number)) << where;
            ExpectTheReferencesTags(source.ReadTags(number), ref, name, where);
            const GameRecord game = source.ReadGame(number);
            EXPECT_EQ(DisplayText(game.WhitePlayer), AsTavrelReadsIt(ref["white"], game.WhitePlayer)) << where;
            EXPECT_EQ(DisplayText(game.RoundName), AsTavrelReadsIt(ref["round"], game.RoundName)) << where;
            if (!ref["error"].IsNull()) continue;
            const GameCheck check = CheckGame(state, game, true);
            if (!game.Variant.empty() && !check.error.empty()) {
                ++variants;  // replayed by the reference with that variant's rules
                continue;
            }
            EXPECT_EQ(check.error, "") << where;
            EXPECT_TRUE(check.unmatched.empty()) << where << ": " << check.unmatched.front().second;
            ASSERT_EQ(check.plies, static_cast<int>(ref["plies"].number)) << where;
            for (int ply = 0; ply < check.plies; ++ply) {
                ASSERT_EQ(check.fens[static_cast<std::size_t>(ply)], ref["fens"].items[static_cast<std::size_t>(ply)].text)
                    << where << " after ply " << ply + 1;
            }
            ++compared;
            setUps += ref["setup"].boolean ? 1 : 0;
        }
    }
    std::printf("compared %d games ply by ply, %d of them from a FEN; %d variant games left out\n",
                compared, setUps, variants);
    EXPECT_GT(compared, testing::CompactRealFiles() ? 100 : 14000);
    EXPECT_GT(setUps, testing::CompactRealFiles() ? 80 : 240);
}

}  // namespace
}  // namespace tavrel::pgn
