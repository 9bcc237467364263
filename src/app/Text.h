#pragma once
#include <QString>

#include <string>
#include <string_view>

namespace versilla::app {

/// Windows-1252 bytes (tables, song texts) as a QString for a widget. Never fails.
QString toQString(std::string_view cp1252);

/// A widget's text as Windows-1252 bytes; characters the code page cannot hold
/// become '?'. Never fails.
std::string fromQString(const QString& text);

} // namespace versilla::app
