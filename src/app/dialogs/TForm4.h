#pragma once
#include "app/dialogs/OptionDialog.h"

class QLabel;
class QPushButton;

namespace versilla {
class Prompter;
}

namespace versilla::app {

class TNumEditVelk;

/// "Startzeit eingeben": the start time as minutes `min` and seconds `sek`, or
/// in milliseconds `ms`, which wins when it is not 0. Leaving `min` or `sek`
/// with a changed value puts their sum in milliseconds into `ms`. Enter in
/// `min` or `sek` moves on; while `ms` has the focus "&Speichern" is the default
/// button. "&Speichern" checks the values against the song length and shows
/// 4/1, 4/2 or 4/3 (error icon) through the prompter, keeping the dialog open.
class TForm4 : public OptionDialog {
    Q_OBJECT
public:
    TForm4(QWidget* parent, int currentMs, int songLengthMs, Prompter& prompter,
           const Localizer* localizer = nullptr, std::optional<QColor> background = std::nullopt);

    /// The start time accepted with "&Speichern"; nullopt until then and after "&Abbrechen".
    std::optional<int> result() const { return m_result; }

    TNumEditVelk* min = nullptr;
    TNumEditVelk* sek = nullptr;
    TNumEditVelk* ms = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    void speichernClick();
    void abbrechenClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// `field` was left with a valid value: a change puts min and sek into `ms`.
    void minSekLeft(TNumEditVelk* field);

    Prompter& m_prompter;
    int m_songLengthMs;
    QString m_rememberedMin = QStringLiteral("0");
    QString m_rememberedSek = QStringLiteral("0");
    std::optional<int> m_result;
};

} // namespace versilla::app
