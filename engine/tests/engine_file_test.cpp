#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "engine/engine_params.h"
#include "engine/tests/eval_test_helpers.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using evaltest::Pattern;

class EngineFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kestrel_engine_file_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path WriteText(const std::string& name, const std::string& text) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  static std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
};

TEvalFuncNew Sample() {
  TEvalFuncNew f;
  f.Name = "Sample engine; tuned";
  f.Patt = {Pattern(0x41, 0, 0, {5, 5, 3, 0}),
            Pattern(0x7DFFBFF7FEFFDFull, 0x8000000000000000ull, 0x1234, {-1, 2147483647, -2147483647 - 1, 0}),
            Pattern(0, 0, 0x20, {9, 8, 7, 6}),
            Pattern(0x3, 0x400, 0x800, {0, 0, 0, 0})};
  for (int i = 0; i < EvalParamCount; ++i)
    for (int s = 0; s < EvalStages; ++s) f.P(s, i) = static_cast<int16_t>((i * 37 + s * 11) % 300 - 150);
  f.SetParam(prManValue, 100);
  f.P(2, 40) = -32768;
  f.P(3, 63) = 32767;
  CompileEvalFunc(f);
  return f;
}

void ExpectSameFunction(const TEvalFuncNew& a, const TEvalFuncNew& b) {
  EXPECT_EQ(a.Name, b.Name);
  EXPECT_EQ(a.Patt, b.Patt);
  EXPECT_EQ(a.Param, b.Param);
  EXPECT_EQ(a.RealPatt, b.RealPatt);
  EXPECT_EQ(a.WhiteFields, b.WhiteFields);
  EXPECT_EQ(a.BlackFields, b.BlackFields);
  EXPECT_EQ(a.ClearFields, b.ClearFields);
  EXPECT_TRUE(a.w == b.w && a.b == b.b && a.c == b.c);
}

TEST_F(EngineFile, WritesTheDocumentedLines) {
  TEvalFuncNew f;
  f.Name = "Demo";
  f.Patt = {Pattern(0x41, 0, 0, {5, 5, 3, 0})};
  f.SetParam(prManValue, 100);
  f.P(1, 30) = -7;
  const std::string text = EngineFileText(f);
  const std::string expectedStart =
      "Demo\r\n"
      "0000000000000041 0000000000000000 0000000000000000 5 5 3 0 \r\n"
      ".100 100 100 100 ; 0.man value\r\n"
      ".0 0 0 0 ; 1.king value (=/100*man)\r\n";
  EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(text.find("\r\n.0 0 0 0 ; 21.Use learning\r\n.0 0 0 0 ; 22.\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n.0 -7 0 0 ; 30.\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 18), "\r\n.0 0 0 0 ; 63.\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 1 + 64);
  // The file holds exactly that text.
  const fs::path p = dir_ / "demo.eng";
  ASSERT_TRUE(WriteEngine(p, f));
  EXPECT_EQ(ReadText(p), text);
  EXPECT_FALSE(fs::exists(dir_ / "demo.eng.part"));
}

TEST_F(EngineFile, RoundTripKeepsNamePatternsParametersAndTables) {
  const TEvalFuncNew f = Sample();
  const fs::path p = dir_ / "sample.eng";
  ASSERT_TRUE(WriteEngine(p, f));
  TEvalFuncNew back;
  const TEngineFileResult r = ReadEngine(p, back);
  ASSERT_TRUE(r) << r.message;
  ExpectSameFunction(f, back);
  // Writing what was read gives the same bytes.
  ASSERT_TRUE(WriteEngine(dir_ / "again.eng", back));
  EXPECT_EQ(ReadText(dir_ / "again.eng"), ReadText(p));
}

TEST_F(EngineFile, NameLineOnlyReadsAsAnEmptyFunction) {
  TEvalFuncNew f = Sample();
  ASSERT_TRUE(ReadEngine(WriteText("bare.eng", "Bare\r\n"), f));
  EXPECT_EQ(f.Name, "Bare");
  EXPECT_EQ(f.Size(), 0u);
  EXPECT_EQ(f.RealSize(), 0u);
  EXPECT_EQ(f.Param, TEvalFuncNew{}.Param);
  EXPECT_EQ(f.w, TEvalFuncNew{}.w);
}

TEST_F(EngineFile, EmptyFirstLineTakesTheFileName) {
  TEvalFuncNew f;
  ASSERT_TRUE(ReadEngine(WriteText("Tuned 7.eng", "\r\n.1 2 3 4\r\n"), f));
  EXPECT_EQ(f.Name, "Tuned 7");
  TEvalFuncNew g;
  ASSERT_TRUE(ReadEngine(WriteText("Empty.eng", ""), g));
  EXPECT_EQ(g.Name, "Empty");
}

TEST_F(EngineFile, ParameterLinesFillIndicesInOrder) {
  TEvalFuncNew f;
  const std::string text =
      "P\r\n"
      ".5 6 7 8\r\n"
      "   .  -1   +2\t3 4 99 ; 7.whatever the comment says\r\n"
      "0000000000000001 0 0 1 1 1 1 ; patterns and parameters may mix\r\n"
      "; a comment line\r\n"
      "\r\n"
      ".9 9 9 9 ;\r\n";
  ASSERT_TRUE(ReadEngine(WriteText("p.eng", text), f));
  EXPECT_EQ(f.P(0, 0), 5);
  EXPECT_EQ(f.P(1, 0), 6);
  EXPECT_EQ(f.P(2, 0), 7);
  EXPECT_EQ(f.P(3, 0), 8);
  EXPECT_EQ(f.P(0, 1), -1);
  EXPECT_EQ(f.P(1, 1), 2);
  EXPECT_EQ(f.P(3, 1), 4);
  EXPECT_EQ(f.P(0, 2), 9);
  EXPECT_EQ(f.P(0, 3), 0);
  ASSERT_EQ(f.Size(), 1u);
  EXPECT_EQ(f.WhiteFields[2][0], 1);
  // Compiled with the man value read: a man on bit 0 is 5 + 1 in stage 0.
  EXPECT_EQ(f.w[0][0][1], 6);
}

TEST_F(EngineFile, MasksReadInEitherCaseAndWithoutLeadingZeros) {
  TEvalFuncNew upper, lower;
  ASSERT_TRUE(ReadEngine(WriteText("u.eng", "N\r\n00000000000ABCDE 000000000000F000 1 1 2 3 4 \r\n"), upper));
  ASSERT_TRUE(ReadEngine(WriteText("l.eng", "N\nabcde f000 0000000000000001 1 2 3 4\n"), lower));
  ASSERT_EQ(upper.Size(), 1u);
  EXPECT_EQ(upper.Patt, lower.Patt);
  EXPECT_EQ(upper.Patt[0].B.w, 0xABCDEu);
  EXPECT_EQ(upper.Patt[0].B.b, 0xF000u);
}

TEST_F(EngineFile, MissingFileLeavesTheFunctionAlone) {
  TEvalFuncNew f = Sample();
  const TEvalFuncNew before = f;
  const TEngineFileResult r = ReadEngine(dir_ / "nothing.eng", f);
  EXPECT_EQ(r.status, TEngineFileResult::missing);
  ExpectSameFunction(before, f);
}

TEST_F(EngineFile, DamagedFilesAreRefusedWithTheLineAndLeaveTheFunctionAlone) {
  const std::pair<std::string, int> cases[] = {
      {"N\r\n.1 2 3\r\n", 2},                                      // three values
      {"N\r\n.1 2 x 4\r\n", 2},                                    // not a number
      {"N\r\n.1 2 3 40000\r\n", 2},                                // beyond 16 bits
      {"N\r\n.1 2 3 4.5\r\n", 2},
      {"N\r\n.1 2 3 +-4\r\n", 2},
      {"N\r\n\r\n0001 0 0 1 2 3\r\n", 3},                          // a value short
      {"N\r\n0001 0 0 1 2 3 99999999999\r\n", 2},                  // beyond 32 bits
      {"N\r\n00000000000000001 0 0 1 2 3 4\r\n", 2},               // 17 hex digits
      {"N\r\n0x01 0 0 1 2 3 4\r\n", 2},
      {"N\r\nG 0 0 1 2 3 4\r\n", 2},
      {"N\r\n-1 0 0 1 2 3 4\r\n", 2},
      {"N\r\nhello\r\n", 2},
  };
  for (const auto& [text, line] : cases) {
    TEvalFuncNew f = Sample();
    const TEvalFuncNew before = f;
    const TEngineFileResult r = ReadEngine(WriteText("bad.eng", text), f);
    EXPECT_EQ(r.status, TEngineFileResult::error) << text;
    EXPECT_EQ(r.line, line) << text;
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(f.Name, before.Name);
    EXPECT_EQ(f.Patt, before.Patt);
    EXPECT_EQ(f.Param, before.Param);
  }
  std::string tooMany = "N\r\n";
  for (int i = 0; i < 65; ++i) tooMany += ".1 1 1 1\r\n";
  TEvalFuncNew f;
  const TEngineFileResult r = ReadEngine(WriteText("many.eng", tooMany), f);
  EXPECT_EQ(r.status, TEngineFileResult::error);
  EXPECT_EQ(r.line, 66);
}

TEST_F(EngineFile, RandomBytesNeverCrash) {
  std::mt19937 rng(9);
  const std::string alphabet = "0123456789abcdefABCDEF .;-+\r\n\t\x01\xff";
  const std::string base = EngineFileText(Sample());
  for (int round = 0; round < 400; ++round) {
    std::string text;
    if (round % 2) {
      const size_t n = rng() % 600;
      for (size_t i = 0; i < n; ++i) text += alphabet[rng() % alphabet.size()];
    } else {
      // A real file with a few bytes damaged.
      text = base;
      for (int k = 0; k < 4; ++k) text[rng() % text.size()] = alphabet[rng() % alphabet.size()];
    }
    TEvalFuncNew f;
    const TEngineFileResult r = ParseEngineText(text, "fuzz", f);
    if (r) {
      EXPECT_LE(f.RealSize(), f.Size());
      TEvalFuncNew g;
      ASSERT_TRUE(ParseEngineText(EngineFileText(f), "fuzz", g)) << "what was read must write back readable";
      EXPECT_EQ(g.Patt, f.Patt);
      EXPECT_EQ(g.Param, f.Param);
    } else {
      EXPECT_EQ(r.status, TEngineFileResult::error);
    }
  }
}

TEST_F(EngineFile, LineBreaksInTheNameDoNotSpillIntoPatterns) {
  TEvalFuncNew f;
  f.Name = "two\r\nlines";
  ASSERT_TRUE(WriteEngine(dir_ / "n.eng", f));
  TEvalFuncNew back;
  ASSERT_TRUE(ReadEngine(dir_ / "n.eng", back));
  EXPECT_EQ(back.Name, "two  lines");
  EXPECT_EQ(back.Size(), 0u);
}

TEST_F(EngineFile, UnreadableAndUnwritablePathsAreErrors) {
  TEvalFuncNew f;
  EXPECT_EQ(ReadEngine(dir_, f).status, TEngineFileResult::error);
  EXPECT_EQ(WriteEngine(dir_ / "no" / "such" / "folder.eng", f).status, TEngineFileResult::error);
  EXPECT_EQ(WriteEngine(dir_, f).status, TEngineFileResult::error);
  EXPECT_TRUE(fs::is_directory(dir_));
}

TEST_F(EngineFile, OversizedFileIsRefused) {
  std::string big = "N\r\n";
  while (big.size() <= (16u << 20)) big += "; padding padding padding padding padding padding padding\r\n";
  TEvalFuncNew f;
  EXPECT_EQ(ReadEngine(WriteText("big.eng", big), f).status, TEngineFileResult::error);
}

TEST_F(EngineFile, EditorMayNotOverwriteDefaultEngines) {
  EXPECT_FALSE(EditorSavePath("Thai"));
  EXPECT_FALSE(EditorSavePath("/any/folder/Thai.eng"));
  EXPECT_FALSE(EditorSavePath("International.txt"));
  const auto thai2 = EditorSavePath("/any/folder/Thai2.txt");
  ASSERT_TRUE(thai2);
  EXPECT_EQ(*thai2, fs::path("/any/folder/Thai2.eng"));
  ASSERT_TRUE(EditorSavePath("thai"));  // the comparison is exact
  EXPECT_EQ(*EditorSavePath("mine"), fs::path("mine.eng"));
  EXPECT_EQ(DefaultEngineRewriteMessage, "You cannot rewrite default engine!");
}

TEST_F(EngineFile, FoldersListsAndFallbacks) {
  const fs::path program = dir_ / "prog";
  const fs::path folder = EngineFolder(program, gtRussian);
  EXPECT_EQ(folder, program / "EvalFunc" / "Russian");
  EXPECT_EQ(DefaultEngineFileName(gtSpantsiretti), "Spantsiretti.eng");
  fs::create_directories(folder / "sub");
  TEvalFuncNew def, mine;
  def.Name = "default";
  def.SetParam(prManValue, 100);
  mine.Name = "mine";
  mine.SetParam(prManValue, 90);
  ASSERT_TRUE(WriteEngine(folder / "Russian.eng", def));
  ASSERT_TRUE(WriteEngine(folder / "mine.eng", mine));
  ASSERT_TRUE(WriteEngine(folder / ".hidden.eng", mine));
  ASSERT_TRUE(WriteEngine(dir_ / "outside.eng", mine));
  EXPECT_EQ(ListEngineFiles(folder), (std::vector<std::string>{"Russian.eng", "mine.eng"}));
  EXPECT_TRUE(ListEngineFiles(dir_ / "nowhere").empty());

  TEvalFuncNew f;
  ASSERT_TRUE(LoadVariantEngine(program, gtRussian, "mine.eng", f));
  EXPECT_EQ(f.Name, "mine");
  ASSERT_TRUE(LoadVariantEngine(program, gtRussian, "gone.eng", f));
  EXPECT_EQ(f.Name, "default");
  ASSERT_TRUE(LoadVariantEngine(program, gtRussian, "../../../outside.eng", f));
  EXPECT_EQ(f.Name, "default") << "a settings value must not reach outside the variant folder";
  TEvalFuncNew untouched;
  EXPECT_EQ(LoadVariantEngine(program, gtThai, "", untouched).status, TEngineFileResult::missing);
  EXPECT_EQ(untouched.P(0, prManValue), 0);
}

TEST(EngineGenerations, OfferedByVariant) {
  for (int type = 1; type <= GameTypeCount; ++type) {
    const bool old = type == gtFrisian || type == gtCanadian;
    EXPECT_EQ(HasNewEngine(type), !old) << GameTypeNames[type];
    EXPECT_EQ(DefaultEngineGeneration(type), old ? EngineOld : EngineNew);
    const auto choices = EngineGenerationChoices(type);
    ASSERT_EQ(choices.size(), old ? 1u : 2u);
    EXPECT_EQ(choices[0], "Kestrel Thornby 2.11");
    if (!old) {
      EXPECT_EQ(choices[1], "Kestrel Thornby 3");
    }
  }
}

}  // namespace
}  // namespace kestrel
