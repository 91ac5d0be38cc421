#include "kestrel/upgrade/step_context.h"

#include <QLocale>
#include <cmath>

#include "db/transaction.h"
#include "runtime/dialogs.h"

namespace upgrade {
namespace {

const QString kFailureTitle = QStringLiteral("错误信息");
// A clause that fails so cannot be helped by running it again: its column is there already
// ("Column names in each table must be unique"), or its table is not ("Invalid object name").
bool final_answer(long db_error_code) { return db_error_code == 2705 || db_error_code == 208; }

}  // namespace

const char* outcome_name(Outcome o) {
  switch (o) {
    case Outcome::done:
      return "done";
    case Outcome::returned_early:
      return "returned_early";
    case Outcome::failed:
      return "failed";
    case Outcome::end_program:
      return "end_program";
    case Outcome::restart_program:
      return "restart_program";
  }
  return "?";
}

std::optional<double> version_number(const QString& text) {
  bool number = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &number);
  // "inf" and "nan" name no version.
  if (!number || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool StepContext::read_version() {
  text_.clear();
  const auto row =
      sqlca.select_row(QStringLiteral("select isnull ( bb , '0' ) from sys where id =1"));
  const bool read = sqlca.status == 0;
  if (read && !row.empty()) text_ = row[0].to_text();
  const std::optional<double> v = version_number(text_);
  is_number_ = v.has_value();
  value_ = v.value_or(0);
  return read;
}

Outcome StepContext::base_data_lost() {
  rt::dialogs().notice(QStringLiteral("系统提示"),
                       QStringLiteral("系统基础数据丢失,不能升级,请与开发商联系"));
  return Outcome::returned_early;
}

bool StepContext::missing(const QString& probe_sql) {
  sqlca.select_row(probe_sql);
  return sqlca.status != 0;
}

bool StepContext::table_missing(const QString& table) {
  return missing(QStringLiteral("select count ( *) from ") + table);
}

bool StepContext::column_missing(const QString& table, const QString& column) {
  return missing(QStringLiteral("select count ( ") + column + QStringLiteral(" ) from ") + table);
}

bool StepContext::change(const QString& sql, const QString& failure_text) {
  return change(sql, failure_text, kFailureTitle);
}

bool StepContext::change(const QString& sql, const QString& failure_text,
                         const QString& failure_title) {
  sqlca.execute_immediate(sql);
  if (sqlca.status != 0) {
    failure_path(failure_text, failure_title);
    return false;
  }
  sqlca.commit();
  return true;
}

bool StepContext::change_no_commit(const QString& sql, const QString& failure_text) {
  sqlca.execute_immediate(sql);
  if (sqlca.status != 0) {
    failure_path(failure_text);
    return false;
  }
  return true;
}

bool StepContext::block(const QString& failure_text, const std::function<bool()>& body) {
  if (block_depth_ > 0) return body();
  // Run one by one, a block that failed half-way would keep its first part, and the next run's
  // probe would find that and skip the rest for good.
  if (!sqlca.begin_unit()) {
    failure_path(failure_text);
    return false;
  }
  ++block_depth_;
  const bool ok = body();
  --block_depth_;
  // A failure inside has shown its box: the block is undone whole, so the next run finds it
  // missing and does it again.
  if (!ok) {
    sqlca.end_unit(false);
    return false;
  }
  if (sqlca.end_unit(true)) return true;
  failure_path(failure_text);
  return false;
}

bool StepContext::add_column(const QString& table, const QString& column, const QString& change_sql,
                             const QString& failure_text, const std::vector<Fill>& fills,
                             bool commit_first) {
  if (!column_missing(table, column)) return true;
  return block(failure_text, [&] {
    if (commit_first ? !change(change_sql, failure_text)
                     : !change_no_commit(change_sql, failure_text))
      return false;
    for (const Fill& f : fills) run(f.sql, f.params);
    commit();
    return true;
  });
}

bool StepContext::add_columns(const QString& table, const QString& column, const QString& clauses,
                              const std::vector<Fill>& fills) {
  if (!column_missing(table, column)) return true;
  return block(QStringLiteral("版本升级失败-") + table + QLatin1Char('!'), [&] {
    if (!clause_list(table, clauses)) return false;
    for (const Fill& f : fills) run(f.sql, f.params);
    commit();
    return true;
  });
}

bool StepContext::clause_list(const QString& table, const QString& clauses,
                              ClauseFailure on_failure, const QString& failure_text,
                              const QString& fill) {
  const QString text = failure_text.isEmpty()
                           ? QStringLiteral("版本升级失败-") + table + QLatin1Char('!')
                           : failure_text;
  return block(text, [&] { return run_clauses(table, clauses, on_failure, text, fill); });
}

bool StepContext::run_clauses(const QString& table, const QString& clauses,
                              ClauseFailure on_failure, const QString& failure_text,
                              const QString& fill) {
  const QString prefix = QStringLiteral("alter table ") + table + QLatin1Char(' ');
  const qsizetype n = clauses.count(QLatin1Char('/'));
  qsizetype start = 0;
  bool complete = true;
  for (qsizetype i = 0; i < n; ++i) {
    const qsizetype end = clauses.indexOf(QLatin1Char('/'), start);
    const QString clause = clauses.mid(start, end - start);
    start = end + 1;
    sqlca.execute_immediate(prefix + clause);
    if (sqlca.status != 0) {
      // Any other failure (the server could not do it now) leaves the list incomplete, though
      // the remaining clauses are still tried where the step goes on.
      if (!final_answer(sqlca.db_error_code)) complete = false;
      switch (on_failure) {
        case ClauseFailure::silent:
          sqlca.rollback();
          break;
        case ClauseFailure::message:
          sqlca.rollback();
          rt::dialogs().failure(kFailureTitle, failure_text);
          break;
        case ClauseFailure::failure_path:
          failure_path(failure_text);
          return false;
      }
      continue;
    }
    if (!fill.isEmpty()) sqlca.execute(fill);
    sqlca.commit();
  }
  // A silent list that did not complete tells once, as a list that cannot be stored does.
  if (!complete && on_failure == ClauseFailure::silent) failure_path(failure_text);
  return complete;
}

void StepContext::run(const QString& sql, const std::vector<db::Value>& params) {
  sqlca.execute(sql, params);
}

bool StepContext::tested(const QString& sql, const QString& failure_text,
                         const std::vector<db::Value>& params) {
  sqlca.execute(sql, params);
  if (sqlca.status != 0) {
    failure_path(failure_text);
    return false;
  }
  sqlca.commit();
  return true;
}

qint64 StepContext::count(const QString& sql) {
  const auto row = sqlca.select_row(sql);
  return sqlca.status == 0 && !row.empty() ? row[0].to_integer() : 0;
}

bool StepContext::ok() const { return sqlca.status == 0; }

void StepContext::commit() { sqlca.commit(); }
void StepContext::rollback() { sqlca.rollback(); }

void StepContext::failure_path(const QString& failure_text) {
  failure_path(failure_text, kFailureTitle);
}

void StepContext::failure_path(const QString& failure_text, const QString& failure_title) {
  sqlca.rollback();
  rt::dialogs().failure(failure_title, failure_text);
}

bool StepContext::stamp(const QString& sql) { return stamp(sql, kFailureTitle); }

bool StepContext::stamp(const QString& sql, const QString& failure_title) {
  sqlca.execute(sql);
  if (sqlca.status != 0) {
    failure_path(QStringLiteral("版本升级失败-update sys.bb!"), failure_title);
    return false;
  }
  sqlca.commit();
  return true;
}

}  // namespace upgrade
