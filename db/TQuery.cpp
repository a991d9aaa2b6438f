#include "db/TQuery.h"

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
  if (i < 0 || i >= lines_.size())
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(i));
  Close();
  lines_[i] = text;
}

QString TQuery::Text() const { return JoinedText(lines_); }

void TQuery::Close() { model_->clear(); }

bool TQuery::Active() const { return model_->query().isActive(); }

void TQuery::ExecSQL() { Run(false); }

void TQuery::Open() { Run(true); }

void TQuery::Run(bool wantResultSet) {
  Close();
  TSession& session = session_ ? *session_ : TSession::Default();
  QSqlDatabase& db = session.Database();
  if (lines_.isEmpty()) throw EDatabaseError(name_ + QStringLiteral(": No SQL statement available"));

  const ParamScanResult scan = ScanParams(Text());
  QSqlQuery query(db);
  if (scan.hasMarker) {
    // Only prepared, so that the database can reject the "?" itself: executing would bind
    // the missing value as NULL and carry the statement out.
    if (!query.prepare(scan.sent)) throw EngineErrorFrom(query.lastError(), scan.sent);
    throw EDatabaseError(name_ + QStringLiteral(": No value for parameter '%1'").arg(scan.firstName));
  }

  // Sent as text, not prepared: definitions and several statements in one text must work.
  query.setForwardOnly(!wantResultSet);
  if (!query.exec(scan.sent)) throw EngineErrorFrom(query.lastError(), scan.sent);
  if (!wantResultSet) return;
  if (!query.isSelect()) throw ENoResultSet(QStringLiteral("Error creating cursor handle"));
  model_->setQuery(std::move(query));
  if (model_->lastError().isValid()) {
    const QSqlError error = model_->lastError();
    Close();
    throw EngineErrorFrom(error, scan.sent);
  }
}
