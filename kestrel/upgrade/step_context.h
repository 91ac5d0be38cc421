#pragma once
// What every upgrade step shares: the version read, gates, presence probes, single schema
// changes, clause lists, data statements, the failure path and the stamps, all on `sqlca`.
// A step makes one context and reads like its algorithm, statement texts written out in full:
//
//   upgrade::Outcome f_ver5() {
//     upgrade::StepContext s;
//     if (!s.read_version()) return s.base_data_lost();
//     if (!s.below(14.50)) return upgrade::Outcome::returned_early;
//     if (s.column_missing("card_level", "jfxs") &&
//         !s.change("alter table card_level add jfxs numeric(16,2) null",
//                   "版本升级失败-card_level! 停止升级"))
//       return upgrade::Outcome::failed;
//     if (s.column_missing("doc_item", "emp_k") &&
//         !s.clause_list("doc_item", "add emp_k char(20) null/add emp_l char(20) null/",
//                        upgrade::ClauseFailure::failure_path,
//                        "版本升级失败-doc_item! 停止升级"))
//       return upgrade::Outcome::failed;
//     if (!s.stamp("update sys SET bb ='14.50' , kernel_ver ='V 4.50.00'"))
//       return upgrade::Outcome::failed;
//     return upgrade::Outcome::done;
//   }
//
// Every helper that can take the failure path returns false after it has rolled back and
// shown the box; the step then returns Outcome::failed, which stops the chain.
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "db/value.h"

namespace upgrade {

enum class Outcome {
  done,             // ran to its end
  returned_early,   // a gate, the version window or a lost version row sent it back
  failed,           // took a failure path: the chain stops
  end_program,      // the caller closes the application
  restart_program,  // the caller starts the program again on the same folder, then ends
};

const char* outcome_name(Outcome o);

// A version text as the steps read it: the number it holds, blanks at both ends aside (a char
// column comes back padded on a real server); nothing for a text that is no finite number.
std::optional<double> version_number(const QString& text);

// How a failing clause of a clause list is handled. A clause that fails because its column is
// there already, or its table is not, is passed over as the step says; after any other failure
// the list is incomplete: at its end it is undone whole and the helper returns false, so that
// no later stamp closes its gate before a run has done it.
enum class ClauseFailure {
  silent,        // rolled back, the list goes on; an incomplete list ends with the failure box
  message,       // rolled back, the failure box, the list goes on
  failure_path,  // rolled back, the failure box, the list stops and the helper returns false
};

class StepContext {
 public:
  StepContext() = default;

  // "select isnull ( bb , '0' ) from sys where id =1". True when its status is 0; the text
  // stays empty when no row was read.
  bool read_version();
  const QString& version_text() const { return text_; }
  // The version as a number; a text that is no number counts as 0.
  double version() const { return value_; }
  bool version_is_number() const { return is_number_; }
  // The text "0" that a null `bb` reads as. isnull takes the type of the column, so where a
  // salon's `bb` is a char(n) column a real server pads that "0" with blanks to the column's
  // width; read exactly, it would pass for a version and open every gate of step 1.
  bool version_text_is_zero() const { return text_.trimmed() == QStringLiteral("0"); }
  // A gate: true when the version read is below `gate`.
  bool below(double gate) const { return value_ < gate; }

  // The box that a lost version row gives in steps 2 and 4 to 10; returns returned_early.
  Outcome base_data_lost();

  // Presence probes: true when the probe's status is not 0 (the object counts as missing).
  bool missing(const QString& probe_sql);
  bool table_missing(const QString& table);                          // "select count ( *) from t"
  bool column_missing(const QString& table, const QString& column);  // "select count ( c ) from t"

  // A single schema change, executed immediately. On failure the failure path and false;
  // on success a commit (change) or nothing yet (change_no_commit, for a fill in between).
  bool change(const QString& sql, const QString& failure_text);
  bool change(const QString& sql, const QString& failure_text, const QString& failure_title);
  bool change_no_commit(const QString& sql, const QString& failure_text);

  // Runs `body` as one unit on the server: what it changes takes effect whole or not at all,
  // whatever its commits say. Neither a crash nor a failure inside so leaves a list half added,
  // a new column without its fill or a new table without its key: a body that returns false
  // (after its failure box) is undone whole, and the next run's probe finds the block missing
  // and runs it again. A block inside a block joins it. False when the body returned false, or
  // when the unit could not be opened or stored (then the failure path with `failure_text`).
  bool block(const QString& failure_text, const std::function<bool()>& body);

  // An untested data statement over a column just added, with its host values.
  struct Fill {
    QString sql;
    std::vector<db::Value> params = {};
  };
  // Column probe "select count ( <column> ) from <table>"; when it fails, the single change
  // and the fills after it, one block. The change is committed before the fills when
  // `commit_first`, else the commit after the fills carries it. False after the failure path.
  bool add_column(const QString& table, const QString& column, const QString& change_sql,
                  const QString& failure_text, const std::vector<Fill>& fills,
                  bool commit_first = true);

  // Column probe on `column`; when it fails, the clause list of `table` (its failing clauses
  // rolled back silently) and then the fills, one block with one commit at its end. False
  // after the failure path.
  bool add_columns(const QString& table, const QString& column, const QString& clauses,
                   const std::vector<Fill>& fills);

  // "alter table <table> " + each clause of `clauses` (each ended by "/"), committed one by
  // one, the whole list one block. `fill`, when given, runs untested after each clause that
  // succeeds, before its commit. False when the list did not complete (see ClauseFailure);
  // the whole list is then undone.
  bool clause_list(const QString& table, const QString& clauses,
                   ClauseFailure on_failure = ClauseFailure::silent,
                   const QString& failure_text = {}, const QString& fill = {});

  // An untested embedded statement: its failure stays in sqlca.status only.
  void run(const QString& sql, const std::vector<db::Value>& params = {});
  // A tested data statement: on failure the failure path and false, else a commit.
  bool tested(const QString& sql, const QString& failure_text,
              const std::vector<db::Value>& params = {});
  // A single-row count read into a number without a status test; 0 when nothing was read.
  qint64 count(const QString& sql);
  // True when the last statement's status is 0.
  bool ok() const;

  void commit();
  void rollback();

  // Rollback and the failure box (title "错误信息" unless given).
  void failure_path(const QString& failure_text);
  void failure_path(const QString& failure_text, const QString& failure_title);

  // A tested version stamp: on failure the failure path with "版本升级失败-update sys.bb!"
  // (title as given) and false, else a commit. Untested stamps are plain run() + commit().
  bool stamp(const QString& sql);
  bool stamp(const QString& sql, const QString& failure_title);

 private:
  bool run_clauses(const QString& table, const QString& clauses, ClauseFailure on_failure,
                   const QString& failure_text, const QString& fill);

  QString text_;
  double value_ = 0;
  bool is_number_ = false;
  int block_depth_ = 0;
};

}  // namespace upgrade
