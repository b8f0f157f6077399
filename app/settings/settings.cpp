#include "app/settings/settings.h"

#include <algorithm>

#include "engine/engine_params.h"

namespace kestrel {

namespace fs = std::filesystem;

namespace {
constexpr const char* Main = "Main";
constexpr const char* Engines = "Engines";
constexpr const char* Windows = "Windows";
constexpr const char* Ftp = "FTP";
constexpr const char* GameServer = "GameServer";

std::string InFolder(const fs::path& programFolder, const fs::path& relative) {
  return (programFolder / relative).string();
}

uint32_t ReadColor(const IniFile& ini, const char* key, uint32_t def) {
  return static_cast<uint32_t>(ini.ReadInt(Main, key, def)) & 0x00FFFFFFu;
}

int Clamp(long long v, int lo, int hi) { return static_cast<int>(std::clamp<long long>(v, lo, hi)); }
}  // namespace

std::string VariantKeyName(int type) {
  return type == gtSpantsiretti ? "Spants" : std::string(GameTypeNames[type]);
}

Settings Settings::Defaults(const fs::path& programFolder, const fs::path& dataFolderOrEmpty) {
  // The user's own files (databases, books) live in the data folder, which is
  // the program folder unless the program is installed.
  const fs::path& dataFolder = dataFolderOrEmpty.empty() ? programFolder : dataFolderOrEmpty;
  Settings s;
  s.FigBKName = InFolder(programFolder, "Pics/default/bk.bmp");
  s.FigBSName = InFolder(programFolder, "Pics/default/bs.bmp");
  s.FigWSName = InFolder(programFolder, "Pics/default/ws.bmp");
  s.FigWKName = InFolder(programFolder, "Pics/default/wk.bmp");
  s.DefEbDir = InFolder(dataFolder, "Bases");
  for (int t = 1; t <= GameTypeCount; ++t) {
    VariantSettings& v = s.Variants[t];
    const std::string name(GameTypeNames[t]);
    v.EngineName = name + ".eng";
    v.UseBook = true;
    // Pool plays from the Russian book until it has one of its own.
    v.Book = InFolder(dataFolder, "Books/" + (t == gtPool ? std::string("Russian") : VariantKeyName(t)) + ".cbk");
    v.Engine = DefaultEngineGeneration(t);
  }
  return s;
}

void Settings::Load(const IniFile& ini, const fs::path& programFolder, const fs::path& dataFolder) {
  *this = Defaults(programFolder, dataFolder);
  PlayingMode = ini.ReadBool(Main, "PlayingMode", PlayingMode);
  UserName = ini.ReadString(Main, UserNameKey, UserName);
  TypeOfGame = static_cast<int>(ini.ReadInt(Main, "TypeOfGame", TypeOfGame));
  if (!IsValidGameType(TypeOfGame)) TypeOfGame = gtRussian;
  Sound = ini.ReadBool(Main, "Sound", Sound);
  Tuning = ini.ReadBool(Main, "Tuning", Tuning);
  HighlightMove = ini.ReadBool(Main, "HighlightMove", HighlightMove);
  Line3InLine = ini.ReadBool(Main, "Line3InLine", Line3InLine);
  AutoCapture = ini.ReadBool(Main, "AutoCapture", AutoCapture);
  ComposerMode = ini.ReadBool(Main, "ComposerMode", ComposerMode);
  BoardDarkSquares = ReadColor(ini, "BoardDarkSquares", BoardDarkSquares);
  BoardLightSquares = ReadColor(ini, "BoardLightSquares", BoardLightSquares);
  FigBKName = ini.ReadString(Main, "FigBKName", FigBKName);
  FigBSName = ini.ReadString(Main, "FigBSName", FigBSName);
  FigWSName = ini.ReadString(Main, "FigWSName", FigWSName);
  FigWKName = ini.ReadString(Main, "FigWKName", FigWKName);
  LanguageName = ini.ReadString(Main, "LanguageName", LanguageName);
  CodePage = ini.ReadString(Main, "CodePage", CodePage);
  Notation = Clamp(ini.ReadInt(Main, "Notation", Notation), 0, 2);
  TakeChar = Clamp(ini.ReadInt(Main, "TakeChar", TakeChar), 0, 1);
  ResType = Clamp(ini.ReadInt(Main, "ResType", ResType), 0, 1);
  BookLevel = Clamp(ini.ReadInt(Main, "BookLevel", BookLevel), 0, 2);
  LoadRusAsPool = ini.ReadBool(Main, "LoadRusAsPool", LoadRusAsPool);
  TimeoutMessages = ini.ReadBool(Main, "TimeoutMessages", TimeoutMessages);
  SaveGameChanges = ini.ReadBool(Main, "SaveGameChanges", SaveGameChanges);
  EDPath = ini.ReadString(Main, "EDPath", EDPath);
  DefEbDir = ini.ReadString(Main, "DefEbDir", DefEbDir);
  UseItalPDN = ini.ReadBool(Main, "UseItalPDN", UseItalPDN);
  ShowJamaican = ini.ReadBool(Main, "ShowJamaican", ShowJamaican);
  PoolChessNotation = ini.ReadBool(Main, "PoolChessNotation", PoolChessNotation);
  PoolWhiteBottom = ini.ReadBool(Main, "PoolWhiteBottom", PoolWhiteBottom);
  ShowCoords = ini.ReadBool(Main, "ShowCoords", ShowCoords);
  GameColorMainLine = ReadColor(ini, "GameColorMainLine", GameColorMainLine);
  GameColorSecondLine = ReadColor(ini, "GameColorSecondLine", GameColorSecondLine);
  GameColorThirdLine = ReadColor(ini, "GameColorThirdLine", GameColorThirdLine);
  GameColorComment = ReadColor(ini, "GameColorComment", GameColorComment);
  BoardSize = Clamp(ini.ReadInt(Main, "BoardSize", BoardSize), 0, 100000);
  GameFont.Name = ini.ReadString(Main, "GameFontName", GameFont.Name);
  GameFont.Size = Clamp(ini.ReadInt(Main, "GameFontSize", GameFont.Size), 4, 96);
  DatabaseFont.Name = ini.ReadString(Main, "DatabaseFontName", DatabaseFont.Name);
  DatabaseFont.Size = Clamp(ini.ReadInt(Main, "DatabaseFontSize", DatabaseFont.Size), 4, 96);
  Database = ini.ReadString(Main, "Database", Database);

  for (int t = 1; t <= GameTypeCount; ++t) {
    VariantSettings& v = Variants[t];
    const std::string name(GameTypeNames[t]);
    const std::string key = VariantKeyName(t);
    v.EngineName = ini.ReadString(Engines, name + "Engine", v.EngineName);
    v.UseBook = ini.ReadBool(Engines, key + "UseBook", v.UseBook);
    v.Book = ini.ReadString(Engines, key + "Book", v.Book);
    const int defaultEngine = v.Engine;
    v.Engine = Clamp(ini.ReadInt(Engines, key, v.Engine), 0, MaxEngineGeneration);
    v.HubCommand = ini.ReadString(Engines, key + "HubCommand", "");
    if (ini.Get(Engines, key + "External")) {
      v.External = ini.ReadBool(Engines, key + "External", false);
    } else if (ini.Get(Engines, key) && v.Engine == LegacyExternalEngineValue) {
      // Only a value the file holds is the old external mark: a default of
      // Kestrel 4 (also 2) is a generation.
      v.External = true;
      v.Engine = defaultEngine;
    }
    // Frisian and Canadian have no second-generation engine.
    if ((t == gtFrisian || t == gtCanadian) && v.Engine == 1) v.Engine = 0;
  }
  ThreadsCount = Clamp(ini.ReadInt(Engines, "ThreadsCount", ThreadsCount), 1, MaxThreadsCount);
  KestrelMemory = Clamp(ini.ReadInt(Engines, "KestrelMemory", KestrelMemory), MinHashMegabytes, 1 << 20);
  EDBMemory = Clamp(ini.ReadInt(Engines, "EDBMemory", EDBMemory), 1, MaxEDBMegabytes);

  MainMaximized = ini.ReadBool(Windows, "MainMaximized", MainMaximized);
  MainLeft = Clamp(ini.ReadInt(Windows, "MainLeft", MainLeft), -100000, 100000);
  MainTop = Clamp(ini.ReadInt(Windows, "MainTop", MainTop), -100000, 100000);
  MainWidth = Clamp(ini.ReadInt(Windows, "MainWidth", MainWidth), 100, 100000);
  MainHeight = Clamp(ini.ReadInt(Windows, "MainHeight", MainHeight), 100, 100000);

  FtpSite = ini.ReadString(Ftp, "Site", "");
  FtpUser = ini.ReadString(Ftp, "User", "");
  FtpPass = ini.ReadString(Ftp, "Pass", "");
  FtpFolder = ini.ReadString(Ftp, "Folder", "");
  FtpFileName = ini.ReadString(Ftp, "FileName", "");
  FtpWebFolder = ini.ReadString(Ftp, "WebFolder", "");
  FtpAllowPlain = ini.ReadInt(Ftp, "AllowPlain", 0) != 0;
  GameServerHost = ini.ReadString(GameServer, "Host", GameServerHost);
  if (GameServerHost.empty()) GameServerHost = "127.0.0.1";
  GameServerPort = Clamp(ini.ReadInt(GameServer, "Port", GameServerPort), 1, 65535);
}

void Settings::Store(IniFile& ini) const {
  ini.WriteString(Main, "Database", Database);
  ini.WriteBool(Main, "PlayingMode", PlayingMode);
  ini.WriteInt(Main, "TypeOfGame", TypeOfGame);
  ini.WriteString(Main, "LanguageName", LanguageName);
  ini.WriteString(Main, "CodePage", CodePage);
  ini.WriteString(Main, UserNameKey, UserName);
  ini.WriteBool(Main, "Sound", Sound);
  ini.WriteBool(Main, "Tuning", Tuning);
  ini.WriteBool(Main, "HighlightMove", HighlightMove);
  ini.WriteBool(Main, "ComposerMode", ComposerMode);
  ini.WriteBool(Main, "Line3InLine", Line3InLine);
  ini.WriteInt(Main, "Notation", Notation);
  ini.WriteInt(Main, "TakeChar", TakeChar);
  ini.WriteInt(Main, "ResType", ResType);
  ini.WriteInt(Main, "BookLevel", BookLevel);
  ini.WriteBool(Main, "LoadRusAsPool", LoadRusAsPool);
  ini.WriteBool(Main, "ShowCoords", ShowCoords);
  ini.WriteBool(Main, "UseItalPDN", UseItalPDN);
  ini.WriteBool(Main, "ShowJamaican", ShowJamaican);
  ini.WriteBool(Main, "PoolWhiteBottom", PoolWhiteBottom);
  ini.WriteBool(Main, "PoolChessNotation", PoolChessNotation);
  ini.WriteBool(Main, "AutoCapture", AutoCapture);
  ini.WriteBool(Main, "TimeoutMessages", TimeoutMessages);
  ini.WriteBool(Main, "SaveGameChanges", SaveGameChanges);
  ini.WriteString(Main, "EDPath", EDPath);
  ini.WriteString(Main, "DefEBDir", DefEbDir);
  ini.WriteInt(Main, "BoardSize", BoardSize);
  ini.WriteInt(Main, "BoardDarkSquares", BoardDarkSquares);
  ini.WriteInt(Main, "BoardLightSquares", BoardLightSquares);
  ini.WriteString(Main, "FigBKName", FigBKName);
  ini.WriteString(Main, "FigBSName", FigBSName);
  ini.WriteString(Main, "FigWSName", FigWSName);
  ini.WriteString(Main, "FigWKName", FigWKName);
  ini.WriteInt(Main, "GameColorMainLine", GameColorMainLine);
  ini.WriteInt(Main, "GameColorSecondLine", GameColorSecondLine);
  ini.WriteInt(Main, "GameColorThirdLine", GameColorThirdLine);
  ini.WriteInt(Main, "GameColorComment", GameColorComment);

  for (int t = 1; t <= GameTypeCount; ++t) {
    ini.WriteInt(Engines, VariantKeyName(t), Variants[t].Engine);
    ini.WriteBool(Engines, VariantKeyName(t) + "External", Variants[t].External);
    ini.WriteString(Engines, VariantKeyName(t) + "HubCommand", Variants[t].HubCommand);
  }
  ini.WriteInt(Engines, "ThreadsCount", ThreadsCount);
  ini.WriteInt(Engines, "KestrelMemory", KestrelMemory);
  ini.WriteInt(Engines, "EDBMemory", EDBMemory);
  for (int t = 1; t <= GameTypeCount; ++t) ini.WriteBool(Engines, VariantKeyName(t) + "UseBook", Variants[t].UseBook);
  for (int t = 1; t <= GameTypeCount; ++t)
    ini.WriteString(Engines, std::string(GameTypeNames[t]) + "Engine", Variants[t].EngineName);
  for (int t = 1; t <= GameTypeCount; ++t) ini.WriteString(Engines, VariantKeyName(t) + "Book", Variants[t].Book);

  ini.WriteInt(Windows, "MainWidth", MainWidth);
  ini.WriteInt(Windows, "MainHeight", MainHeight);
  ini.WriteInt(Windows, "MainLeft", MainLeft);
  ini.WriteInt(Windows, "MainTop", MainTop);
  ini.WriteBool(Windows, "MainMaximized", MainMaximized);

  ini.WriteString(Ftp, "Site", FtpSite);
  ini.WriteString(Ftp, "User", FtpUser);
  ini.WriteString(Ftp, "Pass", FtpPass);
  ini.WriteString(Ftp, "Folder", FtpFolder);
  ini.WriteString(Ftp, "FileName", FtpFileName);
  ini.WriteString(Ftp, "WebFolder", FtpWebFolder);
  ini.WriteInt(Ftp, "AllowPlain", FtpAllowPlain ? 1 : 0);
  ini.WriteString(GameServer, "Host", GameServerHost);
  ini.WriteInt(GameServer, "Port", GameServerPort);

  ini.WriteString(Main, "GameFontName", GameFont.Name);
  ini.WriteInt(Main, "GameFontCharSet", GameFont.CharSet);
  ini.WriteInt(Main, "GameFontSize", GameFont.Size);
  ini.WriteString(Main, "DatabaseFontName", DatabaseFont.Name);
  ini.WriteInt(Main, "DatabaseFontCharSet", DatabaseFont.CharSet);
  ini.WriteInt(Main, "DatabaseFontSize", DatabaseFont.Size);
}

}  // namespace kestrel
