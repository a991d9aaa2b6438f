#include "db/CopiedResult.h"

#include <QSqlRecord>
#include <QSqlResult>
#include <QVariant>
#include <QVector>

namespace {

class CopiedResult : public QSqlResult {
 public:
  CopiedResult(const QSqlDriver* driver, const QSqlRecord& record, QVector<QVector<QVariant>> rows)
      : QSqlResult(driver), record_(record), rows_(std::move(rows)) {
    setSelect(true);
    setActive(true);
    setAt(QSql::BeforeFirstRow);
  }

 protected:
  QVariant data(int i) override { return Current().value(i); }
  bool isNull(int i) override { return Current().value(i).isNull(); }
  bool reset(const QString&) override { return false; }
  bool fetch(int i) override {
    if (i < 0 || i >= rows_.size()) return false;
    setAt(i);
    return true;
  }
  bool fetchFirst() override { return fetch(0); }
  bool fetchLast() override { return fetch(static_cast<int>(rows_.size()) - 1); }
  int size() override { return static_cast<int>(rows_.size()); }
  int numRowsAffected() override { return -1; }
  QSqlRecord record() const override { return record_; }

 private:
  const QVector<QVariant>& Current() const {
    static const QVector<QVariant> none;
    return at() >= 0 && at() < rows_.size() ? rows_.at(at()) : none;
  }

  QSqlRecord record_;
  QVector<QVector<QVariant>> rows_;
};

}  // namespace

QSqlQuery CopyResultSet(QSqlQuery& query) {
  const QSqlRecord record = query.record();
  const int columns = record.count();
  QVector<QVector<QVariant>> rows;
  while (query.next()) {
    QVector<QVariant> row;
    row.reserve(columns);
    for (int c = 0; c < columns; ++c) row.append(query.value(c));
    rows.append(std::move(row));
  }
  return QSqlQuery(new CopiedResult(query.driver(), record, std::move(rows)));
}
