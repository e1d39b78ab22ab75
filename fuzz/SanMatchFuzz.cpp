// Arbitrary move texts matched in positions reached by real games: the matcher over the full
// legal list and the targeted one must agree, and the move found must keep the position sound.

#include <dirent.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/MakeMove.h"
#include "core/MoveGen.h"
#include "core/Replay.h"
#include "core/SanMatch.h"
#include "pgn/GameIndex.h"
#include "pgn/GameReader.h"

namespace {

using namespace tavrel;

constexpr std::size_t kMaxPositions = 6000;

// Every position of every game in the folder's .pgn files, with the side to move and its move
// number set for the half-move that comes next.
std::vector<GameState> LoadPositions(const std::string& folder) {
    std::vector<GameState> positions;
    GameState state;
    positions.push_back(state);  // the initial position, even without files
    positions.back().SetUpStartPosition();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return positions;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".pgn") continue;
        pgn::PgnFile file;
        if (!file.Open(folder + "/" + name).empty()) continue;
        const pgn::GameIndex index = pgn::IndexGames(file);
        for (std::int64_t k = 1; k <= index.GameCount(); ++k) {
            file.Seek(index.OffsetOf(k));
            state.Load(pgn::ReadGame(file).rows);
            for (int n = 1; n <= state.Moves.RowCount(); ++n) {
                for (int side : {White, Black}) {
                    state.MoveNumber = n;
                    state.SideToMove = static_cast<int16_t>(side);
                    if (positions.size() < kMaxPositions) positions.push_back(state);
                    PlayHalfMove(state, false);
                }
            }
        }
    }
    ::closedir(dir);
    return positions;
}

std::vector<GameState>& Positions() {
    static std::vector<GameState> positions = [] {
        const char* folder = std::getenv("TAVREL_FUZZ_PGN");
        return LoadPositions(folder ? folder : TAVREL_SHARED_PGN);
    }();
    return positions;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Positions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 2) return 0;
    const auto& positions = Positions();
    GameState state = positions[(data[0] | data[1] << 8) % positions.size()];
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const int side = state.SideToMove;
    GenerateLegalMoves(state, side);
    const Move full = MatchSanMove(state, text);
    bool listed = full.IsNone();
    for (int i = 0; i < state.LegalMoves.size() && !listed; ++i) listed = state.LegalMoves[i] == full;
    if (!listed) fuzz::Fail("the match is not a legal move");
    GameState probe = state;
    if (!(FindSanMove(probe, text) == full)) fuzz::Fail("the targeted matcher disagrees");
    MakeMove(state, full);
    fuzz::CheckPosition(state);
    return 0;
}
