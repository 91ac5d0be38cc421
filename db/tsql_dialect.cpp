#include "db/tsql_dialect.h"

#include <optional>

#include "db/tsql_tokens.h"

namespace db::tsql {
namespace {

using Kind = Token::Kind;

// Index of the first non-space token at or after `i`, or tokens.size().
size_t next_significant(const std::vector<Token>& t, size_t i) {
  while (i < t.size() && t[i].kind == Kind::Space) ++i;
  return i;
}

bool is_name(const Token& t) { return t.kind == Kind::Word || t.kind == Kind::Bracket; }

// The significant tokens without a trailing ';'.
std::vector<Token> words_of(const std::vector<Token>& tokens) {
  std::vector<Token> w = significant(tokens);
  while (!w.empty() && w.back().is_punct(';')) w.pop_back();
  return w;
}

// SQL Server's error for a literal, name or comment left open at the end of the text.
std::optional<DbError> unclosed(const std::vector<Token>& tokens) {
  for (const Token& t : tokens) {
    if (t.closed) continue;
    if (t.kind == Kind::Space)
      return DbError{113, QStringLiteral("Missing end comment mark '*/'.")};
    return DbError{105, QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                            .arg(t.text.mid(1))};
  }
  return std::nullopt;
}

Command invalid(const QString& near) {
  Command c;
  c.kind = Command::Kind::Invalid;
  c.error = syntax_error(near);
  return c;
}

// Marks `c` as a syntax error near `near`; true, since the statement was recognised.
bool fail(Command& c, const QString& near) {
  c = invalid(near);
  return true;
}

// COMMIT / ROLLBACK with SQL Server's optional words.
bool transaction_end(const std::vector<Token>& w, const char* verb) {
  if (w.empty() || !w[0].is(verb)) return false;
  if (w.size() == 1) return true;
  if (w.size() == 2) return w[1].is("tran") || w[1].is("transaction") || w[1].is("work");
  return w.size() == 3 && (w[1].is("tran") || w[1].is("transaction")) && is_name(w[2]);
}

// [EXEC[UTE]] sp_attach_db 'name','datafile','logfile' and [EXEC[UTE]] sp_detach_db 'name': a
// procedure with its text arguments.
bool procedure_call(const std::vector<Token>& w, Command& c) {
  size_t i = 0;
  if (i < w.size() && (w[i].is("exec") || w[i].is("execute"))) ++i;
  if (i >= w.size()) return false;
  const bool attach = w[i].is("sp_attach_db");
  if (!attach && !w[i].is("sp_detach_db")) return false;
  ++i;
  c.kind = attach ? Command::Kind::AttachDb : Command::Kind::DetachDb;
  while (i < w.size()) {
    // N'…' is the same text to this server.
    if (w[i].is("N") && i + 1 < w.size() && w[i + 1].kind == Kind::String) ++i;
    if (w[i].kind != Kind::String) return fail(c, w[i].text);
    c.names << string_value(w[i].text);
    if (++i == w.size()) break;
    if (!w[i].is_punct(',')) return fail(c, w[i].text);
    if (++i == w.size()) return fail(c, w[i - 1].text);
  }
  if (attach && c.names.size() != 3) {
    c.kind = Command::Kind::Invalid;
    c.error = {201, QStringLiteral("Procedure 'sp_attach_db' expects the parameters @dbname, "
                                   "@filename1 and @filename2.")};
  } else if (!attach && c.names.size() != 1) {
    c.kind = Command::Kind::Invalid;
    c.error = {201, QStringLiteral("Procedure 'sp_detach_db' expects the parameter @dbname.")};
  }
  return true;
}

// alter table T ALTER COLUMN c type [null | not null]
bool alter_column(const std::vector<Token>& w, Command& c) {
  if (w.size() < 6 || !w[0].is("alter") || !w[1].is("table") || !is_name(w[2]) ||
      !w[3].is("alter") || !w[4].is("column"))
    return false;
  if (!is_name(w[5]) || w.size() < 7) return fail(c, w.back().text);
  c.kind = Command::Kind::AlterColumn;
  c.table = name_of(w[2]);
  c.column = name_of(w[5]);
  size_t end = w.size();
  if (w[end - 1].is("null")) {
    --end;
    if (end > 6 && w[end - 1].is("not")) {
      --end;
      c.not_null = true;
    }
  }
  if (end <= 6) return fail(c, w.back().text);
  // The type: its words ("double precision"), then at most a length or a precision and scale
  // in parentheses. Nothing else reaches the table's new definition.
  size_t i = 6;
  for (; i < end && w[i].kind == Kind::Word; ++i)
    c.type_name += (i > 6 ? QStringLiteral(" ") : QString()) + w[i].text;
  if (i == 6) return fail(c, w[i].text);
  c.type = c.type_name;
  if (i < end) {
    if (!w[i].is_punct('(')) return fail(c, w[i].text);
    c.type += w[i++].text;
    for (int numbers = 0; numbers < 2; ++numbers) {
      if (i == end || w[i].kind != Kind::Number || w[i].text.contains(QLatin1Char('.')))
        return fail(c, i < end ? w[i].text : w[end - 1].text);
      c.type += w[i++].text;
      if (i < end && w[i].is_punct(',') && numbers == 0) {
        c.type += w[i++].text;
        continue;
      }
      break;
    }
    if (i == end || !w[i].is_punct(')')) return fail(c, i < end ? w[i].text : w[end - 1].text);
    c.type += w[i++].text;
  }
  if (i < end) return fail(c, w[i].text);
  return true;
}

// alter table T add constraint N primary key (a, b)
bool add_primary_key(const std::vector<Token>& w, Command& c) {
  if (w.size() < 6 || !w[0].is("alter") || !w[1].is("table") || !is_name(w[2]) || !w[3].is("add") ||
      !w[4].is("constraint"))
    return false;
  if (w.size() < 11 || !is_name(w[5]) || !w[6].is("primary") || !w[7].is("key") ||
      !w[8].is_punct('(') || !w.back().is_punct(')'))
    return fail(c, w.size() > 6 ? w[6].text : w.back().text);
  c.kind = Command::Kind::AddPrimaryKey;
  c.table = name_of(w[2]);
  c.constraint = name_of(w[5]);
  for (size_t i = 9; i + 1 < w.size(); ++i) {
    const bool want_name = (i - 9) % 2 == 0;
    if (want_name ? !is_name(w[i]) : !w[i].is_punct(',')) return fail(c, w[i].text);
    if (want_name) c.names << name_of(w[i]);
  }
  if (c.names.isEmpty() || w[w.size() - 2].is_punct(',')) return fail(c, QStringLiteral(")"));
  return true;
}

}  // namespace

DbError syntax_error(const QString& near) {
  return {170, QStringLiteral("Line 1: Incorrect syntax near '%1'.").arg(near)};
}

QString isnull_to_ifnull(const QString& sql) {
  std::vector<Token> t = tokenize(sql);
  for (size_t i = 0; i < t.size(); ++i) {
    if (!t[i].is("isnull")) continue;
    const size_t n = next_significant(t, i + 1);
    if (n < t.size() && t[n].is_punct('(')) t[i].text = QStringLiteral("ifnull");
  }
  return join(t);
}

QString insert_without_into(const QString& sql) {
  std::vector<Token> t = tokenize(sql);
  const size_t i = next_significant(t, 0);
  if (i >= t.size() || !t[i].is("insert")) return sql;
  const size_t n = next_significant(t, i + 1);
  if (n >= t.size() || t[n].is("into") || !is_name(t[n])) return sql;
  t[i].text += QStringLiteral(" into");
  return join(t);
}

QString double_quoted_literals(const QString& sql) {
  std::vector<Token> t = tokenize(sql);
  for (Token& k : t)
    if (k.kind == Kind::Quoted) {
      k.kind = Kind::String;
      k.text = quote_string(string_value(k.text));
    }
  return join(t);
}

QString translate(const QString& sql) {
  return double_quoted_literals(insert_without_into(isnull_to_ifnull(sql)));
}

bool known_type(const QString& name) {
  // SQL Server's own types; a multi-word name with single blanks.
  static const char* const kTypes[] = {"bigint",
                                       "binary",
                                       "bit",
                                       "char",
                                       "character",
                                       "char varying",
                                       "character varying",
                                       "datetime",
                                       "dec",
                                       "decimal",
                                       "double precision",
                                       "float",
                                       "image",
                                       "int",
                                       "integer",
                                       "money",
                                       "national char",
                                       "national character",
                                       "national char varying",
                                       "national character varying",
                                       "national text",
                                       "nchar",
                                       "ntext",
                                       "numeric",
                                       "nvarchar",
                                       "real",
                                       "smalldatetime",
                                       "smallint",
                                       "smallmoney",
                                       "sql_variant",
                                       "sysname",
                                       "text",
                                       "timestamp",
                                       "tinyint",
                                       "uniqueidentifier",
                                       "varbinary",
                                       "varchar"};
  const QString n = name.simplified();
  for (const char* t : kTypes)
    if (n.compare(QLatin1String(t), Qt::CaseInsensitive) == 0) return true;
  return false;
}

Command classify(const QString& sql) {
  const std::vector<Token> tokens = tokenize(sql);
  const std::vector<Token> w = words_of(tokens);
  Command c;
  // An open text runs to the end, so a syntax error of a form lies before it and is found
  // first, as SQL Server reads left to right.
  const bool form = procedure_call(w, c) || alter_column(w, c) || add_primary_key(w, c);
  if (c.kind == Command::Kind::Invalid) return c;
  if (const auto e = unclosed(tokens)) {
    c = {};
    c.kind = Command::Kind::Invalid;
    c.error = *e;
    return c;
  }
  if (form) return c;
  if (transaction_end(w, "commit")) {
    c.kind = Command::Kind::Commit;
    return c;
  }
  if (transaction_end(w, "rollback")) {
    c.kind = Command::Kind::Rollback;
    return c;
  }
  c.sql = translate(sql);
  if (w.size() > 2 && w[0].is("create") && w[1].is("table") && is_name(w[2])) {
    c.kind = Command::Kind::CreateTable;
    c.table = name_of(w[2]);
  }
  return c;
}

}  // namespace db::tsql
