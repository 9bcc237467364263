#pragma once
#include "app/dialogs/OptionDialog.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace versilla::app {

/// "Automatische Silbentrennung": chooses the rules the hyphenation follows
/// (list `Sprache`: 0 "Deutsch", 1 "English") and reminds of the preamble.
/// It only chooses; the caller stores the choice in "SPRACHE".
class TForm15 : public OptionDialog {
    Q_OBJECT
public:
    /// `current`: the entry preselected (clamped to the list). Captions of form
    /// 15 through `localizer` (design texts without one); `background` paints
    /// the dialog and both panels in theme mode.
    TForm15(QWidget* parent, int current, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt);

    /// The entry chosen with "&Start"; nullopt until then and after "&Abbrechen".
    std::optional<int> result() const { return m_result; }

    /// Shows the dialog modally; the chosen entry, or nullopt when cancelled.
    static std::optional<int> choose(QWidget* parent, int current, const Localizer* localizer,
                                     std::optional<QColor> background = std::nullopt);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Sprache = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    /// Takes the selected entry as the result and closes with accept.
    void speichernClick();
    /// Closes with reject; the result stays empty.
    void abbrechenClick();

private:
    std::optional<int> m_result;
};

} // namespace versilla::app
