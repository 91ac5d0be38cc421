#pragma once
// A database double for the upgrade chain: every statement succeeds, nothing is stored, and
// what the chain sends is recorded, so a test sees which statements a stored version lets
// through whatever the tables would hold.
//
// Answers: the version read gives the version set; a presence probe ("select count ( c ) from
// t", no where clause) fails, so the change behind it is sent; any other count gives 1; every
// other select returns no row.
#include <QString>
#include <QStringList>

namespace test {

class TraceDouble {
 public:
  // Connects sqlca to the double, with auto_commit on as the Start action connects.
  explicit TraceDouble(const QString& version);
  ~TraceDouble();  // disconnects and gives the embedded server back its place
  TraceDouble(const TraceDouble&) = delete;
  TraceDouble& operator=(const TraceDouble&) = delete;

  // Every statement text prepared, in order, with "COMMIT", "ROLLBACK", "BEGIN UNIT" and
  // "END UNIT" where they were issued.
  const QStringList& trace() const;
};

// Whether a statement is one of the chain's own presence probes (ours included).
bool is_presence_probe(const QString& sql);

}  // namespace test
