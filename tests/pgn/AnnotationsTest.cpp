// The movetext beside the main line: what the annotated game holds, and that its main line is the
// score's.

#include <gtest/gtest.h>

#include <iostream>

#include "core/LineReplay.h"
#include "core/Notation.h"
#include "pgn/AnnotatedGame.h"
#include "pgn/GameReader.h"
#include "pgn/GameSource.h"
#include "support/RealFiles.h"
#include "support/TempFile.h"

namespace tavrel::pgn {
namespace {

namespace fs = std::filesystem;
using Kind = MovetextItem::Kind;

// The items as a book prints them, every move with its number, so that plies are checked too.
std::string Describe(const AnnotatedGame& game) {
    std::string out;
    for (const MovetextItem& item : game.items) {
        if (!out.empty()) out += ' ';
        switch (item.kind) {
            case Kind::Move:
                out += std::to_string(game.MoveNumberOf(item.ply)) + (game.IsBlackPly(item.ply) ? "..." : ".") + item.text;
                break;
            case Kind::Comment: out += "{" + item.text + "}"; break;
            case Kind::Glyph: out += "$" + std::to_string(item.glyph); break;
            case Kind::VariationStart: out += "("; break;
            case Kind::VariationEnd: out += ")"; break;
            case Kind::Result: out += item.text; break;
        }
    }
    return out;
}

const std::string kTags = "[Event \"E\"]\n[White \"W\"]\n[Black \"B\"]\n\n";

// Variations at every depth and place are replayed from the real files below.
TEST(Annotations, WhatTheGameTextHolds) {
    struct Row {
        const char* why;
        std::string movetext;
        std::string expected;
    };
    const Row rows[] = {
        {"suffix glyphs and numeric ones", "1. e4! e5? 2. Nf3!! Nc6?? 3. Bb5!? a6?! 4. Ba4 $14 Nf6 $201 *",
         "1.e4 $1 1...e5 $2 2.Nf3 $3 2...Nc6 $4 3.Bb5 $5 3...a6 $6 4.Ba4 $14 4...Nf6 $201 *"},
        {"a comment before the first move, with a digit 1 in it", "{Game 1. A classic} 1. e4 e5 1-0",
         "{Game 1. A classic} 1.e4 1...e5 1-0"},
        {"brace and rest-of-line comments", "1. e4 {best by test} e5 ; the reply\n2. Nf3 *",
         "1.e4 {best by test} 1...e5 { the reply} 2.Nf3 *"},
        {"nested variations", "1. e4 e5 (1... c5 2. Nf3 (2. c3 d5) d6) 2. Nf3 *",
         "1.e4 1...e5 ( 1...c5 2.Nf3 ( 2.c3 2...d5 ) 2...d6 ) 2.Nf3 *"},
        {"a null move in a variation", "1. e4 (1. -- d5 2. d4) e5 *", "1.e4 ( 1.-- 1...d5 2.d4 ) 1...e5 *"},
        {"the numbering starts where the file says", "23... Kh8 24. Qh5 *", "23...Kh8 24.Qh5 *"},
        {"dots and commas of older annotators", "1. e4 e5 (1. ...d5, 2. Nc3,) 2. Nf3 *",
         "1.e4 1...e5 ( 1...d5 2.Nc3 ) 2.Nf3 *"},
        {"a glyph apart, en passant marks apart, a null move in zeros", "1. e4 ? e5 2. exd6 e.p. 0000 3. exf6 ep *",
         "1.e4 $2 1...e5 2.exd6 2...0000 3.exf6 *"},
        {"a game of tags and a result only", "*", "*"},
        {"the next game's tags end it", "1. e4 {x} 1-0\n\n[Event \"F\"]\n1. d4 *", "1.e4 {x} 1-0"},
    };
    for (const Row& row : rows) EXPECT_EQ(Describe(ReadAnnotatedGame(kTags + row.movetext)), row.expected) << row.why;
}

// Every variation move of a game, replayed from the main-line position where its line branches
// off; set-up games from their FEN, Black's first move among them. Adds to the moves and to those
// replayed.
void ReplayVariations(const GameRecord& record, const AnnotatedGame& text, const std::string& where, long& moves,
                      long& replayed) {
    GameState game;
    game.Load(record.rows, record.Fen, record.Variant);
    if (!game.StartProblem.empty()) return;  // crazyhouse and others whose moves are not chess moves
    for (std::size_t i = 0; i < text.items.size(); ++i) {
        if (text.items[i].kind != Kind::Move || text.items[i].depth == 0) continue;
        const AnnotatedGame::Path path = text.PathTo(static_cast<int>(i));
        std::vector<std::string> line;
        for (int m : path.moves) line.push_back(text.items[static_cast<std::size_t>(m)].text);
        const int branch = path.branch < 0 ? -1 : text.items[static_cast<std::size_t>(path.branch)].ply;
        ++moves;
        if (PlayLine(GamePositionAt(game, branch), line).played == static_cast<int>(line.size())) {
            ++replayed;
        } else {
            std::cout << where << ": " << line.back() << "\n";
        }
    }
}

// In every game of the real files the game text's main line is the score's half-move for
// half-move, and nearly every variation move replays.
TEST(Annotations, RealFilesMainLineIsTheScoreAndTheirVariationsReplay) {
    const auto files = testing::RealPgnFiles();
    if (files.empty()) GTEST_SKIP() << "no real PGN files at " << TAVREL_SHARED_PGN;
    long games = 0, moves = 0, replayed = 0;
    for (const fs::path& path : files) {
        GameSource source;
        ASSERT_EQ(source.Open(path.string()), "");
        for (std::int64_t k = 1; k <= source.GameCount(); ++k) {
            const std::string where = path.filename().string() + " game " + std::to_string(k);
            const GameRecord a = source.ReadGame(k);
            const AnnotatedGame text = source.ReadAnnotatedGame(k);
            long texts = 0, mainMoves = 0;
            for (const auto& [white, black] : a.rows) {
                texts += !white.empty() + (!black.empty() && !notation::IsDecidedResult(black));
            }
            for (const MovetextItem& item : text.items) mainMoves += item.kind == Kind::Move && item.depth == 0;
            if (!a.rows.empty() && notation::IsDecidedResult(a.rows.back().first)) --texts;
            EXPECT_EQ(mainMoves, texts) << where;
            ReplayVariations(a, text, where, moves, replayed);
            ++games;
        }
    }
    std::cout << replayed << " of " << moves << " variation moves replay\n";
    EXPECT_GT(games, testing::CompactRealFiles() ? 100 : 300);
    EXPECT_GT(moves, 500);
    EXPECT_GE(replayed * 1000, moves * 995);
}

}  // namespace
}  // namespace tavrel::pgn
