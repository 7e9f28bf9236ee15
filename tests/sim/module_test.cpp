// The module helpers, and the seam inside a loaded module as the add-in uses it: the module's own
// path, and one desktop shared with the program that loaded it.
#include "platform/module.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/scripted_user.h"
#include "platform/code_page.h"
#include "platform/desktop.h"
#include "platform/sim/module/module_path.h"
#include "tests/sim/module_path_cases.h"

namespace {

class LoadedModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop::Reset();
    scripted::SeatScriptedUser();
    module = dlopen(SIM_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
  }
  void TearDown() override {
    if (module) dlclose(module);
    desktop::Reset();
  }
  template <typename Function>
  Function* Get(const char* name) {
    return reinterpret_cast<Function*>(dlsym(module, name));
  }

  void* module = nullptr;
};

TEST_F(LoadedModuleTest, ModulePathIsTheModulesNotTheProgramsPath) {
  const std::string path = Get<const char*()>("ProbeModulePath")();
  EXPECT_EQ(path, SIM_PROBE_MODULE);
  EXPECT_NE(path, platform::ModulePath());
}

TEST_F(LoadedModuleTest, ModuleAndProgramShareOneDesktop) {
  scripted::UserAction ok;
  ok.answer = 1;
  scripted::QueueUserAction(ok);
  std::vector<std::string> event;
  desktop::SetEventSink([&](const std::vector<std::string>& fields) { event = fields; });
  EXPECT_EQ(Get<int()>("ProbeMessageBox")(), 1);
  EXPECT_EQ(event, (std::vector<std::string>{"MessageBox", "probe", "OK", "EXCLAMATION", "asked"}));
  // A script fault raised for the module reaches the program as the desktop's own exception type.
  EXPECT_THROW(Get<int()>("ProbeMessageBox")(), desktop::ScriptError);
}

TEST(ModuleTest, PathIsTheFileHoldingTheSeam) {
  const std::string path = platform::ModulePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.rfind(platform::kPathSeparator) + 1), "sim_tests");
}

// The simulated system's separator in place of each single-byte backslash of code page 932 text.
std::string WithSlashes(std::string text) {
  for (std::size_t at = 0; at < text.size(); at += platform::IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1) {
    if (text[at] == '\\') text[at] = '/';
  }
  return text;
}

TEST(ModuleTest, PathSplitsAtItsLastSeparatorInCodePage932) {
  for (const ModulePathCase& c : ModulePathCases()) {
    std::string path = c.path;  // UTF-8: no byte of a character is a backslash
    std::replace(path.begin(), path.end(), '\\', '/');
    const platform::ModuleFile file = platform::sim::SplitModulePath(path);
    EXPECT_EQ(file.directory, WithSlashes(c.directory)) << c.path;
    EXPECT_EQ(file.name, c.name) << c.path;
  }
  const platform::ModuleFile here = platform::ThisModuleFile();
  EXPECT_EQ(here.directory + here.name, platform::ModulePath());
  EXPECT_EQ(here.name, "sim_tests");
}

}  // namespace
