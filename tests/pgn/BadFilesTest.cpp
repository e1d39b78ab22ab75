// Files a user may open by mistake or receive damaged: every one is read to an end, within time
// and memory that follow the file, and replayed without breaking the position.

#include <gtest/gtest.h>

#include "core/Notation.h"

#include "GameCheck.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

using testing::TempFile;
using Rows = std::vector<std::pair<std::string, std::string>>;

struct FileRead {
    std::int64_t games = 0;
    std::vector<GameRecord> records;
    std::vector<GameCheck> checks;
};

// Indexes the file, reads every game (or the file's start when it has none) and replays each.
FileRead ReadWhole(const std::string& path, std::size_t bufferSize = PgnFile::kDefaultBufferSize) {
    FileRead read;
    PgnFile file(bufferSize);
    EXPECT_EQ(file.Open(path), "") << path;
    const GameIndex index = IndexGames(file);
    read.games = index.GameCount();
    GameState state;
    for (std::int64_t k = index.GameCount() == 0 ? 0 : 1; k <= index.GameCount(); ++k) {
        file.Seek(index.OffsetOf(k));
        read.records.push_back(ReadGame(file));
        read.checks.push_back(CheckGame(state, read.records.back(), false));
    }
    return read;
}

FileRead ReadBytes(const std::string& bytes, std::size_t bufferSize = PgnFile::kDefaultBufferSize) {
    TempFile file(bytes);
    return ReadWhole(file.path(), bufferSize);
}

bool IsPrefix(const std::string& part, const std::string& whole) {
    return whole.compare(0, part.size(), part) == 0;
}

const std::string kTags = "[Event \"E\"]\n[White \"W\"]\n[Black \"B\"]\n\n";
const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

TEST(BadFiles, EmptyAndTinyFilesHoldNoMoves) {
    // A file's first tag starts a game however broken; text that is neither tag nor move starts none.
    const std::vector<std::string> noGame = {"", std::string(8, '\0'), "{", "(", "1.", "1/2-1/2", "*", "}\n"};
    const std::vector<std::string> brokenTag = {"[", "[Event", "[Event ", "[Event \"", "[EVENT ", "[[[[[[[["};
    for (const auto* files : {&noGame, &brokenTag}) {
        for (const std::string& bytes : *files) {
            const FileRead read = ReadBytes(bytes);
            EXPECT_EQ(read.games, files == &noGame ? 0 : 1) << bytes;
            ASSERT_EQ(read.records.size(), 1u);
            EXPECT_TRUE(read.records[0].rows.empty()) << bytes;
        }
    }
}

TEST(BadFiles, LongRunsOfBrokenPiecesAreReadToTheEnd) {
    // Each piece repeated: unclosed tags, open comments and variations, bare markers, games without
    // tags. Every game is read and replayed, however many the pieces make.
    for (const std::string piece : {"[White \"x\n", "{ ", "( ", "* ", "1-0\n", "[", "e4 * ", "%x\n[W]\n1. e4\n"}) {
        std::string bytes;
        while (bytes.size() < 200'000) bytes += piece;
        const FileRead read = ReadBytes(bytes);
        ASSERT_EQ(read.records.size(), static_cast<std::size_t>(std::max<std::int64_t>(read.games, 1))) << piece;
    }
}

TEST(BadFiles, EveryTruncationOfAnAnnotatedFileKeepsWhatWasRead) {
    const std::string whole = testing::FileBytes(std::string(TAVREL_SOURCE_DIR) + "/samples/famous-games.pgn");
    ASSERT_FALSE(whole.empty());
    const FileRead full = ReadBytes(whole);
    ASSERT_EQ(full.games, 4);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const FileRead read = ReadBytes(whole.substr(0, cut), cut % 3 ? 7 : PgnFile::kDefaultBufferSize);
        ASSERT_LE(read.games, full.games) << cut;
        for (std::size_t k = 0; k < static_cast<std::size_t>(read.games); ++k) {
            const Rows& rows = read.records[k].rows;
            const Rows& fullRows = full.records[k].rows;
            ASSERT_LE(rows.size(), fullRows.size()) << "cut " << cut << " game " << k + 1;
            // Rows before the last are whole; the last may be cut short (or hold a result).
            for (std::size_t i = 0; i + 1 < rows.size(); ++i) EXPECT_EQ(rows[i], fullRows[i]) << cut;
            if (rows.empty()) continue;
            const auto& [white, black] = rows.back();
            const auto& [fullWhite, fullBlack] = fullRows[rows.size() - 1];
            EXPECT_TRUE(IsPrefix(white, fullWhite) || notation::IsDecidedResult(white)) << cut << " " << white;
            EXPECT_TRUE(IsPrefix(black, fullBlack) || notation::IsDecidedResult(black)) << cut << " " << black;
            // The slider reaches the last half-move read.
            const int n = static_cast<int>(rows.size());
            const bool blackMove = !black.empty() && !notation::IsDecidedResult(black);
            EXPECT_GE(read.records[k].SliderMax(), blackMove ? 2 * n - 1 : 2 * n - 2) << cut;
            EXPECT_LE(read.records[k].SliderMax(), 2 * n - 1) << cut;
        }
    }
}

TEST(BadFiles, DeepNestingNeedsNoStack) {
    const std::string deepVariation = kTags + "1. e4 " + std::string(100000, '(') + " e5 " + std::string(100000, ')') + " e5 2. Nf3 *";
    EXPECT_EQ(ReadBytes(deepVariation).records[0].rows, (Rows{{"e4", "e5"}, {"Nf3", ""}}));
    // Comments do not nest: the first "}" ends them all.
    const std::string deepComment = kTags + "1. e4 " + std::string(100000, '{') + "}" + " e5 *";
    EXPECT_EQ(ReadBytes(deepComment).records[0].rows, (Rows{{"e4", "e5"}}));
    // Unclosed, both run to the end of the file and keep the moves before them.
    EXPECT_EQ(ReadBytes(kTags + "1. e4 e5 2. " + std::string(100000, '(')).records[0].rows[0], (std::pair<std::string, std::string>{"e4", "e5"}));
    EXPECT_EQ(ReadBytes(kTags + "1. e4 " + std::string(100000, '{')).records[0].rows[0].first, "e4");
}

TEST(BadFiles, HugeValuesLinesAndGames) {
    // A 50 MB player name is kept whole: it is that game's own size.
    const std::string name(50'000'000, 'N');
    const FileRead named = ReadBytes("[Event \"E\"]\n[White \"" + name + "\"]\n\n1. e4 e5 *\n");
    EXPECT_EQ(named.records[0].WhitePlayer.size(), name.size());
    EXPECT_EQ(named.records[0].rows.size(), 1u);

    // A 100 MB line of tags costs its length once, not once per tag.
    std::string tagLine = "[Event \"E\"]";
    while (tagLine.size() < 100'000'000) tagLine += "[Site \"x\"][Round \"7\"]";
    const FileRead tags = ReadBytes(tagLine + "\n1. d4 *\n");
    EXPECT_EQ(tags.records[0].RoundName, "7");
    EXPECT_EQ(tags.records[0].rows[0].first, "d4");

    // A 100 MB line of one token: kept in part, marked cut, never a move.
    const FileRead token = ReadBytes(kTags + "1. e4" + std::string(100'000'000, '!') + "x e5");
    const std::string& cut = token.records[0].rows[0].first;
    EXPECT_EQ(cut.size(), kMaxMoveTextBytes + 1);
    EXPECT_EQ(cut.back(), kCutMark);
    EXPECT_EQ(token.checks[0].unmatched.size(), 1u);
    EXPECT_EQ(token.records[0].rows[0].second, "e5");
}

TEST(BadFiles, LongGamesReplayAndEndlessOnesAreCut) {
    // 10,000 moves of knights going out and back: every one matched, back at the start.
    std::string game = kTags;
    for (int n = 1; n <= 10000; ++n) game += std::to_string(n) + (n % 2 ? ". Nf3 Nf6 " : ". Ng1 Ng8\n");
    const FileRead read = ReadBytes(game + "1/2-1/2\n");
    EXPECT_EQ(read.records[0].rows.size(), 10001u);
    EXPECT_TRUE(read.checks[0].unmatched.empty());
    EXPECT_EQ(read.checks[0].final, kStart + " w");

    // Millions of move numbers on one line: the rows stop at the cap, the reader at the end.
    std::string endless = kTags;
    while (endless.size() < 20'000'000) endless += "1. a 2. b ";
    const FileRead cut = ReadBytes(endless + "\n[Event \"Next\"]\n1. c4 *\n");
    EXPECT_EQ(cut.records[0].rows.size(), kMaxMoveRows);
    EXPECT_TRUE(cut.records[0].rowsDropped);
    EXPECT_EQ(cut.records[0].SliderMax(), 2 * static_cast<int>(kMaxMoveRows) - 1);
    EXPECT_EQ(cut.records[1].rows[0].first, "c4");
}

TEST(BadFiles, OddBytesAndLineEnds) {
    // NUL bytes and bytes that are not UTF-8 stay in the names as they are.
    const std::string odd = std::string("[Event \"E\"]\n[White \"A\0B\"]\n[Black \"\xff\xfe\xc3\"]\n\n1. e4 \0 e5 *\n", 55);
    const FileRead read = ReadBytes(odd);
    EXPECT_EQ(read.records[0].WhitePlayer, std::string("A\0B", 3));
    EXPECT_EQ(read.records[0].BlackPlayer, "\xff\xfe\xc3");
    EXPECT_EQ(read.records[0].rows[0].first, "e4");

    // The same game with LF, CRLF and CR-only line ends reads the same.
    const std::string lf = "[Event \"E\"]\n[White \"W\"]\n\n1. e4 e5 2. Nf3\nNc6 3. Bb5 a6 ; Ruy Lopez\n4. Ba4 *\n";
    std::string crlf, cr;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    const Rows expected = ReadBytes(lf).records[0].rows;
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_EQ(ReadBytes(crlf).records[0].rows, expected);
    EXPECT_EQ(ReadBytes(cr).records[0].rows, expected);
}

TEST(BadFiles, APictureIsReadAsAFileWithoutGames) {
    const FileRead read = ReadWhole(std::string(TAVREL_SOURCE_DIR) + "/resources/logo.png");
    EXPECT_EQ(read.games, 0);
    // And with a game glued to its end, that game is found and read.
    const std::string glued = testing::FileBytes(std::string(TAVREL_SOURCE_DIR) + "/resources/logo.png") + "\n" + kTags + "1. e4 *\n";
    const FileRead found = ReadBytes(glued);
    ASSERT_GE(found.games, 1);
    EXPECT_EQ(found.records.back().rows[0].first, "e4");
}

// Found by fuzzing: a half-move that matched nothing let the other side move twice and take the
// king, which left a board without one for the rest of the game.
TEST(BadFiles, AMissedHalfMoveNeverCostsAKing) {
    const FileRead read = ReadBytes(kTags + "1. e4 f6 2. Qh5+ Kzz 3. Qxe8 Qxe8 *\n");
    const GameCheck& check = read.checks[0];
    ASSERT_EQ(check.unmatched.size(), 3u);
    EXPECT_EQ(check.unmatched[0].second, "Kzz");
    EXPECT_EQ(check.unmatched[1].second, "Qxe8");
    EXPECT_NE(check.final.find('k'), std::string::npos);
    EXPECT_NE(check.final.find('K'), std::string::npos);
}

}  // namespace
}  // namespace tavrel::pgn
