#pragma once
#include "app/dialogs/OptionDialog.h"

#include <QStringList>

class QLabel;
class QPushButton;

namespace versilla {
class Prompter;
}

namespace versilla::app {

class TNumEditVelk;

/// Common body of the two tempo dialogs: warning lines, prompt lines, the
/// tempo field `NewTempo` (at most 3 digits) and "&Speichern" / "&Abbrechen".
/// "&Speichern" accepts an integer from 60 to 260; any other value shows the
/// dialog's message (error icon) through the prompter, puts the focus back into
/// `NewTempo` and keeps the dialog open.
class TempoDialog : public OptionDialog {
    Q_OBJECT
public:
    /// The tempo accepted with "&Speichern"; nullopt until then and after "&Abbrechen".
    std::optional<int> result() const { return m_result; }

    TNumEditVelk* NewTempo = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    void speichernClick();
    void abbrechenClick();

protected:
    TempoDialog(QWidget* parent, const char* className, int formNumber, const QString& designCaption,
                const QStringList& prompt, bool severalTempi, int current, Prompter& prompter,
                const Localizer* localizer, std::optional<QColor> background);

private:
    Prompter& m_prompter;
    bool m_severalTempi;
    std::optional<int> m_result;
};

/// "Tempo eingeben": the tempo dialog for a song with one tempo.
class TForm3 : public TempoDialog {
    Q_OBJECT
public:
    TForm3(QWidget* parent, int current, Prompter& prompter, const Localizer* localizer = nullptr,
           std::optional<QColor> background = std::nullopt);
};

} // namespace versilla::app
