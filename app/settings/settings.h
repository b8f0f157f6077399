// Every value of the settings file "winkes36.ini", with its default.
// Loaded whole at start-up, changed in memory, stored whole at a clean close.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/settings/ini_file.h"
#include "rules/game_types.h"

namespace kestrel {

inline constexpr const char* SettingsFileName = "winkes36.ini";
inline constexpr const char* LogFileName = "winkes36.log";
inline constexpr const char* UserNameKey = "UserName";

// Per-variant keys other than the engine file use "Spants" for Spantsiretti.
std::string VariantKeyName(int type);

struct VariantSettings {
  std::string EngineName;  // engine file inside EvalFunc/<Name>/
  bool UseBook = true;
  std::string Book;        // opening book file
  int Engine = 1;          // the built-in engine's generation, as TEngineParams::Engine
  bool External = false;   // "External (Hub)": HubCommand searches instead of the built-in engine
  std::string HubCommand;  // the external engine's command line
};

struct FontSetting {
  std::string Name;
  int Size = 0;
  int CharSet = 0;  // written, never read
};

struct Settings {
  // Main
  bool PlayingMode = false;
  std::string UserName;
  int TypeOfGame = gtRussian;
  bool Sound = false;
  bool Tuning = true;
  bool HighlightMove = true;
  bool Line3InLine = true;
  bool AutoCapture = true;
  bool ComposerMode = false;
  uint32_t BoardDarkSquares = 0x00808040;
  uint32_t BoardLightSquares = 0x00F0F0E3;
  std::string FigBKName, FigBSName, FigWSName, FigWKName;
  std::string LanguageName = "English";
  // Code page of names and comments in databases and 8-bit files:
  // "Windows-1251", "Windows-1252" or "UTF-8".
  std::string CodePage = "Windows-1251";
  int Notation = 0;
  int TakeChar = 1;
  int ResType = 1;
  int BookLevel = 1;
  bool LoadRusAsPool = false;
  bool TimeoutMessages = true;
  bool SaveGameChanges = true;
  std::string EDPath;
  std::string DefEbDir;
  bool UseItalPDN = false;
  bool ShowJamaican = false;
  bool PoolChessNotation = false;
  bool PoolWhiteBottom = false;
  bool ShowCoords = false;
  uint32_t GameColorMainLine = 0;
  uint32_t GameColorSecondLine = 0;
  uint32_t GameColorThirdLine = 0x00008000;
  uint32_t GameColorComment = 0x00606060;
  int BoardSize = 10000;
  FontSetting GameFont{"Palatino Linotype", 13, 0};
  FontSetting DatabaseFont{"Palatino Linotype", 13, 0};
  std::string Database;

  // Engines, indexed by game type 1..12
  std::array<VariantSettings, GameTypeCount + 1> Variants;
  int ThreadsCount = 1;
  int KestrelMemory = 16;
  int EDBMemory = 128;

  // Windows
  bool MainMaximized = true;
  int MainLeft = 215, MainTop = 109, MainWidth = 645, MainHeight = 444;

  // FTP
  std::string FtpSite, FtpUser, FtpPass, FtpFolder, FtpFileName, FtpWebFolder;
  bool FtpAllowPlain = false;  // the user allowed unencrypted FTP for a server without TLS

  // Internet game server
  std::string GameServerHost = "127.0.0.1";
  int GameServerPort = 2000;

  // Defaults that depend on the program folder.
  static Settings Defaults(const std::filesystem::path& programFolder, const std::filesystem::path& dataFolder = {});
  // Reads every key; a missing key or a bad number gives the default.
  void Load(const IniFile& ini, const std::filesystem::path& programFolder, const std::filesystem::path& dataFolder = {});
  // Writes every key into `ini`, keeping the keys it does not know.
  void Store(IniFile& ini) const;
};

// The highest engine generation a settings file may name.
inline constexpr int MaxEngineGeneration = 2;
// Files written before "<Variant>External" existed said "<Variant>=2" for the
// external engine; that value is read as the external engine only there.
inline constexpr int LegacyExternalEngineValue = 2;

// Ranges the program accepts for values typed into the settings file.
inline constexpr int MaxThreadsCount = 64;
inline constexpr int MinHashMegabytes = 16;
inline constexpr int MaxEDBMegabytes = 65536;

}  // namespace kestrel
