#pragma once
// Comma text: the one field rule for driver lines, spot lines and colour chart
// values. Fields are separated by commas; blanks around a field are skipped; a
// field that starts with a double quote runs to the matching quote (a doubled
// quote inside stands for one); an unquoted field ends at the next comma or
// blank; two commas in a row give an empty field, a trailing comma a final
// empty field.
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

std::vector<std::string> SplitCommaText(std::string_view text);
// Quotes every field that holds a blank, a comma or a quote, or is empty
// between others, so SplitCommaText gives the fields back.
std::string JoinCommaText(const std::vector<std::string>& fields);

// The four escapes of message and file texts: backslash-r is a carriage
// return, backslash-t a tab, backslash-quote a quote, two backslashes one
// backslash; a backslash before anything else stands for itself.
std::string DecodeEscapes(std::string_view text);

}  // namespace corvan
