// The module helpers, and the seam inside a loaded module as the add-in uses it: the module's own
// path, and one desktop shared with the program that loaded it.
#include "platform/module.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/desktop.h"
#include "platform/sim/module/module_path.h"
#include "tests/sim/module_path_cases.h"

namespace {

class LoadedModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop::Reset();
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
  desktop::UserAction ok;
  ok.answer = 1;
  desktop::QueueUserAction(ok);
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

TEST(ModuleTest, WideTextBecomesCodePage932) {
  const std::u16string mail = u"メール ok";
  EXPECT_EQ(platform::WideToAnsi(mail.data(), mail.size()), "\x83\x81\x81[\x83\x8B ok");
  const std::u16string halfWidth = u"ｿﾞ";
  EXPECT_EQ(platform::WideToAnsi(halfWidth.data(), halfWidth.size()), "\xBF\xDE");
  // No code page 932 character: '?' each, a surrogate pair or a lone surrogate counting as one.
  const std::u16string missing = u"a\u00E9b\U0001F600c";
  EXPECT_EQ(platform::WideToAnsi(missing.data(), missing.size()), "a?b?c");
  const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
  EXPECT_EQ(platform::WideToAnsi(lone, 4), "x?y?");
  EXPECT_EQ(platform::WideToAnsi(mail.data(), 2), "\x83\x81\x81[");
}

}  // namespace
