#pragma once
// A read-only grid over a result set: one column per field, titled with its name, one
// row per record, and a narrow indicator column marking the current record.

#include <QHeaderView>
#include <QTableView>

/// The indicator column: empty sections, a triangle at the current record.
class IndicatorHeader : public QHeaderView {
 public:
  explicit IndicatorHeader(QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  QSize sectionSizeFromContents(int logicalIndex) const override;
};

class ResultGrid : public QTableView {
  Q_OBJECT

 public:
  explicit ResultGrid(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;
  /// The row of the current record, -1 while there is none.
  int CurrentRecord() const;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void OnModelReset();

  QMetaObject::Connection resetConnection_;
};
