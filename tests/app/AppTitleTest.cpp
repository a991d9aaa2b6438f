#include "app/AppTitle.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TEST(AppTitle, FileNameUpToTheFirstDotWithTheRestLowerCased) {
  struct Case {
    const char* path;
    const char* title;
  };
  const Case cases[] = {
      {"/opt/x/MyTool.EXE", "Mytool"},
      {"/usr/bin/liczniki", "liczniki"},
      {"LICZNIKI", "Liczniki"},
      {"/a.b/ŁÓDŹ.tar.gz", "Łódź"},
      {"/tmp/.hidden", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AppTitleFromPath(QString::fromUtf8(c.path)).toStdString(), c.title) << c.path;
}

}  // namespace
