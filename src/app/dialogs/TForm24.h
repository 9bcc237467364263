#pragma once
#include "app/dialogs/OptionDialog.h"

class QPushButton;

namespace versilla::app {

/// "Hintergrundfarbe bei XP-Stil oder Vista": picks the background colour used
/// in theme mode (setting "FARBEBACK"). Its texts are fixed, not localised.
/// Colours are stored colour values (red in the lowest byte).
class TForm24 : public OptionDialog {
    Q_OBJECT
public:
    /// The colour the program starts with when none is stored.
    static constexpr qint64 StandardColour = 16642504;

    /// Opens painted in `currentBackground`, with no colour chosen yet.
    TForm24(QWidget* parent, qint64 currentBackground);

    /// Shows the dialog modally. The colour to store into "FARBEBACK" and use
    /// as the background from now on, or nullopt when nothing changes
    /// (cancelled, no colour chosen, or the current colour chosen again).
    static std::optional<qint64> choose(QWidget* parent, qint64 currentBackground);

    /// The colour chosen so far (nullopt: none yet).
    std::optional<qint64> chosen() const { return m_chosen; }
    /// The colour to store after "&Speichern"; nullopt otherwise.
    std::optional<qint64> result() const { return m_result; }

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    /// "Standardfarbe einstellen": chooses the standard colour and shows it.
    void Button1Click();
    /// "Neue Farbe auswählen": chooses a colour in the colour dialog.
    void Button2Click();
    /// Stores a chosen colour that differs from the current one and tells the
    /// user it shows after a restart; closes with accept.
    void speichernClick();
    void abbrechenClick();

private:
    qint64 m_current;
    std::optional<qint64> m_chosen;
    std::optional<qint64> m_result;
};

} // namespace versilla::app
