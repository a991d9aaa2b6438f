#pragma once
// A result set held in memory, for when the driver's own result cannot stay: the rows are
// copied off before the connection's later results are read.

#include <QSqlQuery>

/// Copies the rows of query's current result set, from its current position on, into a new active, read-only query that
/// no longer needs the connection's result. A failure while reading the rows is left in query.lastError().
QSqlQuery CopyResultSet(QSqlQuery& query);
