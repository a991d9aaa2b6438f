#pragma once
// The statement component: its own copy of the statement lines, and execute or open
// against its session's default database. An open result set stays open for the grid.

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QString>
#include <QStringList>
#include <memory>

class TSession;

/// A statement with editable lines that can execute a command or open a read-only result set.
class TQuery {
 public:
  explicit TQuery(QString name = QStringLiteral("qry"), TSession* session = nullptr);
  ~TQuery();
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  const QString& Name() const { return name_; }

  // Statement lines. Every change closes an open result set; no-op changes do not.
  void ClearLines();
  void AssignLines(const QStringList& lines);
  int LineCount() const { return static_cast<int>(lines_.size()); }
  const QString& Line(int i) const { return lines_.at(i); }
  void SetLine(int i, const QString& text);
  const QStringList& Lines() const { return lines_; }
  /// Each line followed by CR LF.
  QString Text() const;

  /// Ends the open result set, if any. Never reaches the database.
  void Close();
  /// Runs the statement as a command; rows it returns are not fetched.
  /// Throws EDatabaseError or a subkind.
  void ExecSQL();
  /// Runs the statement and keeps its result set open; ENoResultSet when it yields none.
  void Open();
  bool Active() const;

  /// The open result set as a read-only table model (empty while nothing is open);
  /// it fetches rows in blocks as a view asks for them.
  QSqlQueryModel* ResultModel() const { return model_.get(); }

 private:
  void Run(bool wantResultSet);

  QString name_;
  TSession* session_;
  QStringList lines_;
  std::unique_ptr<QSqlQueryModel> model_;
};
