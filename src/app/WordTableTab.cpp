#include "app/WordTableTab.h"

#include "app/AssignmentModel.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/controls/TDBNavigatorVelk.h"
#include "app/controls/TNumEditVelk.h"
#include "lyrics/AssignmentList.h"
#include "lyrics/Marks.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>

#include <algorithm>
#include <string>

namespace versilla::app {
namespace {

constexpr int kZeitField = 0;
constexpr int kTextField = 1;
constexpr int kStrzeitField = 2;

std::string trimmedSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// Controls into which a typed character goes as text (buttons keep Space as
/// their press key).
bool takesText(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QAbstractItemView*>(w);
}

/// The key code that goes with a protected mark, for the event that replaces
/// the typed one.
int keyFor(char mark) {
    switch (mark) {
    case lyrics::kProtectedHyphen: return Qt::Key_notsign;
    case lyrics::kProtectedSpace: return Qt::Key_periodcentered;
    default: return 0;
    }
}

} // namespace

WordTableTab::WordTableTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));

    wwDBGrid2 = placed<QTableView>(this, "wwDBGrid2", 4, 4, 436, 212);
    gridModel = new AssignmentModel(this);
    DBNavigatorVelk1 = placed<TDBNavigatorVelk>(this, "DBNavigatorVelk1", 4, 218, 241, 25);
    gridBinding = new AssignmentGridBinding(wwDBGrid2, gridModel, DBNavigatorVelk1, 12, this);

    wwRecordViewPanel1 = placed<QFrame>(this, "wwRecordViewPanel1", 4, 246, 436, 86);
    wwRecordViewPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    for (int i = 0; i < 3; ++i) {
        const char* field = AssignmentModel::fieldName(i);
        recordTitles[i] = placeLabel(wwRecordViewPanel1, nullptr, QString(), 6, 6 + i * 26, 80, 18);
        recordTitles[i]->setObjectName(QString());
        recordFields[i] = placed<QLineEdit>(wwRecordViewPanel1, field, 90, 4 + i * 26, 100, 21);
        recordFields[i]->setObjectName(QString());
        recordFields[i]->setProperty("field", QString::fromLatin1(field));
        recordTitles[i]->setBuddy(recordFields[i]);
    }
    recordFields[kZeitField]->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,10}\\s*")), recordFields[0]));
    recordFields[kZeitField]->setAlignment(Qt::AlignRight);
    recordFields[kStrzeitField]->setReadOnly(true);
    recordFields[kStrzeitField]->setFocusPolicy(Qt::ClickFocus);
    for (int i : {kZeitField, kTextField})
        connect(recordFields[i], &QLineEdit::textEdited, this, [this, i](const QString& text) { recordEdited(i, text); });

    CBPost1 = placed<QFrame>(this, "CBPost1", 4, 335, 436, 30);
    saveButton = placeButton(CBPost1, "CBPost1Save", QStringLiteral("&Speichern "), 0, 2, 100, 26);
    cancelButton = placeButton(CBPost1, "CBPost1Cancel", QStringLiteral("&Abbrechen "), 104, 2, 100, 26);
    // The editor keeps the focus while its row is saved or cancelled.
    saveButton->setFocusPolicy(Qt::NoFocus);
    cancelButton->setFocusPolicy(Qt::NoFocus);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveClicked(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelClicked(); });

    Panel3 = placePanel(this, "Panel3", 446, 4, 304, 110);
    s2_aktuellestext =
        placeLabel(Panel3, "s2_aktuellestext", QStringLiteral("Bearbeiten Sie hier das aktuelle Wort"), 8, 6, 288, 16);
    s2_neuanlage = placeButton(Panel3, "s2_neuanlage", QStringLiteral("&Neues Wort"), 8, 26, 140, 24);
    s2_loeschen = placeButton(Panel3, "s2_loeschen", QStringLiteral("Wort &löschen"), 156, 26, 140, 24);
    s2_zs = placeButton(Panel3, "s2_zs", QString(QChar(0xB6)) + QStringLiteral("ZS"), 8, 54, 68, 24);
    s2_lz = placeButton(Panel3, "s2_lz", QString(QChar(0xA4)) + QStringLiteral("Ohne LZ"), 80, 54, 68, 24);
    s2_alsstartzeit = placeButton(Panel3, "s2_alsstartzeit", QStringLiteral("als Startzeit"), 156, 54, 140, 24);

    Panel4 = placePanel(this, "Panel4", 446, 118, 304, 150);
    s2_bereichtext = placeLabel(Panel4, "s2_bereichtext", QStringLiteral("Bereichsfunktionen"), 8, 6, 288, 16);
    s2_multiselect = placeButton(Panel4, "s2_multiselect", QStringLiteral("Multiselect ein"), 8, 26, 288, 24);
    s2_multiselect->setToolTip(QStringLiteral("Schaltet Mehrfachmarkierung ein und aus"));
    s2_zielzeit = placed<TNumEditVelk>(Panel4, "s2_zielzeit", 8, 57, 140, 22);
    s2_kopieren = placeButton(Panel4, "s2_kopieren", QStringLiteral("Kopieren"), 156, 56, 140, 24);
    s2_schiebenzeit = placed<TNumEditVelk>(Panel4, "s2_schiebenzeit", 8, 87, 140, 22);
    s2_verschieben = placeButton(Panel4, "s2_verschieben", QStringLiteral("Verschieben"), 156, 86, 140, 24);
    s2_blockloeschen = placeButton(Panel4, "s2_blockloeschen", QStringLiteral("Löschen"), 156, 116, 140, 24);
    for (TNumEditVelk* field : {s2_zielzeit, s2_schiebenzeit}) {
        field->setVorkommastellen(10);
        field->setNachkommastellen(0);
        field->setMaximum(2147483647.0);
    }
    s2_zielzeit->setMinimum(0);
    s2_schiebenzeit->setMinimum(-1000000);

    Panel11 = placePanel(this, "Panel11", 446, 272, 304, 94);
    s2_suchwort = placed<QLineEdit>(Panel11, "s2_suchwort", 8, 8, 288, 22);
    s2_suchwort->setToolTip(QStringLiteral("Suchwort oder Silbe"));
    s2_vomanfang = placeButton(Panel11, "s2_vomanfang", QStringLiteral("Suchen vom Anfang"), 8, 36, 140, 24);
    s2_abposition = placeButton(Panel11, "s2_abposition", QStringLiteral("Suchen ab Position"), 156, 36, 140, 24);
    s2_ersetzen = placeButton(Panel11, "s2_ersetzen", QStringLiteral("Ersetzen"), 8, 64, 288, 24);

    connect(gridModel, &AssignmentModel::currentRowChanged, this, [this] { refreshRecord(true); });
    connect(gridModel, &AssignmentModel::stateChanged, this, [this] {
        refreshRecord(false);
        updatePanelButtons();
    });
    connect(gridModel, &AssignmentModel::listMarksChanged, this, &WordTableTab::marksChanged);
    connect(gridModel, &AssignmentModel::refused, this, &WordTableTab::focusField);

    // Every key typed anywhere in the tab passes here first (also the keys of
    // editors the grid opens later).
    qApp->installEventFilter(this);

    setColumns(QStringLiteral("Zeit in ms"), QStringLiteral("Text"), QStringLiteral("Zeit in Sek."));
    refreshRecord(true);
    updatePanelButtons();
}

WordTableTab::~WordTableTab() {
    if (qApp) qApp->removeEventFilter(this);
    unbind();
}

void WordTableTab::bind(lyrics::AssignmentList& list, Prompter& prompter) {
    gridModel->setList(&list, &prompter);
    m_wordCommandsEnabled = !list.marks().wordCommandsEnabled;
    marksChanged();
    refreshRecord(true);
}

void WordTableTab::unbind() {
    gridModel->setList(nullptr, nullptr);
}

void WordTableTab::setColumns(const QString& zeit, const QString& text, const QString& strzeit) {
    const QString titles[3] = {zeit, text, strzeit};
    gridModel->setTitles(zeit, text, strzeit);
    gridBinding->applyColumnWidths();
    const int charWidth = wwRecordViewPanel1->fontMetrics().averageCharWidth();
    for (int i = 0; i < 3; ++i) {
        recordTitles[i]->setText(titles[i]);
        const int w = std::min(AssignmentModel::columnChars(i) * charWidth + 8, 340);
        recordFields[i]->setGeometry(90, 4 + i * 26, w, 21);
    }
}

void WordTableTab::setMultiSelect(bool on) {
    gridBinding->setMultiSelect(on);
}

bool WordTableTab::saveClicked() {
    return gridModel->post();
}

bool WordTableTab::cancelClicked() {
    return gridModel->cancel(true);
}

// ---- list state into the widgets ---------------------------------------------------

void WordTableTab::marksChanged() {
    if (const lyrics::AssignmentList* list = gridModel->list()) {
        // Only a change of the mark switches the buttons, so a command that
        // disabled them for its own reasons (playback) is not overridden.
        const bool enabled = list->marks().wordCommandsEnabled;
        if (enabled != m_wordCommandsEnabled) {
            m_wordCommandsEnabled = enabled;
            s2_neuanlage->setEnabled(enabled);
            s2_loeschen->setEnabled(enabled);
        }
    }
    updatePanelButtons();
    emit listMarksChanged();
}

void WordTableTab::updatePanelButtons() {
    const lyrics::AssignmentList* list = gridModel->list();
    const bool editing = list && list->isEditing();
    saveButton->setEnabled(editing);
    cancelButton->setEnabled(editing);
    saveButton->setDefault(editing && list->marks().panelDefaultKeys);
}

void WordTableTab::refreshRecord(bool hard) {
    const lyrics::AssignmentList* list = gridModel->list();
    const bool hasRow = list && list->currentPosition() >= 0;
    static const lyrics::Row blank;
    const lyrics::Row& row = hasRow ? list->editRow() : blank;

    QLineEdit* zeit = recordFields[kZeitField];
    const QString zeitText = hasRow ? QString::number(row.zeit) : QString();
    bool zeitDiffers = zeit->text() != zeitText;
    if (!hard && hasRow && zeit->hasFocus()) {
        // While typing, an emptied field stands for 0 and stays empty.
        bool ok = false;
        const std::string typed = trimmedSpaces(fromQString(zeit->text()));
        const long long value = typed.empty() ? 0 : QString::fromStdString(typed).toLongLong(&ok);
        zeitDiffers = !(typed.empty() || ok) || value != row.zeit;
    }
    if (hard || zeitDiffers) zeit->setText(zeitText);

    QLineEdit* text = recordFields[kTextField];
    if (hard || fromQString(text->text()) != row.text) text->setText(toQString(row.text));
    QLineEdit* strzeit = recordFields[kStrzeitField];
    const QString strzeitText = toQString(row.strzeit);
    if (strzeit->text() != strzeitText) strzeit->setText(strzeitText);

}

void WordTableTab::recordEdited(int field, const QString& text) {
    lyrics::AssignmentList* list = gridModel->list();
    if (!list || list->currentPosition() < 0) {
        refreshRecord(true);
        return;
    }
    std::string value = fromQString(text);
    if (field == kZeitField) value = trimmedSpaces(value);
    if (!list->setField(AssignmentModel::fieldName(field), value)) refreshRecord(true);
}

void WordTableTab::focusField(const QString& field) {
    if (!isVisible()) return;
    const int index = field.compare(QLatin1String("ZEIT"), Qt::CaseInsensitive) == 0   ? kZeitField
                      : field.compare(QLatin1String("TEXT"), Qt::CaseInsensitive) == 0 ? kTextField
                                                                                       : -1;
    if (index < 0) return;
    recordFields[index]->setFocus(Qt::OtherFocusReason);
}

// ---- keys and focus ------------------------------------------------------------------

bool WordTableTab::tabActive() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) return tabs->currentWidget() == this;
    return isVisible();
}

bool WordTableTab::manualAssignmentRunning() const {
    if (m_manualProbe) return m_manualProbe();
    const lyrics::AssignmentList* list = gridModel->list();
    return list && list->marks().manualAssignmentShown;
}

bool WordTableTab::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !isAncestorOf(widget)) return QWidget::eventFilter(watched, event);

    if (type == QEvent::KeyPress) return handleTabKey(widget, static_cast<QKeyEvent*>(event));

    // Enter and exit handlers of the record panel's editors. A box or another
    // window taking the focus for a moment is no leaving.
    const auto* focus = static_cast<QFocusEvent*>(event);
    if (focus->reason() == Qt::ActiveWindowFocusReason || focus->reason() == Qt::PopupFocusReason) return false;
    lyrics::AssignmentList* list = gridModel->list();
    if (!list) return false;
    for (int i = 0; i < 3; ++i) {
        if (widget != recordFields[i]) continue;
        if (type == QEvent::FocusIn)
            list->editorEntered(AssignmentModel::fieldName(i));
        else
            list->editorLeft(AssignmentModel::fieldName(i));
    }
    return false;
}

bool WordTableTab::handleTabKey(QWidget* target, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool inGrid = target == wwDBGrid2 || wwDBGrid2->isAncestorOf(target);
    const lyrics::AssignmentList* list = gridModel->list();
    const bool defaultKeys = list && list->isEditing() && list->marks().panelDefaultKeys;

    if (mods == Qt::NoModifier && !inGrid) {
        const int code = key->key();
        if (code == Qt::Key_Return || code == Qt::Key_Enter) {
            if (defaultKeys) {
                saveClicked();
                return true;
            }
            if (qobject_cast<QLineEdit*>(target)) {
                // Enter in a one-line field goes on to the next control.
                QWidget* next = target->nextInFocusChain();
                while (next && next != target &&
                       (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() || !next->isEnabled()))
                    next = next->nextInFocusChain();
                if (next && next != target) next->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        if (code == Qt::Key_Escape && defaultKeys) {
            cancelClicked();
            return true;
        }
    }

    // Hyphens and spaces typed into a syllable become its protected ones.
    if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) || !takesText(target)) return false;
    const QString typed = key->text();
    if (typed.size() != 1) return false;
    const std::string byte = fromQString(typed);
    if (byte.size() != 1) return false;
    const char replaced = lyrics::protectedCharFor(byte[0], target->objectName().toStdString(), tabActive(),
                                                   manualAssignmentRunning());
    if (replaced == byte[0]) return false;
    QKeyEvent converted(QEvent::KeyPress, keyFor(replaced), key->modifiers(), toQString(std::string(1, replaced)),
                        key->isAutoRepeat(), static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(target, &converted);
    return true;
}

} // namespace versilla::app
