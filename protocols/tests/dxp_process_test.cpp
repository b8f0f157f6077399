// kestrel-cli dxp as a process: two of them play each other, and a test peer
// answers one with malformed and out-of-order messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>

#include "protocols/dxp_connection.h"
#include "protocols/dxp_message.h"
#include "protocols/hub_notation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// A kestrel-cli process whose stdout is read by the test.
class TCliProcess {
 public:
  explicit TCliProcess(const std::string& args)
      : pipe_(popen((std::string(KESTREL_CLI) + " " + args + " 2>&1").c_str(), "r")) {}
  ~TCliProcess() {
    if (pipe_) pclose(pipe_);
  }
  std::string Line() {
    char buf[512];
    return pipe_ && fgets(buf, sizeof buf, pipe_) ? std::string(buf) : std::string();
  }
  // The rest of the output, and the exit code (-1 for a crash).
  std::string Rest(int& exitCode) {
    std::string out;
    for (std::string line = Line(); !line.empty(); line = Line()) out += line;
    const int status = pclose(pipe_);
    pipe_ = nullptr;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
  }

 private:
  FILE* pipe_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(DxpProcess, TwoEnginesPlayAMatch) {
  TCliProcess server("dxp --port 0 --time 0.02 --hash 4");
  const std::string first = server.Line();
  ASSERT_EQ(first.rfind("listening on 127.0.0.1:", 0), 0u) << first;
  const std::string port = first.substr(first.rfind(':') + 1, first.find('\n') - first.rfind(':') - 1);
  TCliProcess client("dxp --connect 127.0.0.1:" + port + " --time 0.02 --games 2 --hash 4");
  int clientExit = 0, serverExit = 0;
  const auto log = Lines(client.Rest(clientExit));
  server.Rest(serverExit);
  EXPECT_EQ(clientExit, 0);
  EXPECT_EQ(serverExit, 0);

  // Replay every logged move: each is legal, and a decisive result leaves
  // the loser without a move.
  int games = 0;
  TBoard board;
  TDColor side = TDColor::white;
  for (const auto& line : log) {
    if (line.rfind("game ", 0) == 0 && line.rfind("game end", 0) != 0) {
      board = InitialPosition(gtInternational);
      side = TDColor::white;
    } else if (line.rfind("white ", 0) == 0 || line.rfind("black ", 0) == 0) {
      ASSERT_EQ(line.substr(0, 5), side == TDColor::white ? "white" : "black") << line;
      const auto move = FindHubMove(line.substr(6), board, side, gtInternational);
      ASSERT_TRUE(move) << line;
      ApplyMove(*move, board, gtInternational);
      side = Opponent(side);
    } else if (line.rfind("game end ", 0) == 0) {
      ++games;
      const std::string result = line.substr(9);
      TMoveList list;
      uint8_t count = 0;
      GenerateMoveList(board, side, list, gtInternational, count);
      if (result == "1-0") {
        EXPECT_TRUE(side == TDColor::black && count == 0);
      } else if (result == "0-1") {
        EXPECT_TRUE(side == TDColor::white && count == 0);
      } else {
        EXPECT_EQ(result, "1/2-1/2");
        EXPECT_GT(count, 0);
      }
    }
  }
  EXPECT_EQ(games, 2);
}

// What the test peer does after it has read the client's game request.
struct TPeerCase {
  const char* name;
  std::string answer;       // sent at once, NULs included
  bool afterFirstMove;      // after "A" accepting, and the client's first move
  bool closeAfter;          // then close the connection
  const char* expected;     // in the client's log
  bool gameStarted;         // the log then ends the game with "game end *"
};

std::string Accept(char code = '0') { return "A" + std::string("Test peer") + std::string(23, ' ') + code; }
std::string Wire(const std::string& message) { return message + '\0'; }

TEST(DxpProcess, PeerFaultsEndTheGameCleanly) {
  const TPeerCase cases[] = {
      {"garbage answer", Wire("Xjunk"), false, false, "malformed message \"Xjunk\"", true},
      {"move instead of an answer", Wire("M0001322800"), false, false, "instead of an answer", true},
      {"refusal", Wire(Accept('2')), false, false, "refuses the game (code 2)", false},
      {"move out of turn", Wire(Accept()) + Wire("M0001192300"), false, false, "out of turn", true},
      {"accept twice", Wire(Accept()), true, false, "out of turn", true},
      {"illegal move", Wire("M0001192600"), true, false, "illegal move \"M0001192600\"", true},
      {"white's move again", Wire("M0001312700"), true, false, "illegal move", true},
      {"unknown message", Wire("Q12"), true, false, "unknown message type 'Q'", true},
      {"overlong message", std::string(200, 'C'), true, false, "127 characters", true},
      {"early disconnect", "", true, true, "closed the connection", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto listener = ListenTcp(0, false, error);
    ASSERT_TRUE(listener) << error;
    TCliProcess client("dxp --connect 127.0.0.1:" + std::to_string(BoundPort(*listener)) + " --time 0.02 --hash 4");
    auto socket = AcceptTcp(*listener, 30000, error);
    ASSERT_TRUE(socket) << error;
    TDxpConnection peer(std::move(*socket));
    std::string request;
    ASSERT_EQ(peer.Receive(request, 30000, error), TDxpConnection::TRead::message);
    const auto parsed = ParseDxp(request, error);
    ASSERT_TRUE(parsed && std::holds_alternative<TDxpGameRequest>(*parsed)) << request;
    // The client is white in its first game: the peer is the Follower with black.
    EXPECT_EQ(std::get<TDxpGameRequest>(*parsed).followerColor, 'Z');
    if (c.afterFirstMove) {
      ASSERT_TRUE(peer.Send(Accept()));
      std::string move;
      ASSERT_EQ(peer.Receive(move, 30000, error), TDxpConnection::TRead::message);
      EXPECT_EQ(move[0], 'M');
    }
    // Send adds one NUL at the end; the others go out as they are.
    if (!c.answer.empty()) {
      ASSERT_TRUE(peer.Send(c.answer.substr(0, c.answer.size() - (c.answer.back() == '\0' ? 1 : 0))));
    }
    if (c.closeAfter) peer.Close();
    int exitCode = 0;
    const std::string log = client.Rest(exitCode);
    EXPECT_EQ(exitCode, 1) << log;
    EXPECT_NE(log.find(c.expected), std::string::npos) << log;
    EXPECT_EQ(log.find("game end *") != std::string::npos, c.gameStarted) << log;
  }
}

}  // namespace
}  // namespace kestrel
