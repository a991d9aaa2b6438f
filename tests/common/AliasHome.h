#pragma once
// A private config home for one test: the layer's alias file is written there, so the
// session reads it the way the program does.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class AliasHome {
 public:
  AliasHome();
  ~AliasHome();
  AliasHome(const AliasHome&) = delete;
  AliasHome& operator=(const AliasHome&) = delete;

  /// Replaces the alias file with these bytes.
  void Write(const QByteArray& ini);
  QString FilePath() const;
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray saved_;
  bool hadSaved_;
};
