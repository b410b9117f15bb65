// The program's settings and their defaults.
#include "shell/settings.h"

#include <algorithm>
#include <cstdio>

namespace shogi {

const FileNameKey kFileNameKeys[15] = {
    {"定跡", "Kaelmo.JSK", true, &FileNameSettings::Book},
    {"棋譜", "*.kif", true, &FileNameSettings::Record},
    {"CSA", "*.csa", true, &FileNameSettings::Csa},
    {"柿木", "*.kif", true, &FileNameSettings::Kakinoki},
    {"永世", "*.kif", true, &FileNameSettings::Eisei},
    {"柿木2", "*.ki2", true, &FileNameSettings::Ki2},
    {"PALM", "KaelmoDB.PDB", true, &FileNameSettings::Palm},
    {"BMP", "kyokumen.bmp", true, &FileNameSettings::Bitmap},
    {"Tarvel", "*.mix", true, &FileNameSettings::Tarvel},
    {"Tarvel２", "*.mix", true, &FileNameSettings::Tarvel2},
    {"棋泉", "*.idx", true, &FileNameSettings::Kisen},
    {"配布", "*.idx", true, &FileNameSettings::Distributed},
    {"出力", "*.txt", true, &FileNameSettings::Output},
    {"BOOK", "book.bin", false, &FileNameSettings::BonanzaBook},
    {"FV", "fv.bin", false, &FileNameSettings::EvaluationFile},
};

std::string PieceValueKey(int type) {
  if (type < 1 || type >= kPieceTypeSlots || type == kKing || type == kGold + kPromoteOffset)
    return {};
  char key[8];
  std::snprintf(key, sizeof key, "koma%02d", type);
  return key;
}

void LoadSettings(const Profile& profile, std::string_view folder, ProgramSettings& settings) {
  settings.Folder = std::string(folder);
  for (const FileNameKey& k : kFileNameKeys) {
    const std::string def = k.InFolder ? settings.Folder + k.DefaultName : k.DefaultName;
    settings.Files.*k.Member = profile.GetString(kSectionFileNames, k.Key, def);
  }
  settings.UrlKakinoki = profile.GetString(kSectionUrl, "柿木", "");
  settings.UrlCsa = profile.GetString(kSectionUrl, "CSA", "");
  settings.LoadFormat = profile.GetInt(kSectionKinds, "ロード", 0);
  settings.SaveFormat = profile.GetInt(kSectionKinds, "セーブ", 0);
  settings.Yearbook = profile.GetInt(kSectionKinds, "将棋年鑑", 0);
  for (int t = 0; t < kPieceTypeSlots; ++t) {
    const std::string key = PieceValueKey(t);
    const int value =
        key.empty() ? 0 : profile.GetInt(kSectionSettings, key, kDefaultPieceValues[t]);
    settings.PieceValues[t] = IsPieceValue(value) ? value : kDefaultPieceValues[t];
  }
}

void SavePieceValues(Profile& profile, ProgramSettings& settings, const PieceValueTable& values) {
  for (int t : kValuedPieceTypes) {
    settings.PieceValues[t] = values[t];
    profile.WriteInt(kSectionSettings, PieceValueKey(t), values[t]);
  }
}

std::string* FileNameSlot(FileNameSettings& files, std::string_view key) {
  for (const FileNameKey& k : kFileNameKeys) {
    if (key == k.Key) return &(files.*k.Member);
  }
  return nullptr;
}

void RememberFileName(Profile& profile, ProgramSettings& settings, const char* key,
                      const std::string& path) {
  if (std::string* slot = FileNameSlot(settings.Files, key)) *slot = path;
  profile.WriteString(kSectionFileNames, key, path);
}

namespace {
// Below any real desktop coordinate: no corner stored.
constexpr int kNoPlacement = -1000000;

// Along one axis: `at` moved into [low, low + room - size], as far as the frame fits.
int KeptWithin(int at, int low, int room, int size) {
  return std::max(low, std::min(at, low + room - size));
}

const ScreenArea* ScreenHolding(WindowPlacement at, const std::vector<ScreenArea>& screens) {
  for (const ScreenArea& s : screens) {
    if (at.X >= s.X && at.X < s.X + s.Width && at.Y >= s.Y && at.Y < s.Y + s.Height) return &s;
  }
  return nullptr;
}
}  // namespace

WindowPlacement KeepOnScreen(WindowPlacement at, const std::vector<ScreenArea>& screens, int width,
                             int height) {
  const ScreenArea* s = ScreenHolding(at, screens);
  if (!s) return at;
  return {KeptWithin(at.X, s->X, s->Width, width), KeptWithin(at.Y, s->Y, s->Height, height)};
}

WindowPlacement LoadWindowPlacement(const Profile& profile, const std::vector<ScreenArea>& screens,
                                    int width, int height) {
  const WindowPlacement stored{profile.GetInt(kSectionWindow, kKeyWindowX, kNoPlacement),
                               profile.GetInt(kSectionWindow, kKeyWindowY, kNoPlacement)};
  if (ScreenHolding(stored, screens)) return KeepOnScreen(stored, screens, width, height);
  const ScreenArea main = screens.empty() ? ScreenArea{0, 0, width, height} : screens[0];
  return {KeptWithin(main.X + (main.Width - width) / 2, main.X, main.Width, width),
          KeptWithin(main.Y + (main.Height - height) / 2, main.Y, main.Height, height)};
}

FrameSize LoadFrameSize(const Profile& profile) {
  constexpr int kLargest = 16384;
  const FrameSize stored{profile.GetInt(kSectionSettings, "FrameWidth", kFrameWidth),
                         profile.GetInt(kSectionSettings, "FrameHeight", kFrameHeight)};
  if (stored.Width < kFrameWidth || stored.Height < kFrameHeight || stored.Width > kLargest ||
      stored.Height > kLargest) {
    return {};
  }
  return stored;
}

void SaveFrameSize(Profile& profile, FrameSize size) {
  profile.WriteInt(kSectionSettings, "FrameWidth", size.Width);
  profile.WriteInt(kSectionSettings, "FrameHeight", size.Height);
}

void SaveWindowPlacement(Profile& profile, WindowPlacement placement) {
  profile.WriteInt(kSectionWindow, kKeyWindowX, placement.X);
  profile.WriteInt(kSectionWindow, kKeyWindowY, placement.Y);
}

}  // namespace shogi
