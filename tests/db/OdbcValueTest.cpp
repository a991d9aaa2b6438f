#include "db/OdbcValue.h"

#include <gtest/gtest.h>

namespace {

TEST(OdbcValue, QuotesOnlyWhatCouldEndTheValueOrAddSettings) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"secret", "secret"},
      {"a=b", "a=b"},
      {"a;b}c", "{a;b}}c}"},
      {"x;DATABASE=other", "{x;DATABASE=other}"},
      {"{already}", "{{already}}}"},
  };
  for (const auto& c : cases) EXPECT_EQ(OdbcValue(QString::fromUtf8(c.in)).toStdString(), c.out) << c.in;
}

}  // namespace
