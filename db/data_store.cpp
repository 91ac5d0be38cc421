#include "db/data_store.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "db/text_form.h"
#include "runtime/whole_file.h"

namespace db {
namespace {

constexpr size_t kArenaLimit = std::numeric_limits<quint32>::max();

std::optional<double> to_number(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double d = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return d;
}

}  // namespace

bool DataStore::set_dataobject(const QString& name) {
  const TableDefinition* d = find_table_definition(name);
  if (d)
    def_ = *d;
  else
    def_.reset();
  sort_.clear();
  current_column_ = 1;
  reset();
  return d != nullptr;
}

int DataStore::settransobject(Transaction& t) {
  trans_ = &t;
  return 1;
}

int DataStore::reset() {
  arena_.clear();
  cells_.clear();
  is_new_.clear();
  rows_.clear();
  deleted_retrieved_ = 0;
  return 1;
}

int DataStore::column_index(const QString& name) const {
  if (!def_) return -1;
  for (size_t i = 0; i < def_->columns.size(); ++i)
    if (def_->columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

bool DataStore::is_numeric(int column) const {
  const ColumnType t = def_->columns[static_cast<size_t>(column)].type;
  return t == ColumnType::Integer || t == ColumnType::Decimal || t == ColumnType::Double;
}

void DataStore::append_row_from(Statement& st) {
  std::string t;
  for (size_t i = 0; i < def_->columns.size(); ++i) {
    if (!st.column_cell(static_cast<int>(i), t)) {
      cells_.push_back({});
      continue;
    }
    if (def_->columns[i].type == ColumnType::DateTime) text_form::normalize_datetime(t);
    cells_.push_back({static_cast<quint32>(arena_.size()), static_cast<qint32>(t.size())});
    arena_ += t;
  }
  is_new_.push_back(false);
  rows_.push_back(static_cast<quint32>(is_new_.size() - 1));
}

long DataStore::retrieve(const std::vector<Value>& arguments) {
  reset();
  if (!def_ || !trans_) return -1;
  if (arguments.size() != def_->arguments.size()) {
    trans_->set_result(false, {-1, QStringLiteral("%1 takes %2 retrieval arguments, not %3.")
                                       .arg(def_->name)
                                       .arg(def_->arguments.size())
                                       .arg(arguments.size())});
    return -1;
  }
  auto st = trans_->prepare(def_->select_sql);
  if (!st) return -1;
  DbError err;
  if (!st->bind(arguments, err) || !st->execute(err)) {
    trans_->set_result(false, err);
    return -1;
  }
  while (st->fetch(err)) {
    if (static_cast<size_t>(st->column_count()) < def_->columns.size()) {
      trans_->set_result(false, {-1, QStringLiteral("The select of %1 gives fewer columns than "
                                                    "it defines.")
                                         .arg(def_->name)});
      reset();
      return -1;
    }
    if (arena_.size() > kArenaLimit / 2) {
      trans_->set_result(false, {-1, QStringLiteral("Too many rows for one data store.")});
      reset();
      return -1;
    }
    append_row_from(*st);
  }
  if (!err.text.isEmpty()) {
    trans_->set_result(false, err);
    reset();
    return -1;
  }
  trans_->set_result(true, {});
  trans_->sqlnrows = rowcount();
  return rowcount();
}

int DataStore::saveas(const QString& path) const {
  if (!def_) return -1;
  const size_t ncols = def_->columns.size();
  std::string out;
  out.reserve(arena_.size() + rows_.size() * ncols * 2);
  for (quint32 r : rows_) {
    const Cell* c = &cells_[r * ncols];
    for (size_t i = 0; i < ncols; ++i) {
      if (i > 0) out += '\t';
      if (c[i].size < 0)
        out += text_form::kNull;
      else
        text_form::append_escaped(out, text(c[i]));
    }
    out += '\n';
  }
  return rt::write_whole_file(path, QByteArray::fromRawData(out.data(), qsizetype(out.size())))
             ? 1
             : -1;
}

long DataStore::refuse(long line, size_t column, std::string_view field, const char* reason) {
  ImportRefusal r;
  r.line = line;
  if (column < def_->columns.size()) r.column = def_->columns[column].name;
  // Enough of the field to find it by; bytes that are not UTF-8 are shown by their number.
  constexpr size_t kShown = 200;
  const std::string_view shown = field.substr(0, kShown);
  for (size_t i = 0; i < shown.size();) {
    const size_t good = text_form::valid_utf8_prefix(shown.substr(i));
    r.value += QString::fromUtf8(shown.data() + i, static_cast<qsizetype>(good));
    i += good;
    if (i < shown.size())
      r.value +=
          QStringLiteral("\\x%1").arg(static_cast<uchar>(shown[i++]), 2, 16, QLatin1Char('0'));
  }
  if (field.size() > kShown) r.value += QStringLiteral("...");
  r.reason = QString::fromUtf8(reason);
  refusal_ = std::move(r);
  return kBadInput;
}

long DataStore::importfile(const QString& path) {
  refusal_.reset();
  if (!def_) return kNoDefinition;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return kCannotOpen;
  // Mapped rather than read: a large export is parsed where it lies, without a copy.
  QByteArray bytes;
  std::string_view data;
  if (const qint64 size = f.size(); size > 0) {
    if (const uchar* p = f.map(0, size))
      data = {reinterpret_cast<const char*>(p), static_cast<size_t>(size)};
  }
  if (data.empty()) {
    bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return kCannotOpen;
    data = {bytes.constData(), static_cast<size_t>(bytes.size())};
  }
  if (data.empty()) return kNoRows;
  if (const size_t good = text_form::valid_utf8_prefix(data); good < data.size()) {
    const size_t line_start =
        data.rfind('\n', good) == std::string_view::npos ? 0 : data.rfind('\n', good) + 1;
    const std::string_view head = data.substr(line_start, good - line_start);
    const size_t field_start =
        head.rfind('\t') == std::string_view::npos ? 0 : head.rfind('\t') + 1;
    size_t field_end = data.find_first_of("\t\n", good);
    if (field_end == std::string_view::npos) field_end = data.size();
    return refuse(static_cast<long>(std::count(data.begin(), data.begin() + good, '\n')) + 1,
                  static_cast<size_t>(std::count(head.begin(), head.end(), '\t')),
                  data.substr(line_start + field_start, field_end - line_start - field_start),
                  "不是UTF-8编码的文字");
  }

  const size_t ncols = def_->columns.size();
  const size_t arena_before = arena_.size(), cells_before = cells_.size();
  const size_t rows_before = is_new_.size();
  auto undo = [&](long code) {
    arena_.resize(arena_before);
    cells_.resize(cells_before);
    is_new_.resize(rows_before);
    return code;
  };
  if (arena_before + data.size() > kArenaLimit) return kTooLarge;
  const size_t lines = static_cast<size_t>(std::count(data.begin(), data.end(), '\n')) + 1;
  arena_.reserve(arena_before + data.size());
  cells_.reserve(cells_before + lines * ncols);

  std::string scratch;
  size_t pos = 0;
  long line_no = 0;
  while (pos < data.size()) {
    ++line_no;
    size_t end = data.find('\n', pos);
    if (end == std::string_view::npos) end = data.size();
    std::string_view line = data.substr(pos, end - pos);
    // A real CR inside a value is written \r, so a CR before the LF is a line end.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    size_t column = 0;
    size_t start = 0;
    for (;;) {
      size_t tab = line.find('\t', start);
      if (tab == std::string_view::npos) tab = line.size();
      std::string_view field = line.substr(start, tab - start);
      const std::string_view given = field;
      if (column == ncols)
        return undo(
            refuse(line_no, column, given, ("多于" + std::to_string(ncols) + "列").c_str()));
      const ColumnDef& def = def_->columns[column];
      if (field == text_form::kNull || (field.empty() && def.type != ColumnType::Text)) {
        cells_.push_back({});
      } else {
        // A text without escapes is taken as it stands; anything else is unescaped, checked
        // and brought to its one form.
        if (def.type != ColumnType::Text || field.find('\\') != std::string_view::npos) {
          scratch.clear();
          if (!text_form::append_unescaped(scratch, field))
            return undo(refuse(line_no, column, given, "转义符有误"));
          if (!text_form::normalize(def, scratch))
            return undo(refuse(line_no, column, given, "不是该列类型的值"));
          field = scratch;
        }
        // A cell's size is 32-bit; SQL Server's largest text is 2 GB as well.
        if (field.size() > static_cast<size_t>(std::numeric_limits<qint32>::max()))
          return undo(refuse(line_no, column, given, "超过2GB"));
        if (arena_.size() + field.size() > kArenaLimit) return undo(kTooLarge);
        cells_.push_back({static_cast<quint32>(arena_.size()), static_cast<qint32>(field.size())});
        arena_.append(field);
      }
      ++column;
      if (tab == line.size()) break;
      start = tab + 1;
    }
    if (column != ncols)
      return undo(refuse(
          line_no, column, {},
          ("只有" + std::to_string(column) + "列,应为" + std::to_string(ncols) + "列").c_str()));
    is_new_.push_back(true);
  }
  for (size_t r = rows_before; r < is_new_.size(); ++r) rows_.push_back(static_cast<quint32>(r));
  return static_cast<long>(is_new_.size() - rows_before);
}

int DataStore::setcolumn(int column) {
  if (!def_ || column < 1 || column > static_cast<int>(def_->columns.size())) return -1;
  current_column_ = column;
  return 1;
}

QString DataStore::getcolumnname() const {
  if (!def_ || current_column_ > static_cast<int>(def_->columns.size())) return {};
  return def_->columns[static_cast<size_t>(current_column_ - 1)].name;
}

int DataStore::setsort(const QString& criteria) {
  std::vector<std::pair<int, bool>> keys;
  for (const QString& part : criteria.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QStringList words = part.simplified().split(QLatin1Char(' '));
    const int col = column_index(words[0]);
    if (col < 0 || words.size() > 2) return -1;
    bool ascending = true;
    if (words.size() == 2) {
      if (words[1].compare(QStringLiteral("D"), Qt::CaseInsensitive) == 0)
        ascending = false;
      else if (words[1].compare(QStringLiteral("A"), Qt::CaseInsensitive) != 0)
        return -1;
    }
    keys.emplace_back(col, ascending);
  }
  sort_ = std::move(keys);
  return 1;
}

int DataStore::sort() {
  if (!def_) return -1;
  const size_t ncols = def_->columns.size();
  // Numbers are parsed once per row, not once per comparison.
  std::vector<std::vector<double>> numbers(sort_.size());
  for (size_t k = 0; k < sort_.size(); ++k) {
    if (!is_numeric(sort_[k].first)) continue;
    numbers[k].resize(is_new_.size());
    for (quint32 r : rows_) {
      const Cell& c = cells_[r * ncols + static_cast<size_t>(sort_[k].first)];
      if (c.size >= 0) numbers[k][r] = to_number(text(c)).value_or(0);
    }
  }
  std::stable_sort(rows_.begin(), rows_.end(), [&](quint32 a, quint32 b) {
    for (size_t k = 0; k < sort_.size(); ++k) {
      const auto [col, ascending] = sort_[k];
      const Cell& ca = cells_[a * ncols + static_cast<size_t>(col)];
      const Cell& cb = cells_[b * ncols + static_cast<size_t>(col)];
      int order;
      if (ca.size < 0 || cb.size < 0)
        order = (ca.size < 0 ? 0 : 1) - (cb.size < 0 ? 0 : 1);
      else if (!numbers[k].empty())
        order = numbers[k][a] < numbers[k][b] ? -1 : numbers[k][b] < numbers[k][a] ? 1 : 0;
      else
        order = text(ca).compare(text(cb));
      if (order != 0) return ascending ? order < 0 : order > 0;
    }
    return false;
  });
  return 1;
}

const DataStore::Cell* DataStore::cell(long row, const QString& column) const {
  const int col = column_index(column);
  if (col < 0 || row < 1 || row > rowcount()) return nullptr;
  const Cell& c =
      cells_[rows_[static_cast<size_t>(row - 1)] * def_->columns.size() + static_cast<size_t>(col)];
  return c.size < 0 ? nullptr : &c;
}

std::optional<double> DataStore::getitemnumber(long row, const QString& column) const {
  const Cell* c = cell(row, column);
  return c ? to_number(text(*c)) : std::nullopt;
}

std::optional<QString> DataStore::getitemstring(long row, const QString& column) const {
  const Cell* c = cell(row, column);
  if (!c) return std::nullopt;
  const std::string_view t = text(*c);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

int DataStore::deleterow(long row) {
  if (row < 1 || row > rowcount()) return -1;
  const auto it = rows_.begin() + (row - 1);
  if (!is_new_[*it]) ++deleted_retrieved_;
  rows_.erase(it);
  return 1;
}

int DataStore::update() {
  if (!trans_) return -1;
  if (!def_ || def_->update_table.isEmpty()) {
    trans_->set_result(false, {-1, QStringLiteral("The data store has no table to update.")});
    return -1;
  }
  if (deleted_retrieved_ > 0) {
    trans_->set_result(false, {-1, QStringLiteral("Deleting retrieved rows is not supported; "
                                                  "nothing was stored.")});
    return -1;
  }
  const size_t ncols = def_->columns.size();
  std::vector<quint32> pending;
  for (quint32 r : rows_)
    if (is_new_[r]) pending.push_back(r);
  if (pending.empty()) {
    trans_->set_result(true, {});
    trans_->sqlnrows = 0;
    return 1;
  }
  QStringList names, markers;
  for (const ColumnDef& c : def_->columns) {
    names << c.name;
    markers << QStringLiteral("?");
  }
  const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                          .arg(def_->update_table, names.join(QStringLiteral(", ")),
                               markers.join(QStringLiteral(", ")));
  if (!trans_->begin_unit()) return -1;
  DbError err;
  bool ok = false;
  {
    std::unique_ptr<Statement> st = trans_->prepare(sql);
    if (st) {
      err = {};
      std::vector<TextCell> bound(ncols);
      ok = true;
      for (quint32 r : pending) {
        const Cell* c = &cells_[r * ncols];
        for (size_t i = 0; i < ncols; ++i)
          bound[i] = c[i].size < 0 ? TextCell{} : TextCell{arena_.data() + c[i].offset, c[i].size};
        if (!st->bind_texts(bound.data(), static_cast<int>(ncols), err) || !st->execute(err)) {
          ok = false;
          break;
        }
      }
    } else {
      err = {trans_->db_error_code, trans_->db_error_text};
    }
  }
  if (!ok) {
    trans_->end_unit(false);
    trans_->set_result(false, err);
    return -1;
  }
  if (!trans_->end_unit(true)) return -1;
  for (quint32 r : pending) is_new_[r] = false;
  trans_->set_result(true, {});
  trans_->sqlnrows = static_cast<long>(pending.size());
  return 1;
}

}  // namespace db
