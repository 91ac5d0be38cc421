#include "db/tsql_tokens.h"

namespace db::tsql {
namespace {

bool word_start(QChar c) {
  return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#');
}

bool word_part(QChar c) { return word_start(c) || c.isDigit() || c == QLatin1Char('$'); }

// End (one past) of a quoted run starting at `i`, where a doubled closing character stands for
// itself. An unclosed run ends the text, with `closed` false.
qsizetype quoted_end(const QString& s, qsizetype i, QChar close, bool& closed) {
  qsizetype j = i + 1;
  while (j < s.size()) {
    if (s[j] == close) {
      if (j + 1 < s.size() && s[j + 1] == close) {
        j += 2;
        continue;
      }
      return j + 1;
    }
    ++j;
  }
  closed = false;
  return s.size();
}

}  // namespace

bool Token::is(const char* word) const {
  return kind == Kind::Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

std::vector<Token> tokenize(const QString& s) {
  std::vector<Token> out;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    const QChar c = s[i];
    qsizetype j = i + 1;
    Token::Kind kind = Token::Kind::Punct;
    bool closed = true;
    if (c.isSpace()) {
      while (j < n && s[j].isSpace()) ++j;
      kind = Token::Kind::Space;
    } else if (c == QLatin1Char('-') && j < n && s[j] == QLatin1Char('-')) {
      while (j < n && s[j] != QLatin1Char('\n')) ++j;
      kind = Token::Kind::Space;
    } else if (c == QLatin1Char('/') && j < n && s[j] == QLatin1Char('*')) {
      qsizetype e = s.indexOf(QStringLiteral("*/"), j + 1);
      closed = e >= 0;
      j = closed ? e + 2 : n;
      kind = Token::Kind::Space;
    } else if (c == QLatin1Char('\'')) {
      j = quoted_end(s, i, c, closed);
      kind = Token::Kind::String;
    } else if (c == QLatin1Char('"')) {
      j = quoted_end(s, i, c, closed);
      kind = Token::Kind::Quoted;
    } else if (c == QLatin1Char('[')) {
      j = quoted_end(s, i, QLatin1Char(']'), closed);
      kind = Token::Kind::Bracket;
    } else if (c.isDigit()) {
      while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.'))) ++j;
      kind = Token::Kind::Number;
    } else if (word_start(c)) {
      while (j < n && word_part(s[j])) ++j;
      kind = Token::Kind::Word;
    }
    out.push_back({kind, s.mid(i, j - i), closed});
    i = j;
  }
  return out;
}

QString join(const std::vector<Token>& tokens) {
  QString out;
  for (const Token& t : tokens) out += t.text;
  return out;
}

std::vector<Token> significant(const std::vector<Token>& tokens) {
  std::vector<Token> out;
  for (const Token& t : tokens)
    if (t.kind != Token::Kind::Space) out.push_back(t);
  return out;
}

QString string_value(const QString& literal) {
  if (literal.size() < 2) return {};
  const QChar q = literal[0];
  QString inner = literal.mid(1, literal.size() - 2);
  inner.replace(QString(2, q), QString(q));
  return inner;
}

QString quote_string(const QString& value) {
  QString v = value;
  v.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString quote_name(const QString& name) {
  QString v = name;
  v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + v + QLatin1Char('"');
}

QString name_of(const Token& t) {
  if (t.kind == Token::Kind::Bracket) {
    QString inner = t.text.mid(1, t.text.size() - 2);
    inner.replace(QStringLiteral("]]"), QStringLiteral("]"));
    return inner;
  }
  return t.text;
}

}  // namespace db::tsql
