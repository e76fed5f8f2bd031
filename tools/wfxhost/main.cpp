// wfxhost: a command-line host for WFX modules. It loads a module, configures it as a file
// manager does, and runs one command on it.
//
//   wfxhost [--ansi] [--ini FILE] MODULE [COMMAND [ARGS]]
//
// Commands:
//   root               the root name and the interface language the module read (default)
//   ls                 the whole listing of the virtual folder, one name a line
//   get NAME TARGET    copies an entry out (the module writes its report into TARGET)
//   put SOURCE NAME    copies a file into the virtual folder
//   rm NAME            deletes an entry
//   icon NAME          the icon the module gives an entry (or the host's default)
//   columns            the listing with every content field of each entry, tab-separated
//   set NAME TEXT      sets an entry's first field (State: yes or no) as a host's attribute
//                      change does
//   exec NAME VERB [--choose yes|no|value=TEXT|close]
//                      executes an entry ("open" shows the apply dialog; "properties" on the
//                      root, NAME "", the about dialog); --choose answers the apply dialog
//   quote COMMAND      types COMMAND into the host's command line in the plugin's folder: the
//                      verb "quote COMMAND" on the folder itself; prints the answer and the
//                      text of each message box the module showed (and presses OK on it)
//
// --ansi makes wfxhost a host that knows only the ANSI entry points; by default it calls the
// wide twins where the module exports them, as Total Commander and Double Commander do.
// FILE is the settings file the host suggests (DefaultIniName); the module keeps its own
// settings and database in that file's folder. Default: wfxhost-settings/wfx.ini beside wfxhost.
#include <cstdio>
#include <string>
#include <vector>

#include "dialog_choice.h"
#include "library.h"
#include "message_boxes.h"
#include "platform/platform.h"
#include "util/text.h"
#include "wfx_module.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: wfxhost [--ansi] [--ini FILE] MODULE [root | ls | get NAME TARGET | put SOURCE NAME | rm NAME | icon NAME |\n"
               "        columns | set NAME TEXT | exec NAME VERB [--choose yes|no|value=TEXT|close] | quote COMMAND]\n");
  return 2;
}

std::string DefaultIniName(const char* argv0) {
  std::string exe = wfxhost::NativePath(argv0);
  std::string folder = qzr::JoinPath(qzr::FolderPart(exe).empty() ? "." : qzr::FolderPart(exe), "wfxhost-settings");
  // The seam takes path text; the name stays ANSI, as a host hands the module its DefaultIniName.
  qzr::Os().files->MakeDirectory(qzr::Os().system->AnsiToUtf8(folder));
  return qzr::JoinPath(folder, "wfx.ini");
}

// The language the module read, as it stands in its settings file.
std::string LanguageLine(const std::string& iniName) {
  std::string settings = qzr::JoinPath(qzr::FolderPart(wfxhost::NativePath(iniName)), "qzrtc.ini");
  std::string value = qzr::Os().profile->GetString(std::string("main"), std::string("lang"), "", 2048,
                                                   qzr::Os().system->AnsiToUtf8(settings));
  std::string name = value == "0" || value.empty() ? "English" : value == "1" ? "Russian" : "no text";
  return "Interface language: " + (value.empty() ? std::string("0") : value) + " (" + name + ")";
}

int RunRoot(wfxhost::WfxModule& module, const std::string& iniName) {
  std::printf("%s\n", module.RootName().c_str());
  std::printf("%s\n", LanguageLine(iniName).c_str());
  return 0;
}

// A virtual entry's remote name, as a host passes it: the folder delimiter, then the name.
std::string Remote(const std::string& name) { return std::string(1, qzr::kPathDelim) + name; }

int RunLs(wfxhost::WfxModule& module) {
  for (const std::string& name : module.List(std::string(1, qzr::kPathDelim))) std::printf("%s\n", name.c_str());
  return 0;
}

// The host's result codes of a copy, as words.
const char* CopyResult(int code) {
  switch (code) {
    case 0: return "ok";
    case 1: return "exists";
    case 2: return "not found";
    case 3: return "read error";
    case 4: return "write error";
    default: return "unknown result";
  }
}

int RunIcon(wfxhost::WfxModule& module, const std::string& name) {
  void* icon = nullptr;
  int code = module.ExtractIcon(Remote(name), &icon);
  if (code != 1) {
    std::printf("FsExtractCustomIcon: %d (the host's default icon)\n", code);
    return 0;
  }
  std::printf("FsExtractCustomIcon: %d (%s)\n", code, wfxhost::DescribeIcon(icon).c_str());
  return 0;
}

int RunExec(wfxhost::WfxModule& module, const std::vector<std::string>& args) {
  std::string choice;
  if (args.size() == 6 && args[4] == "--choose") choice = args[5];
  else if (args.size() != 4) return Usage();
  wfxhost::DialogChoice script(choice, 20);
  if (!choice.empty()) script.Start();
  int code = module.ExecuteFile(Remote(args[2]), args[3]);
  std::string outcome = choice.empty() ? "" : " (" + script.Finish() + ")";
  std::printf("FsExecuteFile: %d%s\n", code, outcome.c_str());
  return code == 0 ? 0 : 1;
}

// FsExecuteFile's answers, as words.
const char* ExecuteResult(int code) {
  switch (code) {
    case 0: return "ok";
    case 1: return "error";
    case -1: return "yourself";
    case -2: return "symlink";
    default: return "unknown result";
  }
}

// A command line as a host sends it: the folder the panel shows (here the plugin's root) as the
// name and the whole line after "quote " as the verb, as Total Commander documents and Double
// Commander does; the host's window is left null, as `exec` leaves it. The panel has listed the
// folder before anyone can type into the command line there, so the host lists it first.
int RunQuote(wfxhost::WfxModule& module, const std::string& commandLine) {
  module.List(Remote(""));
  wfxhost::MessageBoxes boxes;
  boxes.Start();
  int code = module.ExecuteFile(Remote(""), "quote " + commandLine);
  for (const std::string& text : boxes.Finish()) std::printf("message: %s\n", text.c_str());
  std::printf("FsExecuteFile: %d (%s)\n", code, ExecuteResult(code));
  return code == 0 ? 0 : 1;
}

// Each entry with its fields, as a panel's custom columns show them; a field the module could not
// give shows its answer code in brackets.
int RunColumns(wfxhost::WfxModule& module) {
  std::vector<std::string> fields = module.FieldNames();
  std::string header = "Name";
  for (const std::string& field : fields) header += "\t" + field;
  std::printf("%s\n", header.c_str());
  for (const std::string& name : module.List(std::string(1, qzr::kPathDelim))) {
    std::string line = name;
    for (size_t i = 0; i < fields.size(); ++i) {
      int code = 0;
      std::string value = module.FieldValue(Remote(name), static_cast<int>(i), &code);
      line += "\t" + (code < 0 ? "[" + std::to_string(code) + "]" : value);
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int Report(const char* what, int code, bool success) {
  std::printf("%s: %d (%s)\n", what, code, success ? "done" : "refused");
  return success ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool ansiOnly = false;
  if (!args.empty() && args[0] == "--ansi") {
    ansiOnly = true;
    args.erase(args.begin());
  }
  std::string iniName;
  if (args.size() >= 2 && args[0] == "--ini") {
    iniName = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (iniName.empty()) iniName = DefaultIniName(argv[0]);

  wfxhost::WfxModule module(args[0], ansiOnly);
  if (!module.ok()) {
    std::fprintf(stderr, "wfxhost: %s\n", module.error().c_str());
    return 1;
  }
  module.Start(iniName);
  std::string command = args.size() > 1 ? args[1] : "root";
  int rc = 2;
  if (command == "root") {
    rc = RunRoot(module, iniName);
  } else if (command == "ls") {
    rc = RunLs(module);
  } else if (command == "get" && args.size() == 4) {
    int code = module.GetFile(Remote(args[2]), args[3]);
    std::printf("FsGetFile: %d (%s)\n", code, CopyResult(code));
    rc = code == 0 ? 0 : 1;
  } else if (command == "put" && args.size() == 4) {
    int code = module.PutFile(args[2], Remote(args[3]));
    std::printf("FsPutFile: %d (%s)\n", code, CopyResult(code));
    rc = code == 0 ? 0 : 1;
  } else if (command == "exec" && args.size() >= 4) {
    rc = RunExec(module, args);
  } else if (command == "icon" && args.size() == 3) {
    rc = RunIcon(module, args[2]);
  } else if (command == "columns") {
    rc = RunColumns(module);
  } else if (command == "set" && args.size() == 4) {
    module.List(std::string(1, qzr::kPathDelim));
    int code = module.SetField(Remote(args[2]), 0, args[3]);
    rc = Report("FsContentSetValue", code, code == 0);
  } else if (command == "quote" && args.size() == 3) {
    rc = RunQuote(module, args[2]);
  } else if (command == "rm" && args.size() == 3) {
    int code = module.DeleteFile(Remote(args[2]));
    rc = Report("FsDeleteFile", code, code != 0);
  } else {
    return Usage();
  }
  module.Unload();
  return rc;
}
