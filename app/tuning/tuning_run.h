// One tuning run of an engine file: self-play games of the base function at
// a fixed depth, their positions labelled by the results, the function's
// weights fitted by logistic regression, and the run recorded beside the
// engine files so that every tuned file can be traced to the run that wrote
// it and made again.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "app/tuning/self_play.h"
#include "engine/evaluation.h"

namespace kestrel {

struct TTuneSettings {
  TEvalFuncNew base;       // the function that plays the games and starts the fit
  std::string runName;     // names the tuned function and its file
  TSelfPlaySettings play;
  TLabelOptions label;
  int epochs = 300;
  double learningRate = 1.0;
  double l2 = 2e-6;        // keeps rarely seen weights near where they were
  bool holdKings = false;  // the king values stay those of `base`
  // Share of each target taken from the game's own search of the position
  // (its score through the results' scale) rather than from the result:
  // drawn games then still say which positions the search liked.
  double scoreWeight = 0;
};

struct TTuneOutcome {
  TEvalFuncNew tuned;
  int games = 0;
  int decisive = 0;  // games not drawn: all the fit learns from results
  std::size_t positions = 0;
  double k = 0;
  double lossBefore = 0, lossAfter = 0;
  bool cancelled = false;
};

// Plays, labels and fits. `log` gets progress lines.
TTuneOutcome RunTuning(const TTuneSettings& settings, const std::function<void(const std::string&)>& log = {},
                       std::atomic<bool>* stop = nullptr);

// "s1-g4000-d4": the run's default name, from its seed, games and depth.
std::string DefaultRunName(const TSelfPlaySettings& play);
// "Russian-tune-s1-g4000-d4.eng": the tuned file of a run.
std::string TunedFileName(int gametype, const std::string& runName);

// 64-bit FNV-1a of a file's bytes as 16 hex digits; what the record keeps.
std::string ContentHash(std::string_view bytes);

// One run in the record (a Markdown table, one row per run).
struct TTuningRecord {
  std::string file;      // the tuned file's name
  std::string variant;
  std::string base;      // the engine file it started from
  uint64_t seed = 0;
  int games = 0;
  int depth = 0;
  int epochs = 0;
  std::string hash;      // ContentHash of the tuned file
  std::string command;   // the command that makes it again
};
std::string RecordRow(const TTuningRecord& r);
// The rows of a record text; lines that are not rows are skipped.
std::vector<TTuningRecord> ParseRecord(const std::string& text);
// Adds (or replaces, by file name) a row of the record at `path`, written
// whole; a new record gets its heading. False with `error` on failure.
bool AddToRecord(const std::filesystem::path& path, const TTuningRecord& r, std::string& error);

}  // namespace kestrel
