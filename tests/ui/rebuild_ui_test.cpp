// The rebuild button of the real apply dialog, opened on a tweak the way the host opens one: the
// definitions are rewritten, the count is shown in a message box, and the dialog stays open.
#include <windows.h>
#include <commctrl.h>

#include "plugin/execute.h"
#include "plugin/listing.h"
#include "support/test_support.h"
#include "ui_fixture.h"

namespace qzr::test {
namespace {

using RebuildButtonUi = UiTest;

TEST_F(RebuildButtonUi, ClickingRebuildBaseShowsTheCountMessageAndLeavesTheDialogOpen) {
  TempFolder module;
  const std::string plugins = module.path("plugins") + kPathDelim;
  ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr));
  WriteBytes(plugins + "shown.tweak",
             "   TWEAKNAME> Rebuild button\r\nROOTKEY> HKCU\r\n"
             "PATH> Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\r\n"
             "VALUENAME> HideFileExt\r\nVALUETYPE> DWORD\r\nVALUEON> 0\r\nVALUEOFF> 1\r\n");
  WriteBytes(plugins + "rejected.tweak", "// no name\r\nPATH> x\r\n");
  State().ModuleDir = module.dir();
  State().IniDir = module.dir();
  State().OSIsNT = true;
  State().Language = kEnglish;
  FindFirstEntry();  // the host's first listing builds the database

  std::wstring message;
  bool openAfterMessage = false;
  RunDialog(
      [] {
        ExecuteFile("\\Rebuild button.", "open");
        return 0;
      },
      [&](DialogDriver& d) {
        HWND form = d.WaitForForm(IDC_SAVEPLUG);
        d.WaitForFocus(d.Control(form, IDC_DEFVAL));
        d.Send(d.Control(form, IDC_PAGECONTROL1), TCM_SETCURFOCUS, 1);
        d.WaitUntil([&] { return d.Visible(d.Control(form, IDC_TABSHEET2)); }, "the about page");
        d.PostClick(d.Control(form, IDC_BUTTON2));
        HWND box = d.WaitForMessageBox(form);
        message = d.MessageText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        d.WaitUntilClosed(box);
        openAfterMessage = d.Visible(form);
        d.Click(d.Control(form, IDC_BUTTON1));
        d.WaitUntilClosed(form);
      });

  EXPECT_EQ(message, L"Plugins were rebuilt. 2 plugins was parsed.");
  EXPECT_TRUE(openAfterMessage) << "the dialog stays open after the rebuild";
  const std::string rewritten = ReadBytes(plugins + "shown.tweak");
  EXPECT_TRUE(rewritten.starts_with(std::string(80, '/') + "\r\n")) << rewritten;
  EXPECT_NE(rewritten.find("\r\nTWEAKNAME> Rebuild button\r\n"), std::string::npos) << rewritten;
}

}  // namespace
}  // namespace qzr::test
