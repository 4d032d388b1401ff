#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <sys/wait.h>

#include "IniFile.h"
#include "SchemaTestSupport.h"
#include "uSimpleInstallSchema.h"

using schema_test::PayloadFile;
using schema_test::ReadFile;
using schema_test::WriteFile;
using testsupport::TempFolder;
namespace fs = std::filesystem;

namespace {

const std::string kShared = "data/SharedData/";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The installer's placeholder expansion: each text in order, every occurrence, letter case
// ignored.
std::string Expand(std::string text,
                   const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    const std::string lowerName = Lower(name);
    std::size_t at = 0;
    while ((at = Lower(text).find(lowerName, at)) != std::string::npos) {
      text.replace(at, name.size(), value);
      at += value.size();
    }
  }
  return text;
}

const char* const kPlaceholders[] = {"$TMP",        "$uhome",   "$desktop",  "$WINE",
                                     "$arm_path",   "$SCRIPTS", "$ARM_EXEC", "$APP_NAME",
                                     "$START_MENU", "$WKavex",  "$LNX_INST", "$ROOT_SM"};

struct RunResult {
  int exitCode = -1;
  std::string output; // standard output
  std::string errors; // error stream
};

// Runs a bash script with arguments and extra environment settings, in a folder of its own.
RunResult RunScript(const std::string& script, const std::string& arguments,
                    const std::string& environment = "") {
  TempFolder io;
  const std::string command = environment + " bash " + script + " " + arguments + " >" +
                              io.File("out") + " 2>" + io.File("err") + " </dev/null";
  const int status = std::system(command.c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.output = ReadFile(io.File("out"));
  result.errors = ReadFile(io.File("err"));
  return result;
}

// A folder of stand-in programs that log their arguments, one line per call.
class StandInPrograms {
public:
  std::string Add(const std::string& name, const std::string& body = "") {
    fs::create_directories(folder_.File("bin"));
    WriteFile(folder_.File("bin/" + name),
              "#!/bin/bash\nprintf '%s\\n' \"$*\" >>\"" + Log(name) + "\"\n" + body, true);
    return folder_.File("bin/" + name);
  }
  std::string Log(const std::string& name) const { return folder_.File(name + ".log"); }
  std::string PathSetting() const { return "PATH=\"" + folder_.File("bin") + ":$PATH\""; }
  std::string File(const std::string& name) const { return folder_.File(name); }

private:
  TempFolder folder_;
};

TEST(EmbeddedPayload, TheArchiveHoldsEveryServiceScriptAndFile) {
  const char* files[] = {"scripts/_get_desktop.sh",    "scripts/_killallwine.sh",
                         "scripts/_wine_reg32.sh",     "scripts/_wine_reg64.sh",
                         "scripts/_wtricks.sh",        "scripts/_wine_exec.sh",
                         "scripts/_wine_asc.sh",       "scripts/_armpath.sh",
                         "scripts/_create_symlink.sh", "scripts/_check_user_profile.sh",
                         "scripts/_chmod.sh",          "config/winedbg_off.reg",
                         "config/winedbg_on.reg",      "config/decorated_off.reg",
                         "config/winebus.reg",         "config/msxmlver.reg",
                         "config/fonts.conf",          "config/fly-admin-theme.conf",
                         "icons/Kavex_Sivrant.png",    "icons/KAVEX_Folder.png",
                         "winetricks/track_usage",     "autostart/winestart.sh",
                         "autostart/winestart.desktop"};
  for (const char* file : files)
    EXPECT_TRUE(fs::is_regular_file(PayloadFile(kShared + file))) << file;
  EXPECT_EQ(std::distance(fs::directory_iterator(PayloadFile(kShared + "scripts")),
                          fs::directory_iterator{}),
            11);
  for (const char* icon : {"icons/Kavex_Sivrant.png", "icons/KAVEX_Folder.png"}) {
    const std::string png = ReadFile(PayloadFile(kShared + icon));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\1\0\0\0\1\0", 8)) << icon << ": 256x256";
  }
}

TEST(EmbeddedPayload, TheWelcomeTextIsExact) {
  EXPECT_EQ(ReadFile(PayloadFile("wellcome.txt")),
            "Эта программа установит на ваш конмпьютер #ARM#, а так же необходимые "
            "Linux-пакеты.\n"
            "Для установки Linux-пакетов требуется подключение к репозиториям.\n"
            "\n"
            "Если у вас уже установлен Wine, то настоятельно рекомендуем закрыть все приложения "
            "использующие эту платформу.\n"
            "\n"
            "Для продолжения установки нажмите кнопку \"Вперёд\".\n"
            "\n");
}

TEST(EmbeddedPayload, TheLicenceIsRtfInCodePage1251) {
  const std::string rtf = ReadFile(PayloadFile("license.rtf"));
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1251", 0), 0u);
  EXPECT_NE(rtf.find("\\'cb\\'c8\\'d6\\'c5\\'cd\\'c7\\'c8"), std::string::npos) << "ЛИЦЕНЗИ";
  EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return (c & 0x80) == 0; }));
  const std::string exe = ReadFile(PayloadFile("ARM_SOURCE.exe"));
  EXPECT_EQ(exe.substr(0, 2), "MZ");
}

TEST(EmbeddedPayload, RegistryFilesAreUtf16WithBomAndCrLf) {
  const struct {
    const char* file;
    std::vector<std::string> lines;
  } cases[] = {
      {"winedbg_off.reg",
       {"[HKEY_LOCAL_MACHINE\\Software\\Wine\\winedbg]",
        "[HKEY_CURRENT_USER\\Software\\Wine\\winedbg]", "\"ShowCrashDialog\"=dword:00000000"}},
      {"winedbg_on.reg",
       {"[HKEY_LOCAL_MACHINE\\Software\\Wine\\winedbg]",
        "[HKEY_CURRENT_USER\\Software\\Wine\\winedbg]", "\"ShowCrashDialog\"=dword:00000001"}},
      {"decorated_off.reg",
       {"[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]", "\"Decorated\"=\"N\""}},
      {"winebus.reg",
       {"[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\winebus]",
        "\"Enable SDL\"=dword:00000000", "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]",
        "\"COM1\"=\"/dev/ttyUSB0\"", "\"COM6\"=\"/dev/ttyUSB5\""}},
      {"msxmlver.reg",
       {"[HKEY_CLASSES_ROOT\\CLSID\\{2933BF90-7B36-11D2-B20E-00C04F983E60}]",
        "@=\"XML DOM Document\"", "\"ThreadingModel\"=\"Both\"", "@=\"Microsoft.XMLDOM.1.0\"",
        "@=\"{D63E0CE2-A0A2-11D0-9C02-00C04FC99C8E}\"", "@=\"Microsoft.XMLDOM\"",
        "\"3.0\"=\"C:\\\\windows\"", "\"4.0\"=\"C:\\\\windows\"", "\"6.0\"=\"C:\\\\windows\""}},
  };
  for (const auto& c : cases) {
    const std::string bytes = ReadFile(PayloadFile(kShared + "config/" + c.file));
    ASSERT_GE(bytes.size(), 2u) << c.file;
    EXPECT_EQ(bytes.substr(0, 2), "\xff\xfe") << c.file;
    ASSERT_EQ(bytes.size() % 2, 0u) << c.file;
    std::string text; // the registry files hold ASCII only
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
      ASSERT_EQ(bytes[i + 1], '\0') << c.file;
      text += bytes[i];
    }
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u) << c.file;
    EXPECT_EQ(std::regex_search(text, std::regex("[^\r]\n")), false) << c.file << ": bare LF";
    for (const auto& line : c.lines)
      EXPECT_NE(text.find("\r\n" + line + "\r\n"), std::string::npos) << c.file << ": " << line;
  }
}

TEST(EmbeddedPayload, FontAndThemeTemplatesTurnSmoothingOn) {
  const std::string fonts = ReadFile(PayloadFile(kShared + "config/fonts.conf"));
  EXPECT_EQ(fonts.rfind("<?xml version='1.0' encoding='UTF-8'?>", 0), 0u);
  const auto document = platform::XmlDocument::Parse(fonts, "fonts.conf");
  const platform::XmlNode root = document->DocumentElement();
  EXPECT_EQ(root.Name(), "fontconfig");
  std::vector<std::string> edits;
  for (platform::XmlNode match = root.FirstChild(); match; match = match.NextSibling()) {
    if (!match.IsElement())
      continue;
    EXPECT_EQ(match.Name(), "match");
    EXPECT_EQ(match.Attribute("target").value_or(""), "font");
    for (platform::XmlNode edit = match.FirstChild(); edit; edit = edit.NextSibling()) {
      if (!edit.IsElement())
        continue;
      EXPECT_EQ(edit.Attribute("mode").value_or(""), "assign");
      for (platform::XmlNode value = edit.FirstChild(); value; value = value.NextSibling())
        if (value.IsElement())
          edits.push_back(edit.Attribute("name").value_or("") + " " + value.Name() + " " +
                          value.TextContent());
    }
  }
  EXPECT_EQ(edits, (std::vector<std::string>{"rgba const rgb", "hinting bool true",
                                             "hintstyle const hintmedium", "antialias bool true"}));

  EXPECT_EQ(ReadFile(PayloadFile(kShared + "config/fly-admin-theme.conf")),
            "[General]\nXftAntialias=true\nXftHintStyle=hintmedium\nXftSubPixel=rgb\n"
            "maximized=false\nuseAASettings=enabled\n");
}

TEST(EmbeddedPayload, TheUdevRuleTemplateOpensTheDeviceByItsIdentifiers) {
  EXPECT_EQ(ReadFile(PayloadFile("999-usb.rules.in")),
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"@SIVRANT_USB_VENDOR_ID@\", "
            "ATTRS{idProduct}==\"@SIVRANT_USB_PRODUCT_ID@\", MODE=\"0666\"\n");
}

// The scripts that the schema runs as "bash" commands have their whole text expanded: a shell
// variable whose name merely begins like a placeholder would be corrupted.
TEST(EmbeddedPayload, ExpandedScriptsHoldNoAccidentalPlaceholders) {
  TempFolder temp;
  TInstallCustomSchemaClass schema(lotAstra_1_8, temp.Path());
  schema.LoadFromDocument(*platform::XmlDocument::ParseFile(PayloadFile("install_schema.xml")));
  std::set<std::string> scripts;
  auto collect = [&scripts](const TSchm_InstallCommandList& commands) {
    for (int i = 0; i < commands.Count(); ++i)
      if (commands.Items(i).Cmd == ictBashScript)
        scripts.insert(commands.Items(i).Source);
  };
  collect(schema.Script->Commands);
  for (auto* option : {&schema.User->WineAssocOn, &schema.User->WineDecorated})
    collect(option->Commands);
  EXPECT_EQ(scripts,
            (std::set<std::string>{"$SCRIPTS/_armpath.sh", "$SCRIPTS/_chmod.sh",
                                   "$SCRIPTS/_create_symlink.sh", "$SCRIPTS/_wine_asc.sh"}));

  const std::regex variable(R"(\$\{?([A-Za-z_][A-Za-z0-9_]*))");
  for (const auto& source : scripts) {
    const std::string file = kShared + "scripts/" + source.substr(std::string("$SCRIPTS/").size());
    const std::string text = ReadFile(PayloadFile(file));
    for (auto it = std::sregex_iterator(text.begin(), text.end(), variable);
         it != std::sregex_iterator(); ++it) {
      const std::string used = Lower((*it)[0].str());
      for (const char* placeholder : kPlaceholders) {
        const std::string name = Lower(placeholder);
        if (used.rfind(name, 0) == 0) {
          EXPECT_EQ(used, name) << file << " uses " << (*it)[0].str();
        }
      }
    }
  }
}

TEST(EmbeddedPayload, PathScriptsCreateTheFolderAndTheLinkOnceExpanded) {
  TempFolder home;
  const std::vector<std::pair<std::string, std::string>> values = {
      {"$uhome", home.Path()},
      {"$arm_path", home.Path() + "/.wine/drive_c/Kavex/Sivrant"},
      {"$WKavex", home.Path() + "/.wine/drive_c/Kavex"},
      {"$LNX_INST", home.File("opt Kavex")}};
  fs::create_directories(home.File("opt Kavex"));
  fs::create_directories(home.File(".wine/drive_c"));
  const auto expanded = [&](const std::string& script) {
    const std::string path = home.File("expanded_" + script);
    WriteFile(path, Expand(ReadFile(PayloadFile(kShared + "scripts/" + script)), values));
    return path;
  };

  const std::string link = expanded("_create_symlink.sh");
  for (int run = 0; run < 2; ++run) { // a second run replaces the link
    const RunResult result = RunScript(link, "");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
  }
  EXPECT_TRUE(fs::is_symlink(home.File(".wine/drive_c/Kavex")));
  EXPECT_EQ(fs::read_symlink(home.File(".wine/drive_c/Kavex")), home.File("opt Kavex"));

  const RunResult folder = RunScript(expanded("_armpath.sh"), "");
  EXPECT_EQ(folder.exitCode, 0) << folder.errors;
  EXPECT_TRUE(fs::is_directory(home.File("opt Kavex/Sivrant")));

  const std::string rights = expanded("_chmod.sh");
  EXPECT_EQ(RunScript(rights, "").exitCode, 0) << "no restart script: nothing to do";
  WriteFile(home.File("winestart.sh"), "#!/bin/bash\n");
  fs::permissions(home.File("winestart.sh"), fs::perms::owner_read | fs::perms::owner_write);
  const RunResult chmod = RunScript(rights, "");
  EXPECT_EQ(chmod.exitCode, 0) << chmod.errors;
  EXPECT_NE(fs::status(home.File("winestart.sh")).permissions() & fs::perms::owner_exec,
            fs::perms::none);

  // Without expansion the placeholders are unset variables, which the scripts refuse.
  EXPECT_NE(RunScript(PayloadFile(kShared + "scripts/_armpath.sh"), "").exitCode, 0);
}

TEST(EmbeddedPayload, WineTemplatesRunWithTheQuotedValuesTheStepFillsIn) {
  StandInPrograms programs;
  programs.Add("wine");
  programs.Add("winetricks");
  const struct {
    const char* script;
    std::vector<std::pair<std::string, std::string>> marks;
    const char* program;
    const char* arguments;
  } cases[] = {
      {"_wine_reg32.sh",
       {{"#SOURCE#", "/tmp/run dir/winebus.reg"}},
       "wine",
       "reg import /tmp/run dir/winebus.reg /reg:32"},
      {"_wine_reg64.sh",
       {{"#SOURCE#", "/tmp/msxmlver.reg"}},
       "wine",
       "reg import /tmp/msxmlver.reg /reg:64"},
      {"_wtricks.sh", {{"#PARAM#", "-f \"allfonts\""}}, "winetricks", "-q -f allfonts"},
      {"_wine_exec.sh",
       {{"#SOURCE#", "\"/tmp/run dir/_install.exe\""}, {"#PARAM#", "\"/wsilent\""}},
       "wine",
       "/tmp/run dir/_install.exe /wsilent"},
  };
  for (const auto& c : cases) {
    std::string text = ReadFile(PayloadFile(kShared + "scripts/" + c.script));
    EXPECT_EQ(text.rfind("#!/usr/bin/bash\n", 0), 0u) << c.script;
    EXPECT_NE(text.find("WINEDEBUG=-all"), std::string::npos) << c.script;
    text = Expand(text, c.marks);
    const std::string generated = programs.File(std::string("step_") + c.script);
    WriteFile(generated, text);
    fs::remove(programs.Log(c.program));
    const RunResult result = RunScript(generated, "", programs.PathSetting());
    EXPECT_EQ(result.exitCode, 0) << c.script << result.errors;
    EXPECT_EQ(ReadFile(programs.Log(c.program)), std::string(c.arguments) + "\n") << c.script;
  }
}

TEST(EmbeddedPayload, TheDesktopScriptPrintsTheUsersDesktopFolder) {
  const std::string script = PayloadFile(kShared + "scripts/_get_desktop.sh");
  TempFolder home;
  RunResult result = RunScript(script, "", "HOME=\"" + home.Path() + "\"");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, home.Path() + "/Desktops/Desktop1\n");
  EXPECT_EQ(result.errors, "");
  EXPECT_TRUE(fs::is_directory(home.File("Desktops/Desktop1")));

  fs::create_directories(home.File("Рабочий стол"));
  fs::create_symlink(home.File("Рабочий стол"), home.File("Desktop"));
  result = RunScript(script, "", "HOME=\"" + home.Path() + "\"");
  EXPECT_EQ(result.output, home.Path() + "/Рабочий стол\n");
}

TEST(EmbeddedPayload, TheProfileScriptNeedsALoginRecordAndAnXAuthorityFile) {
  StandInPrograms programs;
  TempFolder home;
  programs.Add("getent", "[ \"${!#}\" = alice ] || exit 2\n"
                         "echo \"alice:x:1000:1000::" +
                             home.Path() + ":/bin/bash\"\n");
  const std::string script = PayloadFile(kShared + "scripts/_check_user_profile.sh");
  EXPECT_EQ(RunScript(script, "alice", programs.PathSetting()).output, "0\n");
  WriteFile(home.File(".Xauthority"), "");
  const RunResult known = RunScript(script, "alice", programs.PathSetting());
  EXPECT_EQ(known.output, "1\n");
  EXPECT_EQ(known.exitCode, 0);
  EXPECT_EQ(RunScript(script, "nobody-here", programs.PathSetting()).output, "0\n");
  EXPECT_EQ(RunScript(script, "", programs.PathSetting()).output, "0\n");
}

TEST(EmbeddedPayload, TheWineServerScriptAsksEachOwnerAndWaitsUntilNoneIsLeft) {
  StandInPrograms programs;
  // ps lists one Wine server of uid 1000 for the first three calls, then none.
  programs.Add("ps", "count=$(wc -l <\"" + programs.Log("ps") +
                         "\")\n"
                         "[ \"$count\" -le 3 ] && echo ' 999999999  1000 wineserver'\n"
                         "echo ' 1  0 systemd'\nexit 0\n");
  programs.Add("sudo");
  const std::string script = PayloadFile(kShared + "scripts/_killallwine.sh");
  const RunResult result = RunScript(script, "", programs.PathSetting());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(ReadFile(programs.Log("sudo")), "-u #1000 -i wineserver -k\n");

  StandInPrograms idle;
  idle.Add("ps", "echo ' 1  0 systemd'\n");
  idle.Add("sudo");
  const RunResult none = RunScript(script, "", idle.PathSetting());
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.errors, "");
  EXPECT_FALSE(fs::exists(idle.Log("sudo")));
}

TEST(EmbeddedPayload, TheAssociationScriptSetsWineWhereTheFlyToolReportsFailure) {
  StandInPrograms programs;
  programs.Add(
      "fly-mimeapps",
      "if [ \"$1\" = get ]; then\n"
      "  [ \"$2\" = application/x-ms-dos-executable ] && echo 'неудачно' || echo other.desktop\n"
      "fi\n");
  const RunResult result =
      RunScript(PayloadFile(kShared + "scripts/_wine_asc.sh"), "", programs.PathSetting());
  EXPECT_EQ(result.exitCode, 0) << result.errors;
  EXPECT_EQ(ReadFile(programs.Log("fly-mimeapps")),
            "get application/vnd.microsoft.portable-executable\n"
            "get application/x-ms-dos-executable\n"
            "set application/x-ms-dos-executable wine.desktop\n");
}

} // namespace
