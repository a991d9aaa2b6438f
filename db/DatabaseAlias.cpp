#include "db/DatabaseAlias.h"

#include "db/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QStringList>

// The file is read by hand, not through QSettings: its INI reader cuts a value at ";"
// (Qt's connect options are ";"-separated), turns "a,b" into a list and eats backslashes,
// so passwords and options would silently change.

namespace {

const QString kSection = QStringLiteral("Default");

QString AliasFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + QStringLiteral("/liczniki/databases.ini");
}

[[noreturn]] void Fail(const QString& file, const QString& where, const QString& what) {
  throw EDatabaseError(QStringLiteral("Database alias file %1, %2: %3").arg(file, where, what));
}

QString KeyWhere(const QString& key) { return QStringLiteral("[%1] %2").arg(kSection, key); }

// Drivers Qt ships. One of them whose plugin is missing passes here and fails when the
// layer loads it, with the engine's load message; any other name must be an installed plugin.
bool IsQtDriverName(const QString& name) {
  static const QStringList known = {QStringLiteral("QSQLITE"), QStringLiteral("QPSQL"),    QStringLiteral("QODBC"),
                                    QStringLiteral("QMYSQL"),  QStringLiteral("QMARIADB"), QStringLiteral("QOCI"),
                                    QStringLiteral("QDB2"),    QStringLiteral("QIBASE"),   QStringLiteral("QMIMER"),
                                    QStringLiteral("QTDS"),    QStringLiteral("QSQLITE2")};
  return known.contains(name);
}

QString CheckedDriver(const QString& file, const QString& value) {
  for (const QString& d : QSqlDatabase::drivers())
    if (d.compare(value, Qt::CaseInsensitive) == 0) return d;
  QString upper = value.toUpper();
  if (IsQtDriverName(upper)) return upper;
  Fail(file, KeyWhere(QStringLiteral("Driver")),
       QStringLiteral("unknown driver \"%1\" (installed: %2)")
           .arg(value, QSqlDatabase::drivers().join(QStringLiteral(", "))));
}

int CheckedPort(const QString& file, const QString& value) {
  if (value.isEmpty()) return -1;
  bool ok = false;
  const int port = value.toInt(&ok);
  if (!ok || port < 1 || port > 65535)
    Fail(file, KeyWhere(QStringLiteral("Port")), QStringLiteral("\"%1\" is not a port number (1 to 65535)").arg(value));
  return port;
}

// A value in double quotes keeps its outer spaces; the quotes themselves are dropped.
QString Unquoted(const QString& value) {
  if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
    return value.mid(1, value.size() - 2);
  return value;
}

struct RawAlias {
  bool present = false;
  QMap<QString, QString> values;  // key in its canonical spelling -> value
};

const QStringList& AliasKeys() {
  static const QStringList keys = {QStringLiteral("Driver"), QStringLiteral("Database"), QStringLiteral("Host"),
                                   QStringLiteral("Port"),   QStringLiteral("User"),     QStringLiteral("Password"),
                                   QStringLiteral("Options")};
  return keys;
}

QString CanonicalKey(const QString& key) {
  for (const QString& k : AliasKeys())
    if (k.compare(key, Qt::CaseInsensitive) == 0) return k;
  return {};
}

RawAlias ReadDefaultSection(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly))
    throw EDatabaseError(QStringLiteral("Database alias file %1 cannot be read: %2").arg(file, f.errorString()));
  QString text = QString::fromUtf8(f.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

  RawAlias raw;
  bool inDefault = false;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (int n = 0; n < lines.size(); ++n) {
    const QString line = lines[n].trimmed();
    const QString where = QStringLiteral("line %1").arg(n + 1);
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      if (!line.endsWith(QLatin1Char(']'))) Fail(file, where, QStringLiteral("unclosed section name"));
      inDefault = line.mid(1, line.size() - 2).trimmed().compare(kSection, Qt::CaseInsensitive) == 0;
      raw.present = raw.present || inDefault;
      continue;
    }
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0) Fail(file, where, QStringLiteral("expected key=value or [section]"));
    if (!inDefault) continue;
    const QString spelled = line.left(eq).trimmed();
    const QString key = CanonicalKey(spelled);
    if (key.isEmpty())
      Fail(file, KeyWhere(spelled),
           QStringLiteral("unknown key (known: %1)").arg(AliasKeys().join(QStringLiteral(", "))));
    if (raw.values.contains(key)) Fail(file, KeyWhere(key), QStringLiteral("given twice"));
    raw.values.insert(key, Unquoted(line.mid(eq + 1).trimmed()));
  }
  return raw;
}

}  // namespace

DatabaseAlias LoadDefaultAlias() {
  DatabaseAlias alias;
  const QString file = AliasFilePath();
  if (!QFileInfo::exists(file)) return alias;
  const RawAlias raw = ReadDefaultSection(file);
  if (!raw.present) return alias;

  const auto value = [&raw](const char* key) { return raw.values.value(QLatin1String(key)); };
  if (!raw.values.contains(QStringLiteral("Driver")))
    Fail(file, KeyWhere(QStringLiteral("Driver")), QStringLiteral("missing"));
  alias.driver = CheckedDriver(file, value("Driver"));
  // SQLite keeps its default file; a server's empty name means the driver's default database.
  if (raw.values.contains(QStringLiteral("Database")) || alias.driver != QLatin1String("QSQLITE"))
    alias.database = value("Database");
  alias.host = value("Host");
  alias.port = CheckedPort(file, value("Port"));
  alias.user = value("User");
  alias.password = value("Password");
  alias.options = value("Options");
  return alias;
}
