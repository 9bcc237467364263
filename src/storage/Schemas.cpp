#include "storage/Schemas.h"

#include "storage/Table.h"

namespace versilla::storage {
namespace schemas {

namespace {

FieldDef c(const char* name, int width) { return {name, FieldType::Character, width, 0}; }
FieldDef n(const char* name, int width, int decimals = 0) { return {name, FieldType::Numeric, width, decimals}; }
FieldDef l(const char* name) { return {name, FieldType::Logical, 1, 0}; }
FieldDef m(const char* name) { return {name, FieldType::Memo, 10, 0}; }

} // namespace

Schema settings()
{
    Schema s;
    // DEVICENR may be -1 (the system's default device), so every number is signed-capable.
    s.fields = {n("FARBE", 10),   n("FARBEBACK", 10), l("COPYRIGHT"), l("GLEICH"),
                n("INSTLANG", 3), n("DEVICENR", 4),   n("MELODIE", 3), n("TEXTSPUR", 3),
                l("RUNEVENTS"),   n("SPRACHE", 2),    n("QUANTISIER", 2)};
    return s;
}

Schema assignmentTemplate()
{
    Schema s;
    s.fields = {n("ZEIT", 11),    c("TEXT", 99),  c("STRZEIT", 11),    n("GESTICKS", 11),
                n("START", 3),    n("MEHRFACH", 5), n("ACHTEL", 14, 4)};
    s.tags = {{kPrimaryTag, {{"ZEIT", KeyKind::Signed, 20}}, false}};
    return s;
}

Schema tempoTemplate()
{
    Schema s;
    s.fields = {n("NR", 6), n("GESTICKS", 11)};
    s.tags = {{kPrimaryTag, {{"GESTICKS", KeyKind::Signed, 20}}, false}};
    return s;
}

Schema captions()
{
    Schema s;
    s.fields = {n("SPRACHE", 2), n("FORM", 2), c("OBJEKT", 30), c("CAPTION", 254), c("HINT", 254)};
    s.tags = {{kPrimaryTag,
               {{"SPRACHE", KeyKind::Right, 2}, {"FORM", KeyKind::Right, 2}, {"OBJEKT", KeyKind::Text, 30}},
               false}};
    return s;
}

Schema messages()
{
    Schema s;
    s.fields = {n("SPRACHE", 2), n("GRUPPE", 2), n("NUMMER", 3), c("HINWEIS", 100), m("NACHRICHT")};
    s.tags = {{kPrimaryTag,
               {{"SPRACHE", KeyKind::Right, 2}, {"GRUPPE", KeyKind::Right, 2}, {"NUMMER", KeyKind::Right, 3}},
               false}};
    return s;
}

Schema languages()
{
    Schema s;
    s.fields = {c("SPRACHE", 20), m("FLAGGE"), n("NR", 2)};
    s.tags = {{kPrimaryTag, {{"NR", KeyKind::Right, 2}}, false},
              {kLanguageNameTag, {{"SPRACHE", KeyKind::Text, 20}}, false}};
    return s;
}

} // namespace schemas

Status resetSettingsRow(Table& settings)
{
    if (auto st = settings.zap(); !st)
        return st;
    if (auto st = settings.appendBlank(); !st)
        return st;
    if (auto st = settings.replaceInteger("FARBE", kDefaultReadOnlyColour); !st)
        return st;
    return settings.unlock();
}

Status writeShippedSettingsRow(Table& settings)
{
    if (auto st = settings.zap(); !st)
        return st;
    if (auto st = settings.appendBlank(); !st)
        return st;
    Status st = settings.replaceInteger("FARBE", kDefaultReadOnlyColour);
    if (st)
        st = settings.replaceInteger("SPRACHE", 0);
    if (st)
        st = settings.replaceInteger("QUANTISIER", 0);
    if (st)
        st = settings.replaceBoolean("COPYRIGHT", false);
    if (st)
        st = settings.replaceBoolean("GLEICH", false);
    if (st)
        st = settings.replaceBoolean("RUNEVENTS", false);
    if (!st) {
        settings.cancel();
        return st;
    }
    return settings.unlock();
}

} // namespace versilla::storage
