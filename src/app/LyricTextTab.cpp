#include "app/LyricTextTab.h"

#include "app/DialogRunner.h"
#include "app/TForm1.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "core/Prompter.h"
#include "player/KaraokePanes.h"
#include "song/LyricTextFile.h"
#include "song/Workspace.h"
#include "text/CodePage1252.h"
#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace versilla::app {

namespace {

constexpr int kRulerColumns = 38;

bool isLineEnd(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0x2028;
}

// A box text (paragraph separators or "\n" between lines) as lyric text bytes
// with CR LF line ends.
std::string boxTextToBytes(const QString& boxText) {
    QString text = boxText;
    text.replace(QChar(0x2029), QLatin1Char('\n'));
    text.replace(QChar(0x2028), QLatin1Char('\n'));
    std::string bytes = fromQString(text);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

Answer ask(TForm1* form, MessageId message, PromptIcon icon, PromptButtons buttons, Answer defaultAnswer) {
    if (!form) return Answer::No;
    Prompt prompt;
    prompt.message = message;
    prompt.icon = icon;
    prompt.buttons = buttons;
    prompt.defaultAnswer = defaultAnswer;
    return form->prompter().ask(prompt);
}

void inform(TForm1* form, MessageId message) {
    ask(form, message, PromptIcon::Information, PromptButtons::Ok, Answer::Ok);
}

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace

// ---- s4_text ----------------------------------------------------------------

LyricTextEdit::LyricTextEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
}

QString LyricTextEdit::filtered(const QString& text, int* dropped) {
    QString out;
    out.reserve(text.size());
    int removed = 0;
    const QList<uint> points = text.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t cp = points[i];
        if (cp < 0x10000 && isLineEnd(static_cast<char16_t>(cp))) {
            // CR LF counts as one line end.
            if (cp == U'\r' && i + 1 < points.size() && points[i + 1] == U'\n') ++i;
            out += QLatin1Char('\n');
            continue;
        }
        if (text::codePointToCp1252(cp)) {
            out += QChar(static_cast<char16_t>(cp));
        } else {
            ++removed;
        }
    }
    if (dropped) *dropped = removed;
    return out;
}

void LyricTextEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (!typed.isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
        int dropped = 0;
        filtered(typed, &dropped);
        if (dropped > 0) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void LyricTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    int dropped = 0;
    const QString commit = filtered(event->commitString(), &dropped);
    if (dropped > 0) {
        QApplication::beep();
        QInputMethodEvent replaced(event->preeditString(), event->attributes());
        replaced.setCommitString(commit, event->replacementStart(), event->replacementLength());
        QTextEdit::inputMethodEvent(&replaced);
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

bool LyricTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void LyricTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return;
    int dropped = 0;
    const QString text = filtered(source->text(), &dropped);
    if (dropped > 0) QApplication::beep();
    textCursor().insertText(text);
    ensureCursorVisible();
}

// ---- tab 3 --------------------------------------------------------------------

LyricTextTab::LyricTextTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet4"));
    Panel12 = placed<QFrame>(this, "Panel12", 0, 0, 754, 368);
    Panel12->setAutoFillBackground(true);

    s4_text = placed<LyricTextEdit>(Panel12, "s4_text", 12, 12, 730, 295);
    s4_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    s4_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    s4_text->document()->setDocumentMargin(2);
    s4_text->setToolTip(QStringLiteral("Geben Sie hier den Midifile-Text ein"));
    {
        // The box shows 38 columns, as many as a karaoke line holds. Where the
        // local frame and scroll bar leave less room than 38 columns of the
        // 32-pixel font, the font goes down a pixel at a time until they fit.
        const int room = 730 - 2 * s4_text->frameWidth() - s4_text->verticalScrollBar()->sizeHint().width() -
                         2 * static_cast<int>(s4_text->document()->documentMargin()) - 2;
        QFont font = courierFont(32, true);
        while (font.pixelSize() > 16 &&
               QFontMetricsF(font).horizontalAdvance(QLatin1Char('M')) * kRulerColumns > room)
            font.setPixelSize(font.pixelSize() - 1);
        s4_text->setFont(font);
        // Lines wrap after column 38, so the box never scrolls sideways and
        // the rulers stay over their columns.
        const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        s4_text->setLineWrapMode(QTextEdit::FixedPixelWidth);
        s4_text->setLineWrapColumnOrWidth(
            static_cast<int>(std::ceil(advance * kRulerColumns + 2 * s4_text->document()->documentMargin())) + 1);
    }

    QFont rulerFont = windowFont();
    rulerFont.setPixelSize(8);
    for (std::vector<QLabel*>* ruler : {&rulerAbove, &rulerBelow}) {
        for (int column = 1; column <= kRulerColumns; ++column) {
            auto* label = new QLabel(QString::number(column), Panel12);
            label->setFont(rulerFont);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, Qt::red);
            label->setPalette(palette);
            ruler->push_back(label);
        }
    }
    placeRulers();

    struct ButtonDef {
        const char* name;
        const char* caption;
        const char* hint;
        QPushButton** slot;
        void (LyricTextTab::*handler)();
    };
    const ButtonDef buttons[] = {
        {"s3_lz", "geschütztes &Leerzeichen", "Fügt an aktueller Stelle ein geschütztes Leerzeichen ein", &s3_lz,
         &LyricTextTab::s3_lzClick},
        {"s3_bs", "geschützter &Bindestrich", "Fügt an aktueller Stelle einen geschützten Bindestrich ein", &s3_bs,
         &LyricTextTab::s3_bsClick},
        {"s3_tl", "Text löschen", "Löscht den gesamten Text", &s3_tl, &LyricTextTab::s3_tlClick},
        {"s3_st", "Silbentrennung", "Führt die automatische Silbentrennung durch", &s3_st,
         &LyricTextTab::s3_stClick},
        {"s4_ladenmidifile", "Text aus Midifile", "Lädt den eingetragenen Text des Midifiles", &s4_ladenmidifile,
         &LyricTextTab::s4_ladenmidifileClick},
        {"s3_laden", "Text aus Datei", "Lädt den Text aus einer Textdatei", &s3_laden,
         &LyricTextTab::s3_ladenClick},
        {"s4_speichern", "Text speichern", "Speichert den Text in der aktuellen Textdatei", &s4_speichern,
         &LyricTextTab::s4_speichernClick},
        {"s4_speichernunter", "Speichern unter", "Speichert den Text in einer zu wählenden Textdatei",
         &s4_speichernunter, &LyricTextTab::s4_speichernunterClick},
    };
    for (const ButtonDef& def : buttons) {
        QPushButton* button = placeButton(Panel12, def.name, QString::fromUtf8(def.caption), 0, 329, 80, 32);
        button->setToolTip(QString::fromUtf8(def.hint));
        *def.slot = button;
        connect(button, &QPushButton::clicked, this, def.handler);
    }
    layoutButtons();
}

LyricTextTab::~LyricTextTab() = default;

void LyricTextTab::placeRulers() {
    // Each number stands centred over its character column: the box's frame,
    // the document margin, then one character advance per column. The upper
    // ruler would start one pixel above the panel; it starts at 0 to stay visible.
    const QFontMetricsF metrics(s4_text->font());
    const double advance = metrics.horizontalAdvance(QLatin1Char('M'));
    const double left = s4_text->x() + s4_text->frameWidth() + s4_text->document()->documentMargin();
    const int labelWidth = static_cast<int>(std::ceil(advance)) + 2;
    for (int i = 0; i < kRulerColumns; ++i) {
        const double centre = left + (i + 0.5) * advance;
        const int x = static_cast<int>(std::lround(centre - labelWidth / 2.0));
        rulerAbove[static_cast<std::size_t>(i)]->setGeometry(x, 0, labelWidth, 11);
        rulerBelow[static_cast<std::size_t>(i)]->setGeometry(x, 308, labelWidth, 11);
    }
}

void LyricTextTab::layoutButtons() {
    // The row spans the editor's width; each button gets room in proportion to its caption.
    QPushButton* row[] = {s3_lz, s3_bs, s3_tl, s3_st, s4_ladenmidifile, s3_laden, s4_speichern, s4_speichernunter};
    const int gap = 2;
    const int total = 730 - gap * 7;
    int textWidth = 0;
    int widths[8];
    for (int i = 0; i < 8; ++i) {
        widths[i] = row[i]->fontMetrics().horizontalAdvance(QString(row[i]->text()).remove(QLatin1Char('&'))) + 12;
        textWidth += widths[i];
    }
    int x = 12;
    for (int i = 0; i < 8; ++i) {
        const int w = i == 7 ? 742 - x : widths[i] * total / textWidth;
        row[i]->setGeometry(x, row[i]->y(), w, 32);
        x += w + gap;
    }
}

TForm1* LyricTextTab::host() const {
    return qobject_cast<TForm1*>(window());
}

bool LyricTextTab::isShown() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) return tabs->currentWidget() == this;
    return false;
}

std::string LyricTextTab::text() const {
    return boxTextToBytes(s4_text->document()->toRawText());
}

void LyricTextTab::setText(std::string_view bytes) {
    QString text = toQString(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s4_text->setPlainText(text);
}

void LyricTextTab::insertProtected(unsigned char byte) {
    s4_text->insertPlainText(QString(QChar(static_cast<char16_t>(text::cp1252ToCodePoint(byte)))));
    s4_text->setFocus();
}

void LyricTextTab::s3_lzClick() {
    insertProtected(0xB7);
}

void LyricTextTab::s3_bsClick() {
    insertProtected(0xAC);
}

void LyricTextTab::s3_tlClick() {
    if (!song::clearTextAsks(text())) return;
    if (ask(host(), MessageId{1, 67}, PromptIcon::Question, PromptButtons::YesNo, Answer::Yes) != Answer::Yes)
        return;
    s4_text->clear();
    s4_text->setFocus();
}

void LyricTextTab::s3_stClick() {
    hyphenationCommand();
}

void LyricTextTab::hyphenationCommand() {
    TForm1* form = host();
    if (!form) return;
    if (!isShown()) {
        const bool songOpen = m_workspace && m_workspace->flags().songOpen;
        inform(form, songOpen ? MessageId{1, 79} : MessageId{1, 80});
        return;
    }
    const QTextCursor cursor = s4_text->textCursor();
    if (cursor.hasSelection() && cursor.selectionStart() != 0) {
        inform(form, MessageId{1, 78});
        return;
    }
    // The preamble in bytes: a line end in the box is CR LF in the text.
    const std::size_t preamble = cursor.hasSelection() ? boxTextToBytes(cursor.selectedText()).size() : 0;

    Settings& settings = form->settings();
    const int current = settings.isBlank("SPRACHE") ? 0 : static_cast<int>(settings.integer("SPRACHE"));
    const std::optional<int> language = form->dialogs().chooseHyphenationLanguage(form, current);
    if (!language) return;
    if (const auto status = settings.writeInteger("SPRACHE", *language); !status) {
        form->dialogs().showEngineError(form, QString::fromStdString(status.message()));
        return;
    }
    if (!m_hyphenator) {
        m_hyphenator = std::make_unique<text::TQuillonHyphenator>();
        m_hyphenator->SetMark('-');
    }
    const auto lang = *language == 1 ? text::HyphenLanguage::English : text::HyphenLanguage::German;
    setText(text::hyphenateText(text(), preamble, lang, *m_hyphenator));
}

bool LyricTextTab::loadFromSong(const std::vector<std::string>& items, bool ask) {
    if (ask && versilla::app::ask(host(), MessageId{1, 35}, PromptIcon::Question, PromptButtons::YesNo,
                                  Answer::Yes) != Answer::Yes)
        return false;
    setText(song::lyricTextFromSong(items));
    return true;
}

void LyricTextTab::s4_ladenmidifileClick() {
    std::vector<std::string> texts;
    if (m_workspace)
        for (const lyrics::TLyrics& row : m_workspace->rowSnapshot()) texts.push_back(row.text);
    loadFromSong(player::songLyricListOfTexts(texts), true);
}

void LyricTextTab::s3_ladenClick() {
    TForm1* form = host();
    if (!form) return;
    const std::optional<QString> chosen = form->dialogs().chooseTextToOpen(form);
    if (!chosen) return;
    m_currentFile = QString::fromStdString(song::textFileNameAfterLoad(chosen->toStdString()));
    // Emptied first, so a file that cannot be read leaves an empty box.
    s4_text->clear();
    const song::LyricTextLoad load = song::loadLyricText(toPath(*chosen));
    if (!load.status) {
        form->dialogs().showEngineError(form, QString::fromStdString(load.status.message()));
        return;
    }
    setText(load.text);
}

void LyricTextTab::s4_speichernClick() {
    if (m_currentFile.isEmpty()) {
        s4_speichernunterClick();
        return;
    }
    writeTo(m_currentFile);
}

void LyricTextTab::s4_speichernunterClick() {
    TForm1* form = host();
    if (!form) return;
    const std::optional<QString> chosen = form->dialogs().chooseTextSaveName(form, m_currentFile);
    if (!chosen) return;
    m_currentFile = QString::fromStdString(song::textFileNameForSave(chosen->toStdString()));
    if (song::saveAsAsksOverwrite(toPath(m_currentFile)) &&
        ask(form, MessageId{1, 27}, PromptIcon::Warning, PromptButtons::YesNo, Answer::Yes) != Answer::Yes)
        return;
    writeTo(m_currentFile);
}

bool LyricTextTab::writeTo(const QString& path) {
    const song::SongStatus status = song::saveLyricText(toPath(path), text());
    if (status) return true;
    if (TForm1* form = host()) form->dialogs().showEngineError(form, QString::fromStdString(status.message()));
    return false;
}

} // namespace versilla::app
