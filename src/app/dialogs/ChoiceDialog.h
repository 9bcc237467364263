#pragma once
#include "app/dialogs/OptionDialog.h"

#include <QStringList>

class QComboBox;
class QPushButton;

namespace versilla::app {

/// A dialog that sets one yes/no setting through a two-entry drop-down list:
/// entry 1 stands for true, entry 0 for false. The entries' texts are the
/// captions of the objects "item0" and "item1" of the dialog's form where the
/// caption table has them, the design texts otherwise.
class ChoiceDialog : public OptionDialog {
    Q_OBJECT
public:
    /// The setting chosen with "&Speichern"; nullopt until then and after
    /// "&Abbrechen".
    std::optional<bool> result() const { return m_result; }
    /// The drop-down list (`runevents` or `gleich`).
    QComboBox* list() const { return m_list; }

    QPushButton* speichern = nullptr;
    QPushButton* abbrechen = nullptr;

public slots:
    /// Takes "entry 1 is selected" as the result and closes with accept.
    void speichernClick();
    /// Closes with reject; the result stays empty.
    void abbrechenClick();

protected:
    ChoiceDialog(QWidget* parent, const char* className, int formNumber, const char* listName, int width,
                 int height, const QStringList& lines, const QStringList& designEntries, bool current,
                 const Localizer* localizer, std::optional<QColor> background, CaptionLookup entries);

private:
    QComboBox* m_list = nullptr;
    std::optional<bool> m_result;
};

/// "Running Mode festlegen": whether songs are written with running status
/// (setting "RUNEVENTS"). List `runevents`.
class TForm17 : public ChoiceDialog {
    Q_OBJECT
public:
    /// `entries` overrides where the two list texts come from (default: the
    /// caption table of form 17 through `localizer`).
    TForm17(QWidget* parent, bool current, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt, CaptionLookup entries = {});
    QComboBox* runevents = nullptr;
    /// Shows the dialog modally; the chosen setting, or nullopt when cancelled.
    static std::optional<bool> choose(QWidget* parent, bool current, const Localizer* localizer,
                                      std::optional<QColor> background = std::nullopt);
};

/// "Verhalten bei zeitgleichen Noten": whether melody notes at the same time as
/// the previous one are used (setting "GLEICH"). List `gleich`.
class TForm19 : public ChoiceDialog {
    Q_OBJECT
public:
    TForm19(QWidget* parent, bool current, const Localizer* localizer = nullptr,
            std::optional<QColor> background = std::nullopt, CaptionLookup entries = {});
    QComboBox* gleich = nullptr;
    /// Shows the dialog modally; the chosen setting, or nullopt when cancelled.
    static std::optional<bool> choose(QWidget* parent, bool current, const Localizer* localizer,
                                      std::optional<QColor> background = std::nullopt);
};

} // namespace versilla::app
