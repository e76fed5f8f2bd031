// The real module opened as a host opens it: FsExecuteFile through wfxhost's module class shows
// the module's own apply dialog, which a second thread drives by control ids, and the registry
// is checked afterwards. The tweaks work on a scratch key below HKEY_CURRENT_USER.
#include <windows.h>

#include <filesystem>

#include "dialog_driver.h"
#include "ui/win32/resource_ids.h"
#include "stores/vesk_registry.h"
#include "support/registry_scratch.h"
#include "support/test_support.h"
#include "wfx_module.h"

namespace qzr::test {
namespace {

class ModuleUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(module_.path("plugins"));
    std::filesystem::copy_file(QZR_MODULE_PATH, modulePath_);
    Plugin("switch.tweak",
           "TWEAKNAME> UI switch\r\nROOTKEY> HKCU\r\nPATH> Software\\QZR_TC_Test\\ui\r\nVALUENAME> Switch\r\n"
           "VALUETYPE> DWORD\r\nVALUEON> 1\r\nVALUEOFF> 0\r\nDEFAULT> 0\r\n");
    Plugin("typed.tweak",
           "TWEAKNAME> UI typed\r\nROOTKEY> HKCU\r\nPATH> Software\\QZR_TC_Test\\ui\r\nVALUENAME> Typed\r\n"
           "VALUETYPE> DWORD\r\nNOTBOOL> 1\r\nDEFAULT> 400\r\n");
    std::filesystem::create_directories(module_.path("settings"));
    host_ = std::make_unique<wfxhost::WfxModule>(modulePath_);
    ASSERT_TRUE(host_->ok()) << host_->error();
    host_->Start(module_.path("settings") + "\\wfx.ini");
    host_->List("\\");
  }
  void Plugin(const std::string& name, const std::string& text) { WriteBytes(module_.path("plugins") + "\\" + name, text); }

  // Opens a tweak through the module and runs `script` on its dialog.
  void Open(const std::string& name, const std::function<void(DialogDriver&, HWND)>& script) {
    std::vector<std::string> failures;
    int code = DialogDriver::Run([&] { return host_->ExecuteFile("\\" + name, "open"); },
                                 [&](DialogDriver& d) {
                                   HWND form = d.WaitForForm(IDC_SAVEPLUG, 30);
                                   d.WaitForFocus(d.Control(form, IDC_DEFVAL));
                                   script(d, form);
                                 },
                                 failures);
    EXPECT_EQ(code, 0) << "FsExecuteFile answers 0";
    for (const std::string& f : failures) ADD_FAILURE() << f;
  }
  // The stored DWORD, or "none".
  static std::string Stored(const std::string& value) {
    TVeskRegistry reg;
    if (!reg.KeyExists(ScratchKey::Path("ui"))) return "none";
    reg.OpenKey(ScratchKey::Path("ui"));
    return reg.ValueExists(value) ? std::to_string(reg.ReadInteger(value)) : "none";
  }

  ScratchKey scratch_;
  TempFolder module_;
  std::string modulePath_ = module_.path(std::filesystem::path(QZR_MODULE_PATH).filename().string());
  std::unique_ptr<wfxhost::WfxModule> host_;
};

TEST_F(ModuleUiTest, YesAndNoAreSavedAndCloseTheDialog) {
  Open("UI switch.", [](DialogDriver& d, HWND form) {
    d.Expect(d.Checked(d.Control(form, IDC_RADIO1)), "a missing value reads as the default: off");
    d.Click(d.Control(form, IDC_RADIO0));
    d.PostClick(d.Control(form, IDC_SAVEPLUG));
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(Stored("Switch"), "1");
  Open("UI switch.", [](DialogDriver& d, HWND form) {
    d.Expect(d.Checked(d.Control(form, IDC_RADIO0)), "the saved value reads as on");
    d.Click(d.Control(form, IDC_RADIO1));
    d.PostClick(d.Control(form, IDC_SAVEPLUG));
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(Stored("Switch"), "0");
}

TEST_F(ModuleUiTest, EscapeAndEnterCloseWithoutWriting) {
  Open("UI switch.", [](DialogDriver& d, HWND form) {
    d.Click(d.Control(form, IDC_RADIO0));
    d.PostKey(d.Control(form, IDC_DEFVAL), VK_ESCAPE);
    d.WaitUntilClosed(form);
  });
  Open("UI typed.", [](DialogDriver& d, HWND form) {
    d.SetText(d.Control(form, IDC_VALUE), L"7");
    d.PostKey(d.Control(form, IDC_VALUE), VK_RETURN);
    d.WaitUntilClosed(form);
  });
  EXPECT_EQ(Stored("Switch"), "none");
  EXPECT_EQ(Stored("Typed"), "none");
}

TEST_F(ModuleUiTest, TypedTextThatIsNoNumberShowsTheErrorAndKeepsTheDialog) {
  std::wstring message;
  Open("UI typed.", [&](DialogDriver& d, HWND form) {
    d.ExpectText(d.Control(form, IDC_VALUE), "", "a missing key shows no value");
    d.ExpectText(d.Control(form, IDC_DEFVAL), "400", "the raw default of a typed tweak");
    d.SetText(d.Control(form, IDC_VALUE), L"abc");
    d.PostClick(d.Control(form, IDC_SAVEPLUG));
    HWND box = d.WaitForMessageBox(form);
    message = d.MessageText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    d.WaitUntilClosed(box);
    d.Expect(d.Visible(form), "the dialog stays open after the error");
    d.SetText(d.Control(form, IDC_VALUE), L"$2A");
    d.PostClick(d.Control(form, IDC_SAVEPLUG));
    d.WaitUntilClosed(form);
  });
  EXPECT_NE(message.find(L"Could not convert variant of type (String) into type (Integer)"), std::wstring::npos);
  EXPECT_EQ(Stored("Typed"), "42");
}

// The flag buttons' choice is in qzrtc.ini while the dialog is still open: a host that ends
// without unloading the module keeps it too.
TEST_F(ModuleUiTest, PropertiesOfTheRootShowTheAboutDialog) {
  std::vector<std::string> failures;
  std::string settings = module_.path("settings") + "\\qzrtc.ini";
  std::string chosen;
  int code = DialogDriver::Run([&] { return host_->ExecuteFile("\\", "properties"); },
                               [&](DialogDriver& d) {
                                 HWND form = d.WaitForForm(IDC_BUTTON1, 30);
                                 d.ExpectText(d.Control(form, IDC_MEMO1),
                                              "QZR_TC - simply and powerfull text plugins based system tweaker.",
                                              "the English sentence");
                                 d.Click(d.Control(form, IDC_SPEEDBUTTON3));
                                 chosen = Exists(settings) ? ReadBytes(settings) : "none";
                                 d.Click(d.Control(form, IDC_BUTTON1));
                                 d.WaitUntilClosed(form);
                               },
                               failures);
  EXPECT_EQ(code, 0);
  for (const std::string& f : failures) ADD_FAILURE() << f;
  EXPECT_EQ(chosen, "[main]\r\nlang=1\r\n") << "the Russian flag's choice, at once";
  EXPECT_EQ(host_->ExecuteFile("\\UI switch.", "OPEN"), 0) << "another verb does nothing (and shows nothing)";
  EXPECT_EQ(host_->ExecuteFile("\\UI switch.", "properties"), 0);
}

}  // namespace
}  // namespace qzr::test
