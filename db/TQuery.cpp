#include "db/TQuery.h"

#include "db/CopiedResult.h"
#include "db/EngineMessage.h"
#include "db/Exception.h"
#include "db/ParamScan.h"
#include "db/Session.h"

#include <QSqlDriver>

namespace {

QString JoinedText(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QLatin1String("\r\n");
  }
  return text;
}

/// True unless the text is surely one statement. Any ";" before the final ones counts, even
/// one in a literal or a comment: a wrong "no" would hide a failure, a wrong "yes" costs a copy.
bool MayHoldSeveralStatements(const QString& text) {
  QString t = text.trimmed();
  while (t.endsWith(u';')) t = t.chopped(1).trimmed();
  return t.contains(u';');
}

/// Reads the results after the current one. A driver that sends a text with several statements
/// reports success for the first result even when a later statement failed (and the whole
/// text was undone); only the later results tell.
void CheckRemainingResults(QSqlQuery& query, const QString& sent) {
  while (query.nextResult()) {
  }
  if (query.lastError().isValid()) throw EngineErrorFrom(query.lastError(), sent);
}

}  // namespace

TQuery::TQuery(QString name, TSession* session)
    : name_(std::move(name)), session_(session), model_(std::make_unique<QSqlQueryModel>()) {}

TQuery::~TQuery() = default;

void TQuery::ClearLines() {
  if (lines_.isEmpty()) return;
  Close();
  lines_.clear();
}

void TQuery::AssignLines(const QStringList& lines) {
  if (JoinedText(lines) == Text()) return;
  Close();
  lines_ = lines;
}

void TQuery::SetLine(int i, const QString& text) {
  if (i < 0 || i >= lines_.size()) throw Exception(QStringLiteral("List index out of bounds (%1)").arg(i));
  Close();
  lines_[i] = text;
}

QString TQuery::Text() const { return JoinedText(lines_); }

void TQuery::Close() {
  // Every line change closes; resetting an empty model would still re-lay-out the grid.
  if (Active()) model_->clear();
}

bool TQuery::Active() const { return model_->query().isActive(); }

void TQuery::ExecSQL() { Run(false); }

void TQuery::Open() { Run(true); }

void TQuery::Run(bool wantResultSet) {
  Close();
  TSession& session = session_ ? *session_ : TSession::Default();
  QSqlDatabase& db = session.Database();
  if (lines_.isEmpty()) throw EDatabaseError(name_ + QStringLiteral(": No SQL statement available"));

  const ParamScanResult scan = ScanParams(Text());
  // The drivers take the text as C text: a NUL would silently cut off what follows it.
  if (scan.sent.contains(QChar(0)))
    throw EDatabaseError(name_ + QStringLiteral(": The statement holds a NUL character"));
  QSqlQuery query(db);
  if (scan.hasMarker) {
    // Only prepared, so that the database can reject the "?" itself: executing would bind
    // the missing value as NULL and carry the statement out.
    if (!query.prepare(scan.sent)) throw EngineErrorFrom(query.lastError(), scan.sent);
    throw EDatabaseError(name_ + QStringLiteral(": No value for parameter '%1'").arg(scan.firstName));
  }

  // Sent as text, not prepared: definitions and several statements in one text must work.
  // The first result set of a text that may hold several statements is copied off before the
  // later results are checked, and read forward-only: the driver must send nothing else on
  // the connection while results are pending (its column lookups would eat the later error).
  // A text that is surely one statement keeps the driver's result and its lazy fetching.
  const bool copyFirst =
      wantResultSet && db.driver()->hasFeature(QSqlDriver::MultipleResultSets) && MayHoldSeveralStatements(scan.sent);
  query.setForwardOnly(!wantResultSet || copyFirst);
  if (!query.exec(scan.sent)) throw EngineErrorFrom(query.lastError(), scan.sent);
  if (!wantResultSet) {
    CheckRemainingResults(query, scan.sent);
    return;
  }
  if (copyFirst) {
    const bool isSelect = query.isSelect();
    QSqlQuery first = isSelect ? CopyResultSet(query) : QSqlQuery();
    if (query.lastError().isValid()) throw EngineErrorFrom(query.lastError(), scan.sent);
    CheckRemainingResults(query, scan.sent);
    if (!isSelect) throw ENoResultSet(QStringLiteral("Error creating cursor handle"));
    query = std::move(first);
  } else if (!query.isSelect()) {
    throw ENoResultSet(QStringLiteral("Error creating cursor handle"));
  }
  model_->setQuery(std::move(query));
  if (model_->lastError().isValid()) {
    const QSqlError error = model_->lastError();
    Close();
    throw EngineErrorFrom(error, scan.sent);
  }
}
