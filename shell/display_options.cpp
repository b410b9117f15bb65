// The display options in the profile.
#include "shell/display_options.h"

#include <algorithm>
#include <iterator>

#include "shell/settings.h"

namespace shogi {
namespace {

constexpr const char* kScaleKey = "ViewScale";

bool ValidScale(int scale) {
  return scale == kScaleFit ||
         std::find(std::begin(kViewScales), std::end(kViewScales), scale) != std::end(kViewScales);
}

}  // namespace

DisplayOptions LoadDisplayOptions(const Profile& profile) {
  DisplayOptions d;
  for (const DisplaySwitch& k : kDisplaySwitches) {
    d.*k.Member = profile.GetInt(kSectionSettings, k.Key, d.*k.Member ? 1 : 0) != 0;
  }
  const int scale = profile.GetInt(kSectionSettings, kScaleKey, d.Scale);
  if (ValidScale(scale)) d.Scale = scale;
  return d;
}

void SaveDisplayOptions(Profile& profile, const DisplayOptions& d) {
  for (const DisplaySwitch& k : kDisplaySwitches)
    profile.WriteInt(kSectionSettings, k.Key, d.*k.Member ? 1 : 0);
  profile.WriteInt(kSectionSettings, kScaleKey, d.Scale);
}

}  // namespace shogi
