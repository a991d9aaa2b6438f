#include "app/ResultGrid.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace {
constexpr int kIndicatorWidth = 11;
}

IndicatorHeader::IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
  setSectionResizeMode(QHeaderView::Fixed);
  setMinimumWidth(kIndicatorWidth);
  setMaximumWidth(kIndicatorWidth);
}

QSize IndicatorHeader::sectionSizeFromContents(int /*logicalIndex*/) const {
  return QSize(kIndicatorWidth, fontMetrics().height() + 4);
}

void IndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  QStyleOptionHeader option;
  initStyleOption(&option);
  option.rect = rect;
  option.section = logicalIndex;
  style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

  const auto* grid = static_cast<const ResultGrid*>(parentWidget());
  if (logicalIndex != grid->CurrentRecord()) return;
  const QPoint c = rect.center();
  const QPoint triangle[] = {QPoint(c.x() - 2, c.y() - 4), QPoint(c.x() + 2, c.y()), QPoint(c.x() - 2, c.y() + 4)};
  painter->save();
  painter->setPen(Qt::NoPen);
  painter->setBrush(palette().color(QPalette::ButtonText));
  painter->drawPolygon(triangle, 3);
  painter->restore();
}

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent) {
  setVerticalHeader(new IndicatorHeader(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  // Rows one text line high, titles plain: a grid for reading records, not a spreadsheet.
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
}

void ResultGrid::setModel(QAbstractItemModel* model) {
  if (model == this->model()) return;
  disconnect(resetConnection_);
  QTableView::setModel(model);
  if (model) resetConnection_ = connect(model, &QAbstractItemModel::modelReset, this, &ResultGrid::OnModelReset);
  OnModelReset();
}

int ResultGrid::CurrentRecord() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void ResultGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  verticalHeader()->viewport()->update();
}

void ResultGrid::OnModelReset() {
  // A newly opened result set starts at its first record.
  if (model() && model()->rowCount() > 0) setCurrentIndex(model()->index(0, 0));
  verticalHeader()->viewport()->update();
}
