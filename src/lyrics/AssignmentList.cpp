#include "lyrics/AssignmentList.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>

#include "core/TimeText.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

namespace versilla::lyrics {

using storage::Status;

namespace {

constexpr const char* kZeit = "ZEIT";
constexpr const char* kText = "TEXT";
constexpr const char* kStrzeit = "STRZEIT";
constexpr const char* kGesticks = "GESTICKS";
constexpr const char* kStart = "START";
constexpr const char* kMehrfach = "MEHRFACH";
constexpr const char* kAchtel = "ACHTEL";

bool iequals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if ((ca >= 'a' && ca <= 'z' ? ca - 32 : ca) != (cb >= 'a' && cb <= 'z' ? cb - 32 : cb))
            return false;
    }
    return true;
}

std::int32_t clamp32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string_view trimBoth(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool parseInt(std::string_view text, std::int32_t& out)
{
    text = trimBoth(text);
    if (text.empty()) {
        out = 0;
        return true;
    }
    if (text.front() == '+')
        text.remove_prefix(1);
    std::int64_t v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size())
        return false;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool parseReal(std::string_view text, double& out)
{
    const std::string s(trimBoth(text));
    if (s.empty()) {
        out = 0.0;
        return true;
    }
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size())
        return false;
    out = v;
    return true;
}

Refusal refuse(MessageId id, std::string append, std::string focus)
{
    return Refusal{id, std::move(append), std::move(focus), PromptIcon::Error};
}

} // namespace

struct AssignmentList::Impl {
    storage::Table table;
    ListMarks marks;
    SaveContext context;
    std::vector<ListListener*> listeners;
    int bulkDepth = 0;

    /// Stored rows in list order; a new row in edit state is the last element.
    std::vector<Row> rows;
    /// recNo -> list position (-1: none).
    std::vector<int> posByRec;
    bool indexOn = true;
    int current = -1;
    bool atBof = true;

    EditState state = EditState::Browse;
    int editPos = -1;
    int currentBeforeInsert = -1;
    Row buffer;
    Row blank;
    std::size_t textWidth = 99;
    std::size_t strzeitWidth = 11;

    // ---- notifications ---------------------------------------------------------
    template <class F> void perRow(F&& f)
    {
        if (bulkDepth > 0)
            return;
        for (ListListener* l : listeners)
            f(*l);
    }
    template <class F> void always(F&& f)
    {
        for (ListListener* l : listeners)
            f(*l);
    }
    void aboutToReset() { perRow([](ListListener& l) { l.aboutToReset(); }); }
    void resetDone() { perRow([](ListListener& l) { l.reset(); }); }
    void currentChanged() { always([this](ListListener& l) { l.currentChanged(current); }); }
    void marksChanged() { always([](ListListener& l) { l.marksChanged(); }); }

    // ---- order -----------------------------------------------------------------
    int storedCount() const
    {
        return static_cast<int>(rows.size()) - (state == EditState::Insert ? 1 : 0);
    }

    bool before(const Row& a, const Row& b) const
    {
        if (indexOn && a.zeit != b.zeit)
            return a.zeit < b.zeit;
        return a.recNo < b.recNo;
    }

    void indexRange(int from, int to)
    {
        for (int i = std::max(from, 0); i < std::min<int>(to, static_cast<int>(rows.size())); ++i) {
            const std::uint32_t r = rows[static_cast<std::size_t>(i)].recNo;
            if (r == 0)
                continue;
            if (posByRec.size() <= r)
                posByRec.resize(std::size_t{r} + 1, -1);
            posByRec[r] = i;
        }
    }

    void reindexAll()
    {
        posByRec.assign(posByRec.size(), -1);
        indexRange(0, static_cast<int>(rows.size()));
    }

    void sortAll()
    {
        std::stable_sort(rows.begin(), rows.begin() + storedCount(),
                         [this](const Row& a, const Row& b) { return before(a, b); });
        reindexAll();
    }

    /// Moves the row at `from` (its values already stored in `values`) to where
    /// `values` belongs among the stored rows; returns its new position.
    int place(int from, const Row& values)
    {
        const int n = storedCount();
        auto b = rows.begin();
        int to = from;
        // Left of `from`: the first row the new values sort before.
        const int left = static_cast<int>(
            std::upper_bound(b, b + from, values, [this](const Row& v, const Row& r) { return before(v, r); }) - b);
        if (left < from) {
            to = left;
        } else {
            // Right of `from`: count the rows that sort before the new values.
            const int right = static_cast<int>(
                std::lower_bound(b + from + 1, b + n, values, [this](const Row& r, const Row& v) { return before(r, v); }) -
                b);
            to = right - 1;
        }
        if (to != from) {
            perRow([&](ListListener& l) { l.aboutToMove(from, to); });
            if (to < from)
                std::rotate(b + to, b + from, b + from + 1);
            else
                std::rotate(b + from, b + from + 1, b + to + 1);
            rows[static_cast<std::size_t>(to)] = values;
            indexRange(std::min(from, to), std::max(from, to) + 1);
            perRow([&](ListListener& l) { l.moved(from, to); });
        } else {
            rows[static_cast<std::size_t>(to)] = values;
            indexRange(to, to + 1);
        }
        perRow([&](ListListener& l) { l.changed(to); });
        return to;
    }

    // ---- table -----------------------------------------------------------------
    Row readCurrent() const
    {
        Row r;
        r.zeit = clamp32(table.fieldAsInteger(kZeit));
        r.text = table.fieldAsString(kText);
        r.strzeit = table.fieldAsString(kStrzeit);
        r.gesticks = clamp32(table.fieldAsInteger(kGesticks));
        r.start = clamp32(table.fieldAsInteger(kStart));
        r.mehrfach = clamp32(table.fieldAsInteger(kMehrfach));
        r.achtel = table.fieldAsDouble(kAchtel);
        r.recNo = table.recNo();
        return r;
    }

    Status writeFields(const Row& r)
    {
        if (auto st = table.replaceInteger(kZeit, r.zeit); !st)
            return st;
        if (auto st = table.replaceString(kText, r.text); !st)
            return st;
        if (auto st = table.replaceString(kStrzeit, r.strzeit); !st)
            return st;
        if (auto st = table.replaceInteger(kGesticks, r.gesticks); !st)
            return st;
        if (auto st = table.replaceInteger(kStart, r.start); !st)
            return st;
        if (auto st = table.replaceInteger(kMehrfach, r.mehrfach); !st)
            return st;
        return table.replaceDouble(kAchtel, r.achtel);
    }

    /// Stores `r`: appended when it has no record number yet (its number is set),
    /// otherwise written over its record.
    Status store(Row& r)
    {
        if (r.recNo == 0) {
            if (auto st = table.appendStart(); !st)
                return st;
            if (auto st = writeFields(r); !st) {
                table.cancel();
                return st;
            }
            if (auto st = table.appendEnd(); !st)
                return st;
            r.recNo = table.recNo();
            return Status::success();
        }
        if (auto st = table.go(r.recNo); !st)
            return st;
        if (auto st = table.recordLock(); !st)
            return st;
        if (auto st = writeFields(r); !st) {
            table.cancel();
            return st;
        }
        return table.unlock();
    }

    Status load()
    {
        rows.clear();
        posByRec.assign(std::size_t{table.recCount()} + 1, -1);
        if (auto st = table.setTag(indexOn ? storage::kPrimaryTag : ""); !st)
            return st;
        for (table.goTop(); !table.eof(); table.skip())
            rows.push_back(readCurrent());
        // The table's tag orders equal ZEIT by record number, as the list does;
        // sorting again keeps the mirror exact even for keys the tag cuts.
        sortAll();
        return Status::success();
    }

    void readWidths()
    {
        for (const auto& f : table.fields()) {
            if (iequals(f.name, kText))
                textWidth = static_cast<std::size_t>(f.width);
            else if (iequals(f.name, kStrzeit))
                strzeitWidth = static_cast<std::size_t>(f.width);
        }
    }

    void dropEdit()
    {
        if (state == EditState::Insert) {
            const int pos = editPos;
            perRow([&](ListListener& l) { l.aboutToRemove(pos); });
            rows.pop_back();
            state = EditState::Browse;
            perRow([&](ListListener& l) { l.removed(pos); });
            current = rows.empty() ? -1 : std::clamp(currentBeforeInsert, 0, static_cast<int>(rows.size()) - 1);
            currentChanged();
        } else if (state == EditState::Edit) {
            state = EditState::Browse;
            perRow([&](ListListener& l) { l.changed(editPos); });
        }
        editPos = -1;
    }
};

AssignmentList::AssignmentList() : m(std::make_unique<Impl>()) {}
AssignmentList::~AssignmentList()
{
    if (m) {
        (void)close();
        // Copy: a listener may remove itself while it is told.
        const std::vector<ListListener*> listeners = m->listeners;
        m->listeners.clear();
        for (ListListener* l : listeners)
            l->listDestroyed();
    }
}

// ---- table --------------------------------------------------------------------

Status AssignmentList::create(const std::filesystem::path& folder)
{
    if (auto st = close(); !st)
        return st;
    if (auto st = storage::copyStructure(folder, storage::kAssignmentTemplateAlias, storage::kAssignmentAlias); !st)
        return st;
    return attach(folder);
}

Status AssignmentList::attach(const std::filesystem::path& folder)
{
    if (auto st = close(); !st)
        return st;
    storage::OpenOptions options;
    options.exclusive = true;
    if (auto st = m->table.open(folder, storage::kAssignmentAlias, options); !st)
        return st;
    m->readWidths();
    m->indexOn = true;
    m->aboutToReset();
    const Status st = m->load();
    m->current = m->rows.empty() ? -1 : 0;
    m->atBof = true;
    m->resetDone();
    m->currentChanged();
    if (!st)
        (void)m->table.close();
    return st;
}

Status AssignmentList::close()
{
    if (!m->table.isOpen())
        return Status::success();
    m->aboutToReset();
    m->state = EditState::Browse;
    m->editPos = -1;
    m->rows.clear();
    m->posByRec.clear();
    m->current = -1;
    m->atBof = true;
    const Status st = m->table.close();
    m->resetDone();
    m->currentChanged();
    return st;
}

bool AssignmentList::isOpen() const { return m->table.isOpen(); }

// ---- marks, context, listeners ---------------------------------------------------

ListMarks& AssignmentList::marks() { return m->marks; }
const ListMarks& AssignmentList::marks() const { return m->marks; }
void AssignmentList::notifyMarksChanged() { m->marksChanged(); }
void AssignmentList::setSaveContext(SaveContext context) { m->context = std::move(context); }
const SaveContext& AssignmentList::saveContext() const { return m->context; }

void AssignmentList::addListener(ListListener* listener)
{
    if (listener && std::find(m->listeners.begin(), m->listeners.end(), listener) == m->listeners.end())
        m->listeners.push_back(listener);
}

void AssignmentList::removeListener(ListListener* listener)
{
    m->listeners.erase(std::remove(m->listeners.begin(), m->listeners.end(), listener), m->listeners.end());
}

void AssignmentList::beginBulk()
{
    if (m->bulkDepth == 0)
        m->aboutToReset();
    ++m->bulkDepth;
}

void AssignmentList::endBulk()
{
    if (m->bulkDepth == 0)
        return;
    if (--m->bulkDepth == 0)
        m->resetDone();
}

bool AssignmentList::inBulk() const { return m->bulkDepth > 0; }

// ---- random access ---------------------------------------------------------------

int AssignmentList::rowCount() const { return static_cast<int>(m->rows.size()); }

const Row& AssignmentList::row(int pos) const
{
    if (pos < 0 || pos >= rowCount())
        return m->blank;
    if (m->state != EditState::Browse && pos == m->editPos)
        return m->buffer;
    return m->rows[static_cast<std::size_t>(pos)];
}

int AssignmentList::positionOfRecNo(std::uint32_t recNo) const
{
    if (recNo == 0 || recNo >= m->posByRec.size())
        return -1;
    return m->posByRec[recNo];
}

std::vector<Row> AssignmentList::rows() const
{
    return std::vector<Row>(m->rows.begin(), m->rows.begin() + m->storedCount());
}

// ---- current row -----------------------------------------------------------------

int AssignmentList::currentPosition() const { return m->current; }

bool AssignmentList::setCurrentPosition(int pos)
{
    if (isEditing() || pos < 0 || pos >= rowCount())
        return false;
    m->atBof = false;
    if (pos != m->current) {
        m->current = pos;
        m->currentChanged();
    }
    return true;
}

bool AssignmentList::first()
{
    if (isEditing() || m->rows.empty())
        return false;
    m->atBof = true;
    if (m->current != 0) {
        m->current = 0;
        m->currentChanged();
    }
    return true;
}

bool AssignmentList::next()
{
    if (isEditing() || m->current < 0 || m->current + 1 >= rowCount())
        return false;
    m->atBof = false;
    ++m->current;
    m->currentChanged();
    return true;
}

bool AssignmentList::bof() const { return m->rows.empty() || m->atBof; }

// ---- editing -----------------------------------------------------------------------

EditState AssignmentList::state() const { return m->state; }

bool AssignmentList::edit()
{
    if (isEditing())
        return true;
    if (m->current < 0 || m->current >= rowCount())
        return false;
    if (iequals(m->marks.currentEditorField, kText)) {
        m->marks.panelDefaultKeys = true;
        m->marksChanged();
    }
    m->state = EditState::Edit;
    m->editPos = m->current;
    m->buffer = m->rows[static_cast<std::size_t>(m->current)];
    return true;
}

bool AssignmentList::appendBlankRow()
{
    if (isEditing() || !isOpen())
        return false;
    if (iequals(m->marks.currentEditorField, kText)) {
        m->marks.panelDefaultKeys = true;
        m->marksChanged();
    }
    const int pos = rowCount();
    m->perRow([&](ListListener& l) { l.aboutToInsert(pos); });
    m->rows.push_back(Row{});
    m->state = EditState::Insert;
    m->editPos = pos;
    m->buffer = Row{};
    m->perRow([&](ListListener& l) { l.inserted(pos); });
    m->currentBeforeInsert = m->current;
    m->current = pos;
    m->atBof = false;
    m->currentChanged();
    return true;
}

const Row& AssignmentList::editRow() const
{
    if (isEditing())
        return m->buffer;
    return row(m->current);
}

namespace {
template <class F> bool changeBuffer(AssignmentList& list, F&& f)
{
    if (!list.isEditing() && !list.edit())
        return false;
    f();
    return true;
}
} // namespace

bool AssignmentList::setZeit(std::int32_t ms)
{
    return setField(kZeit, std::to_string(ms));
}

bool AssignmentList::setText(std::string_view text)
{
    return setField(kText, text);
}

bool AssignmentList::setStrzeit(std::string_view text) { return setField(kStrzeit, text); }
bool AssignmentList::setGesticks(std::int32_t ticks) { return setField(kGesticks, std::to_string(ticks)); }
bool AssignmentList::setStart(std::int32_t value) { return setField(kStart, std::to_string(value)); }
bool AssignmentList::setMehrfach(std::int32_t value) { return setField(kMehrfach, std::to_string(value)); }

bool AssignmentList::setAchtel(double value)
{
    if (!changeBuffer(*this, [&] { m->buffer.achtel = value; }))
        return false;
    m->perRow([&](ListListener& l) { l.changed(m->editPos); });
    return true;
}

bool AssignmentList::setField(std::string_view field, std::string_view text)
{
    Row& b = m->buffer;
    std::int32_t* number = nullptr;
    bool ok = false;
    if (iequals(field, kText) || iequals(field, kStrzeit)) {
        const bool isText = iequals(field, kText);
        ok = changeBuffer(*this, [&] {
            std::string& target = isText ? b.text : b.strzeit;
            target.assign(text.substr(0, isText ? m->textWidth : m->strzeitWidth));
        });
    } else if (iequals(field, kAchtel)) {
        double v = 0.0;
        if (!parseReal(text, v))
            return false;
        ok = changeBuffer(*this, [&] { b.achtel = v; });
    } else {
        std::int32_t v = 0;
        if (!parseInt(text, v))
            return false;
        if (iequals(field, kZeit))
            number = &b.zeit;
        else if (iequals(field, kGesticks))
            number = &b.gesticks;
        else if (iequals(field, kStart))
            number = &b.start;
        else if (iequals(field, kMehrfach))
            number = &b.mehrfach;
        else
            return false;
        ok = changeBuffer(*this, [&] { *number = v; });
    }
    if (ok)
        m->perRow([&](ListListener& l) { l.changed(m->editPos); });
    return ok;
}

std::optional<Refusal> AssignmentList::post()
{
    if (!isEditing())
        return std::nullopt;
    Row values = m->buffer;
    ListMarks& marks = m->marks;

    // 1. Trailing blanks do not count; the no-space mark may appear once, last.
    values.text.assign(trimBlanks(values.text));
    const std::string& text = values.text;
    const auto noSpaceMarks = std::count(text.begin(), text.end(), kNoSpace);
    const std::string markNoSpace = std::string(" ") + kNoSpace;
    if (text.size() == 1 && text[0] == kNoSpace)
        return refuse(MessageId{1, 44}, markNoSpace, kText);
    if (noSpaceMarks >= 2)
        return refuse(MessageId{1, 45}, markNoSpace, kText);
    if (noSpaceMarks == 1 && text.back() != kNoSpace)
        return refuse(MessageId{1, 46}, markNoSpace, kText);
    if (!marks.bulkUpdate) {
        // A time before the song start has no tempo to convert with.
        if (values.zeit < 0)
            return refuse(MessageId{1, 47}, " (< 0 ms)", kZeit);
        const std::int32_t length = m->context.songLengthMs ? m->context.songLengthMs() : 0;
        if (values.zeit >= length)
            return refuse(MessageId{1, 47}, "", kZeit);
    }
    if (text.find(kLineBreak) != std::string::npos && text.size() >= 2)
        return refuse(MessageId{16, 8}, std::string(" ") + kLineBreak, kText);
    if (text.empty())
        return refuse(MessageId{1, 87}, "", kText);
    if (!marks.bulkUpdate && m->context.msToTicks)
        values.gesticks = m->context.msToTicks(values.zeit);

    if (auto st = m->store(values); !st)
        return refuse(MessageId{1, 90}, " " + st.message(), "");

    const bool wasInsert = m->state == EditState::Insert;
    const int from = m->editPos;
    m->state = EditState::Browse;
    m->editPos = -1;
    if (wasInsert)
        m->currentBeforeInsert = -1;
    const int to = m->place(from, values);
    if (to != m->current) {
        m->current = to;
        m->currentChanged();
    }

    marks.panelDefaultKeys = false;
    marks.currentEditorField.clear();
    if (!marks.manualAssignmentShown && !marks.bulkUpdate)
        marks.writeUndoEnabled = true;
    marks.wordCommandsEnabled = true;
    marks.staffRefresh = true;
    marks.listChanged = true;
    marks.newRow = false;
    m->marksChanged();
    return std::nullopt;
}

void AssignmentList::cancel()
{
    if (!isEditing())
        return;
    m->dropEdit();
    m->marks.newRow = false;
    m->marks.wordCommandsEnabled = true;
    m->marksChanged();
}

bool AssignmentList::cancelAsked(Prompter& prompter)
{
    if (!isEditing())
        return false;
    Prompt prompt;
    prompt.message = MessageId{1, 38};
    prompt.icon = PromptIcon::Question;
    prompt.buttons = PromptButtons::YesNo;
    prompt.defaultAnswer = Answer::Yes;
    if (prompter.ask(prompt) != Answer::Yes)
        return false;
    cancel();
    return true;
}

Status AssignmentList::removeAt(int pos)
{
    if (pos < 0 || pos >= rowCount())
        return Status::failure("texte: no row at position " + std::to_string(pos));
    if (isEditing()) {
        if (pos != m->editPos)
            return Status::failure("texte: another row is in edit state");
        if (m->state == EditState::Insert) {
            cancel();
            return Status::success();
        }
        m->dropEdit();
    }
    const std::uint32_t recNo = m->rows[static_cast<std::size_t>(pos)].recNo;
    if (auto st = m->table.go(recNo); !st)
        return st;
    if (auto st = m->table.deleteRecord(); !st)
        return st;
    m->perRow([&](ListListener& l) { l.aboutToRemove(pos); });
    m->rows.erase(m->rows.begin() + pos);
    if (recNo < m->posByRec.size())
        m->posByRec[recNo] = -1;
    m->indexRange(pos, rowCount());
    m->perRow([&](ListListener& l) { l.removed(pos); });

    const int oldCurrent = m->current;
    if (m->rows.empty())
        m->current = -1;
    else if (oldCurrent > pos)
        m->current = oldCurrent - 1;
    else if (oldCurrent == pos)
        m->current = std::min(pos, rowCount() - 1);
    if (m->current != oldCurrent || oldCurrent == pos)
        m->currentChanged();

    m->marks.writeUndoEnabled = true;
    m->marks.staffRefresh = true;
    m->marks.listChanged = true;
    m->marksChanged();
    return Status::success();
}

Status AssignmentList::removeCurrent() { return removeAt(m->current); }

Status AssignmentList::zap()
{
    if (!isOpen())
        return Status::failure("texte: table is not open");
    if (isEditing())
        cancel();
    m->aboutToReset();
    const Status st = m->table.zap();
    m->rows.clear();
    m->posByRec.clear();
    m->current = -1;
    m->atBof = true;
    m->resetDone();
    m->currentChanged();
    return st;
}

Status AssignmentList::setIndexActive(bool active)
{
    if (isEditing())
        return Status::failure("texte: a row is in edit state");
    if (!isOpen())
        return Status::failure("texte: table is not open");
    if (auto st = m->table.setTag(active ? storage::kPrimaryTag : ""); !st)
        return st;
    m->aboutToReset();
    m->indexOn = active;
    m->sortAll();
    m->current = m->rows.empty() ? -1 : 0;
    m->atBof = true;
    m->resetDone();
    m->currentChanged();
    return Status::success();
}

bool AssignmentList::indexActive() const { return m->indexOn; }

// ---- single-row editor hooks ---------------------------------------------------------

void AssignmentList::editorEntered(std::string_view field)
{
    m->marks.currentEditorField.assign(field);
    if (iequals(field, kText) && isEditing())
        m->marks.panelDefaultKeys = true;
    m->marksChanged();
}

void AssignmentList::editorLeft(std::string_view field)
{
    if (iequals(field, kZeit)) {
        if (m->marks.newRow && isEditing())
            setStrzeit(core::MsToTimeText(m->buffer.zeit));
    } else if (iequals(field, kText)) {
        m->marks.panelDefaultKeys = false;
        m->marksChanged();
    }
}

// ---- system writes -------------------------------------------------------------------

std::optional<Refusal> AssignmentList::appendRow(const Row& values)
{
    if (isEditing())
        return refuse(MessageId{1, 90}, " (another row is in edit state)", "");
    if (!appendBlankRow())
        return refuse(MessageId{1, 90}, " (texte is not open)", "");
    Row v = values;
    v.recNo = 0;
    if (v.text.size() > m->textWidth)
        v.text.resize(m->textWidth);
    if (v.strzeit.size() > m->strzeitWidth)
        v.strzeit.resize(m->strzeitWidth);
    m->buffer = std::move(v);
    m->perRow([&](ListListener& l) { l.changed(m->editPos); });
    return post();
}

// ---- row snapshot ----------------------------------------------------------------------

void AssignmentList::takeSnapshot(RowSnapshot& snapshot, SnapshotMode mode)
{
    RowSnapshot previous = std::move(snapshot);
    snapshot.clear();
    const int n = m->storedCount();
    snapshot.reserve(static_cast<std::size_t>(n) + previous.size());
    for (int i = 0; i < n; ++i) {
        const Row& r = m->rows[static_cast<std::size_t>(i)];
        snapshot.push_back(TLyrics{r.gesticks, r.zeit, r.strzeit, r.text, static_cast<std::int32_t>(r.recNo),
                                   r.start, r.mehrfach});
    }
    const auto k = static_cast<std::int64_t>(previous.size()) - static_cast<std::int64_t>(snapshot.size());
    if (k > 0) {
        std::int64_t keep = k;
        if (mode == SnapshotMode::AfterAdd)
            keep = k + 1;
        else if (mode == SnapshotMode::AfterDelete)
            keep = k - 1;
        keep = std::clamp<std::int64_t>(keep, 0, static_cast<std::int64_t>(previous.size()));
        snapshot.insert(snapshot.end(), std::make_move_iterator(previous.end() - keep),
                        std::make_move_iterator(previous.end()));
    }
    first();
}

} // namespace versilla::lyrics
