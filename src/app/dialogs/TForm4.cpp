#include "app/dialogs/TForm4.h"

#include "app/Localizer.h"
#include "app/Text.h"
#include "app/controls/TNumEditVelk.h"
#include "core/Prompter.h"
#include "song/TempoChange.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <variant>

namespace versilla::app {

namespace {

TNumEditVelk* numberField(QWidget* parent, const char* name, int digits) {
    auto* field = new TNumEditVelk(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setVorkommastellen(digits);
    field->setNachkommastellen(0);
    field->setMinimum(0);
    field->setBlankToZero(true);
    field->setMaxLength(digits);
    return field;
}

} // namespace

TForm4::TForm4(QWidget* parent, int currentMs, int songLengthMs, Prompter& prompter, const Localizer* localizer,
               std::optional<QColor> background)
    : OptionDialog(parent, "TForm4", 250, 150, background), m_prompter(prompter), m_songLengthMs(songLengthMs) {
    auto* prompt = new QLabel(QStringLiteral("Geben Sie die Startzeit ein:"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    auto* minTitle = new QLabel(QStringLiteral("Min."), this);
    minTitle->setObjectName(QStringLiteral("Label2"));
    auto* sekTitle = new QLabel(QStringLiteral("Sek."), this);
    sekTitle->setObjectName(QStringLiteral("Label3"));
    auto* colon = new QLabel(QStringLiteral(":"), this);
    colon->setObjectName(QStringLiteral("Label4"));
    auto* msLine = new QLabel(QStringLiteral("oder in Millisekunden (hat Vorrang):"), this);
    msLine->setObjectName(QStringLiteral("Label5"));

    min = numberField(this, "min", 2);
    sek = numberField(this, "sek", 2);
    ms = numberField(this, "ms", 10);
    min->setText(QStringLiteral("0"));
    sek->setText(QStringLiteral("0"));
    ms->setText(QString::number(currentMs));

    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setAutoDefault(false);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    abbrechen->setAutoDefault(false);
    connect(speichern, &QPushButton::clicked, this, &TForm4::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &TForm4::abbrechenClick);
    connect(min, &TNumEditVelk::leaveAccepted, this, [this] { minSekLeft(min); });
    connect(sek, &TNumEditVelk::leaveAccepted, this, [this] { minSekLeft(sek); });
    for (TNumEditVelk* field : {min, sek, ms}) field->installEventFilter(this);

    if (localizer) localizer->applyCaptions(4, this);
    if (windowTitle().isEmpty()) setWindowTitle(QStringLiteral("Startzeit eingeben"));

    const int line = lineHeight();
    growTo(textWidth({prompt->text(), msLine->text()}) + 24, 8 + line * 4 + 22 * 2 + 12 + 25 + 16);
    int y = 8;
    prompt->setGeometry(12, y, width() - 24, line);
    y += line + 2;
    minTitle->setGeometry(12, y, 40, line);
    sekTitle->setGeometry(64, y, 40, line);
    y += line;
    min->setGeometry(12, y, 40, 22);
    colon->setGeometry(54, y, 8, 22);
    sek->setGeometry(64, y, 40, 22);
    y += 22 + 6;
    msLine->setGeometry(12, y, width() - 24, line);
    y += line;
    ms->setGeometry(12, y, 100, 22);
    speichern->setGeometry(12, height() - 33, 90, 25);
    abbrechen->setGeometry(width() - 102, height() - 33, 90, 25);
    min->setFocus();
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // "&Speichern" answers Enter only while the milliseconds have the focus.
        speichern->setDefault(watched == ms);
        if (watched == min) m_rememberedMin = min->text();
        if (watched == sek) m_rememberedSek = sek->text();
    } else if (event->type() == QEvent::KeyPress && (watched == min || watched == sek)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return OptionDialog::eventFilter(watched, event);
}

void TForm4::minSekLeft(TNumEditVelk* field) {
    QString& remembered = field == min ? m_rememberedMin : m_rememberedSek;
    if (field->text() == remembered) return;
    remembered = field->text();
    const std::int64_t value = song::startTimeFromMinSek(fromQString(m_rememberedMin), fromQString(m_rememberedSek));
    ms->setText(QString::number(value));
}

void TForm4::speichernClick() {
    for (TNumEditVelk* field : {min, sek, ms})
        if (field->text().trimmed().isEmpty()) field->setText(QStringLiteral("0"));
    const auto checked =
        song::validateStartTime(fromQString(min->text()), fromQString(sek->text()), fromQString(ms->text()),
                                m_songLengthMs);
    if (const auto* refusal = std::get_if<Refusal>(&checked)) {
        Prompt prompt;
        prompt.message = refusal->message;
        prompt.appendText = refusal->appendText;
        prompt.icon = PromptIcon::Error;
        m_prompter.ask(prompt);
        TNumEditVelk* focus = refusal->focusField == "min" ? min : sek;
        focus->setFocus();
        focus->selectAll();
        return;
    }
    m_result = std::get<std::int32_t>(checked);
    accept();
}

void TForm4::abbrechenClick() {
    m_result.reset();
    reject();
}

} // namespace versilla::app
