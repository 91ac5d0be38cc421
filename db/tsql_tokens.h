#pragma once
// A statement text cut into tokens, so that the dialect rules never touch the inside of a
// string literal or a comment. Joining the tokens gives the text back byte for byte.
#include <QString>
#include <vector>

namespace db::tsql {

struct Token {
  enum class Kind {
    Word,     // a name or keyword: letters, digits, '_', '@', '#', '$'
    Number,   // digits with an optional fraction
    String,   // 'text', quotes doubled inside
    Quoted,   // "text", quotes doubled inside
    Bracket,  // [name]
    Punct,    // one other character
    Space,    // blanks, line ends and comments
  };
  Kind kind;
  QString text;
  bool closed = true;  // false for a literal, name or comment that runs to the end unclosed

  bool is(const char* word) const;  // a Word equal to `word`, case ignored
  bool is_punct(char c) const { return kind == Kind::Punct && text == QLatin1Char(c); }
};

std::vector<Token> tokenize(const QString& sql);
QString join(const std::vector<Token>& tokens);

// The same tokens without Space.
std::vector<Token> significant(const std::vector<Token>& tokens);

// The value of a 'string' token: its quotes removed and doubled quotes made single.
QString string_value(const QString& literal);
// A value as a single-quoted literal.
QString quote_string(const QString& value);
// A name as a double-quoted identifier, for statements the server builds itself.
QString quote_name(const QString& name);
// The name a Word or [Bracket] token stands for.
QString name_of(const Token& t);

}  // namespace db::tsql
