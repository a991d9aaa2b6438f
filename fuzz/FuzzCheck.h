#pragma once
// A failed property stops the fuzzer with the input that broke it.

#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, what)                                                                    \
  do {                                                                                            \
    if (!(cond)) {                                                                                \
      std::fprintf(stderr, "%s:%d: property failed: %s (%s)\n", __FILE__, __LINE__, #cond, what); \
      std::abort();                                                                               \
    }                                                                                             \
  } while (0)

/// Each byte one character, as single-byte text in the user's code page reads.
inline QString Latin1Text(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

/// Byte pairs as UTF-16 code units, lone surrogates and all.
inline QString Utf16Text(const std::string& bytes) {
  QString text(static_cast<qsizetype>(bytes.size() / 2), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i)
    text[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return text;
}
