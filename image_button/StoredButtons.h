#pragma once

#include <optional>
#include "Str.h"
#include <string_view>
#include <utility>
#include <vector>

#include "PropertyStore.h"

namespace pelorin {

// A window's stored button instances, as readable text: a "[name]" line opens an instance,
// then one property per line as key, type and value:
//   caption text Save
//   forecolor int32 65535
//   font font "MS Sans Serif" 8.25 700 0 0 0     (name, size, weight, italic, underline, strikeout)
//   picturenormal picture save-normal           (a picture the loader knows by that name)
// Types: int16, int32, bool, float, text, font, picture. Lines starting with '#' are notes.
// Instances in the order they first appear; a name that appears again adds to its instance.
// The editor reads none of it at run time: resources/make_button_table.py makes its own data
// into a table (StoredButton.h) at build time. This reader serves other hosts.
using StoredButtons = std::vector<std::pair<String, PropertyStore>>;
// A plain function: the programs keep std::function and its throwing call path out.
using PictureLoader = PictureRef (*)(std::string_view name);

// The instance of that name, or nothing.
const PropertyStore* FindButton(const StoredButtons& buttons, std::string_view name);

// The instances, or nothing with `error` set to the first line that could not be read.
std::optional<StoredButtons> ParseStoredButtons(std::string_view text, PictureLoader loadPicture,
                                                String& error);

}  // namespace pelorin
