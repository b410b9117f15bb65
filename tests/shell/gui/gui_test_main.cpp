// The window tests' main: wxWidgets is started once (under the X server the test command
// provides) and every test runs inside it.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstring>

#include "tests/shell/gui/gui_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Our own option, taken out before wxWidgets reads the rest.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plain-view") == 0) {
      shogi::gui::g_plain_view = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "wxWidgets could not start (is there a display?)\n");
    return 1;
  }
  wxInitAllImageHandlers();
  int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
