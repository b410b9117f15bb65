// The program's settings: the program folder, every profile section and key with its
// default, and the window's start position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/material.h"
#include "platform/profile.h"

namespace shogi {

inline constexpr const char* kSectionFileNames = "ファイル名";
inline constexpr const char* kSectionUrl = "URL";
inline constexpr const char* kSectionKinds = "種類";
inline constexpr const char* kSectionWindow = "初期位置";
inline constexpr const char* kSectionSettings = "Settings";

inline constexpr const char* kKeyWindowX = "横座標";
inline constexpr const char* kKeyWindowY = "縦座標";

// The window's size as created.
constexpr int kFrameWidth = 650;
constexpr int kFrameHeight = 480;

// Section "ファイル名": the last file chosen for each purpose.
struct FileNameSettings {
  std::string Book;            // "定跡"   opening book (JSK)
  std::string Record;          // "棋譜"   last record of the general open / save
  std::string Csa;             // "CSA"
  std::string Kakinoki;        // "柿木"
  std::string Eisei;           // "永世"
  std::string Ki2;             // "柿木2"
  std::string Palm;            // "PALM"
  std::string Bitmap;          // "BMP"
  std::string Tarvel;          // "Tarvel"
  std::string Tarvel2;         // "Tarvel２"
  std::string Kisen;           // "棋泉"
  std::string Distributed;     // "配布"
  std::string Output;          // "出力"
  std::string BonanzaBook;     // "BOOK"   relative to the working directory
  std::string EvaluationFile;  // "FV"     relative to the working directory
};

// One key of section "ファイル名".
struct FileNameKey {
  const char* Key;
  const char* DefaultName;  // appended to the program folder unless InFolder is false
  bool InFolder;
  std::string FileNameSettings::*Member;
};
extern const FileNameKey kFileNameKeys[15];

// The piece values of the evaluation live in section "Settings" under "koma01".."koma15"
// (no key for the king and code 13). The key of a piece type ("koma01"), or "" for a type
// without one.
std::string PieceValueKey(int type);

struct ProgramSettings {
  std::string Folder;  // with its trailing separator
  FileNameSettings Files;
  std::string UrlKakinoki;           // section "URL", "柿木"
  std::string UrlCsa;                // section "URL", "CSA"
  int LoadFormat = 0;                // section "種類", "ロード"
  int SaveFormat = 0;                // section "種類", "セーブ"
  int Yearbook = 0;                  // section "種類", "将棋年鑑"
  PieceValueTable PieceValues = {};  // by piece type; 0 for the types without a key
};

// Reads every setting, each missing or unreadable value giving its default (so does a piece
// value outside 0..32767, which no dialog stores); `folder` is the
// program folder (with its trailing separator) that the default file names start with.
void LoadSettings(const Profile& profile, std::string_view folder, ProgramSettings& settings);

// Stores the piece values under their keys and in `settings`, where they take effect at once.
void SavePieceValues(Profile& profile, ProgramSettings& settings, const PieceValueTable& values);

// Stores `path` as the file of `key` (section "ファイル名") and in `settings`.
void RememberFileName(Profile& profile, ProgramSettings& settings, const char* key,
                      const std::string& path);
// The FileNameSettings member of `key`, or nullptr for an unknown key.
std::string* FileNameSlot(FileNameSettings& files, std::string_view key);

// Section "初期位置": the window's top-left corner.
struct WindowPlacement {
  int X = 0;
  int Y = 0;
};
// A screen's work area, in desktop coordinates.
struct ScreenArea {
  int X = 0, Y = 0, Width = 0, Height = 0;
};
// Where the frame (`width` x `height`) opens: at the stored corner when that lies on one of
// `screens` (the first is the main one), moved as little as keeps the frame on that screen;
// else, and by default, centred on the main screen, never beyond its top or left edge.
WindowPlacement LoadWindowPlacement(const Profile& profile, const std::vector<ScreenArea>& screens,
                                    int width, int height);
// The corner `at` moved as little as keeps the frame on the screen that holds `at`; `at`
// itself when no screen holds it.
WindowPlacement KeepOnScreen(WindowPlacement at, const std::vector<ScreenArea>& screens, int width,
                             int height);
void SaveWindowPlacement(Profile& profile, WindowPlacement placement);

// The frame's size (section "Settings"), kept while the view fits its window: the stored one
// when it is kFrameWidth x kFrameHeight or more (and sane), else that least size.
struct FrameSize {
  int Width = kFrameWidth, Height = kFrameHeight;
};
FrameSize LoadFrameSize(const Profile& profile);
void SaveFrameSize(Profile& profile, FrameSize size);

}  // namespace shogi
