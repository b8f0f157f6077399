#include <gtest/gtest.h>

#include "protocols/dxp_message.h"

namespace kestrel {
namespace {

std::string Padded(const std::string& name) { return name + std::string(32 - name.size(), ' '); }

// The examples of the protocol's description, and what each reads as.
TEST(DxpMessage, ExamplesReadAndWriteBack) {
  const std::string texts[] = {
      "R01" + Padded("Initiator") + "Z005075A",
      "R01" + Padded("Setup") + "W001000BZ" + std::string(20, 'z') + std::string(10, 'e') + std::string(19, 'w') + "W",
      "A" + Padded("Follower") + "0",
      "M0003322800",
      "M00023719022332",
      "E20",
      "E11",
      "B005Z",
      "K0",
      "Chello there",
  };
  for (const auto& text : texts) {
    std::string error;
    const auto m = ParseDxp(text, error);
    ASSERT_TRUE(m) << text << ": " << error;
    EXPECT_EQ(EncodeDxp(*m), text);
  }
  std::string error;
  const auto req = std::get<TDxpGameRequest>(*ParseDxp(texts[0], error));
  EXPECT_EQ(req.name, "Initiator");
  EXPECT_EQ(req.followerColor, 'Z');
  EXPECT_EQ(req.minutes, 5);
  EXPECT_EQ(req.moves, 75);
  EXPECT_FALSE(req.setup);
  const auto move = std::get<TDxpMove>(*ParseDxp(texts[4], error));
  EXPECT_EQ(move.seconds, 2);
  EXPECT_EQ(move.from, 37);
  EXPECT_EQ(move.to, 19);
  EXPECT_EQ(move.captured, (std::vector<int>{23, 32}));
  const auto back = std::get<TDxpBackRequest>(*ParseDxp(texts[7], error));
  EXPECT_EQ(back.moveNumber, 5);
  EXPECT_EQ(back.color, 'Z');
}

TEST(DxpMessage, MalformedMessagesAreRefused) {
  const std::string bad[] = {
      "",
      "X",
      "R01" + Padded("Short") + "Z005075",         // one short
      "R01" + Padded("Colour") + "Q005075A",
      "R01" + Padded("Minutes") + "Z0x5075A",
      "R01" + Padded("Setup") + "W001000B",        // no position
      "A" + Padded("Follower"),                     // no code
      "M000332280",
      "M0003322801",                                // a capture count without squares
      "M000332280012",
      "M00a3322800",
      "E2",
      "E41",
      "E02",
      "B05Z",
      "B005X",
      "K",
      std::string(128, 'C'),
      std::string("M0003322800\x80", 12),
  };
  for (const auto& text : bad) {
    std::string error;
    EXPECT_FALSE(ParseDxp(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(DxpMessage, WritingKeepsEveryFieldInItsWidth) {
  TDxpGameRequest r;
  r.name = "  A name far longer than the thirty-two characters a name holds";
  r.minutes = 12345;
  const std::string text = EncodeDxp(r);
  ASSERT_EQ(text.size(), 43u);
  EXPECT_EQ(text.substr(36, 3), "999");
  EXPECT_EQ(text[3], 'A');  // leading blanks dropped
  TDxpMove m;
  m.seconds = 99999;
  m.from = 1;
  m.to = 50;
  EXPECT_EQ(EncodeDxp(m), "M9999015000");
  std::string error;
  EXPECT_TRUE(ParseDxp(EncodeDxp(TDxpChat{std::string(300, 'x') + "\n"}), error));
}

}  // namespace
}  // namespace kestrel
