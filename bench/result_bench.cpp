// Opens a query of the default database in the current directory as the run's last statement
// would, shows its result in the program's grid, and reports how long the first screen took,
// how many rows were fetched for it, and the peak memory.
//
//   result_bench "SELECT ..."    (give it QT_QPA_PLATFORM=offscreen)

#include "app/ResultGrid.h"
#include "db/Exception.h"
#include "db/TQuery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQueryModel>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: result_bench QUERY\n");
    return 2;
  }
  QElapsedTimer timer;
  timer.start();
  TQuery qry;
  ResultGrid grid;
  grid.resize(1024, 768);
  try {
    qry.AssignLines({QString::fromLocal8Bit(argv[1])});
    qry.Open();
  } catch (const Exception& e) {
    std::fprintf(stderr, "open failed: %s\n", e.what());
    return 1;
  }
  const double openSeconds = timer.nsecsElapsed() / 1e9;
  grid.setModel(qry.ResultModel());
  grid.show();
  QApplication::processEvents();
  const double shownSeconds = timer.nsecsElapsed() / 1e9;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const QModelIndex lastShown = grid.indexAt(grid.viewport()->rect().bottomLeft());
  std::printf(
      "open_s=%.4f first_screen_s=%.4f rows_fetched=%d more_to_fetch=%d last_row_on_screen=%d peak_rss_kb=%ld\n",
      openSeconds, shownSeconds, qry.ResultModel()->rowCount(), qry.ResultModel()->canFetchMore() ? 1 : 0,
      lastShown.isValid() ? lastShown.row() + 1 : -1, usage.ru_maxrss);
  return 0;
}
