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

// Whether the text is a number of a column of that numeric type ([+-]digits for Integer;
// with a fraction and an exponent for Decimal and Double).
bool valid_number(ColumnType type, std::string_view value);
// Brings a date-time to 'YYYY-MM-DD HH:MM:SS.fff'; false when it is none.
bool normalize_datetime(std::string& value);

// Checks the text a column of `type` holds and brings it to its one form: date-times get
// 'YYYY-MM-DD HH:MM:SS.fff'. False when it is no value of that type.
bool normalize(ColumnType type, std::string& value);

// Whether the bytes are well-formed UTF-8.
bool valid_utf8(std::string_view bytes);

}  // namespace db::text_form
