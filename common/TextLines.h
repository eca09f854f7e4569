#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

// The system's text files are single-byte text whose lines end in CR LF. A line is read up
// to a CR or a CR LF pair; a lone LF does not end a line and stays inside it. A file that
// ends with a line end has no empty line after it.
std::vector<String> SplitLines(std::string_view text);

// Every line followed by CR LF.
String JoinLines(const std::vector<String>& lines);

}  // namespace pelorin
