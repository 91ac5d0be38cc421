#pragma once
// The data store's text form: one row per line (LF), columns separated by tabs, no heading
// line, UTF-8. A null is \N; inside a text a backslash is \\, a tab \t, a line feed \n and a
// carriage return \r, so every value, '' included, reads back as it was written. Numbers are
// written in their exact text, date-times as 'YYYY-MM-DD HH:MM:SS.fff'.
#include <string>
#include <string_view>

#include "db/table_definitions.h"

namespace db::text_form {

inline constexpr std::string_view kNull = "\\N";

// Appends a value with tab, line ends and backslash escaped.
void append_escaped(std::string& out, std::string_view value);

// Appends a field's value with its escapes undone; false on an unknown escape or a lone
// backslash at the end. (The caller recognises \N first.)
bool append_unescaped(std::string& out, std::string_view field);

// Whether the text is a number that a column of that numeric type holds as written:
// [+-]digits within 64 bits for Integer; with a fraction and an exponent for Decimal and
// Double, within a double's range (no overflow to infinity, no underflow to zero), and for
// Decimal below 10^38, SQL Server's largest decimal.
bool valid_number(ColumnType type, std::string_view value);
// A valid number with more places than `scale`, rounded half away from zero to `scale`
// places as SQL Server stores it in a decimal column ("0.125" at 2: "0.13"); false, and the
// text untouched, when it has no more places.
bool round_decimal(std::string& value, int scale);
// Brings a date-time to 'YYYY-MM-DD HH:MM:SS.fff'; false when it is none.
bool normalize_datetime(std::string& value);
// Whether the text is a date-time in exactly that form.
bool canonical_datetime(std::string_view value);

// Checks the text a column holds and brings it to its one form: date-times get
// 'YYYY-MM-DD HH:MM:SS.fff' (a finer fraction than milliseconds is no date-time of SQL
// Server's), decimals are rounded to the column's scale. False when it is no value of the
// column's type.
bool normalize(const ColumnDef& column, std::string& value);

// Whether the bytes are well-formed UTF-8.
bool valid_utf8(std::string_view bytes);
// How many bytes at the start are well-formed UTF-8 (all of them when valid_utf8).
size_t valid_utf8_prefix(std::string_view bytes);

}  // namespace db::text_form
