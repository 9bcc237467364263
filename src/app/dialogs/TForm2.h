#pragma once
#include "app/dialogs/OptionDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace versilla::player {
class TMidiOutput;
}

namespace versilla::app {

/// "Festlegung Midi-Ausgabegerät": chooses the MIDI output device (setting
/// "DEVICENR"). While it is shown the port is closed; cancelling reopens the
/// device that was open before.
class TForm2 : public OptionDialog {
    Q_OBJECT
public:
    /// `deviceNr` is the stored setting (nullopt: blank). `reopen` runs the
    /// caller's open procedure after a cancel put the old device back (it shows
    /// message 1/3 when that fails); without it the dialog opens the port
    /// itself and reports a failure through reopenFailed().
    TForm2(QWidget* parent, player::TMidiOutput& port, std::optional<int> deviceNr,
           const Localizer* localizer = nullptr, std::optional<QColor> background = std::nullopt,
           std::function<void()> reopen = {});

    /// Shows the dialog modally. The chosen device number (-1 the mapper), or
    /// nullopt when cancelled. The caller stores it and selects and opens it.
    static std::optional<int> choose(QWidget* parent, player::TMidiOutput& port, std::optional<int> deviceNr,
                                     const Localizer* localizer, std::optional<QColor> background = std::nullopt,
                                     std::function<void()> reopen = {});

    /// The device chosen with "&Speichern"; nullopt until then and after a cancel.
    std::optional<int> result() const { return m_result; }
    /// True when a cancel could not reopen the old device (only without a
    /// `reopen` procedure).
    bool reopenFailed() const { return m_reopenFailed; }

    QLineEdit* midialt = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    /// Takes the selected entry as the result ("Midi-Mapper" is -1) and closes.
    void speichernClick();
    /// Puts the old device back (when one was open) and closes with no result.
    void abbrechenClick();
    /// Escape and every other way of closing without saving behave like "&Abbrechen".
    void reject() override;

private:
    player::TMidiOutput& m_port;
    std::function<void()> m_reopen;
    bool m_wasOpen = false;
    int m_rememberedDevice = -1;
    bool m_finished = false;
    bool m_reopenFailed = false;
    std::optional<int> m_result;
};

} // namespace versilla::app
