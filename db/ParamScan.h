#pragma once
// The layer's parameter-marker scan, done once before a text goes to the database.

#include <QString>

/// The text as sent, and what the scan found.
struct ParamScanResult {
  QString sent;  // "::" sent as ":", each marker sent as "?"
  bool hasMarker = false;
  QString firstName;  // the text after the colon of the first marker
};

/// Scans with one quote flag that flips at ' " and `; outside quotes ":" starts a marker
/// running to CR, LF, space, ")", ",", ";" or the end.
ParamScanResult ScanParams(const QString& text);
