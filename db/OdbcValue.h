#pragma once
// Values that Qt's ODBC driver puts into a connection string as they are.

#include <QString>

/// value as an ODBC connection-string value: in braces with every "}" doubled when it holds
/// ";" or a brace, so it cannot end early or add settings; otherwise unchanged, since some
/// drivers (psqlODBC for the user name) do not accept braces where nothing needs them.
QString OdbcValue(const QString& value);
