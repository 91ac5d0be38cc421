#include "db/tsql_store.h"

#include <QStringList>
#include <map>
#include <optional>

#include "db/tsql_tokens.h"

namespace db::tsql {
namespace {

using Kind = Token::Kind;

bool is_name(const Token& t) { return t.kind == Kind::Word || t.kind == Kind::Bracket; }

// A statement's tokens with the places of its significant ones, which the parse walks.
class Parse {
 public:
  explicit Parse(const QString& sql) : tokens_(tokenize(sql)) {
    for (size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].kind == Kind::Space) continue;
      if (tokens_[i].is_punct('?')) {
        marker_of_[i] = markers_++;
        // "?1" numbers its markers: their order is not the order of the values.
        if (i + 1 < tokens_.size() && tokens_[i + 1].kind == Kind::Number) numbered_ = true;
      }
      sig_.push_back(i);
    }
    // A trailing ';' ends the statement and belongs to none of its parts.
    while (!sig_.empty() && tok(sig_.size() - 1).is_punct(';')) sig_.pop_back();
  }

  size_t size() const { return sig_.size(); }
  const Token& tok(size_t k) const { return tokens_[sig_[k]]; }
  bool punct(size_t k, char c) const { return k < size() && tok(k).is_punct(c); }
  bool word(size_t k, const char* w) const { return k < size() && tok(k).is(w); }

  // [db.][owner.]name: the last part, with k moved past it.
  std::optional<QString> table_name(size_t& k) const {
    std::optional<QString> name;
    while (k < size()) {
      if (is_name(tok(k))) name = name_of(tok(k++));
      if (!punct(k, '.')) break;
      ++k;
    }
    return name;
  }

  // The end (one past) of the expression that starts at k: the first ',' or ')' outside
  // parentheses, or one of the words `stops` there.
  size_t expression_end(size_t k, std::initializer_list<const char*> stops = {}) const {
    int depth = 0;
    for (; k < size(); ++k) {
      const Token& t = tok(k);
      if (t.is_punct('(')) {
        ++depth;
      } else if (t.is_punct(')')) {
        if (depth-- == 0) break;
      } else if (depth == 0) {
        if (t.is_punct(',')) break;
        bool stop = false;
        for (const char* w : stops) stop = stop || t.is(w);
        if (stop) break;
      }
    }
    return k;
  }

  // The expression [from, to) is the value of a column of `type`.
  void store(size_t from, size_t to, const QString& type) {
    if (to - from == 1 && tok(from).is_punct('?') && !numbered_) {
      marker_types_.resize(static_cast<size_t>(markers_));
      marker_types_[static_cast<size_t>(marker_of_.at(sig_[from]))] = type;
      return;
    }
    wraps_.push_back({sig_[from], sig_[to - 1], type});
  }

  StoreStatement result() {
    for (const Wrap& w : wraps_) {
      tokens_[w.first].text.prepend(QStringLiteral("tsql_store("));
      tokens_[w.last].text += QStringLiteral(", ") + quote_string(w.type) + QLatin1Char(')');
    }
    return {join(tokens_), marker_types_};
  }

  // The text of the tokens [from, to) of the significant ones, spaces between them included.
  QString text(size_t from, size_t to) const {
    QString out;
    for (size_t i = sig_[from]; i <= sig_[to - 1]; ++i) out += tokens_[i].text;
    return out;
  }
  QString head(size_t k) const {
    QString out;
    for (size_t i = 0; i < sig_[k]; ++i) out += tokens_[i].text;
    return out;
  }

 private:
  struct Wrap {
    size_t first, last;
    QString type;
  };
  std::vector<Token> tokens_;
  std::vector<size_t> sig_;
  std::map<size_t, int> marker_of_;
  int markers_ = 0;
  bool numbered_ = false;
  std::vector<QString> marker_types_;
  std::vector<Wrap> wraps_;
};

const TargetColumn* find(const std::vector<TargetColumn>& cols, const QString& name) {
  for (const TargetColumn& c : cols)
    if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
  return nullptr;
}

// The columns an insert names, or all of the table's; nothing when one is unknown.
std::optional<std::vector<TargetColumn>> insert_targets(Parse& p, size_t& k,
                                                        const std::vector<TargetColumn>& table) {
  if (!p.punct(k, '(')) return table;
  std::vector<TargetColumn> out;
  for (++k; k < p.size(); ++k) {
    if (!is_name(p.tok(k))) return std::nullopt;
    const TargetColumn* c = find(table, name_of(p.tok(k)));
    if (!c) return std::nullopt;
    out.push_back(*c);
    if (p.punct(++k, ')')) return ++k, out;
    if (!p.punct(k, ',')) return std::nullopt;
  }
  return std::nullopt;
}

bool any_converts(const std::vector<TargetColumn>& cols, const Converts& converts) {
  for (const TargetColumn& c : cols)
    if (converts(c.type)) return true;
  return false;
}

std::optional<StoreStatement> insert_values(Parse& p, size_t k,
                                            const std::vector<TargetColumn>& targets,
                                            const Converts& converts) {
  ++k;  // values
  for (;;) {
    if (!p.punct(k, '(')) return std::nullopt;
    ++k;
    for (size_t i = 0;; ++i) {
      const size_t end = p.expression_end(k);
      if (i >= targets.size() || end == k || end == p.size()) return std::nullopt;
      if (converts(targets[i].type)) p.store(k, end, targets[i].type);
      k = end + 1;
      if (p.punct(end, ')')) {
        if (i + 1 != targets.size()) return std::nullopt;
        break;
      }
    }
    if (!p.punct(k, ',')) break;
    ++k;
  }
  return p.result();
}

// insert … select …: the select becomes the source of a select that converts its columns.
StoreStatement insert_select(const Parse& p, size_t k, const std::vector<TargetColumn>& targets,
                             const Converts& converts) {
  QStringList names, values;
  for (size_t i = 0; i < targets.size(); ++i) {
    const QString name = quote_name(QStringLiteral("tsql_%1").arg(i + 1));
    names << name;
    values << (converts(targets[i].type)
                   ? QStringLiteral("tsql_store(%1, %2)").arg(name, quote_string(targets[i].type))
                   : name);
  }
  return {QStringLiteral("with \"tsql_source\" (%1) as (%2) %3select %4 from \"tsql_source\"")
              .arg(names.join(QStringLiteral(", ")), p.text(k, p.size()), p.head(k),
                   values.join(QStringLiteral(", "))),
          {}};
}

std::optional<StoreStatement> insert(Parse& p, const ColumnLookup& columns,
                                     const Converts& converts) {
  size_t k = 1;
  if (p.word(k, "into")) ++k;
  const std::optional<QString> table = p.table_name(k);
  if (!table) return std::nullopt;
  const std::vector<TargetColumn> all = columns(*table);
  if (all.empty()) return std::nullopt;
  const auto targets = insert_targets(p, k, all);
  if (!targets || !any_converts(*targets, converts)) return std::nullopt;
  if (p.word(k, "values")) return insert_values(p, k, *targets, converts);
  if (p.word(k, "select") || p.punct(k, '(')) return insert_select(p, k, *targets, converts);
  return std::nullopt;
}

std::optional<StoreStatement> update(Parse& p, const ColumnLookup& columns,
                                     const Converts& converts) {
  size_t k = 1;
  const std::optional<QString> table = p.table_name(k);
  if (!table || !p.word(k, "set")) return std::nullopt;
  const std::vector<TargetColumn> cols = columns(*table);
  if (cols.empty()) return std::nullopt;
  ++k;
  for (;;) {
    // [table.]column = expression
    size_t at = k;
    const std::optional<QString> name = p.table_name(at);
    if (!name || !p.punct(at, '=')) return std::nullopt;
    const TargetColumn* c = find(cols, *name);
    if (!c) return std::nullopt;
    const size_t from = at + 1;
    const size_t end = p.expression_end(from, {"from", "where", "option"});
    if (end == from) return std::nullopt;
    if (converts(c->type)) p.store(from, end, c->type);
    if (!p.punct(end, ',')) {
      if (end < p.size() && p.tok(end).is_punct(')')) return std::nullopt;
      break;
    }
    k = end + 1;
  }
  return p.result();
}

}  // namespace

StoreStatement store_values(const QString& sql, const ColumnLookup& columns,
                            const Converts& converts) {
  Parse p(sql);
  std::optional<StoreStatement> out;
  if (p.word(0, "insert"))
    out = insert(p, columns, converts);
  else if (p.word(0, "update"))
    out = update(p, columns, converts);
  return out ? *out : StoreStatement{sql, {}};
}

}  // namespace db::tsql
