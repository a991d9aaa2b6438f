#include "app/ErrorBox.h"
#include "db/Exception.h"

#include <gtest/gtest.h>

#include <new>
#include <ostream>
#include <stdexcept>

namespace {

TEST(ErrorBox, AddsADotOnlyAfterACharacterThatComesAfterIt) {
  struct Case {
    const char* message;
    const char* shown;
  };
  const Case cases[] = {
      {"File access denied", "File access denied."},
      {"I/O error 21", "I/O error 21."},
      {"Done.", "Done."},
      {"Why?", "Why?."},
      {"ends in a dash -", "ends in a dash -"},
      {"ends in a space ", "ends in a space "},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorBoxText(QString::fromUtf8(c.message)).toStdString(), c.shown);
}

TEST(ErrorBox, MessagesOfEveryKindOfError) {
  EXPECT_EQ(ErrorMessage(EDatabaseError(QString::fromUtf8("zły"))).toStdString(), "zły");
  EXPECT_EQ(ErrorMessage(std::bad_alloc()).toStdString(), "Out of memory");
  EXPECT_EQ(ErrorMessage(std::runtime_error("broken")).toStdString(), "broken");
}

}  // namespace
