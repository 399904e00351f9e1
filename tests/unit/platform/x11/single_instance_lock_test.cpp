#include "platform/x11/single_instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "scratch_folder.h"

namespace {

using platform::x11::ClaimLockFile;
using platform::x11::DisplayLockName;
using platform::x11::LockFilePath;

TEST(SingleInstanceLockTest, TheLockLivesInTheSessionFolderOrElsePerUserInTmp) {
  const char* old = getenv("XDG_RUNTIME_DIR");
  const std::string saved = old != nullptr ? old : "";
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(LockFilePath("KOVA_Zentara"), "/run/user/1000/KOVA_Zentara.lock");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(LockFilePath("KOVA_Zentara"),
            "/tmp/KOVA_Zentara-" + std::to_string(getuid()) + ".lock");
  if (old != nullptr) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(SingleInstanceLockTest, EachDisplayHasALockOfItsOwnWhoseNameIsAPlainFileName) {
  struct Case {
    const char* display;
    const char* lock;
  } cases[] = {
      {":0", "KOVA_Zentara-_0"},
      {":0.1", "KOVA_Zentara-_0"},  // another screen of the same display
      {":1", "KOVA_Zentara-_1"},
      {"localhost:10.0", "KOVA_Zentara-localhost_10"},
      {"/tmp/launch-x/org.xquartz:0", "KOVA_Zentara-_tmp_launch-x_org.xquartz_0"},
      {"../../etc/x:0", "KOVA_Zentara-.._.._etc_x_0"},
      {"", "KOVA_Zentara-"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayLockName("KOVA_Zentara", c.display), c.lock);
}

TEST(SingleInstanceLockTest, OnlyTheFirstClaimHoldsAndWithoutALockTheProgramStillRuns) {
  testing_support::ScratchFolder folder;
  const std::string path = (folder.Path() / "instance.lock").string();
  EXPECT_TRUE(ClaimLockFile(path));
  EXPECT_FALSE(ClaimLockFile(path));
  // A link in the lock's place is not followed, and does not keep the program from running.
  const std::string link = (folder.Path() / "link.lock").string();
  std::filesystem::create_symlink(folder.Path() / "elsewhere.lock", link);
  EXPECT_TRUE(ClaimLockFile(link));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "elsewhere.lock"));
  EXPECT_TRUE(ClaimLockFile((folder.Path() / "missing" / "instance.lock").string()));
}

}  // namespace
