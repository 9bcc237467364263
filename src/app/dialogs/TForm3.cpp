#include "app/dialogs/TForm3.h"

#include "app/Localizer.h"
#include "app/Text.h"
#include "app/controls/TNumEditVelk.h"
#include "core/Prompter.h"
#include "song/TempoChange.h"

#include <QLabel>
#include <QPushButton>

#include <variant>

namespace versilla::app {

namespace {

// A label shows its access key underlined, as the button it names ("&Weiter") does.
void showAccessKey(QLabel* label) {
    const QString text = label->text();
    if (!text.contains(QLatin1Char('&'))) return;
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            html += text[i] == QLatin1Char('&') ? QStringLiteral("&amp;")
                                                : QStringLiteral("<u>") + QString(text[i]).toHtmlEscaped() + QStringLiteral("</u>");
        } else {
            html += QString(text[i]).toHtmlEscaped();
        }
    }
    label->setTextFormat(Qt::RichText);
    label->setText(html);
}

} // namespace

TempoDialog::TempoDialog(QWidget* parent, const char* className, int formNumber, const QString& designCaption,
                         const QStringList& prompt, bool severalTempi, int current, Prompter& prompter,
                         const Localizer* localizer, std::optional<QColor> background)
    : OptionDialog(parent, className, 260, 150, background), m_prompter(prompter), m_severalTempi(severalTempi) {
    QList<QLabel*> labels;
    int n = 1;
    const auto addLabel = [&](const QString& text, bool bold) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        if (bold) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        labels << label;
    };
    addLabel(QStringLiteral("Achtung: Nach Tempoänderung"), true);
    addLabel(QStringLiteral("ist &Weiter nicht mehr möglich!"), true);
    for (const QString& line : prompt) addLabel(line, false);

    NewTempo = new TNumEditVelk(this);
    NewTempo->setObjectName(QStringLiteral("NewTempo"));
    NewTempo->setVorkommastellen(3);
    NewTempo->setNachkommastellen(0);
    NewTempo->setMinimum(0);
    NewTempo->setMaxLength(3);
    NewTempo->setText(QString::number(current));

    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    connect(speichern, &QPushButton::clicked, this, &TempoDialog::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &TempoDialog::abbrechenClick);

    if (localizer) localizer->applyCaptions(formNumber, this);
    if (windowTitle().isEmpty()) setWindowTitle(designCaption);

    // Placed once the texts are final, so longer translations widen the dialog.
    QStringList texts;
    for (QLabel* label : labels) {
        texts << label->text().remove(QLatin1Char('&'));
        showAccessKey(label);
    }
    const int line = lineHeight();
    const int fieldTop = 8 + line * static_cast<int>(labels.size()) + 6;
    growTo(textWidth(texts) + 24, fieldTop + 22 + 12 + 25 + 8);
    int y = 8;
    for (QLabel* label : labels) {
        label->setGeometry(12, y, width() - 24, line);
        y += line;
    }
    NewTempo->setGeometry(12, fieldTop, 50, 22);
    speichern->setGeometry(12, height() - 33, 90, 25);
    abbrechen->setGeometry(width() - 102, height() - 33, 90, 25);
    NewTempo->setFocus();
    NewTempo->selectAll();
}

void TempoDialog::speichernClick() {
    const auto checked = song::validateTempo(fromQString(NewTempo->text()), m_severalTempi);
    if (const auto* refusal = std::get_if<Refusal>(&checked)) {
        Prompt prompt;
        prompt.message = refusal->message;
        prompt.appendText = refusal->appendText;
        prompt.icon = PromptIcon::Error;
        m_prompter.ask(prompt);
        NewTempo->setFocus();
        NewTempo->selectAll();
        return;
    }
    m_result = std::get<std::int32_t>(checked);
    accept();
}

void TempoDialog::abbrechenClick() {
    m_result.reset();
    reject();
}

TForm3::TForm3(QWidget* parent, int current, Prompter& prompter, const Localizer* localizer,
               std::optional<QColor> background)
    : TempoDialog(parent, "TForm3", 3, QStringLiteral("Tempo eingeben"),
                  {QStringLiteral("Geben Sie das neue Midifile-Tempo ein:")}, false, current, prompter, localizer,
                  background) {}

} // namespace versilla::app
