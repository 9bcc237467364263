#pragma once
// Internal to the table layer: the text form of field values in a record.
// Not part of the public API.
#include <string>
#include <string_view>

#include "storage/Schema.h"

namespace versilla::storage::detail {

/// `value` with the field's decimals; `fits` tells whether it fits the width.
std::string formatNumber(double value, const FieldDef& f, bool& fits);
/// Without trailing blanks and NULs.
std::string trimRight(std::string_view s);
/// Without leading blanks and trailing blanks and NULs.
std::string trimBoth(std::string_view s);
/// A number field's text as a value; false when it is blank or not a number.
bool parseNumber(std::string_view text, double& value);

} // namespace versilla::storage::detail
