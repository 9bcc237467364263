#pragma once
#include <string>

#include "storage/Schema.h"
#include "storage/Status.h"

namespace versilla::storage {

class Table;

/// Structures of the tables the system ships and works with. The data folder
/// build and the application share them.
namespace schemas {

/// Settings table "Versilla": FARBE, FARBEBACK, COPYRIGHT, GLEICH, INSTLANG,
/// DEVICENR, MELODIE, TEXTSPUR, RUNEVENTS, SPRACHE, QUANTISIER. No tags.
Schema settings();
/// Template of the assignment list "texte0": ZEIT N(11), TEXT C(99), STRZEIT
/// C(11), GESTICKS N(11), START N(3), MEHRFACH N(5), ACHTEL N(14,4);
/// tag "IPRIMAER" ascending on ZEIT (KeyKind::Signed, so negatives sort first).
Schema assignmentTemplate();
/// Template of the tempo table "tempo0": NR N(6), GESTICKS N(11);
/// tag "IPRIMAER" ascending on GESTICKS (KeyKind::Signed).
Schema tempoTemplate();
/// Caption table "Objekte": SPRACHE N(2), FORM N(2), OBJEKT C(30), CAPTION C(254),
/// HINT C(254); tag "IPRIMAER" on the 34-character caption key
/// (keyRight(SPRACHE,2) + keyRight(FORM,2) + keyLeft(OBJEKT,30)).
Schema captions();
/// Message table "Messages": SPRACHE N(2), GRUPPE N(2), NUMMER N(3), HINWEIS
/// C(100), NACHRICHT M; tag "IPRIMAER" on the 7-character message key
/// (keyRight(SPRACHE,2) + keyRight(GRUPPE,2) + keyRight(NUMMER,3)).
Schema messages();
/// Language table "InstSpr": SPRACHE C(20), FLAGGE M (picture file bytes), NR
/// N(2); tags "IPRIMAER" on keyRight(NR,2) and "ISPRACHE" on SPRACHE (20).
Schema languages();

} // namespace schemas

/// Names of the shipped tables (aliases; the file is alias + ".dbf").
inline constexpr const char* kSettingsAlias = "Versilla";
inline constexpr const char* kAssignmentTemplateAlias = "texte0";
inline constexpr const char* kAssignmentAlias = "texte";
inline constexpr const char* kTempoTemplateAlias = "tempo0";
inline constexpr const char* kTempoAlias = "tempo";
inline constexpr const char* kCaptionsAlias = "Objekte";
inline constexpr const char* kMessagesAlias = "Messages";
inline constexpr const char* kLanguagesAlias = "InstSpr";
inline constexpr const char* kPrimaryTag = "IPRIMAER";
inline constexpr const char* kLanguageNameTag = "ISPRACHE";

/// Read-only colour of a new settings row (red, green and blue 192).
inline constexpr int kDefaultReadOnlyColour = 12632256;

/// Makes `settings` (open read-write) hold exactly one row: removes all rows,
/// appends a blank one, writes FARBE = 12632256 and stores it; every other field
/// stays blank. Fails with the table's error.
Status resetSettingsRow(Table& settings);

/// The row the data folder ships with: as resetSettingsRow(), plus SPRACHE 0,
/// QUANTISIER 0 and COPYRIGHT, GLEICH, RUNEVENTS false.
Status writeShippedSettingsRow(Table& settings);

} // namespace versilla::storage
